#pragma once
// For fuzz targets whose code logs what it refuses: open the day's log once
// in a scratch folder and close it, so that millions of runs drop their lines
// instead of filling a disk.

#include <stdlib.h>

#include <string>

#include "Core/Platform/ProgramPath.h"
#include "Core/System/Log.h"

inline bool QuietLog() {
    char folder[] = "/tmp/kronalt-fuzz-XXXXXX";
    if (mkdtemp(folder) == nullptr) return false;
    zam::platform::SetProgramPathOverride(std::string(folder) + "/fuzz");
    LogTrace("Fuzz", 0, "start");
    LogLine("*CLOSE", "", 0);
    return true;
}
