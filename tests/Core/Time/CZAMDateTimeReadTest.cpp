#include <gtest/gtest.h>

#include <cstdlib>
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

// A fresh log in a temporary folder, read back by Text().
class LogCapture {
public:
    LogCapture() {
        LogResetForTests();
        LogLine("*OPENLOG", dir_.File("dt.log").c_str(), 1);
    }
    ~LogCapture() { LogResetForTests(); }
    std::string Text() {
        LogLine("*FLUSH", "", 0);
        return dir_.Read("dt.log");
    }

private:
    TempDir dir_;
};

}  // namespace

TEST(DateTimeRead, SetDT) {
    FakeClock clock(2016, 3, 4, 5, 6, 7);
    const struct {
        std::string text;
        std::string fields;
    } read[] = {
        {"8/12/2015 2:30 PM", Fields(2015, 8, 12, 14, 30)},
        {" \t2015-08-12 14:30\t", Fields(2015, 8, 12, 14, 30)},
        {"20150812", Fields(2015, 8, 12)},
        {"150812 9:05:01", Fields(2015, 8, 12, 9, 5, 1)},  // yymmdd
        {"12/25 930", Fields(2016, 12, 25, 9, 30)},        // no year: this year
        {"8/12/2015 10:00" + std::string(2000, ' ') + "x", Fields(2015, 8, 12, 10)},  // cut at 1000
    };
    CZAMDateTime dt;
    for (const auto& r : read) {
        EXPECT_EQ(dt.SetDT(r.text.c_str()), 0) << r.text;
        EXPECT_EQ(Fields(dt), r.fields) << r.text;
    }

    const CZAMDateTime before = MakeDT(2001, 2, 3, 4, 5, 6);
    const struct {
        const char* text;
        int rc;
    } refused[] = {
        {"2/30/2015", -1}, {"2015-13-01", -1}, {"1/1/1899", -1}, {"99999999999999999999 1", -1},
        {"8/12/2015 24:00", -2}, {"8/12/2015 1:2:60", -2}, {"Someday", -3}, {"0/12/2015", -3},
    };
    for (const auto& r : refused) {
        dt = before;
        EXPECT_EQ(dt.SetDT(r.text), r.rc) << r.text;
        EXPECT_EQ(Fields(dt), Fields(before)) << r.text;  // nothing stored
    }
    // A time alone keeps its time but is refused as a date.
    EXPECT_EQ(dt.SetDT("14:30:05"), -1);
    EXPECT_EQ(Fields(dt), Fields(2001, 2, 3, 14, 30, 5));

    EXPECT_EQ(dt.SetDT(""), 0);
    EXPECT_EQ(dt.IsEmpty(), 1);
    EXPECT_EQ(dt.SetDTCheck("20151301"), -1);  // passes the range test only
    EXPECT_EQ(dt.SetDTCheck("8/12/2015"), 0);
}

TEST(DateTimeRead, KeywordsFollowTheClock) {
    FakeClock clock(2015, 8, 12, 14, 30, 5);  // New York: Eastern is local
    CZAMDateTime dt;
    for (const char* word : {"TODAY", "TodayEST", "live"}) {
        EXPECT_EQ(dt.SetDT(word), 0) << word;
        EXPECT_EQ(Fields(dt), Fields(2015, 8, 12)) << word;
    }
    for (const char* word : {"now", "NowEST"}) {
        EXPECT_EQ(dt.SetDT(word), 0) << word;
        EXPECT_EQ(Fields(dt), Fields(2015, 8, 12, 14, 30, 5)) << word;
    }
    dt = MakeDT(2000, 1, 1);
    EXPECT_EQ(dt.SetTime("Today"), 0);  // for a time, every keyword is now
    EXPECT_EQ(Fields(dt), Fields(2000, 1, 1, 14, 30, 5));
}

TEST(DateTimeRead, SetTimeAndSetDate) {
    CZAMDateTime dt = MakeDT(2015, 8, 12, 1, 2, 3);
    const struct {
        const char* text;
        unsigned time;
    } good[] = {
        {"930", 93000},      {"9", 90000},        {"12:15 PM", 121500}, {"2:30 PM", 143000},
        {"14:30 pm", 143000}, {"930 PM", 213000}, {"143005", 143005},   {"", 0},
    };
    for (const auto& g : good) {
        EXPECT_EQ(dt.SetTime(g.text), 0) << g.text;
        EXPECT_EQ(dt.GetTime(), g.time) << g.text;
        EXPECT_EQ(dt.GetDate(0), 20150812) << g.text;
    }

    LogCapture log;
    EXPECT_EQ(dt.SetTime("24:00"), -2);
    EXPECT_EQ(dt.SetTime("240001"), -2);
    EXPECT_EQ(dt.GetTime(), 0u);
    const std::string text = log.Text();
    EXPECT_NE(text.find("Invalid Time: -1"), std::string::npos) << text;
    EXPECT_NE(text.find("Invalid Time: 240001"), std::string::npos) << text;

    EXPECT_EQ(dt.SetDate("2/29/2016"), 0);
    EXPECT_EQ(dt.SetDate("2/29/2015"), -1);
    EXPECT_EQ(Fields(dt), Fields(2016, 2, 29));

    dt.SetTime(10, 11, 12);
    EXPECT_EQ(dt.SetDTDash("12-08-115", 3), 1);  // a small year is already minus 1900
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 12, 10, 11, 12));
    EXPECT_EQ(dt.SetDTDash("2015-02-30", 1), 0);  // stored, not valid
    EXPECT_EQ(dt.m_Day, 30);
    EXPECT_EQ(dt.SetDTDash("2300-01-01", 1), 0);  // no byte for the year: unchanged
    EXPECT_EQ(dt.GetDate(-2), 20150230);
}

TEST(DateTimeRead, GetDateAlphaAndTimeAlpha) {
    FakeClock clock(2016, 6, 1);
    EXPECT_EQ(CZAMDateTime::GetDateAlpha("12-Aug-15", 3, 2, 1, '-'), 20150812);
    EXPECT_EQ(CZAMDateTime::GetDateAlpha("Aug 12", -1, 2, 3, '/'), 20160812);
    EXPECT_EQ(CZAMDateTime::GetDateAlpha("AUGUST 12, 2015", 3, 1, 2, ' '), 20150812);
    EXPECT_EQ(CZAMDateTime::GetDateAlpha("12.8", 3, 2, 1, '.'), 20160812);  // no year field
    EXPECT_EQ(CZAMDateTime::GetDateAlpha("1 Ju 99", 3, 2, 1, ' '), 19990701);  // later name wins
    EXPECT_EQ(CZAMDateTime::GetDateAlpha("1/1/3000", 3, 1, 2, '/'), 1);
    EXPECT_EQ(CZAMDateTime::GetDateAlpha("2015//1", 1, 2, 3, '/'), 2);  // empty is no month name
    EXPECT_EQ(CZAMDateTime::GetDateAlpha("Someday 12", -1, 2, 3, '/'), 2);
    EXPECT_EQ(CZAMDateTime::GetDateAlpha("2/29/2015", 3, 1, 2, '/'), 3);

    EXPECT_EQ(CZAMDateTime::GetTimeAlpha("9.5"), 93000);
    EXPECT_EQ(CZAMDateTime::GetTimeAlpha("0.25"), 1500);
    EXPECT_EQ(CZAMDateTime::GetTimeAlpha("2:30 PM"), 23000);  // PM is not looked at
    EXPECT_EQ(CZAMDateTime::GetTimeAlpha("1:60"), -2);
    EXPECT_EQ(CZAMDateTime::GetTimeAlpha("1:2:60"), -3);
    EXPECT_EQ(CZAMDateTime::GetTimeAlpha("-3"), -1);
    EXPECT_EQ(CZAMDateTime::GetTimeAlpha("30.5"), -1);
}

TEST(DateTimeRead, LocalShortDateOrder) {
    LogCapture log;
    CTxt out;
    DateTimeLocalOrderForTests("dd/MM/yyyy");
    EXPECT_EQ(CZAMDateTime::SetDTConvLocalTxt("12/08/2015 10:00", out), 15);
    EXPECT_STREQ(out, "8/12/2015 10:00");
    CZAMDateTime dt;
    EXPECT_EQ(dt.SetDTConvLocal("  25/12/2015   2:30 PM"), 0);
    EXPECT_EQ(Fields(dt), Fields(2015, 12, 25, 14, 30, 0));

    // Another separator leaves one field: only its first letter counts.
    DateTimeLocalOrderForTests("yyyy.MM.dd");
    CZAMDateTime::SetDTConvLocalTxt("2015.08.12", out);
    EXPECT_STREQ(out, "2015/0/2015 ");

    // The locale's own pattern, detected once: the C locale writes %m/%d/%y.
    const char* old = std::getenv("LC_ALL");
    const std::string saved = old ? old : "";
    setenv("LC_ALL", "C", 1);
    DateTimeLocalOrderForTests(nullptr);
    CZAMDateTime::SetDTConvLocalTxt("8/12/2015", out);
    CZAMDateTime::SetDTConvLocalTxt("8/12/2015", out);
    EXPECT_STREQ(out, "8/12/2015 ");
    if (old)
        setenv("LC_ALL", saved.c_str(), 1);
    else
        unsetenv("LC_ALL");
    DateTimeLocalOrderForTests(nullptr);

    const std::string text = log.Text();
    for (const char* line : {"Detecetd DateFormat: DD/MM/YYYY (Day=1, Month=2, Year=3)",
                             "Detecetd DateFormat: YYYY.MM.DD (Day=2, Month=1, Year=1)"})
        EXPECT_NE(text.find(line), std::string::npos) << text;
    const std::string c = "Detecetd DateFormat: MM/DD/YY (Day=2, Month=1, Year=3)";
    EXPECT_NE(text.find(c), std::string::npos) << text;
    EXPECT_EQ(text.find(c), text.rfind(c)) << "detected once";
}
