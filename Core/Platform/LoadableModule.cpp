#include "Core/Platform/LoadableModule.h"

#include <dlfcn.h>
#include <unistd.h>

#include <mutex>
#include <vector>

namespace zam::platform {

namespace {

std::mutex g_mutex;
std::string g_folderOverride;

// The executable's own folder; not GetProgramPath(), whose override tests
// point at a temporary folder that holds no modules.
std::string ExecutableFolder() {
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return std::string();
        if (static_cast<size_t>(n) < buffer.size()) {
            std::string path(buffer.data(), n);
            const size_t slash = path.rfind('/');
            return slash == std::string::npos ? std::string() : path.substr(0, slash);
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

void* OpenProgramModule(const std::string& relativePath, std::string& error) {
    std::string folder;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        folder = g_folderOverride;
    }
    if (folder.empty()) folder = ExecutableFolder();
    if (folder.empty()) {
        error = "the program's own folder is unknown";
        return nullptr;
    }
    const std::string path = folder + "/" + relativePath;
    // RTLD_LOCAL: the module's libraries must not start resolving the
    // program's later lookups by name.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        const char* reason = dlerror();
        error = reason != nullptr ? reason : path + ": cannot be loaded";
        return nullptr;
    }
    error.clear();
    return module;
}

void* ModuleSymbol(void* module, const char* name) {
    if (module == nullptr || name == nullptr) return nullptr;
    return dlsym(module, name);
}

void SetProgramModuleFolderOverride(const std::string& folder) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_folderOverride = folder;
}

}  // namespace zam::platform
