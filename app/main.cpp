#include <cstdio>

#include "app/CommandLine.h"
#include "app/ConsoleTimer.h"
#include "app/Version.h"

int main(int argc, char** argv) {
    const CommandLine command = ParseCommandLine(argc, argv);
    switch (command.Action) {
    case CommandLineAction::ShowHelp:
        std::fputs(UsageText(), stdout);
        return 0;
    case CommandLineAction::ShowVersion:
        std::printf("Kronalt %s (built %s)\n", KRONALT_VERSION, BuildDate());
        return 0;
    case CommandLineAction::Error:
        std::fprintf(stderr, "kronalt: %s\n%s", command.Error.c_str(), UsageText());
        return 2;
    case CommandLineAction::RunConsole:
        break;
    }
    return RunConsoleTimer(command.Console);
}
