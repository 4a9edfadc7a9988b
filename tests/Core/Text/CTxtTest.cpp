#include "Core/Text/CTxt.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <type_traits>
#include <utility>

#include "Core/Platform/UserInterface.h"

namespace {

// A text with exactly the given capacity and contents, built through the
// public growth rules: a long text first, then a shorter one in its buffer.
CTxt WithCapacity(int capacity, const char* text) {
    CTxt t;
    t.SetTxt(std::string(static_cast<size_t>(capacity - 2), 'z').c_str());
    t.SetTxt(text);
    return t;
}

}  // namespace

TEST(CTxtStorage, NewTextHasNoBufferUntilConverted) {
    CTxt t;
    EXPECT_EQ(nullptr, t.GetData());
    EXPECT_EQ(0, t.GetLength());
    EXPECT_EQ(0, t.GetCapacity());
    EXPECT_TRUE(t.IsEmpty());
    EXPECT_FALSE(t.IsFilled());

    const CTxt& view = t;
    EXPECT_STREQ("", static_cast<const char*>(view));
    EXPECT_NE(nullptr, t.GetData());
    EXPECT_EQ(2, t.GetCapacity());

    CTxt none(static_cast<const char*>(nullptr));
    EXPECT_EQ(nullptr, none.GetData());
}

TEST(CTxtStorage, GrowsToExactFitAndNeverShrinks) {
    CTxt t = WithCapacity(10, "abc");
    ASSERT_EQ(10, t.GetCapacity());
    EXPECT_STREQ("abc", t.GetData());
    EXPECT_EQ(3, t.GetLength());

    t.SetTxt("12345678901234567890");
    EXPECT_EQ(22, t.GetCapacity());
    t.SetTxt("x");
    EXPECT_EQ(22, t.GetCapacity());

    CTxt a("abc");
    ASSERT_EQ(5, a.GetCapacity());
    EXPECT_EQ(5, a.AddTxt("de"));
    EXPECT_STREQ("abcde", a.GetData());
    EXPECT_EQ(7, a.GetCapacity());

    // A single character needs L + 3 bytes, so a full text reallocates each time.
    EXPECT_EQ(6, a.Add('f'));
    EXPECT_EQ(8, a.GetCapacity());
    EXPECT_EQ(7, a.Add('g'));
    EXPECT_EQ(9, a.GetCapacity());
    EXPECT_STREQ("abcdefg", a.GetData());

    CTxt b;
    b.Add('q');
    EXPECT_EQ(3, b.GetCapacity());
    EXPECT_STREQ("q", b.GetData());

    a.SetTxt(nullptr);
    EXPECT_EQ(nullptr, a.GetData());
    EXPECT_EQ(0, a.GetCapacity());
}

TEST(CTxtStorage, ReleasedFillPatternIsNotFreedAgain) {
    // The buffer pointer is the first field of a standard-layout object.
    static_assert(std::is_standard_layout<CTxt>::value, "layout is relied on below");
    alignas(CTxt) unsigned char raw[sizeof(CTxt)];
    CTxt* t = new (raw) CTxt("abc");
    std::free(const_cast<char*>(t->GetData()));
    char* fill = reinterpret_cast<char*>(static_cast<uintptr_t>(0xFEEEFEEE));
    std::memcpy(raw, &fill, sizeof fill);
    t->ReleaseBuffer();
    EXPECT_EQ(nullptr, t->GetData());
    EXPECT_EQ(0, t->GetLength());
    EXPECT_EQ(0, t->GetCapacity());
    t->~CTxt();
}

TEST(CTxtAssign, FollowsTheTextNeverTheBufferlessSource) {
    CTxt target("xyz");
    CTxt nothing;
    target = nothing;
    EXPECT_STREQ("xyz", target.GetData());
    target = std::move(nothing);
    EXPECT_STREQ("xyz", target.GetData());

    CTxt source("hello");
    target = source;
    EXPECT_STREQ("hello", target.GetData());
    EXPECT_NE(source.GetData(), target.GetData());
    const CTxt& same = target;
    const char* buffer = target.GetData();
    target = same;
    EXPECT_EQ(buffer, target.GetData());
    EXPECT_STREQ("hello", target.GetData());

    CTxt copy(source);
    source.SetAt(0, 'J');
    EXPECT_STREQ("hello", copy.GetData());
    EXPECT_STREQ("Jello", source.GetData());

    CTxt moved(std::move(copy));
    EXPECT_STREQ("hello", moved.GetData());
    EXPECT_EQ(nullptr, copy.GetData());

    target = "abc";
    target += "def";
    EXPECT_STREQ("abcdef", target.GetData());
    EXPECT_EQ('c', target[2]);
    EXPECT_EQ('d', target.GetAt(3));
}

TEST(CTxtAssign, OwnCharactersAsSource) {
    CTxt t("abcdef");
    t.SetTxt(t.GetData() + 2);
    EXPECT_STREQ("cdef", t.GetData());

    // Appending itself forces a new buffer while the source is the old one.
    t += t;
    EXPECT_STREQ("cdefcdef", t.GetData());
    t.InsertAt(2, t.GetData());
    EXPECT_STREQ("cdcdefcdefefcdef", t.GetData());
    t.Format("[%s]", t.GetData());
    EXPECT_STREQ("[cdcdefcdefefcdef]", t.GetData());
}

TEST(CTxtAssign, FixedWidthAndRawMemory) {
    CTxt t;
    t.SetTxtFixLen("abc  def", 5);
    EXPECT_STREQ("abc", t.GetData());
    EXPECT_EQ(7, t.GetCapacity());  // sized for the padded form
    t.SetTxtFixLen("ab", 6);
    EXPECT_STREQ("ab", t.GetData());
    t.SetTxtFixLen(nullptr, 4);
    EXPECT_STREQ("", t.GetData());

    const char bytes[] = {'a', 'b', '\0', 'c', 'd'};
    EXPECT_EQ(5, t.ReadFromRam(bytes, 5));
    EXPECT_STREQ("ab", t.GetData());
    const char noZero[] = {'w', 'x', 'y', 'z'};
    EXPECT_EQ(3, t.ReadFromRam(noZero, 3));
    EXPECT_STREQ("wxy", t.GetData());
    EXPECT_EQ(0, t.ReadFromRam(noZero, -4));
    EXPECT_STREQ("", t.GetData());
}

TEST(CTxtBuild, InsertClampsPositionAndIgnoresNothing) {
    CTxt t("ace");
    EXPECT_EQ(4, t.InsertAt(1, "b"));
    EXPECT_EQ(5, t.InsertAt(99, 'f'));
    EXPECT_EQ(6, t.InsertAt(-3, ">"));
    EXPECT_STREQ(">abcef", t.GetData());
    EXPECT_EQ(6, t.InsertAt(2, static_cast<const char*>(nullptr)));
    EXPECT_EQ(6, t.InsertAt(2, ""));
    EXPECT_EQ(6, t.Add('\0'));
    EXPECT_STREQ(">abcef", t.GetData());

    CTxt empty;
    EXPECT_EQ(2, empty.InsertAt(5, "hi"));
    EXPECT_STREQ("hi", empty.GetData());

    EXPECT_EQ(1, t.FillChar('x', 0));
    EXPECT_STREQ("x", t.GetData());
    EXPECT_EQ(3, t.FillChar('-', 3));
    EXPECT_STREQ("---", t.GetData());
    EXPECT_EQ(0, t.FillChar('\0', 3));
    EXPECT_STREQ("", t.GetData());

    CTxt n;
    EXPECT_EQ(0, n.AddTxt(nullptr));
    EXPECT_STREQ("", n.GetData());
}

TEST(CTxtRemove, RangesWithTheirCodes) {
    CTxt t("abcdefgh");
    EXPECT_EQ(6, t.RemoveRange(2, 2));
    EXPECT_STREQ("abefgh", t.GetData());
    t = "abcdefgh";
    EXPECT_EQ(2, t.RemoveRange(2, 100));
    EXPECT_STREQ("ab", t.GetData());
    t = "abcdefgh";
    EXPECT_EQ(-1, t.RemoveRange(-1, 1));
    EXPECT_EQ(-2, t.RemoveRange(8, 1));
    EXPECT_EQ(-3, t.RemoveRange(0, 0));
    EXPECT_EQ(7, t.RemoveRange(7, 2147483647));
    EXPECT_STREQ("abcdefg", t.GetData());
    CTxt none;
    EXPECT_EQ(-2, none.RemoveRange(0, 1));

    t = "abcdef";
    EXPECT_EQ(-4, t.ExtractRange(3, 2));
    EXPECT_EQ(-2, t.ExtractRange(7, 8));
    EXPECT_EQ(-3, t.ExtractRange(2, 7));
    EXPECT_STREQ("abcdef", t.GetData());
    EXPECT_EQ(3, t.ExtractRange(2, 4));
    EXPECT_STREQ("bcd", t.GetData());
    EXPECT_EQ(2, t.ExtractRange(-5, 2));
    EXPECT_STREQ("bc", t.GetData());
    EXPECT_EQ(-1, none.ExtractRange(1, 1));
}

TEST(CTxtRemove, CharacterFilters) {
    CTxt t("a1b2c3");
    EXPECT_EQ(3, t.ExtractChar("0123456789"));
    EXPECT_STREQ("123", t.GetData());
    t = "banana";
    EXPECT_EQ(3, t.RemoveChar('a'));
    EXPECT_STREQ("bnn", t.GetData());
    t = "a-b_c d";
    EXPECT_EQ(4, t.RemoveCharList("-_ "));
    EXPECT_STREQ("abcd", t.GetData());
    EXPECT_EQ(4, t.RemoveCharList(nullptr));
    EXPECT_EQ(0, t.ExtractChar(nullptr));

    t = "a.b.c";
    EXPECT_EQ(2, t.Replace('.', '/'));
    EXPECT_STREQ("a/b/c", t.GetData());
    EXPECT_EQ(2, t.Replace('/', '\0'));
    EXPECT_EQ(1, t.GetLength());

    CTxt none;
    EXPECT_EQ(-1, none.ExtractChar("a"));
    EXPECT_EQ(-1, none.RemoveChar('a'));
    EXPECT_EQ(-1, none.RemoveCharList("a"));
    EXPECT_EQ(0, none.Replace('a', 'b'));
}

TEST(CTxtRemove, ReplaceInTextScansOnceWithoutCase) {
    CTxt t("aBcab");
    EXPECT_EQ(3, t.ReplaceInText("ab", "X"));
    EXPECT_STREQ("XcX", t.GetData());
    t = "aaa";
    EXPECT_EQ(2, t.ReplaceInText("aa", "b"));
    EXPECT_STREQ("ba", t.GetData());
    t = "aa";
    EXPECT_EQ(4, t.ReplaceInText("a", "AA"));
    EXPECT_STREQ("AAAA", t.GetData());
    t = "one two";
    EXPECT_EQ(4, t.ReplaceInText("TWO", nullptr));
    EXPECT_STREQ("one ", t.GetData());
    EXPECT_EQ(4, t.ReplaceInText("", "x"));
    EXPECT_EQ(4, t.ReplaceInText(nullptr, "x"));
    EXPECT_STREQ("one ", t.GetData());

    t = "ab";
    EXPECT_EQ(2, t.RemoveFromText("xyz"));
    EXPECT_STREQ("ab", t.GetData());
    t = "abcb";
    EXPECT_EQ(2, t.RemoveFromText("B"));
    EXPECT_STREQ("ac", t.GetData());

    // Growing by far more than the 999 characters of slack in one call.
    t.SetTxt(std::string(600, 'a').c_str());
    EXPECT_EQ(1800, t.ReplaceInText("a", "xyz"));
    EXPECT_EQ(1802, t.GetCapacity());

    CTxt none;
    EXPECT_EQ(-1, none.ReplaceInText("a", "b"));
    EXPECT_EQ(-1, none.RemoveFromText("a"));
}

TEST(CTxtSearch, FindCodes) {
    CTxt none;
    EXPECT_EQ(-1, none.FindChar('a'));
    EXPECT_EQ(-1, none.FindCharList("a"));
    EXPECT_EQ(-1, none.FindTextA("a"));

    CTxt t("abc");
    EXPECT_EQ(-2, t.FindChar('z'));
    EXPECT_EQ(1, t.FindChar('b'));
    EXPECT_EQ(-2, t.FindChar('\0'));
    EXPECT_EQ(2, t.FindCharList("xc"));
    EXPECT_EQ(-2, t.FindCharList("xyz"));
    EXPECT_EQ(-2, t.FindCharList(nullptr));

    t = "hello";
    EXPECT_EQ(3, t.FindTextA("LO"));
    EXPECT_EQ(0, t.FindTextA("HeLLo"));
    EXPECT_EQ(-1, t.FindTextA("hello!"));
    EXPECT_EQ(-1, t.FindTextA("lol"));
}

TEST(CTxtTrim, EndsAndNumbers) {
    CTxt t("  a b  ");
    EXPECT_EQ(3, t.Trim(' '));
    EXPECT_STREQ("a b", t.GetData());
    t = "   ";
    EXPECT_EQ(0, t.Trim(' '));
    EXPECT_STREQ("", t.GetData());

    t = "1.500";
    EXPECT_EQ(2, t.TrimRight('0'));
    EXPECT_STREQ("1.5", t.GetData());
    EXPECT_EQ(0, t.TrimRight('0'));

    t = "(12.5e+3)";
    EXPECT_EQ(6, t.TrimNum(0));
    EXPECT_STREQ("12.5+3", t.GetData());
    t = "(12.5e+3)";
    EXPECT_EQ(8, t.TrimNum(1));
    EXPECT_STREQ("(12.5+3)", t.GetData());

    CTxt none;
    EXPECT_EQ(0, none.Trim(' '));
    EXPECT_EQ(0, none.TrimRight(' '));
    EXPECT_EQ(0, none.TrimNum(1));
    EXPECT_EQ(nullptr, none.GetData());
}

TEST(CTxtCase, CaseAndLength) {
    CTxt t("MiXed 1\xE9");
    t.MakeUpper();
    EXPECT_STREQ("MIXED 1\xE9", t.GetData());
    t.MakeLower();
    EXPECT_STREQ("mixed 1\xE9", t.GetData());

    t = "abc";
    const char* before = t.GetData();
    t.MakeEmpty();
    EXPECT_EQ(before, t.GetData());
    EXPECT_EQ(0, t.GetLength());
    EXPECT_STREQ("", t.GetData());

    t = "abcdef";
    t.MakeLength(4);
    EXPECT_STREQ("abcd", t.GetData());
    t.MakeLength(10);
    t.MakeLength(-1);
    EXPECT_STREQ("abcd", t.GetData());

    t = "ab";
    t.MakeFixedLength(5);
    EXPECT_STREQ("ab   ", t.GetData());
    EXPECT_EQ(5, t.GetLength());
    t = "abc";
    t.MakeFixedLength(1);
    EXPECT_STREQ("a", t.GetData());
    EXPECT_EQ(1, t.GetLength());
    CTxt none;
    none.MakeFixedLength(3);
    EXPECT_STREQ("   ", none.GetData());
    EXPECT_EQ(5, none.GetCapacity());
}

class CTxtFormat : public ::testing::Test {
protected:
    void TearDown() override { zam::platform::ClearStringResources(); }
};

TEST_F(CTxtFormat, PrintfStyle) {
    CTxt t;
    t.Format("%02d:%02d %s", 2, 0, "left");
    EXPECT_STREQ("02:00 left", t.GetData());
    EXPECT_EQ(10, t.GetLength());

    const std::string huge(150000, 'q');
    t.Format("%s!", huge.c_str());
    EXPECT_EQ(100000, t.GetLength());
    EXPECT_EQ(std::strlen(t.GetData()), 100000u);

    zam::platform::RegisterStringResource(101, "%d items");
    t.Format(101u, 3);
    EXPECT_STREQ("3 items", t.GetData());
    t.Format(999u, 3);
    EXPECT_STREQ("", t.GetData());
}

TEST_F(CTxtFormat, MessageFormatter) {
    CTxt t;
    t.FormatMessageA("%2 has %1!d! files", 7, "disk");
    EXPECT_STREQ("disk has 7 files", t.GetData());

    t = "old";
    t.FormatMessageA("%0never shown");
    EXPECT_STREQ("", t.GetData());

    t = "keep";
    EXPECT_THROW(t.FormatMessageA("50%"), std::bad_alloc);
    EXPECT_STREQ("keep", t.GetData());

    zam::platform::RegisterStringResource(7, "Line %1%nnext");
    t.FormatMessageA(7u, "one");
    EXPECT_STREQ("Line one\r\nnext", t.GetData());
    t.FormatMessageA(8u);
    EXPECT_STREQ("", t.GetData());
}

TEST_F(CTxtFormat, SystemErrorMessage) {
    CTxt t;
    errno = ENOENT;
    const int n = t.GetSysErrMsg();
    EXPECT_EQ(n, t.GetLength());
    const std::string text = t.GetData();
    EXPECT_NE(std::string::npos, text.find(std::strerror(ENOENT)));
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ("\r\n", text.substr(text.size() - 2));
    EXPECT_LE(n, 999);
}
