#include "Core/Platform/ProfileFile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <string>

#include "tests/Support/TempDir.h"

namespace {

using zam::platform::GetPrivateProfileStringA;
using zam::platform::WritePrivateProfileStringA;
using zam::testing::TempDir;

class ProfileFileTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.File("Kronalt.ini");

    std::string Get(const char* section, const char* key, const char* def = "<def>",
                    int size = 1000) {
        std::string buf(static_cast<size_t>(size > 0 ? size : 1), '#');
        const int n = GetPrivateProfileStringA(section, key, def, buf.data(), size, path.c_str());
        lastCount = n;
        return size > 0 ? std::string(buf.c_str()) : buf;
    }
    int Put(const char* section, const char* key, const char* value) {
        return WritePrivateProfileStringA(section, key, value, path.c_str());
    }
    int lastCount = 0;
};

TEST_F(ProfileFileTest, ReadingRules) {
    dir.Write("Kronalt.ini",
              "\xEF\xBB\xBF"
              "top=before any header\r\n"
              "[ Sys ]  trailing text\r\n"
              "  Length =  25  \n"
              "Empty=\r"
              "Blanks=   \r\n"
              "Quoted=\"  a  \"\r\n"
              "QuotedEmpty=\"\"\n"
              "OneSided=\"abc\n"
              "Mixed='abc\"\n"
              "Note= v ; note\n"
              "; Length=99\n"
              "#hash=1\n"
              "no equals here\n"
              "[broken header\n"
              "AfterBroken=still sys\n"
              "Dup=first\n"
              "DUP=second\n"
              "[Other]\n"
              "Length=7\n"
              "[SYS]\n"
              "OnlyInSecond=x\n");
    EXPECT_EQ(Get("", "top"), "before any header");
    EXPECT_EQ(Get("sys", "LENGTH"), "25");
    EXPECT_EQ(lastCount, 2);
    EXPECT_EQ(Get(" SYS\t", " Length "), "25");
    EXPECT_EQ(Get("SYS", "Empty"), "");
    EXPECT_EQ(lastCount, 0);
    EXPECT_EQ(Get("SYS", "Blanks"), "");
    EXPECT_EQ(Get("SYS", "Quoted"), "  a  ");
    EXPECT_EQ(Get("SYS", "QuotedEmpty"), "");
    EXPECT_EQ(Get("SYS", "OneSided"), "\"abc");
    EXPECT_EQ(Get("SYS", "Mixed"), "'abc\"");
    EXPECT_EQ(Get("SYS", "Note"), "v ; note");
    EXPECT_EQ(Get("SYS", "#hash"), "1");
    EXPECT_EQ(Get("SYS", "no equals here"), "<def>");
    EXPECT_EQ(Get("SYS", "AfterBroken"), "still sys");
    EXPECT_EQ(Get("SYS", "Dup"), "first");
    EXPECT_EQ(Get("SYS", "OnlyInSecond"), "<def>");  // only the first [SYS] is searched
    EXPECT_EQ(Get("Other", "Length"), "7");
    EXPECT_EQ(zam::platform::ProfileHasSection(" sys ", path.c_str()), 1);
    EXPECT_EQ(zam::platform::ProfileHasSection("broken header", path.c_str()), 0);
    EXPECT_EQ(zam::platform::ProfileHasSection("SYS", dir.File("none.ini").c_str()), 0);
    // Trailing blanks go first; the quotes then no longer stand at both ends.
    EXPECT_EQ(Get("Missing", "Length", "  \"dflt \"  "), "  \"dflt \"");
    EXPECT_EQ(Get("Missing", "Length", "\"dflt \"   "), "dflt ");
    EXPECT_EQ(Get("Missing", "Length", nullptr), "");
    EXPECT_EQ(lastCount, 0);
}

TEST_F(ProfileFileTest, CountAndCutting) {
    dir.Write("Kronalt.ini", "[S]\nK=\"abcdef\"\n");
    EXPECT_EQ(Get("S", "K", "", 4), "abc");
    EXPECT_EQ(lastCount, 3);
    EXPECT_EQ(Get("S", "K", "", 1), "");
    EXPECT_EQ(lastCount, 0);
    std::string untouched = Get("S", "K", "", 0);
    EXPECT_EQ(lastCount, 0);
    EXPECT_EQ(untouched, "#");
    EXPECT_EQ(Get("S", "nokey", "defaultvalue", 5), "defa");
    dir.Write("missing-folder-is-fine-for-reading", "");
    EXPECT_EQ(GetPrivateProfileStringA("S", "K", "d", untouched.data(), 2,
                                       dir.File("no/such/file.ini").c_str()),
              1);
}

TEST_F(ProfileFileTest, HostileContentReadsWithoutHarm) {
    std::string big(5000, 'v');
    std::string content = "[S]\r\nBig=" + big + "\r\nHigh=\xC3\xA9\xFF\x80\r\nZero=ab";
    content.push_back('\0');
    content += "cd\r\n[[[]]]\r\n=novalue\r\n   [   \r\n]\r\nLast=no line end";
    dir.Write("Kronalt.ini", content);
    EXPECT_EQ(Get("S", "Big"), big.substr(0, 999));
    EXPECT_EQ(lastCount, 999);
    EXPECT_EQ(Get("S", "High"), "\xC3\xA9\xFF\x80");
    EXPECT_EQ(Get("S", "Zero"), "ab");
    EXPECT_EQ(Get("[[", ""), "novalue");  // "[[[]]]" names the section "[["
    EXPECT_EQ(Get("[[", "Last"), "no line end");
}

TEST_F(ProfileFileTest, NewFileAndNewSectionLayout) {
    EXPECT_EQ(Put("SYS", "Length", "60"), 1);
    EXPECT_EQ(dir.Read("Kronalt.ini"), "[SYS]\r\nLength=60\r\n");
    EXPECT_EQ(Put("SYS", "Interval", "   5  "), 1);
    EXPECT_EQ(dir.Read("Kronalt.ini"), "[SYS]\r\nLength=60\r\nInterval=5  \r\n");
    EXPECT_EQ(Get("SYS", "Interval"), "5");
    EXPECT_EQ(Put("RELEASE", "WriteLog", ""), 1);
    EXPECT_EQ(dir.Read("Kronalt.ini"), "[SYS]\r\nLength=60\r\nInterval=5  \r\n[RELEASE]\r\nWriteLog=\r\n");
    EXPECT_EQ(Get("RELEASE", "WriteLog"), "");

    // A file of LF lines, without a final line end, gets LF lines.
    dir.Write("Kronalt.ini", "[A]\nx=1");
    EXPECT_EQ(Put("B", "y", "2"), 1);
    EXPECT_EQ(dir.Read("Kronalt.ini"), "[A]\nx=1\n[B]\ny=2\n");
    EXPECT_EQ(Put("A", "z", "3"), 1);
    EXPECT_EQ(dir.Read("Kronalt.ini"), "[A]\nx=1\nz=3\n[B]\ny=2\n");
}

TEST_F(ProfileFileTest, EditsKeepEveryOtherByte) {
    const std::string original =
        "; my settings\n[SYS]\n  MyKey = old\t\n; keep me\n\n[Other]\nMyKey=o\n";
    dir.Write("Kronalt.ini", original);
    EXPECT_EQ(Put("sys", "MYKEY", "new"), 1);
    EXPECT_EQ(dir.Read("Kronalt.ini"),
              "; my settings\n[SYS]\nMyKey=new\n; keep me\n\n[Other]\nMyKey=o\n");
    // A new key goes after the section's last non-blank line, before the blank separator.
    EXPECT_EQ(Put("SYS", "Added", "1"), 1);
    EXPECT_EQ(dir.Read("Kronalt.ini"),
              "; my settings\n[SYS]\nMyKey=new\n; keep me\nAdded=1\n\n[Other]\nMyKey=o\n");
    // Deleting a key leaves the header, deleting a section removes it whole.
    EXPECT_EQ(Put("SYS", "MyKey", nullptr), 1);
    EXPECT_EQ(Put("SYS", "Added", nullptr), 1);
    EXPECT_EQ(dir.Read("Kronalt.ini"), "; my settings\n[SYS]\n; keep me\n\n[Other]\nMyKey=o\n");
    EXPECT_EQ(Put("Other", nullptr, nullptr), 1);
    EXPECT_EQ(dir.Read("Kronalt.ini"), "; my settings\n[SYS]\n; keep me\n\n");
    EXPECT_EQ(Put("Nowhere", nullptr, nullptr), 1);
    EXPECT_EQ(Put("SYS", "Nothing", nullptr), 1);
    EXPECT_EQ(dir.Read("Kronalt.ini"), "; my settings\n[SYS]\n; keep me\n\n");
}

TEST_F(ProfileFileTest, RewritingTheSameValueDoesNotTouchTheFile) {
    EXPECT_EQ(Put("SYS", "Length", "60"), 1);
    struct stat before{};
    ASSERT_EQ(stat(path.c_str(), &before), 0);
    EXPECT_EQ(Put("SYS", "Length", "60"), 1);
    struct stat after{};
    ASSERT_EQ(stat(path.c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);  // not replaced by a new file
}

TEST_F(ProfileFileTest, TheSameValueByAnotherSpellingLeavesAHandEditedLine) {
    dir.Write("Kronalt.ini", "[SYS]\r\nk1 = same  \r\nk2=\"q\"\r\n");
    struct stat before{};
    ASSERT_EQ(stat(path.c_str(), &before), 0);
    EXPECT_EQ(Put("sys", "K1", "same"), 1);
    EXPECT_EQ(Put("SYS", "k2", "q"), 1);
    struct stat after{};
    ASSERT_EQ(stat(path.c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(dir.Read("Kronalt.ini"), "[SYS]\r\nk1 = same  \r\nk2=\"q\"\r\n");
    EXPECT_EQ(Put("SYS", "k1", "other"), 1);
    EXPECT_EQ(dir.Read("Kronalt.ini"), "[SYS]\r\nk1=other\r\nk2=\"q\"\r\n");
}

TEST_F(ProfileFileTest, NullKeyOrSectionListsNames) {
    auto list = [&](const char* section, const char* key, int size) {
        std::string buf(static_cast<size_t>(size), '#');
        lastCount =
            GetPrivateProfileStringA(section, key, "dflt", buf.data(), size, path.c_str());
        return buf;
    };
    using namespace std::string_literals;
    EXPECT_EQ(list(nullptr, nullptr, 4), "\0\0##"s);  // missing file: no sections
    EXPECT_EQ(lastCount, 0);
    EXPECT_EQ(list("SYS", nullptr, 6), "dflt\0#"s);
    EXPECT_EQ(lastCount, 4);

    dir.Write("Kronalt.ini", "[General]\nName=a\n; Note=c\nSpace=b\n[ Empty ]\n[S]\n");
    EXPECT_EQ(list(nullptr, "ignored", 19), "General\0Empty\0S\0\0##"s);
    EXPECT_EQ(lastCount, 16);
    EXPECT_EQ(list("general", nullptr, 12), "Name\0Space\0\0"s);
    EXPECT_EQ(lastCount, 11);
    EXPECT_EQ(list("Empty", nullptr, 6), "dflt\0#"s);  // an empty section gives the default
    EXPECT_EQ(list("General", nullptr, 10), "Name\0Spa\0\0"s);
    EXPECT_EQ(lastCount, 8);
    EXPECT_EQ(list(nullptr, nullptr, 10), "General\0\0\0"s);
    EXPECT_EQ(lastCount, 8);
    EXPECT_EQ(list("General", nullptr, 3), "N\0\0"s);
    EXPECT_EQ(lastCount, 1);
    EXPECT_EQ(list(nullptr, nullptr, 2), "\0\0"s);
    EXPECT_EQ(lastCount, 0);
}

TEST_F(ProfileFileTest, RefusesWhatWouldCorruptTheFile) {
    EXPECT_EQ(Put("SYS", "Key", "line1\r\nEvil=1"), 0);
    EXPECT_EQ(Put("SYS", "Ke\ny", "v"), 0);
    EXPECT_EQ(Put("SYS", "a=b", "v"), 0);
    EXPECT_EQ(Put("SYS", "[x", "v"), 0);
    EXPECT_EQ(Put("SYS", ";x", "v"), 0);
    EXPECT_EQ(Put("S]YS", "k", "v"), 0);
    EXPECT_EQ(Put(nullptr, "k", "v"), 0);
    EXPECT_EQ(WritePrivateProfileStringA("S", "k", "v", dir.File("no/folder/x.ini").c_str()), 0);
    EXPECT_EQ(dir.Read("Kronalt.ini"), "");
}

TEST_F(ProfileFileTest, WritesThroughASymbolicLink) {
    dir.Write("real.ini", "[S]\nk=1\n");
    ASSERT_EQ(symlink(dir.File("real.ini").c_str(), path.c_str()), 0);
    EXPECT_EQ(Put("S", "k", "2"), 1);
    EXPECT_EQ(dir.Read("real.ini"), "[S]\nk=2\n");
    struct stat st{};
    ASSERT_EQ(lstat(path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
}

// A writer killed at any moment leaves either the old or the new profile.
TEST_F(ProfileFileTest, SurvivesWritersKilledAtRandomMoments) {
    for (int k = 0; k < 8; ++k) Put("SYS", ("Key" + std::to_string(k)).c_str(), "0");
    std::mt19937 rng(20261207);
    std::uniform_int_distribution<int> delayUs(0, 8000);
    for (int round = 0; round < 200; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 1;; ++i) {
                const std::string key = "Key" + std::to_string(i % 8);
                const std::string value = std::string(static_cast<size_t>(i % 50), 'x') + std::to_string(i);
                WritePrivateProfileStringA("SYS", key.c_str(), value.c_str(), path.c_str());
            }
        }
        usleep(static_cast<useconds_t>(delayUs(rng)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        const std::string text = dir.Read("Kronalt.ini");
        ASSERT_EQ(text.rfind("[SYS]\r\n", 0), 0u) << "round " << round;
        for (int k = 0; k < 8; ++k) {
            const std::string value = Get("SYS", ("Key" + std::to_string(k)).c_str());
            // "0" from the start, or x* followed by the writer's counter.
            const size_t digits = value.find_first_not_of('x');
            ASSERT_NE(digits, std::string::npos) << "round " << round << ": Key" << k;
            ASSERT_TRUE(value == "0" || std::stoi(value.substr(digits)) % 8 == k)
                << "round " << round << ": Key" << k << "=" << value;
        }
    }
}

TEST_F(ProfileFileTest, TwoProcessesWritingAtOnceLoseNothing) {
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            int failures = 0;
            for (int i = 0; i < 300; ++i) {
                const std::string key = "P" + std::to_string(c) + "K" + std::to_string(i);
                failures += WritePrivateProfileStringA("SYS", key.c_str(), key.c_str(), path.c_str()) != 1;
            }
            _exit(failures == 0 ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int c = 0; c < 2; ++c) {
        for (int i = 0; i < 300; ++i) {
            const std::string key = "P" + std::to_string(c) + "K" + std::to_string(i);
            ASSERT_EQ(Get("SYS", key.c_str()), key);
        }
    }
}

}  // namespace
