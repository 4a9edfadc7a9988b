// Comparisons, differences and the shifts built on them.

#include "Core/Time/CZAMDateTime.h"

#include <cmath>
#include <cstdint>
#include <ctime>

#include "Core/Platform/Clock.h"

namespace {

// Field-by-field order, shared by the value and its plain record.
template <typename A, typename B>
int CompareFields(const A& a, const B& b, int depth) {
    const unsigned char left[6] = {a.m_Year, a.m_Month, a.m_Day, a.m_Hour, a.m_Min, a.m_Sec};
    const unsigned char right[6] = {b.m_Year, b.m_Month, b.m_Day, b.m_Hour, b.m_Min, b.m_Sec};
    const int fields = (depth >= 1 && depth <= 5) ? depth : 6;
    for (int i = 0; i < fields; ++i) {
        if (left[i] < right[i]) return -1;
        if (left[i] > right[i]) return 1;
    }
    return 0;
}

int ClampToInt(int64_t v) {
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int>(v);
}

int64_t RawDiffSec(const CZAMDateTime& from, const CZAMDateTime& to) {
    return (int64_t(to.GetJulian()) - from.GetJulian()) * 86400 + int64_t(to.GetTimeSec()) -
           int64_t(from.GetTimeSec());
}

// The other value of a difference: the one given, or now when it is missing
// or empty.
CZAMDateTime OtherOrNow(const CZAMDateTime* other) {
    CZAMDateTime result;
    if (other != nullptr && !other->IsEmpty())
        result = *other;
    else
        result.SetNow();
    return result;
}

bool ToLocalSeconds(const CZAMDateTime& dt, int64_t& seconds) {
    std::tm tm{};
    tm.tm_year = dt.m_Year;
    tm.tm_mon = dt.m_Month - 1;
    tm.tm_mday = dt.m_Day;
    tm.tm_hour = dt.m_Hour;
    tm.tm_min = dt.m_Min;
    tm.tm_sec = dt.m_Sec;
    return zam::platform::FromLocalTm(tm, seconds);
}

// Other minus this as local instants; false when either cannot be converted.
bool SpanSeconds(const CZAMDateTime& from, const CZAMDateTime& to, int64_t& seconds) {
    int64_t a = 0, b = 0;
    if (!ToLocalSeconds(from, a) || !ToLocalSeconds(to, b)) return false;
    seconds = b - a;
    return true;
}

bool DateIsReal(const CZAMDateTime& dt) {
    return dt.m_Month >= 1 && dt.m_Month <= 12 && dt.m_Day >= 1 &&
           dt.m_Day <= CZAMDateTime::DayMonth(dt.GetYear(), dt.m_Month);
}

// One calendar month on or back, with odd months taken to the nearest real
// one; false when the year range ends and the month cannot move.
bool StepMonth(CZAMDateTime& dt, int direction) {
    if (direction > 0) {
        if (dt.m_Month >= 12) {
            if (dt.m_Year == 255) {
                dt.m_Month = 12;
                return false;
            }
            dt.m_Month = 1;
            ++dt.m_Year;
        } else {
            ++dt.m_Month;
        }
    } else {
        if (dt.m_Month <= 1) {
            if (dt.m_Year == 0) {
                dt.m_Month = 1;
                return false;
            }
            dt.m_Month = 12;
            --dt.m_Year;
        } else {
            dt.m_Month = static_cast<unsigned char>(dt.m_Month > 12 ? 12 : dt.m_Month - 1);
        }
    }
    return true;
}

void SetMonthIndex(CZAMDateTime& dt, int64_t index) {
    const int64_t last = 256 * 12 - 1;
    if (index < 0) index = 0;
    if (index > last) index = last;
    dt.m_Year = static_cast<unsigned char>(index / 12);
    dt.m_Month = static_cast<unsigned char>(index % 12 + 1);
}

// Enough months to cross the whole year range and a little more, so that a
// walk that cannot reach its target still ends.
constexpr int kMonthWalkLimit = 256 * 12 + 24;

}  // namespace

// --- comparisons ----------------------------------------------------------------------

int CZAMDateTime::Compare(const CZAMDateTime* other, int depth) const {
    CZAMDateTime now;
    if (other == nullptr) {
        now.SetNow();
        other = &now;
    }
    return CompareFields(*this, *other, depth);
}

int CZAMDateTimePlain::Compare(const CZAMDateTimePlain* other, int depth) const {
    if (other == nullptr) return 99;
    return CompareFields(*this, *other, depth);
}

int CZAMDateTime::SameDate(const CZAMDateTime* other) const {
    CZAMDateTime now;
    if (other == nullptr) {
        now.SetNow();
        other = &now;
    }
    if (m_Day != other->m_Day) return 3;
    if (m_Month != other->m_Month) return 2;
    if (m_Year != other->m_Year) return 1;
    return 0;
}

int CZAMDateTime::IsDTRange(const CZAMDateTime* first, const CZAMDateTime* last) const {
    if (!IsValid()) return 0;
    if (first != nullptr && first->m_Month != 0 && Compare(first, 6) < 0) return 0;
    if (last != nullptr && last->m_Month != 0 && Compare(last, 6) > 0) return 0;
    return 1;
}

int CZAMDateTime::IsDTRange(int64_t lo, int64_t hi) const {
    if (!IsValid()) return 0;
    const int64_t dt = GetDT();
    return (lo <= dt && dt <= hi) ? 1 : 0;
}

// --- differences ------------------------------------------------------------------------

int CZAMDateTime::GetDiffSec(const CZAMDateTime* other) const {
    // The 32-bit result cannot span the whole year range; it is held at its
    // limits rather than wrapped into a wrong sign.
    return ClampToInt(GetDiffSecBig(other));
}

int64_t CZAMDateTime::GetDiffSecBig(const CZAMDateTime* other) const {
    const CZAMDateTime to = OtherOrNow(other);
    if (Compare(&to, 6) == 0) return 0;
    return RawDiffSec(*this, to);
}

float CZAMDateTime::GetDiffDays(const CZAMDateTime* other) const {
    return static_cast<float>(GetDiffSecBig(other)) / 86400.0f;
}

int CZAMDateTime::GetDiffSecSpan(const CZAMDateTime* other) const {
    int64_t seconds = 0;
    if (!SpanSeconds(*this, OtherOrNow(other), seconds)) return 0;
    return ClampToInt(seconds);
}

float CZAMDateTime::GetDiffDaysSpan(const CZAMDateTime* other) {
    if (!DateIsReal(*this)) {
        m_Year = 0;
        m_Month = 1;
        m_Day = 1;
    }
    CZAMDateTime to;
    if (other == nullptr) {
        to.SetNow();
    } else {
        to = *other;
        if (to.m_Year == 0 && to.m_Month == 0 && to.m_Day == 0) {
            to.m_Month = 1;
            to.m_Day = 1;
        }
    }
    int64_t seconds = 0;
    if (!SpanSeconds(*this, to, seconds)) return 0.0f;
    return static_cast<float>(static_cast<double>(seconds) / 86400.0);
}

float CZAMDateTime::GetDiffMonth(const CZAMDateTime* other) const {
    CZAMDateTime copy;
    if (other == nullptr)
        copy.SetNow();
    else
        copy = *other;
    const int order = Compare(&copy, 3);
    if (order == 0) return 0.0f;

    // The walks end at the ends of the year range even when the other value
    // holds fields this one can never meet.
    if (order < 0) {
        int result = -1;
        copy.ShiftMonth(-1);
        for (int i = 0; i < kMonthWalkLimit && Compare(&copy, 3) < 0; ++i) {
            --result;
            copy.ShiftMonth(-1);
        }
        if (Compare(&copy, 3) == 0) return static_cast<float>(result);
        const int length = DayMonth(copy.GetYear(), copy.m_Month);
        copy.ShiftMonth(1);
        ++result;
        const float days = GetDiffDays(&copy);
        if (days == 0.0f || length == 0) return static_cast<float>(result);
        return static_cast<float>(result) - days / static_cast<float>(length);
    }

    int result = 1;
    copy.ShiftMonth(1);
    for (int i = 0; i < kMonthWalkLimit && Compare(&copy, 3) > 0; ++i) {
        ++result;
        copy.ShiftMonth(1);
    }
    if (Compare(&copy, 3) == 0) return static_cast<float>(result);
    copy.ShiftMonth(-1);
    --result;
    const float days = GetDiffDays(&copy);
    const int length = DayMonth(copy.GetYear(), copy.m_Month);
    if (days == 0.0f || length == 0) return static_cast<float>(result);
    return static_cast<float>(result) - days / static_cast<float>(length);
}

double CZAMDateTime::GetDiffSecsSYS(const SYSTEMTIME* first, const SYSTEMTIME* second) {
    if (first == nullptr) return 0.0;
    SYSTEMTIME now{};
    if (second == nullptr) {
        zam::platform::GetUniversalNow(now);
        second = &now;
    }
    CZAMDateTime a;
    CZAMDateTime b;
    a.SetDT(first);
    b.SetDT(second);
    const int whole = ClampToInt(a.Compare(&b, 6) == 0 ? 0 : RawDiffSec(a, b));
    return whole + (int(second->wMilliseconds) - int(first->wMilliseconds)) / 1000.0;
}

// --- shifts -----------------------------------------------------------------------------

void CZAMDateTime::ShiftDate(float days) {
    if (!std::isfinite(days)) return;
    // Far more days than the year range spans; the date stops at its ends anyway.
    constexpr float kLimit = 1.0e6f;
    const float whole = std::trunc(days);
    const float clamped = whole > kLimit ? kLimit : (whole < -kLimit ? -kLimit : whole);
    ShiftDate(static_cast<int>(clamped));
    const double seconds = (static_cast<double>(days) - whole) * 86400.0;
    double rounded = std::trunc(seconds);
    if (std::fabs(seconds - rounded) >= 0.49) rounded += seconds > 0 ? 1.0 : -1.0;
    ShiftTime(static_cast<int>(rounded));
}

void CZAMDateTime::ShiftTime(int seconds) {
    const int64_t total = int64_t(GetTimeSec()) + seconds;
    int64_t days = 0;
    int64_t timeOfDay = 0;
    if (total >= 0) {
        days = total / 86400;
        timeOfDay = total % 86400;
    } else {
        days = -((86399 - total) / 86400);
        timeOfDay = 86399 - (86399 - total) % 86400;
    }
    if (days != 0) ShiftDate(static_cast<int>(days));
    SetTimeSec(static_cast<int>(timeOfDay));
}

void CZAMDateTime::ShiftMonth(int months) {
    if (months == 0) return;
    if (months > 0) {
        // The first step also takes an odd month to a real one; the rest is
        // plain month arithmetic, and only the final day is mended.
        if (StepMonth(*this, 1) && months > 1)
            SetMonthIndex(*this, int64_t(m_Year) * 12 + (m_Month - 1) + (months - 1));
        for (int i = 0; i < 10 && !DateIsReal(*this); ++i) ShiftDate(1);
        return;
    }
    // Backward, the day is mended after every step, so it can only shrink;
    // once it is 28 or less no later step changes it and the rest is a jump.
    int64_t left = -int64_t(months);
    for (int walked = 0; left > 0 && walked < kMonthWalkLimit; ++walked) {
        if (!StepMonth(*this, -1)) break;
        for (int i = 0; i < 10 && !DateIsReal(*this); ++i) ShiftDate(-1);
        --left;
        if (left > 0 && DateIsReal(*this) && m_Day <= 28) {
            SetMonthIndex(*this, int64_t(m_Year) * 12 + (m_Month - 1) - left);
            left = 0;
        }
    }
}

void CZAMDateTime::ShiftYear(int years) {
    int64_t year = int64_t(m_Year) + years;
    if (year < 0) year = 0;
    if (year > 255) year = 255;
    m_Year = static_cast<unsigned char>(year);
}

void CZAMDateTime::ShiftMktDate(int days) {
    if (days == 0) return;
    const int direction = days > 0 ? 1 : -1;
    int64_t left = days > 0 ? int64_t(days) : -int64_t(days);
    // Any seven days in a row hold five market days, so whole weeks are
    // jumped and only the last few days are walked.
    while (left > 0) {
        if (left > 5 && DateIsReal(*this)) {
            int64_t weeks = (left - 1) / 5;
            if (weeks > 20000) weeks = 20000;  // more than the year range holds
            const int before = GetJulian();
            ShiftDate(static_cast<int>(direction * 7 * weeks));
            if (int64_t(GetJulian()) - before != direction * 7 * weeks) return;  // hit a range end
            left -= 5 * weeks;
            continue;
        }
        const CZAMDateTime before(*this);
        ShiftDate(direction);
        if (Compare(&before, 3) == 0) return;  // the range ends here
        const int weekday = GetWeekDay(0);
        if (weekday >= 1 && weekday <= 5) --left;
    }
}

void CZAMDateTime::RoundToNearestSec(int step, int up) {
    const int64_t size = step <= 0 ? 1 : step;
    int64_t s = int64_t(GetTimeSec()) / size * size;
    if (up == 1) s += size;
    if (s > 86400) {
        ShiftDate(static_cast<int>((s - 1) / 86400));
        s = (s - 1) % 86400 + 1;
    }
    SetTimeSec(static_cast<int>(s));
}
