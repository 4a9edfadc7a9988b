// CZAMDateTime: the time from a public time page, and setting the clock.

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "Core/Platform/Clock.h"
#include "Core/Platform/Http.h"
#include "Core/System/Log.h"
#include "Core/System/Profile.h"
#include "Core/Text/CTxt.h"
#include "Core/Text/TextFunc.h"
#include "Core/Time/CZAMDateTime.h"

namespace {

// The time service: its page shows the time directly before a tag and the
// date on the next line. A placeholder until the user names a service.
const char* const kDefaultTimeService = "http://time.example.net";

// A page that opens but shows no time is asked again, but not for ever.
const int kMaxFetches = 5;
const int kLineSize = 1001;

const char* const kNotFound = "SetGMT:  Clould not find Universal time";

std::string TimePageUrl(const char* query) {
    std::string base;
    ProfileReadStr("INTERNET", "TimeServiceUrl", kDefaultTimeService, base);
    while (!base.empty() && base.back() == '/') base.pop_back();
    std::string url = base + "/timezone.cgi?";
    for (const char* p = query; *p != '\0'; ++p) {
        if (*p == ' ') {
            url += "%20";
        } else {
            url += *p;
        }
    }
    return url;
}

// Where a time "HH:MM:SS" directly followed by a tag ends (the '<'), looking
// from the line's sixth character on; -1 when there is none.
int FindTimeBeforeTag(const char* line) {
    const int length = static_cast<int>(std::strlen(line));
    for (int at = 5; at + 3 < length; ++at) {
        if (line[at] == ':' && line[at - 3] == ':' && line[at + 3] == '<') return at + 3;
    }
    return -1;
}

int64_t LocalSeconds(const SYSTEMTIME& t) {
    int64_t seconds = 0;
    zam::platform::LocalSystemTimeToUnix(t, seconds);
    return seconds;
}

}  // namespace

int CZAMDateTime::FetchTimePage(const char* agent, const char* query, CTxt& message, int wait) {
    const std::string url = TimePageUrl(query);
    CZAMDateTime earlier;
    bool haveEarlier = false;
    std::vector<char> line(kLineSize);
    std::vector<char> next(kLineSize);
    for (int fetch = 0; fetch < kMaxFetches; ++fetch) {
        std::string page;
        const int got = zam::platform::HttpGet(url.c_str(), agent, page, 10000);
        if (got == -1) {
            message = "SyncTime: Internet open error!";
            return -1;
        }
        if (got == -2) {
            message = "SyncTime: URL open error!";
            return -2;
        }
        if (got == -3) {
            message = "SyncTime: URL reading error!";
            return -3;
        }
        int status = -5;
        message = kNotFound;
        bool found = false;
        if (!page.empty() && bufsetmem(page.data(), static_cast<int>(page.size())) == 0) {
            while (!found && bufgetline(line.data(), kLineSize) >= 0) {
                if (line[0] == '\0') continue;
                CTxt upper(line.data());
                upper.MakeUpper();
                const int tag = FindTimeBeforeTag(upper);
                if (tag < 0) continue;
                const std::string timeText(static_cast<const char*>(upper) + tag - 8, 8);
                const int time = GetTimeAlpha(timeText.c_str());
                if (bufgetline(next.data(), kLineSize) < 0) break;
                CTxt dateText;
                strfldtxt(next.data(), ',', 2, 3, dateText);
                dateText.Trim(' ');
                const int date = GetDateAlpha(dateText, 3, 1, 2, ' ');
                // A candidate first: the value keeps its content until both are accepted.
                CZAMDateTime candidate;
                if (time >= 0 && candidate.SetDT(date, time) == 0 && candidate.IsValid()) {
                    Copy(&candidate);
                    found = true;
                } else {
                    message.Format("Invalid date/time in %s (%d, %d)", line.data(), date, time);
                }
            }
            bufreset();
        }
        if (found) {
            GetTxt(message, 0);
            if (wait == 1 && !haveEarlier) {
                earlier.Copy(this);
                haveEarlier = true;
            } else if (!haveEarlier || Compare(&earlier, 6) != 0) {
                status = 0;
            }
        }
        if (status != -5) return status;
    }
    message = kNotFound;
    return -5;
}

int CZAMDateTime::SetNowTimeEST(CTxt& message, int wait) {
    return FetchTimePage("SetNowTimeEST", "UTC/s/0", message, wait);
}

int CZAMDateTime::SetNowTimeGov(CTxt& message, int wait) {
    return FetchTimePage("SetNowTimeGov", "Eastern/d/-5 EST", message, wait);
}

int CZAMDateTime::SetNowURL() {
    CTxt scratch;
    SetNowTimeEST(scratch, 0);
    return IsValid() ? 0 : -2;
}

int CZAMDateTime::AdjToLocal() {
    const zam::platform::TimeZoneFigures zone = zam::platform::GetTimeZoneFigures();
    const int bias = zone.Bias + (zone.DaylightActive ? zone.DaylightBias : zone.StandardBias);
    ShiftTime(-bias * 60);
    return 0;
}

int CZAMDateTime::SyncGMT(CTxt& message, float* adjusted) {
    if (adjusted != nullptr) *adjusted = 0;
    CZAMDateTime target(*this);
    target.AdjToLocal();
    CZAMDateTime now;
    now.SetNow();
    const int diffNow = now.GetDiffSec(&target);

    // Set close to the start of a second, so the whole second set is right.
    SYSTEMTIME before{};
    zam::platform::GetLocalNow(before);
    if (before.wMilliseconds > 100) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1000 - before.wMilliseconds));
        zam::platform::GetLocalNow(before);
    }
    SYSTEMTIME wanted{};
    target.GetSYSTEMTIME(&wanted);
    wanted.wMilliseconds = 0;
    int result = 0;
    errno = 0;
    if (!zam::platform::SetLocalClock(wanted)) {
        const int error = errno;
        message.Format("SetLocalTime failed (Error %d=%s)", error, std::strerror(error));
        // The adjustment line below takes the message's place; the log keeps why.
        LogTrace("DateTime", 1, "%s", static_cast<const char*>(message));
        result = -1;
    }
    SYSTEMTIME after{};
    zam::platform::GetLocalNow(after);
    const int64_t jumpMs = (LocalSeconds(after) - LocalSeconds(before)) * 1000 + after.wMilliseconds -
                           before.wMilliseconds;
    const float jump = static_cast<float>(jumpMs) / 1000.0f;
    if (adjusted != nullptr) *adjusted = jump;
    message.Format("Adjusted %6.3f Sec to %d/%d/%d %02d:%02d:%02d.%03d (From %d/%d/%d %02d:%02d:%02d.%03d) "
                   "DiffNow=%d",
                   static_cast<double>(jump), wanted.wMonth, wanted.wDay, wanted.wYear, wanted.wHour,
                   wanted.wMinute, wanted.wSecond, 0, before.wMonth, before.wDay, before.wYear,
                   before.wHour, before.wMinute, before.wSecond, before.wMilliseconds, diffNow);
    return result;
}
