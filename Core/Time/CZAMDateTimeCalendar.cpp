// Calendar arithmetic: day counts, Julian and sequence numbers, weekdays,
// weeks and quarters, and moving the date by whole days.

#include "Core/Time/CZAMDateTime.h"

#include <cmath>
#include <cstdint>

namespace {

// The month lengths the sequence number and the weekday walk start from; a
// sequence year always spans 370 numbers with February counted as 29 days.
constexpr int kFixedMonthDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Julian day number of 1 Jan 1970, to move between Julian numbers and the
// proleptic Gregorian day count used for jumping many days at once.
constexpr int64_t kJulianOf1970 = 2440588;

// Days since 1 Jan 1970 of a real Gregorian date (Hinnant's days-from-civil).
constexpr int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(era * 400 + yoe + (m <= 2));
}

constexpr int64_t kFirstDay = DaysFromCivil(1900, 1, 1);
constexpr int64_t kLastDay = DaysFromCivil(2155, 12, 31);
static_assert(kLastDay - kFirstDay + 1 == 93502, "256 years of days");

// Month and day form a date that exists, whatever the time fields hold.
bool DateIsReal(const CZAMDateTime& dt) {
    return dt.m_Month >= 1 && dt.m_Month <= 12 && dt.m_Day >= 1 &&
           dt.m_Day <= CZAMDateTime::DayMonth(dt.GetYear(), dt.m_Month);
}

void SetDayNumber(CZAMDateTime& dt, int64_t days) {
    if (days < kFirstDay) days = kFirstDay;
    if (days > kLastDay) days = kLastDay;
    int y = 0, m = 0, d = 0;
    CivilFromDays(days, y, m, d);
    dt.m_Year = static_cast<unsigned char>(y - 1900);
    dt.m_Month = static_cast<unsigned char>(m);
    dt.m_Day = static_cast<unsigned char>(d);
}

// One day on from whatever the fields hold, as a person turning a calendar
// page would; used until odd fields have become a real date.
void StepDayForward(CZAMDateTime& dt) {
    const int day = dt.m_Day + 1;
    if (day <= CZAMDateTime::DayMonth(dt.GetYear(), dt.m_Month)) {
        dt.m_Day = static_cast<unsigned char>(day);
        return;
    }
    dt.m_Day = 1;
    if (dt.m_Month >= 12) {
        if (dt.m_Year == 255) {  // no year after 2155: stay on its last day
            dt.m_Month = 12;
            dt.m_Day = 31;
            return;
        }
        dt.m_Month = 1;
        ++dt.m_Year;
    } else {
        ++dt.m_Month;
    }
}

void StepDayBackward(CZAMDateTime& dt) {
    if (dt.m_Day > 1) {
        --dt.m_Day;
        return;
    }
    if (dt.m_Month <= 1) {
        if (dt.m_Year == 0) {  // no year before 1900: stay on its first day
            dt.m_Month = 1;
            dt.m_Day = 1;
            return;
        }
        dt.m_Month = 12;
        --dt.m_Year;
    } else {
        dt.m_Month = static_cast<unsigned char>(dt.m_Month > 12 ? 12 : dt.m_Month - 1);
    }
    dt.m_Day = static_cast<unsigned char>(CZAMDateTime::DayMonth(dt.GetYear(), dt.m_Month));
}

int ClampToInt(int64_t v) {
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int>(v);
}

}  // namespace

// --- static calendar facts -------------------------------------------------------

int CZAMDateTime::DayYear(int year) {
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return leap ? 366 : 365;
}

int CZAMDateTime::DayMonth(int year, int month) {
    if (month < 1 || month > 12) return 0;
    if (month == 2) return DayYear(year) == 366 ? 29 : 28;
    return kFixedMonthDays[month - 1];
}

int CZAMDateTime::Jan1(int year) {
    // 64 bits so that no year an int can hold overflows the sums.
    const int64_t y = year;
    int64_t b = (y + 3) / 4 + y + 4;
    if (y > 1800) b += (y - 1601) / 400 - (y - 1701) / 100;
    if (y < 1753) b -= 3;
    const int64_t r = (b + 3) % 7;
    return static_cast<int>(r < 0 ? r + 7 : r);
}

// --- numbers of the date -------------------------------------------------------------

int CZAMDateTime::GetJulian() const {
    int y = GetYear();
    int m = m_Month;
    const int d = m_Day;
    if (y < 0) ++y;
    const double c = y <= 0 ? 0.75 : 0.0;
    if (m <= 2) {
        --y;
        m += 12;
    }
    int g = 0;
    if (m * 100 + y * 10000 + d >= 15821015) g = y / 400 - y / 100 + 2;
    return static_cast<int>(std::trunc((m + 1) * 30.6001)) + g + d -
           static_cast<int>(std::trunc(c - 365.25 * y)) + 1720995;
}

unsigned CZAMDateTime::GetSeqNbr() const {
    unsigned before = 0;
    for (int i = 0; i < m_Month - 1 && i < 12; ++i) before += kFixedMonthDays[i];
    return m_Year * 370u + before + m_Day;
}

int CZAMDateTime::SetDTFromSeq(unsigned seq) {
    const int year = static_cast<int>(seq / 370) + 1900;
    const int r = static_cast<int>(seq % 370);
    int month = 12;
    int day = r - 366;
    int sum = 0;
    for (int i = 0; i < 12; ++i) {
        const int before = sum;
        sum += kFixedMonthDays[i];
        if (sum >= r) {
            month = i + 1;
            day = r - before;
            break;
        }
    }
    return SetDate(year, month, day);
}

int CZAMDateTime::SetDTJul(int julian) {
    CZAMDateTime today;
    today.SetNow();
    const int64_t difference = int64_t(julian) - today.GetJulian();
    const int64_t days = int64_t(julian) - kJulianOf1970;
    if (days < kFirstDay || days > kLastDay) {
        // The date cannot be held; an empty value says so to anyone who checks.
        Reset();
    } else {
        SetDayNumber(*this, days);
        m_Hour = m_Min = m_Sec = 0;
    }
    return ClampToInt(difference);
}

int CZAMDateTime::SetDTJul(const char* julian) {
    // atol's reading: blanks, a sign, digits, wrapping silently at 32 bits.
    const char* p = julian ? julian : "";
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f' || *p == '\v') ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    uint32_t n = 0;
    for (; *p >= '0' && *p <= '9'; ++p) n = n * 10u + static_cast<uint32_t>(*p - '0');
    if (negative) n = 0u - n;
    return SetDTJul(static_cast<int>(n));
}

int CZAMDateTime::SetDTFloat(double serial) {
    Reset();
    if (!std::isfinite(serial)) return -1;
    // Serial day 0 is 30 Dec 1899, two days before the first date we hold.
    const double whole = std::trunc(serial);
    const double lastSerial = double(kLastDay - kFirstDay + 2);
    if (whole < 2.0 || whole > lastSerial) return -1;
    const int n = static_cast<int>(whole);
    SetDTJul(n + 2415019);
    SetTimeSec(static_cast<int>((serial - whole) * 86400.0 + 0.5));
    return IsValid() ? 0 : -1;
}

// --- weeks, quarters, months -----------------------------------------------------------

int CZAMDateTime::GetWeekDay(int flag) const {
    const int year = GetYear();
    int lengths[12];
    for (int i = 0; i < 12; ++i) lengths[i] = kFixedMonthDays[i];
    int step = (Jan1(year + 1) - Jan1(year)) % 7;
    if (step < 0) step += 7;
    bool gregorianSwitch = false;
    if (step == 1) {
        lengths[1] = 28;
    } else if (step != 2) {
        // The year the calendar lost eleven days in September.
        lengths[8] = 19;
        gregorianSwitch = true;
    }
    int64_t count = Jan1(year);
    for (int i = 0; i < m_Month - 1 && i < 12; ++i) count += lengths[i];
    int dayIndex = m_Day - 1;
    if (gregorianSwitch && m_Month == 9 && m_Day >= 14) dayIndex -= 11;
    count += dayIndex;
    int weekday = static_cast<int>(count % 7);
    if (weekday < 0) weekday += 7;
    return flag == 0 ? weekday : (weekday + 6) % 7;
}

int CZAMDateTime::GetWeekStart(int flag) const {
    CZAMDateTime start(*this);
    start.ShiftDate(-GetWeekDay(flag));
    return start.GetDate(-2);
}

int CZAMDateTime::GetWeekSeq(int flag) const {
    CZAMDateTime jan1;
    jan1.m_Year = m_Year;
    jan1.m_Month = 1;
    jan1.m_Day = 1;
    const int64_t weekStart = int64_t(GetJulian()) - GetWeekDay(flag);
    const int64_t yearStart = jan1.GetJulian();
    int64_t steps = weekStart >= yearStart ? (weekStart - yearStart) / 7 : 0;
    if (steps > 366) steps = 366;
    return GetYear() * 100 + static_cast<int>(steps) + 1;
}

int CZAMDateTime::GetJulianWeek(int flag) const {
    return (GetJulian() - GetWeekDay(flag)) / 7;
}

int CZAMDateTime::GetQtrDate(int last) const {
    const int firstMonth = (m_Month - 1) / 3 * 3 + 1;
    if (last == 0) return GetYear() * 10000 + firstMonth * 100 + 1;
    const int lastMonth = firstMonth + 2;
    return GetYear() * 10000 + lastMonth * 100 + DayMonth(GetYear(), lastMonth);
}

int CZAMDateTime::GetMonthDate() const { return GetYear() * 10000 + m_Month * 100 + 1; }

// --- moving by days ---------------------------------------------------------------------

void CZAMDateTime::ShiftDate(int days) {
    int64_t left = days;
    const int direction = days > 0 ? 1 : -1;
    // Odd fields are walked a day at a time until they name a real date (a
    // few hundred steps at most); from there a jump gives the same result.
    while (left != 0 && !DateIsReal(*this)) {
        if (direction > 0)
            StepDayForward(*this);
        else
            StepDayBackward(*this);
        left -= direction;
    }
    if (left == 0) return;
    SetDayNumber(*this, DaysFromCivil(GetYear(), m_Month, m_Day) + left);
}
