#include <gtest/gtest.h>
#include <unistd.h>

#include <ctime>
#include <random>
#include <string>

#include "Core/System/Log.h"
#include "Core/Text/CTxt.h"
#include "Core/Time/CZAMDateTime.h"
#include "tests/Core/Time/DateTimeTestUtil.h"
#include "tests/Support/FakeClock.h"
#include "tests/Support/TempDir.h"

using zam::testing::FakeClock;
using zam::testing::Fields;
using zam::testing::MakeDT;
using zam::testing::TempDir;

namespace {

// Every kind as strftime writes it (the C locale's %b is the short month
// name), with {m} {d} unpadded, {h} the twelve-hour clock, {p} AM/PM, {q} the
// quarter; and how much of the value reads back: 3 date and time, 2 to the
// minute, 1 the date, 0 nothing whole.
const struct {
    const char* format;
    int holds;
} kKinds[30] = {
    {"%Y%m%d %T", 3},     {"%Y%m%d", 1},          {"%T", 0},
    {"{m}/{d}/%y %T", 3}, {"{m}/{d}/%y", 1},      {"%R", 0},
    {"{m}/{d}/%Y", 1},    {"{h}:%M:%S{p}", 0},    {"{h}:%M{p}", 0},
    {"{m}/{d}/%Y %T", 3}, {"%Y%m%d_%H%M%S", 3},   {"%H%M%S", 0},
    {"%m/%d/%Y", 1},      {"%m/%d/%Y %R", 2},     {"%m/%d", 0},
    {"%m/%d/%Y {h}:%M{p}", 2}, {"%m/%d/%Y {h}:%M:%S{p}", 3}, {"%m/%d/%Y %T", 3},
    {"{m}/{d}/%Y,%T", 3}, {"%m/%d/%Y|%T", 3},     {"{m}/%Y", 0},
    {"%Y-Q{q}", 0},       {"%b/%Y", 0},           {"%b/%y", 0},
    {"%m/%d/%Y,%T", 3},   {"%m/%d/%Y,%R", 2},     {"{m}/{d}", 0},
    {"{m}/{d}/%Y %R", 2}, {"%b+{d}%%2C+%Y", 1},   {"%b/{d}/%Y %T", 3},
};

std::string Expected(const std::tm& tm, const char* format) {
    char buf[64];
    std::strftime(buf, sizeof buf, format, &tm);
    std::string s = buf;
    const int h12 = tm.tm_hour > 12 ? tm.tm_hour - 12 : tm.tm_hour;  // noon stays 12AM
    const std::string fill[][2] = {
        {"{m}", std::to_string(tm.tm_mon + 1)},
        {"{d}", std::to_string(tm.tm_mday)},
        {"{h}", (h12 < 10 ? "0" : "") + std::to_string(h12)},
        {"{p}", tm.tm_hour > 12 ? "PM" : "AM"},
        {"{q}", std::to_string(tm.tm_mon / 3 + 1)},
    };
    for (const auto& f : fill)
        for (size_t at; (at = s.find(f[0])) != std::string::npos;) s.replace(at, 3, f[1]);
    return s;
}

}  // namespace

// Every kind for many instants against an independent rendering, and every
// kind that holds a whole date read back by SetDT(text).
TEST(DateTimeForms, RandomInstantsWriteAndReadBack) {
    std::mt19937 rng(20150812);
    for (int i = 0; i < 2000; ++i) {
        const int year = 1900 + static_cast<int>(rng() % 256);
        const int month = 1 + static_cast<int>(rng() % 12);
        const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
        const int days = month == 2 ? 28 + leap : 30 + (month + month / 8) % 2;
        std::tm tm{};
        tm.tm_year = year - 1900;
        tm.tm_mon = month - 1;
        tm.tm_mday = 1 + static_cast<int>(rng() % static_cast<unsigned>(days));
        tm.tm_hour = static_cast<int>(rng() % 24);
        tm.tm_min = static_cast<int>(rng() % 60);
        tm.tm_sec = static_cast<int>(rng() % 60);
        const CZAMDateTime dt = MakeDT(year, month, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
        for (int kind = 0; kind < 30; ++kind) {
            std::string s;
            ASSERT_EQ(dt.GetStr(s, kind), 0);
            ASSERT_EQ(s, Expected(tm, kKinds[kind].format)) << "kind " << kind;

            const int holds = kKinds[kind].holds;
            if (holds == 0 || ((kind == 3 || kind == 4) && (year < 1970 || year > 2069))) continue;
            CZAMDateTime back = MakeDT(2001, 2, 3, 4, 5, 6);
            ASSERT_EQ(back.SetDT(s.c_str()), 0) << "kind " << kind << ": " << s;
            ASSERT_EQ(Fields(back), Fields(year, month, tm.tm_mday, holds > 1 ? tm.tm_hour : 0,
                                           holds > 1 ? tm.tm_min : 0, holds > 2 ? tm.tm_sec : 0))
                << "kind " << kind << ": " << s;
        }
    }
    CZAMDateTime dt;
    EXPECT_EQ(dt.SetDT("20150812_000005"), 0);  // six digits after '_' are hhmmss, not 5 hours
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 12, 0, 0, 5));
    EXPECT_EQ(dt.SetDT("Augx/12/2015"), -3);  // only the names GetTxt writes
}

TEST(DateTimeForms, NamesOfMonthsAndWeekdays) {
    CTxt a, b, c, d;
    auto all = [&a, &b, &c, &d] {
        return std::string(a) + "," + std::string(b) + "," + std::string(c) + "," + std::string(d);
    };
    EXPECT_EQ(CZAMDateTime::GetMonthTxt(9, a, 0) + CZAMDateTime::GetMonthTxt(9, b, 1), 0);
    EXPECT_EQ(CZAMDateTime::GetMonthTxt(13, c, 1) + CZAMDateTime::GetMonthTxt(0, d, 0), -2);
    EXPECT_EQ(all(), "September,Sep,?13,?0");

    CZAMDateTime::GetWeekDayTxt(3, a, 0, 0);
    CZAMDateTime::GetWeekDayTxt(5, b, 1, 1);
    CZAMDateTime::GetWeekDayTxt(13, c, 0, 1);  // Monday-based 6 = Sunday
    EXPECT_EQ(CZAMDateTime::GetWeekDayTxt(-1, d, 1, 0), -1);
    EXPECT_EQ(all(), "Wednsday,Sat,Sunday,?-1");

    EXPECT_EQ(CZAMDateTime::GetWeekDayVal("wednesday", 0), 3);
    EXPECT_EQ(CZAMDateTime::GetWeekDayVal("Sun", 1), 6);
    EXPECT_EQ(CZAMDateTime::GetWeekDayVal("Mon 12", 1), 0);
    EXPECT_EQ(CZAMDateTime::GetWeekDayVal("We", 0), -1);  // the name must begin the text
}

TEST(DateTimeForms, Durations) {
    const CZAMDateTime start = MakeDT(2015, 8, 12, 10, 0, 0);
    const struct {
        int seconds, form;
        const char* text;
    } cases[] = {
        {90, 1, "1.50 Mins"},  {120, 1, "2 Mins"},         {60, 1, "1 Min"},
        {7200, 2, "2.00 Hrs"}, {129600, 3, "1.500 Days"}, {5, 0, "05 Secs"},
        {-7200, 0, "-7200 Secs"},
    };
    CTxt text;
    for (const auto& c : cases) {
        CZAMDateTime end = start;
        end.ShiftTime(c.seconds);
        EXPECT_EQ(start.GetDurTxt(text, &end), c.form) << c.seconds;
        EXPECT_STREQ(text, c.text) << c.seconds;
    }
    CZAMDateTime end = start;
    end.ShiftTime(3661);
    EXPECT_EQ(end.GetDurTxtHMS(text, &start), 1);
    EXPECT_STREQ(text, "-1:-1:-1");  // truncating division, as written for negatives
    end.ShiftTime(2 * 86400 - 3661);
    EXPECT_EQ(start.GetDurTxtHMS(text, &end), 2);
    EXPECT_STREQ(text, "2.000 Days");

    FakeClock clock(2015, 8, 12, 10, 2, 0);  // a missing other is now
    EXPECT_EQ(start.GetDurTxtHMS(text), 1);
    EXPECT_STREQ(text, "00:02:00");
}

TEST(DateTimeForms, NowAsText) {
    FakeClock clock(2015, 1, 5, 8, 3, 9);
    clock.AdvanceMillis(47);
    CTxt date, stamp;
    std::string s;
    EXPECT_EQ(CZAMDateTime::GetCurrDateCTxt(date), 10);
    EXPECT_EQ(CZAMDateTime::GetCurrDateTimeStr(s), 17);
    EXPECT_EQ(CZAMDateTime::GetCurrDateTimemSecCTxt(stamp), 19);
    EXPECT_EQ(std::string(date) + "," + s + "," + stamp.GetData(),
              "01/05/2015,1/5/2015 08:03:09,150105|08:03:09.047");
}

TEST(DateTimeForms, SelfChecksAndLunarCalendar) {
    TempDir dir;
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    ASSERT_EQ(chdir(dir.Path().c_str()), 0);
    LogResetForTests();
    LogLine("*OPENLOG", dir.File("test.log").c_str(), 1);
    const int seq = CZAMDateTime::TestSeqNbr();
    const int julian = CZAMDateTime::TestJulian();
    LogLine("*CLOSE", "", 0);
    LogResetForTests();
    ASSERT_EQ(chdir(here), 0);

    EXPECT_EQ(seq, 0);
    EXPECT_EQ(julian, 0);
    const std::string log = dir.Read("test.log");
    EXPECT_NE(log.find("SeqNbr: Last=94716 Errors=0"), std::string::npos) << log;  // 255*370+366
    EXPECT_NE(log.find("Julian: Error=0"), std::string::npos) << log;

    const std::string csv = dir.Read("Lunar.csv");
    EXPECT_EQ(csv.rfind("Lunation,Date,WeekDay,Julian\n", 0), 0u);
    EXPECT_NE(csv.find(",20000106,Thu,2451550\n"), std::string::npos);  // new moon 6 Jan 2000
    size_t lines = 0;
    for (char c : csv) lines += c == '\n';
    EXPECT_NEAR(static_cast<double>(lines - 1), 256 * 365.2425 / 29.530588853, 1.5);
}
