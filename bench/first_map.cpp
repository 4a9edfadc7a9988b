// Starts a program and waits, without polling, until the X server maps its
// window: the window benchmark's stopwatch. Polling with xdotool started a
// process every few milliseconds on the same two processors as the program
// being timed, which cost it time and spread the figures.
//
// usage: first_map [-o FILE] TITLE PROGRAM [ARGS...]
// Prints "MILLISECONDS PID" once a top-level window whose name contains TITLE
// is mapped (on a display without a window manager), and leaves the program
// running, its output going to FILE (default /dev/null) so that whoever reads
// ours is not kept waiting by it. Exits 1 if the program ends first or nothing
// is mapped in 30 s.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

double NowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// A window may be gone by the time its name is asked for; that is no reason
// to stop listening (Xlib's own handler would end the program).
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

bool NameContains(Display* display, Window window, const char* title) {
    char* name = nullptr;
    if (XFetchName(display, window, &name) == 0 || name == nullptr) return false;
    const bool found = std::strstr(name, title) != nullptr;
    XFree(name);
    return found;
}

}  // namespace

int main(int argc, char** argv) {
    const char* output = "/dev/null";
    if (argc > 2 && std::strcmp(argv[1], "-o") == 0) {
        output = argv[2];
        argv += 2;
        argc -= 2;
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: first_map [-o FILE] TITLE PROGRAM [ARGS...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "first_map: cannot open the display\n");
        return 1;
    }
    XSetErrorHandler(IgnoreXError);
    // Listening before the program starts, so no map can be missed.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const double start = NowMs();
    const pid_t pid = fork();
    if (pid == 0) {
        close(ConnectionNumber(display));
        const int out = open(output, O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out >= 0) {
            dup2(out, 1);
            dup2(out, 2);
            close(out);
        }
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    if (pid < 0) return 1;

    const double deadline = start + 30000;
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    while (NowMs() < deadline) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && NameContains(display, event.xmap.window, argv[1])) {
                std::printf("%.0f %d\n", NowMs() - start, static_cast<int>(pid));
                return 0;
            }
        }
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            std::fprintf(stderr, "first_map: %s ended before its window was mapped\n", argv[2]);
            return 1;
        }
        poll(&fd, 1, 100);
    }
    kill(pid, SIGKILL);
    std::fprintf(stderr, "first_map: no window of %s mapped in 30 s\n", argv[2]);
    return 1;
}
