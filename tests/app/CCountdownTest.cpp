#include "app/CCountdown.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "Core/Platform/RuntimeRand.h"
#include "app/Random.h"
#include "app/Version.h"
#include "tests/Support/FakeClock.h"

namespace {

using zam::testing::FakeClock;

std::string Str(const CTxt& t) { return std::string(static_cast<const char*>(t)); }

// The status text for elapsed e of total t, written independently of the engine.
std::string ExpectedStatus(int e, int t) {
    char buf[64];
    const int r = t - e;
    if (r >= 3600) {
        std::snprintf(buf, sizeof buf, "%02d:%02d:%02d - %02d:%02d:%02d", e / 3600, e % 3600 / 60,
                      e % 60, r / 3600, r % 3600 / 60, r % 60);
    } else {
        std::snprintf(buf, sizeof buf, "%02d:%02d - %02d:%02d", e / 60, e % 60, r / 60, r % 60);
    }
    return buf;
}

class CountdownTest : public ::testing::Test {
protected:
    // A winter Monday, far from any daylight-saving change.
    FakeClock clock{2015, 1, 12, 10, 0, 0};

    // Ticks into a record that is reused, as the window reuses its own.
    void TickInto(CCountdown& engine, TickOutput& out, int seconds = 1) {
        clock.Advance(seconds);
        engine.Tick(out);
    }

    TickOutput TickAfter(CCountdown& engine, int seconds = 1) {
        clock.Advance(seconds);
        TickOutput out;
        engine.Tick(out);
        return out;
    }
};

TEST_F(CountdownTest, FreshEngineIsIdleAndTicksPaused) {
    CCountdown engine;
    EXPECT_EQ(engine.IsRunning(), 0);
    EXPECT_EQ(engine.IsCompleted(), 0);
    TickOutput out = TickAfter(engine);
    EXPECT_EQ(Str(out.Status), "Paused ");
    EXPECT_EQ(Str(out.StatusLine), "Paused ");
    EXPECT_EQ(Str(out.Clock), "1/12/2015 10:00:01");
    EXPECT_TRUE(out.Title.IsEmpty());
    EXPECT_EQ(out.HasProgress, 0);
    EXPECT_EQ(out.PlayEnd + out.PlayInterval + out.CaptionChanged + out.PageDue, 0);
}

TEST_F(CountdownTest, LengthAndIntervalSetters) {
    CCountdown engine;
    EXPECT_EQ(engine.SetLength(0), 2);
    EXPECT_EQ(engine.SetLength(1), 2);
    EXPECT_EQ(engine.SetLength(-50), 2);
    EXPECT_EQ(engine.SetLength(25), 25);
    engine.SetInitial(1, -3);
    EXPECT_EQ(engine.GetLength(), 2);
    EXPECT_EQ(engine.GetInterval(), -3);
    EXPECT_EQ(engine.GetIntervalSec(), 0);  // SetInitial does not schedule
    EXPECT_EQ(engine.SetInterval(4), 4);
    EXPECT_EQ(engine.GetIntervalSec(), 240);
    EXPECT_EQ(engine.SetInterval(0), 0);
    EXPECT_EQ(engine.GetIntervalSec(), 0);
    engine.SetEndSound("/tmp/Harp.wav");
    engine.SetIntervalSound(nullptr);
    EXPECT_EQ(Str(engine.GetEndSound()), "/tmp/Harp.wav");
    EXPECT_TRUE(engine.GetIntervalSound().IsEmpty());
}

TEST_F(CountdownTest, TwoMinuteRunEndsWithDoneThenCompleted) {
    CCountdown engine;
    engine.SetInitial(2, 0);
    EXPECT_STREQ(engine.StartPause(), "&Pause");
    TickOutput out;
    for (int i = 1; i <= 30; ++i) TickInto(engine, out);
    EXPECT_EQ(Str(out.StatusLine), "[00:30 - 01:30]");
    EXPECT_EQ(out.Progress, 250);
    EXPECT_EQ(Str(out.Title), std::string("Kronalt [00:30 - 01:30] (Velmora) (Version 1.2a - ") +
                                  BuildDate() + ")");
    for (int i = 31; i < 120; ++i) {
        TickInto(engine, out);
        EXPECT_EQ(out.PlayEnd, 0);
    }
    TickInto(engine, out);
    EXPECT_EQ(Str(out.Status), "DONE");
    EXPECT_EQ(Str(out.StatusLine), "DONE");  // no chime scheduled: R = 0 gives no brackets
    EXPECT_EQ(out.Progress, 1000);
    EXPECT_EQ(out.PlayEnd, 1);
    EXPECT_EQ(out.CaptionChanged, 1);
    EXPECT_EQ(engine.IsCompleted(), 1);
    EXPECT_EQ(engine.IsRunning(), 0);
    const std::string doneTitle = Str(out.Title);

    TickInto(engine, out);
    EXPECT_EQ(Str(out.StatusLine), "Completed ");
    EXPECT_TRUE(out.Title.IsEmpty());
    EXPECT_EQ(out.HasProgress, 0);
    EXPECT_NE(doneTitle.find("[DONE]"), std::string::npos);

    // A new start after the end begins again from zero.
    engine.StartPause();
    TickInto(engine, out);
    EXPECT_EQ(Str(out.StatusLine), "[00:01 - 01:59]");
    EXPECT_EQ(engine.IsCompleted(), 0);
}

TEST_F(CountdownTest, LongFormBracketsFollowTheHour) {
    CCountdown engine;
    engine.SetInitial(180, 0);
    engine.StartPause();
    TickOutput out = TickAfter(engine, 100);
    EXPECT_EQ(Str(out.StatusLine), "[00:01:40 - 02:58:20]");
    TickInto(engine, out, 3500);
    EXPECT_EQ(Str(out.StatusLine), "01:00:00 - 02:00:00");
    TickInto(engine, out, 1);
    EXPECT_EQ(Str(out.StatusLine), "[01:00:01 - 01:59:59]");
    // Seventy minutes of ninety: the elapsed minutes are not wrapped.
    engine.SetLength(90);
    TickInto(engine, out, 599);
    EXPECT_EQ(Str(out.StatusLine), "[70:00 - 20:00]");
}

TEST_F(CountdownTest, TwoHoursWithSevenMinuteChimesAndTwoPauses) {
    CCountdown engine;
    engine.SetInitial(120, 7);
    engine.StartPause();
    const int total = 7200;
    int elapsed = 0;
    int chimes = 0;
    // Pause at these running times for these lengths.
    const int pauseAt[] = {1000, 5000};
    const int pauseFor[] = {300, 1234};
    int nextPause = 0;
    for (;;) {
        TickOutput out = TickAfter(engine);
        ++elapsed;
        if (elapsed == total) {
            EXPECT_EQ(Str(out.Status), "DONE");
            // The last chime was at 7140: sixty seconds into the next seven minutes.
            EXPECT_EQ(Str(out.StatusLine), "[DONE]");
            EXPECT_EQ(out.PlayEnd, 1);
            EXPECT_EQ(out.PlayInterval, 0);
            EXPECT_EQ(out.Progress, 1000);
            break;
        }
        const bool chimeDue = elapsed % 420 == 0;
        ASSERT_EQ(out.PlayInterval, chimeDue ? 1 : 0) << "at running second " << elapsed;
        chimes += out.PlayInterval;
        const std::string status = ExpectedStatus(elapsed, total);
        ASSERT_EQ(Str(out.Status), status);
        ASSERT_EQ(Str(out.StatusLine), chimeDue ? status : "[" + status + "]")
            << "at running second " << elapsed;
        ASSERT_EQ(out.Progress, elapsed * 1000 / total);
        ASSERT_EQ(out.PlayEnd, 0);

        if (nextPause < 2 && elapsed == pauseAt[nextPause]) {
            EXPECT_STREQ(engine.StartPause(), "&Start");
            for (int i = 0; i < pauseFor[nextPause]; ++i) {
                TickOutput paused = TickAfter(engine);
                ASSERT_EQ(Str(paused.StatusLine), "Paused ");
                ASSERT_TRUE(paused.Title.IsEmpty());
                ASSERT_EQ(paused.PlayInterval, 0);
            }
            EXPECT_STREQ(engine.StartPause(), "&Pause");
            ++nextPause;
        }
    }
    EXPECT_EQ(chimes, 17);
    EXPECT_EQ(Str(TickAfter(engine).StatusLine), "Completed ");
}

TEST_F(CountdownTest, EndAndChimeFallOnTheSameTick) {
    CCountdown engine;
    engine.SetInitial(5, 1);
    engine.StartPause();
    for (int second = 1; second <= 300; ++second) {
        TickOutput out = TickAfter(engine);
        EXPECT_EQ(out.PlayInterval, second % 60 == 0 ? 1 : 0) << second;
        EXPECT_EQ(out.PlayEnd, second == 300 ? 1 : 0) << second;
        if (second == 300) {
            EXPECT_EQ(Str(out.StatusLine), "DONE");
        }
    }
}

TEST_F(CountdownTest, IntervalSetDuringRunCountsFromStart) {
    CCountdown engine;
    engine.SetInitial(30, 0);
    engine.StartPause();
    TickAfter(engine, 360);
    engine.SetInterval(5);
    TickOutput out = TickAfter(engine);
    EXPECT_EQ(out.PlayInterval, 1);
    TickInto(engine, out, 299);
    EXPECT_EQ(out.PlayInterval, 0);
    TickInto(engine, out);
    EXPECT_EQ(out.PlayInterval, 1);
}

TEST_F(CountdownTest, PauseDelaysBothElapsedTimeAndNextChime) {
    CCountdown engine;
    engine.SetInitial(30, 2);
    engine.StartPause();
    TickAfter(engine, 90);
    engine.StartPause();
    clock.Advance(300);
    engine.StartPause();
    TickOutput out = TickAfter(engine, 29);
    EXPECT_EQ(Str(out.Status), "01:59 - 28:01");
    EXPECT_EQ(out.PlayInterval, 0);
    TickInto(engine, out);
    EXPECT_EQ(out.PlayInterval, 1);
}

TEST_F(CountdownTest, ShorteningBelowElapsedEndsAtNextTick) {
    CCountdown engine;
    engine.SetInitial(10, 0);
    engine.StartPause();
    TickAfter(engine, 200);
    engine.SetLength(2);
    TickOutput out = TickAfter(engine);
    EXPECT_EQ(Str(out.Status), "DONE");
    EXPECT_EQ(out.Progress, 1000);
}

TEST_F(CountdownTest, ClockSetBackKeepsProgressInRange) {
    CCountdown engine;
    engine.SetInitial(10, 0);
    engine.StartPause();
    TickOutput out = TickAfter(engine, -30);
    EXPECT_EQ(out.Progress, 0);
    EXPECT_EQ(out.HasProgress, 1);
}

TEST_F(CountdownTest, ProductPageDueAfterNinetySecondsUntilShown) {
    CCountdown engine;
    EXPECT_EQ(TickAfter(engine, 90).PageDue, 0);
    EXPECT_EQ(TickAfter(engine).PageDue, 1);
    EXPECT_EQ(TickAfter(engine).PageDue, 1);  // still due while the owner does not open it
    engine.PageShown();
    EXPECT_EQ(TickAfter(engine, 1000).PageDue, 0);
}

TEST_F(CountdownTest, StartUpTitleHasNoBrackets) {
    CTxt title;
    CCountdown::GetTitle(title, nullptr);
    EXPECT_EQ(Str(title), std::string("Kronalt (Velmora) (Version 1.2a - ") + BuildDate() + ")");
}

TEST(RandomTest, DrawsStayInRangeWithTheRightMean) {
    for (int minutes : {1, 5, 60, 273}) {
        zam::platform::RuntimeSrand(12345u + static_cast<unsigned>(minutes));
        const int n = 120 * minutes;
        double sum = 0;
        for (int i = 0; i < 10000; ++i) {
            const int r = RandomBelow(n);
            ASSERT_GE(r, 0);
            ASSERT_LT(r, n);
            sum += r;
        }
        EXPECT_NEAR(sum / 10000, 60.0 * minutes, 0.02 * 60.0 * minutes) << minutes;
    }
    EXPECT_EQ(RandomBelow(0), 0);
    EXPECT_EQ(RandomBelow(1), 0);
}

TEST_F(CountdownTest, RandomIntervalsAreClampedAndSeeded) {
    CCountdown engine;
    engine.SetInitial(30, -1);
    zam::platform::RuntimeSrand(7);
    for (int i = 0; i < 1000; ++i) {
        const int s = engine.NextIntervalSec();
        ASSERT_GE(s, 0);
        ASSERT_LE(s, 119);
    }
    engine.SetInterval(-100000);  // beyond what the generator covers: as -273
    for (int i = 0; i < 1000; ++i) {
        const int s = engine.NextIntervalSec();
        ASSERT_GE(s, 0);
        ASSERT_LT(s, 273 * 120);
    }
}

TEST_F(CountdownTest, HugeLengthAndIntervalDoNotOverflow) {
    CCountdown engine;
    engine.SetInitial(2147483647, 2147483647);
    engine.StartPause();
    TickOutput out = TickAfter(engine, 10);
    EXPECT_EQ(out.Progress, 0);
    EXPECT_EQ(out.Status.GetData()[0], '0');
    EXPECT_EQ(Str(out.StatusLine).front(), '[');
}

}  // namespace

// Elapsed time comes from the boot-time clock; the wall clock, which jumps at
// daylight-saving changes and when set by hand, only feeds the clock text.
class CountdownClockJumpTest : public CountdownTest {
protected:
    void SetUp() override {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
    }
    void TearDown() override {
        setenv("TZ", "America/New_York", 1);
        tzset();
    }
    // Ticks once a second for n seconds; counts the chimes on the way.
    TickOutput TickSeconds(CCountdown& engine, int n, int* chimes = nullptr) {
        TickOutput out;
        for (int i = 0; i < n; ++i) {
            TickInto(engine, out);
            if (chimes != nullptr) *chimes += out.PlayInterval;
        }
        return out;
    }
    void RunFiveMinutesFrom(int64_t unixSeconds, const char* clockAfterTwoMinutes) {
        clock.SetUnixMillis(unixSeconds * 1000);
        CCountdown engine;
        engine.SetInitial(5, 0);
        engine.StartPause();
        TickOutput out = TickSeconds(engine, 120);
        EXPECT_EQ(Str(out.Status), "02:00 - 03:00");
        EXPECT_EQ(Str(out.Clock), clockAfterTwoMinutes);
        out = TickSeconds(engine, 179);
        EXPECT_EQ(Str(out.Status), "04:59 - 00:01");
        out = TickSeconds(engine, 1);
        EXPECT_EQ(Str(out.Status), "DONE");
    }
};

TEST_F(CountdownClockJumpTest, DaylightSavingNightsNeitherShortenNorLengthen) {
    // 01:59 CET on the spring-forward night: 02:00 becomes 03:00.
    RunFiveMinutesFrom(1774745940, "3/29/2026 03:01:00");
    // 02:59 CEST on the fall-back night: 03:00 becomes 02:00 again.
    RunFiveMinutesFrom(1792889940, "10/25/2026 02:01:00");
}

TEST_F(CountdownClockJumpTest, ClockSetBackAnHourDoesNotMoveTheCountdown) {
    CCountdown engine;
    engine.SetInitial(5, 0);
    engine.StartPause();
    TickSeconds(engine, 60);
    clock.SetUnixMillis(clock.NowUnixMillis() - 3600 * 1000);
    TickOutput out = TickSeconds(engine, 1);
    EXPECT_EQ(Str(out.Status), "01:01 - 03:59");
    EXPECT_EQ(out.Progress, 203);
    out = TickSeconds(engine, 239);
    EXPECT_EQ(Str(out.Status), "DONE");
}

TEST_F(CountdownClockJumpTest, SuspendAcrossTwoChimesChimesOnceOnWaking) {
    CCountdown engine;
    engine.SetInitial(30, 2);
    engine.StartPause();
    int chimes = 0;
    TickSeconds(engine, 60, &chimes);
    // Asleep from 01:00 to 11:00, past the chimes due at 02:00 and 04:00:
    // the waking tick counts the sleep and chimes once, not twice.
    EXPECT_EQ(chimes, 0);
    TickOutput out;
    clock.Advance(600);
    engine.Tick(out);
    EXPECT_EQ(Str(out.Status), "11:00 - 19:00");
    EXPECT_EQ(out.PlayInterval, 1);
    TickSeconds(engine, 119, &chimes);
    EXPECT_EQ(chimes, 0);
    out = TickSeconds(engine, 1);
    EXPECT_EQ(out.PlayInterval, 1);

    // A pause that spans a suspend is not counted.
    engine.StartPause();
    clock.Advance(900);
    engine.StartPause();
    out = TickSeconds(engine, 1);
    EXPECT_EQ(Str(out.Status), "13:01 - 16:59");
}

TEST_F(CountdownTest, StateLineForOtherPrograms) {
    CCountdown engine;
    engine.SetInitial(25, 0);
    CTxt state;
    engine.GetStateText(state);
    EXPECT_EQ(Str(state), "idle 00:00 - 25:00");
    engine.StartPause();
    TickOutput out;
    TickInto(engine, out, 3);
    engine.GetStateText(state);
    EXPECT_EQ(Str(state), "running 00:03 - 24:57");
    engine.StartPause();
    clock.Advance(100);  // a pause does not move it
    engine.GetStateText(state);
    EXPECT_EQ(Str(state), "paused 00:03 - 24:57");
    engine.StartPause();
    TickInto(engine, out, 25 * 60);
    engine.GetStateText(state);
    EXPECT_EQ(Str(state), "completed");
    engine.SetOvertime(1);
    engine.StartPause();
    TickInto(engine, out, 25 * 60 + 5);
    engine.GetStateText(state);
    EXPECT_EQ(Str(state), "overtime +00:05");
    engine.StartPause();
    engine.GetStateText(state);
    EXPECT_EQ(Str(state), "completed +00:05");
}

// Counting on past zero, with the Overtime setting.
TEST_F(CountdownTest, OvertimeCountsPastTheEndUntilStopped) {
    CCountdown engine;
    engine.SetInitial(2, 1);
    engine.SetOvertime(1);
    engine.StartPause();
    TickOutput out;
    int chimes = 0;
    for (int i = 0; i < 119; ++i) {
        TickInto(engine, out);
        chimes += out.PlayInterval;
    }
    EXPECT_EQ(chimes, 1);
    TickInto(engine, out);
    // The end as without overtime: the sound, DONE, the chime that falls on it ...
    EXPECT_EQ(out.PlayEnd, 1);
    EXPECT_EQ(out.PlayInterval, 1);
    EXPECT_EQ(Str(out.Status), "DONE");
    // ... but the countdown runs on, with its caption.
    EXPECT_EQ(out.CaptionChanged, 0);
    EXPECT_TRUE(engine.IsRunning() && engine.IsOvertime());
    TickInto(engine, out, 65);
    EXPECT_EQ(Str(out.Status), "+01:05");
    EXPECT_EQ(Str(out.StatusLine), "+01:05");
    EXPECT_EQ(out.Progress, 1000);
    EXPECT_EQ(out.PlayEnd + out.PlayInterval, 0);  // no more chimes, no second end
    EXPECT_NE(Str(out.Title).find("[+01:05]"), std::string::npos);
    TickInto(engine, out, 3600);
    EXPECT_EQ(Str(out.Status), "+1:01:05");

    EXPECT_STREQ(engine.StartPause(), "&Start");
    TickInto(engine, out, 10);
    EXPECT_EQ(Str(out.Status), "Completed +1:01:05");
    EXPECT_TRUE(engine.IsCompleted());
    // A new start is a new countdown, from zero.
    EXPECT_STREQ(engine.StartPause(), "&Pause");
    TickInto(engine, out);
    EXPECT_EQ(Str(out.Status), "00:01 - 01:59");
}

TEST_F(CountdownTest, WithoutOvertimeTheEndIsAsAlways) {
    CCountdown engine;
    engine.SetInitial(2, 0);
    engine.StartPause();
    TickOutput out;
    TickInto(engine, out, 120);
    EXPECT_EQ(Str(out.Status), "DONE");
    EXPECT_EQ(out.CaptionChanged, 1);
    TickInto(engine, out, 60);
    EXPECT_EQ(Str(out.Status), "Completed ");
}

// Counting to a clock time: the length is the seconds to the next time the
// clock shows it, fixed at the start.
TEST_F(CountdownTest, UntilAClockTime) {
    CCountdown engine;
    engine.SetInitial(60, 0);
    EXPECT_EQ(engine.SetUntil(24, 0, 0), -1);
    EXPECT_EQ(engine.SetUntil(10, 60, 0), -1);
    EXPECT_FALSE(engine.IsUntil());
    ASSERT_EQ(engine.SetUntil(10, 30, 15), 0);  // 10:00:00 now
    EXPECT_EQ(engine.GetLengthSec(), 30 * 60 + 15);
    EXPECT_EQ(engine.GetLength(), 31);  // minutes, rounded up
    engine.StartPause();
    TickOutput out;
    TickInto(engine, out);
    EXPECT_EQ(Str(out.Status), "00:01 - 30:14");
    // Setting the clock later does not move the end.
    clock.SetUnixMillis(clock.NowUnixMillis() + 600 * 1000);
    TickInto(engine, out, 30 * 60 + 13);
    EXPECT_EQ(Str(out.Status), "30:14 - 00:01");
    TickInto(engine, out);
    EXPECT_EQ(Str(out.Status), "DONE");

    // A time already past today is tomorrow's; just before midnight too.
    clock.SetLocal(2015, 1, 12, 23, 59, 50);
    ASSERT_EQ(engine.SetUntil(0, 0, 0), 0);
    EXPECT_EQ(engine.GetLengthSec(), 10);
    ASSERT_EQ(engine.SetUntil(23, 59, 50), 0);
    EXPECT_EQ(engine.GetLengthSec(), 24 * 3600);
    // A length typed afterwards is a length in minutes again.
    engine.SetLength(5);
    EXPECT_FALSE(engine.IsUntil());
    EXPECT_EQ(engine.GetLengthSec(), 300);
}

TEST_F(CountdownClockJumpTest, UntilOnDaylightSavingNights) {
    CCountdown engine;
    // 00:00 CET on the spring-forward night: 06:00 is five real hours away.
    clock.SetLocal(2026, 3, 29, 0, 0, 0);
    ASSERT_EQ(engine.SetUntil(6, 0, 0), 0);
    EXPECT_EQ(engine.GetLengthSec(), 5 * 3600);
    // 00:00 CEST on the fall-back night: seven.
    clock.SetLocal(2026, 10, 25, 0, 0, 0);
    ASSERT_EQ(engine.SetUntil(6, 0, 0), 0);
    EXPECT_EQ(engine.GetLengthSec(), 7 * 3600);
    // Measured afresh at the start: a start an hour later counts an hour less.
    clock.Advance(3600);
    engine.StartPause();
    EXPECT_EQ(engine.GetLengthSec(), 6 * 3600);
}
