// The INI engine's reading and read-modify-write rules on arbitrary profile
// bytes, in memory: the file, lock and rename steps have tests of their own,
// and leaving them out lets the fuzzer try thousands of inputs a second.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "Core/Platform/ProfileFile.h"

using zam::platform::ProfileEditData;
using zam::platform::ProfileReadData;

namespace {

std::string Read(const std::string& data, const char* section, const char* key) {
    char value[100];
    std::memset(value, '#', sizeof value);
    const int n = ProfileReadData(&data, section, key, "dflt", value, sizeof value);
    if (n < 0 || n > 99 || value[n] != '\0') __builtin_trap();
    return std::string(value, static_cast<size_t>(n));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const std::string data(reinterpret_cast<const char*>(bytes), size);
    // A named and the unnamed section, a key and one that cannot exist, and the listings.
    for (const char* section : {"SYS", "", static_cast<const char*>(nullptr)}) {
        for (const char* key : {"Length", "=", static_cast<const char*>(nullptr)}) {
            Read(data, section, key);
        }
    }
    std::string written;
    if (ProfileEditData(data, "SYS", "Length", "25", written)) {
        // What we wrote must read back, whatever the file held before, and
        // writing it again changes nothing.
        if (Read(written, "SYS", "Length") != "25") __builtin_trap();
        std::string again;
        if (ProfileEditData(written, "SYS", "Length", "25", again)) __builtin_trap();
    } else if (Read(data, "SYS", "Length") != "25") {
        __builtin_trap();  // "unchanged" only when it already reads 25
    }
    std::string removed;
    if (ProfileEditData(data, "SYS", "Length", nullptr, removed) &&
        removed.size() >= data.size())
        __builtin_trap();
    ProfileEditData(data, "SYS", nullptr, nullptr, removed);
    return 0;
}
