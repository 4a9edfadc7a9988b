#include "app/TimerSettings.h"

#include <string>

#include "Core/System/Profile.h"

bool ReadFlag(const char* key, bool def) {
    std::string text;
    ProfileReadStr("SYS", key, def ? "YES" : "NO", text);
    return TextToBool(text.c_str()) != 0;
}

int ReadOvertime() { return ReadFlag("Overtime", false) ? 1 : 0; }
