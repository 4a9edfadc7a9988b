#include "Core/Platform/LocalSocket.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
namespace zam::platform {

namespace {

int64_t NowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

bool FillAddress(const std::string& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// Waits until fd is ready for events or the deadline passes; false on time-out.
bool WaitReady(int fd, short events, int64_t deadline) {
    for (;;) {
        const int64_t left = deadline - NowMs();
        if (left <= 0) return false;
        pollfd p{fd, events, 0};
        const int n = poll(&p, 1, static_cast<int>(left));
        if (n > 0) return true;
        if (n < 0 && errno != EINTR) return false;
    }
}

void WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = send(fd, text.data() + done, text.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        done += static_cast<size_t>(n);
    }
}

// Reads one line (without its line end) of at most max bytes before deadline.
// 1 read; -1 too long; -2 not text; -3 timed out or broken.
int ReadLine(int fd, size_t max, int64_t deadline, std::string& line) {
    std::string received;
    char buf[256];
    for (;;) {
        const int scanned = ScanLocalRequest(received, max, line);
        if (scanned != 0) return scanned;
        if (!WaitReady(fd, POLLIN, deadline)) return -3;
        const ssize_t n = recv(fd, buf, sizeof buf, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return -3;
        received.append(buf, static_cast<size_t>(n));
    }
}

}  // namespace

int ScanLocalRequest(const std::string& received, size_t max, std::string& line) {
    line.clear();
    for (const char ch : received) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return line.size() <= max ? 1 : -1;
        }
        if (c < 0x20 && c != '\t' && c != '\r') return -2;
        if (line.size() > max) return -1;  // room for a CR before the LF
        line += static_cast<char>(c);
    }
    return line.size() > max + 1 ? -1 : 0;
}

bool LocalSocketFolder(const char* name, std::string& folder, std::string& err) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        folder = std::string(runtime) + "/" + name;
    } else {
        folder = std::string("/tmp/") + name + "-" + std::to_string(geteuid());
    }
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        err = folder + ": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (lstat(folder.c_str(), &st) != 0) {
        err = folder + ": " + std::strerror(errno);
        return false;
    }
    // Someone else's folder, or a link to one, would let them listen in or
    // take the place of a running timer.
    if (!S_ISDIR(st.st_mode) || st.st_uid != geteuid() || (st.st_mode & 077) != 0) {
        err = folder + ": not a private folder of this user";
        return false;
    }
    return true;
}

bool LocalSocketServer::Start(const std::string& path, Handler handler, std::string& err) {
    Stop();
    sockaddr_un address{};
    if (!FillAddress(path, address)) {
        err = path + ": the name is too long for a socket";
        return false;
    }
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        err = std::string("socket: ") + std::strerror(errno);
        return false;
    }
    unlink(path.c_str());
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        chmod(path.c_str(), 0600) != 0 || listen(fd, 8) != 0 || pipe2(m_StopPipe, O_CLOEXEC) != 0) {
        err = path + ": " + std::strerror(errno);
        close(fd);
        unlink(path.c_str());
        return false;
    }
    m_Path = path;
    m_Handler = std::move(handler);
    m_Listen = fd;
    if (m_AllowedUid < 0) m_AllowedUid = geteuid();
    m_Thread = std::thread([this] { Serve(); });
    return true;
}

void LocalSocketServer::Stop() {
    if (m_Listen < 0) return;
    const char stop = 1;
    (void)!write(m_StopPipe[1], &stop, 1);
    m_Thread.join();
    close(m_Listen);
    close(m_StopPipe[0]);
    close(m_StopPipe[1]);
    m_Listen = -1;
    m_StopPipe[0] = m_StopPipe[1] = -1;
    unlink(m_Path.c_str());
}

void LocalSocketServer::Serve() {
    for (;;) {
        pollfd p[2] = {{m_Listen, POLLIN, 0}, {m_StopPipe[0], POLLIN, 0}};
        if (poll(p, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (p[1].revents != 0) return;
        if ((p[0].revents & POLLIN) == 0) continue;
        const int client = accept4(m_Listen, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        Answer(client);
        close(client);
    }
}

void LocalSocketServer::Answer(int client) {
    ucred peer{};
    socklen_t size = sizeof peer;
    if (getsockopt(client, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 ||
        static_cast<long long>(peer.uid) != m_AllowedUid) {
        WriteAll(client, "error: refused\n");
        return;
    }
    std::string request;
    switch (ReadLine(client, kLocalRequestMax, NowMs() + kLocalRequestTimeoutMs, request)) {
    case 1: break;
    case -1: WriteAll(client, "error: request too long\n"); return;
    case -2: WriteAll(client, "error: not a request\n"); return;
    default: WriteAll(client, "error: timed out\n"); return;
    }
    WriteAll(client, m_Handler(request) + "\n");
}

int LocalSocketRequest(const std::string& path, const std::string& request, std::string& reply,
                       int timeoutMs) {
    reply.clear();
    sockaddr_un address{};
    if (!FillAddress(path, address)) return LOCAL_NOBODY;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return LOCAL_FAILED;
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        const int error = errno;
        close(fd);
        return error == ECONNREFUSED || error == ENOENT ? LOCAL_NOBODY : LOCAL_FAILED;
    }
    WriteAll(fd, request + "\n");
    // A reply is no longer than a request's worth of status, but allow more.
    const int read = ReadLine(fd, 4096, NowMs() + timeoutMs, reply);
    close(fd);
    return read == 1 ? LOCAL_OK : LOCAL_FAILED;
}

}  // namespace zam::platform
