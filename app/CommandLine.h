#pragma once
// The program's command line.

#include <string>

#include "app/ConsoleTimer.h"

enum class CommandLineAction { RunWindow, RunConsole, ShowHelp, ShowVersion, ListPresets, Remote, Error };

struct CommandLine {
    CommandLineAction Action = CommandLineAction::RunWindow;
    ConsoleOptions Console;
    std::string Error;  ///< what was wrong, for Action Error
    std::string Remote; ///< the command for a running timer, for Action Remote
    int Pid = 0;        ///< the running timer's process id (0: the only one)
};

/// Reads the arguments (argv[0] is the program).
CommandLine ParseCommandLine(int argc, const char* const* argv);

/// Reads "HH:MM" or "HH:MM:SS" (hours 0-23, one or two digits each part);
/// false for anything else.
bool ParseClockTime(const char* text, int& hour, int& minute, int& second);

/// The usage text, ending with a line end.
const char* UsageText();
