#pragma once
// The wall clock, the boot-time clock and the time-zone facts, behind a
// replaceable time source so that tests can run long countdowns in no time and
// never touch the real clock. Elapsed time is measured on the boot-time clock:
// the wall clock jumps at daylight-saving changes and when someone sets it.

#include <cstdint>
#include <ctime>

#include "Core/Platform/WinTypes.h"

namespace zam::platform {

/// Supplies "now"; tests install their own to drive time by hand.
class TimeSource {
public:
    virtual ~TimeSource() = default;
    /// Milliseconds since 1 January 1970, universal time.
    virtual int64_t NowUnixMillis() = 0;
    /// Milliseconds on the boot-time clock: steady, and counting a suspend.
    virtual int64_t BootTimeMillis() = 0;
};

/// Installs a time source (not owned); nullptr restores the real clock.
void SetTimeSource(TimeSource* source);

/// Milliseconds since 1970 from the installed time source.
int64_t NowUnixMillis();

/// Seconds since 1970 from the installed time source.
int64_t NowUnixSeconds();

/// Milliseconds on the installed source's boot-time clock, for measuring
/// elapsed time; only differences of two readings mean anything.
int64_t BootTimeMillis();

/// Local broken-down time of a seconds-since-1970 count; false when the C
/// library cannot represent it.
bool ToLocalTm(int64_t unixSeconds, std::tm& out);

/// Universal broken-down time of a seconds-since-1970 count.
bool ToUniversalTm(int64_t unixSeconds, std::tm& out);

/// Seconds since 1970 of a local broken-down time, daylight saving decided by
/// the zone rules (tm_isdst = -1); false when it cannot be represented.
bool FromLocalTm(const std::tm& local, int64_t& unixSeconds);

/// Current local time with milliseconds.
void GetLocalNow(SYSTEMTIME& out);

/// Current universal time with milliseconds.
void GetUniversalNow(SYSTEMTIME& out);

/// Seconds since 1970 of a local SYSTEMTIME (milliseconds ignored); false
/// when it cannot be represented.
bool LocalSystemTimeToUnix(const SYSTEMTIME& local, int64_t& unixSeconds);

/// Fills a SYSTEMTIME from a broken-down time and milliseconds.
void TmToSystemTime(const std::tm& tm, int millis, SYSTEMTIME& out);

/// The time-zone figures in minutes, signed so that UTC = local + bias.
struct TimeZoneFigures {
    int Bias = 0;          ///< standard offset: UTC minus local standard time
    int StandardBias = 0;  ///< always 0 here, as the zone data define it
    int DaylightBias = 0;  ///< extra offset while daylight time is on (usually -60)
    int ActiveBias = 0;    ///< Bias plus DaylightBias while daylight time is active
    bool DaylightActive = false;
};

/// The figures for the instant the time source says is now.
TimeZoneFigures GetTimeZoneFigures();

/// A monotonic high-resolution count (nanoseconds), the performance counter.
int64_t PerformanceCounter();

/// Sets the computer's local clock; a seam so that no test ever sets the real
/// one. Returns true on success.
class ClockSetter {
public:
    virtual ~ClockSetter() = default;
    virtual bool SetLocal(const SYSTEMTIME& local) = 0;
};

/// Installs a clock setter (not owned); nullptr restores the real one.
void SetClockSetter(ClockSetter* setter);

/// Sets the local clock through the installed setter.
bool SetLocalClock(const SYSTEMTIME& local);

}  // namespace zam::platform
