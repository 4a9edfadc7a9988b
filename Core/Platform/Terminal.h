#pragma once
// The text terminal, for programs that run without a window: key-at-a-time
// input, waiting for a key with a time-out, and a clean way back when the
// user presses Ctrl-C.

namespace zam::platform {

/// Puts standard input into key-at-a-time mode without echo for its
/// lifetime (when it is a terminal) and always restores it.
class TerminalSession {
public:
    TerminalSession();
    ~TerminalSession();
    TerminalSession(const TerminalSession&) = delete;
    TerminalSession& operator=(const TerminalSession&) = delete;

    /// True when standard input is a terminal that was switched over.
    bool IsRaw() const { return m_Raw; }

private:
    bool m_Raw = false;
};

/// Waits up to timeoutMs for input: 1 ready, 0 timed out, -1 interrupted.
int WaitForInput(int timeoutMs);

/// Reads what is there: the byte count, 0 at end of input, -1 on error.
int ReadInput(char* buffer, int size);

/// Catches Ctrl-C and termination requests so the program can restore the
/// terminal and leave; InterruptRequested then answers true.
void InstallInterruptHandler();
bool InterruptRequested();

/// True when standard output is a terminal.
bool OutputIsTerminal();

/// True when standard input is a terminal (a terminal editor could show);
/// the override, when set, answers instead.
bool InputIsTerminal();
/// Tests answer for the terminal: 0 or 1; -1 asks the real one again.
void SetInputIsTerminalOverride(int answer);

}  // namespace zam::platform
