#include "Core/Platform/LocalSocket.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "tests/Support/ScopedEnv.h"
#include "tests/Support/TempDir.h"

namespace {

using namespace zam::platform;
using zam::testing::ScopedEnv;
using zam::testing::TempDir;

// Connects, sends raw bytes (no line end added), reads what comes back.
std::string RawExchange(const std::string& path, const std::string& bytes) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return "<no connection>";
    }
    if (!bytes.empty()) (void)!send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    std::string reply;
    char buf[256];
    for (ssize_t n; (n = recv(fd, buf, sizeof buf, 0)) > 0;) reply.append(buf, static_cast<size_t>(n));
    close(fd);
    return reply;
}

class LocalSocketTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(LocalSocketFolder("kronalt", folder, err)) << err;
        path = folder + "/1.sock";
        ASSERT_TRUE(server.Start(path, [](const std::string& r) { return "echo " + r; }, err)) << err;
    }
    TempDir runtime;
    ScopedEnv env{"XDG_RUNTIME_DIR", runtime.Path().c_str()};
    std::string folder;
    std::string err;
    std::string path;
    LocalSocketServer server;
};

TEST_F(LocalSocketTest, APrivateFolderAndSocket) {
    EXPECT_EQ(folder, runtime.Path() + "/kronalt");
    struct stat st {};
    ASSERT_EQ(stat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // A folder others may enter, or a link in its place, is refused.
    chmod(folder.c_str(), 0755);
    std::string other;
    EXPECT_FALSE(LocalSocketFolder("kronalt", other, err));
    chmod(folder.c_str(), 0700);
    ASSERT_EQ(symlink(folder.c_str(), (runtime.Path() + "/linked").c_str()), 0);
    EXPECT_FALSE(LocalSocketFolder("linked", other, err));
}

TEST_F(LocalSocketTest, RequestsAreLinesOfBoundedText) {
    std::string reply;
    EXPECT_EQ(LocalSocketRequest(path, "status", reply, 2000), LOCAL_OK);
    EXPECT_EQ(reply, "echo status");
    EXPECT_EQ(RawExchange(path, "toggle\r\n"), "echo toggle\n");
    EXPECT_EQ(RawExchange(path, std::string(512, 'a') + "\n"), "echo " + std::string(512, 'a') + "\n");
    EXPECT_EQ(RawExchange(path, std::string(513, 'a') + "\n"), "error: request too long\n");
    EXPECT_EQ(RawExchange(path, std::string(5000, 'a')), "error: request too long\n");
    EXPECT_EQ(RawExchange(path, std::string("st\0atus\n", 8)), "error: not a request\n");
    EXPECT_EQ(RawExchange(path, "\x1b[A\n"), "error: not a request\n");
    // Nothing sent within the time allowed: the server gives up on the peer.
    EXPECT_EQ(RawExchange(path, ""), "error: timed out\n");
    // ... and still answers the next one.
    EXPECT_EQ(LocalSocketRequest(path, "again", reply, 2000), LOCAL_OK);
}

TEST_F(LocalSocketTest, StoppedOrDeadListenersAreNobody) {
    server.Stop();
    std::string reply;
    EXPECT_EQ(LocalSocketRequest(path, "status", reply, 500), LOCAL_NOBODY);  // the file is gone
    // A socket file whose program died: bound once, never listened on again.
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(fd);
    EXPECT_EQ(LocalSocketRequest(path, "status", reply, 500), LOCAL_NOBODY);
    // A new server takes the place over.
    ASSERT_TRUE(server.Start(path, [](const std::string&) { return std::string("here"); }, err));
    EXPECT_EQ(LocalSocketRequest(path, "status", reply, 2000), LOCAL_OK);
    EXPECT_EQ(reply, "here");
}

TEST_F(LocalSocketTest, OtherUsersAreRefused) {
    if (geteuid() != 0) {
        // Not root: pretend the socket belongs to someone else instead.
        server.Stop();
        server.SetAllowedUidForTests(geteuid() + 1);
        ASSERT_TRUE(server.Start(path, [](const std::string&) { return std::string("secret"); }, err));
        EXPECT_EQ(RawExchange(path, "status\n"), "error: refused\n");
        return;
    }
    // Root may enter the folder as anyone: a child that becomes nobody knocks.
    chmod(runtime.Path().c_str(), 0755);
    chmod(folder.c_str(), 0755);
    chmod(path.c_str(), 0666);
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
        _exit(RawExchange(path, "status\n") == "error: refused\n" ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    chmod(folder.c_str(), 0700);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(LocalRequestScanTest, LinesPiecesAndRefusals) {
    std::string line;
    EXPECT_EQ(ScanLocalRequest("sta", 512, line), 0);
    EXPECT_EQ(ScanLocalRequest("status\r\nmore", 512, line), 1);
    EXPECT_EQ(line, "status");
    EXPECT_EQ(ScanLocalRequest("preset\tTea\n", 512, line), 1);
    EXPECT_EQ(ScanLocalRequest("abc\n", 2, line), -1);
    EXPECT_EQ(ScanLocalRequest("abcd", 2, line), -1);
    EXPECT_EQ(ScanLocalRequest("ab\r", 2, line), 0);  // the CR may yet be a line end's
    EXPECT_EQ(ScanLocalRequest(std::string("a\0b\n", 4), 512, line), -2);
}

}  // namespace
