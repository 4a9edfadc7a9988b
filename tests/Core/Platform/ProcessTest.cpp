#include "Core/Platform/Process.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/Support/TempDir.h"

namespace {

using zam::platform::ProcessRequest;
using zam::platform::ProcessResult;
using zam::platform::SplitCommandLine;
using zam::testing::TempDir;
using Args = std::vector<std::string>;

ProcessResult Start(Args argv, bool wait = true, UINT creation = 0) {
    ProcessRequest request;
    request.Argv = std::move(argv);
    request.CreationFlags = creation;
    return zam::platform::StartProcess(request, wait);
}

// Children of this process that have ended but were never reaped.
int ZombieChildren() {
    int zombies = 0;
    DIR* proc = opendir("/proc");
    while (dirent* entry = proc != nullptr ? readdir(proc) : nullptr) {
        std::string stat;
        std::getline(std::ifstream(std::string("/proc/") + entry->d_name + "/stat"), stat);
        const size_t close = stat.rfind(')');
        char state = 0;
        int parent = 0;
        if (close != std::string::npos &&
            std::sscanf(stat.c_str() + close + 1, " %c %d", &state, &parent) == 2 &&
            parent == getpid() && state == 'Z')
            ++zombies;
    }
    if (proc != nullptr) closedir(proc);
    return zombies;
}

TEST(SplitCommandLineTest, WindowsQuotingAndBackslashRules) {
    const std::pair<const char*, Args> cases[] = {
        {"prog a  b\tc", {"prog", "a", "b", "c"}},
        {"p \"a b\" x\"y z\"w \"\"", {"p", "a b", "xy zw", ""}},
        {"p \"open group", {"p", "open group"}},
        {"p \"say \"\"hi\"\"\"", {"p", "say \"hi\""}},            // "" inside a group
        {"p a\\b c\\\\d end\\", {"p", "a\\b", "c\\\\d", "end\\"}},  // not before a quote: kept
        {"p a\\\"b", {"p", "a\"b"}},                              // odd: literal quote
        {"p a\\\\\"b c\"", {"p", "a\\b c"}},                      // even: halved, quote groups
        {"p a\\\\\\\"b", {"p", "a\\\"b"}},
        {"\"C:\\Program Files\\web.exe\" -new", {"C:\\Program Files\\web.exe", "-new"}},
        {"C:\\bin\\\"x y\" z", {"C:\\bin\\x y", "z"}},  // the program knows no escapes
        {" \t ", {}},
    };
    for (const auto& [line, expected] : cases) EXPECT_EQ(SplitCommandLine(line), expected) << line;
    EXPECT_TRUE(SplitCommandLine(nullptr).empty());

    // Quoting gives any argument back whole.
    for (const char* argument : {"/home/me/My Files/kronalt.ini", "", "a\\b\\", "say \"hi\"",
                                 "end\\\\", "x\\\"y", "\"\"", "tab\there"}) {
        const std::string line = std::string("editor ") + zam::platform::QuoteCommandLineArgument(argument);
        EXPECT_EQ(SplitCommandLine(line.c_str()), (Args{"editor", argument})) << argument;
    }
}

TEST(StartProcessTest, ExitCodesSignalsAndFailedStarts) {
    ProcessResult result = Start({"true"});
    EXPECT_TRUE(result.Started() && result.Waited);
    EXPECT_EQ(result.ExitCode, 0);
    EXPECT_EQ(Start({"/bin/sh", "-c", "exit 7"}).ExitCode, 7);
    result = Start({"/bin/sh", "-c", "kill -KILL $$"});
    EXPECT_TRUE(result.Waited);
    EXPECT_EQ(result.Signal, SIGKILL);

    TempDir dir;
    dir.Write("plain.txt", "not a program\n");
    EXPECT_EQ(Start({"no-such-program-kronalt"}).Error, ENOENT);
    EXPECT_EQ(Start({dir.File("plain.txt")}, false).Error, EACCES);
    EXPECT_EQ(Start({}).Error, ENOENT);
}

TEST(StartProcessTest, DetachedSessionsAndNoInheritedDescriptors) {
    TempDir dir;
    const int held = open(dir.File("held").c_str(), O_CREAT | O_WRONLY, 0600);  // no O_CLOEXEC
    ASSERT_GE(held, 3);
    const std::string script = "cut -d' ' -f6 /proc/$$/stat > \"$0\"; [ -e /proc/$$/fd/" +
                               std::to_string(held) + " ]; echo $? >> \"$0\"";
    Start({"/bin/sh", "-c", script, dir.File("shared")});
    Start({"/bin/sh", "-c", script, dir.File("detached")}, true, DETACHED_PROCESS);
    close(held);
    EXPECT_EQ(dir.Read("shared"), std::to_string(getsid(0)) + "\n1\n");
    EXPECT_NE(std::atoi(dir.Read("detached").c_str()), getsid(0));
    EXPECT_EQ(dir.Read("detached").substr(dir.Read("detached").find('\n')), "\n1\n");
}

TEST(StartProcessTest, UnwaitedChildrenAreReapedByTheNextStart) {
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(Start({"true"}, false).Started());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    Start({"true"});
    EXPECT_EQ(ZombieChildren(), 0);
}

}  // namespace
