#include "app/CommandLine.h"

#include <cerrno>
#include <cstdarg>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "Core/Platform/Translation.h"
#include "Core/Text/CTxt.h"
#include "app/RemoteControl.h"

namespace {

__attribute__((format(printf, 1, 2))) std::string Formatted(const char* format, ...) {
    CTxt text;
    va_list args;
    va_start(args, format);
    text.FormatV(format, args);
    va_end(args);
    return static_cast<const char*>(text);
}

// Whole minutes, possibly negative; anything else (or a number beyond int) is refused.
bool ParseMinutes(const char* text, int& out) {
    if (text == nullptr || *text == '\0') return false;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (*end != '\0' || errno == ERANGE || value < INT_MIN || value > INT_MAX) return false;
    out = static_cast<int>(value);
    return true;
}

// One or two digits up to max; moves text past them.
bool ReadClockPart(const char*& text, int max, int& out) {
    if (*text < '0' || *text > '9') return false;
    out = *text++ - '0';
    if (*text >= '0' && *text <= '9') out = out * 10 + (*text++ - '0');
    return out <= max;
}

}  // namespace

bool ParseClockTime(const char* text, int& hour, int& minute, int& second) {
    if (text == nullptr) return false;
    int h = 0;
    int m = 0;
    int s = 0;
    if (!ReadClockPart(text, 23, h) || *text++ != ':' || !ReadClockPart(text, 59, m)) return false;
    if (*text == ':') {
        ++text;
        if (!ReadClockPart(text, 59, s)) return false;
    }
    if (*text != '\0') return false;
    hour = h;
    minute = m;
    second = s;
    return true;
}

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    CommandLine result;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--console") == 0) {
            result.Action = CommandLineAction::RunConsole;
            continue;
        }
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            result.Action = CommandLineAction::ShowHelp;
            return result;
        }
        if (std::strcmp(arg, "--version") == 0) {
            result.Action = CommandLineAction::ShowVersion;
            return result;
        }
        if (std::strcmp(arg, "--remote") == 0) {
            if (i + 1 >= argc) {
                result.Action = CommandLineAction::Error;
                result.Error = Tr("--remote needs a command");
                return result;
            }
            result.Action = CommandLineAction::Remote;
            result.Remote = argv[++i];
            // "--remote preset Tea" as well as "--remote 'preset Tea'".
            if (result.Remote == "preset" && i + 1 < argc) result.Remote += std::string(" ") + argv[++i];
            if (!IsRemoteCommand(result.Remote)) {
                result.Action = CommandLineAction::Error;
                result.Error = Formatted(Tr("unknown remote command '%s'"), result.Remote.c_str());
                return result;
            }
            continue;
        }
        if (std::strcmp(arg, "--pid") == 0) {
            int pid = 0;
            if (i + 1 >= argc || !ParseMinutes(argv[i + 1], pid) || pid <= 0) {
                result.Action = CommandLineAction::Error;
                result.Error = Tr("--pid needs a process id");
                return result;
            }
            result.Pid = pid;
            ++i;
            continue;
        }
        if (std::strcmp(arg, "--list-presets") == 0) {
            result.Action = CommandLineAction::ListPresets;
            return result;
        }
        if (std::strcmp(arg, "--preset") == 0) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                result.Action = CommandLineAction::Error;
                result.Error = Tr("--preset needs a preset's name");
                return result;
            }
            result.Console.Preset = argv[++i];
            continue;
        }
        if (std::strcmp(arg, "--until") == 0) {
            ConsoleOptions& c = result.Console;
            if (i + 1 >= argc || !ParseClockTime(argv[i + 1], c.UntilHour, c.UntilMinute, c.UntilSecond)) {
                result.Action = CommandLineAction::Error;
                result.Error = Tr("--until needs a clock time HH:MM or HH:MM:SS");
                return result;
            }
            ++i;
            continue;
        }
        const bool isLength = std::strcmp(arg, "--length") == 0;
        const bool isInterval = std::strcmp(arg, "--interval") == 0;
        if (isLength || isInterval) {
            int minutes = 0;
            if (i + 1 >= argc || !ParseMinutes(argv[i + 1], minutes)) {
                result.Action = CommandLineAction::Error;
                result.Error = Formatted(Tr("%s needs a whole number of minutes"), arg);
                return result;
            }
            (isLength ? result.Console.Length : result.Console.Interval) = minutes;
            (isLength ? result.Console.LengthGiven : result.Console.IntervalGiven) = true;
            // The numbers are the terminal countdown's: giving one asks for it.
            result.Action = CommandLineAction::RunConsole;
            ++i;
            continue;
        }
        result.Action = CommandLineAction::Error;
        result.Error = Formatted(Tr("unknown option '%s'"), arg);
        return result;
    }
    return result;
}

const char* UsageText() {
    // TRANSLATORS: the option names, the remote commands and the key names stay as they are
    return Tr("Usage: kronalt [--preset NAME] [--until HH:MM[:SS]]   open the timer window\n"
           "       kronalt --console [--length MIN] [--interval MIN] [--preset NAME]\n"
           "               [--until HH:MM[:SS]]\n"
           "       kronalt --remote COMMAND [--pid N]\n"
           "       kronalt --list-presets | --help (-h) | --version\n"
           "\n"
           "--console counts down in the terminal instead: MIN minutes (--length, at\n"
           "least 2), with the interval sound every --interval minutes (0: never; a\n"
           "negative number: at random times, on average that many minutes apart).\n"
           "Without the options the stored Length and Interval settings are used;\n"
           "given ones are stored. Without a display the window falls back to this.\n"
           "\n"
           "--preset NAME chooses a preset first (the name in any case; --list-presets\n"
           "shows them). --until counts down to the next time the clock shows HH:MM\n"
           "(today, or tomorrow when it has passed) and stores no length.\n"
           "\n"
           "--remote talks to the running timer: toggle, start, pause, status, show,\n"
           "hide, exit or preset NAME (--pid N picks one of several).\n"
           "\n"
           "Keys: Space or Enter start and pause, q or Esc ask to exit, Ctrl-C quits.\n");
}
