#include <gtest/gtest.h>

#include <string>

#include "Core/Platform/Clock.h"
#include "Core/Platform/Http.h"
#include "Core/System/Profile.h"
#include "Core/Text/CTxt.h"
#include "Core/Time/CZAMDateTime.h"
#include "tests/Support/FakeClock.h"
#include "tests/Support/LoopbackHttpServer.h"

namespace {

using zam::testing::FakeClock;
using zam::testing::LoopbackHttpServer;

std::string Page(const char* time, const char* date) {
    return std::string("<html><body>\n<b>The time is</b>\n<font size=5>") + time + "</font><br>\n" + date +
           "\n</body></html>\n";
}

class TimePageTest : public ::testing::Test {
protected:
    void UseService(const std::string& url) { ProfileWriteStr("INTERNET", "TimeServiceUrl", url.c_str()); }
    void TearDown() override {
        ProfileWriteStr("INTERNET", "TimeServiceUrl", nullptr);
        zam::platform::SetHttpTimeouts(5000, 15000);
    }
};

TEST_F(TimePageTest, ReadsTimeAndDateFromThePage) {
    LoopbackHttpServer server({Page("14:30:05", "Wednesday, August 12, 2015")});
    UseService(server.Url());
    CZAMDateTime value;
    CTxt message;
    EXPECT_EQ(value.SetNowTimeEST(message, 0), 0);
    EXPECT_STREQ(message, "20150812 14:30:05");
    EXPECT_EQ(value.GetDT(), 20150812143005LL);
    EXPECT_EQ(server.Requests(), 1);
    EXPECT_NE(server.LastRequest().find("GET /timezone.cgi?UTC/s/0 "), std::string::npos);
    EXPECT_NE(server.LastRequest().find("User-Agent: SetNowTimeEST"), std::string::npos);
    EXPECT_NE(server.LastRequest().find("no-cache"), std::string::npos);

    LoopbackHttpServer eastern({Page("09:30:05", "WEDNESDAY, AUGUST 12, 2015")});
    UseService(eastern.Url() + "/");
    EXPECT_EQ(value.SetNowTimeGov(message, 0), 0);
    EXPECT_NE(eastern.LastRequest().find("GET /timezone.cgi?Eastern/d/-5%20EST "), std::string::npos);
    EXPECT_EQ(value.GetTime(), 93005u);
    EXPECT_EQ(value.SetNowURL(), 0);
}

TEST_F(TimePageTest, WaitsForTheSecondToChange) {
    LoopbackHttpServer server({Page("14:30:05", "Wednesday, August 12, 2015"),
                               Page("14:30:05", "Wednesday, August 12, 2015"),
                               Page("14:30:06", "Wednesday, August 12, 2015")});
    UseService(server.Url());
    CZAMDateTime value;
    CTxt message;
    EXPECT_EQ(value.SetNowTimeEST(message, 1), 0);
    EXPECT_EQ(server.Requests(), 3);
    EXPECT_STREQ(message, "20150812 14:30:06");
}

TEST_F(TimePageTest, PagesWithoutAnAcceptableTimeAreBounded) {
    LoopbackHttpServer server({"<html>no time here</html>"});
    UseService(server.Url());
    CZAMDateTime value;
    value.SetDT(20200101, 120000);
    CTxt message;
    EXPECT_EQ(value.SetNowTimeEST(message, 0), -5);
    EXPECT_EQ(server.Requests(), 5);
    EXPECT_STREQ(message, "SetGMT:  Clould not find Universal time");
    EXPECT_EQ(value.GetDT(), 20200101120000LL);  // kept until a time is accepted

    LoopbackHttpServer bad({Page("14:30:05", "Wednesday, Smarch 40, 2015")});
    UseService(bad.Url());
    EXPECT_EQ(value.SetNowTimeEST(message, 0), -5);
    EXPECT_EQ(value.GetDT(), 20200101120000LL);
}

TEST_F(TimePageTest, UnreachableOrSilentServers) {
    UseService("http://127.0.0.1:" + std::to_string(LoopbackHttpServer::ClosedPort()));
    CZAMDateTime value;
    CTxt message;
    EXPECT_EQ(value.SetNowTimeEST(message, 0), -2);
    EXPECT_STREQ(message, "SyncTime: URL open error!");

    LoopbackHttpServer silent({}, false);
    UseService(silent.Url());
    zam::platform::SetHttpTimeouts(300, 600);
    EXPECT_EQ(value.SetNowTimeEST(message, 0), -2);

    UseService("file:///etc/passwd");  // never anything but http
    EXPECT_EQ(value.SetNowTimeEST(message, 0), -2);
}

// Records the time the clock would be set to and moves the fake clock there.
class FakeSetter : public zam::platform::ClockSetter {
public:
    explicit FakeSetter(FakeClock& clock, bool allow) : m_Clock(clock), m_Allow(allow) {
        zam::platform::SetClockSetter(this);
    }
    ~FakeSetter() override { zam::platform::SetClockSetter(nullptr); }
    bool SetLocal(const SYSTEMTIME& t) override {
        Calls++;
        if (!m_Allow) {
            errno = EPERM;
            return false;
        }
        m_Clock.SetLocal(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
        return true;
    }
    int Calls = 0;

private:
    FakeClock& m_Clock;
    bool m_Allow;
};

TEST(SyncGMTTest, SetsTheClockAndReportsTheJump) {
    FakeClock clock(2015, 1, 12, 10, 0, 0);  // New York, winter: UTC - 5 h
    FakeSetter setter(clock, true);
    CZAMDateTime universal;
    universal.SetDT(20150112, 150002);  // two seconds ahead of the clock
    CTxt message;
    float adjusted = -1;
    EXPECT_EQ(universal.SyncGMT(message, &adjusted), 0);
    EXPECT_EQ(setter.Calls, 1);
    EXPECT_FLOAT_EQ(adjusted, 2.0f);
    EXPECT_STREQ(message,
                 "Adjusted  2.000 Sec to 1/12/2015 10:00:02.000 (From 1/12/2015 10:00:00.000) DiffNow=2");
    CZAMDateTime now;
    now.SetNow();
    EXPECT_EQ(now.GetDT(), 20150112100002LL);
}

TEST(SyncGMTTest, ARefusedClockReportsFailure) {
    FakeClock clock(2015, 7, 12, 10, 0, 0);  // summer: UTC - 4 h
    FakeSetter setter(clock, false);
    CZAMDateTime universal;
    universal.SetDT(20150712, 140010);
    CTxt message;
    float adjusted = -1;
    EXPECT_EQ(universal.SyncGMT(message, &adjusted), -1);
    EXPECT_FLOAT_EQ(adjusted, 0.0f);
    EXPECT_STREQ(message,
                 "Adjusted  0.000 Sec to 7/12/2015 10:00:10.000 (From 7/12/2015 10:00:00.000) DiffNow=10");
    CZAMDateTime local(universal);
    local.AdjToLocal();
    EXPECT_EQ(local.GetDT(), 20150712100010LL);
}

}  // namespace
