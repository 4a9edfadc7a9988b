// The value, its setters and numeric forms, and its text forms.

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "Core/Text/CTxt.h"
#include "Core/Time/CZAMDateTime.h"
#include "tests/Core/Time/DateTimeTestUtil.h"

using zam::testing::Fields;
using zam::testing::MakeDT;

TEST(DateTimeValue, EmptyValidAndFix) {
    CZAMDateTime dt;
    EXPECT_EQ(dt.IsEmpty(), 1);
    EXPECT_EQ(dt.IsFilled(), 0);
    EXPECT_EQ(dt.IsValid(), 0);
    EXPECT_EQ(dt.GetDate(0), 0);
    EXPECT_EQ(dt.GetDate(-2), 19000000);
    EXPECT_EQ(dt.GetDT(), 0);

    EXPECT_EQ(MakeDT(2016, 2, 29, 23, 59, 59).IsValid(), 1);
    EXPECT_EQ(MakeDT(2015, 2, 29).IsValid(), 0);
    EXPECT_EQ(MakeDT(2015, 8, 12, 24, 0, 0).IsValid(), 0);
    EXPECT_EQ(MakeDT(2015, 8, 12, 0, 60, 0).IsValid(), 0);

    EXPECT_EQ(dt.FixDate(), 0);
    EXPECT_EQ(Fields(dt), Fields(1900, 1, 1));

    dt = MakeDT(2015, 13, 40, 24, 0, 0);
    dt.FixDate();
    EXPECT_EQ(Fields(dt), Fields(2015, 12, 31, 24, 0, 0));  // hour 24 is kept
    dt = MakeDT(2015, 2, 0, 25, 7, 7);
    dt.FixDate();
    EXPECT_EQ(Fields(dt), Fields(2015, 2, 1, 23, 59, 59));
    dt = MakeDT(2015, 2, 31, 10, 60, 99);
    dt.FixDate();
    EXPECT_EQ(Fields(dt), Fields(2015, 2, 28, 10, 59, 59));

    CZAMDateTime copy;
    copy.Copy(&dt);
    EXPECT_EQ(copy.Compare(&dt, 6), 0);
    copy.Copy(nullptr);
    EXPECT_EQ(copy.Compare(&dt, 6), 0);
    copy.Reset();
    EXPECT_EQ(copy.IsEmpty(), 1);
}

TEST(DateTimeValue, RecordsAndInterval) {
    static_assert(sizeof(CZAMDateTime) == 6, "six bytes");
    static_assert(sizeof(CZAMDateTimePlain) == 6, "six bytes");
    CZAMDateTimePlain a{};
    CZAMDateTimePlain b{};
    EXPECT_EQ(a.Compare(nullptr, 6), 99);
    EXPECT_EQ(a.Compare(&b, 6), 0);
    b.m_Sec = 1;
    EXPECT_EQ(a.Compare(&b, 6), -1);
    EXPECT_EQ(a.Compare(&b, 5), 0);
    EXPECT_EQ(b.Compare(&a, 0), 1);  // any other depth compares to the second

    CZAMDateTimeInterval interval;
    EXPECT_EQ(interval.m_First.IsEmpty(), 1);
    EXPECT_EQ(interval.m_Second.IsEmpty(), 1);
    EXPECT_EQ(interval.m_Value, 0);
    interval.m_First = MakeDT(2015, 8, 12);
    interval.m_Value = -7;
    CZAMDateTimeInterval copy;
    copy = interval;
    EXPECT_EQ(copy.m_First.GetDate(0), 20150812);
    EXPECT_EQ(copy.m_Value, -7);
}

TEST(DateTimeValue, SetDateAndYearRange) {
    CZAMDateTime dt = MakeDT(2000, 1, 1, 9, 8, 7);
    EXPECT_EQ(dt.SetDate(15, 8, 12), 0);
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 12, 9, 8, 7));
    EXPECT_EQ(dt.SetDate(2015, 2, 29), -1);
    EXPECT_EQ(Fields(dt), Fields(2015, 2, 29, 9, 8, 7));

    // Years the byte cannot hold are refused and leave the value alone.
    dt = MakeDT(2015, 8, 12, 9, 8, 7);
    EXPECT_EQ(dt.SetDate(2156, 1, 1), -1);
    EXPECT_EQ(dt.SetDate(1899, 12, 31), -1);
    EXPECT_EQ(dt.SetDate(2015, 256, 1), -1);
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 12, 9, 8, 7));
    EXPECT_EQ(dt.SetDate(2155, 12, 31), 0);

    dt = MakeDT(2015, 8, 12, 9, 8, 7);
    EXPECT_EQ(dt.SetDate(20160229), 0);
    EXPECT_EQ(Fields(dt), Fields(2016, 2, 29, 9, 8, 7));
}

TEST(DateTimeValue, SetDTFromNumbers) {
    CZAMDateTime dt = MakeDT(2000, 1, 1, 1, 2, 3);
    EXPECT_EQ(dt.SetDT(20151301, 120000), 0);  // range test only
    EXPECT_EQ(dt.IsValid(), 0);

    dt = MakeDT(2015, 8, 12, 1, 2, 3);
    EXPECT_EQ(dt.SetDT(20150812, 240001), -2);
    EXPECT_EQ(dt.SetDT(20150812, -1), -2);
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 12, 1, 2, 3));
    EXPECT_EQ(dt.SetDT(18991231, 0), -1);
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 12, 0, 0, 0));
    EXPECT_EQ(dt.SetDT(21560101, 101010), -1);  // in the range test, past the year byte
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 12, 10, 10, 10));
    EXPECT_EQ(dt.SetDT(20150812, 240000), 0);
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 12, 24, 0, 0));

    EXPECT_EQ(dt.SetDT64("20150812143005"), 0);
    EXPECT_EQ(dt.GetDT(), 20150812143005LL);
    EXPECT_EQ(dt.SetDT64("  -20150812143005"), -1);
    EXPECT_EQ(dt.IsEmpty(), 1);
    dt = MakeDT(2015, 8, 12);
    EXPECT_EQ(dt.SetDT64(nullptr), -1);
    EXPECT_EQ(dt.IsEmpty(), 1);
    EXPECT_EQ(dt.SetDT64("99999999999999999999999"), -2);  // saturates: time part 775807
    EXPECT_EQ(dt.SetDT64("123"), -1);
}

TEST(DateTimeValue, SetDTFromStructures) {
    CZAMDateTime dt;
    SYSTEMTIME st{2015, 8, 3, 12, 14, 30, 5, 999};
    EXPECT_EQ(dt.SetDT(&st), 0);
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 12, 14, 30, 5));
    SYSTEMTIME back{};
    dt.GetSYSTEMTIME(&back);
    EXPECT_EQ(back.wYear, 2015);
    EXPECT_EQ(back.wDayOfWeek, 3);
    EXPECT_EQ(back.wMilliseconds, 0);
    dt.GetSYSTEMTIME(nullptr);

    st.wDay = 31;
    st.wMonth = 9;
    EXPECT_EQ(dt.SetDT(&st), -1);  // stored, but not a real date
    EXPECT_EQ(Fields(dt), Fields(2015, 9, 31, 14, 30, 5));
    st.wYear = 2200;
    EXPECT_EQ(dt.SetDT(&st), -1);
    EXPECT_EQ(Fields(dt), Fields(2015, 9, 31, 14, 30, 5));
    EXPECT_EQ(dt.SetDT(static_cast<const SYSTEMTIME*>(nullptr)), -1);

    // 12 Aug 2015 18:30:05.5 UTC is 14:30:05 in New York (daylight time).
    const uint64_t ticks = (1439404205ULL + 11644473600ULL) * 10000000ULL + 5000000ULL;
    FILETIME ft{static_cast<DWORD>(ticks & 0xFFFFFFFF), static_cast<DWORD>(ticks >> 32)};
    EXPECT_EQ(dt.SetDT(&ft), 0);
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 12, 14, 30, 5));
    FILETIME early{0, 0};  // 1601
    EXPECT_EQ(dt.SetDT(&early), -1);
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 12, 14, 30, 5));
}

TEST(DateTimeValue, SetDTUnixAndFloat) {
    CZAMDateTime dt;
    EXPECT_EQ(dt.SetDTUnix(0), 0);
    EXPECT_EQ(Fields(dt), Fields(1969, 12, 31, 19, 0, 0));
    EXPECT_EQ(dt.SetDTUnix(-1893456000LL), 0);  // before 1970, but a year the byte holds
    EXPECT_EQ(Fields(dt), Fields(1909, 12, 31, 19, 0, 0));
    EXPECT_EQ(dt.SetDTUnix(1439404205), 0);
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 12, 14, 30, 5));
    EXPECT_EQ(dt.SetDTUnix(5000000000LL), 0);  // past 2038
    EXPECT_EQ(Fields(dt), Fields(2128, 6, 11, 4, 53, 20));
    EXPECT_EQ(dt.SetDTUnix(7000000000LL), -1);  // 2191
    EXPECT_EQ(dt.GetYear(), 2128);
    EXPECT_EQ(dt.SetDTUnix(INT64_MIN), -1);

    EXPECT_EQ(dt.SetDTFloat(42228.5), 0);
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 12, 12, 0, 0));
    EXPECT_EQ(dt.SetDTFloat(42228.6042), 0);
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 12, 14, 30, 3));
    EXPECT_EQ(dt.SetDTFloat(2.0), 0);
    EXPECT_EQ(Fields(dt), Fields(1900, 1, 1));
    EXPECT_EQ(dt.SetDTFloat(1.5), -1);
    EXPECT_EQ(dt.IsEmpty(), 1);
    EXPECT_EQ(dt.SetDTFloat(-0.5), -1);
    EXPECT_EQ(dt.SetDTFloat(1e300), -1);
    EXPECT_EQ(dt.SetDTFloat(0.0 / 0.0), -1);
}

TEST(DateTimeValue, TimeSetters) {
    CZAMDateTime dt = MakeDT(2015, 8, 12);
    EXPECT_EQ(dt.SetTimeSec(86400), 0);
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 12, 24, 0, 0));
    EXPECT_EQ(dt.SetTimeSec(52205), 0);
    EXPECT_EQ(dt.GetTime(), 143005u);
    EXPECT_EQ(dt.SetTimeSec(-1), -1);
    EXPECT_EQ(dt.SetTimeSec(256 * 3600), -1);
    EXPECT_EQ(dt.GetTime(), 143005u);

    EXPECT_EQ(dt.SetTime(25, 61, 61), 0);  // stored as given
    EXPECT_EQ(dt.GetTime(), 256161u);
    EXPECT_EQ(dt.SetTime(256, 0, 0), -1);
    EXPECT_EQ(dt.SetTime(-1, 0, 0), -1);
    EXPECT_EQ(dt.GetTime(), 256161u);

    EXPECT_EQ(dt.SetTimeHMS(240000), 0);
    EXPECT_EQ(dt.SetTimeHMS(235999), 0);  // the second is not checked
    EXPECT_EQ(dt.SetTimeHMS(250000), -1);
    EXPECT_EQ(dt.m_Hour, 25);
    EXPECT_EQ(dt.SetTimeHMS(126000), -2);
    EXPECT_EQ(dt.SetTimeHMS(240001), -4);
    EXPECT_EQ(dt.SetTimeHMS(-5), -3);
    EXPECT_EQ(dt.SetTimeHMS(INT_MAX), -1);
    EXPECT_EQ(dt.GetTime(), 240001u);
}

TEST(DateTimeValue, NumericForms) {
    const CZAMDateTime dt = MakeDT(2015, 8, 12, 14, 30, 5);
    EXPECT_EQ(dt.GetYear(), 2015);
    EXPECT_EQ(dt.GetDate(0), 20150812);
    EXPECT_EQ(dt.GetDate(1), 1150812);
    EXPECT_EQ(dt.GetDate(-1), 1150812);
    EXPECT_EQ(dt.GetTime(), 143005u);
    EXPECT_EQ(dt.GetTimeSec(), 52205u);
    EXPECT_EQ(dt.GetDT(), 20150812143005LL);
    EXPECT_NEAR(dt.GetDateFloat(), 115260.60f, 0.01f);
    EXPECT_EQ(MakeDT(2015, 8, 12, 24, 0, 0).GetDT(), 240000);  // invalid: time only

    EXPECT_EQ(MakeDT(2015, 8, 12, 0, 30, 0).GetTimeShift(-3600), 233000);
    EXPECT_EQ(MakeDT(2015, 8, 12).GetTimeShift(90000), 10000);
    EXPECT_EQ(MakeDT(2015, 8, 12).GetTimeShift(INT_MIN), MakeDT(2015, 8, 12).GetTimeShift(INT_MIN % 86400));

    EXPECT_EQ(dt.GetIntervalIdx(300, 0), 1508120000LL + 52205 / 300);
    EXPECT_EQ(dt.GetIntervalIdx(0, 5), 1508120000LL + 52210);  // step 0 counts as 1
    // From 2043 on the index no longer fits 32 bits; it must still grow.
    EXPECT_GT(MakeDT(2099, 12, 31).GetIntervalIdx(60, 0), MakeDT(2042, 1, 1).GetIntervalIdx(60, 0));

    EXPECT_EQ(CZAMDateTime::IsDate(19000101), 1);
    EXPECT_EQ(CZAMDateTime::IsDate(19000100), 0);
    EXPECT_EQ(CZAMDateTime::IsDate(29991231), 1);
    EXPECT_EQ(CZAMDateTime::IsDate(29991232), 0);
    EXPECT_EQ(CZAMDateTime::IsTime(240000), 1);
    EXPECT_EQ(CZAMDateTime::IsTime(240001), 0);

    EXPECT_EQ(CZAMDateTime::GetDateMDY(15, 8, 12), 20150812);
    EXPECT_EQ(CZAMDateTime::GetDateMDY(85, 8, 12), 19850812);
    EXPECT_EQ(CZAMDateTime::GetDateMDY(1899, 8, 12), 1);
    EXPECT_EQ(CZAMDateTime::GetDateMDY(3000, 8, 12), 1);
    EXPECT_EQ(CZAMDateTime::GetDateMDY(2015, 13, 12), 2);
    EXPECT_EQ(CZAMDateTime::GetDateMDY(2015, 2, 31), 20150231);  // only 1-31 is checked
    EXPECT_EQ(CZAMDateTime::GetDateMDY(2015, 2, 32), 3);
    EXPECT_EQ(CZAMDateTime::GetTimeHMS(0, 0, 4), 4);
    EXPECT_EQ(CZAMDateTime::GetTimeHMS(24, 0, 0), 4);
    EXPECT_EQ(CZAMDateTime::GetTimeHMS(23, 60, 0), 5);
    EXPECT_EQ(CZAMDateTime::GetTimeHMS(23, 59, -1), 6);
    EXPECT_EQ(CZAMDateTime::GetTimeHMS(23, 59, 59), 235959);
    EXPECT_EQ(dt.IsHoliday(1, "US"), 0);
}

TEST(DateTimeText, EveryKind) {
    const CZAMDateTime dt = MakeDT(2015, 8, 12, 14, 30, 5);
    const char* const expected[30] = {
        "20150812 14:30:05",      "20150812",
        "14:30:05",               "8/12/15 14:30:05",
        "8/12/15",                "14:30",
        "8/12/2015",              "02:30:05PM",
        "02:30PM",                "8/12/2015 14:30:05",
        "20150812_143005",        "143005",
        "08/12/2015",             "08/12/2015 14:30",
        "08/12",                  "08/12/2015 02:30PM",
        "08/12/2015 02:30:05PM",  "08/12/2015 14:30:05",
        "8/12/2015,14:30:05",     "08/12/2015|14:30:05",
        "8/2015",                 "2015-Q3",
        "Aug/2015",               "Aug/15",
        "08/12/2015,14:30:05",    "08/12/2015,14:30",
        "8/12",                   "8/12/2015 14:30",
        "Aug+12%2C+2015",         "Aug/12/2015 14:30:05",
    };
    for (int kind = 0; kind < 30; ++kind) {
        CTxt text;
        std::string s;
        EXPECT_EQ(dt.GetTxt(text, kind), 0) << kind;
        EXPECT_EQ(dt.GetStr(s, kind), 0) << kind;
        EXPECT_STREQ(static_cast<const char*>(text), expected[kind]) << "kind " << kind;
        EXPECT_EQ(s, expected[kind]) << "kind " << kind;
    }
}

TEST(DateTimeText, TwelveHourAndOddValues) {
    CTxt text;
    MakeDT(2015, 1, 5, 8, 3, 9).GetTxt(text, 9);
    EXPECT_STREQ(text, "1/5/2015 08:03:09");
    MakeDT(2015, 8, 12, 0, 10, 0).GetTxt(text, 16);
    EXPECT_STREQ(text, "08/12/2015 00:10:00AM");
    MakeDT(2015, 8, 12, 12, 0, 0).GetTxt(text, 8);
    EXPECT_STREQ(text, "12:00AM");
    MakeDT(2015, 8, 12, 13, 5, 0).GetTxt(text, 15);
    EXPECT_STREQ(text, "08/12/2015 01:05PM");
    MakeDT(2015, 1, 1, 23, 59, 59).GetTxt(text, 7);
    EXPECT_STREQ(text, "11:59:59PM");
    MakeDT(2015, 12, 1).GetTxt(text, 21);
    EXPECT_STREQ(text, "2015-Q4");

    std::string s;
    CZAMDateTime().GetStr(s, 22);  // month 0 has no name
    EXPECT_EQ(s, "?0/1900");
    MakeDT(2155, 255, 255, 255, 255, 255).GetStr(s, 29);
    EXPECT_EQ(s, "?255/255/2155 255:255:255");

    text = "kept";
    s = "kept";
    EXPECT_EQ(MakeDT(2015, 8, 12).GetTxt(text, 30), -1);
    EXPECT_EQ(MakeDT(2015, 8, 12).GetTxt(text, -1), -1);
    EXPECT_EQ(MakeDT(2015, 8, 12).GetStr(s, 99), -1);
    EXPECT_STREQ(text, "kept");
    EXPECT_EQ(s, "kept");
}
