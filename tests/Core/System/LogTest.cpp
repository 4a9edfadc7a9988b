#include "Core/System/Log.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Core/Platform/ProgramPath.h"
#include "Core/Platform/UserInterface.h"
#include "Core/System/Profile.h"
#include "tests/Support/FakeClock.h"
#include "tests/Support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using zam::testing::FakeClock;
using zam::testing::TempDir;

struct Box {
    std::string Text;
    std::string Caption;
    UINT Type;
};

class RecordingPresenter : public zam::platform::MessageBoxPresenter {
public:
    std::vector<Box> Boxes;
    int Show(const char* text, const char* caption, UINT type) override {
        Boxes.push_back({text, caption, type});
        return IDOK;
    }
    void Beep(UINT) override {}
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The program seems to live in a temporary folder for the whole test binary;
// every test starts as if the process had not logged yet, without a profile.
class LogTest : public ::testing::Test {
protected:
    FakeClock clock{2015, 8, 12, 9, 8, 0};
    RecordingPresenter boxes;
    std::string exeDir;
    std::string ini;
    std::string logPath;

    void SetUp() override {
        char buf[1000];
        GetExeDir(buf, sizeof buf);
        exeDir = buf;
        GetIniPath(buf, sizeof buf);
        ini = buf;
        if (exeDir.rfind(fs::temp_directory_path().string(), 0) != 0)
            GTEST_SKIP() << "the program folder is not a temporary one: " << exeDir;
        LogResetForTests();
        fs::remove(ini);
        fs::remove_all(exeDir + "/logs");
        logPath = exeDir + "/logs/20150812/kronalt.log";
        clock.AdvanceMillis(123);
        zam::platform::SetMessageBoxPresenter(&boxes);
    }
    void TearDown() override {
        LogResetForTests();
        zam::platform::SetMessageBoxPresenter(nullptr);
    }
    std::string Setting(const char* section, const char* key) {
        char buf[100];
        ProfileReadStr(section, key, "<missing>", buf, sizeof buf);
        return buf;
    }
    std::string Log() { return ReadAll(logPath); }
};

const char* const kOpening = "ACTION-INIT     |150812|09:08:00.123 |====== Opening ";
const size_t npos = std::string::npos;

TEST_F(LogTest, FirstCallCreatesTheDayFileOpeningLineAndSettings) {
    LogTrace("BkBld", 1, "%d Items updated", 5);
    EXPECT_EQ(Log(), kOpening + logPath + " ======\r\n" +
                         "BkBld           |150812|09:08:00.123a|5 Items updated\r\n");
    EXPECT_EQ(Setting("RELEASE", "WriteLog"), "YES");
    EXPECT_EQ(Setting("SYS", "LogFileAppend"), "YES");
    EXPECT_EQ(Setting("SYS", "LogShowDate"), "YES");
    EXPECT_EQ(Setting("SYS", "LogShowTime"), "YES");
    EXPECT_EQ(Setting("SYS", "LogFileFlushOnEach"), "NO");

    // Across midnight the process keeps its first file.
    clock.SetLocal(2015, 8, 13, 0, 0, 1);
    LogTrace("Late", 0, "after midnight");
    EXPECT_NE(Log().find("after midnight"), npos);
    EXPECT_FALSE(fs::exists(exeDir + "/logs/20150813"));

    // The file is named after the program, lower-cased, without extension.
    LogResetForTests();
    zam::platform::SetProgramPathOverride(exeDir + "/Kron.Timer.EXE");
    LogTrace("X", 1, "named");
    zam::platform::SetProgramPathOverride(exeDir + "/kronalt");
    EXPECT_TRUE(fs::exists(exeDir + "/logs/20150813/kron.timer.log"));
}

TEST_F(LogTest, LineLayout) {
    LogTrace("ExactlySixteen16", 2, "a");
    LogTrace("SeventeenLetters!", 3, "b");
    LogTrace(nullptr, 1, "no source");
    LogTrace("Lv", 0, "zero");
    LogTrace("Lv", -4, "negative");
    LogTrace("Lv", 26, "z");
    LogTrace("Lv", 170, "beyond a byte");
    LogBox("Kronalt", "%d minutes left", 5);
    const std::string log = Log();
    EXPECT_NE(log.find("\r\nExactlySixteen16|150812|09:08:00.123b|a\r\n"), npos);
    EXPECT_NE(log.find("\r\nSeventeenLetters|150812|09:08:00.123c|b\r\n"), npos);
    EXPECT_NE(log.find("\r\n09:08:00.123a|no source\r\n"), npos);
    EXPECT_NE(log.find("|09:08:00.123 |zero\r\n"), npos);
    EXPECT_NE(log.find("|09:08:00.123 |negative\r\n"), npos);
    EXPECT_NE(log.find("|09:08:00.123z|z\r\n"), npos);
    EXPECT_NE(log.find("|09:08:00.123?|beyond a byte\r\n"), npos);
    EXPECT_NE(log.find("\r\nMessageBox      |150812|09:08:00.123 |Kronalt: 5 minutes left\r\n"),
              npos);
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Text, "5 minutes left");
    EXPECT_EQ(boxes.Boxes[0].Caption, "Kronalt");
    EXPECT_EQ(boxes.Boxes[0].Type, MB_OK);
}

TEST_F(LogTest, DateAndTimeCanBeHidden) {
    ProfileWriteStr("SYS", "LogShowDate", "NO");
    ProfileWriteStr("SYS", "LogShowTime", "NO");
    LogTrace("X", 2, "message");
    LogTrace(nullptr, 2, "bare");
    EXPECT_NE(Log().find("\r\nX               |b|message\r\nb|bare\r\n"), npos);
}

TEST_F(LogTest, LineBreaksInsideAMessageNeverSplitTheLine) {
    LogTrace("Src\nX", 1, "one\r\ntwo\nthree\rfour");
    LogWrite("Src", "literal\ntext", 1);  // a literal: replaced in a copy, never in place
    const std::string log = Log();
    EXPECT_EQ(log.substr(log.find("\r\n") + 2),
              "Src+X           |150812|09:08:00.123a|one++two+three+four\r\n"
              "Src             |150812|09:08:00.123a|literal+text\r\n");
}

TEST_F(LogTest, OverlongTextsAreDroppedAndShownCut) {
    const std::string fits(9999, 'f');
    const std::string tooLong(10000, 'x');
    LogTrace("Big", 1, "%s", fits.c_str());
    LogTrace("Big", 1, "%s", tooLong.c_str());
    LogBox("Caption", "%s", tooLong.c_str());
    LogWrite("Direct", std::string(20000, 'd').c_str(), 1);

    const std::string log = Log();
    EXPECT_NE(log.find("|" + fits + "\r\n"), npos);
    EXPECT_EQ(log.find("xxx"), npos);
    EXPECT_NE(log.find("|" + std::string(9999, 'd') + "\r\n"), npos);
    ASSERT_EQ(boxes.Boxes.size(), 2u);
    EXPECT_EQ(boxes.Boxes[0].Caption, "LOGTRACE Buffer overrun!");
    EXPECT_EQ(boxes.Boxes[0].Type, MB_OK | MB_ICONERROR);
    EXPECT_EQ(boxes.Boxes[0].Text, std::string(9999, 'x'));
    EXPECT_EQ(boxes.Boxes[1].Caption, "LOGBOX Buffer overrun!");
}

TEST_F(LogTest, UnwritableLogFolderDropsLinesSilently) {
    // A file where the logs folder belongs stops even a privileged process.
    { std::ofstream(exeDir + "/logs") << "in the way"; }
    LogTrace("X", 1, "dropped");
    EXPECT_EQ(LogWrite("X", "dropped too", 1), 0);
    EXPECT_EQ(LogLine("*OPENLOG", (exeDir + "/logs/day/kronalt.log").c_str(), 0), -2);
    EXPECT_EQ(ReadAll(exeDir + "/logs"), "in the way");
    EXPECT_TRUE(boxes.Boxes.empty());
    fs::remove(exeDir + "/logs");

    if (geteuid() != 0) {
        TempDir locked;
        fs::permissions(locked.Path(), fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(LogLine("*OPENLOG", locked.File("a.log").c_str(), 0), -2);
    }
}

TEST_F(LogTest, SecondOpenKeepsTheFirstFileAndCloseStopsLines) {
    LogTrace("X", 1, "first");
    TempDir other;
    EXPECT_EQ(LogLine("*OPENLOG", other.File("b.log").c_str(), 0), -1);
    EXPECT_FALSE(fs::exists(other.File("b.log")));
    LogTrace("X", 1, "still first");
    EXPECT_NE(Log().find("still first"), npos);

    EXPECT_EQ(LogLine("*close", "", 0), 0);
    LogTrace("X", 1, "after close");
    EXPECT_EQ(Log().find("after close"), npos);
    EXPECT_EQ(LogLine("*OPENLOG", other.File("b.log").c_str(), 0), 1);
    LogTrace("X", 1, "reopened");
    EXPECT_EQ(other.Read("b.log").find(kOpening), 0u);
    EXPECT_NE(other.Read("b.log").find("reopened"), npos);
}

TEST_F(LogTest, AppendOrStartEmptyOrNotAtAll) {
    fs::create_directories(exeDir + "/logs/20150812");
    { std::ofstream(logPath) << "earlier run\r\n"; }
    LogTrace("X", 1, "appended");
    EXPECT_EQ(Log().find("earlier run\r\n"), 0u);

    LogResetForTests();
    ProfileWriteStr("SYS", "LogFileAppend", "NO");
    LogTrace("X", 1, "fresh");
    EXPECT_EQ(Log().find(kOpening), 0u);
    EXPECT_EQ(Log().find("appended"), npos);

    LogResetForTests();
    fs::remove_all(exeDir + "/logs");
    ProfileWriteStr("RELEASE", "WriteLog", "NO");
    LogTrace("X", 1, "nowhere");
    EXPECT_FALSE(fs::exists(exeDir + "/logs"));
}

TEST_F(LogTest, ForcedWritesEvery21LinesOrTenSeconds) {
    LogTrace("X", 1, "line 1");
    const int base = LogForcedWritesForTests();
    for (int i = 2; i <= 20; ++i) LogTrace("X", 1, "line %d", i);
    EXPECT_EQ(LogForcedWritesForTests(), base);
    LogTrace("X", 1, "line 21");
    EXPECT_EQ(LogForcedWritesForTests(), base + 1);

    clock.Advance(10);
    LogTrace("X", 1, "ten seconds on");
    EXPECT_EQ(LogForcedWritesForTests(), base + 1);
    clock.Advance(1);
    LogTrace("X", 1, "eleven seconds on");
    EXPECT_EQ(LogForcedWritesForTests(), base + 2);
    LogLine("*FLUSH", nullptr, 0);
    EXPECT_EQ(LogForcedWritesForTests(), base + 3);

    // Flush-on-each is read again after every open.
    ProfileWriteStr("SYS", "LogFileFlushOnEach", "YES");
    LogLine("*CLOSE", nullptr, 0);
    LogLine("*OPENLOG", logPath.c_str(), 0);
    const int reopened = LogForcedWritesForTests();
    LogTrace("X", 1, "one");
    LogTrace("X", 1, "two");
    EXPECT_EQ(LogForcedWritesForTests(), reopened + 2);
}

TEST_F(LogTest, BurstOfLinesSurvivesClose) {
    // The forced writes of a burst overlap; closing waits for them and loses no line.
    for (int i = 0; i < 2000; ++i) LogTrace("Burst", 1, "burst %d", i);
    LogLine("*CLOSE", nullptr, 0);
    const std::string log = Log();
    size_t lines = 0;
    for (size_t at = log.find("Burst "); at != npos; at = log.find("Burst ", at + 1)) ++lines;
    EXPECT_EQ(lines, 2000u);
    EXPECT_NE(log.find("|burst 1999\r\n"), npos);
}

TEST_F(LogTest, CopyWritesLogCpyInTheCurrentFolder) {
    TempDir work;
    const fs::path before = fs::current_path();
    fs::current_path(work.Path());
    LogTrace("X", 1, "to be copied");
    EXPECT_EQ(LogLine("*COPY", nullptr, 0), 0);
    fs::current_path(before);
    EXPECT_EQ(work.Read("LogCpy.tmp"), Log());
}

TEST_F(LogTest, FallsBackToTheStateFolderWhenTheProgramFolderIsReadOnly) {
    // Without the program's folder there is nowhere beside it to write.
    TempDir state;
    fs::rename(exeDir, exeDir + ".away");
    const char* old = getenv("XDG_STATE_HOME");
    const std::string saved = old ? old : "";
    setenv("XDG_STATE_HOME", state.Path().c_str(), 1);
    LogTrace("X", 1, "in the state folder");
    LogResetForTests();
    if (old != nullptr) {
        setenv("XDG_STATE_HOME", saved.c_str(), 1);
    } else {
        unsetenv("XDG_STATE_HOME");
    }
    fs::rename(exeDir + ".away", exeDir);
    EXPECT_NE(state.Read("kronalt/logs/20150812/kronalt.log").find("in the state folder"), npos);
}

TEST(FileCopyTest, ResultCodes) {
    TempDir dir;
    std::string bytes;
    for (int i = 0; i < 200000; ++i) bytes += static_cast<char>(i * 7);
    dir.Write("src.bin", bytes);
    dir.Write("dst.bin", std::string(300000, 'o'));
    const std::string src = dir.File("src.bin");
    EXPECT_EQ(FileCopy(src.c_str(), dir.File("dst.bin").c_str()), 0);
    EXPECT_EQ(dir.Read("dst.bin"), bytes);

    // Two spellings of one file: nothing is deleted.
    EXPECT_EQ(FileCopy(src.c_str(), (dir.Path() + "/./src.bin").c_str()), 0);
    EXPECT_EQ(dir.Read("src.bin"), bytes);

    fs::create_directories(dir.File("full/inner"));
    EXPECT_EQ(FileCopy(dir.File("missing").c_str(), dir.File("x").c_str()), -1);
    EXPECT_EQ(FileCopy(src.c_str(), dir.File("full").c_str()), -2);
    EXPECT_EQ(FileCopy(dir.File("full").c_str(), dir.File("x").c_str()), -4);
    EXPECT_EQ(FileCopy(src.c_str(), dir.File("no/such/x").c_str()), -5);
}

}  // namespace
