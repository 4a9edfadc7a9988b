#include "app/EndCommand.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "Core/Platform/Process.h"
#include "Core/System/Profile.h"

namespace {

using Args = std::vector<std::string>;

// Records what would be started; fails the start when told to.
class FakeStarter : public zam::platform::ProcessStarter {
public:
    FakeStarter() { zam::platform::SetProcessStarter(this); }
    ~FakeStarter() override { zam::platform::SetProcessStarter(nullptr); }
    zam::platform::ProcessResult Start(const zam::platform::ProcessRequest& request, bool wait) override {
        Started.push_back(request.Argv);
        Waited = Waited || wait;
        zam::platform::ProcessResult result;
        result.Error = Fail ? ENOENT : 0;
        return result;
    }
    std::vector<Args> Started;
    bool Waited = false;
    bool Fail = false;
};

TEST(EndCommandTest, PlaceholdersFillWholeArguments) {
    EXPECT_EQ(EndCommandArguments("notify-send \"Done: %m min\" %p", 25, "Short break"),
              (Args{"notify-send", "Done: 25 min", "Short break"}));
    EXPECT_EQ(EndCommandArguments("echo 100%% %x %", 5, ""), (Args{"echo", "100%", "%x", "%"}));
    // A name that looks like shell syntax stays one plain argument.
    EXPECT_EQ(EndCommandArguments("log %p", 5, "$(rm -rf ~); x"), (Args{"log", "$(rm -rf ~); x"}));
    EXPECT_TRUE(EndCommandArguments("", 5, "x").empty());
    EXPECT_TRUE(EndCommandArguments("   ", 5, "x").empty());
}

TEST(EndCommandTest, StartedWithoutWaitingAndFailuresAreQuiet) {
    char ini[1000];
    GetIniPath(ini, sizeof ini);
    std::remove(ini);
    FakeStarter starter;
    EXPECT_FALSE(RunEndCommand(25, ""));  // no EndCommand: nothing at all
    EXPECT_TRUE(starter.Started.empty());
    ProfileWriteStr("SYS", "EndCommand", "play-bell --times %m");
    EXPECT_TRUE(RunEndCommand(3, ""));
    ASSERT_EQ(starter.Started.size(), 1u);
    EXPECT_EQ(starter.Started[0], (Args{"play-bell", "--times", "3"}));
    EXPECT_FALSE(starter.Waited);
    starter.Fail = true;
    EXPECT_FALSE(RunEndCommand(3, ""));  // logged, no box, and the countdown goes on
    EXPECT_FALSE(RunEndCommand(3, ""));
}

}  // namespace
