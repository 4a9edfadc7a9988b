#include "app/TimerSettings.h"

#include <string>

#include "Core/System/Profile.h"

int ReadOvertime() {
    std::string text;
    ProfileReadStr("SYS", "Overtime", "NO", text);
    return TextToBool(text.c_str());
}
