// Reading dates and times typed by people or found in files and web pages.
//
// US conventions rule: month before day, '/' between them, "PM" after a
// twelve-hour time. The readers are lenient about what they accept but never
// store a field they have not checked against the byte it goes into.

#include <strings.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "Core/System/Log.h"
#include "Core/Text/CTxt.h"
#include "Core/Text/RuntimeConv.h"
#include "Core/Text/TextFunc.h"
#include "Core/Time/CZAMDateTime.h"

namespace {

// Longer texts are read as far as this; nothing a person types is longer.
constexpr size_t kMaxText = 1000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool FitsByte(int v) { return v >= 0 && v <= 255; }

std::string Trimmed(const char* text) {
    if (text == nullptr) return std::string();
    const size_t n = strnlen(text, kMaxText);
    std::vector<char> buf(text, text + n);
    buf.push_back('\0');
    const int len = strtrimws(buf.data());
    return std::string(buf.data(), static_cast<size_t>(len));
}

// Like atoi, but a number too big for an int sticks at the int's end instead
// of wrapping round into something that looks like a real date or time.
int ReadInt(const char* text) {
    while (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\r' || *text == '\f' ||
           *text == '\v')
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    long long n = 0;
    for (; IsDigit(*text); ++text) {
        n = n * 10 + (*text - '0');
        if (n > INT_MAX) return negative ? INT_MIN : INT_MAX;
    }
    return static_cast<int>(negative ? -n : n);
}

// Field n of src (strfld's numbering), however long it is.
std::string Field(const char* src, char delim, int first, int last = 0) {
    std::vector<char> out(std::strlen(src) + 1);
    if (strfld(src, delim, first, last, out.data(), static_cast<int>(out.size())) <= 0)
        return std::string();
    return std::string(out.data());
}

int FieldInt(const char* src, char delim, int n) { return ReadInt(Field(src, delim, n).c_str()); }

// Two-digit years: below 70 this century, 70-99 the last one.
int FullYear(int year) {
    if (year >= 0 && year < 70) return year + 2000;
    if (year >= 70 && year < 100) return year + 1900;
    return year;
}

int CurrentYear() {
    CZAMDateTime now;
    now.SetNow();
    return now.GetYear();
}

const std::array<std::string, 12>& ShortMonthNames() {
    static const std::array<std::string, 12> names = [] {
        std::array<std::string, 12> list;
        CTxt name;
        for (int m = 1; m <= 12; ++m) {
            CZAMDateTime::GetMonthTxt(m, name, 1);
            list[static_cast<size_t>(m - 1)] = static_cast<const char*>(name);
        }
        return list;
    }();
    return names;
}

// The last month whose name agrees with text in prefix mode, so "Ju" is July
// and "Ma" May; 0 when none. An empty text would agree with every name and
// must not turn into December.
int MonthOfName(const char* text) {
    if (*text == '\0') return 0;
    int month = 0;
    for (int m = 1; m <= 12; ++m) {
        if (stricmpmode(text, ShortMonthNames()[static_cast<size_t>(m - 1)].c_str(), 0) == 0)
            month = m;
    }
    return month;
}

// A month field: its number, unless a month name says otherwise.
int MonthOfField(std::string field) {
    strtrimws(field.data());
    field.resize(std::strlen(field.c_str()));
    const int byNumber = IsDigit(field[0]) ? ReadInt(field.c_str()) : 0;
    const int byName = MonthOfName(field.c_str());
    return byName != 0 ? byName : byNumber;
}

// Year, month and day checked against the calendar: the date number, or
// -1 bad year, -2 bad month, -3 bad day.
int CheckedDate(int year, int month, int day) {
    if (year < 1900 || year > 2999) return -1;
    if (month < 1 || month > 12) return -2;
    if (day < 1 || day > CZAMDateTime::DayMonth(year, month)) return -3;
    return year * 10000 + month * 100 + day;
}

// A date number, or -1 bad year, -2 bad month, -3 bad day.
int ReadDate(const char* text) {
    const int n = ReadInt(text);
    if (n > 17999999 && n <= 29991231) return n;
    if (std::strchr(text, '/') == nullptr) {
        if (strfldcnt(text, '-') == 3) {
            return CheckedDate(FullYear(FieldInt(text, '-', 1)), FieldInt(text, '-', 2),
                               FieldInt(text, '-', 3));
        }
        // yymmdd or yyyymmdd without separators; month and day are the
        // caller's to check, as the value's own validity test does.
        if (!IsDigit(text[0])) return -1;
        const int year = FullYear(n / 10000);
        if (year < 1900 || year > 2999) return -1;
        return year * 10000 + n % 10000;
    }
    const std::string yearField = Field(text, '/', 3);
    const int year = yearField.empty() ? CurrentYear() : FullYear(ReadInt(yearField.c_str()));
    return CheckedDate(year, FieldInt(text, '/', 1), FieldInt(text, '/', 2));
}

// A time number, or -1 bad hour, -2 bad minute, -3 bad second. A lone
// number is hours, hhmm or hhmmss by its size; decimalHours reads "9.5" as
// half past nine; lookAtPm moves a morning hour on by twelve.
int ReadTime(const char* text, bool lookAtPm, bool decimalHours) {
    if (strfldcnt(text, ':') < 2) {
        if (decimalHours) {
            const double x = zam::RuntimeAtof(text);
            if (x != std::floor(x)) {
                if (!(x > 0 && x < 24)) return -1;
                const int hours = static_cast<int>(x);
                const int seconds = static_cast<int>((x - hours) * 3600);
                return hours * 10000 + seconds / 60 * 100 + seconds % 60;
            }
        }
        const int n = ReadInt(text);
        if (n < 0) return -1;
        if (n < 24) return n * 10000;
        if (n < 2400) return n * 100;
        return n;
    }
    int hour = FieldInt(text, ':', 1);
    const int minute = FieldInt(text, ':', 2);
    const int second = FieldInt(text, ':', 3);
    if (hour < 0 || hour > 23) return -1;
    if (minute < 0 || minute > 59) return -2;
    if (second < 0 || second > 59) return -3;
    if (lookAtPm && hour < 12 && strifind(text, "PM") >= 0) hour += 12;
    return hour * 10000 + minute * 100 + second;
}

enum class Keyword { None, TodayEST, NowEST, Today, Now };

Keyword KeywordOf(const char* text) {
    if (stricmpmode(text, "TodayEST", 1) == 0 || stricmpmode(text, "LIVE", 1) == 0)
        return Keyword::TodayEST;
    if (stricmpmode(text, "NowEST", 1) == 0) return Keyword::NowEST;
    if (stricmpmode(text, "Today", 1) == 0) return Keyword::Today;
    if (stricmpmode(text, "Now", 1) == 0) return Keyword::Now;
    return Keyword::None;
}

// The value a keyword names: 0, or the clock's -1 when it is out of range.
int SetFromKeyword(CZAMDateTime& dt, Keyword keyword) {
    const bool eastern = keyword == Keyword::TodayEST || keyword == Keyword::NowEST;
    const int rc = eastern ? dt.SetNowEST() : dt.SetNow();
    if (rc == 0 && (keyword == Keyword::TodayEST || keyword == Keyword::Today))
        dt.SetTime(0, 0, 0);
    return rc;
}

// GetTxt writes some forms that the word-by-word reading would refuse: a
// month name first ("Aug/12/2015 14:30:05", "Aug+12%2C+2015") and a date
// joined to its time by ',', '|' or '_' ("8/12/2015,14:30:05",
// "20150812_143005"). They are unfolded into the plain form here, so that
// everything the value writes with a whole date reads back. A six-digit time
// after '_' is hhmmss as written; it comes back in fixedTime.
void UnfoldWrittenForms(std::string& s, int& fixedTime) {
    fixedTime = -1;
    int month = 0;
    if (s.size() > 3 && (s[3] == '/' || s[3] == '+')) {
        for (int m = 1; m <= 12; ++m) {
            if (strncasecmp(s.c_str(), ShortMonthNames()[size_t(m - 1)].c_str(), 3) == 0) month = m;
        }
    }
    if (month != 0) {
        const size_t end = std::min(s.find(' '), s.size());
        std::string word = s.substr(3, end - 3);
        if (word[0] == '+') {  // the URL query form: Mon+d%2C+yyyy
            for (int at; (at = strifind(word.c_str(), "%2C")) >= 0;) word.erase(size_t(at), 3);
            for (char& c : word)
                if (c == '+') c = '/';
        }
        s = std::to_string(month) + word + s.substr(end);
    }

    const size_t wordEnd = std::min(s.find(' '), s.size());
    const size_t joint = s.find_first_of(",|_");
    if (joint == std::string::npos || joint == 0 || joint >= wordEnd) return;
    if (s.find(':') < joint) return;
    if (s[joint] == '_' && wordEnd - joint == 7) {
        bool digits = true;
        for (size_t i = joint + 1; i < wordEnd; ++i) digits = digits && IsDigit(s[i]);
        if (digits) fixedTime = ReadInt(s.c_str() + joint + 1);
    }
    s[joint] = ' ';
}

}  // namespace

// --- members ---------------------------------------------------------------------

int CZAMDateTime::SetDT(const char* text) {
    std::string s = Trimmed(text);
    if (s.empty()) {
        Reset();
        return 0;
    }
    const Keyword keyword = KeywordOf(s.c_str());
    if (keyword != Keyword::None) return SetFromKeyword(*this, keyword);

    int fixedTime = -1;
    UnfoldWrittenForms(s, fixedTime);
    const std::string word = Field(s.c_str(), ' ', 1);
    if (ReadInt(word.c_str()) == 0) return -3;

    if (strfldcnt(word.c_str(), ':') >= 2) {
        // A time without a date: the time is stored and the date refused
        // (logged as date 0), so a caller checking the result never takes
        // it for a whole date-time.
        const int time = ReadTime(Field(s.c_str(), ' ', 1, 2).c_str(), true, false);
        if (time < 0) return -2;
        return SetDT(0, time);
    }
    const int date = ReadDate(word.c_str());
    if (date < 0) return -1;
    const int time =
        fixedTime >= 0 ? fixedTime : ReadTime(Field(s.c_str(), ' ', 2, 3).c_str(), true, false);
    if (time < 0) return -2;
    return SetDT(date, time);
}

int CZAMDateTime::SetDTCheck(const char* text) {
    if (SetDT(text) != 0 || !IsValid()) return -1;
    return 0;
}

int CZAMDateTime::SetDate(const char* text) {
    const int date = ReadDate(Trimmed(text).c_str());
    if (date < 0) return -1;
    return SetDT(date, 0);
}

int CZAMDateTime::SetTime(const char* text) {
    const std::string s = Trimmed(text);
    if (s.empty()) return SetTime(0, 0, 0);

    int time = -2;
    const Keyword keyword = KeywordOf(s.c_str());
    if (keyword != Keyword::None) {
        // Here every keyword means the time of day now, Today included.
        CZAMDateTime now;
        const bool eastern = keyword == Keyword::TodayEST || keyword == Keyword::NowEST;
        if ((eastern ? now.SetNowEST() : now.SetNow()) == 0) time = static_cast<int>(now.GetTime());
    } else {
        time = ReadTime(s.c_str(), true, false);
    }
    if (time < 0 || !IsTime(time)) {
        LogTrace("DateTime", 0, "Invalid Time: %d", time);
        return -2;
    }
    int hour = time / 10000;
    // "2:30 PM" has already become 14 above; "14:30 PM" must not become 26.
    if (s.size() >= 2 && stricmpmode(s.c_str() + s.size() - 2, "PM", 1) == 0) {
        hour += 12;
        if (hour >= 24) hour -= 12;
    }
    return SetTime(hour, time % 10000 / 100, time % 100);
}

int CZAMDateTime::SetDTDash(const char* text, int yearField) {
    if (text == nullptr) return 0;
    const int year = FieldInt(text, '-', yearField);
    const int month = FieldInt(text, '-', 2);
    const int day = FieldInt(text, '-', yearField == 1 ? 3 : 1);
    // Small years are offsets from 1900 already (115 for 2015).
    const int offset = year < 1901 ? year : year - 1900;
    if (!FitsByte(offset) || !FitsByte(month) || !FitsByte(day)) return 0;
    m_Year = static_cast<unsigned char>(offset);
    m_Month = static_cast<unsigned char>(month);
    m_Day = static_cast<unsigned char>(day);
    return IsValid();
}

// --- static readers ----------------------------------------------------------------

int CZAMDateTime::GetDateAlpha(const char* text, int yearField, int monthField, int dayField,
                               char separator) {
    if (text == nullptr) text = "";
    const int n = ReadInt(text);
    if (IsDate(n)) return n;

    std::string work = text;
    if (strfldcnt(text, '-') > 2 && monthField == 2) {
        // 12-Aug-15: day, month (name or number), year.
        work = Field(text, '-', 3) + "/" + std::to_string(MonthOfField(Field(text, '-', 2))) +
               "/" + std::to_string(FieldInt(text, '-', 1));
        yearField = 1;
        monthField = 2;
        dayField = 3;
        separator = '/';
    } else if (yearField == -1) {
        // "Aug 12": the year is this one.
        const int month = MonthOfName(Field(text, ' ', 1).c_str());
        if (month == 0) return 2;
        work = "/" + std::to_string(month) + "/" + std::to_string(FieldInt(text, ' ', 2));
        yearField = 1;
    }

    const std::string yearText = Field(work.c_str(), separator, yearField);
    const int year = yearText.empty() ? CurrentYear() : FullYear(ReadInt(yearText.c_str()));
    if (year < 1900 || year > 2999) return 1;
    const int month = MonthOfField(Field(work.c_str(), separator, monthField));
    if (month < 1 || month > 12) return 2;
    const int day = FieldInt(work.c_str(), separator, dayField);
    if (day < 1 || day > DayMonth(year, month)) return 3;
    return year * 10000 + month * 100 + day;
}

int CZAMDateTime::GetTimeAlpha(const char* text) {
    return ReadTime(text == nullptr ? "" : text, false, true);
}
