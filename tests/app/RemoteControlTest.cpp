#include "app/RemoteControl.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "tests/Support/ScopedEnv.h"
#include "tests/Support/TempDir.h"

namespace {

using zam::testing::ScopedEnv;
using zam::testing::TempDir;

class FakeTarget : public RemoteTarget {
public:
    void StartPause() override { running = !running; }
    bool IsRunning() override { return running; }
    void State(CTxt& out) override { out = running ? "running 00:01 - 24:59" : "paused 00:01 - 24:59"; }
    bool ShowWindow(bool show) override {
        shown = show;
        return hasWindow;
    }
    void Exit() override { exited = true; }
    bool ChoosePreset(const std::string& name) override {
        chosen = name;
        return name == "Tea";
    }
    bool running = false;
    bool hasWindow = true;
    bool shown = false;
    bool exited = false;
    std::string chosen;
};

TEST(RemoteAnswerTest, EveryCommand) {
    FakeTarget target;
    EXPECT_EQ(AnswerRemote("start", target), "running 00:01 - 24:59");
    EXPECT_EQ(AnswerRemote("start", target), "running 00:01 - 24:59");  // already running: stays
    EXPECT_EQ(AnswerRemote("pause", target), "paused 00:01 - 24:59");
    EXPECT_EQ(AnswerRemote("pause", target), "paused 00:01 - 24:59");
    EXPECT_EQ(AnswerRemote("toggle", target), "running 00:01 - 24:59");
    EXPECT_EQ(AnswerRemote("status", target), "running 00:01 - 24:59");
    EXPECT_EQ(AnswerRemote("hide", target), "ok");
    EXPECT_FALSE(target.shown);
    target.hasWindow = false;
    EXPECT_EQ(AnswerRemote("show", target).rfind("error: ", 0), 0u);
    EXPECT_EQ(AnswerRemote("preset Tea", target), "ok");
    EXPECT_EQ(AnswerRemote("preset  Coffee ", target), "error: no preset named 'Coffee '");
    for (const char* bad : {"", "STATUS", "preset", "preset ", "exit now", "toggle\t"}) {
        EXPECT_EQ(AnswerRemote(bad, target), "error: unknown command") << bad;
    }
    EXPECT_FALSE(target.exited);
    EXPECT_EQ(AnswerRemote("exit", target), "ok");
    EXPECT_TRUE(target.exited);
}

// Real servers in a runtime folder of the test's own, as two running timers would have.
class RemoteClientTest : public ::testing::Test {
protected:
    void Listen(zam::platform::LocalSocketServer& server, int pid, const char* answer) {
        std::string folder;
        std::string err;
        ASSERT_TRUE(RemoteFolder(folder, err)) << err;
        ASSERT_TRUE(server.Start(folder + "/" + std::to_string(pid) + ".sock",
                                 [answer](const std::string&) { return std::string(answer); }, err));
    }
    TempDir runtime;
    ScopedEnv env{"XDG_RUNTIME_DIR", runtime.Path().c_str()};
};

TEST_F(RemoteClientTest, FindsTheTimerAndSaysWhatWentWrong) {
    EXPECT_EQ(SendRemoteCommand("status", 0), 3);  // none running
    EXPECT_EQ(SendRemoteCommand("bogus", 0), 2);

    zam::platform::LocalSocketServer first;
    Listen(first, 100, "running 00:01 - 24:59");
    EXPECT_EQ(SendRemoteCommand("status", 0), 0);
    EXPECT_EQ(SendRemoteCommand("status", 999), 3);  // not that one

    zam::platform::LocalSocketServer second;
    Listen(second, 200, "error: no preset named 'x'");
    EXPECT_EQ(RunningTimers(), (std::vector<int>{100, 200}));
    EXPECT_EQ(SendRemoteCommand("status", 0), 2);    // which one?
    EXPECT_EQ(SendRemoteCommand("preset x", 200), 1);  // its refusal

    // A timer that died left its socket behind: the next look removes it.
    second.Stop();
    std::string folder;
    std::string err;
    RemoteFolder(folder, err);
    std::FILE* stale = std::fopen((folder + "/300.sock").c_str(), "w");
    ASSERT_NE(stale, nullptr);
    std::fclose(stale);
    EXPECT_EQ(RunningTimers(), (std::vector<int>{100}));
    EXPECT_FALSE(std::ifstream(folder + "/300.sock").good());
    EXPECT_EQ(SendRemoteCommand("status", 0), 0);
}

}  // namespace
