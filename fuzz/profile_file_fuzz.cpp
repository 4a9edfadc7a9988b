// The INI engine reading and rewriting arbitrary profile files.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "Core/Platform/ProfileFile.h"

using zam::platform::GetPrivateProfileStringA;
using zam::platform::WritePrivateProfileStringA;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = [] {
        char folder[] = "/tmp/kronalt-fuzz-XXXXXX";
        return std::string(mkdtemp(folder)) + "/fuzz.ini";
    }();
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    char value[100];
    for (const char* section : {"SYS", "", "[", "RELEASE"}) {
        for (const char* key : {"Length", "", "=", "a"}) {
            const int n = GetPrivateProfileStringA(section, key, "dflt", value, sizeof value, path.c_str());
            if (n < 0 || n > 99) __builtin_trap();
        }
    }
    WritePrivateProfileStringA("SYS", "Length", "25", path.c_str());
    GetPrivateProfileStringA("SYS", "Length", "", value, sizeof value, path.c_str());
    // What we wrote must read back, whatever the file held before.
    if (std::string(value) != "25") __builtin_trap();
    WritePrivateProfileStringA("SYS", "Length", nullptr, path.c_str());
    WritePrivateProfileStringA("SYS", nullptr, nullptr, path.c_str());
    return 0;
}
