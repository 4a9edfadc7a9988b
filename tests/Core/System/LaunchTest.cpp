#include "Core/System/Launch.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "Core/Platform/Process.h"
#include "Core/Platform/Terminal.h"
#include "Core/Platform/UserInterface.h"
#include "Core/System/Log.h"
#include "Core/System/Profile.h"
#include "Core/Text/CTxt.h"
#include "tests/Support/RecordingPresenter.h"
#include "tests/Support/ScopedEnv.h"
#include "tests/Support/TempDir.h"

namespace {

using zam::platform::ProcessRequest;
using zam::platform::ProcessResult;
using Args = std::vector<std::string>;

using zam::testing::RecordingPresenter;
using zam::testing::ScopedEnv;
using zam::testing::ShownBox;

class RecordingStarter : public zam::platform::ProcessStarter {
public:
    RecordingStarter() { zam::platform::SetProcessStarter(this); }
    ~RecordingStarter() override { zam::platform::SetProcessStarter(nullptr); }
    ProcessResult Start(const ProcessRequest& request, bool wait) override {
        Requests.push_back(request);
        Waits.push_back(wait);
        return Answer;
    }
    Args LastArgv() const { return Requests.empty() ? Args{} : Requests.back().Argv; }
    std::vector<ProcessRequest> Requests;
    std::vector<bool> Waits;
    ProcessResult Answer;
};

std::string Setting(const char* section, const char* key) {
    CTxt value;
    ProfileReadStr(section, key, "<missing>", value);
    return static_cast<const char*>(value);
}

class LaunchTest : public ::testing::Test {
protected:
    zam::testing::TempDir dir;
    ScopedEnv config{"XDG_CONFIG_HOME", dir.File("config").c_str()};
    ScopedEnv path{"PATH", (dir.File("bin") + ":/usr/bin:/bin").c_str()};
    ScopedEnv visual{"VISUAL", nullptr};
    ScopedEnv editor{"EDITOR", nullptr};
    RecordingPresenter presenter;

    void SetUp() override {
        mkdir(dir.File("bin").c_str(), 0755);
        zam::platform::SetMessageBoxPresenter(&presenter);
        ProfileWriteStr("SYS", "EDITOR", nullptr);
        ProfileWriteStr("INTERNET", "Browser", nullptr);
    }
    void TearDown() override { zam::platform::SetMessageBoxPresenter(nullptr); }

    // A script that writes its arguments, one a line, to the file out (whole
    // or not at all), then exits with code.
    std::string FakeProgram(const std::string& name, const std::string& out, int code = 0) {
        dir.Write(name, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + out +
                            ".tmp'\n/bin/mv '" + out + ".tmp' '" + out + "'\nexit " +
                            std::to_string(code) + "\n");
        chmod(dir.File(name).c_str(), 0755);
        return dir.File(name);
    }
    std::string AwaitFile(const std::string& name) {
        for (int i = 0; i < 500 && access(dir.File(name).c_str(), F_OK) != 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return dir.Read(name);
    }
    void ExpectNotCreated(std::initializer_list<const char*> names) {
        for (const char* name : names) EXPECT_NE(access(dir.File(name).c_str(), F_OK), 0) << name;
    }
};

// --- RunCommand ---------------------------------------------------------------

TEST_F(LaunchTest, PrefixesChooseWaitingWindowAndDetachment) {
    RecordingStarter starter;
    starter.Answer.Waited = true;
    starter.Answer.ExitCode = 5;
    const UINT kPlain = NORMAL_PRIORITY_CLASS, kDetached = kPlain | DETACHED_PROCESS;
    const UINT kFull = STARTF_USESHOWWINDOW | STARTF_RUNFULLSCREEN;
    const struct {
        const char* Command;
        bool Wait;
        UINT StartFlags;
        int Show;
        UINT Creation;
        int Result;
    } cases[] = {
        {"!prog a", false, STARTF_USESHOWWINDOW, SW_SHOW, kDetached, 1},
        {"<!prog a", true, STARTF_USESHOWWINDOW, SW_SHOW, kDetached, 5},
        {"#!prog a", false, kFull, SW_SHOW, kPlain, 1},
        {"@!prog a", false, STARTF_USESHOWWINDOW, SW_SHOW, kPlain, 1},
        {"#@!prog a", false, STARTF_USESHOWWINDOW, SW_SHOW, kPlain, 1},  // "@" takes back "#"
        {"~!prog a", false, STARTF_USESHOWWINDOW, SW_MINIMIZE, kDetached, 1},
        {"#~!prog a", false, kFull, SW_MINIMIZE, kPlain, 1},
        {"<#~@!prog a", true, STARTF_USESHOWWINDOW, SW_MINIMIZE, kPlain, 5},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RunCommand(c.Command, 1), c.Result) << c.Command;
        const ProcessRequest& r = starter.Requests.back();
        EXPECT_EQ(r.Argv, (Args{"prog", "a"})) << c.Command;
        EXPECT_EQ(starter.Waits.back(), c.Wait) << c.Command;
        EXPECT_EQ(r.StartFlags, c.StartFlags) << c.Command;
        EXPECT_EQ(r.ShowWindow, c.Show) << c.Command;
        EXPECT_EQ(r.CreationFlags, c.Creation) << c.Command;
    }
    EXPECT_EQ(starter.Requests.size(), 8u);
    EXPECT_TRUE(presenter.Boxes.empty());

    // Out of order a prefix is none: "#!prog" is left, and names no file.
    EXPECT_EQ(RunCommand("@#!prog", 0), -1);
    EXPECT_EQ(starter.Requests.size(), 8u);
    ASSERT_EQ(presenter.Boxes.size(), 1u);  // shown whatever the flag says
    EXPECT_EQ(presenter.Boxes[0].Text,
              "File Launch Error (2) in:\r\n#!prog\r\nNo such file or directory\r\n");
    EXPECT_EQ(presenter.Boxes[0].Caption, "kronalt");
    EXPECT_EQ(presenter.Boxes[0].Type, MB_OK);
}

TEST_F(LaunchTest, EditorComesFromTheSettingOrTheUsersEditorAndIsWrittenBack) {
    RecordingStarter starter;
    EXPECT_EQ(RunCommand("^notes.txt", 1), 1);
    EXPECT_EQ(starter.LastArgv(), (Args{"xdg-open", "notes.txt"}));
    EXPECT_EQ(Setting("SYS", "EDITOR"), "xdg-open");
    EXPECT_EQ(starter.Requests.back().CreationFlags, NORMAL_PRIORITY_CLASS | DETACHED_PROCESS);
    EXPECT_FALSE(starter.Waits.back());

    ProfileWriteStr("SYS", "EDITOR", nullptr);
    editor.Set("ed");
    visual.Set("\"/opt/My Editor/edit\" --wait");  // VISUAL before EDITOR
    zam::platform::SetInputIsTerminalOverride(0);  // started from the desktop: the opener
    RunCommand("^a.txt", 1);
    EXPECT_EQ(starter.LastArgv(), (Args{"xdg-open", "a.txt"}));
    ProfileWriteStr("SYS", "EDITOR", nullptr);
    zam::platform::SetInputIsTerminalOverride(1);  // from a terminal: the user's editor
    RunCommand("^dir\\sub\\a.txt", 1);
    EXPECT_EQ(starter.LastArgv(), (Args{"/opt/My Editor/edit", "--wait", "dir/sub/a.txt"}));
    EXPECT_EQ(Setting("SYS", "EDITOR"), "\"/opt/My Editor/edit\" --wait");

    ProfileWriteStr("SYS", "EDITOR", "kate");  // the setting before the environment
    const char* hostile = "a \" --cmd \"!touch x\" $(id) `id`;b.txt";
    RunCommand((std::string("^") + hostile).c_str(), 1);
    EXPECT_EQ(starter.LastArgv(), (Args{"kate", hostile}));

    // Empty, it would leave the file itself as the program to run.
    ProfileWriteStr("SYS", "EDITOR", "");
    RunCommand("^/tmp/run-me.sh", 1);
    EXPECT_EQ(starter.LastArgv(), (Args{"/opt/My Editor/edit", "--wait", "/tmp/run-me.sh"}));
    zam::platform::SetInputIsTerminalOverride(-1);
}

TEST_F(LaunchTest, WaitedCommandsReturnExitCodesAndSignalsApart) {
    EXPECT_EQ(RunCommand("<!true", 1), 0);
    EXPECT_EQ(RunCommand("<!sh -c \"exit 7\"", 1), 7);
    EXPECT_EQ(RunCommand("!true", 1), 1);
    EXPECT_EQ(RunCommand("<!sh -c \"kill -KILL $$\"", 1), kRunCommandSignalled - SIGKILL);
    EXPECT_EQ(RunCommand("<!sh -c \"kill -TERM $$\"", 1), kRunCommandSignalled - SIGTERM);
    EXPECT_TRUE(presenter.Boxes.empty());
}

TEST_F(LaunchTest, FailedStartsAreShownOnlyWhenAsked) {
    const std::string missing = dir.File("no-such-program");
    EXPECT_EQ(RunCommand(("!" + missing + " arg").c_str(), 0), -ENOENT);
    EXPECT_TRUE(presenter.Boxes.empty());
    EXPECT_EQ(RunCommand(("<!" + missing + " arg").c_str(), 1), -ENOENT);
    ASSERT_EQ(presenter.Boxes.size(), 1u);
    EXPECT_EQ(presenter.Boxes[0].Text, "File Launch Error (2) in:\r\n" + missing +
                                           " arg\r\nNo such file or directory\r\n");
    EXPECT_EQ(RunCommand("!", 0), -ENOENT);  // nothing to start
}

TEST_F(LaunchTest, FilesWithoutBangRunOrOpenAndTheirNameIsNeverShellCode) {
    const std::string name = "run; touch p1 $(touch p2) `touch p3`";
    FakeProgram(name, dir.File("ran"), 3);
    EXPECT_EQ(RunCommand(("<" + dir.File(name)).c_str(), 1), 3);
    EXPECT_EQ(dir.Read("ran"), "");
    ExpectNotCreated({"p1", "p2", "p3"});

    FakeProgram("bin/xdg-open", dir.File("opened"));  // a document goes to the opener
    dir.Write("Nodes.txt", "x");
    EXPECT_EQ(RunCommand(("<" + dir.File("Nodes.txt")).c_str(), 1), 0);
    EXPECT_EQ(dir.Read("opened"), dir.File("Nodes.txt") + "\n");
    EXPECT_TRUE(presenter.Boxes.empty());
}

TEST_F(LaunchTest, EditorReallyStartsWithTheFileAsOneArgument) {
    const std::string edit = FakeProgram("my editor", dir.File("edited"));
    ProfileWriteStr("SYS", "EDITOR", ("\"" + edit + "\" -n").c_str());
    EXPECT_EQ(RunCommand(("^" + dir.File("a \"b\".txt")).c_str(), 1), 1);
    EXPECT_EQ(AwaitFile("edited"), "-n\n" + dir.File("a \"b\".txt") + "\n");
}

// --- OpenUrl -----------------------------------------------------------------

TEST_F(LaunchTest, AddressArrivesAsOneArgumentAndRunsNothing) {
    FakeProgram("bin/xdg-open", dir.File("args"));
    const std::string address = "http://x.test/?q=\"x\";touch " + dir.File("p1") + "&r=$(touch " +
                                dir.File("p2") + ")&s=`touch " + dir.File("p3") + "`'|&>";
    EXPECT_EQ(OpenUrl(address.c_str(), 1), 0);
    EXPECT_EQ(dir.Read("args"), address + "\n");
    ExpectNotCreated({"p1", "p2", "p3"});
    EXPECT_EQ(Setting("INTERNET", "Browser"), "xdg-open");  // "xdg-open ", read trimmed

    EXPECT_EQ(OpenUrl("--renderer-cmd-prefix=evil", 1), 0);  // never an option
    EXPECT_EQ(dir.Read("args"), "./--renderer-cmd-prefix=evil\n");
    EXPECT_EQ(OpenUrl("docs\\help\\index.htm", 1), 0);
    EXPECT_EQ(dir.Read("args"), "docs/help/index.htm\n");
    EXPECT_TRUE(presenter.Boxes.empty());
}

TEST_F(LaunchTest, HandSetBrowserCountsWhenNoOpenerIsInstalled) {
    path.Set(dir.File("bin").c_str());
    const std::string setting = "\"" + FakeProgram("my browser", dir.File("args")) + "\" --new";
    ProfileWriteStr("INTERNET", "Browser", setting.c_str());
    EXPECT_EQ(OpenUrl("http://x.test/", 1), 0);
    EXPECT_EQ(dir.Read("args"), "--new\nhttp://x.test/\n");
    EXPECT_EQ(Setting("INTERNET", "Browser"), setting);
}

TEST_F(LaunchTest, BrowserThatCannotStartShowsViewError) {
    path.Set(dir.File("bin").c_str());
    {
        RecordingStarter starter;  // no browser at all: the address must not become the program
        EXPECT_EQ(OpenUrl("/tmp/evil.sh", 0), -1);
        EXPECT_TRUE(starter.Requests.empty());
    }
    ProfileWriteStr("INTERNET", "Browser", "/nonexistent/browser ");
    EXPECT_EQ(OpenUrl("http://x.test/", 0), -1);
    ASSERT_EQ(presenter.Boxes.size(), 2u);
    EXPECT_EQ(presenter.Boxes[0].Text, "Cannot start '' (2)\r\n");
    EXPECT_EQ(presenter.Boxes[1].Text, "Cannot start '/nonexistent/browser' (2)\r\n");
    EXPECT_EQ(presenter.Boxes[1].Caption, "View Error");
    EXPECT_EQ(presenter.Boxes[1].Type, MB_OK);
}

TEST_F(LaunchTest, OpenUrlStartsPlainlyWaitsOnRequestAndLogs) {
    FakeProgram("bin/xdg-open", dir.File("unused"));
    RecordingStarter starter;
    LogResetForTests();
    ASSERT_EQ(LogLine("*OPENLOG", dir.File("test.log").c_str(), 1), 1);
    OpenUrl("http://x.test/a\\b", 0);
    OpenUrl("http://x.test/", 1);
    LogLine("*CLOSE", nullptr, 0);
    LogResetForTests();
    EXPECT_NE(dir.Read("test.log").find("HELP: Cmd=xdg-open \"http://x.test/a/b\"<"),
              std::string::npos);
    ASSERT_EQ(starter.Requests.size(), 2u);
    EXPECT_EQ(starter.Waits, (std::vector<bool>{false, true}));
    EXPECT_EQ(starter.Requests[0].Argv, (Args{"xdg-open", "http://x.test/a/b"}));
    EXPECT_EQ(starter.Requests[0].StartFlags, STARTF_USESHOWWINDOW);
    EXPECT_EQ(starter.Requests[0].ShowWindow, SW_SHOW);
    EXPECT_EQ(starter.Requests[0].CreationFlags, 0u);
}

TEST(BrowserFromOpenCommandTest, KeepsTheProgramDropsPlaceholdersAndAddresses) {
    const std::pair<const char*, const char*> cases[] = {
        {"xdg-open \"%1\"", "xdg-open "},
        {"\"C:\\Program Files\\Web\\web.exe\" -osint -url \"%1\"",
         "\"C:/Program Files/Web/web.exe\" -osint -url "},
        {"web %1 %L http://x HTTP:y h Http https://x httpx", "web https://x httpx "},
        {"a  b ", "a b "},
        {nullptr, ""},
    };
    for (const auto& [registered, expected] : cases) {
        CTxt browser("stale");
        EXPECT_EQ(BrowserFromOpenCommand(registered, browser), static_cast<int>(strlen(expected)));
        EXPECT_STREQ(browser, expected);
    }
}

// --- System facts and per-program values -------------------------------------

TEST(SystemFactsTest, OsVersionAndMachineName) {
    std::ifstream release("/proc/sys/kernel/osrelease");
    int major = 0, minor = 0;
    char dot = 0;
    release >> major >> dot >> minor;
    EXPECT_EQ(GetOsVersion(), major * 100 + minor);

    ScopedEnv domain("USERDOMAIN", "WORKGROUP");
    CTxt name;
    EXPECT_EQ(GetMachineName(name), 9);
    EXPECT_STREQ(name, "WORKGROUP");
    domain.Set(std::string(2000, 'd').c_str());
    EXPECT_EQ(GetMachineName(name), 999);
    domain.Set(nullptr);
    char host[256] = {};
    ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
    EXPECT_EQ(GetMachineName(name), static_cast<int>(strlen(host)));
    EXPECT_STREQ(name, host);
}

TEST_F(LaunchTest, RegGetGlobalStoresTheDefaultOnlyWhenTheKeyIsWritable) {
    std::string value = "stale";
    EXPECT_EQ(RegGetGlobal("Counter", value, "0", nullptr, 0), -1);  // no key yet
    EXPECT_EQ(value, "");
    EXPECT_EQ(RegGetGlobal("Counter", value, "0", nullptr, 1), 0);
    EXPECT_EQ(value, "0");
    EXPECT_EQ(RegGetGlobal("Counter", value, "other", nullptr, 0), 0);
    EXPECT_EQ(value, "0");
    EXPECT_EQ(dir.Read("config/ZAM/registry.ini"), "[Software\\ZAM\\kronalt]\r\nCounter=0\r\n");
    // Opened for reading, a missing value gets the default but is not stored.
    EXPECT_EQ(RegGetGlobal("Missing", value, "dflt", nullptr, 0), -2);
    EXPECT_EQ(value, "dflt");
    EXPECT_EQ(RegGetGlobal("Missing", value, nullptr, nullptr, 0), -2);
    EXPECT_EQ(value, "");
}

TEST_F(LaunchTest, RegSetGlobalRoundTripsAndReportsFailures) {
    std::string value;
    ASSERT_EQ(RegSetGlobal("Path", "  C:\\Data\\ \"x\"  ", "Tool"), 0);
    EXPECT_EQ(RegGetGlobal("Path", value, nullptr, "Tool", 0), 0);
    EXPECT_EQ(value, "  C:\\Data\\ \"x\"  ");
    EXPECT_EQ(RegSetGlobal("Path", "a\nInjected=1", "Tool"), -2);
    EXPECT_EQ(RegSetGlobal("a=b", "x", "Tool"), -2);
    EXPECT_EQ(RegSetGlobal("Path", "x", "bad]key"), -1);
    dir.Write("blocked", "a file where the folder would go");
    ScopedEnv blocked("XDG_CONFIG_HOME", dir.File("blocked").c_str());
    EXPECT_EQ(RegSetGlobal("Path", "x", "Tool"), -1);
    EXPECT_EQ(RegGetGlobal("Path", value, "d", "Tool", 1), -1);
}

// --- Message boxes, paths, the exception record -------------------------------

TEST_F(LaunchTest, MessageBoxKindsButtonsResultsAndCaption) {
    const UINT kQuestion = MB_YESNO | MB_ICONQUESTION;
    const struct {
        int Kind;
        UINT Type;
        int Answer, Result;
    } cases[] = {
        {1, MB_OK | MB_ICONINFORMATION, IDOK, 0},   {2, MB_OK | MB_ICONERROR, IDOK, 0},
        {3, kQuestion | MB_DEFBUTTON2, IDYES, IDYES}, {3, kQuestion | MB_DEFBUTTON2, 0, IDNO},
        {4, kQuestion | MB_DEFBUTTON1, IDNO, IDNO},  {4, kQuestion | MB_DEFBUTTON1, 0, IDYES},
        {99, MB_OK | MB_ICONINFORMATION, IDOK, 0},
    };
    for (const auto& c : cases) {
        presenter.Answer = c.Answer;  // 0: nobody there, the preselected button
        EXPECT_EQ(MsgBox("Are you sure to exit?", c.Kind), c.Result) << c.Kind;
        EXPECT_EQ(presenter.Boxes.back().Type, c.Type | MB_TOPMOST) << c.Kind;
        EXPECT_EQ(presenter.Boxes.back().Caption, "");
    }
    const HWND owner = reinterpret_cast<HWND>(0x1234);
    MsgBox("no reader installed", 1, owner);
    EXPECT_EQ(presenter.Boxes.back().Caption, "");
    SetWindowTitleReader([](HWND w) {
        return std::string(w == reinterpret_cast<HWND>(0x1234) ? "Kronalt 12:00" : "other");
    });
    MsgBox(nullptr, 1, owner);
    SetWindowTitleReader(nullptr);
    EXPECT_EQ(presenter.Boxes.back().Caption, "Kronalt 12:00");
    EXPECT_EQ(presenter.Boxes.back().Text, "");
}

TEST(PathFunctionsTest, SlashConversionsAndParts) {
    const struct {
        const char *In, *Slash, *Backslash;
    } cases[] = {
        {"C:\\Data\\Kronalt\\", "C:/Data/Kronalt", "C:\\Data\\Kronalt"},
        {"\\\\srv\\share\\a.txt", "\\\\srv/share/a.txt", "\\\\srv\\share\\a.txt"},
        {"C:/Data/Kronalt//", "C:/Data/Kronalt", "C:\\Data\\Kronalt"},
        {"dir\\/", "dir", "dir"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%s", c.In);
        PathToSlash(buf);
        EXPECT_STREQ(buf, c.Slash) << c.In;
        std::snprintf(buf, sizeof buf, "%s", c.In);
        PathToBackslash(buf);
        EXPECT_STREQ(buf, c.Backslash) << c.In;
    }
    PathToSlash(static_cast<char*>(nullptr));

    const char* path = "C:\\Data/Kronalt\\Harp.sound.wav";
    const char* parts[] = {"C:", "\\Data/Kronalt\\", "Harp.sound", "wav", "C:\\Data/Kronalt\\",
                           "Harp.sound.wav", "C:\\Data/Kronalt\\Harp.sound", ""};
    std::string part;
    for (int kind = 0; kind <= 7; ++kind) {
        EXPECT_EQ(PathPart(path, kind, part), static_cast<int>(strlen(parts[kind])));
        EXPECT_EQ(part, parts[kind]) << kind;
    }
    EXPECT_EQ(PathPart(".hidden", 3, part), 6);
    EXPECT_EQ(PathPart(nullptr, 5, part), 0);
}

TEST(CHttpGetExceptionTest, CarriesItsValueAndIsCreatableByClass) {
    const CHttpGetException raised(-7);
    EXPECT_EQ(raised.GetValue(), -7);
    EXPECT_TRUE(raised.IsKindOf(RUNTIME_CLASS(CObject)));
    const CRuntimeClass* cls = raised.GetRuntimeClass();
    EXPECT_STREQ(cls->m_lpszClassName, "CHttpGetException");
    ASSERT_NE(cls->m_pfnCreateObject, nullptr);
    CObject* made = cls->m_pfnCreateObject();
    EXPECT_EQ(static_cast<CHttpGetException*>(made)->GetValue(), 0);
    delete made;
}

}  // namespace
