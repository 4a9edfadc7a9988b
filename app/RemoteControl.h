#pragma once
// Remote control of a running timer: `kronalt --remote COMMAND` sends one
// line to the timer's own socket (Core/Platform/LocalSocket) and prints the
// one-line answer. The commands and their answers are here, window-free; the
// window and the console countdown each offer a RemoteTarget.

#include <string>
#include <vector>

#include "Core/Platform/LocalSocket.h"
#include "Core/Text/CTxt.h"

/// What a running timer does for remote commands; called on its own thread.
class RemoteTarget {
public:
    virtual ~RemoteTarget() = default;
    virtual void StartPause() = 0;
    virtual bool IsRunning() = 0;
    /// The state line (CCountdown::GetStateText).
    virtual void State(CTxt& out) = 0;
    /// Shows or hides the window; false where there is none.
    virtual bool ShowWindow(bool show) = 0;
    /// Ends the program without asking.
    virtual void Exit() = 0;
    /// Chooses the preset of that name (any case); false when there is none.
    virtual bool ChoosePreset(const std::string& name) = 0;
};

/// True for a command the timer knows: toggle, start, pause, status, show,
/// hide, exit, or "preset NAME".
bool IsRemoteCommand(const std::string& command);

/// Carries out one request on target and gives the answer line: the state
/// after toggle, start, pause and status; "ok" after the others; "error: ..."
/// for what cannot be done.
std::string AnswerRemote(const std::string& request, RemoteTarget& target);

/// The folder of the running timers' sockets; false with the reason in err.
bool RemoteFolder(std::string& folder, std::string& err);

/// The process ids of the running timers, sockets left by programs that died
/// removed on the way.
std::vector<int> RunningTimers();

/// Sends command to the timer with process id pid (0: the only one running),
/// prints its answer (errors on standard error) and returns the exit code:
/// 0 done, 1 refused, failed or timed out, 2 not a command, 3 no timer
/// running (or not the one asked for); with several running and no pid, 2
/// and their process ids.
int SendRemoteCommand(const std::string& command, int pid);

/// This process's listening end, for either front end.
class RemoteServer {
public:
    /// Listens for this process; a failure is logged, never shown. False then.
    bool Start(zam::platform::LocalSocketServer::Handler handler);
    void Stop() { m_Server.Stop(); }

private:
    zam::platform::LocalSocketServer m_Server;
};
