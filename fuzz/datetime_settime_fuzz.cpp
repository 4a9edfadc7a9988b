// The time-of-day readers on arbitrary text.

#include <cstddef>
#include <cstdint>
#include <string>

#include "Core/Time/CZAMDateTime.h"
#include "fuzz/QuietLog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = QuietLog();
    (void)quiet;
    const std::string text(reinterpret_cast<const char*>(data), size);

    CZAMDateTime dt;
    dt.SetDate(2015, 8, 12);
    const int rc = dt.SetTime(text.c_str());
    if (rc != 0 && rc != -2) __builtin_trap();
    if (dt.GetDate(-2) != 20150812) __builtin_trap();  // the date is never touched
    if (rc == 0 && dt.m_Hour > 24) __builtin_trap();
    if (CZAMDateTime::GetTimeAlpha(text.c_str()) < -3) __builtin_trap();
    const int day = CZAMDateTime::GetWeekDayVal(text.c_str(), static_cast<int>(size & 1));
    if (day < -1 || day > 6) __builtin_trap();
    return 0;
}
