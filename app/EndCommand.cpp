#include "app/EndCommand.h"

#include <cstring>

#include "Core/Platform/Process.h"
#include "Core/System/Log.h"
#include "Core/System/Profile.h"

namespace {

bool g_failureLogged = false;

// Placeholders are filled in after splitting, so a preset name with blanks
// stays one argument.
std::string Fill(const std::string& argument, int lengthMinutes, const std::string& presetName) {
    std::string out;
    for (size_t i = 0; i < argument.size(); ++i) {
        if (argument[i] != '%' || i + 1 >= argument.size()) {
            out += argument[i];
            continue;
        }
        const char what = argument[++i];
        if (what == 'm') {
            out += std::to_string(lengthMinutes);
        } else if (what == 'p') {
            out += presetName;
        } else if (what == '%') {
            out += '%';
        } else {
            out += '%';
            out += what;
        }
    }
    return out;
}

}  // namespace

std::vector<std::string> EndCommandArguments(const char* command, int lengthMinutes,
                                             const std::string& presetName) {
    std::vector<std::string> argv = zam::platform::SplitCommandLine(command);
    for (std::string& argument : argv) argument = Fill(argument, lengthMinutes, presetName);
    return argv;
}

bool RunEndCommand(int lengthMinutes, const std::string& presetName) {
    std::string command;
    ProfileReadStr("SYS", "EndCommand", "", command);
    zam::platform::ProcessRequest request;
    request.Argv = EndCommandArguments(command.c_str(), lengthMinutes, presetName);
    if (request.Argv.empty()) return false;
    const zam::platform::ProcessResult started = zam::platform::StartProcess(request, false);
    if (!started.Started() && !g_failureLogged) {
        g_failureLogged = true;
        LogTrace("EndCmd", 1, "EndCommand '%.300s' cannot start: %s", command.c_str(),
                 std::strerror(started.Error));
    }
    return started.Started();
}
