#include "app/CCountdown.h"

#include <climits>
#include <cstdint>

#include "Core/Platform/Clock.h"
#include "Core/Platform/Translation.h"
#include "app/Random.h"
#include "app/Version.h"

namespace {

const char* const kCaptionStart = TrNoop("&Start");
const char* const kCaptionPause = TrNoop("&Pause");

// Random chimes draw from 0..120*|m|-1, which the 0..32767 generator covers
// only down to -273 minutes; a more negative interval chimes as -273 does.
const int kMostRandomInterval = -273;

// Date-time text kind of the clock field.
const int kClockTextKind = 9;

// The product page waits this long after start-up, in seconds.
const int kPageDelaySec = 90;

// Assigning an empty CTxt leaves the target as it was, so the texts of a
// reused record are emptied one by one.
void ClearOutput(TickOutput& out) {
    out.Status.Empty();
    out.StatusLine.Empty();
    out.Clock.Empty();
    out.Title.Empty();
    out.HasProgress = 0;
    out.Progress = 0;
    out.PlayEnd = 0;
    out.PlayInterval = 0;
    out.CaptionChanged = 0;
    out.PageDue = 0;
}

// Time past the end: "+MM:SS", "+H:MM:SS" from an hour on, after prefix.
void FormatPastEnd(const char* prefix, int64_t overSec, CTxt& out) {
    const int64_t o = overSec < 0 ? 0 : overSec;
    if (o >= 3600) {
        out.Format("%s+%lld:%02d:%02d", prefix, static_cast<long long>(o / 3600),
                   static_cast<int>(o % 3600 / 60), static_cast<int>(o % 60));
    } else {
        out.Format("%s+%02d:%02d", prefix, static_cast<int>(o / 60), static_cast<int>(o % 60));
    }
}

}  // namespace

using zam::platform::BootTimeMillis;

CCountdown::CCountdown() {
    m_StartUp = BootTimeMillis();
    RandomSeed();
}

int64_t CCountdown::SecondsBetween(int64_t fromMs, int64_t toMs) {
    const int64_t ms = toMs - fromMs;
    return ms >= 0 ? (ms + 500) / 1000 : -((-ms + 500) / 1000);
}

const char* CCountdown::StartPause() {
    const int64_t now = BootTimeMillis();
    if (m_InOvertime) {
        // Stopping the count past the end completes the countdown.
        m_OverSec = SecondsBetween(m_Start, now) - GetLengthSec();
        if (m_OverSec < 0) m_OverSec = 0;
        m_InOvertime = 0;
        m_Running = 0;
        m_Completed = 1;
        m_Start = kNoInstant;
        m_Pause = kNoInstant;
        return kCaptionStart;
    }
    if (m_Running) {
        m_Running = 0;
        m_Pause = now;
        return kCaptionStart;
    }
    m_Running = 1;
    m_Completed = 0;
    if (m_Pause == kNoInstant) {
        m_OverSec = -1;
        if (IsUntil()) {
            m_UntilSec = SecondsToUntil();
            m_Length = static_cast<int>((m_UntilSec + 59) / 60);
        }
        m_Start = now;
        m_LastChime = m_Start;
        if (m_Interval != 0) m_IntervalSec = NextIntervalSec();
    } else {
        const int64_t paused = now - m_Pause;
        m_Start += paused;
        m_LastChime += paused;
    }
    m_Pause = kNoInstant;
    return kCaptionPause;
}

void CCountdown::SetInitial(int length, int interval) {
    m_UntilHour = -1;
    m_Length = length < 2 ? 2 : length;
    m_Interval = interval;
}

int CCountdown::SetLength(int minutes) {
    m_UntilHour = -1;
    m_Length = minutes < 2 ? 2 : minutes;
    return m_Length;
}

int CCountdown::SetInterval(int minutes) {
    m_Interval = minutes;
    m_IntervalSec = m_Interval != 0 ? NextIntervalSec() : 0;
    return m_Interval;
}

int CCountdown::NextIntervalSec() {
    if (m_Interval >= 0) {
        // A chime further away than the 32-bit count of seconds never comes anyway.
        const int64_t seconds = static_cast<int64_t>(m_Interval) * 60;
        return seconds > INT_MAX ? INT_MAX : static_cast<int>(seconds);
    }
    const int minutes = m_Interval < kMostRandomInterval ? kMostRandomInterval : m_Interval;
    return RandomBelow(-minutes * 120);
}

void CCountdown::PageShown() { m_PagePending = 0; }

int CCountdown::SetUntil(int hour, int minute, int second) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) return -1;
    m_UntilHour = hour;
    m_UntilMinute = minute;
    m_UntilSecond = second;
    m_UntilSec = SecondsToUntil();
    m_Length = static_cast<int>((m_UntilSec + 59) / 60);
    return 0;
}

int64_t CCountdown::GetLengthSec() const {
    return IsUntil() ? m_UntilSec : static_cast<int64_t>(m_Length) * 60;
}

int64_t CCountdown::GetElapsedSec() const {
    if (m_Running) return SecondsBetween(m_Start, BootTimeMillis());
    if (m_Pause != kNoInstant) return SecondsBetween(m_Start, m_Pause);
    return 0;
}

void CCountdown::GetStateText(CTxt& out) const {
    const int64_t now = BootTimeMillis();
    CTxt times;
    int64_t bracket = 0;
    if (m_InOvertime) {
        FormatPastEnd("overtime ", SecondsBetween(m_Start, now) - GetLengthSec(), out);
    } else if (m_Running) {
        const int64_t elapsed = SecondsBetween(m_Start, now);
        const int64_t remaining = GetLengthSec() - elapsed;
        FormatRunningStatus(elapsed, remaining < 0 ? 0 : remaining, times, bracket);
        out.Format("running %s", static_cast<const char*>(times));
    } else if (m_Completed) {
        if (m_OverSec >= 0) {
            FormatPastEnd("completed ", m_OverSec, out);
        } else {
            out = "completed";
        }
    } else {
        const int64_t elapsed = m_Pause != kNoInstant ? SecondsBetween(m_Start, m_Pause) : 0;
        FormatRunningStatus(elapsed, GetLengthSec() - elapsed, times, bracket);
        out.Format("%s %s", m_Pause != kNoInstant ? "paused" : "idle", static_cast<const char*>(times));
    }
}

int64_t CCountdown::SecondsToUntil() const {
    // Wall-clock arithmetic through the zone rules: on a daylight-saving
    // night the count is the true number of seconds to that clock time.
    const int64_t now = zam::platform::NowUnixSeconds();
    std::tm local{};
    if (!zam::platform::ToLocalTm(now, local)) return 0;
    for (int day = 0; day < 3; ++day) {
        std::tm target = local;
        target.tm_mday += day;
        target.tm_hour = m_UntilHour;
        target.tm_min = m_UntilMinute;
        target.tm_sec = m_UntilSecond;
        int64_t at = 0;
        if (zam::platform::FromLocalTm(target, at) && at > now) return at - now;
    }
    return 0;
}


void CCountdown::GetTitle(CTxt& out, const char* status) {
    if (status != nullptr && status[0] != '\0') {
        out.Format(Tr("Kronalt [%s] (Velmora) (Version %s - %s)"), status, KRONALT_VERSION,
                   BuildDate());
    } else {
        out.Format(Tr("Kronalt (Velmora) (Version %s - %s)"), KRONALT_VERSION, BuildDate());
    }
}

void CCountdown::FormatRunningStatus(int64_t elapsed, int64_t remaining, CTxt& status,
                                     int64_t& bracket) {
    const int e = static_cast<int>(elapsed);
    if (remaining >= 3600) {
        status.Format("%02d:%02d:%02d - %02d:%02d:%02d", e / 3600, (e % 3600) / 60, e % 60,
                      static_cast<int>(remaining / 3600), static_cast<int>((remaining % 3600) / 60),
                      static_cast<int>(remaining % 60));
        bracket = e % 3600;
    } else {
        // Elapsed minutes are not wrapped at 60: 70 minutes of 90 read 70:00.
        status.Format("%02d:%02d - %02d:%02d", e / 60, e % 60, static_cast<int>(remaining / 60),
                      static_cast<int>(remaining % 60));
        bracket = e;
    }
}

void CCountdown::EndCountdown(TickOutput& out) {
    out.PlayEnd = 1;
    m_Running = 0;
    m_Completed = 1;
    m_Pause = kNoInstant;
    m_Start = kNoInstant;
    out.CaptionChanged = 1;
    out.Status = Tr("DONE");
}

void CCountdown::Tick(TickOutput& out) {
    ClearOutput(out);
    m_Current.SetNow();
    const int64_t now = BootTimeMillis();
    // The sign of the bracket value decides the brackets; 64 bits because the
    // remaining time of a huge length does not fit in 32.
    int64_t bracket = 0;

    if (m_InOvertime) {
        // Past the end: the bar stays full, no chimes, no brackets.
        FormatPastEnd("", SecondsBetween(m_Start, now) - GetLengthSec(), out.Status);
        GetTitle(out.Title, out.Status);
        out.HasProgress = 1;
        out.Progress = 1000;
    } else if (m_Running) {
        const int64_t total = GetLengthSec();
        const int64_t elapsed = SecondsBetween(m_Start, now);
        const int64_t remaining = total - elapsed;
        bracket = remaining;
        double perMille = static_cast<double>(elapsed) / static_cast<double>(total) * 1000.0;
        int progress = perMille < 0 ? 0 : perMille > 1000 ? 1000 : static_cast<int>(perMille);

        if (remaining > 0) {
            FormatRunningStatus(elapsed, remaining, out.Status, bracket);
        } else if (m_Overtime) {
            // The end as always, but the count goes on.
            out.PlayEnd = 1;
            out.Status = Tr("DONE");
            m_InOvertime = 1;
            progress = 1000;
        } else {
            EndCountdown(out);
            progress = 1000;
        }

        // The chime step runs on the ending tick too, so both sounds can fall together.
        if (m_IntervalSec > 0) {
            const int64_t sinceChime = SecondsBetween(m_LastChime, now);
            bracket = static_cast<int64_t>(m_IntervalSec) - sinceChime;
            if (sinceChime >= m_IntervalSec) {
                out.PlayInterval = 1;
                m_LastChime = now;
                m_IntervalSec = NextIntervalSec();
            }
        }

        GetTitle(out.Title, out.Status);
        out.HasProgress = 1;
        out.Progress = progress;
    } else if (m_Completed && m_OverSec >= 0) {
        // TRANSLATORS: a completed countdown's status; the time it ran past its end may follow the blank
        FormatPastEnd(Tr("Completed "), m_OverSec, out.Status);
    } else {
        out.Status = m_Completed ? Tr("Completed ") : Tr("Paused ");
    }

    m_Current.GetTxt(out.Clock, kClockTextKind);

    if (bracket > 0) {
        out.StatusLine.Format("[%s]", static_cast<const char*>(out.Status));
    } else {
        out.StatusLine = static_cast<const char*>(out.Status);
    }

    if (m_PagePending && SecondsBetween(m_StartUp, now) > kPageDelaySec) out.PageDue = 1;
}
