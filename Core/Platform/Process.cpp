#include "Core/Platform/Process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>

extern char** environ;

namespace zam::platform {

namespace {

// Children started without waiting. They are reaped at the next start, so a
// long session that opens many pages leaves at most the latest ones behind.
std::mutex g_unwaitedLock;
std::vector<pid_t> g_unwaited;

void ReapFinished() {
    std::lock_guard<std::mutex> hold(g_unwaitedLock);
    g_unwaited.erase(std::remove_if(g_unwaited.begin(), g_unwaited.end(),
                                    [](pid_t pid) {
                                        int status = 0;
                                        const pid_t done = waitpid(pid, &status, WNOHANG);
                                        return done == pid || (done < 0 && errno == ECHILD);
                                    }),
                     g_unwaited.end());
}

void Remember(pid_t pid) {
    std::lock_guard<std::mutex> hold(g_unwaitedLock);
    g_unwaited.push_back(pid);
}

void WaitForEnd(pid_t pid, ProcessResult& result) {
    int status = 0;
    pid_t done;
    do {
        done = waitpid(pid, &status, 0);
    } while (done < 0 && errno == EINTR);
    if (done != pid) return;  // its end cannot be read: Waited stays false
    result.Waited = true;
    if (WIFEXITED(status)) result.ExitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.Signal = WTERMSIG(status);
}

class SpawnStarter : public ProcessStarter {
public:
    ProcessResult Start(const ProcessRequest& request, bool wait) override {
        ProcessResult result;
        ReapFinished();
        if (request.Argv.empty()) {
            result.Error = ENOENT;
            return result;
        }
        std::vector<char*> argv;
        argv.reserve(request.Argv.size() + 1);
        for (const std::string& arg : request.Argv) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);

        posix_spawnattr_t attr;
        posix_spawnattr_init(&attr);
        // The child starts with a clean signal state whatever we ignore or
        // block (a console front end blocks and catches several).
        short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
        // A detached program gets a session of its own: our terminal's
        // Ctrl-C and hang-up no longer reach it.
        if ((request.CreationFlags & DETACHED_PROCESS) != 0) flags |= POSIX_SPAWN_SETSID;
        sigset_t mask;
        sigemptyset(&mask);
        posix_spawnattr_setsigmask(&attr, &mask);
        sigset_t defaults;
        sigemptyset(&defaults);
        for (int sig : {SIGPIPE, SIGINT, SIGQUIT, SIGTERM, SIGHUP, SIGCHLD, SIGALRM})
            sigaddset(&defaults, sig);
        posix_spawnattr_setsigdefault(&attr, &defaults);
        posix_spawnattr_setflags(&attr, flags);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
        // Nothing of ours but the three standard streams is inherited: no log,
        // no profile lock, no descriptor someone forgot to mark close-on-exec.
        posix_spawn_file_actions_addclosefrom_np(&actions, 3);
#endif
        pid_t pid = 0;
        const int rc = posix_spawnp(&pid, argv[0], &actions, &attr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attr);
        if (rc != 0) {
            result.Error = rc;
            return result;
        }
        if (wait) {
            WaitForEnd(pid, result);
        } else {
            Remember(pid);
        }
        return result;
    }
};

ProcessStarter* g_starter = nullptr;

ProcessStarter& Starter() {
    static SpawnStarter real;
    return g_starter != nullptr ? *g_starter : real;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsExecutableFile(const std::string& path) {
    struct stat st{};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

}  // namespace

void SetProcessStarter(ProcessStarter* starter) { g_starter = starter; }

ProcessResult StartProcess(const ProcessRequest& request, bool wait) {
    return Starter().Start(request, wait);
}

std::string QuoteCommandLineArgument(const std::string& argument) {
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count only before a quote: there they are doubled and
        // the quote escaped; elsewhere they stay as they are.
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, '\\');  // they stand before the closing quote
    return quoted + "\"";
}

std::vector<std::string> SplitCommandLine(const char* line) {
    std::vector<std::string> args;
    if (line == nullptr) return args;
    const char* p = line;
    while (IsBlank(*p)) ++p;
    if (*p == '\0') return args;

    // The program's name: quotes group, backslashes are path separators.
    std::string program;
    bool quoted = false;
    for (; *p != '\0' && (quoted || !IsBlank(*p)); ++p) {
        if (*p == '"') {
            quoted = !quoted;
        } else {
            program += *p;
        }
    }
    args.push_back(program);

    for (;;) {
        while (IsBlank(*p)) ++p;
        if (*p == '\0') break;
        std::string arg;
        quoted = false;
        while (*p != '\0' && (quoted || !IsBlank(*p))) {
            size_t slashes = 0;
            while (*p == '\\') {
                ++slashes;
                ++p;
            }
            if (*p == '"') {
                arg.append(slashes / 2, '\\');
                if (slashes % 2 == 1) {
                    arg += '"';
                    ++p;
                } else if (quoted && p[1] == '"') {
                    arg += '"';
                    p += 2;
                } else {
                    quoted = !quoted;
                    ++p;
                }
                continue;
            }
            arg.append(slashes, '\\');
            if (*p == '\0' || (!quoted && IsBlank(*p))) break;
            arg += *p++;
        }
        args.push_back(arg);
    }
    return args;
}

bool FindProgram(const char* name, std::string* path) {
    if (name == nullptr || name[0] == '\0') return false;
    if (std::strchr(name, '/') != nullptr) {
        if (!IsExecutableFile(name)) return false;
        if (path != nullptr) *path = name;
        return true;
    }
    // The same search path posix_spawnp falls back on.
    const char* env = std::getenv("PATH");
    const std::string folders = env != nullptr ? env : "/bin:/usr/bin";
    size_t start = 0;
    for (;;) {
        const size_t end = folders.find(':', start);
        std::string folder = folders.substr(start, end == std::string::npos ? end : end - start);
        if (folder.empty()) folder = ".";
        const std::string candidate = folder + "/" + name;
        if (IsExecutableFile(candidate)) {
            if (path != nullptr) *path = candidate;
            return true;
        }
        if (end == std::string::npos) return false;
        start = end + 1;
    }
}

}  // namespace zam::platform
