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
        if (std::strcmp(arg, "--console") == 0) continue;
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
    return "Usage: kronalt --console [--length MIN] [--interval MIN]\n"
           "       kronalt --help | --version\n"
           "\n"
           "Counts down MIN minutes in the terminal (--length, default 60, at least 2),\n"
           "ringing the bell every --interval minutes (default 0: never; a negative\n"
           "number: at random times, on average that many minutes apart).\n"
           "\n"
           "Keys: Space or Enter start and pause, q or Esc ask to exit, Ctrl-C quits.\n";
}
