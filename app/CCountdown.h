#pragma once
// The countdown itself: one countdown's state, turned by a once-a-second tick
// into everything the user sees and hears. It needs no window, so the window,
// the console front end and the tests all drive the same engine. Its instants
// are readings of the boot-time clock, so a daylight-saving change, a clock
// set by hand or a suspend never moves a countdown; the wall clock is read
// only for the clock text.

#include <cstdint>

#include "Core/Text/CTxt.h"
#include "Core/Time/CZAMDateTime.h"

/// What one tick produced, for the owner to carry to its controls.
struct TickOutput {
    CTxt Status;            ///< status without brackets ("02:00 - 28:00", "DONE", "Paused ")
    CTxt StatusLine;        ///< the status as shown: in brackets or alone
    CTxt Clock;             ///< the tick's instant as "m/d/yyyy hh:mm:ss"
    CTxt Title;             ///< new window title; empty when the title stays as it was
    int HasProgress = 0;    ///< 1 on a running tick
    int Progress = 0;       ///< per mille of the length elapsed, 0..1000, when HasProgress
    int PlayEnd = 0;        ///< the end sound is to be played
    int PlayInterval = 0;   ///< the interval sound is to be played (after the end sound)
    int CaptionChanged = 0; ///< the countdown ended: the Start/Pause caption becomes "&Start"
    int PageDue = 0;        ///< the product page may be opened now
};

class CCountdown {
public:
    /// Idle engine: start-up instant now, page pending, random generator seeded.
    CCountdown();

    /// Start, pause or resume; returns the new caption, "&Pause" or "&Start".
    const char* StartPause();
    /// The stored length (raised to 2 when below) and interval, without rescheduling.
    void SetInitial(int length, int interval);
    /// Stores the length, raised to 2 when below; returns the stored value.
    int SetLength(int minutes);
    /// Stores the interval (negative = random) and reschedules; returns it.
    int SetInterval(int minutes);
    /// One step of the countdown; fills out completely.
    void Tick(TickOutput& out);
    /// Seconds to the next chime for the current interval.
    int NextIntervalSec();
    /// The owner has opened the product page: never due again.
    void PageShown();

    /// On: a countdown that ends plays its end sound, shows DONE and goes on
    /// counting past zero ("+MM:SS") until StartPause stops it. Off (the
    /// default): it stops at the end.
    void SetOvertime(int on) { m_Overtime = on != 0; }
    /// Counts to the next time the local clock shows hour:minute:second,
    /// measured afresh at every fresh start; SetLength or SetInitial ends it.
    /// 0, or -1 for a time that is not one (the setting is unchanged).
    int SetUntil(int hour, int minute, int second);
    /// 1 while counting to a clock time.
    int IsUntil() const { return m_UntilHour >= 0; }
    /// 1 while running past the end.
    int IsOvertime() const { return m_InOvertime; }
    /// The countdown's length in seconds.
    int64_t GetLengthSec() const;
    /// The state in one line for other programs: "running 12:34 - 12:26",
    /// "paused 03:00 - 22:00", "idle 00:00 - 25:00", "overtime +01:05",
    /// "completed" or "completed +01:05".
    void GetStateText(CTxt& out) const;
    /// Whole seconds counted so far (running or paused); 0 before a start.
    int64_t GetElapsedSec() const;

    const CTxt& GetEndSound() const { return m_EndSound; }
    void SetEndSound(const char* path) { m_EndSound.SetTxt(path); }
    const CTxt& GetIntervalSound() const { return m_IntervalSound; }
    void SetIntervalSound(const char* path) { m_IntervalSound.SetTxt(path); }
    /// Minutes; a countdown to a clock time gives its seconds rounded up.
    int GetLength() const { return m_Length; }
    int GetInterval() const { return m_Interval; }
    /// Seconds from the last chime to the next; 0 or less: none scheduled.
    int GetIntervalSec() const { return m_IntervalSec; }
    int IsRunning() const { return m_Running; }
    int IsCompleted() const { return m_Completed; }
    int IsPagePending() const { return m_PagePending; }

    /// "Kronalt [status] (Velmora) (Version v - date)"; without a status
    /// (null or empty) the start-up form without brackets.
    static void GetTitle(CTxt& out, const char* status);

private:
    static void FormatRunningStatus(int64_t elapsed, int64_t remaining, CTxt& status, int64_t& bracket);
    /// Seconds from now to the next instant the local clock shows the until time.
    int64_t SecondsToUntil() const;
    void EndCountdown(TickOutput& out);
    /// Whole seconds from one boot-time instant to another, to the nearest
    /// second, so a timer that fires a little early or late shows the same count.
    static int64_t SecondsBetween(int64_t fromMs, int64_t toMs);

    /// An instant that is not set ("empty").
    static constexpr int64_t kNoInstant = INT64_MIN;

    CTxt m_EndSound;
    CTxt m_IntervalSound;
    int m_Length = 2;
    int m_Interval = 0;
    int m_IntervalSec = 0;
    int m_Running = 0;
    int m_Completed = 0;
    int m_PagePending = 1;
    bool m_Overtime = false;
    int m_InOvertime = 0;
    int64_t m_OverSec = -1;    ///< seconds past the end when overtime was stopped; -1 none
    int m_UntilHour = -1;      ///< -1: a countdown of m_Length minutes
    int m_UntilMinute = 0;
    int m_UntilSecond = 0;
    int64_t m_UntilSec = 0;    ///< the length fixed at the last fresh start of an until countdown
    // Boot-time milliseconds (see BootTimeMillis).
    int64_t m_Start = kNoInstant;
    int64_t m_Pause = kNoInstant;
    int64_t m_LastChime = kNoInstant;
    int64_t m_StartUp = kNoInstant;
    CZAMDateTime m_Current;  ///< the tick's wall-clock instant, for the clock text
};
