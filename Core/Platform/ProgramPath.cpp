#include "Core/Platform/ProgramPath.h"

#include <unistd.h>

#include <vector>

namespace zam::platform {

namespace {

std::string& Override() {
    static std::string path;
    return path;
}

std::string ReadSelfExe() {
    std::vector<char> buffer(4096);
    for (;;) {
        ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return std::string();
        if (static_cast<size_t>(n) < buffer.size()) return std::string(buffer.data(), n);
        buffer.resize(buffer.size() * 2);  // the link was cut: try a larger buffer
    }
}

}  // namespace

std::string GetProgramPath() {
    if (!Override().empty()) return Override();
    static const std::string real = ReadSelfExe();
    return real;
}

void SetProgramPathOverride(const std::string& path) { Override() = path; }

}  // namespace zam::platform
