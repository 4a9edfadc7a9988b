// Everything that reads "now", against a hand-driven clock, and file times.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Core/Platform/Clock.h"
#include "Core/Platform/FileTimes.h"
#include "Core/System/Log.h"
#include "Core/Time/CZAMDateTime.h"
#include "tests/Core/Time/DateTimeTestUtil.h"
#include "tests/Support/FakeClock.h"
#include "tests/Support/TempDir.h"

using zam::testing::FakeClock;
using zam::testing::Fields;
using zam::testing::MakeDT;
using zam::testing::ScopedTimeZone;
using zam::testing::TempDir;

TEST(DateTimeClock, NowLocalUniversalEastern) {
    FakeClock clock(2015, 8, 12, 14, 30, 5);  // New York daylight time, UTC-4
    CZAMDateTime dt;
    EXPECT_EQ(dt.SetNow(), 0);
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 12, 14, 30, 5));
    EXPECT_EQ(dt.SetNowGMT(), 0);
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 12, 18, 30, 5));
    EXPECT_EQ(dt.SetNowEST(), 0);
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 12, 14, 30, 5));
    EXPECT_EQ(CZAMDateTime::GetESTOffsetSec(), 0);

    clock.SetLocal(2015, 1, 5, 8, 3, 9);  // standard time, UTC-5
    EXPECT_EQ(dt.SetNowGMT(), 0);
    EXPECT_EQ(Fields(dt), Fields(2015, 1, 5, 13, 3, 9));
    EXPECT_EQ(dt.SetNowEST(), 0);
    EXPECT_EQ(Fields(dt), Fields(2015, 1, 5, 8, 3, 9));
    EXPECT_EQ(CZAMDateTime::GetESTOffsetSec(), 0);

    clock.SetLocal(2015, 1, 1, 2, 0, 0);  // Eastern time crosses midnight back
    EXPECT_EQ(dt.SetNowEST(), 0);
    EXPECT_EQ(Fields(dt), Fields(2015, 1, 1, 2, 0, 0));
}

// Eastern time follows the local machine's daylight saving, so elsewhere it
// is UTC-5 or, while local summer time is on, UTC-4.
TEST(DateTimeClock, EasternFromOtherZones) {
    ScopedTimeZone zone("Europe/Berlin");
    FakeClock clock(2015, 8, 12, 20, 0, 0);  // 18:00 UTC
    CZAMDateTime dt;
    dt.SetNowEST();
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 12, 14, 0, 0));
    EXPECT_EQ(CZAMDateTime::GetESTOffsetSec(), -6 * 3600);
    clock.SetLocal(2015, 1, 5, 3, 0, 0);  // 02:00 UTC
    dt.SetNowEST();
    EXPECT_EQ(Fields(dt), Fields(2015, 1, 4, 21, 0, 0));
    EXPECT_EQ(CZAMDateTime::GetESTOffsetSec(), -6 * 3600);

    ScopedTimeZone utc("UTC");
    clock.SetUnixMillis(1439404205000LL);  // 12 Aug 2015 18:30:05 UTC
    dt.SetNowEST();
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 12, 13, 30, 5));
    EXPECT_EQ(CZAMDateTime::GetESTOffsetSec(), -5 * 3600);
}

TEST(DateTimeClock, MissingOtherMeansNow) {
    FakeClock clock(2015, 8, 12, 14, 30, 5);
    const CZAMDateTime earlier = MakeDT(2015, 8, 12, 14, 0, 5);
    EXPECT_EQ(earlier.GetDiffSec(nullptr), 1800);
    const CZAMDateTime empty;
    EXPECT_EQ(earlier.GetDiffSec(&empty), 1800);
    EXPECT_EQ(earlier.GetDiffSecBig(), 1800);
    EXPECT_EQ(earlier.GetDiffSecSpan(), 1800);
    EXPECT_EQ(earlier.Compare(nullptr, 6), -1);
    EXPECT_EQ(earlier.Compare(nullptr, 3), 0);
    EXPECT_EQ(earlier.SameDate(nullptr), 0);
    EXPECT_FLOAT_EQ(MakeDT(2015, 10, 12, 14, 30, 5).GetDiffMonth(nullptr), 2.0f);

    CZAMDateTime dt = MakeDT(2000, 1, 1, 9, 8, 7);
    EXPECT_EQ(dt.SetDate(20150812), 0);  // keeps the value's own time
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 12, 9, 8, 7));

    // The countdown's pattern: a start instant, resumed by moving it on.
    CZAMDateTime start;
    start.SetNow();
    clock.Advance(125);
    EXPECT_EQ(start.GetDiffSec(nullptr), 125);
    start.ShiftTime(25);
    EXPECT_EQ(start.GetDiffSec(nullptr), 100);
}

TEST(DateTimeClock, JulianSetters) {
    FakeClock clock(2015, 8, 10, 16, 45, 0);
    CZAMDateTime dt;
    EXPECT_EQ(dt.SetDTJul(2457247), 2);
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 12));
    EXPECT_EQ(dt.SetDTJul("2457240"), -5);
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 5));
    EXPECT_EQ(dt.SetDTJul(" +2415021x"), 2415021 - 2457245);
    EXPECT_EQ(Fields(dt), Fields(1900, 1, 1));

    // Out of the year range: the days are still reported, the value is empty.
    EXPECT_EQ(dt.SetDTJul(2415020), 2415020 - 2457245);
    EXPECT_EQ(dt.IsEmpty(), 1);
    EXPECT_EQ(dt.SetDTJul(INT_MIN), INT_MIN);
    EXPECT_EQ(dt.SetDTJul("99999999999"), 1215752191 - 2457245);  // wraps as atol does
    EXPECT_EQ(dt.SetDTJul(static_cast<const char*>(nullptr)), -2457245);

    EXPECT_EQ(dt.SetDTFloat(42228.25), 0);
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 12, 6, 0, 0));
}

namespace {

// Sets a file's access and modification times, with fractions of a second
// that the value must drop.
bool SetFileTimes(const std::string& path, int64_t access, int64_t modification) {
    timespec ts[2];
    ts[0].tv_sec = static_cast<time_t>(access);
    ts[0].tv_nsec = 250000000;
    ts[1].tv_sec = static_cast<time_t>(modification);
    ts[1].tv_nsec = 750000000;
    return utimensat(AT_FDCWD, path.c_str(), ts, 0) == 0;
}

}  // namespace

TEST(DateTimeFile, KindsOfFileTime) {
    TempDir dir;
    dir.Write("stamp.txt", "x");
    const std::string path = dir.File("stamp.txt");
    ASSERT_TRUE(SetFileTimes(path, 1420462989, 1439404205));  // 5 Jan 2015 08:03:09, 12 Aug 2015 14:30:05
    CZAMDateTime dt;
    EXPECT_EQ(dt.SetDTFile(path.c_str(), 'A'), 0);
    EXPECT_EQ(Fields(dt), Fields(2015, 1, 5, 8, 3, 9));
    EXPECT_EQ(dt.SetDTFile(path.c_str(), 'm'), 0);
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 12, 14, 30, 5));
    EXPECT_EQ(dt.SetDTFile(path.c_str(), 'S'), 0);
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 12, 14, 30, 5));

    // Creation is the birth time (or the status change): the real "just now".
    EXPECT_EQ(dt.SetDTFile(path.c_str(), 'c'), 0);
    CZAMDateTime now;
    now.SetNow();
    EXPECT_LT(std::abs(dt.GetDiffSec(&now)), 300) << Fields(dt);

    EXPECT_EQ(dt.SetDTFile(dir.Path().c_str(), 'M'), 0);  // folders answer too
    EXPECT_EQ(dt.IsValid(), 1);

    EXPECT_EQ(dt.SetDTFile(path.c_str(), 'X'), 0);  // unknown kind
    EXPECT_EQ(dt.IsEmpty(), 1);
    const std::string missing = dir.File("none.txt");
    dt = MakeDT(2015, 8, 12);
    EXPECT_EQ(dt.SetDTFile(missing.c_str(), 'M'), -1);
    EXPECT_EQ(dt.IsEmpty(), 1);
    EXPECT_EQ(dt.SetDTFile(missing.c_str(), 'S'), -1);
    EXPECT_EQ(dt.SetDTFile(nullptr, 'A'), -1);

    CZAMDateTime epoch;
    epoch.SetDTUnix(0);
    EXPECT_EQ(dt.SetDTFile("C:\\some\\folder\\nul", 's'), 0);
    EXPECT_EQ(dt.Compare(&epoch, 6), 0);
    EXPECT_EQ(dt.SetDTFile("x/NUL", 'S'), 0);
    EXPECT_EQ(Fields(dt), Fields(1969, 12, 31, 19, 0, 0));
    EXPECT_EQ(dt.SetDTFile("NUL.txt", 'S'), -1);
}

TEST(DateTimeFile, PlatformStamps) {
    TempDir dir;
    dir.Write("stamp.txt", "x");
    ASSERT_TRUE(SetFileTimes(dir.File("stamp.txt"), 1420462989, 1439404205));
    zam::platform::FileTimes times;
    ASSERT_EQ(zam::platform::GetFileTimes(dir.File("stamp.txt").c_str(), times), 0);
    EXPECT_EQ(times.Access.Seconds, 1420462989);
    EXPECT_EQ(times.Access.Nanoseconds, 250000000);
    EXPECT_EQ(times.Modification.Seconds, 1439404205);
    EXPECT_EQ(times.Modification.Nanoseconds, 750000000);
    EXPECT_GT(times.Creation.Seconds, 1439404205);  // made (or changed) just now
    EXPECT_EQ(zam::platform::GetFileTimes("", times), -1);
    EXPECT_EQ(zam::platform::GetFileTimes(nullptr, times), -1);
    EXPECT_EQ(times.Access.Seconds, 0);
}

// The two refusals of SetDT(date, time) leave a line in the log.
TEST(DateTimeLog, RefusedNumbersAreLogged) {
    LogResetForTests();
    TempDir dir;
    ASSERT_EQ(LogLine("*OPENLOG", dir.File("dt.log").c_str(), 1), 1);
    CZAMDateTime dt;
    EXPECT_EQ(dt.SetDT(20150812, 240001), -2);
    EXPECT_EQ(dt.SetDT(21560101, 0), -1);
    EXPECT_EQ(dt.SetDT(20150812, 0), 0);
    LogLine("*CLOSE", "", 0);
    const std::string log = dir.Read("dt.log");
    EXPECT_NE(log.find("Invalid Time: 240001"), std::string::npos) << log;
    EXPECT_NE(log.find("Invalid Date: 21560101"), std::string::npos) << log;
    EXPECT_EQ(log.find("Invalid Date: 20150812"), std::string::npos) << log;
    LogResetForTests();
}
