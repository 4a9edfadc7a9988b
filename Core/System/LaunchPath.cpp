// Path helpers over the text buffer's own conversions and the one splitter.

#include <cstring>

#include "Core/System/Launch.h"
#include "Core/Text/CTxt.h"

namespace {

// The conversions never lengthen a path, so the result fits where it was.
void ConvertInPlace(char* path, void (CTxt::*convert)()) {
    if (path == nullptr) return;
    CTxt text(path);
    (text.*convert)();
    std::memcpy(path, static_cast<const char*>(text), static_cast<size_t>(text.GetLength()) + 1);
}

}  // namespace

void PathToSlash(char* path) { ConvertInPlace(path, &CTxt::MakeFn); }

void PathToSlash(CTxt& path) { path.MakeFn(); }

void PathToBackslash(char* path) { ConvertInPlace(path, &CTxt::MakeFnDOS); }

void PathToBackslash(CTxt& path) { path.MakeFnDOS(); }

int PathPart(const char* path, int kind, std::string& dest) {
    dest.clear();
    if (kind < 0 || kind > 6) return 0;
    CTxt part;
    CTxt(path).GetFileTxt(kind, part);
    dest = static_cast<const char*>(part);
    return static_cast<int>(dest.size());
}
