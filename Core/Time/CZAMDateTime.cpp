// The value itself: state, the setters that fill it from clocks, numbers and
// files, and the plain numeric readings.

#include "Core/Time/CZAMDateTime.h"

#include <cctype>
#include <climits>
#include <cstring>
#include <ctime>

#include "Core/Platform/Clock.h"
#include "Core/Platform/FileTimes.h"
#include "Core/System/Log.h"

namespace {

constexpr int kFirstYear = 1900;
constexpr int kLastYear = 2155;

// Seconds between 1 Jan 1601 and 1 Jan 1970, the two epochs of file times.
constexpr int64_t kFileTimeEpochGap = 11644473600LL;
constexpr int64_t kTicksPerSecond = 10000000LL;

bool FitsByte(int v) { return v >= 0 && v <= 255; }

// Stores a broken-down time; refuses (value untouched) a year the byte cannot hold.
int StoreTm(CZAMDateTime& dt, const std::tm& tm) {
    const int year = tm.tm_year + 1900;
    if (year < kFirstYear || year > kLastYear) return -1;
    dt.m_Year = static_cast<unsigned char>(year - 1900);
    dt.m_Month = static_cast<unsigned char>(tm.tm_mon + 1);
    dt.m_Day = static_cast<unsigned char>(tm.tm_mday);
    dt.m_Hour = static_cast<unsigned char>(tm.tm_hour);
    dt.m_Min = static_cast<unsigned char>(tm.tm_min);
    dt.m_Sec = static_cast<unsigned char>(tm.tm_sec);
    return 0;
}

// Decimal with optional blanks and sign; saturates instead of overflowing.
int64_t ParseInt64(const char* text) {
    if (text == nullptr) return 0;
    while (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\r' || *text == '\f' ||
           *text == '\v')
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    uint64_t magnitude = 0;
    const uint64_t limit = negative ? uint64_t(INT64_MAX) + 1 : uint64_t(INT64_MAX);
    for (; *text >= '0' && *text <= '9'; ++text) {
        const unsigned digit = static_cast<unsigned>(*text - '0');
        if (magnitude > (limit - digit) / 10) {
            magnitude = limit;
            break;
        }
        magnitude = magnitude * 10 + digit;
    }
    if (!negative) return static_cast<int64_t>(magnitude);
    return magnitude == uint64_t(INT64_MAX) + 1 ? INT64_MIN : -static_cast<int64_t>(magnitude);
}

bool FileNameIsNul(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '/' || *p == '\\') name = p + 1;
    return strcasecmp(name, "NUL") == 0;
}

}  // namespace

// --- state -----------------------------------------------------------------------

void CZAMDateTime::Reset() {
    m_Year = m_Month = m_Day = m_Hour = m_Min = m_Sec = 0;
}

int CZAMDateTime::IsEmpty() const {
    return (m_Year | m_Month | m_Day | m_Hour | m_Min | m_Sec) == 0 ? 1 : 0;
}

int CZAMDateTime::IsFilled() const { return IsEmpty() ? 0 : 1; }

int CZAMDateTime::IsValid() const {
    if (m_Month < 1 || m_Month > 12) return 0;
    if (m_Day < 1 || m_Day > DayMonth(GetYear(), m_Month)) return 0;
    return (m_Hour <= 23 && m_Min <= 59 && m_Sec <= 59) ? 1 : 0;
}

int CZAMDateTime::FixDate() {
    if (IsEmpty()) {
        m_Month = 1;
        m_Day = 1;
    }
    if (m_Month == 0) m_Month = 1;
    if (m_Month > 12) m_Month = 12;
    const int last = DayMonth(GetYear(), m_Month);
    if (m_Day == 0) m_Day = 1;
    if (m_Day > last) m_Day = static_cast<unsigned char>(last);
    if (m_Hour > 24) {
        m_Hour = 23;
        m_Min = 59;
        m_Sec = 59;
    }
    if (m_Min >= 60) m_Min = 59;
    if (m_Sec >= 60) m_Sec = 59;
    return 0;
}

void CZAMDateTime::Copy(const CZAMDateTime* other) {
    if (other != nullptr) *this = *other;
}

// --- setting -----------------------------------------------------------------------

int CZAMDateTime::SetNow() { return SetDTUnix(zam::platform::NowUnixSeconds()); }

int CZAMDateTime::SetNowGMT() {
    SYSTEMTIME st{};
    zam::platform::GetUniversalNow(st);
    return SetDT(&st);
}

int CZAMDateTime::SetNowEST() {
    const int rc = SetNowGMT();
    if (rc != 0) return rc;
    // Eastern time follows the local machine's daylight saving, as the zone
    // figures describe it: one hour later while local daylight time is on.
    const zam::platform::TimeZoneFigures tz = zam::platform::GetTimeZoneFigures();
    ShiftTime((tz.Bias - tz.ActiveBias - 300) * 60);
    return 0;
}

int CZAMDateTime::SetDT(const SYSTEMTIME* st) {
    if (st == nullptr) return -1;
    if (st->wYear < kFirstYear || st->wYear > kLastYear) return -1;
    if (!FitsByte(st->wMonth) || !FitsByte(st->wDay) || !FitsByte(st->wHour) ||
        !FitsByte(st->wMinute) || !FitsByte(st->wSecond))
        return -1;
    m_Year = static_cast<unsigned char>(st->wYear - 1900);
    m_Month = static_cast<unsigned char>(st->wMonth);
    m_Day = static_cast<unsigned char>(st->wDay);
    m_Hour = static_cast<unsigned char>(st->wHour);
    m_Min = static_cast<unsigned char>(st->wMinute);
    m_Sec = static_cast<unsigned char>(st->wSecond);
    return IsValid() ? 0 : -1;
}

int CZAMDateTime::SetDT(const FILETIME* ft) {
    if (ft == nullptr) return -1;
    const uint64_t ticks = (uint64_t(ft->dwHighDateTime) << 32) | ft->dwLowDateTime;
    const int64_t seconds = static_cast<int64_t>(ticks / kTicksPerSecond) - kFileTimeEpochGap;
    std::tm tm{};
    if (!zam::platform::ToLocalTm(seconds, tm)) return -1;
    if (StoreTm(*this, tm) != 0) return -1;
    return IsValid() ? 0 : -1;
}

int CZAMDateTime::SetDT(int date, int time) {
    // A negative time number would split into negative fields.
    if (time < 0 || !IsTime(time)) {
        LogTrace("DateTime", 0, "Invalid Time: %d", time);
        return -2;
    }
    m_Hour = static_cast<unsigned char>(time / 10000);
    m_Min = static_cast<unsigned char>(time % 10000 / 100);
    m_Sec = static_cast<unsigned char>(time % 100);
    // Dates up to 2999 pass the range test, but the year byte ends at 2155.
    if (!IsDate(date) || date / 10000 > kLastYear) {
        LogTrace("DateTime", 0, "Invalid Date: %d", date);
        return -1;
    }
    const int year = date / 10000;
    m_Year = static_cast<unsigned char>(year - 1900);
    m_Month = static_cast<unsigned char>(date / 100 % 100);
    m_Day = static_cast<unsigned char>(date % 100);
    return 0;
}

int CZAMDateTime::SetDT64(const char* text) {
    const int64_t n = ParseInt64(text);
    const int64_t date = n / 1000000;
    if (date <= 0) {
        Reset();
        return -1;
    }
    // A date part past the int range fails the range test all the same.
    const int dateNumber = date > INT_MAX ? INT_MAX : static_cast<int>(date);
    return SetDT(dateNumber, static_cast<int>(n % 1000000));
}

int CZAMDateTime::SetDTUnix(int64_t seconds) {
    std::tm tm{};
    if (!zam::platform::ToLocalTm(seconds, tm)) return -1;
    return StoreTm(*this, tm);
}

int CZAMDateTime::SetDTFile(const char* path, char kind) {
    Reset();
    const char k = static_cast<char>(std::toupper(static_cast<unsigned char>(kind)));
    if (k != 'A' && k != 'C' && k != 'M' && k != 'S') return 0;
    if (path == nullptr) return -1;

    if (k == 'S' && FileNameIsNul(path)) {
        SetDTUnix(0);
        return 0;
    }
    zam::platform::FileTimes times;
    const int rc = zam::platform::GetFileTimes(path, times);
    if (rc != 0) return k == 'S' ? -1 : rc;

    if (k == 'S') {
        if (SetDTUnix(times.Modification.Seconds) != 0) return -2;
        return 0;
    }
    const zam::platform::FileStamp& stamp =
        k == 'A' ? times.Access : (k == 'C' ? times.Creation : times.Modification);
    const int64_t sinceFileEpoch = stamp.Seconds + kFileTimeEpochGap;
    if (sinceFileEpoch < 0) return -2;
    const uint64_t ticks =
        uint64_t(sinceFileEpoch) * kTicksPerSecond + uint64_t(stamp.Nanoseconds) / 100;
    FILETIME ft{};
    ft.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFFu);
    ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    if (SetDT(&ft) != 0) {
        Reset();
        return -2;
    }
    return 0;
}

int CZAMDateTime::SetDate(int year, int month, int day) {
    if (year < 100) year += 2000;
    if (year < kFirstYear || year > kLastYear || !FitsByte(month) || !FitsByte(day)) return -1;
    m_Year = static_cast<unsigned char>(year - 1900);
    m_Month = static_cast<unsigned char>(month);
    m_Day = static_cast<unsigned char>(day);
    return IsValid() ? 0 : -1;
}

int CZAMDateTime::SetDate(int dateNumber) {
    return SetDT(dateNumber, static_cast<int>(GetTime()));
}

int CZAMDateTime::SetTimeSec(int seconds) {
    if (seconds < 0 || seconds / 3600 > 255) return -1;
    m_Hour = static_cast<unsigned char>(seconds / 3600);
    m_Min = static_cast<unsigned char>(seconds % 3600 / 60);
    m_Sec = static_cast<unsigned char>(seconds % 60);
    return 0;
}

int CZAMDateTime::SetTime(int hour, int minute, int second) {
    if (!FitsByte(hour) || !FitsByte(minute) || !FitsByte(second)) return -1;
    m_Hour = static_cast<unsigned char>(hour);
    m_Min = static_cast<unsigned char>(minute);
    m_Sec = static_cast<unsigned char>(second);
    return 0;
}

int CZAMDateTime::SetTimeHMS(int time) {
    if (time < 0) return -3;
    const int hour = time / 10000;
    if (hour > 255) return -1;
    m_Hour = static_cast<unsigned char>(hour);
    m_Min = static_cast<unsigned char>(time % 10000 / 100);
    m_Sec = static_cast<unsigned char>(time % 100);
    if (m_Hour > 24) return -1;
    if (m_Min >= 60) return -2;
    if (m_Hour == 24 && (m_Min != 0 || m_Sec != 0)) return -4;
    return 0;
}

// --- reading -----------------------------------------------------------------------

int CZAMDateTime::GetYear() const { return m_Year + 1900; }

int CZAMDateTime::GetDate(int flag) const {
    if (flag >= 0 && !IsValid()) return 0;
    const int year = (flag == 1 || flag == -1) ? m_Year : GetYear();
    return year * 10000 + m_Month * 100 + m_Day;
}

unsigned CZAMDateTime::GetTime() const { return m_Hour * 10000u + m_Min * 100u + m_Sec; }

unsigned CZAMDateTime::GetTimeSec() const { return m_Hour * 3600u + m_Min * 60u + m_Sec; }

int CZAMDateTime::GetTimeShift(int delta) const {
    int64_t s = int64_t(GetTimeSec()) + delta;
    s %= 86400;
    if (s < 0) s += 86400;
    const int secs = static_cast<int>(s);
    return secs / 3600 * 10000 + secs % 3600 / 60 * 100 + secs % 60;
}

int64_t CZAMDateTime::GetDT() const {
    return int64_t(GetDate(0)) * 1000000 + GetTime();
}

float CZAMDateTime::GetDateFloat() const {
    return static_cast<float>(m_Year * 1000 + m_Month * 31 + m_Day) +
           static_cast<float>(GetTimeSec()) / 86400.0f;
}

int64_t CZAMDateTime::GetIntervalIdx(int step, int offset) const {
    const int64_t divisor = step <= 0 ? 1 : step;
    const int64_t date = (m_Year % 100) * 10000 + m_Month * 100 + m_Day;
    return date * 10000 + (int64_t(GetTimeSec()) + offset) / divisor;
}

void CZAMDateTime::GetSYSTEMTIME(SYSTEMTIME* st) const {
    if (st == nullptr) return;
    st->wYear = static_cast<WORD>(GetYear());
    st->wMonth = m_Month;
    st->wDayOfWeek = static_cast<WORD>(GetWeekDay(0));
    st->wDay = m_Day;
    st->wHour = m_Hour;
    st->wMinute = m_Min;
    st->wSecond = m_Sec;
    st->wMilliseconds = 0;
}

int CZAMDateTime::IsHoliday(int /*calendar*/, const char* /*name*/) const { return 0; }

// --- static helpers ----------------------------------------------------------------

int CZAMDateTime::IsDate(int n) { return (n >= 19000101 && n <= 29991231) ? 1 : 0; }

int CZAMDateTime::IsTime(int n) { return n < 240001 ? 1 : 0; }

int CZAMDateTime::GetDateMDY(int year, int month, int day) {
    if (year < 70) year += 2000;
    if (year < 100) year += 1900;
    if (year < 1900 || year > 2999) return 1;
    if (month < 1 || month > 12) return 2;
    if (day < 1 || day > 31) return 3;
    return year * 10000 + month * 100 + day;
}

int CZAMDateTime::GetTimeHMS(int hour, int minute, int second) {
    if (hour < 0 || hour > 23) return 4;
    if (minute < 0 || minute > 59) return 5;
    if (second < 0 || second > 59) return 6;
    return hour * 10000 + minute * 100 + second;
}

int CZAMDateTime::GetESTOffsetSec() {
    CZAMDateTime local;
    CZAMDateTime eastern;
    local.SetNow();
    eastern.SetNowEST();
    return local.GetDiffSec(&eastern);
}
