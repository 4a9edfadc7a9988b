#include "app/CommandLine.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

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

}  // namespace

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
        const bool isLength = std::strcmp(arg, "--length") == 0;
        const bool isInterval = std::strcmp(arg, "--interval") == 0;
        if (isLength || isInterval) {
            int minutes = 0;
            if (i + 1 >= argc || !ParseMinutes(argv[i + 1], minutes)) {
                result.Action = CommandLineAction::Error;
                result.Error = std::string(arg) + " needs a whole number of minutes";
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
        result.Error = std::string("unknown option '") + arg + "'";
        return result;
    }
    return result;
}

const char* UsageText() {
    return "Usage: kronalt                  open the timer window\n"
           "       kronalt --console [--length MIN] [--interval MIN]\n"
           "       kronalt --help | --version\n"
           "\n"
           "--console counts down in the terminal instead: MIN minutes (--length, at\n"
           "least 2), with the interval sound every --interval minutes (0: never; a\n"
           "negative number: at random times, on average that many minutes apart).\n"
           "Without the options the stored Length and Interval settings are used;\n"
           "given ones are stored. Without a display the window falls back to this.\n"
           "\n"
           "Keys: Space or Enter start and pause, q or Esc ask to exit, Ctrl-C quits.\n";
}
