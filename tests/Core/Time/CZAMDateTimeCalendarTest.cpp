// Calendar numbers over the whole year range, checked against a plain day
// counter kept by the test itself, plus the week, quarter and day shifts.

#include <gtest/gtest.h>

#include <climits>

#include "Core/Time/CZAMDateTime.h"
#include "tests/Core/Time/DateTimeTestUtil.h"

using zam::testing::Fields;
using zam::testing::MakeDT;

namespace {

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int MonthLength(int y, int m) {
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return (m == 2 && IsLeap(y)) ? 29 : lengths[m - 1];
}

}  // namespace

// Every day from 1 Jan 1900 (Julian day 2415021, a Monday) to 31 Dec 2155,
// walked by the test's own counter; the value's stepping, Julian number,
// weekday and sequence number must all agree with it.
TEST(DateTimeCalendar, EveryDayOfTheRange) {
    static const int fixedBefore[] = {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335};
    long counter = 0;
    unsigned lastSeq = 0;
    CZAMDateTime walker = MakeDT(1900, 1, 1, 13, 14, 15);
    int failures = 0;
    for (int y = 1900; y <= 2155 && failures < 5; ++y) {
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= MonthLength(y, m); ++d, ++counter) {
                const CZAMDateTime dt = MakeDT(y, m, d, 13, 14, 15);
                const int julian = static_cast<int>(2415021 + counter);
                const int weekday = static_cast<int>((1 + counter) % 7);
                const unsigned seq = (y - 1900) * 370u + fixedBefore[m - 1] + d;

                bool ok = dt.IsValid() == 1 && dt.GetJulian() == julian &&
                          dt.GetWeekDay(0) == weekday &&
                          dt.GetWeekDay(1) == (weekday + 6) % 7 && dt.GetSeqNbr() == seq &&
                          seq > lastSeq && walker.Compare(&dt, 6) == 0;

                CZAMDateTime back = MakeDT(2000, 6, 6, 13, 14, 15);
                ok = ok && back.SetDTFromSeq(seq) == 0 && back.Compare(&dt, 6) == 0;
                if (!ok) {
                    ADD_FAILURE() << Fields(dt) << " julian " << dt.GetJulian() << "/" << julian
                                  << " weekday " << dt.GetWeekDay(0) << "/" << weekday
                                  << " seq " << dt.GetSeqNbr() << "/" << seq << " walker "
                                  << Fields(walker) << " fromSeq " << Fields(back);
                    ++failures;
                }
                lastSeq = seq;
                walker.ShiftDate(1);
            }
        }
    }
    EXPECT_EQ(counter, 93502);
    // Past the last day the walk stays on it instead of wrapping to 1900.
    EXPECT_EQ(Fields(walker), Fields(2155, 12, 31, 13, 14, 15));
}

TEST(DateTimeCalendar, StaticFacts) {
    EXPECT_EQ(CZAMDateTime::DayYear(1900), 365);
    EXPECT_EQ(CZAMDateTime::DayYear(2000), 366);
    EXPECT_EQ(CZAMDateTime::DayYear(2016), 366);
    EXPECT_EQ(CZAMDateTime::DayYear(2100), 365);
    EXPECT_EQ(CZAMDateTime::DayMonth(2016, 2), 29);
    EXPECT_EQ(CZAMDateTime::DayMonth(2015, 2), 28);
    EXPECT_EQ(CZAMDateTime::DayMonth(2015, 0), 0);
    EXPECT_EQ(CZAMDateTime::DayMonth(2015, 13), 0);
    EXPECT_EQ(CZAMDateTime::Jan1(2015), 4);
    EXPECT_EQ(CZAMDateTime::Jan1(2000), 6);
    EXPECT_EQ(CZAMDateTime::Jan1(1800), 3);
    EXPECT_EQ(CZAMDateTime::Jan1(INT_MAX) >= 0, true);
    EXPECT_EQ(CZAMDateTime::Jan1(INT_MIN) >= 0, true);

    EXPECT_EQ(MakeDT(2015, 8, 12).GetJulian(), 2457247);
    EXPECT_EQ(MakeDT(2000, 1, 1).GetJulian(), 2451545);
    EXPECT_EQ(MakeDT(2015, 1, 1).GetWeekDay(0), 4);
    EXPECT_EQ(MakeDT(2015, 1, 1).GetWeekDay(1), 3);
}

TEST(DateTimeCalendar, SequenceNumberGaps) {
    EXPECT_EQ(MakeDT(2015, 3, 1).GetSeqNbr(), 115u * 370 + 60 + 1);
    // 28 Feb and 1 Mar of a common year leave the 29th's number unused.
    EXPECT_EQ(MakeDT(2015, 3, 1).GetSeqNbr() - MakeDT(2015, 2, 28).GetSeqNbr(), 2u);

    CZAMDateTime dt = MakeDT(2015, 8, 12, 9, 30, 0);
    EXPECT_EQ(dt.SetDTFromSeq(115u * 370 + 60), -1);  // the unused 29 Feb, stored
    EXPECT_EQ(Fields(dt), Fields(2015, 2, 29, 9, 30, 0));
    EXPECT_EQ(dt.SetDTFromSeq(115u * 370), -1);  // remainder 0: day 0
    EXPECT_EQ(dt.SetDTFromSeq(115u * 370 + 368), 0);  // the year's tail gap
    EXPECT_EQ(Fields(dt), Fields(2015, 12, 2, 9, 30, 0));
    const CZAMDateTime before = dt;
    EXPECT_EQ(dt.SetDTFromSeq(256u * 370 + 1), -1);  // year 2156
    EXPECT_EQ(Fields(dt), Fields(before));
    EXPECT_EQ(dt.SetDTFromSeq(UINT_MAX), -1);
}

TEST(DateTimeCalendar, WeeksQuartersMonths) {
    const CZAMDateTime wed = MakeDT(2015, 8, 12, 14, 30, 5);
    EXPECT_EQ(wed.GetWeekStart(0), 20150809);
    EXPECT_EQ(wed.GetWeekStart(1), 20150810);
    EXPECT_EQ(MakeDT(2015, 1, 1).GetWeekStart(0), 20141228);
    EXPECT_EQ(MakeDT(2015, 8, 9).GetWeekStart(0), 20150809);
    EXPECT_EQ(MakeDT(2015, 8, 9).GetWeekStart(1), 20150803);

    EXPECT_EQ(MakeDT(2015, 1, 1).GetWeekSeq(0), 201501);
    EXPECT_EQ(MakeDT(2015, 1, 4).GetWeekSeq(0), 201501);  // Sunday after a short first week
    EXPECT_EQ(MakeDT(2015, 1, 11).GetWeekSeq(0), 201502);
    EXPECT_EQ(wed.GetWeekSeq(0), 201532);
    EXPECT_EQ(MakeDT(1900, 1, 1).GetWeekSeq(0), 190001);

    EXPECT_EQ(wed.GetJulianWeek(0), (2457247 - 3) / 7);
    EXPECT_EQ(wed.GetJulianWeek(1), (2457247 - 2) / 7);

    EXPECT_EQ(wed.GetQtrDate(0), 20150701);
    EXPECT_EQ(wed.GetQtrDate(1), 20150930);
    EXPECT_EQ(MakeDT(2016, 1, 31).GetQtrDate(7), 20160331);
    EXPECT_EQ(MakeDT(2015, 12, 31).GetQtrDate(0), 20151001);
    EXPECT_EQ(MakeDT(2015, 12, 31).GetQtrDate(1), 20151231);
    EXPECT_EQ(wed.GetMonthDate(), 20150801);
}

TEST(DateTimeCalendar, ShiftDateRollsAndStopsAtRangeEnds) {
    CZAMDateTime dt = MakeDT(2015, 12, 31, 10, 0, 0);
    dt.ShiftDate(1);
    EXPECT_EQ(Fields(dt), Fields(2016, 1, 1, 10, 0, 0));
    dt.ShiftDate(-1);
    EXPECT_EQ(Fields(dt), Fields(2015, 12, 31, 10, 0, 0));
    dt = MakeDT(2016, 12, 31, 10, 0, 0);
    dt.ShiftDate(-366 - 305);  // back over a leap day
    EXPECT_EQ(Fields(dt), Fields(2015, 3, 1, 10, 0, 0));

    dt = MakeDT(2155, 12, 30);
    dt.ShiftDate(5);
    EXPECT_EQ(Fields(dt), Fields(2155, 12, 31));
    dt.ShiftDate(INT_MIN);
    EXPECT_EQ(Fields(dt), Fields(1900, 1, 1));
    dt.ShiftDate(INT_MAX);
    EXPECT_EQ(Fields(dt), Fields(2155, 12, 31));
}

// Fields no setter would produce still move somewhere sensible and never hang.
TEST(DateTimeCalendar, ShiftDateOnOddFields) {
    CZAMDateTime dt;  // empty: 1900, month 0, day 0
    dt.ShiftDate(1);
    EXPECT_EQ(Fields(dt), Fields(1900, 1, 1));

    dt = MakeDT(2015, 0, 0);
    dt.ShiftDate(-1);
    EXPECT_EQ(Fields(dt), Fields(2014, 12, 31));

    dt = MakeDT(2015, 13, 5);
    dt.ShiftDate(1);
    EXPECT_EQ(Fields(dt), Fields(2016, 1, 1));

    dt = MakeDT(2015, 2, 30);
    dt.ShiftDate(-1);
    EXPECT_EQ(Fields(dt), Fields(2015, 2, 29));  // walked a day, still not real
    dt.ShiftDate(-1);
    EXPECT_EQ(Fields(dt), Fields(2015, 2, 28));

    for (int month : {0, 13, 255}) {
        for (int day : {0, 40, 255}) {
            dt = MakeDT(2155, month, day, 255, 255, 255);
            dt.ShiftDate(INT_MAX);
            EXPECT_EQ(dt.GetDate(-2), 21551231);
            dt = MakeDT(1900, month, day, 255, 255, 255);
            dt.ShiftDate(INT_MIN);
            EXPECT_EQ(dt.GetDate(-2), 19000101);
        }
    }
}
