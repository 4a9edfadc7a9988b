// The numbered text forms of a value. Every form is formatted here once, into
// a small buffer, so CTxt and std::string callers get the same characters.

#include <cstdio>

#include "Core/Text/CTxt.h"
#include "Core/Time/CZAMDateTime.h"

namespace {

const char* const kShortMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

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
