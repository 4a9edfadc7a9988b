#include "Core/Text/TextFunc.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Core/Text/CTxt.h"
#include "Core/Text/RuntimeConv.h"
#include "tests/Support/TempDir.h"

namespace {

using zam::testing::TempDir;

std::string Field(const char* src, char delim, int first, int last, int* result = nullptr,
                  int outSize = 100) {
    char out[100];
    std::memset(out, '#', sizeof out);
    const int r = strfld(src, delim, first, last, out, outSize);
    if (result) *result = r;
    return out;
}

TEST(TextFuncTest, FieldCounts) {
    EXPECT_EQ(strfldcnt("a,b,c", ','), 3);
    EXPECT_EQ(strfldcnt("a,b,", ','), 2);
    EXPECT_EQ(strfldcnt(",a", ','), 2);
    EXPECT_EQ(strfldcnt("a", ','), 1);
    EXPECT_EQ(strfldcnt("", ','), 0);
    EXPECT_EQ(strfldcnt("   ", ','), 0);
    EXPECT_EQ(strfldcnt("a   b", ' '), 2);
    EXPECT_EQ(strfldcnt("a,b  ", ','), 2);
    EXPECT_EQ(strfldcnt(nullptr, ','), 0);
}

TEST(TextFuncTest, FieldExtraction) {
    int r = 0;
    EXPECT_EQ(Field("a,b,c", ',', 2, 0, &r), "b");
    EXPECT_EQ(r, 1);
    EXPECT_EQ(Field("a,b,c", ',', 1, 2), "a,b");
    EXPECT_EQ(Field("a,b,c", ',', -1, 0), "c");
    EXPECT_EQ(Field("a,b,c", ',', 99, 0), "c");
    EXPECT_EQ(Field("a,b,c", ',', -99, 0), "a");
    EXPECT_EQ(Field("a,b,c", ',', -2, -1), "b,c");
    EXPECT_EQ(Field("a,b,c", ',', 2, 9), "b,c");
    EXPECT_EQ(Field("a,b,c", ',', 4, 0, &r), "");
    EXPECT_EQ(r, 0);
    EXPECT_EQ(Field("a,b,c", ',', 3, 2, &r), "");
    EXPECT_EQ(r, -1);
    EXPECT_EQ(Field("a,,c", ',', 2, 0, &r), "");
    EXPECT_EQ(r, 0);
    EXPECT_EQ(Field("a,b,", ',', 2, 0), "b");
    EXPECT_EQ(Field("  x y", ' ', 2, 0), "y");
    EXPECT_EQ(Field("a   b", ' ', 1, 0), "a  ");
    EXPECT_EQ(Field("a,b,c", ',', 0, 0, &r), "");
    EXPECT_EQ(Field("a,b,c", ',', -3, 2), "a,b");
    EXPECT_EQ(Field("a,b,c", ',', 2, -3, &r), "");  // ends that cross once made positive
    EXPECT_EQ(r, -1);
    // A field longer than the output is cut and still terminated.
    EXPECT_EQ(Field("abcdefgh,x", ',', 1, 0, &r, 4), "abc");
    EXPECT_EQ(r, 3);
    char tiny[1] = {'#'};
    EXPECT_EQ(strfld("abc", ',', 1, 0, tiny, 1), 0);
    EXPECT_EQ(tiny[0], '\0');
    EXPECT_EQ(strfld("abc", ',', 1, 0, tiny, 0), -1);
}

TEST(TextFuncTest, FieldHelpers) {
    EXPECT_EQ(strfldint("255,128,0", ',', 2), 128);
    EXPECT_EQ(strfldint("255,128,0", ',', 5), 0);
    EXPECT_EQ(strfldint("1,-7x", ',', 2), -7);
    CTxt out("previous");
    EXPECT_EQ(strfldtxt("a;b;c", ';', 2, 3, out), 3);
    EXPECT_STREQ(out, "b;c");
    EXPECT_EQ(strfldtxt("a;b;c", ';', 3, 1, out), -1);
    EXPECT_STREQ(out, "");
    // Many fields: more than the 9,999 recorded starts must not overrun anything.
    std::string many;
    for (int i = 0; i < 12000; ++i) many += "x,";
    EXPECT_EQ(Field(many.c_str(), ',', 5, 0), "x");
}

TEST(TextFuncTest, TrimUnquoteCutZero) {
    char a[] = " \t ab c \t";
    EXPECT_EQ(strtrimws(a), 4);
    EXPECT_STREQ(a, "ab c");
    EXPECT_EQ(a[5], '\0');
    char b[] = "  'abc\" ";
    EXPECT_EQ(strunquote(b, '#'), 3);
    EXPECT_STREQ(b, "abc");
    char c[] = "##x#";
    EXPECT_EQ(strunquote(c, '#'), 1);
    char allBlank[] = "   ";
    EXPECT_EQ(strtrimws(allBlank), 0);
    char n1[] = "12.000";
    EXPECT_EQ(strcutzero(n1, 0), 2);
    EXPECT_STREQ(n1, "12");
    char n2[] = "12.050";
    strcutzero(n2, 0);
    EXPECT_STREQ(n2, "12.050");
    strcutzero(n2, 1);
    EXPECT_STREQ(n2, "12.05");
    char n3[] = "2.000";
    strcutzero(n3, 1);
    EXPECT_STREQ(n3, "2");
    char n4[] = "100";
    strcutzero(n4, 1);
    EXPECT_STREQ(n4, "100");  // no point: the zeros are the number's own
}

TEST(TextFuncTest, CompareAndSearch) {
    EXPECT_EQ(stricmpmode("abc", "ABC", 1), 0);
    EXPECT_EQ(stricmpmode("ab", "ABC", 1), 2);
    EXPECT_EQ(stricmpmode("ab", "ABC", 2), 0);
    EXPECT_EQ(stricmpmode("abc", "AB", 2), 2);
    EXPECT_EQ(stricmpmode("abd", "ABC", 0), 1);
    EXPECT_EQ(stricmpmode("abc", "AB", 0), 0);
    EXPECT_EQ(stricmpmode("", "abc", 0), 0);
    EXPECT_EQ(stricmpmode("", "", 1), 0);
    EXPECT_EQ(stricmpmode(nullptr, "a", 1), 3);
    EXPECT_EQ(stricmpmode("a", nullptr, 0), 3);
    EXPECT_EQ(strifind("Hello World", "WORLD"), 6);
    EXPECT_EQ(strifind("ab", "abc"), -1);
    EXPECT_EQ(strifind("abcabc", "CA"), 2);
    EXPECT_EQ(strchrpos('c', "abc"), 2);
    EXPECT_EQ(strchrpos('z', "abc"), -1);
    EXPECT_EQ(strchrpos('\0', "abc"), -1);
}

TEST(TextFuncTest, RuntimeConversions) {
    EXPECT_EQ(zam::RuntimeAtoi("  -42abc"), -42);
    EXPECT_EQ(zam::RuntimeAtoi("2147483648"), -2147483647 - 1);
    EXPECT_EQ(zam::RuntimeAtoi("4294967296"), 0);
    EXPECT_EQ(zam::RuntimeAtoi("x1"), 0);
    EXPECT_EQ(zam::RuntimeAtoi("99999999999999999999999"), zam::RuntimeAtoi("99999999999999999999999"));
    EXPECT_DOUBLE_EQ(zam::RuntimeAtof("12.5e+3x"), 12500);
    EXPECT_DOUBLE_EQ(zam::RuntimeAtof("0x1F"), 0);
    EXPECT_DOUBLE_EQ(zam::RuntimeAtof(" -.5"), -0.5);
    EXPECT_DOUBLE_EQ(zam::RuntimeAtof("1e"), 1);
    EXPECT_DOUBLE_EQ(zam::RuntimeAtof("inf"), 0);
    EXPECT_DOUBLE_EQ(zam::RuntimeAtof("1e-999"), 0);
    EXPECT_TRUE(zam::RuntimeAtof("1e999") > 1e308);
}

class TextFileTest : public ::testing::Test {
protected:
    TempDir dir;
};

TEST_F(TextFileTest, ReadLineByLine) {
    dir.Write("lines.txt", std::string("x\r\ny\n\nlong line here\rz\r"));
    FILE* f = std::fopen(dir.File("lines.txt").c_str(), "rb");
    ASSERT_NE(f, nullptr);
    char buf[5];
    EXPECT_EQ(freadline(buf, sizeof buf, f), 1);
    EXPECT_STREQ(buf, "x");
    EXPECT_EQ(freadline(buf, sizeof buf, f), 1);
    EXPECT_STREQ(buf, "y");
    EXPECT_EQ(freadline(buf, sizeof buf, f), 0);
    EXPECT_EQ(freadline(buf, sizeof buf, f), 4);  // cut to size - 1, the rest dropped
    EXPECT_STREQ(buf, "long");
    EXPECT_EQ(freadline(buf, sizeof buf, f), -1);  // a CR as the very last byte
    EXPECT_STREQ(buf, "z");
    std::fclose(f);

    dir.Write("tail.txt", "x\r\ny");
    f = std::fopen(dir.File("tail.txt").c_str(), "rb");
    EXPECT_EQ(freadline(buf, sizeof buf, f), 1);
    EXPECT_EQ(freadline(buf, sizeof buf, f), -1);
    EXPECT_STREQ(buf, "y");
    std::fclose(f);
}

TEST_F(TextFileTest, FileFacts) {
    dir.Write("five.txt", "12345");
    EXPECT_EQ(filesize(dir.File("five.txt").c_str()), 5);
    EXPECT_EQ(filesize(""), -2);
    EXPECT_EQ(filesize(nullptr), -2);
    EXPECT_EQ(filesize(dir.File("none").c_str()), -1);
    struct stat st{};
    stat(dir.File("five.txt").c_str(), &st);
    EXPECT_EQ(filetime(dir.File("five.txt").c_str()), static_cast<int>(st.st_mtime));
    EXPECT_EQ(filetime("C:\\dev\\nul"), 0);
    EXPECT_EQ(filetime(dir.File("none").c_str()), -1);
    char buf[8];
    EXPECT_EQ(fdread(-1, buf, sizeof buf), 0);
    void* zeros = zalloc(64);
    ASSERT_NE(zeros, nullptr);
    EXPECT_EQ(static_cast<unsigned char*>(zeros)[63], 0);
    std::free(zeros);
}

TEST_F(TextFileTest, OnlyRegularFilesAreOpened) {
    dir.Write("plain.txt", "text");
    ASSERT_EQ(mkfifo(dir.File("pipe").c_str(), 0600), 0);
    EXPECT_EQ(fileisregular(dir.File("plain.txt").c_str()), 1);
    EXPECT_EQ(fileisregular(dir.File("pipe").c_str()), 0);
    EXPECT_EQ(fileisregular(dir.Path().c_str()), 0);
    EXPECT_EQ(fileisregular(dir.File("none").c_str()), -1);
    // No writer ever comes to the pipe: a blocking open would never return.
    CTxt text;
    EXPECT_EQ(text.LoadFromFile(dir.File("pipe").c_str()), -1);
    EXPECT_EQ(std::string(text), "Cannot open '" + dir.File("pipe") + "' (Not a regular file)");
}

TEST(TextEncodingTest, Utf8KeptWindows1252Converted) {
    for (const char* bad : {"caf\xE9", "\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80"})
        EXPECT_EQ(strisutf8(bad, static_cast<int>(std::strlen(bad))), 0) << bad;
    CTxt text("P\xC3\xA4" "1 \xF0\x9F\x98\x80");
    EXPECT_EQ(txtfromcp1252(text), 0);
    EXPECT_EQ(std::string(text), "P\xC3\xA4" "1 \xF0\x9F\x98\x80");
    text = "P\xC3\xA4" "1 caf\xE9 \x80 \x81";  // a pasted Windows byte among UTF-8
    EXPECT_EQ(txtfromcp1252(text), 1);
    EXPECT_EQ(std::string(text), "P\xC3\xA4" "1 caf\xC3\xA9 \xE2\x82\xAC \xEF\xBF\xBD");
}

TEST_F(TextFileTest, MakeFolderPaths) {
    const std::string base = dir.Path();
    EXPECT_EQ(mkdirpath((base + "/data/logs/file.log").c_str(), 1), 0);
    struct stat st{};
    EXPECT_EQ(stat((base + "/data/logs").c_str(), &st), 0);
    EXPECT_NE(stat((base + "/data/logs/file.log").c_str(), &st), 0);
    EXPECT_EQ(mkdirpath((base + "\\mixed\\sep/deep").c_str(), 0), 0);
    EXPECT_EQ(stat((base + "/mixed/sep/deep").c_str(), &st), 0);
    EXPECT_EQ(mkdirpath((base + "/data/logs").c_str(), 0), 0);  // already there
    dir.Write("afile", "x");
    EXPECT_EQ(mkdirpath((base + "/afile/sub/x.log").c_str(), 1), -1);
    EXPECT_EQ(mkdirpath(std::string(1001, 'a').c_str(), 0), -1);
}

TEST_F(TextFileTest, BufferedReaderOverMemoryAndFile) {
    char block[] = "a\r\n\nb";
    ASSERT_EQ(bufsetmem(block, 5), 0);
    char line[16];
    EXPECT_EQ(bufgetline(line, sizeof line), 1);
    EXPECT_STREQ(line, "a");
    EXPECT_EQ(bufgetline(line, sizeof line), 0);
    EXPECT_EQ(bufgetline(line, sizeof line), 1);
    EXPECT_STREQ(line, "b");
    EXPECT_EQ(bufgetline(line, sizeof line), -1);
    bufreset();
    EXPECT_EQ(bufsetmem(nullptr, 5), -1);
    EXPECT_EQ(bufsetmem(block, 0), -2);

    // A small buffer forces refills across line boundaries.
    setenv("BGETLRAM", "10", 1);
    std::string content;
    for (int i = 0; i < 500; ++i) content += "line " + std::to_string(i) + "\r\n";
    content += "tail\x1A" "after";
    dir.Write("big.txt", content);
    ASSERT_EQ(bufopen(dir.File("big.txt").c_str()), 1);
    for (int i = 0; i < 500; ++i) {
        ASSERT_EQ(bufgetline(line, sizeof line), static_cast<int>(("line " + std::to_string(i)).size()));
        ASSERT_EQ(std::string(line), "line " + std::to_string(i));
    }
    EXPECT_EQ(bufgetline(line, 3), 2);  // "tail" cut to size - 1
    EXPECT_STREQ(line, "ta");
    EXPECT_EQ(bufgetline(line, sizeof line), 5);
    EXPECT_STREQ(line, "after");
    EXPECT_EQ(bufgetline(line, sizeof line), -1);
    bufclose();
    unsetenv("BGETLRAM");
    EXPECT_EQ(bufgetline(line, sizeof line), -1);
    EXPECT_EQ(bufopen(dir.File("missing").c_str()), 0);
    EXPECT_EQ(bufopen(""), 0);
    bufclose();
}

TEST_F(TextFileTest, ReaderForgetsAMemoryBlockLeftBehind) {
    char block[] = "x\ny";
    ASSERT_EQ(bufsetmem(block, 3), 0);
    dir.Write("f.txt", "file line\n");
    // No bufreset: the caller's block must be neither refilled nor freed.
    ASSERT_EQ(bufopen(dir.File("f.txt").c_str()), 1);
    char line[32];
    EXPECT_EQ(bufgetline(line, sizeof line), 9);
    EXPECT_STREQ(block, "x\ny");
    bufclose();
}

}  // namespace

namespace {

TEST(PlaceHolderTest, FillsFieldsOrRefuses) {
    CTxt t("@2 and @1");
    EXPECT_EQ(t.FillPlaceHolder("red,green", 0, ','), 0);
    EXPECT_STREQ(t, "green and red");
    t = "@3";
    EXPECT_EQ(t.FillPlaceHolder("red,green", 0, ','), -4);
    EXPECT_STREQ(t, "@3");
    EXPECT_EQ(t.FillPlaceHolder("red,green", 1, ','), 0);
    EXPECT_STREQ(t, "");
    t = "a@b";
    EXPECT_EQ(t.FillPlaceHolder("red,green", 1, ','), -3);
    EXPECT_STREQ(t, "a@b");
    t = "done @2";
    EXPECT_EQ(t.FillPlaceHolder("x;;", 0, ';'), -4);  // field 2 is empty
    EXPECT_EQ(t.FillPlaceHolder("x;y", 0, ';'), 0);
    EXPECT_STREQ(t, "done y");
    t = "@99999999999999999999";
    EXPECT_EQ(t.FillPlaceHolder("a", 0, ','), -4);
    CTxt empty;
    EXPECT_EQ(empty.FillPlaceHolder("a", 0, ','), -2);
    EXPECT_EQ(t.FillPlaceHolder("", 0, ','), -1);
    t = "trailing @";
    EXPECT_EQ(t.FillPlaceHolder("a", 0, ','), -3);
}

}  // namespace
