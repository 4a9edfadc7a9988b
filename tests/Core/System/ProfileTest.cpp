#include "Core/System/Profile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Core/Platform/ProgramPath.h"
#include "Core/Platform/UserInterface.h"
#include "Core/System/ProfilePaths.h"
#include "Core/Text/CTxt.h"
#include "tests/Support/TempDir.h"

namespace {

using zam::testing::TempDir;

class ProfileTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string ini = dir.File("Kronalt.ini");
    const char* file = ini.c_str();

    std::string Content() { return dir.Read("Kronalt.ini"); }
    void Store(const std::string& text) { dir.Write("Kronalt.ini", text); }
};

TEST_F(ProfileTest, IntegerReadsWriteTheirNormalFormBack) {
    EXPECT_EQ(ProfileReadInt("SYS", "Length", 60, file), 60);
    EXPECT_EQ(Content(), "[SYS]\r\nLength=60\r\n");
    Store("[SYS]\r\nLength=\r\n");
    EXPECT_EQ(ProfileReadInt("SYS", "Length", 60, file), 0);
    EXPECT_EQ(Content(), "[SYS]\r\nLength=0\r\n");
    Store("[SYS]\r\nLength=12abc\r\n");
    EXPECT_EQ(ProfileReadInt("SYS", "Length", 60, file), 12);
    EXPECT_EQ(Content(), "[SYS]\r\nLength=12\r\n");
    Store("[SYS]\r\nLength= 25 \r\n");
    EXPECT_EQ(ProfileReadInt("SYS", "Length", 60, file), 25);
    EXPECT_EQ(Content(), "[SYS]\r\nLength= 25 \r\n");  // already normal once trimmed: untouched
    ProfileWriteInt("SYS", "Length", -7, file);
    EXPECT_EQ(ProfileReadInt("SYS", "Length", 60, file), -7);
}

TEST_F(ProfileTest, BooleanReads) {
    EXPECT_EQ(ProfileReadBool("SYS", "ShowZAM", 1, file), 1);
    EXPECT_EQ(Content(), "[SYS]\r\nShowZAM=YES\r\n");
    Store("[SYS]\r\nA=yes\r\nB=TRUE\r\nC=1\r\nD=\r\n");
    EXPECT_EQ(ProfileReadBool("SYS", "A", 0, file), 1);
    EXPECT_EQ(ProfileReadBool("SYS", "B", 0, file), 1);
    EXPECT_EQ(ProfileReadBool("SYS", "C", 1, file), 0);
    EXPECT_EQ(ProfileReadBool("SYS", "D", 1, file), 0);  // present and empty: not the default
    EXPECT_EQ(Content(), "[SYS]\r\nA=yes\r\nB=YES\r\nC=NO\r\nD=NO\r\n");
}

TEST_F(ProfileTest, FloatReads) {
    EXPECT_FLOAT_EQ(ProfileReadFloat("SYS", "Scale", 1.5f, file), 1.5f);
    EXPECT_EQ(Content(), "[SYS]\r\nScale=1.5000\r\n");
    Store("[SYS]\r\nScale=2.25e1\r\nBig=1e9\r\n");
    EXPECT_FLOAT_EQ(ProfileReadFloat("SYS", "Scale", 0, file), 22.5f);
    EXPECT_FLOAT_EQ(ProfileReadFloat("SYS", "Big", 0, file), 1e9f);
    EXPECT_EQ(Content(), "[SYS]\r\nScale=22.5000\r\nBig=1000000000.0000\r\n");
}

TEST_F(ProfileTest, ColourReads) {
    EXPECT_EQ(ProfileReadColor("SYS", "ColorBar", "49,193,249", file), RGB(49, 193, 249));
    EXPECT_EQ(Content(), "");  // a default already in normal form is not written
    EXPECT_EQ(ProfileReadColor("SYS", "ColorBack", "ORANGE", file), RGB(255, 128, 0));
    EXPECT_EQ(Content(), "[SYS]\r\nColorBack=255,128,0\r\n");
    Store("[SYS]\r\nC=0xFF\r\nE=\r\n");
    EXPECT_EQ(ProfileReadColor("SYS", "C", "0,0,0", file), RGB(255, 0, 0));
    EXPECT_EQ(ProfileReadColor("SYS", "E", "blue", file), RGB(0, 0, 255));
    EXPECT_EQ(Content(), "[SYS]\r\nC=255,0,0\r\nE=0,0,255\r\n");
    EXPECT_NE(ProfileWriteColor("SYS", "C", RGB(1, 2, 3), file), 0);
    EXPECT_EQ(ProfileReadColor("SYS", "C", "", file), RGB(1, 2, 3));
}

TEST_F(ProfileTest, StringReadsCutAtTheirBuffers) {
    const std::string big(5000, 'q');
    Store("[SYS]\r\nBig=" + big + "\r\nNum=" + std::string(150, '7') + "\r\n");
    CTxt text;
    EXPECT_EQ(ProfileReadStr("SYS", "Big", "", text, file), 999);
    EXPECT_EQ(text.GetLength(), 999);
    std::string s;
    EXPECT_EQ(ProfileReadStr("SYS", "Missing", "fallback", s, file), 8);
    EXPECT_EQ(s, "fallback");
    char small[4];
    EXPECT_EQ(ProfileReadStr("SYS", "Big", "", small, sizeof small, file), 3);
    EXPECT_STREQ(small, "qqq");
    // The typed reads see at most 99 characters, so the integer is read from those.
    ProfileReadInt("SYS", "Num", 0, file);
    ProfileReadStr("SYS", "Num", "", s, file);
    EXPECT_EQ(s, std::to_string(static_cast<int>(ProfileReadInt("SYS", "Num", 0, file))));
    EXPECT_EQ(ProfileWriteStr("SYS", "Evil", "a\r\n[X]\r\nb=c", file), 0);
}

TEST(ColourTextTest, Conversions) {
    EXPECT_EQ(ColorFromText("300,20,-5"), RGB(0, 20, 0));
    EXPECT_EQ(ColorFromText("0x0000FF"), RGB(255, 0, 0));  // read as a number: red is the low byte
    EXPECT_EQ(ColorFromText("0XFF0000"), RGB(0, 0, 255));
    EXPECT_EQ(ColorFromText("0"), 0u);
    EXPECT_EQ(ColorFromText(""), 0u);
    EXPECT_EQ(ColorFromText(nullptr), 0u);
    EXPECT_EQ(ColorFromText("lightgrey"), RGB(230, 230, 230));
    EXPECT_EQ(ColorFromText("DarkMagenta"), RGB(128, 0, 64));
    EXPECT_EQ(ColorFromText("chartreuse"), 0u);
    EXPECT_EQ(ColorFromText("TITLE"), zam::platform::GetSysColor(COLOR_ACTIVECAPTION));
    EXPECT_EQ(ColorFromText("MENU"), zam::platform::GetSysColor(COLOR_MENU));
    EXPECT_EQ(ColorFromText("BORDER"), zam::platform::GetSysColor(COLOR_ACTIVEBORDER));
}

TEST(ColourTextTest, ReadableFormsOnly) {
    COLORREF colour = 1;
    for (const auto& [text, rgb] : {std::pair{"7,8,9", RGB(7, 8, 9)}, {"0x91FFFF", RGB(255, 255, 145)}, {"Red", RGB(255, 0, 0)}}) {
        EXPECT_EQ(ColorTextRead(text, colour), 1) << text;
        EXPECT_EQ(colour, rgb) << text;
    }
    for (const char* unreadable : {"", "0", "7,7", "300,1,1", "1,x,2", "0x", "0x1234567", "chartreuse"}) {
        EXPECT_EQ(ColorTextRead(unreadable, colour), 0) << unreadable;
        EXPECT_EQ(colour, 0u);
    }
}

TEST(HexTextTest, Conversions) {
    EXPECT_EQ(HexToInt("FF"), 255u);
    EXPECT_EQ(HexToInt("ff  "), 255u);
    EXPECT_EQ(HexToInt("1 0"), 256u);
    EXPECT_EQ(HexToInt("10G5"), 16u);
    EXPECT_EQ(HexToInt("1FFFFFFFF"), 0xFFFFFFFFu);  // the ninth digit overflows away
    EXPECT_EQ(HexPrefixToInt("FF "), 4080u);
    EXPECT_EQ(HexPrefixToInt("abz"), 171u);
    EXPECT_EQ(HexToInt(std::string(200, 'F').c_str()), 0xFFFFFFFFu);
    EXPECT_EQ(TextToBool("y"), 1);
    EXPECT_EQ(TextToBool("On"), 1);
    EXPECT_EQ(TextToBool("12"), 1);
    EXPECT_EQ(TextToBool("-1"), 0);
    EXPECT_EQ(TextToBool("no"), 0);
    EXPECT_EQ(TextToBool(nullptr), 0);
}

TEST(ProfilePathTest, BuildFoldersShareTheInstalledProfile) {
    EXPECT_EQ(zam::ExeDirFromProgramPath("C:\\Tools\\Release\\ZAM_CDRelease.exe"), "C:\\Tools");
    EXPECT_EQ(zam::ProfileNameFromProgramPath("C:\\Tools\\Release\\ZAM_CDRelease.exe"), "ZAM_CD");
    EXPECT_EQ(zam::ExeDirFromProgramPath("/opt/kronalt/debug/kronaltDEBUG"), "/opt/kronalt");
    EXPECT_EQ(zam::ProfileNameFromProgramPath("/opt/kronalt/debug/kronaltDEBUG"), "kronalt");
    EXPECT_EQ(zam::ExeDirFromProgramPath("/usr/bin/kronalt"), "/usr/bin");
    EXPECT_EQ(zam::ExeDirFromProgramPath("C:\\ZAM_CD.exe"), "C:");
    EXPECT_EQ(zam::ExeDirFromProgramPath("/Releases/x"), "/Releases");
}

TEST(ProfilePathTest, ProfileLivesBesideTheProgram) {
    char exeDir[1000];
    char iniPath[1000];
    const int n = GetExeDir(exeDir, sizeof exeDir);
    EXPECT_EQ(n, static_cast<int>(std::strlen(exeDir)));
    GetIniPath(iniPath, sizeof iniPath);
    // The tests' program lives in a writable temporary folder.
    EXPECT_EQ(std::string(iniPath), std::string(exeDir) + "/kronalt.ini");
    EXPECT_EQ(zam::platform::GetProgramPath(), std::string(exeDir) + "/kronalt");
    ProfileWriteStr("SYS", "Probe", "1");
    EXPECT_EQ(ProfileReadInt("SYS", "Probe", 0), 1);
    ProfileWriteStr("SYS", nullptr, nullptr);
    char small[4];
    EXPECT_EQ(GetExeDir(small, sizeof small), 3);
}

}  // namespace
