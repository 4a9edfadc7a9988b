// The numbered text forms of a value, the month and weekday names, durations,
// and the self-checks of the calendar numbers. Every form is formatted here
// once, into a small buffer, so CTxt and std::string callers get the same
// characters.

#include <cinttypes>
#include <cmath>
#include <cstdio>

#include "Core/Platform/Clock.h"
#include "Core/System/Log.h"
#include "Core/Text/CTxt.h"
#include "Core/Text/TextFunc.h"
#include "Core/Time/CZAMDateTime.h"

namespace {

const char* const kShortMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kLongMonths[12] = {"January", "February", "March",     "April",
                                     "May",     "June",     "July",      "August",
                                     "September", "October", "November", "December"};
const char* const kShortWeekDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
// "Wednsday" is how every stored text and every comparison has always spelt it.
const char* const kLongWeekDays[7] = {"Sunday",   "Monday", "Tuesday", "Wednsday",
                                      "Thursday", "Friday", "Saturday"};

// Wide enough for every kind with every field at 255.
constexpr size_t kTextSize = 96;

// "?%d" for a month that has no name, as the month-name lookup writes it.
void ShortMonth(int month, char (&out)[8]) {
    if (month >= 1 && month <= 12)
        std::snprintf(out, sizeof out, "%s", kShortMonths[month - 1]);
    else
        std::snprintf(out, sizeof out, "?%d", month);
}

// Noon stays 12 with AM, as the forms have always written it; only 13 and
// later are folded with PM.
void TwelveHour(int hour, int& shown, const char*& suffix) {
    if (hour > 12) {
        shown = hour - 12;
        suffix = "PM";
    } else {
        shown = hour;
        suffix = "AM";
    }
}

bool FormatKind(const CZAMDateTime& dt, int kind, char (&buf)[kTextSize]) {
    const int y = dt.GetYear();
    const int yy = y % 100;
    const int m = dt.m_Month;
    const int d = dt.m_Day;
    const int H = dt.m_Hour;
    const int M = dt.m_Min;
    const int S = dt.m_Sec;
    int h12 = 0;
    const char* ampm = "";
    TwelveHour(H, h12, ampm);
    char mon[8];
    ShortMonth(m, mon);

    switch (kind) {
    case 0: std::snprintf(buf, sizeof buf, "%04d%02d%02d %02d:%02d:%02d", y, m, d, H, M, S); break;
    case 1: std::snprintf(buf, sizeof buf, "%04d%02d%02d", y, m, d); break;
    case 2: std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", H, M, S); break;
    case 3: std::snprintf(buf, sizeof buf, "%d/%d/%02d %02d:%02d:%02d", m, d, yy, H, M, S); break;
    case 4: std::snprintf(buf, sizeof buf, "%d/%d/%02d", m, d, yy); break;
    case 5: std::snprintf(buf, sizeof buf, "%02d:%02d", H, M); break;
    case 6: std::snprintf(buf, sizeof buf, "%d/%d/%04d", m, d, y); break;
    case 7: std::snprintf(buf, sizeof buf, "%02d:%02d:%02d%s", h12, M, S, ampm); break;
    case 8: std::snprintf(buf, sizeof buf, "%02d:%02d%s", h12, M, ampm); break;
    case 9: std::snprintf(buf, sizeof buf, "%d/%d/%04d %02d:%02d:%02d", m, d, y, H, M, S); break;
    case 10: std::snprintf(buf, sizeof buf, "%04d%02d%02d_%02d%02d%02d", y, m, d, H, M, S); break;
    case 11: std::snprintf(buf, sizeof buf, "%02d%02d%02d", H, M, S); break;
    case 12: std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", m, d, y); break;
    case 13: std::snprintf(buf, sizeof buf, "%02d/%02d/%04d %02d:%02d", m, d, y, H, M); break;
    case 14: std::snprintf(buf, sizeof buf, "%02d/%02d", m, d); break;
    case 15:
        std::snprintf(buf, sizeof buf, "%02d/%02d/%04d %02d:%02d%s", m, d, y, h12, M, ampm);
        break;
    case 16:
        std::snprintf(buf, sizeof buf, "%02d/%02d/%04d %02d:%02d:%02d%s", m, d, y, h12, M, S, ampm);
        break;
    case 17:
        std::snprintf(buf, sizeof buf, "%02d/%02d/%04d %02d:%02d:%02d", m, d, y, H, M, S);
        break;
    case 18: std::snprintf(buf, sizeof buf, "%d/%d/%04d,%02d:%02d:%02d", m, d, y, H, M, S); break;
    case 19:
        std::snprintf(buf, sizeof buf, "%02d/%02d/%04d|%02d:%02d:%02d", m, d, y, H, M, S);
        break;
    case 20: std::snprintf(buf, sizeof buf, "%d/%04d", m, y); break;
    case 21: std::snprintf(buf, sizeof buf, "%04d-Q%d", y, (m - 1) / 3 + 1); break;
    case 22: std::snprintf(buf, sizeof buf, "%s/%04d", mon, y); break;
    case 23: std::snprintf(buf, sizeof buf, "%s/%02d", mon, yy); break;
    case 24:
        std::snprintf(buf, sizeof buf, "%02d/%02d/%04d,%02d:%02d:%02d", m, d, y, H, M, S);
        break;
    case 25: std::snprintf(buf, sizeof buf, "%02d/%02d/%04d,%02d:%02d", m, d, y, H, M); break;
    case 26: std::snprintf(buf, sizeof buf, "%d/%d", m, d); break;
    case 27: std::snprintf(buf, sizeof buf, "%d/%d/%d %02d:%02d", m, d, y, H, M); break;
    case 28: std::snprintf(buf, sizeof buf, "%s+%d%%2C+%04d", mon, d, y); break;
    case 29: std::snprintf(buf, sizeof buf, "%s/%d/%04d %02d:%02d:%02d", mon, d, y, H, M, S); break;
    default: return false;
    }
    return true;
}

}  // namespace

int CZAMDateTime::GetTxt(CTxt& text, int kind) const {
    char buf[kTextSize];
    if (!FormatKind(*this, kind, buf)) return -1;
    text.Format("%s", buf);
    return 0;
}

int CZAMDateTime::GetStr(std::string& s, int kind) const {
    char buf[kTextSize];
    if (!FormatKind(*this, kind, buf)) return -1;
    s.assign(buf);
    return 0;
}

// --- names -------------------------------------------------------------------------

int CZAMDateTime::GetMonthTxt(int month, CTxt& text, int shortName) {
    if (month < 1 || month > 12) {
        text.Format("?%d", month);
        return -1;
    }
    text = shortName ? kShortMonths[month - 1] : kLongMonths[month - 1];
    return 0;
}

int CZAMDateTime::GetWeekDayTxt(int day, CTxt& text, int shortName, int mondayBased) {
    int index = day % 7;
    if (index < 0) {
        text.Format("?%d", day);
        return -1;
    }
    if (mondayBased == 1) index = (index + 1) % 7;
    text = shortName ? kShortWeekDays[index] : kLongWeekDays[index];
    return 0;
}

int CZAMDateTime::GetWeekDayVal(const char* text, int mondayBased) {
    if (text == nullptr) return -1;
    for (int i = 0; i < 7; ++i) {
        if (stricmpmode(kShortWeekDays[i], text, 2) != 0) continue;
        return mondayBased == 1 ? (i + 6) % 7 : i;
    }
    return -1;
}

// --- now as text ----------------------------------------------------------------------

int CZAMDateTime::GetCurrDateCTxt(CTxt& text) {
    CZAMDateTime now;
    now.SetNow();
    now.GetTxt(text, 12);
    return text.GetLength();
}

int CZAMDateTime::GetCurrDateStr(std::string& s) {
    CZAMDateTime now;
    now.SetNow();
    now.GetStr(s, 12);
    return static_cast<int>(s.size());
}

int CZAMDateTime::GetCurrDateTimeCTxt(CTxt& text) {
    CZAMDateTime now;
    now.SetNow();
    now.GetTxt(text, 9);
    return text.GetLength();
}

int CZAMDateTime::GetCurrDateTimeStr(std::string& s) {
    CZAMDateTime now;
    now.SetNow();
    now.GetStr(s, 9);
    return static_cast<int>(s.size());
}

int CZAMDateTime::GetCurrDateTimemSecCTxt(CTxt& text) {
    SYSTEMTIME st{};
    zam::platform::GetLocalNow(st);
    text.Format("%02d%02d%02d|%02d:%02d:%02d.%03d", st.wYear % 100, st.wMonth, st.wDay, st.wHour,
                st.wMinute, st.wSecond, st.wMilliseconds);
    return text.GetLength();
}

// --- durations ------------------------------------------------------------------------

int CZAMDateTime::GetDurTxt(CTxt& text, const CZAMDateTime* other) const {
    const int64_t d = GetDiffSecBig(other);
    if (d >= 86400) {
        text.Format("%.3f Days", static_cast<double>(d) / 86400);
        return 3;
    }
    if (d >= 3600) {
        text.Format("%.2f Hrs", static_cast<double>(d) / 3600);
        return 2;
    }
    if (d == 60) {
        text = "1 Min";
        return 1;
    }
    if (d > 60) {
        const double minutes = static_cast<double>(d) / 60;
        if (d % 60 == 0)
            text.Format("%.0f Mins", minutes);
        else
            text.Format("%.2f Mins", minutes);
        return 1;
    }
    text.Format("%02" PRId64 " Secs", d);
    return 0;
}

int CZAMDateTime::GetDurTxtHMS(CTxt& text, const CZAMDateTime* other) const {
    const int64_t d = GetDiffSecBig(other);
    if (d < 86400) {
        // Below one day in either direction the parts are small; far in the
        // past they still fit an int, the range spanning only 256 years.
        text.Format("%02d:%02d:%02d", static_cast<int>(d / 3600), static_cast<int>(d % 3600 / 60),
                    static_cast<int>(d % 60));
        return 1;
    }
    text.Format("%.3f Days", static_cast<double>(d) / 86400);
    return 2;
}

// --- self-checks ------------------------------------------------------------------------

namespace {

CZAMDateTime FirstDay() {
    CZAMDateTime dt;
    dt.SetDate(1900, 1, 1);
    return dt;
}

constexpr int kLastDate = 21551231;

// A mean new moon (6 Jan 2000 18:14 UT) as a Julian date, and the mean
// synodic month; the mean moon may be a day off the true one.
constexpr double kNewMoonJulian = 2451550.26;
constexpr double kSynodicMonth = 29.530588853;

// The moon's age in days at a Julian date.
double MoonAge(double julianDate) {
    const double age = std::fmod(julianDate - kNewMoonJulian, kSynodicMonth);
    return age < 0 ? age + kSynodicMonth : age;
}

}  // namespace

int CZAMDateTime::TestSeqNbr() {
    CZAMDateTime dt = FirstDay();
    unsigned last = 0;
    int errors = 0;
    for (;;) {
        const unsigned seq = dt.GetSeqNbr();
        CZAMDateTime back;
        back.SetDTFromSeq(seq);
        if (seq <= last || back.SameDate(&dt) != 0) {
            ++errors;
            LogTrace("TEST", 1, "SeqNbr: %d (Seq=%d)", dt.GetDate(0), static_cast<int>(seq));
        }
        last = seq;
        if (dt.GetDate(0) >= kLastDate) break;
        dt.ShiftDate(1);
    }
    LogTrace("TEST", 1, "SeqNbr: Last=%d Errors=%d", static_cast<int>(last), errors);
    return errors;
}

int CZAMDateTime::TestJulian() {
    FILE* csv = std::fopen("Lunar.csv", "w");
    if (csv != nullptr) std::fprintf(csv, "Lunation,Date,WeekDay,Julian\n");

    CZAMDateTime dt = FirstDay();
    int previous = dt.GetJulian() - 1;
    double previousAge = MoonAge(previous + 0.5);
    int lunation = 0;
    int errors = 0;
    CTxt weekDay;
    for (;;) {
        const int julian = dt.GetJulian();
        if (julian - previous != 1) {
            ++errors;
            LogTrace("TEST", 1, "Julian: Diff=%d/%d", dt.GetDate(0), julian - previous);
        }
        // Julian day 0 was a Monday.
        const int expected = (julian + 1) % 7;
        if (dt.GetWeekDay(0) != expected) {
            ++errors;
            LogTrace("TEST", 1, "Julian: WeekDay=%d/%d", dt.GetWeekDay(0), expected);
        }
        // The moon's age at the end of this day (the Julian day starts at
        // noon); when it drops, a new moon fell within the day.
        const double age = MoonAge(julian + 0.5);
        if (age < previousAge && csv != nullptr) {
            GetWeekDayTxt(dt.GetWeekDay(0), weekDay, 1, 0);
            std::fprintf(csv, "%d,%d,%s,%d\n", ++lunation, dt.GetDate(0),
                         static_cast<const char*>(weekDay), julian);
        }
        previousAge = age;
        previous = julian;
        if (dt.GetDate(0) >= kLastDate) break;
        dt.ShiftDate(1);
    }
    LogTrace("TEST", 1, "Julian: Error=%d", errors);
    if (csv == nullptr) return -1;
    const bool written = std::ferror(csv) == 0;
    if (std::fclose(csv) != 0 || !written) return -1;
    return errors;
}
