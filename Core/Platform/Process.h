#pragma once
// Starting other programs. A program is always started from an argument
// vector with posix_spawnp: no text is ever handed to a shell unless the
// caller builds the shell's own argument vector on purpose. The start goes
// through a replaceable starter, so tests can see what would have been
// started without starting anything, or let the real one start small
// programs of their own.

#include <string>
#include <vector>

#include "Core/Platform/WinTypes.h"

// Start flags, window states and creation flags with their Windows values, so
// that callers choose them as the library always has. On this system the
// window hints only travel with the request; DETACHED_PROCESS is honoured.
#define STARTF_USESHOWWINDOW 0x00000001u
#define STARTF_RUNFULLSCREEN 0x00000020u
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define NORMAL_PRIORITY_CLASS 0x00000020u
#define DETACHED_PROCESS 0x00000008u

namespace zam::platform {

/// What to start and how.
struct ProcessRequest {
    std::vector<std::string> Argv;          ///< Argv[0]: the program, searched in PATH without '/'
    UINT StartFlags = STARTF_USESHOWWINDOW; ///< window hints (STARTF_*)
    int ShowWindow = SW_SHOW;               ///< window state (SW_*)
    UINT CreationFlags = 0;                 ///< DETACHED_PROCESS: a session of its own
};

/// How a start, and the wait for its end, went.
struct ProcessResult {
    int Error = 0;        ///< errno of a failed start; 0 when it started
    bool Waited = false;  ///< true when it was waited for and its end was seen
    int ExitCode = 0;     ///< exit status when it ended by itself
    int Signal = 0;       ///< the signal that ended it; 0 when it exited
    /// True when the program was started.
    bool Started() const { return Error == 0; }
};

/// Starts programs; the installed one answers every request.
class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;
    /// Starts request; with wait, returns once the program has ended.
    virtual ProcessResult Start(const ProcessRequest& request, bool wait) = 0;
};

/// Installs a starter (not owned); nullptr restores the real one.
void SetProcessStarter(ProcessStarter* starter);

/// Starts request through the installed starter. The real one gives: Error
/// ENOENT for an empty vector, else posix_spawnp's errno (ENOENT for a missing
/// program); with wait, ExitCode or Signal once Waited (Waited false when its
/// end cannot be read); without wait the child is reaped at a later start.
ProcessResult StartProcess(const ProcessRequest& request, bool wait);

/// Splits a command line into arguments by the rules Windows programs use:
/// blanks and tabs separate; double quotes group; 2n backslashes before a
/// quote give n and the quote groups, 2n+1 give n and a literal quote; two
/// quotes inside a group give one literal quote; other backslashes stay. The
/// first argument (the program) knows quotes but no backslash rules. Null or
/// blank text gives no arguments.
std::vector<std::string> SplitCommandLine(const char* line);

/// One argument quoted so that SplitCommandLine gives it back whole (not
/// for the first argument, the program): blanks, quotes and backslashes kept.
std::string QuoteCommandLineArgument(const std::string& argument);

/// True when name (no '/') is an executable file in a folder of PATH, or
/// (with '/') is itself one; its full path in *path when asked for.
bool FindProgram(const char* name, std::string* path = nullptr);

}  // namespace zam::platform
