#include "Core/Platform/Clock.h"

#include <sys/time.h>

#include <cerrno>
#include <ctime>

namespace zam::platform {

namespace {

TimeSource* g_timeSource = nullptr;
ClockSetter* g_clockSetter = nullptr;

int64_t RealNowUnixMillis() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

int64_t RealBootTimeMillis() {
    timespec ts{};
    clock_gettime(CLOCK_BOOTTIME, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// Whole-millisecond floor division, so times before 1970 keep their sign right.
void SplitMillis(int64_t ms, int64_t& seconds, int& millis) {
    seconds = ms / 1000;
    int64_t rest = ms % 1000;
    if (rest < 0) {
        rest += 1000;
        --seconds;
    }
    millis = static_cast<int>(rest);
}

class RealClockSetter : public ClockSetter {
public:
    bool SetLocal(const SYSTEMTIME& local) override {
        int64_t seconds = 0;
        if (!LocalSystemTimeToUnix(local, seconds)) return false;
        timespec ts{};
        ts.tv_sec = static_cast<time_t>(seconds);
        ts.tv_nsec = static_cast<long>(local.wMilliseconds) * 1000000L;
        return clock_settime(CLOCK_REALTIME, &ts) == 0;
    }
};

// Minutes west of UTC (the Windows sign) in force at the given instant.
int BiasAt(int64_t unixSeconds, bool& isDst) {
    std::tm tm{};
    if (!ToLocalTm(unixSeconds, tm)) {
        isDst = false;
        return 0;
    }
    isDst = tm.tm_isdst > 0;
    return static_cast<int>(-tm.tm_gmtoff / 60);
}

}  // namespace

void SetTimeSource(TimeSource* source) { g_timeSource = source; }

int64_t NowUnixMillis() {
    return g_timeSource ? g_timeSource->NowUnixMillis() : RealNowUnixMillis();
}

int64_t BootTimeMillis() {
    return g_timeSource ? g_timeSource->BootTimeMillis() : RealBootTimeMillis();
}

int64_t NowUnixSeconds() {
    int64_t seconds = 0;
    int millis = 0;
    SplitMillis(NowUnixMillis(), seconds, millis);
    return seconds;
}

bool ToLocalTm(int64_t unixSeconds, std::tm& out) {
    time_t t = static_cast<time_t>(unixSeconds);
    return localtime_r(&t, &out) != nullptr;
}

bool ToUniversalTm(int64_t unixSeconds, std::tm& out) {
    time_t t = static_cast<time_t>(unixSeconds);
    return gmtime_r(&t, &out) != nullptr;
}

bool FromLocalTm(const std::tm& local, int64_t& unixSeconds) {
    std::tm copy = local;
    copy.tm_isdst = -1;
    errno = 0;
    time_t t = mktime(&copy);
    // -1 is also a valid instant (one second before 1970); errno tells them apart.
    if (t == static_cast<time_t>(-1) && errno != 0) return false;
    unixSeconds = static_cast<int64_t>(t);
    return true;
}

bool LocalSystemTimeToUnix(const SYSTEMTIME& local, int64_t& unixSeconds) {
    std::tm tm{};
    tm.tm_year = local.wYear - 1900;
    tm.tm_mon = local.wMonth - 1;
    tm.tm_mday = local.wDay;
    tm.tm_hour = local.wHour;
    tm.tm_min = local.wMinute;
    tm.tm_sec = local.wSecond;
    return FromLocalTm(tm, unixSeconds);
}

void TmToSystemTime(const std::tm& tm, int millis, SYSTEMTIME& out) {
    out.wYear = static_cast<WORD>(tm.tm_year + 1900);
    out.wMonth = static_cast<WORD>(tm.tm_mon + 1);
    out.wDayOfWeek = static_cast<WORD>(tm.tm_wday);
    out.wDay = static_cast<WORD>(tm.tm_mday);
    out.wHour = static_cast<WORD>(tm.tm_hour);
    out.wMinute = static_cast<WORD>(tm.tm_min);
    out.wSecond = static_cast<WORD>(tm.tm_sec);
    out.wMilliseconds = static_cast<WORD>(millis);
}

namespace {

// Now, broken down by the given conversion, with milliseconds.
void Now(bool (*toTm)(int64_t, std::tm&), SYSTEMTIME& out) {
    int64_t seconds = 0;
    int millis = 0;
    SplitMillis(NowUnixMillis(), seconds, millis);
    std::tm tm{};
    toTm(seconds, tm);
    TmToSystemTime(tm, millis, out);
}

}  // namespace

void GetLocalNow(SYSTEMTIME& out) { Now(ToLocalTm, out); }

void GetUniversalNow(SYSTEMTIME& out) { Now(ToUniversalTm, out); }

TimeZoneFigures GetTimeZoneFigures() {
    TimeZoneFigures figures;
    const int64_t now = NowUnixSeconds();
    bool nowDst = false;
    figures.ActiveBias = BiasAt(now, nowDst);
    figures.DaylightActive = nowDst;
    figures.Bias = figures.ActiveBias;

    // The zone data give only the offset in force at an instant; the standard
    // and daylight offsets are found by looking half a year and a quarter away.
    const int64_t halfYear = 182LL * 86400;
    const int64_t quarter = 91LL * 86400;
    const int64_t probes[] = {now - halfYear, now + halfYear, now - quarter, now + quarter};
    int standard = figures.ActiveBias;
    int daylight = figures.ActiveBias;
    bool haveStandard = !nowDst, haveDaylight = nowDst;
    for (int64_t probe : probes) {
        bool dst = false;
        int bias = BiasAt(probe, dst);
        if (dst && !haveDaylight) {
            daylight = bias;
            haveDaylight = true;
        } else if (!dst && !haveStandard) {
            standard = bias;
            haveStandard = true;
        }
    }
    figures.Bias = standard;
    figures.StandardBias = 0;
    figures.DaylightBias = haveDaylight ? daylight - standard : 0;
    return figures;
}

int64_t PerformanceCounter() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

void SetClockSetter(ClockSetter* setter) { g_clockSetter = setter; }

bool SetLocalClock(const SYSTEMTIME& local) {
    static RealClockSetter realSetter;
    ClockSetter* setter = g_clockSetter ? g_clockSetter : &realSetter;
    return setter->SetLocal(local);
}

}  // namespace zam::platform
