#pragma once
// A running program's local control line: a Unix-domain socket in a folder
// only its user can enter, answering one request line at a time from a
// thread of its own. Only a peer of the same user is answered. Requests are
// one line of at most kLocalRequestMax bytes, read with a time-out; anything
// else gets an "error: ..." line and the connection is dropped.

#include <functional>
#include <string>
#include <thread>

namespace zam::platform {

/// Longest request, in bytes, without its line end.
constexpr int kLocalRequestMax = 512;
/// How long a peer may take to send its request, in milliseconds.
constexpr int kLocalRequestTimeoutMs = 2000;

/// The user's folder for such sockets: "$XDG_RUNTIME_DIR/<name>", else
/// "/tmp/<name>-<uid>"; made 0700 when missing, and refused (false, the
/// reason in err) unless it is a real folder owned by this user that nobody
/// else may enter.
bool LocalSocketFolder(const char* name, std::string& folder, std::string& err);

class LocalSocketServer {
public:
    /// Answers a request; called on the server's thread.
    using Handler = std::function<std::string(const std::string& request)>;

    LocalSocketServer() = default;
    LocalSocketServer(const LocalSocketServer&) = delete;
    LocalSocketServer& operator=(const LocalSocketServer&) = delete;
    ~LocalSocketServer() { Stop(); }

    /// Listens at path (a socket only this user may use; a file left there is
    /// replaced) and starts answering. False with the reason in err.
    bool Start(const std::string& path, Handler handler, std::string& err);
    /// Stops answering, waits for the thread and removes the socket file.
    void Stop();
    bool IsRunning() const { return m_Listen >= 0; }

    /// Test hook: the user id a peer must have (default: this process's).
    void SetAllowedUidForTests(unsigned uid) { m_AllowedUid = uid; }

private:
    void Serve();
    void Answer(int client);

    std::string m_Path;
    Handler m_Handler;
    int m_Listen = -1;
    int m_StopPipe[2] = {-1, -1};
    long long m_AllowedUid = -1;
    std::thread m_Thread;
};

/// Looks for one request line in the bytes received so far: 1 complete (the
/// line, without CR LF or LF, in line), 0 more is needed, -1 longer than max
/// bytes, -2 not text (a control byte other than tab or CR).
int ScanLocalRequest(const std::string& received, size_t max, std::string& line);

/// Results of LocalSocketRequest.
enum : int {
    LOCAL_OK = 0,
    LOCAL_NOBODY = -1,   ///< nothing listens there (missing, or left by a program that died)
    LOCAL_FAILED = -2,   ///< refused, timed out, or the line broke
};

/// Sends request (one line) to the socket at path and reads one reply line
/// into reply, waiting at most timeoutMs. LOCAL_OK, LOCAL_NOBODY or LOCAL_FAILED.
int LocalSocketRequest(const std::string& path, const std::string& request, std::string& reply,
                       int timeoutMs);

}  // namespace zam::platform
