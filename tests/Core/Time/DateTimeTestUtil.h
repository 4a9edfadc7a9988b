#pragma once
// Small helpers shared by the date-time tests.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "Core/Time/CZAMDateTime.h"

namespace zam::testing {

inline CZAMDateTime MakeDT(int year, int month, int day, int hour = 0, int minute = 0,
                           int second = 0) {
    CZAMDateTime dt;
    dt.m_Year = static_cast<unsigned char>(year - 1900);
    dt.m_Month = static_cast<unsigned char>(month);
    dt.m_Day = static_cast<unsigned char>(day);
    dt.m_Hour = static_cast<unsigned char>(hour);
    dt.m_Min = static_cast<unsigned char>(minute);
    dt.m_Sec = static_cast<unsigned char>(second);
    return dt;
}

// "yyyymmdd hhmmss" of the raw fields, so a failure shows the whole value.
inline std::string Fields(const CZAMDateTime& dt) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", dt.GetYear(), dt.m_Month,
                  dt.m_Day, dt.m_Hour, dt.m_Min, dt.m_Sec);
    return buf;
}

inline std::string Fields(int year, int month, int day, int hour = 0, int minute = 0,
                          int second = 0) {
    return Fields(MakeDT(year, month, day, hour, minute, second));
}

// Switches the process's zone for one test and puts the old one back.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) {
        const char* old = std::getenv("TZ");
        hadOld_ = old != nullptr;
        if (hadOld_) old_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (hadOld_)
            setenv("TZ", old_.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    bool hadOld_ = false;
    std::string old_;
};

}  // namespace zam::testing
