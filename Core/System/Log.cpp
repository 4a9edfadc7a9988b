#include "Core/System/Log.h"

#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "Core/Platform/Clock.h"
#include "Core/Platform/PathSplit.h"
#include "Core/Platform/ProgramPath.h"
#include "Core/Platform/UserDirs.h"
#include "Core/Platform/UserInterface.h"
#include "Core/System/LogSync.h"
#include "Core/System/Profile.h"
#include "Core/Text/TextFunc.h"

namespace {

const int kMessageSize = 10000;  // formatted text, terminator included
const int kMaxMessage = kMessageSize - 1;
const int kSourceWidth = 16;
const int kPathSize = 1000;
// Source and bar, date part, time part with level letter, message, CR LF.
const int kLineSize = kSourceWidth + 1 + 7 + 14 + kMaxMessage + 2;
const int kLinesBetweenForcedWrites = 20;
const int64_t kSecondsBetweenForcedWrites = 10;

struct LogState {
    bool SetupDone = false;
    int Fd = -1;
    char Path[kPathSize] = "";
    int ShowDate = -1;
    int ShowTime = -1;
    int FlushOnEach = 0;
    int64_t LastFlush = 0;
    int LinesSinceFlush = 0;
    int ForcedWrites = 0;
    // The local date and time of the last line's second, already as text.
    int64_t ClockSecond = INT64_MIN;
    int ClockMillis = 0;
    char DatePart[6];
    char TimePart[8];
};

LogState g_log;

void ForceToDisk() {
    if (g_log.Fd < 0) return;
    // One forced write at a time: the helper's, if it runs, finishes first.
    zam::WaitForBackgroundSync();
    fsync(g_log.Fd);
    ++g_log.ForcedWrites;
}

void ForceToDiskSoon() {
    if (g_log.Fd < 0) return;
    zam::SyncInBackground(g_log.Fd);
    ++g_log.ForcedWrites;
}

void CloseFile() {
    if (g_log.Fd < 0) return;
    zam::WaitForBackgroundSync();
    close(g_log.Fd);
    g_log.Fd = -1;
}

char* PutTwoDigits(char* p, int value) {
    p[0] = static_cast<char>('0' + value / 10 % 10);
    p[1] = static_cast<char>('0' + value % 10);
    return p + 2;
}

// Codes past the byte range would wrap round to control characters, a line
// break among them; such a level gets a visible stand-in instead.
char LevelLetter(int level) {
    if (level <= 0) return ' ';
    if (level > 255 - 96) return '?';
    return static_cast<char>(96 + level);
}

// Copies at most max characters; a line break inside would split the line.
char* CopyOnOneLine(char* out, const char* text, int max) {
    for (int i = 0; i < max && text[i] != '\0'; ++i) {
        const char c = text[i];
        *out++ = (c == '\r' || c == '\n') ? '+' : c;
    }
    return out;
}

// One clock reading serves the line's time and the forced-write timing. The
// zone conversion and its text are redone only when the second changes: at
// many lines a second they would cost more than the write itself.
int64_t UpdateClock() {
    const int64_t ms = zam::platform::NowUnixMillis();
    int64_t seconds = ms / 1000;
    int millis = static_cast<int>(ms % 1000);
    if (millis < 0) {
        millis += 1000;
        --seconds;
    }
    g_log.ClockMillis = millis;
    if (seconds != g_log.ClockSecond) {
        std::tm tm{};
        zam::platform::ToLocalTm(seconds, tm);
        char* d = g_log.DatePart;
        d = PutTwoDigits(d, (tm.tm_year % 100 + 100) % 100);
        d = PutTwoDigits(d, tm.tm_mon + 1);
        PutTwoDigits(d, tm.tm_mday);
        char* t = g_log.TimePart;
        t = PutTwoDigits(t, tm.tm_hour);
        *t++ = ':';
        t = PutTwoDigits(t, tm.tm_min);
        *t++ = ':';
        PutTwoDigits(t, tm.tm_sec);
        g_log.ClockSecond = seconds;
    }
    return seconds;
}

void ReadLineSettings() {
    // A settings read may log on its own; the nested line then sees both parts
    // shown rather than starting the read again.
    g_log.ShowDate = 1;
    g_log.ShowTime = 1;
    g_log.ShowDate = ProfileReadBool("SYS", "LogShowDate", 1);
    g_log.ShowTime = ProfileReadBool("SYS", "LogShowTime", 1);
}

int WriteLine(const char* source, const char* message, int level) {
    if (g_log.Fd < 0) return 0;
    const int64_t seconds = UpdateClock();
    if (g_log.ShowDate < 0 || g_log.ShowTime < 0) ReadLineSettings();
    if (g_log.Fd < 0) return 0;

    char line[kLineSize];
    char* p = line;
    if (source != nullptr) {
        char* end = CopyOnOneLine(p, source, kSourceWidth);
        while (end < p + kSourceWidth) *end++ = ' ';
        p = end;
        *p++ = '|';
        if (g_log.ShowDate == 1) {
            std::memcpy(p, g_log.DatePart, sizeof g_log.DatePart);
            p += sizeof g_log.DatePart;
            *p++ = '|';
        }
    }
    if (g_log.ShowTime == 1) {
        std::memcpy(p, g_log.TimePart, sizeof g_log.TimePart);
        p += sizeof g_log.TimePart;
        *p++ = '.';
        *p++ = static_cast<char>('0' + g_log.ClockMillis / 100);
        p = PutTwoDigits(p, g_log.ClockMillis % 100);
    }
    *p++ = LevelLetter(level);
    *p++ = '|';
    p = CopyOnOneLine(p, message, kMaxMessage);
    *p++ = '\r';
    *p++ = '\n';

    // One call per line, so lines of two copies of the program never interleave.
    ssize_t written;
    do {
        written = write(g_log.Fd, line, static_cast<size_t>(p - line));
    } while (written < 0 && errno == EINTR);

    ++g_log.LinesSinceFlush;
    if (g_log.LastFlush == 0) {
        g_log.LastFlush = seconds;
        g_log.FlushOnEach = ProfileReadBool("SYS", "LogFileFlushOnEach", 0);
    }
    if (g_log.FlushOnEach == 1 || g_log.LinesSinceFlush > kLinesBetweenForcedWrites ||
        seconds - g_log.LastFlush > kSecondsBetweenForcedWrites) {
        if (g_log.FlushOnEach == 1) {
            ForceToDisk();
        } else {
            ForceToDiskSoon();
        }
        g_log.LastFlush = seconds;
        g_log.LinesSinceFlush = 0;
    }
    return 0;
}

int OpenLog(const char* path, int mode) {
    if (g_log.Fd >= 0) {
        g_log.LastFlush = 0;
        g_log.LinesSinceFlush = 0;
        return -1;
    }
    if (path == nullptr || path[0] == '\0' || std::strlen(path) >= kPathSize) return -2;
    // Appending even when starting empty: a second copy of the program writes
    // the same file, and neither may overwrite the other's lines.
    int flags = O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC;
    if (mode == 1) flags |= O_TRUNC;
    const int fd = open(path, flags, 0666);
    if (fd < 0) return -2;
    g_log.Fd = fd;
    std::snprintf(g_log.Path, sizeof g_log.Path, "%s", path);

    char opening[kPathSize + 32];
    std::snprintf(opening, sizeof opening, "====== Opening %s ======", path);
    WriteLine("ACTION-INIT", opening, 0);
    ForceToDisk();
    g_log.LastFlush = 0;
    g_log.LinesSinceFlush = 0;
    return 1;
}

// The executable's folder with forward slashes (a leading network pair of
// backslashes kept) and no trailing slash; the user's state folder when the
// executable's folder is read-only, as for an installed copy.
std::string LogRoot() {
    char exeDir[kPathSize] = "";
    GetExeDir(exeDir, sizeof exeDir);
    std::string folder;
    for (size_t i = 0; exeDir[i] != '\0'; ++i) {
        if (exeDir[i] == '\\' && exeDir[i + 1] == '\\') {
            folder += "\\\\";
            ++i;
        } else {
            folder += exeDir[i] == '\\' ? '/' : exeDir[i];
        }
    }
    while (!folder.empty() && folder.back() == '/') folder.pop_back();
    if (!zam::platform::IsWritableFolder(folder.empty() ? "/" : folder)) {
        folder = zam::platform::StateHome() + "/kronalt";
    }
    return folder;
}

void Setup() {
    g_log.SetupDone = true;  // first: a log call made while setting up must not start again
    if (!ProfileReadBool("RELEASE", "WriteLog", 1)) return;

    SYSTEMTIME today{};
    zam::platform::GetLocalNow(today);
    const std::string root = LogRoot();
    std::string name = zam::platform::SplitPath(zam::platform::GetProgramPath().c_str()).Name;
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    char date[24];
    std::snprintf(date, sizeof date, "%04d%02d%02d", today.wYear, today.wMonth, today.wDay);
    const std::string logs = root + "/logs";
    const std::string day = logs + "/" + date;
    const std::string path = day + "/" + name + ".log";
    const int mode = ProfileReadBool("SYS", "LogFileAppend", 1) ? 0 : 1;
    // A path too long to keep could not be copied or reported: stay closed.
    if (path.size() >= static_cast<size_t>(kPathSize)) return;
    mkdirpath(logs.c_str(), 0);
    mkdirpath(day.c_str(), 0);
    LogLine("*OPENLOG", path.c_str(), mode);
}

// False when there is nothing to log: an unusable format, or a text too long
// for the buffer, which is shown cut under the overrun caption instead.
bool FormatBounded(char* text, const char* fmt, va_list args, const char* overrunCaption) {
    text[0] = '\0';
    if (fmt == nullptr) return true;
    const int n = std::vsnprintf(text, kMessageSize, fmt, args);
    if (n < 0) return false;
    if (n >= kMessageSize) {
        zam::platform::ShowMessageBox(text, overrunCaption, MB_OK | MB_ICONERROR);
        return false;
    }
    return true;
}

}  // namespace

void LogTraceV(const char* source, int level, const char* fmt, va_list args) {
    char text[kMessageSize];
    if (!FormatBounded(text, fmt, args, "LOGTRACE Buffer overrun!")) return;
    LogWrite(source, text, level);
}

void LogTrace(const char* source, int level, const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    LogTraceV(source, level, fmt, args);
    va_end(args);
}

void LogBoxV(const char* caption, const char* fmt, va_list args) {
    char text[kMessageSize];
    if (!FormatBounded(text, fmt, args, "LOGBOX Buffer overrun!")) return;
    if (caption == nullptr) caption = "";
    LogTrace("MessageBox", 0, "%s: %s", caption, text);
    zam::platform::ShowMessageBox(text, caption, MB_OK);
}

void LogBox(const char* caption, const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    LogBoxV(caption, fmt, args);
    va_end(args);
}

int LogWrite(const char* source, const char* message, int level) {
    if (!g_log.SetupDone) Setup();
    return LogLine(source, message, level);
}

int LogLine(const char* source, const char* message, int level) {
    if (source != nullptr && source[0] == '*') {
        if (strcasecmp(source, "*OPENLOG") == 0) return OpenLog(message, level);
        if (strcasecmp(source, "*FLUSH") == 0) {
            ForceToDisk();
            return 0;
        }
        if (strcasecmp(source, "*CLOSE") == 0) {
            ForceToDisk();
            CloseFile();
            return 0;
        }
        if (strcasecmp(source, "*COPY") == 0) {
            ForceToDisk();
            FileCopy(g_log.Path, "LogCpy.tmp");
            return 0;
        }
    }
    return WriteLine(source, message != nullptr ? message : "", level);
}

void LogResetForTests() {
    CloseFile();
    g_log = LogState{};
}

int LogForcedWritesForTests() { return g_log.ForcedWrites; }
