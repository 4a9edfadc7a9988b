#include "Core/Platform/SysError.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace zam::platform {

namespace {

// strerror_r comes in two shapes depending on the C library's feature macros;
// these overloads take whichever one the headers declared.
[[maybe_unused]] const char* PickMessage(int result, const char* buffer, int code, char* fallback,
                                         size_t size) {
    if (result == 0) return buffer;
    std::snprintf(fallback, size, "Unknown error %d", code);
    return fallback;
}

[[maybe_unused]] const char* PickMessage(const char* result, const char*, int, char*, size_t) {
    return result;
}

}  // namespace

std::string SysErrorMessage(int code) {
    char buffer[1024] = {};
    char fallback[64] = {};
    const char* text = PickMessage(strerror_r(code, buffer, sizeof buffer), buffer, code, fallback,
                                   sizeof fallback);
    std::string message = text != nullptr ? text : "";
    if (message.size() > kSysErrorMessageMax - 2) message.resize(kSysErrorMessageMax - 2);
    message += "\r\n";
    return message;
}

std::string LastSysErrorMessage() {
    const int code = errno;
    return SysErrorMessage(code);
}

}  // namespace zam::platform
