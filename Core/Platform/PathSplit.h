#pragma once
// Taking a path apart into drive, folder, name and extension, the one way the
// whole library does it. Both '/' and '\' separate; "X:" at the start is a
// drive on every system, so stored Windows paths split the same everywhere.

#include <string>

namespace zam::platform {

struct PathParts {
    std::string Drive;      ///< "C:" when the second character is ':', else ""
    std::string Folder;     ///< after the drive, up to and including the last separator
    std::string Name;       ///< after the folder, up to the last '.'
    std::string Extension;  ///< from the last '.' (dot included)
};

/// Splits path (null gives four empty parts).
PathParts SplitPath(const char* path);

}  // namespace zam::platform
