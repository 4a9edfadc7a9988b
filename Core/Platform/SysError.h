#pragma once
// The system's message for an error code, in the shape system messages have
// on the platform the library came from: one line ending in CR LF.

#include <cstddef>
#include <string>

namespace zam::platform {

/// Longest message returned, line end included.
constexpr size_t kSysErrorMessageMax = 999;

/// The message for code (an errno value) with CR LF at the end, at most 999 characters.
std::string SysErrorMessage(int code);

/// SysErrorMessage of the calling thread's errno, read before anything can change it.
std::string LastSysErrorMessage();

}  // namespace zam::platform
