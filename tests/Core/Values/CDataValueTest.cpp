#include "Core/Values/CDataValue.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

#include "Core/Platform/WinTypes.h"
#include "Core/Text/RuntimeConv.h"
#include "Core/Time/CZAMDateTime.h"

namespace {

float BitsAsFloat(uint32_t bits) {
    float f = 0;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

CZAMDateTime Date(int y, int mo, int d, int h, int mi, int s) {
    CZAMDateTime dt;
    dt.SetDate(y, mo, d);
    dt.SetTime(h, mi, s);
    return dt;
}

std::string Text(const CDataValue& v) {
    CTxt t;
    v.GetValTxt(t);
    return std::string(t);
}

int kDummy = 0;

// Every setter on a new value, read back by every getter.
TEST(CDataValueTest, EveryGetterOnEveryKind) {
    const CZAMDateTime when = Date(2015, 8, 12, 14, 30, 5);
    struct Row {
        const char* name;
        std::function<void(CDataValue&)> set;
        unsigned flags;
        int isFloat, isRange;
        double number;  // GetDoubleVal; GetFloatVal is the same as a float
        int intVal;     // GetIntVal's output (filled values)
        std::string text;
        int intMin, intMax;
        float fltMin, fltMax;
    };
    const float kNo = 1e9f;
    const int kNoI = 2147483646;
    const Row rows[] = {
        {"new", [](CDataValue&) {}, 0x0000, 1, 0, 1e9, 0, "", kNoI, kNoI, kNo, kNo},
        {"int -1", [](CDataValue& v) { v.SetIntVal(-1); }, 0x0003, 0, 0, 4294967295.0, -1, "4294967295", kNoI, kNoI,
         kNo, kNo},
        {"int64", [](CDataValue& v) { v.SetInt64Val(5000000000LL); }, 0x0401, 1, 0, BitsAsFloat(0x2A05F200), 0, "0",
         kNoI, kNoI, kNo, kNo},
        {"pointer", [](CDataValue& v) { v.SetPtr(&kDummy); }, 0x0011, 0, 0, 1e9, 1000000000,
         zam::PointerText(&kDummy), kNoI, kNoI, kNo, kNo},
        {"float", [](CDataValue& v) { v.SetFloatVal(2.5f); }, 0x0001, 1, 0, 2.5, 2, "2.5", kNoI, kNoI, kNo, kNo},
        {"float -7.25", [](CDataValue& v) { v.SetFloatVal(-7.25f); }, 0x0001, 1, 0, -7.25, -7, "-7.25", kNoI, kNoI,
         kNo, kNo},
        {"float marker", [](CDataValue& v) { v.SetFloatVal(1e9f); }, 0x0001, 1, 0, 1e9, 1000000000, "Empty", kNoI,
         kNoI, kNo, kNo},
        {"float empty", [](CDataValue& v) { v.SetFloatEmpty(); }, 0x0000, 1, 0, 1e9, 0, "", kNoI, kNoI, kNo, kNo},
        {"empty", [](CDataValue& v) { v.SetEmpty(); }, 0x0010, 0, 0, 1e9, 0, "", kNoI, kNoI, kNo, kNo},
        {"double", [](CDataValue& v) { v.SetDoubleVal(2.75); }, 0x0201, 0, 0, 2.75, 2, "0", kNoI, kNoI, kNo, kNo},
        {"colour", [](CDataValue& v) { v.SetColorVal(RGB(1, 2, 3)); }, 0x0801, 1, 0, BitsAsFloat(0x030201), 0, "0",
         kNoI, kNoI, kNo, kNo},
        {"date", [&when](CDataValue& v) { v.SetDT(&when); }, 0x0021, 0, 0, 143005, 143005, "8/12/2015 14:30:05",
         kNoI, kNoI, kNo, kNo},
        {"int range", [](CDataValue& v) { v.SetRange(10, 100); }, 0x0041, 0, 1, 1e9, 1000000000, "~10~100", 10, 100,
         kNo, kNo},
        {"float range", [](CDataValue& v) { v.SetRange(1.5f, 3.0f); }, 0x0081, 1, 1, 1.5, 1, "~1.5~3", kNoI, kNoI,
         1.5f, 3.0f},
        {"short text", [](CDataValue& v) { v.SetText("abcdefgh", 0); }, 0x0005, 0, 0, 1e9, 1000000000, "abcdefgh",
         kNoI, kNoI, kNo, kNo},
        {"long text", [](CDataValue& v) { v.SetText("abcdefghi", 0); }, 0x0009, 0, 0, 1e9, 1000000000, "abcdefghi",
         kNoI, kNoI, kNo, kNo},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CDataValue v;
        r.set(v);
        EXPECT_EQ(v.GetFlags(), r.flags);
        EXPECT_EQ(v.IsFilled(), static_cast<int>(r.flags & 1));
        EXPECT_EQ(v.IsFloat(), r.isFloat);
        EXPECT_EQ(v.IsRange(), r.isRange);
        EXPECT_EQ(v.IsText(), (r.flags & 0x000C) ? 1 : 0);
        EXPECT_EQ(v.IsDate(), (r.flags & 0x0020) ? 1 : 0);
        EXPECT_EQ(v.IsDouble(), (r.flags & 0x0200) ? 1 : 0);
        EXPECT_EQ(v.GetDoubleVal(), r.number);
        EXPECT_EQ(v.GetFloatVal(), static_cast<float>(r.number));
        int i = 12345;
        EXPECT_EQ(v.GetIntVal(&i), v.IsFilled());
        EXPECT_EQ(i, v.IsFilled() ? r.intVal : 12345);
        int64_t i64 = 0;
        EXPECT_EQ(v.GetInt64Val(&i64), v.IsFilled());
        if (v.IsFilled()) {
            EXPECT_EQ(i64, (r.flags & 0x0400) ? 5000000000LL : int64_t{r.intVal});
        }
        EXPECT_EQ(Text(v), r.text);
        EXPECT_EQ(v.GetIntValMin(), r.intMin);
        EXPECT_EQ(v.GetIntValMax(), r.intMax);
        EXPECT_EQ(v.GetFloatValMin(), r.fltMin);
        EXPECT_EQ(v.GetFloatValMax(), r.fltMax);
        EXPECT_EQ(v.GetValPtr(), (r.flags & 0x0011) == 0x0011 ? &kDummy : nullptr);
        EXPECT_EQ(v.GetDT() != nullptr, (r.flags & 0x0021) == 0x0021);
        EXPECT_EQ(v.GetValTxtPtr() != nullptr, (r.flags & 0x000C) != 0);
        std::string s = "old";
        v.GetValTxt(s);
        EXPECT_EQ(s, r.text);
    }
}

TEST(CDataValueTest, SettersKeepOtherKindBitsAndTheGetterOrderDecides) {
    CDataValue v;
    v.SetIntVal(7);
    v.SetFloatVal(2.5f);  // only sets the filled bit: still read as an integer
    EXPECT_EQ(v.GetFlags(), 0x0003);
    EXPECT_EQ(v.GetDoubleVal(), 1075838976.0);  // 2.5f's bits as unsigned

    v.SetRange(1, 2);
    v.SetRange(0.5f, 4.0f);  // both range bits: the float range wins everywhere
    EXPECT_EQ(v.GetFlags(), 0x00C3);
    EXPECT_EQ(v.IsRange(), 0);  // the integer bit is still there

    CDataValue r;
    r.SetRange(1, 2);
    r.SetRange(0.5f, 4.0f);
    EXPECT_EQ(r.GetFlags(), 0x00C1);
    EXPECT_EQ(r.GetFloatValMin(), 0.5f);
    EXPECT_EQ(r.GetIntValMin(), 2147483646);
    EXPECT_EQ(r.IsInRange(3.0f), 1);
    EXPECT_EQ(r.IsInRange(1), 0);
    EXPECT_EQ(Text(r), "~0.5~4");
    CDataValue copy;
    copy.SetVal(&r, 0);
    EXPECT_EQ(copy.GetFloatValMax(), 4.0f);

    CDataValue d;
    d.SetDoubleVal(1.0);
    d.SetBulk(1);
    EXPECT_EQ(d.GetFlags(), 0x0301);
    EXPECT_EQ(d.IsBulk(), 1);
    d.SetBulk(0);
    EXPECT_EQ(d.GetFlags(), 0x0201);
}

// A setter that overwrites the payload must not leave the long-text bit
// pointing at a buffer that was freed or overwritten.
TEST(CDataValueTest, OverwritingALongTextReleasesItOnce) {
    const std::function<void(CDataValue&)> setters[] = {
        [](CDataValue& v) { v.SetIntVal(1); },        [](CDataValue& v) { v.SetInt64Val(1); },
        [](CDataValue& v) { v.SetPtr(nullptr); },     [](CDataValue& v) { v.SetFloatVal(2.5f); },
        [](CDataValue& v) { v.SetFloatEmpty(); },     [](CDataValue& v) { v.SetEmpty(); },
        [](CDataValue& v) { v.SetDoubleVal(1.0); },   [](CDataValue& v) { v.SetColorVal(5); },
        [](CDataValue& v) { v.SetRange(1, 2); },      [](CDataValue& v) { v.SetRange(1.0f, 2.0f); },
        [](CDataValue& v) {
            CZAMDateTime dt = Date(2020, 1, 2, 3, 4, 5);
            v.SetDT(&dt);
        },
    };
    for (const auto& set : setters) {
        CDataValue v;
        v.SetText("a text of some length", 0);
        set(v);
        EXPECT_EQ(v.IsTextRam(), 0);
        EXPECT_EQ(v.GetValTxtPtr(), nullptr);
        Text(v);  // must not read the old buffer
    }
    CDataValue f;
    f.SetText("a text of some length", 0);
    f.SetFloatVal(2.5f);
    EXPECT_EQ(Text(f), "2.5");
}

TEST(CDataValueTest, TextsShortLongQuotedAndCut) {
    struct Row {
        const char* in;
        int unquote;
        const char* stored;
        unsigned flags;
    } rows[] = {
        {"abcdefgh", 0, "abcdefgh", 0x0005},
        {"abcdefghi", 0, "abcdefghi", 0x0009},
        {"", 0, "", 0x0005},
        {"\"abcdefgh\"", 1, "abcdefgh", 0x0005},
        {"\"a longer quoted text\"", 1, "a longer quoted text", 0x0009},
        {" ^x^ ", 1, "x", 0x0005},
        {"\"^caret and quotes^\"", 1, "caret and quotes", 0x0009},
        {"\"kept\"", 0, "\"kept\"", 0x0005},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.in);
        CDataValue v;
        EXPECT_EQ(v.SetText(r.in, r.unquote), static_cast<int>(std::strlen(r.stored)));
        EXPECT_EQ(v.GetFlags(), r.flags);
        EXPECT_EQ(v.GetTextLen(), static_cast<int>(std::strlen(r.stored)));
        EXPECT_EQ(Text(v), r.stored);
    }
    CDataValue n;
    n.SetText(nullptr, 1);
    EXPECT_EQ(Text(n), "");
    EXPECT_EQ(n.IsText(), 1);

    // The 16-bit length cannot say more than 65,535: the text is cut there.
    const std::string huge(70000, 'x');
    for (int unquote : {0, 1}) {
        CDataValue v;
        EXPECT_EQ(v.SetText(huge.c_str(), unquote), 65535);
        EXPECT_EQ(v.GetTextLen(), 65535);
        EXPECT_EQ(std::strlen(v.GetValTxtPtr()), 65535u);
        EXPECT_EQ(Text(v), huge.substr(0, 65535));
    }
}

TEST(CDataValueTest, TextFromItselfAndShortAfterLong) {
    CDataValue v;
    v.SetText("a long text here", 0);
    v.SetText(v.GetValTxtPtr(), 0);  // the source is the buffer being replaced
    EXPECT_EQ(Text(v), "a long text here");
    v.SetText(v.GetValTxtPtr() + 9, 0);  // now short, from the old buffer
    EXPECT_EQ(Text(v), "xt here");
    EXPECT_EQ(v.GetFlags(), 0x0005);
    v.SetText(v.GetValTxtPtr() + 2, 1);
    EXPECT_EQ(Text(v), "here");
}

TEST(CDataValueTest, CopiesOwnTheirTexts) {
    CDataValue a;
    a.SetText("owned by a alone", 0);
    CDataValue b(a);
    CDataValue c;
    c.SetIntVal(3);
    c = a;
    CDataValue d;
    d.SetVal(&a, 0);
    for (const CDataValue* x : {&b, &c, &d}) {
        EXPECT_NE(x->GetValTxtPtr(), a.GetValTxtPtr());
        EXPECT_EQ(Text(*x), "owned by a alone");
    }
    CDataValue moved(std::move(b));
    EXPECT_EQ(b.IsFilled(), 0);
    EXPECT_EQ(Text(moved), "owned by a alone");
    c = std::move(moved);
    EXPECT_EQ(Text(c), "owned by a alone");
    const CDataValue& alias = c;
    c = alias;  // self-assignment keeps the text
    EXPECT_EQ(Text(c), "owned by a alone");

    // A bulk text belongs to someone else: the copy shares it and neither frees it.
    CDataValue bulk;
    bulk.SetText("shared bulk buffer", 0);
    char* own = const_cast<char*>(bulk.GetValTxtPtr());
    bulk.SetBulk(1);
    {
        CDataValue e(bulk);
        EXPECT_EQ(e.GetValTxtPtr(), own);
        EXPECT_EQ(e.IsBulk(), 1);
    }
    bulk.SetText("another long text", 0);  // a new buffer of its own: no longer bulk
    EXPECT_EQ(bulk.IsBulk(), 0);
    std::free(own);  // the owner releases the old one
}

TEST(CDataValueTest, SetValCopiesByKind) {
    const CZAMDateTime when = Date(2015, 8, 12, 14, 30, 5);
    struct Row {
        const char* name;
        std::function<void(CDataValue&)> set;
        unsigned flags;
        std::string text;
        int compare;  // the copy against its source
    } rows[] = {
        {"int", [](CDataValue& v) { v.SetIntVal(42); }, 0x0003, "42", 0},
        {"float", [](CDataValue& v) { v.SetFloatVal(0.25f); }, 0x0001, "0.25", 0},
        {"quoted text", [](CDataValue& v) { v.SetText("\"a quoted long text\"", 0); }, 0x0009, "a quoted long text",
         'a' - '"'},
        {"date", [&when](CDataValue& v) { v.SetDT(&when); }, 0x0021, "8/12/2015 14:30:05", 0},
        {"colour", [](CDataValue& v) { v.SetColorVal(0x010203); }, 0x0801, "0", 0},
        {"int range", [](CDataValue& v) { v.SetRange(-5, 5); }, 0x0041, "~-5~5", 0},
        {"float range", [](CDataValue& v) { v.SetRange(0.5f, 0.75f); }, 0x0081, "~0.5~0.75", 0},
        {"double", [](CDataValue& v) { v.SetDoubleVal(0.5); }, 0x0201, "0", 0},
        {"pointer", [](CDataValue& v) { v.SetPtr(&kDummy); }, 0x0011, zam::PointerText(&kDummy), 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CDataValue src;
        r.set(src);
        CDataValue dst;
        dst.SetVal(&src, 1);
        EXPECT_EQ(dst.GetFlags(), r.flags);
        EXPECT_EQ(Text(dst), r.text);
        EXPECT_EQ(dst.Compare(&src), r.compare);
    }
    CDataValue big;
    big.SetInt64Val(-5000000000LL);
    CDataValue copy;
    copy.SetVal(&big, 0);
    int64_t n = 0;
    copy.GetInt64Val(&n);
    EXPECT_EQ(n, -5000000000LL);

    CDataValue unfilled;
    CDataValue keep;
    keep.SetIntVal(9);
    keep.SetVal(&unfilled, 0);
    keep.SetVal(nullptr, 0);
    EXPECT_EQ(Text(keep), "9");
}

TEST(CDataValueTest, EqualityAndRanges) {
    CDataValue i;
    i.SetIntVal(-1);
    EXPECT_EQ(i.IsEqual(0xFFFFFFFFUL), 1);
    EXPECT_EQ(i.IsEqual(1UL), 0);
    EXPECT_EQ(i.IsEqual(4294967295.0), 1);  // through GetDoubleVal
    CDataValue f;
    f.SetFloatVal(0.1f);
    EXPECT_EQ(f.IsEqual(0.1f), 1);
    EXPECT_EQ(f.IsEqual(0.1), 0);  // 0.1f is not the double 0.1
    CDataValue notInt;
    notInt.SetFloatVal(5.0f);
    EXPECT_EQ(notInt.IsEqual(5UL), 0);
    CDataValue none;
    EXPECT_EQ(none.IsEqual(1e9f), 0);
    EXPECT_EQ(none.IsEqual(""), 0);

    CDataValue t;
    t.SetText("ABCDEFGH", 0);  // eight characters: no terminator in the payload
    EXPECT_EQ(t.IsEqual("abcdefgh"), 1);
    EXPECT_EQ(t.IsEqual("abcdefg"), 0);
    EXPECT_EQ(t.IsEqual("abcdefghi"), 0);
    EXPECT_EQ(t.IsEqual(static_cast<const char*>(nullptr)), 0);
    t.SetText("Longer Text", 0);
    EXPECT_EQ(t.IsEqual("LONGER text"), 1);

    CDataValue d;
    const CZAMDateTime when = Date(2015, 8, 12, 14, 30, 5);
    d.SetDT(&when);
    const CZAMDateTime sameDay = Date(2015, 8, 12, 9, 0, 0);
    EXPECT_EQ(d.IsEqual(&sameDay, 3), 1);
    EXPECT_EQ(d.IsEqual(&sameDay, 6), 0);
    EXPECT_EQ(d.IsEqual(static_cast<const CZAMDateTime*>(nullptr), 6), 0);
    d.GetDT()->m_Hour = 9;  // the date is writable in place
    EXPECT_EQ(d.GetFloatVal(), 93005.0f);

    CDataValue r;
    r.SetRange(10, 100);
    EXPECT_EQ(r.IsInRange(10), 1);
    EXPECT_EQ(r.IsInRange(100), 1);
    EXPECT_EQ(r.IsInRange(101), 0);
    EXPECT_EQ(r.IsInRange(50.0f), 0);  // not a float range
}

TEST(CDataValueTest, CompareByKind) {
    auto make = [](const std::function<void(CDataValue&)>& set) {
        CDataValue v;
        set(v);
        return v;
    };
    const CZAMDateTime early = Date(2015, 8, 12, 14, 30, 5);
    const CZAMDateTime late = Date(2015, 8, 12, 14, 30, 6);
    struct Row {
        const char* name;
        CDataValue a, b;
        int expected;
    } rows[] = {
        {"unfilled", CDataValue(), make([](CDataValue& v) { v.SetIntVal(1); }), 0},
        {"floats", make([](CDataValue& v) { v.SetFloatVal(1.5f); }), make([](CDataValue& v) { v.SetFloatVal(2); }),
         -1},
        {"float vs int", make([](CDataValue& v) { v.SetFloatVal(3.0f); }), make([](CDataValue& v) { v.SetIntVal(3); }),
         0},
        {"dates", make([&late](CDataValue& v) { v.SetDT(&late); }), make([&early](CDataValue& v) { v.SetDT(&early); }),
         1},
        {"int64", make([](CDataValue& v) { v.SetInt64Val(-5000000000LL); }),
         make([](CDataValue& v) { v.SetInt64Val(5000000000LL); }), -1},
        {"texts", make([](CDataValue& v) { v.SetText("abc", 0); }), make([](CDataValue& v) { v.SetText("ABD", 0); }),
         -1},
        {"text prefix", make([](CDataValue& v) { v.SetText("abd", 0); }), make([](CDataValue& v) { v.SetText("AB", 0); }),
         'd'},
        {"equal texts", make([](CDataValue& v) { v.SetText("Same long text", 0); }),
         make([](CDataValue& v) { v.SetText("same LONG text", 0); }), 0},
        {"signed ints", make([](CDataValue& v) { v.SetIntVal(-1); }), make([](CDataValue& v) { v.SetIntVal(1); }),
         -1},
        {"int vs unfilled", make([](CDataValue& v) { v.SetIntVal(1); }), CDataValue(), 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(r.a.Compare(&r.b), r.expected);
    }
    CDataValue one;
    one.SetIntVal(1);
    EXPECT_EQ(one.Compare(nullptr), 99);
}

TEST(CDataValueTest, HugeNumbersConvertWithoutOverflow) {
    CDataValue v;
    v.SetDoubleVal(1e20);
    int i = 0;
    v.GetIntVal(&i);
    EXPECT_EQ(i, INT32_MAX);
    CDataValue f;
    f.SetFloatVal(-3e9f);
    f.GetIntVal(&i);
    EXPECT_EQ(i, INT32_MIN);
    f.SetFloatVal(3.4e38f);
    EXPECT_EQ(Text(f), "339999995214436424907732413799364296704");
}

}  // namespace
