#include "app/RemoteControl.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "Core/Platform/Translation.h"
#include "Core/System/Log.h"

namespace {

const int kReplyTimeoutMs = 5000;

std::string SocketOf(const std::string& folder, int pid) {
    return folder + "/" + std::to_string(pid) + ".sock";
}

// "preset NAME" gives NAME; anything else an empty text.
std::string PresetArgument(const std::string& command) {
    if (command.compare(0, 7, "preset ") != 0) return std::string();
    const size_t start = command.find_first_not_of(' ', 7);
    return start == std::string::npos ? std::string() : command.substr(start);
}

}  // namespace

bool IsRemoteCommand(const std::string& command) {
    static const char* const kPlain[] = {"toggle", "start", "pause", "status", "show", "hide", "exit"};
    for (const char* name : kPlain) {
        if (command == name) return true;
    }
    return !PresetArgument(command).empty();
}

std::string AnswerRemote(const std::string& request, RemoteTarget& target) {
    if (!IsRemoteCommand(request)) return "error: unknown command";
    const bool running = target.IsRunning();
    if (request == "toggle" || (request == "start" && !running) || (request == "pause" && running))
        target.StartPause();
    if (request == "toggle" || request == "start" || request == "pause" || request == "status") {
        CTxt state;
        target.State(state);
        return static_cast<const char*>(state);
    }
    if (request == "show" || request == "hide") {
        return target.ShowWindow(request == "show") ? "ok" : "error: no window (a terminal countdown)";
    }
    if (request == "exit") {
        target.Exit();
        return "ok";
    }
    const std::string name = PresetArgument(request);
    return target.ChoosePreset(name) ? "ok" : "error: no preset named '" + name + "'";
}

bool RemoteFolder(std::string& folder, std::string& err) {
    return zam::platform::LocalSocketFolder("kronalt", folder, err);
}

std::vector<int> RunningTimers() {
    std::vector<int> pids;
    std::string folder;
    std::string err;
    if (!RemoteFolder(folder, err)) return pids;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        char* end = nullptr;
        const long pid = std::strtol(name.c_str(), &end, 10);
        if (pid <= 0 || std::string(end) != ".sock") continue;
        std::string reply;
        // A socket nobody listens on was left by a timer that died.
        if (zam::platform::LocalSocketRequest(entry.path().string(), "status", reply, kReplyTimeoutMs) ==
            zam::platform::LOCAL_NOBODY) {
            std::filesystem::remove(entry.path(), ec);
            continue;
        }
        pids.push_back(static_cast<int>(pid));
    }
    std::sort(pids.begin(), pids.end());
    return pids;
}

int SendRemoteCommand(const std::string& command, int pid) {
    if (!IsRemoteCommand(command)) return 2;
    const std::vector<int> running = RunningTimers();
    if (running.empty()) {
        std::fputs(Tr("kronalt: no running timer\n"), stderr);
        return 3;
    }
    if (pid == 0 && running.size() > 1) {
        std::fputs(Tr("kronalt: several timers are running; choose one with --pid N:"), stderr);
        for (int p : running) std::fprintf(stderr, " %d", p);
        std::fputs("\n", stderr);
        return 2;
    }
    if (pid == 0) pid = running.front();
    if (std::find(running.begin(), running.end(), pid) == running.end()) {
        std::fprintf(stderr, Tr("kronalt: no running timer with process id %d\n"), pid);
        return 3;
    }
    std::string folder;
    std::string err;
    RemoteFolder(folder, err);
    std::string reply;
    if (zam::platform::LocalSocketRequest(SocketOf(folder, pid), command, reply, kReplyTimeoutMs) !=
        zam::platform::LOCAL_OK) {
        std::fputs(Tr("kronalt: the timer did not answer\n"), stderr);
        return 1;
    }
    if (reply.compare(0, 6, "error:") == 0) {
        std::fprintf(stderr, "kronalt: %s\n", reply.c_str() + 7);
        return 1;
    }
    std::printf("%s\n", reply.c_str());
    return 0;
}

bool RemoteServer::Start(zam::platform::LocalSocketServer::Handler handler) {
    std::string folder;
    std::string err;
    if (!RemoteFolder(folder, err) ||
        !m_Server.Start(SocketOf(folder, static_cast<int>(getpid())), std::move(handler), err)) {
        LogTrace("Remote", 1, "No remote control: %s", err.c_str());
        return false;
    }
    return true;
}
