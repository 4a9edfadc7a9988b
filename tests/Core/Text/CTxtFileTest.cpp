#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "Core/Platform/ProgramPath.h"
#include "Core/Text/CTxt.h"
#include "tests/Support/TempDir.h"

namespace {

using zam::testing::TempDir;

std::string Str(const CTxt& t) { return std::string(t.GetData() ? t.GetData() : "", t.GetLength()); }

class CTxtFileTest : public ::testing::Test {
protected:
    TempDir dir;
};

TEST_F(CTxtFileTest, WholeFiles) {
    dir.Write("ten.bin", std::string("ab\0cdefghi", 10));
    CTxt t;
    EXPECT_EQ(t.LoadFromFile(dir.File("ten.bin").c_str()), 10);
    EXPECT_EQ(t.GetLength(), 10);
    EXPECT_EQ(t.GetCapacity(), 12);
    EXPECT_EQ(Str(t), std::string("ab\0cdefghi", 10));
    EXPECT_EQ(t.LoadFromFile(dir.File("missing").c_str()), -1);
    EXPECT_EQ(Str(t), "Cannot open '" + dir.File("missing") + "' (No such file or directory)");
    EXPECT_EQ(t.LoadFromFile(dir.Path().c_str()), -1);  // a folder is not a file

    t = "hello";
    EXPECT_EQ(t.SaveToFile(dir.File("out.txt").c_str(), 0), 5);
    EXPECT_EQ(t.SaveToFile(dir.File("out.txt").c_str(), 1), 5);
    EXPECT_EQ(dir.Read("out.txt"), "hellohello");
    EXPECT_EQ(t.SaveToFileCommit(dir.File("out.txt").c_str(), 0), 5);
    EXPECT_EQ(dir.Read("out.txt"), "hello");
    EXPECT_EQ(t.SaveToFile("", 0), -1);
    EXPECT_EQ(Str(t), "Missing filename");
    t = "x";
    EXPECT_EQ(t.SaveToFile(dir.File("no/such/folder.txt").c_str(), 0), -1);
    EXPECT_NE(Str(t).find("Cannot open"), std::string::npos);
    t = "x";
    if (access("/dev/full", W_OK) == 0) {
        EXPECT_EQ(t.SaveToFile("/dev/full", 0), -1);  // a full disk is not a saved file
    }
}

TEST_F(CTxtFileTest, NumberedFiles) {
    CTxt t;
    const std::string pattern = dir.File("log%%%.txt");
    EXPECT_EQ(t.GetNextFile(pattern.c_str()), 1);
    EXPECT_EQ(Str(t), dir.File("log001.txt"));
    dir.Write("log001.txt", "");
    EXPECT_EQ(t.GetNextFile(pattern.c_str()), 2);
    EXPECT_EQ(Str(t), dir.File("log002.txt"));
    EXPECT_EQ(t.GetNextFile("x.txt"), -1);
    EXPECT_EQ(Str(t), "Missing Sequence Placeholder (%) in: x.txt");
}

TEST_F(CTxtFileTest, RecordsRoundTripAndRefuseDamage) {
    FILE* f = std::fopen(dir.File("rec.bin").c_str(), "wb");
    CTxt abc("abc");
    CTxt none;
    EXPECT_EQ(abc.BinarySave(f), 8);
    EXPECT_EQ(none.BinarySave(f), 5);
    std::fclose(f);
    EXPECT_EQ(dir.Read("rec.bin"), std::string("\x04\0\0\0abc\0\x01\0\0\0\0", 13));

    f = std::fopen(dir.File("rec.bin").c_str(), "rb");
    CTxt t;
    EXPECT_EQ(t.BinaryRead(f), 0);
    EXPECT_EQ(Str(t), "abc");
    EXPECT_EQ(t.BinaryRead(f), 0);
    EXPECT_EQ(t.GetLength(), 0);
    EXPECT_EQ(t.BinaryRead(f), -1);
    std::fclose(f);

    const unsigned char mem[] = {4, 0, 0, 0, 'a', 'b', 'c', 0};
    EXPECT_EQ(t.BinaryRead(mem), 8);
    EXPECT_EQ(Str(t), "abc");
    EXPECT_EQ(t.BinaryRead(mem, 8), 8);
    EXPECT_EQ(t.BinaryRead(mem, 7), -1);  // the record does not fit
    const unsigned char negative[] = {0xFF, 0xFF, 0xFF, 0xFF, 0};
    EXPECT_EQ(t.BinaryRead(negative, 5), -1);
    EXPECT_EQ(t.BinaryRead(negative), -1);
    const unsigned char absurd[] = {0, 0, 0, 0x10, 0};
    EXPECT_EQ(t.BinaryRead(absurd), -1);

    // A count beyond the end of the file is refused before anything is allocated.
    dir.Write("short.bin", std::string("\x00\x00\x10\x00xyz", 7));
    f = std::fopen(dir.File("short.bin").c_str(), "rb");
    EXPECT_EQ(t.BinaryRead(f), -1);
    std::fclose(f);
}

TEST(CTxtPathTest, PartsOfAPath) {
    const CTxt path("C:/snd/Harp.wav");
    const char* want[] = {"C:", "/snd/", "Harp", "wav", "C:/snd/", "Harp.wav", "C:/snd/Harp",
                          "C:/snd/Harp.wav", ""};
    CTxt out;
    for (int kind = 0; kind <= 8; ++kind) {
        EXPECT_EQ(path.GetFileTxt(kind, out), static_cast<int>(std::strlen(want[kind])));
        EXPECT_EQ(Str(out), want[kind]) << kind;
    }
    CTxt("C:/snd/Harp").GetFileTxt(3, out);
    EXPECT_EQ(Str(out), "");
    CTxt().GetFileTxt(7, out);
    EXPECT_EQ(Str(out), "");
}

TEST(CTxtPathTest, Normalising) {
    CTxt t("C:\\a\\b\\");
    t.MakeFn();
    EXPECT_EQ(Str(t), "C:/a/b");
    t = "\\\\srv\\x";
    t.MakeFn();
    EXPECT_EQ(Str(t), "\\\\srv/x");
    t = "C:/a/b/";
    t.MakeFnDOS();
    EXPECT_EQ(Str(t), "C:\\a\\b");
    t = "//";
    t.MakeFn();
    EXPECT_EQ(Str(t), "");
}

TEST(CTxtPathTest, FileNameSurgery) {
    CTxt t("a/b.TXT");
    EXPECT_EQ(t.MakeFileExt("txt"), 1);
    EXPECT_EQ(Str(t), "a/b.TXT");
    t = "a/b.bin";
    EXPECT_EQ(t.MakeFileExt("txt"), 0);
    EXPECT_EQ(Str(t), "a/b.txt");
    t = "C:/d/old.wav";
    EXPECT_EQ(t.MakeFileName("new", nullptr), 0);
    EXPECT_EQ(Str(t), "C:/d/new.wav");
    t = "C:\\d\\old.wav";
    t.MakeFileName("new", "mp3");
    EXPECT_EQ(Str(t), "C:/d/new.mp3");
    t = "old.wav";
    t.MakeFileName("new", nullptr);
    EXPECT_EQ(Str(t), "new.wav");
    t = "data.bin";
    t.AddToFn("2", 1);
    EXPECT_EQ(Str(t), "data-2.bin");
    t = "dir/data.bin";
    t.InsertToFn("old", 1);
    EXPECT_EQ(Str(t), "dir/old-data.bin");
    t = "C:\\Snd\\harp.WAV";
    EXPECT_EQ(t.IsSameFileTxt("c:/snd/HARP.wav", 7), 1);
    EXPECT_EQ(Str(t), "C:/Snd/harp.WAV");
    EXPECT_EQ(t.IsSameFileTxt("x/harp.mp3", 2), 1);
    EXPECT_EQ(t.IsSameFileTxt("x/harp.mp3", 5), 0);
}

TEST(CTxtPathTest, LocationsAndProgramName) {
    CTxt t("failed");
    t.AppendFileLocation("a.cpp", 12, nullptr);
    EXPECT_EQ(Str(t), "failed\r\n(File=a.cpp, Line=12)");
    t = "x";
    t.AppendFileLocation("a.cpp", 7, " at %s:%d");
    EXPECT_EQ(Str(t), "x at a.cpp:7");
    t = "x";
    t.AppendFileLocation("a.cpp", 7, " %s %s %s %n");  // never reads past its two arguments
    EXPECT_EQ(Str(t), "x\r\n(File=a.cpp, Line=7)");

    const std::string saved = zam::platform::GetProgramPath();
    zam::platform::SetProgramPathOverride("/proj/Release/app.exe");
    CTxt out;
    CTxt::GetExeName(out, 7);
    EXPECT_EQ(Str(out), "/proj/app.exe");
    CTxt::GetExeName(out, 2);
    EXPECT_EQ(Str(out), "app");
    zam::platform::SetProgramPathOverride(saved);

    const std::vector<std::string> list = {"Harp", "TickTock"};
    EXPECT_EQ(CTxt::FindStringArray(list, "ticktock"), 1);
    EXPECT_EQ(CTxt::FindStringArray(list, "Bell"), -1);
}

TEST(CTxtConvTest, FieldsAndHex) {
    CTxt t;
    EXPECT_EQ(t.GetField("name  =value", '=', 1), 4);
    EXPECT_EQ(Str(t), "name");
    EXPECT_EQ(t.GetField("name  =value", '=', 0), 6);
    EXPECT_EQ(t.GetField("all", 0, 1), 3);
    EXPECT_EQ(t.GetField("=x", '=', 0), 0);
    EXPECT_EQ(t.GetData(), nullptr);
    t.GetHex(0x1234ABCDul, 0);
    EXPECT_EQ(Str(t), "1234ABCD");
    t.GetHex(0x1234ABCDul, 1);
    EXPECT_EQ(Str(t), "CD");
    t.GetHex(0x1234ABCDul, 3);
    EXPECT_EQ(Str(t), "34ABCD");
    EXPECT_EQ(t.MakeHexValue(-1, 4), 4);
    EXPECT_EQ(Str(t), "FFFF");
    EXPECT_EQ(t.MakeHexValue(255, 5), 8);
    const unsigned char bytes[] = {0x0A, 0xFF};
    t.GetHexArray(bytes, 2);
    EXPECT_EQ(Str(t), "0A,FF,");
    t.GetHexArray(bytes, 0);
    EXPECT_EQ(Str(t), "GetHexArray(0By)");
    t.GetHexArray(bytes, 1001);
    EXPECT_EQ(Str(t), "GetHexArray(1001By)");
    t = "A\xC8";
    EXPECT_EQ(t.ConvHex(1), 4);
    EXPECT_EQ(Str(t), "41C8");
    t = "41c8";
    EXPECT_EQ(t.ConvHex(0), 2);
    EXPECT_EQ(Str(t), "A\xC8");
    t = "410042F";
    EXPECT_EQ(t.ConvHex(0), 4);
    EXPECT_EQ(Str(t), std::string("A\0B\x0F", 4));
    CTxt empty;
    EXPECT_EQ(empty.ConvHex(1), -1);
    t.MakeValueTxt(2.5, 3);
    EXPECT_EQ(Str(t), "2.5");
    t.MakeValueTxt(100, 0);
    EXPECT_EQ(Str(t), "100");
    t.MakeValueTxt(3, 2);
    EXPECT_EQ(Str(t), "3");
    t.MakeValueTxt(-0.125, 2);
    EXPECT_EQ(Str(t), "-0.12");
}

TEST(CTxtConvTest, MarkupAndEscapes) {
    CTxt t("a<b & \"c\"");
    t.ConvTxt2XML();
    EXPECT_EQ(Str(t), "a&lt;b &amp; &quot;c&quot;");
    t = "it's \xE9\x01";
    t.ConvTxt2XML();
    EXPECT_EQ(Str(t), "it&apos;s &#xE9;&#x01;");
    t.ConvXML2Txt();
    EXPECT_EQ(Str(t), "it's \xE9\x01");
    t = "a+b%41&nbsp;c";
    t.ConvHTM2TXT();
    EXPECT_EQ(Str(t), "a bA c");
    t = "100%% \\+ &NBSP;&amp; %4 %zz\\";
    t.ConvHTM2TXT();
    EXPECT_EQ(Str(t), "100% +  & %4 %zz");
    t = "a\r\nb\t";
    t.ConvCRLF(0);
    EXPECT_EQ(Str(t), "a\\r\\nb\\t");
    t.ConvCRLF(1);
    EXPECT_EQ(Str(t), "a\r\nb\t");
    t = "a\\qb\\";
    t.ConvCRLF(1);
    EXPECT_EQ(Str(t), "ab");
    t = "a\nb\r\nc\n";
    t.InsertCR();
    EXPECT_EQ(Str(t), "a\r\nb\r\nc\r\n");
}

TEST(CTxtConvTest, ProtectionRoundTripsAnyText) {
    std::mt19937 rng(7);
    for (int round = 0; round < 500; ++round) {
        std::string text;
        const int length = static_cast<int>(rng() % 200);
        for (int i = 0; i < length; ++i) text += static_cast<char>(rng() % 256);
        if (text.find('\0') != std::string::npos) text.erase(text.find('\0'));
        const int key = static_cast<int>(rng() % 2000) - 10;
        CTxt t(text.c_str());
        t.ConvProt(0, key);
        for (int i = 0; i < t.GetLength(); ++i) {
            const unsigned char c = static_cast<unsigned char>(t[i]);
            const unsigned char o = static_cast<unsigned char>(text[i]);
            ASSERT_EQ(c >= 32 && c <= 126, o >= 32 && o <= 126);
        }
        t.ConvProt(1, key);
        ASSERT_EQ(Str(t), text) << "key " << key;
    }
    CTxt big(std::string(1000, 'x').c_str());
    big.ConvProt(0, 2147483647);  // key + position must not overflow
    big.ConvProt(1, 2147483647);
    EXPECT_EQ(Str(big), std::string(1000, 'x'));
}

TEST(CTxtConvTest, Masks) {
    CTxt t("a b:c");
    EXPECT_EQ(t.MaskNonFilename(0, nullptr), ' ');
    EXPECT_EQ(t.MaskNonFilename(1, nullptr), 1);
    EXPECT_EQ(Str(t), "a_b_c");
    EXPECT_EQ(t.MaskNonFilename(1, nullptr), -1);
    EXPECT_EQ(t.MaskNonFilename(0, nullptr), 0);
    t = "x.y-z\xE9";
    EXPECT_EQ(t.MaskNonFilename(1, "."), 5);
    EXPECT_EQ(Str(t), "x.y-z_");
    t = "my-var 2";
    EXPECT_EQ(t.MaskNonVar(1, nullptr), 2);
    EXPECT_EQ(Str(t), "my_var_2");
    CTxt empty;
    EXPECT_EQ(empty.MaskNonVar(0, nullptr), -1);
    t = "a\tb\x7F\xFF";
    EXPECT_EQ(t.MaskNonPrintable(), 3);
    EXPECT_EQ(Str(t), "a+b++");
}

TEST_F(CTxtFileTest, HexDumpOfAFile) {
    std::string bytes = "AB";
    bytes += '\x01';
    dir.Write("data.bin", bytes);
    CTxt t("keep");
    EXPECT_EQ(t.PrintFile(dir.File("data.bin").c_str(), 2, 1), 0);
    EXPECT_EQ(Str(t), "keep");
    EXPECT_EQ(dir.Read("data-2.txt"), "FILE:\t" + dir.File("data.bin") +
                                          "\r\n\r\nLENGTH=2:\r\nPOS0:\r\n"
                                          "[        0]: 4241 -  16961 - AB\r\n"
                                          "[        2]: 0001 -      1 - ?\r\n");
    EXPECT_EQ(t.PrintFile(dir.File("none.bin").c_str(), 1, 0), -1);
    EXPECT_EQ(Str(t), "Empty or missing file " + dir.File("none.bin") + " (-1)");
    dir.Write("big.bin", std::string(2500, 'x'));
    EXPECT_EQ(t.PrintFile(dir.File("big.bin").c_str(), 4, 0), 0);
    const std::string dump = dir.Read("big-4.txt");
    EXPECT_NE(dump.find("POS2000:\r\n78787878 -   2021161080 - xxxx\r\n"), std::string::npos);
}

}  // namespace
