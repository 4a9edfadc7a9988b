#include "Core/Platform/Terminal.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace zam::platform {

namespace {

volatile sig_atomic_t g_interrupted = 0;
termios g_saved{};

void OnInterrupt(int) { g_interrupted = 1; }

}  // namespace

TerminalSession::TerminalSession() {
    if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &g_saved) != 0) return;
    termios raw = g_saved;
    // Signals stay on, so Ctrl-C still arrives and ends the program cleanly.
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    m_Raw = tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0;
}

TerminalSession::~TerminalSession() {
    if (m_Raw) tcsetattr(STDIN_FILENO, TCSANOW, &g_saved);
}

int WaitForInput(int timeoutMs) {
    pollfd fd{STDIN_FILENO, POLLIN, 0};
    int n = poll(&fd, 1, timeoutMs < 0 ? 0 : timeoutMs);
    if (n < 0) return errno == EINTR ? -1 : 0;
    return n > 0 ? 1 : 0;
}

int ReadInput(char* buffer, int size) {
    if (size <= 0) return -1;
    ssize_t n = read(STDIN_FILENO, buffer, static_cast<size_t>(size));
    return n < 0 ? -1 : static_cast<int>(n);
}

void InstallInterruptHandler() {
    struct sigaction action{};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no restart: a waiting poll returns at once
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

bool InterruptRequested() { return g_interrupted != 0; }

bool OutputIsTerminal() { return isatty(STDOUT_FILENO) != 0; }

namespace {
int g_inputTerminalOverride = -1;
}

bool InputIsTerminal() {
    if (g_inputTerminalOverride >= 0) return g_inputTerminalOverride != 0;
    return isatty(STDIN_FILENO) != 0;
}

void SetInputIsTerminalOverride(int answer) { g_inputTerminalOverride = answer; }

}  // namespace zam::platform
