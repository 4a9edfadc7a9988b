#pragma once
// A calendar date and wall-clock time to the whole second in six bytes.
//
// The value carries no zone and no fraction of a second: it is whatever
// wall-clock time its setter used. The year byte holds 1900-2155; a setter
// asked for a year outside that span refuses with -1 and leaves the value as
// it was, and the shifts stop at 1 Jan 1900 and 31 Dec 2155 rather than
// wrapping the byte into a wrong year. Everything else works on the fields as
// they are, however odd, and always terminates.

#include <cstdint>
#include <string>

#include "Core/Platform/WinTypes.h"

class CTxt;

class CZAMDateTime {
public:
    unsigned char m_Year = 0;  ///< calendar year minus 1900
    unsigned char m_Month = 0; ///< 1-12; 0 only in the empty value
    unsigned char m_Day = 0;   ///< 1 to the days of the month
    unsigned char m_Hour = 0;  ///< 0-23 (24 tolerated by a few operations)
    unsigned char m_Min = 0;   ///< 0-59
    unsigned char m_Sec = 0;   ///< 0-59

    /// The empty value (all six fields zero).
    CZAMDateTime() = default;

    // --- state ---------------------------------------------------------------

    /// Makes the value empty.
    void Reset();
    /// 1 when all six fields are zero, else 0.
    int IsEmpty() const;
    /// 1 when not empty, else 0.
    int IsFilled() const;
    /// 1 when every field lies in its calendar range, else 0.
    int IsValid() const;
    /// Clamps every field into a usable value; returns 0.
    int FixDate();
    /// Copies the six fields of other; a missing other leaves the value alone.
    void Copy(const CZAMDateTime* other);

    // --- setting ---------------------------------------------------------------

    /// Current local time; returns 0, or -1 (value unchanged) if the clock is out of the year range.
    int SetNow();
    /// Current universal time; returns 0, or -1 (value unchanged) if out of the year range.
    int SetNowGMT();
    /// Current US Eastern time (universal time moved by the Eastern offset); returns 0 or -1 as SetNowGMT.
    int SetNowEST();
    /// Fields from the structure; 0 if the result is valid, -1 if not or if the year/fields cannot be held (then unchanged).
    int SetDT(const SYSTEMTIME* st);
    /// File time (100 ns since 1601 UTC) as local time; 0 if valid, -1 otherwise (unchanged when not representable).
    int SetDT(const FILETIME* ft);
    /// Date and time numbers; 0, -2 bad time (unchanged), -1 date outside 19000101-21551231 (time already stored).
    int SetDT(int date, int time);
    /// A 64-bit date-time number as text; -1 (value reset) when the date part is not positive, else as SetDT(date, time).
    int SetDT64(const char* text);
    /// Local time of a seconds-since-1970 count; 0, or -1 (value unchanged) when the local year is outside 1900-2155.
    int SetDTUnix(int64_t seconds);
    /// Serial day number (0 = 30 Dec 1899), fraction = time of day; 0 if valid, -1 (value reset) when out of range.
    int SetDTFloat(double serial);
    /// Date of a Julian day number at 00:00:00; returns the days from today (value reset when out of range).
    int SetDTJul(int julian);
    /// As SetDTJul(int) with the Julian day number written in decimal.
    int SetDTJul(const char* julian);
    /// Date of a sequence number, time kept; returns the result of SetDate(year, month, day).
    int SetDTFromSeq(unsigned seq);
    /// File time by kind A/C/M/S (value reset first); 0 (also for an unknown kind), -1 path unreachable, -2 times unreadable or out of range.
    int SetDTFile(const char* path, char kind);
    /// Date fields, time kept (year below 100 means 2000+); 0 if valid, -1 if not or year/field unrepresentable (then unchanged).
    int SetDate(int year, int month, int day);
    /// SetDT(dateNumber, current time number); the codes of SetDT(date, time).
    int SetDate(int dateNumber);
    /// Time fields from seconds of day (hour not wrapped); 0, or -1 (unchanged) when negative or past hour 255.
    int SetTimeSec(int seconds);
    /// Stores the three time fields; 0, or -1 (unchanged) when one does not fit a byte.
    int SetTime(int hour, int minute, int second);
    /// Time fields from a time number; 0, -1 hour above 24, -2 minute 60+, -4 hour 24 with minutes or seconds, -3 (unchanged) negative.
    int SetTimeHMS(int time);

    // --- reading ---------------------------------------------------------------

    /// Calendar year (year offset + 1900).
    int GetYear() const;
    /// Date number (flag 1/-1: short date number); 0 for an invalid value when flag >= 0.
    int GetDate(int flag = 0) const;
    /// Time number hhmmss.
    unsigned GetTime() const;
    /// Seconds of day.
    unsigned GetTimeSec() const;
    /// Time number of (seconds of day + delta) brought into one day.
    int GetTimeShift(int delta) const;
    /// Date number * 1000000 + time number (just the time number for an invalid value).
    int64_t GetDT() const;
    /// Julian day number (2451545 for 1 Jan 2000).
    int GetJulian() const;
    /// Sequence number: (year-1900)*370 + fixed month offsets + day; never 0 for a valid date.
    unsigned GetSeqNbr() const;
    /// (year-1900)*1000 + month*31 + day + fraction of the day.
    float GetDateFloat() const;
    /// Date (two-digit year) * 10000 + (seconds of day + offset) / step; a step of 0 or less counts as 1.
    int64_t GetIntervalIdx(int step, int offset) const;
    /// Fills the structure, day of week 0 = Sunday, milliseconds 0; a missing structure is ignored.
    void GetSYSTEMTIME(SYSTEMTIME* st) const;
    /// The value in text form kind 0-29; 0, or -1 for an unknown kind (text unchanged).
    int GetTxt(CTxt& text, int kind) const;
    /// As GetTxt into a standard string; 0, or -1 for an unknown kind (string unchanged).
    int GetStr(std::string& s, int kind) const;
    /// Duration to other (missing or empty: now) as "%.3f Days", "%.2f Hrs", "1 Min", "%.0f Mins"/"%.2f Mins" or "%02d Secs"; returns 3, 2, 1, 1 or 0 for that form.
    int GetDurTxt(CTxt& text, const CZAMDateTime* other = nullptr) const;
    /// Duration to other as "%02d:%02d:%02d" below one day (result 1), else "%.3f Days" (result 2).
    int GetDurTxtHMS(CTxt& text, const CZAMDateTime* other = nullptr) const;
    /// Day of week: flag 0 gives 0 = Sunday, any other 0 = Monday.
    int GetWeekDay(int flag = 0) const;
    /// Date number of the first day of the week (Sunday for flag 0, else Monday).
    int GetWeekStart(int flag = 0) const;
    /// year*100 + week of the year counted from the week's first day.
    int GetWeekSeq(int flag = 0) const;
    /// (Julian day number - GetWeekDay(flag)) / 7.
    int GetJulianWeek(int flag = 0) const;
    /// Date number of the first (last = 0) or last day of the calendar quarter.
    int GetQtrDate(int last = 0) const;
    /// Date number of the first day of the month.
    int GetMonthDate() const;
    /// 0 same date, 3 days differ, 2 months differ, 1 years differ; a missing other is today.
    int SameDate(const CZAMDateTime* other = nullptr) const;
    /// 1 if valid and within [first, last] (a missing or month-0 bound is open), else 0.
    int IsDTRange(const CZAMDateTime* first, const CZAMDateTime* last) const;
    /// 1 if valid and lo <= GetDT() <= hi, else 0.
    int IsDTRange(int64_t lo, int64_t hi) const;
    /// Always 0: there is no holiday calendar.
    int IsHoliday(int calendar, const char* name) const;

    // --- reading text -----------------------------------------------------------

    /// Date and time from text (keywords Today, Now, TodayEST, LIVE, NowEST; the forms GetTxt writes); 0, -1 bad or missing date, -2 bad time, -3 no leading number.
    int SetDT(const char* text);
    /// SetDT(text); 0 when that succeeds and the value is valid, else -1.
    int SetDTCheck(const char* text);
    /// Date from text with the time 00:00:00; 0, -1 bad date.
    int SetDate(const char* text);
    /// Time of day from text ("930", "2:30 PM", keywords), date kept; 0, -2 bad time (logged, value unchanged).
    int SetTime(const char* text);
    /// '-'-separated date, year in field yearField (below 1901: already minus 1900), time kept; 1 if then valid, 0 if not or not storable (unchanged).
    int SetDTDash(const char* text, int yearField);
    /// SetDT of the text rewritten from the local short-date order; the codes of SetDT(text).
    int SetDTConvLocal(const char* text);
    /// Rewrites a date in the local short-date order as month/day/year, rest of the text kept; the length of out.
    static int SetDTConvLocalTxt(const char* text, CTxt& out);

    /// Date number from text with the given fields and separator (yearField -1: "Mon d"); 1 bad year, 2 bad month, 3 bad day.
    static int GetDateAlpha(const char* text, int yearField, int monthField, int dayField, char separator);
    /// Time number from text (a fraction means decimal hours); -1 bad hour, -2 bad minute, -3 bad second.
    static int GetTimeAlpha(const char* text);
    /// Month name (short when shortName is non-zero), "?%d" outside 1-12; 0, or -1 for "?%d".
    static int GetMonthTxt(int month, CTxt& text, int shortName = 0);
    /// Weekday name of day modulo 7 (0 = Sunday; mondayBased 1: 0 = Monday); 0, or -1 with "?%d" for a negative day.
    static int GetWeekDayTxt(int day, CTxt& text, int shortName = 0, int mondayBased = 0);
    /// Weekday whose short name begins text: 0 = Sunday (mondayBased 1: 0 = Monday) to 6; -1 if none.
    static int GetWeekDayVal(const char* text, int mondayBased = 0);
    /// Today's local date as kind 12; the length of the text.
    static int GetCurrDateCTxt(CTxt& text);
    /// Today's local date as kind 12; the length of the string.
    static int GetCurrDateStr(std::string& s);
    /// The local date and time now as kind 9; the length of the text.
    static int GetCurrDateTimeCTxt(CTxt& text);
    /// The local date and time now as kind 9; the length of the string.
    static int GetCurrDateTimeStr(std::string& s);
    /// Local time now with milliseconds, "yymmdd|hh:mm:ss.mmm"; the length of the text.
    static int GetCurrDateTimemSecCTxt(CTxt& text);
    /// Self-check of the sequence numbers over 1900-2155, logged under "TEST"; the number of errors.
    static int TestSeqNbr();
    /// Self-check of the Julian numbers and weekdays, logged under "TEST", with the mean new moons written to "Lunar.csv" in the current folder; the number of errors, or -1 when the file cannot be written.
    static int TestJulian();

    // --- comparisons and differences -----------------------------------------

    /// -1, 0 or 1 as this is before, equal to or after other, down to depth 1-6; a missing other is now.
    int Compare(const CZAMDateTime* other = nullptr, int depth = 6) const;
    /// Seconds from this to other (other - this), held to the 32-bit range; a missing or empty other is now.
    int GetDiffSec(const CZAMDateTime* other = nullptr) const;
    /// Seconds from this to other in 64 bits; a missing or empty other is now.
    int64_t GetDiffSecBig(const CZAMDateTime* other = nullptr) const;
    /// GetDiffSecBig / 86400.
    float GetDiffDays(const CZAMDateTime* other = nullptr) const;
    /// Seconds from this to other as real local instants (daylight saving counts); 0 if not convertible.
    int GetDiffSecSpan(const CZAMDateTime* other = nullptr) const;
    /// Days from this to other as local instants; an invalid date here becomes 1 Jan 1900 first.
    float GetDiffDaysSpan(const CZAMDateTime* other = nullptr);
    /// This minus other in months, with a fraction of the last month; a missing other is now.
    float GetDiffMonth(const CZAMDateTime* other = nullptr) const;
    /// Seconds from first to second with milliseconds; a missing second is universal now, a missing first gives 0.
    static double GetDiffSecsSYS(const SYSTEMTIME* first, const SYSTEMTIME* second = nullptr);

    // --- shifts ------------------------------------------------------------------

    /// Moves by whole days, rolling month and year ends; stops at the ends of the year range.
    void ShiftDate(int days);
    /// Moves by days with a fraction, the fraction rounded to whole seconds.
    void ShiftDate(float days);
    /// Moves by seconds, carrying whole days into the date.
    void ShiftTime(int seconds);
    /// Moves by calendar months, mending a day past the month's end.
    void ShiftMonth(int months);
    /// Adds to the year (29 Feb stays 29 Feb); stops at 1900 and 2155.
    void ShiftYear(int years);
    /// Moves by market days (Monday to Friday).
    void ShiftMktDate(int days);
    /// Rounds the time of day down (up = 1: one step on) to a multiple of step seconds.
    void RoundToNearestSec(int step, int up);

    // --- static helpers ----------------------------------------------------------

    /// 1 for 19000101 <= n <= 29991231, else 0.
    static int IsDate(int n);
    /// 1 for n < 240001, else 0.
    static int IsTime(int n);
    /// 366 or 365 (Gregorian rule).
    static int DayYear(int year);
    /// Days in the month; 0 for a month outside 1-12.
    static int DayMonth(int year, int month);
    /// Day of week of 1 January, 0 = Sunday.
    static int Jan1(int year);
    /// Date number, or 1 bad year, 2 bad month, 3 bad day (a year below 70 is 20yy, below 100 19yy).
    static int GetDateMDY(int year, int month, int day);
    /// Time number, or 4 bad hour, 5 bad minute, 6 bad second.
    static int GetTimeHMS(int hour, int minute, int second);
    /// Eastern now minus local now, in seconds.
    static int GetESTOffsetSec();

    // --- clock synchronisation over HTTP ------------------------------------------

    /// Universal time from the time service's page (wait 1: just after its second
    /// changes); 0, -1 no session, -2 page not opened, -3 not read, -5 no time
    /// found in 5 fetches. message: the value as kind 0, or what went wrong.
    int SetNowTimeEST(CTxt& message, int wait);
    /// The same with the page's Eastern time.
    int SetNowTimeGov(CTxt& message, int wait);
    /// SetNowTimeEST without a message; 0 when the value is then valid, else -2.
    int SetNowURL();
    /// Sets the local clock to this universal time; 0, or -1 when the clock
    /// cannot be set. adjusted (optional) receives the clock's jump in seconds.
    int SyncGMT(CTxt& message, float* adjusted = nullptr);
    /// Converts this universal time to local time; 0.
    int AdjToLocal();

private:
    int FetchTimePage(const char* agent, const char* query, CTxt& message, int wait);
};

/// The same six fields as a plain record, for storing inside other records.
struct CZAMDateTimePlain {
    unsigned char m_Year = 0;
    unsigned char m_Month = 0;
    unsigned char m_Day = 0;
    unsigned char m_Hour = 0;
    unsigned char m_Min = 0;
    unsigned char m_Sec = 0;

    /// -1, 0 or 1 as this is before, equal to or after other, down to depth 1-6; 99 for a missing other.
    int Compare(const CZAMDateTimePlain* other, int depth = 6) const;
};

/// Two instants and a number; no operations beyond construction and assignment.
struct CZAMDateTimeInterval {
    CZAMDateTime m_First;
    CZAMDateTime m_Second;
    int m_Value = 0;
};

// --- Test hooks: not for the program ------------------------------------------

/// Forgets the detected short-date order; the next use detects it again, from
/// pattern (registry form, "dd/MM/yyyy") instead of the locale when not null.
void DateTimeLocalOrderForTests(const char* pattern);
