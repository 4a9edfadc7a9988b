#pragma once
// The program's command line.

#include <string>

#include "app/ConsoleTimer.h"

enum class CommandLineAction { RunWindow, RunConsole, ShowHelp, ShowVersion, Error };

struct CommandLine {
    CommandLineAction Action = CommandLineAction::RunWindow;
    ConsoleOptions Console;
    std::string Error;  ///< what was wrong, for Action Error
};

/// Reads the arguments (argv[0] is the program).
CommandLine ParseCommandLine(int argc, const char* const* argv);

/// The usage text, ending with a line end.
const char* UsageText();
