#pragma once
// Where the running program lives. Tests point it at a temporary folder so
// that profiles and logs written "beside the executable" land there.

#include <string>

namespace zam::platform {

/// Full path of the running executable (forward slashes), or the override.
std::string GetProgramPath();

/// Replaces the executable's path for the rest of the process; an empty path
/// restores the real one.
void SetProgramPathOverride(const std::string& path);

}  // namespace zam::platform
