#pragma once
// A hand-driven clock for tests: installs itself as the time source for its
// lifetime and moves only when told to. Advance moves the wall clock and the
// boot-time clock together, as time passing (or a suspend) does; SetLocal and
// SetUnixMillis move the wall clock alone, as setting the clock does.

#include <cstdint>
#include <ctime>

#include "Core/Platform/Clock.h"

namespace zam::testing {

class FakeClock : public zam::platform::TimeSource {
public:
    /// Starts at the given local wall-clock time.
    FakeClock(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
        SetLocal(year, month, day, hour, minute, second);
        zam::platform::SetTimeSource(this);
    }
    ~FakeClock() override { zam::platform::SetTimeSource(nullptr); }
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    int64_t NowUnixMillis() override { return millis_; }
    int64_t BootTimeMillis() override { return boot_; }

    void SetLocal(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
        std::tm tm{};
        tm.tm_year = year - 1900;
        tm.tm_mon = month - 1;
        tm.tm_mday = day;
        tm.tm_hour = hour;
        tm.tm_min = minute;
        tm.tm_sec = second;
        int64_t seconds = 0;
        zam::platform::FromLocalTm(tm, seconds);
        millis_ = seconds * 1000;
    }
    void SetUnixMillis(int64_t millis) { millis_ = millis; }
    void Advance(int64_t seconds) { AdvanceMillis(seconds * 1000); }
    void AdvanceMillis(int64_t millis) {
        millis_ += millis;
        boot_ += millis;
    }

private:
    int64_t millis_ = 0;
    int64_t boot_ = 5000000;  // a machine up for a while
};

}  // namespace zam::testing
