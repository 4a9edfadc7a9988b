// Comparisons, differences and shifts.

#include <gtest/gtest.h>

#include <climits>

#include "Core/Time/CZAMDateTime.h"
#include "tests/Core/Time/DateTimeTestUtil.h"

using zam::testing::Fields;
using zam::testing::MakeDT;

TEST(DateTimeCompare, DepthsSameDateAndRanges) {
    const CZAMDateTime a = MakeDT(2015, 8, 12, 14, 30, 5);
    CZAMDateTime b = MakeDT(2015, 8, 12, 14, 30, 6);
    EXPECT_EQ(a.Compare(&b, 6), -1);
    EXPECT_EQ(b.Compare(&a, 6), 1);
    EXPECT_EQ(a.Compare(&b, 5), 0);
    b = MakeDT(2016, 1, 1);
    EXPECT_EQ(a.Compare(&b, 1), -1);
    b = MakeDT(2015, 7, 31);
    EXPECT_EQ(a.Compare(&b, 2), 1);
    EXPECT_EQ(a.Compare(&b, 1), 0);

    EXPECT_EQ(a.SameDate(&a), 0);
    b = MakeDT(2015, 8, 13, 14, 30, 5);
    EXPECT_EQ(a.SameDate(&b), 3);
    b = MakeDT(2015, 9, 12);
    EXPECT_EQ(a.SameDate(&b), 2);
    b = MakeDT(2016, 8, 12);
    EXPECT_EQ(a.SameDate(&b), 1);

    const CZAMDateTime first = MakeDT(2015, 8, 12, 14, 30, 5);
    const CZAMDateTime last = MakeDT(2015, 8, 31);
    const CZAMDateTime open;  // month 0: no bound
    EXPECT_EQ(a.IsDTRange(&first, &last), 1);
    EXPECT_EQ(a.IsDTRange(&last, nullptr), 0);
    EXPECT_EQ(a.IsDTRange(nullptr, &first), 1);
    EXPECT_EQ(a.IsDTRange(&open, &open), 1);
    EXPECT_EQ(MakeDT(2015, 2, 29).IsDTRange(&open, &open), 0);
    EXPECT_EQ(a.IsDTRange(20150812143005LL, 20150812143005LL), 1);
    EXPECT_EQ(a.IsDTRange(20150812143006LL, 20991231000000LL), 0);
    EXPECT_EQ(MakeDT(2015, 8, 12, 24, 0, 0).IsDTRange(INT64_MIN, INT64_MAX), 0);
}

TEST(DateTimeDiff, SecondsAndDays) {
    const CZAMDateTime a = MakeDT(2014, 12, 31, 23, 59, 59);
    const CZAMDateTime b = MakeDT(2015, 1, 1, 0, 0, 1);
    EXPECT_EQ(a.GetDiffSec(&b), 2);
    EXPECT_EQ(b.GetDiffSec(&a), -2);
    EXPECT_EQ(a.GetDiffSec(&a), 0);
    EXPECT_EQ(a.GetDiffSecBig(&b), 2);

    const CZAMDateTime c = MakeDT(2015, 1, 2, 12, 0, 0);
    const CZAMDateTime d = MakeDT(2015, 1, 1, 0, 0, 0);
    EXPECT_FLOAT_EQ(d.GetDiffDays(&c), 1.5f);
    EXPECT_FLOAT_EQ(c.GetDiffDays(&d), -1.5f);

    // The whole range does not fit 32 bits: held at the limit, exact in 64.
    const CZAMDateTime lo = MakeDT(1900, 1, 1);
    const CZAMDateTime hi = MakeDT(2155, 12, 31, 23, 59, 59);
    EXPECT_EQ(lo.GetDiffSec(&hi), INT_MAX);
    EXPECT_EQ(hi.GetDiffSec(&lo), INT_MIN);
    EXPECT_EQ(lo.GetDiffSecBig(&hi), (93502LL - 1) * 86400 + 86399);
}

TEST(DateTimeDiff, SpanCountsDaylightSaving) {
    // New York springs forward at 02:00 on 8 Mar 2015 and falls back on 1 Nov.
    const CZAMDateTime before = MakeDT(2015, 3, 8, 0, 0, 0);
    const CZAMDateTime after = MakeDT(2015, 3, 8, 4, 0, 0);
    EXPECT_EQ(before.GetDiffSec(&after), 4 * 3600);
    EXPECT_EQ(before.GetDiffSecSpan(&after), 3 * 3600);
    const CZAMDateTime fallBefore = MakeDT(2015, 11, 1, 0, 0, 0);
    const CZAMDateTime fallAfter = MakeDT(2015, 11, 1, 4, 0, 0);
    EXPECT_EQ(fallBefore.GetDiffSecSpan(&fallAfter), 5 * 3600);

    CZAMDateTime odd = MakeDT(2015, 2, 30, 12, 0, 0);
    const CZAMDateTime empty;
    EXPECT_FLOAT_EQ(odd.GetDiffDaysSpan(&empty), -0.5f);  // both become 1 Jan 1900
    EXPECT_EQ(Fields(odd), Fields(1900, 1, 1, 12, 0, 0));
    EXPECT_EQ(empty.IsEmpty(), 1);
    CZAMDateTime day = MakeDT(2015, 3, 7, 12, 0, 0);
    const CZAMDateTime next = MakeDT(2015, 3, 9, 12, 0, 0);
    EXPECT_NEAR(day.GetDiffDaysSpan(&next), 2.0f - 1.0f / 24, 1e-5);
}

TEST(DateTimeDiff, Months) {
    const CZAMDateTime jan10 = MakeDT(2015, 1, 10);
    const CZAMDateTime mar25 = MakeDT(2015, 3, 25);
    EXPECT_NEAR(jan10.GetDiffMonth(&mar25), -2.0f - 15.0f / 31, 1e-5);
    EXPECT_NEAR(mar25.GetDiffMonth(&jan10), 2.0f + 15.0f / 31, 1e-5);
    const CZAMDateTime mar10 = MakeDT(2015, 3, 10, 18, 0, 0);
    EXPECT_FLOAT_EQ(mar10.GetDiffMonth(&jan10), 2.0f);
    EXPECT_FLOAT_EQ(jan10.GetDiffMonth(&mar10), -2.0f);
    EXPECT_FLOAT_EQ(jan10.GetDiffMonth(&jan10), 0.0f);
    EXPECT_NEAR(MakeDT(2015, 12, 31).GetDiffMonth(&jan10), 11.0f + 21.0f / 31, 1e-5);

    // Walks over fields no month can reach still end.
    const CZAMDateTime top = MakeDT(2155, 12, 31);
    const CZAMDateTime past = MakeDT(2155, 200, 200);
    EXPECT_GT(past.GetDiffMonth(&top), 0.0f);
    EXPECT_LT(CZAMDateTime().GetDiffMonth(&top), -3000.0f);
}

TEST(DateTimeShift, TimeCarriesIntoDate) {
    CZAMDateTime dt = MakeDT(2016, 3, 1, 0, 0, 0);
    dt.ShiftTime(-1);
    EXPECT_EQ(Fields(dt), Fields(2016, 2, 29, 23, 59, 59));
    dt.ShiftTime(86400);
    EXPECT_EQ(Fields(dt), Fields(2016, 3, 1, 23, 59, 59));
    dt.ShiftTime(-86400);
    EXPECT_EQ(Fields(dt), Fields(2016, 2, 29, 23, 59, 59));
    dt.ShiftTime(-86400 * 2 - 3600);
    EXPECT_EQ(Fields(dt), Fields(2016, 2, 27, 22, 59, 59));

    dt = MakeDT(2015, 8, 12, 24, 0, 0);  // the tolerated hour 24 rolls over
    dt.ShiftTime(0);
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 13));

    dt = MakeDT(2015, 8, 12);
    dt.ShiftDate(0.5f);
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 12, 12, 0, 0));
    dt.ShiftDate(-0.75f);
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 11, 18, 0, 0));
    dt.ShiftDate(1.25f);
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 13, 0, 0, 0));

    for (int s : {INT_MAX, INT_MIN}) {
        dt = MakeDT(2155, 255, 255, 255, 255, 255);
        dt.ShiftTime(s);
        EXPECT_LE(dt.m_Hour, 23);
        dt.ShiftDate(s > 0 ? 3.0e38f : -3.0e38f);
        EXPECT_TRUE(dt.IsValid()) << Fields(dt);
    }
}

TEST(DateTimeShift, Months) {
    CZAMDateTime dt = MakeDT(2015, 1, 31, 9, 0, 0);
    dt.ShiftMonth(1);
    EXPECT_EQ(Fields(dt), Fields(2015, 3, 1, 9, 0, 0));
    dt = MakeDT(2015, 3, 31);
    dt.ShiftMonth(-1);
    EXPECT_EQ(Fields(dt), Fields(2015, 2, 28));
    dt = MakeDT(2015, 3, 31);
    dt.ShiftMonth(-2);
    EXPECT_EQ(Fields(dt), Fields(2015, 1, 28));
    dt = MakeDT(2016, 3, 31);
    dt.ShiftMonth(-2);
    EXPECT_EQ(Fields(dt), Fields(2016, 1, 29));
    dt = MakeDT(2016, 2, 29);
    dt.ShiftMonth(12);
    EXPECT_EQ(Fields(dt), Fields(2017, 3, 1));
    dt = MakeDT(2015, 11, 30);
    dt.ShiftMonth(14);
    EXPECT_EQ(Fields(dt), Fields(2017, 1, 30));
    dt = MakeDT(2015, 1, 31, 24, 0, 0);  // an odd time does not stop the day mend
    dt.ShiftMonth(3);
    EXPECT_EQ(Fields(dt), Fields(2015, 5, 1, 24, 0, 0));

    // Backward, a long shift must land where single steps land.
    for (int day : {28, 29, 30, 31}) {
        for (int n : {1, 2, 3, 13, 25, 49}) {
            CZAMDateTime jumped = MakeDT(2016, 5, day);
            CZAMDateTime stepped = jumped;
            jumped.ShiftMonth(-n);
            for (int i = 0; i < n; ++i) stepped.ShiftMonth(-1);
            EXPECT_EQ(Fields(jumped), Fields(stepped)) << day << " " << n;
        }
    }

    dt = MakeDT(2015, 6, 15);
    dt.ShiftMonth(INT_MAX);
    EXPECT_EQ(Fields(dt), Fields(2155, 12, 15));
    dt.ShiftMonth(INT_MIN);
    EXPECT_EQ(Fields(dt), Fields(1900, 1, 15));
    dt = MakeDT(2000, 0, 255, 255, 255, 255);
    dt.ShiftMonth(INT_MIN);
    EXPECT_EQ(dt.GetYear(), 1900);
    dt = MakeDT(2000, 255, 0);
    dt.ShiftMonth(1);
    EXPECT_EQ(Fields(dt), Fields(2001, 1, 1));

    dt = MakeDT(2016, 2, 29);
    dt.ShiftYear(1);
    EXPECT_EQ(Fields(dt), Fields(2017, 2, 29));
    dt.ShiftYear(INT_MAX);
    EXPECT_EQ(dt.GetYear(), 2155);
    dt.ShiftYear(INT_MIN);
    EXPECT_EQ(dt.GetYear(), 1900);
}

TEST(DateTimeShift, MarketDays) {
    CZAMDateTime dt = MakeDT(2015, 8, 14);  // Friday
    dt.ShiftMktDate(1);
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 17));
    dt.ShiftMktDate(-1);
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 14));
    dt = MakeDT(2015, 8, 15);  // Saturday
    dt.ShiftMktDate(1);
    EXPECT_EQ(Fields(dt), Fields(2015, 8, 17));

    // Long moves jump whole weeks; they must agree with single steps.
    for (int start = 10; start <= 16; ++start) {
        for (int n : {5, 6, 7, 11, 23, -5, -6, -13, -24}) {
            CZAMDateTime jumped = MakeDT(2015, 8, start);
            CZAMDateTime stepped = jumped;
            jumped.ShiftMktDate(n);
            for (int i = 0; i < (n > 0 ? n : -n); ++i) stepped.ShiftMktDate(n > 0 ? 1 : -1);
            EXPECT_EQ(Fields(jumped), Fields(stepped)) << start << " " << n;
        }
    }
    dt = MakeDT(2015, 8, 3);
    dt.ShiftMktDate(2500);
    CZAMDateTime weeks = MakeDT(2015, 8, 3);
    weeks.ShiftDate(3500);
    EXPECT_EQ(Fields(dt), Fields(weeks));

    dt.ShiftMktDate(INT_MAX);
    EXPECT_EQ(Fields(dt), Fields(2155, 12, 31));
    dt.ShiftMktDate(INT_MIN);
    EXPECT_EQ(Fields(dt), Fields(1900, 1, 1));
    dt = MakeDT(2000, 0, 0, 99, 99, 99);
    dt.ShiftMktDate(INT_MIN);
    EXPECT_EQ(dt.GetDate(-2), 19000101);
}

TEST(DateTimeShift, RoundToNearestSec) {
    CZAMDateTime dt = MakeDT(2015, 12, 31, 23, 59, 30);
    dt.RoundToNearestSec(60, 1);
    EXPECT_EQ(Fields(dt), Fields(2015, 12, 31, 24, 0, 0));
    dt = MakeDT(2015, 12, 31, 23, 59, 0);
    dt.RoundToNearestSec(60, 1);
    EXPECT_EQ(Fields(dt), Fields(2015, 12, 31, 24, 0, 0));
    dt = MakeDT(2015, 12, 31, 23, 59, 30);
    dt.RoundToNearestSec(60, 0);
    EXPECT_EQ(Fields(dt), Fields(2015, 12, 31, 23, 59, 0));
    dt.RoundToNearestSec(0, 0);
    EXPECT_EQ(Fields(dt), Fields(2015, 12, 31, 23, 59, 0));
    dt.RoundToNearestSec(-5, 1);
    EXPECT_EQ(Fields(dt), Fields(2015, 12, 31, 23, 59, 1));

    dt = MakeDT(2015, 12, 31, 24, 0, 0);
    dt.RoundToNearestSec(60, 1);
    EXPECT_EQ(Fields(dt), Fields(2016, 1, 1, 0, 1, 0));
    // A step of INT_MAX seconds lands 24855 days on, at 03:14:07.
    dt = MakeDT(2015, 12, 31, 10, 0, 0);
    dt.RoundToNearestSec(INT_MAX, 1);
    CZAMDateTime expected = MakeDT(2015, 12, 31, 3, 14, 7);
    expected.ShiftDate(24855);
    EXPECT_EQ(Fields(dt), Fields(expected));
}
