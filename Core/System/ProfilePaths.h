#pragma once
// How the executable's folder and the profile's name follow from the program
// file's path. Kept apart from the cached answers in Profile.h so the rules
// can be checked for any path.

#include <string>

namespace zam {

/// Drive and folder of programPath without the trailing separator; a last
/// folder named Debug or Release (any case, either separator) is left out.
std::string ExeDirFromProgramPath(const std::string& programPath);

/// The program's file name without extension, an ending "Debug" or
/// "Release" (any case) cut off.
std::string ProfileNameFromProgramPath(const std::string& programPath);

}  // namespace zam
