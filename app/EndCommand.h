#pragma once
// The user's own command at the end of a countdown (`EndCommand`): the line
// is split into arguments as the library's launcher splits every command
// line (no shell), "%m" becomes the length in minutes, "%p" the chosen
// preset's name and "%%" a percent sign. The command is started and left to
// run; the countdown never waits for it.

#include <string>
#include <vector>

/// The argument vector for command (empty: nothing to run).
std::vector<std::string> EndCommandArguments(const char* command, int lengthMinutes,
                                             const std::string& presetName);

/// Starts the stored `EndCommand`, if any. A command that cannot be started
/// is logged, once per process; never an error box. True when something was
/// started.
bool RunEndCommand(int lengthMinutes, const std::string& presetName);
