#include "Core/Platform/PathSplit.h"

#include <cstring>

namespace zam::platform {

PathParts SplitPath(const char* path) {
    PathParts parts;
    if (path == nullptr) return parts;
    const size_t length = std::strlen(path);
    size_t start = 0;
    if (length >= 2 && path[1] == ':') {
        parts.Drive.assign(path, 2);
        start = 2;
    }
    size_t nameStart = start;
    for (size_t i = start; i < length; ++i) {
        if (path[i] == '/' || path[i] == '\\') nameStart = i + 1;
    }
    parts.Folder.assign(path + start, nameStart - start);
    const char* name = path + nameStart;
    const char* dot = std::strrchr(name, '.');
    if (dot == nullptr) {
        parts.Name = name;
    } else {
        parts.Name.assign(name, static_cast<size_t>(dot - name));
        parts.Extension = dot;
    }
    return parts;
}

}  // namespace zam::platform
