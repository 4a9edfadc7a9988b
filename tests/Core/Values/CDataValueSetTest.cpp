#include "Core/Values/CDataValue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "Core/Time/CZAMDateTime.h"

namespace {

CZAMDateTime Date(int y, int mo, int d, int h, int mi, int s) {
    CZAMDateTime dt;
    dt.SetDate(y, mo, d);
    dt.SetTime(h, mi, s);
    return dt;
}

std::string Text(const CDataValueSet& set, int i) {
    CTxt t;
    set.GetValTxt(i, t);
    return std::string(t);
}

std::vector<float> Floats(const CDataValueSet& set) {
    std::vector<float> out;
    for (int i = 0; i < set.GetNumVal(); ++i) out.push_back(set.GetValFloat(i));
    return out;
}

std::vector<float> SortedFloats(const CDataValueSet& set) {
    std::vector<float> out;
    for (int k = 0; k < set.GetSortArray().GetSize(); ++k) out.push_back(set.GetSortVal(k)->GetFloatVal());
    return out;
}

std::string LongText(int i) { return "long text number " + std::to_string(i); }

TEST(CDataValueSetTest, NewAndReleasedSetsAreEmpty) {
    CDataValueSet set;
    EXPECT_EQ(set.GetNumVal(), 0);
    EXPECT_EQ(set.GetAllocated(), 0);
    EXPECT_EQ(set.GetBlock(), 1000);
    EXPECT_EQ(set.GetMinimum(), 1e9f);
    EXPECT_EQ(set.GetMaximum(), 1e9f);
    set.SetName("Col");
    set.SetBlock(7);
    set.AddTxt("a text long enough for a buffer");
    set.SortFlt();
    set.GetMinMax(0, -1);
    set.ReleaseData(0);
    EXPECT_EQ(set.GetNumVal(), 0);
    EXPECT_EQ(set.GetAllocated(), 0);
    EXPECT_EQ(set.GetBlock(), 1000);
    EXPECT_EQ(set.GetMinimum(), 1e9f);
    EXPECT_EQ(set.GetSortArray().GetSize(), 0);
    EXPECT_STREQ(set.GetName(), "Col");
}

// Long texts added before every growth must survive each move of the storage;
// the sanitizer build shows that no buffer is freed twice or read after it.
TEST(CDataValueSetTest, GrowthKeepsTextsAcrossBlocks) {
    CDataValueSet set;
    for (int i = 0; i < 1001; ++i) set.AddFloatVal(static_cast<float>(i));
    EXPECT_EQ(set.GetAllocated(), 2000);
    set.ReleaseData(0);

    for (int i = 0; i < 4500; ++i) {
        if (i % 250 == 0 || i % 1000 == 999) {
            EXPECT_EQ(set.AddTxt(LongText(i).c_str()), i);
        } else if (i % 3 == 0) {
            set.AddTxt("short");
        } else {
            set.AddFloatVal(static_cast<float>(i));
        }
        EXPECT_EQ(set.GetAllocated(), 1000 * (i / 1000 + 1));
    }
    for (int i = 0; i < 4500; ++i) {
        if (i % 250 == 0 || i % 1000 == 999) {
            EXPECT_EQ(Text(set, i), LongText(i)) << i;
        } else if (i % 3 == 0) {
            EXPECT_EQ(Text(set, i), "short") << i;
        } else {
            EXPECT_EQ(set.GetValFloat(i), static_cast<float>(i)) << i;
        }
    }
    // Setting far beyond the count leaves empty values in between.
    CDataValueSet sparse;
    sparse.SetBlock(10);
    EXPECT_EQ(sparse.SetIntVal(5, 25), 25);
    EXPECT_EQ(sparse.GetAllocated(), 30);
    EXPECT_EQ(sparse.GetNumVal(), 26);
    EXPECT_EQ(sparse.GetVal(3)->IsFilled(), 0);
    EXPECT_EQ(sparse.SetIntVal(1, -1), -1);
    EXPECT_EQ(sparse.SetRam(-1), -1);
    EXPECT_EQ(sparse.SetRam(INT32_MAX), -1);
    EXPECT_EQ(sparse.GetNumVal(), 26);
}

// Copying one of the set's own values while the storage moves must copy it
// before the old storage goes.
TEST(CDataValueSetTest, AddingItsOwnValueAcrossAGrowth) {
    CDataValueSet set;
    set.SetBlock(4);
    set.AddTxt("tiny");
    set.AddTxt("a long text of its own");
    const CZAMDateTime when = Date(2015, 8, 12, 14, 30, 5);
    set.AddDTVal(&when);
    set.AddIntVal(3);
    ASSERT_EQ(set.GetAllocated(), 4);
    EXPECT_EQ(set.AddTxt(set.GetVal(0)->GetValTxtPtr()), 4);  // grows: the short text moves
    EXPECT_EQ(set.AddVal(set.GetVal(0)), 5);
    EXPECT_EQ(set.AddVal(set.GetVal(1)), 6);
    EXPECT_EQ(set.AddVal(set.GetVal(3)), 7);
    ASSERT_EQ(set.GetAllocated(), 8);
    EXPECT_EQ(set.AddDTVal(set.GetValDT(2)), 8);  // grows again
    EXPECT_EQ(set.SetVal(set.GetVal(1), 13), 13);  // and again
    EXPECT_EQ(set.GetAllocated(), 16);
    EXPECT_EQ(Text(set, 4), "tiny");
    EXPECT_EQ(Text(set, 5), "tiny");
    EXPECT_EQ(Text(set, 6), "a long text of its own");
    EXPECT_EQ(Text(set, 7), "3");
    EXPECT_EQ(Text(set, 8), "8/12/2015 14:30:05");
    EXPECT_EQ(Text(set, 13), "a long text of its own");
    EXPECT_NE(set.GetVal(13)->GetValTxtPtr(), set.GetVal(1)->GetValTxtPtr());
}

TEST(CDataValueSetTest, IndexedGettersAndTheirLimits) {
    CDataValueSet set;
    int dummy = 0;
    set.AddIntVal(-7);
    set.AddInt64Val(-5000000000LL);
    set.AddDoubleVal(2.25);
    set.AddPtr(&dummy);
    set.AddEmpty();
    set.SetVal(nullptr, 5);
    set.AddTxt("\"quoted\"");       // appenders of texts do not unquote
    CDataValue quoted;
    quoted.SetText("\"quoted\"", 0);
    set.AddVal(&quoted);            // copies do, with the set's unquote flag

    int out = 99;
    EXPECT_EQ(set.GetValInt(0, &out), 1);
    EXPECT_EQ(out, -7);
    EXPECT_EQ(set.GetValInt(0), -7);
    EXPECT_EQ(set.GetValInt(4, &out), 0);  // not filled
    EXPECT_EQ(out, 0);
    out = 99;
    EXPECT_EQ(set.GetValInt(8, &out), 0);  // no value 8
    EXPECT_EQ(out, 0);
    EXPECT_EQ(set.GetValInt(8), 0);
    int64_t big = 0;
    EXPECT_EQ(set.GetValInt64(1, &big), 1);
    EXPECT_EQ(big, -5000000000LL);
    EXPECT_EQ(set.GetValInt64(1), -5000000000LL);
    EXPECT_EQ(set.GetValInt64(0), -7);
    EXPECT_EQ(set.GetValDouble(2), 2.25);
    EXPECT_EQ(set.GetValFloat(8), 1e9f);
    EXPECT_EQ(set.GetValDouble(8), 1e9);
    EXPECT_EQ(set.GetValPtr(3), &dummy);
    EXPECT_EQ(set.GetValPtr(8), nullptr);
    EXPECT_EQ(set.GetValDT(0), nullptr);
    EXPECT_EQ(set.GetVal(8), nullptr);
    EXPECT_EQ(set.GetNumVal(), 8);
    EXPECT_EQ(set.GetVal(5)->IsFilled(), 0);
    EXPECT_EQ(Text(set, 6), "\"quoted\"");
    EXPECT_EQ(Text(set, 7), "quoted");

    CTxt t("stale");
    EXPECT_EQ(set.GetValTxt(8, t), -1);
    EXPECT_STREQ(t, "");
    EXPECT_EQ(set.GetValTxt(-1, t), -1);
    EXPECT_EQ(set.GetValTxt(0, t), 10);
    EXPECT_STREQ(t, "4294967289");
}

TEST(CDataValueSetTest, Increments) {
    CDataValueSet set;
    set.AddFloatVal(2.5f);
    set.AddFloatVal(1e9f);
    set.AddIntVal(INT32_MAX);
    set.AddEmpty();
    EXPECT_EQ(set.IncValFlt(0, 1.0f), 3.5f);
    EXPECT_EQ(set.GetValFloat(0), 3.5f);
    EXPECT_EQ(set.IncValFlt(1, 1.0f), -1.0f);
    EXPECT_EQ(set.GetValFloat(1), 1e9f);
    EXPECT_EQ(set.IncValFlt(4, 1.0f), -2.0f);
    EXPECT_EQ(set.IncValFlt(-1, 1.0f), -2.0f);
    EXPECT_EQ(set.IncValInt(2, 1), INT32_MIN);  // wraps as 32-bit arithmetic does
    EXPECT_EQ(set.IncValInt(3, 1), -1);
    EXPECT_EQ(set.IncValInt(9, 1), -2);
    EXPECT_EQ(set.IncValInt(0, 2), 5);  // 3.5 truncated, then stored as an integer
    EXPECT_EQ(set.GetVal(0)->GetFlags() & 0x0002, 0x0002);
}

TEST(CDataValueSetTest, Searches) {
    CDataValueSet set;
    const CZAMDateTime d1 = Date(2015, 8, 12, 14, 30, 5);
    const CZAMDateTime d2 = Date(2015, 8, 12, 9, 0, 0);
    set.AddFloatVal(1e9f);                       // 0
    set.AddIntVal(42);                           // 1
    set.AddFloatVal(42.0f);                      // 2
    set.AddTxt("Alpha");                         // 3
    set.AddTxt("alphabet soup");                 // 4
    set.AddDTVal(&d1);                           // 5
    set.AddDTVal(&d2);                           // 6
    set.AddDTVal(&d1);                           // 7
    set.AddDoubleVal(0.1);                       // 8
    set.AddTxt("ALPHA");                         // 9

    EXPECT_EQ(set.FindValueByInt(42UL), set.GetVal(1));
    EXPECT_EQ(set.FindValueByInt(7UL), nullptr);
    EXPECT_EQ(set.FindValueByFloat(42.0f), set.GetVal(1));
    EXPECT_EQ(set.FindValueByFloat(1e9f), nullptr);  // the marker is never a match
    EXPECT_EQ(set.FindValueByDouble(0.1), set.GetVal(8));
    EXPECT_EQ(set.FindValueByDouble(1e9), nullptr);
    EXPECT_EQ(set.FindValueByText("alpha"), set.GetVal(3));
    EXPECT_EQ(set.FindValueByText("alp"), nullptr);
    EXPECT_EQ(set.FindValueByDate(&d1, 0), set.GetVal(7));   // the last one
    EXPECT_EQ(set.FindValueByDate(&d1, 3), set.GetVal(5));   // the first on that day
    EXPECT_EQ(set.FindValueByDate(&d2, -1), set.GetVal(6));

    struct Segment {
        const char* s;
        int n;
        int index;  // -1: none
    } segments[] = {
        {"alpha", 5, 4}, {"Alpha", 5, 3}, {"ALPHA", 3, 9}, {"Alpha", 99, 3}, {"Alp", 99, -1},
        {"alphabet soup!", 13, 4}, {"x", 0, 3},
    };
    for (const Segment& s : segments) {
        SCOPED_TRACE(s.s);
        EXPECT_EQ(set.FindValueByTextSegment(s.s, s.n), s.index < 0 ? nullptr : set.GetVal(s.index));
    }

    EXPECT_EQ(set.FindValueByPtr(set.GetVal(6)), 6);
    CDataValue outside;
    EXPECT_EQ(set.FindValueByPtr(&outside), -1);
    EXPECT_EQ(set.FindValueByPtr(nullptr), -1);
    EXPECT_EQ(set.FindValueByPtr(reinterpret_cast<const CDataValue*>(
                  reinterpret_cast<const char*>(set.GetVal(2)) + 1)), -1);
}

TEST(CDataValueSetTest, SortViewsLeaveValuesInPlace) {
    CDataValueSet set;
    for (float f : {3.0f, NAN, -1.0f, 2.0f, 1e9f, 2.0f}) set.AddFloatVal(f);
    set.SortFlt();
    const std::vector<float> sorted = SortedFloats(set);
    ASSERT_EQ(sorted.size(), 6u);
    EXPECT_EQ((std::vector<float>(sorted.begin(), sorted.begin() + 5)),
              (std::vector<float>{-1.0f, 2.0f, 2.0f, 3.0f, 1e9f}));
    EXPECT_TRUE(std::isnan(sorted[5]));
    EXPECT_EQ(set.GetSortVal(1), set.GetVal(3));  // equal keys keep their order
    EXPECT_EQ(set.GetSortVal(2), set.GetVal(5));
    EXPECT_EQ(set.GetValFloat(0), 3.0f);
    EXPECT_EQ(set.FindSortValueByFloat(3.0f), 3);
    EXPECT_EQ(set.FindSortValueByFloat(7.0f), -1);

    CDataValueSet signs;
    for (float f : {0.0f, -2.5f, -0.0f, -10.0f, 1.0f, -INFINITY}) signs.AddFloatVal(f);
    signs.SortFlt();
    EXPECT_EQ(SortedFloats(signs), (std::vector<float>{-INFINITY, -10.0f, -2.5f, 0.0f, 0.0f, 1.0f}));
    EXPECT_EQ(signs.GetSortVal(3), signs.GetVal(0));  // -0 and 0 are equal: index order
    EXPECT_EQ(signs.GetSortVal(4), signs.GetVal(2));

    CDataValueSet ints;
    for (int v : {5, -2, 9, 0}) ints.AddIntVal(v);
    ints.SortInt();
    std::vector<int> order;
    for (int k = 0; k < 4; ++k) {
        int v = 0;
        ints.GetSortVal(k)->GetIntVal(&v);
        order.push_back(v);
    }
    EXPECT_EQ(order, (std::vector<int>{-2, 0, 5, 9}));

    CDataValueSet dbl;
    for (double v : {0.3, 0.1, 0.2}) dbl.AddDoubleVal(v);
    dbl.SortDbl();
    EXPECT_EQ(dbl.GetSortVal(0), dbl.GetVal(1));
    EXPECT_EQ(dbl.GetSortVal(2), dbl.GetVal(0));

    CDataValueSet dates;
    const CZAMDateTime a = Date(2016, 1, 1, 0, 0, 0);
    const CZAMDateTime b = Date(2015, 12, 31, 23, 59, 59);
    const CZAMDateTime c = Date(2015, 12, 31, 23, 59, 58);
    dates.AddDTVal(&a);
    dates.AddIntVal(1);
    dates.AddDTVal(&b);
    dates.AddDTVal(&c);
    dates.SortDate();
    EXPECT_EQ(dates.GetSortVal(0), dates.GetVal(3));
    EXPECT_EQ(dates.GetSortVal(1), dates.GetVal(2));
    EXPECT_EQ(dates.GetSortVal(2), dates.GetVal(0));
    EXPECT_EQ(dates.GetSortVal(3), dates.GetVal(1));  // no date: last

    float records[3][4] = {{1, 1, 1, 5}, {2, 2, 2, 9}, {3, 3, 3, 7}};
    CDataValueSet recs;
    for (auto& r : records) recs.AddPtr(r);
    recs.AddFloatVal(0.0f);
    recs.SortRngY();
    EXPECT_EQ(recs.GetSortVal(0)->GetValPtr(), records[0]);
    EXPECT_EQ(recs.GetSortVal(1)->GetValPtr(), records[2]);
    EXPECT_EQ(recs.GetSortVal(2)->GetValPtr(), records[1]);
    EXPECT_EQ(recs.GetSortVal(3), recs.GetVal(3));

    CDataValueSet one;
    one.AddFloatVal(1.0f);
    one.SortFlt();
    EXPECT_EQ(one.GetSortArray().GetSize(), 1);
}

// Enough values, and keys spread over every byte, for the sort to take all
// its passes; the order must be the stable one. Small blocks make the
// storage grow many times under values that own texts.
TEST(CDataValueSetTest, LargeSortsAreStableAndGrowthKeepsEveryValue) {
    CDataValueSet set;
    set.SetBlock(7);
    std::vector<float> keys;
    uint32_t x = 12345u;
    for (int i = 0; i < 5000; ++i) {
        x = x * 1103515245u + 12345u;
        float f = static_cast<float>(static_cast<int32_t>(x)) / 1024.0f;
        if (i % 9 == 0) f = static_cast<float>(i % 5);  // ties
        if (i % 13 == 0) {
            set.AddTxt(("a text long enough to be kept apart " + std::to_string(i)).c_str());
            keys.push_back(1e9f);  // a text has no number
            continue;
        }
        EXPECT_EQ(set.AddFloatVal(f), i);
        keys.push_back(f);
    }
    EXPECT_EQ(set.GetNumVal(), 5000);
    EXPECT_EQ(set.GetAllocated(), 5005);  // block by block, as the storage counts
    EXPECT_EQ(Text(set, 13), "a text long enough to be kept apart 13");
    EXPECT_EQ(Text(set, 4992), "a text long enough to be kept apart 4992");

    set.SortFlt();
    std::vector<int> order(keys.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return keys[a] < keys[b]; });
    ASSERT_EQ(set.GetSortArray().GetSize(), 5000);
    for (int k = 0; k < 5000; ++k) ASSERT_EQ(set.GetSortVal(k), set.GetVal(order[k])) << k;
}

TEST(CDataValueSetTest, CopyFromSortArrayRebuildsInOrder) {
    CDataValueSet set;
    set.SetName("Y");
    set.AddTxt("zebra with a long name");
    set.AddTxt("apple");
    set.AddTxt("Mango, also long enough");
    set.AddFloatVal(1.0f);
    EXPECT_EQ(set.CopyFromSortArray(), -1);  // no view yet
    set.CopyToSortArray();
    // Texts have no number (1e9): the float comes first, the texts keep their order.
    set.SortFlt();
    EXPECT_EQ(set.CopyFromSortArray(), 4);
    EXPECT_EQ(set.GetValFloat(0), 1.0f);
    EXPECT_EQ(Text(set, 1), "zebra with a long name");
    EXPECT_EQ(Text(set, 2), "apple");
    EXPECT_EQ(Text(set, 3), "Mango, also long enough");
    EXPECT_EQ(set.GetBlock(), 4);
    EXPECT_EQ(set.GetAllocated(), 4);
    EXPECT_STREQ(set.GetName(), "Y");
    EXPECT_EQ(set.GetSortArray().GetSize(), 0);

    set.AddTxt("grows the storage past its block");  // the view would point into freed storage
    set.SortFlt();
    set.SetRam(50);
    EXPECT_EQ(set.GetSortArray().GetSize(), 0);
    EXPECT_EQ(set.CopyFromSortArray(), -1);
    EXPECT_EQ(Text(set, 4), "grows the storage past its block");

    CDataValueSet empty;
    empty.CopyToSortArray();
    EXPECT_EQ(empty.CopyFromSortArray(), 0);
    EXPECT_EQ(empty.GetBlock(), 1000);
}

TEST(CDataValueSetTest, RangesAndMinimumMaximum) {
    CDataValueSet set;
    for (int i = 0; i < 5; ++i) set.AddIntVal(i);
    struct Row {
        int first, last, wantFirst, wantLast;
    } rows[] = {
        {0, -1, 0, 4}, {-3, 2, 0, 2}, {3, 1, 1, 3}, {9, 9, 4, 4}, {2, 99, 2, 4}, {-5, -5, 0, 4},
    };
    for (const Row& r : rows) {
        int f = r.first;
        int l = r.last;
        set.CheckRange(&f, &l);
        EXPECT_EQ(f, r.wantFirst) << r.first << "," << r.last;
        EXPECT_EQ(l, r.wantLast) << r.first << "," << r.last;
    }

    CDataValueSet nums;
    for (float f : {5.0f, 1e9f, 2.0f}) nums.AddFloatVal(f);
    EXPECT_EQ(nums.GetMinMax(0, -1), 0);
    EXPECT_EQ(nums.GetMinimum(), 2.0f);
    EXPECT_EQ(nums.GetMaximum(), 5.0f);
    nums.GetMinMax(1, 1);  // only the marker: nothing found
    EXPECT_EQ(nums.GetMinimum(), 1e9f);
    EXPECT_EQ(nums.GetMaximum(), 1e9f);
    CDataValueSet none;
    EXPECT_EQ(none.GetMinMax(0, -1), 0);
    EXPECT_EQ(none.GetMinimum(), 1e9f);
}

TEST(CDataValueSetTest, MinMaxTimeCollectsWhenEmpty) {
    CDataValueSet set;
    const CZAMDateTime days[] = {Date(2015, 8, 12, 9, 0, 0), Date(2014, 1, 1, 0, 0, 0), Date(2016, 2, 29, 12, 0, 0),
                                 Date(2015, 1, 1, 0, 0, 0)};
    for (const CZAMDateTime& d : days) set.AddDTVal(&d);
    CDataValueSet collect;
    CDataValue min;
    CDataValue max;
    EXPECT_EQ(set.GetMinMaxTime(&collect, &min, &max, 0, -1), 4);
    EXPECT_EQ(min.IsEqual(&days[1], 6), 1);
    EXPECT_EQ(max.IsEqual(&days[2], 6), 1);
    EXPECT_EQ(collect.GetNumVal(), 4);
    EXPECT_EQ(set.GetMinMaxTime(&collect, &min, &max, 2, 3), 2);  // collect no longer empty
    EXPECT_EQ(collect.GetNumVal(), 4);
    EXPECT_EQ(min.IsEqual(&days[3], 6), 1);
    EXPECT_EQ(set.GetMinMaxTime(nullptr, nullptr, nullptr, 0, -1), 4);

    CDataValueSet texts;
    texts.AddTxt("pear");
    texts.AddTxt("Apple tree, long");
    texts.AddTxt("zucchini");
    EXPECT_EQ(texts.GetMinMaxTime(nullptr, &min, &max, 0, -1), 3);
    CTxt t;
    min.GetValTxt(t);
    EXPECT_STREQ(t, "Apple tree, long");
    max.GetValTxt(t);
    EXPECT_STREQ(t, "zucchini");

    CDataValueSet empty;
    EXPECT_EQ(empty.GetMinMaxTime(&collect, &min, &max, 0, -1), 0);
}

TEST(CDataValueSetTest, ValueVariations) {
    CDataValueSet set;
    for (float f : {3.0f, 3.0f, 1e9f, 1.0f, 3.0f, 2.0f}) set.AddFloatVal(f);
    CDataValueSet noSort;
    EXPECT_EQ(set.CalcValueVariationsFltNoSort(&noSort), 3);
    EXPECT_EQ(Floats(noSort), (std::vector<float>{3, 1, 2}));
    CDataValueSet sorted;
    EXPECT_EQ(set.CalcValueVariationsFltSort(&sorted), 4);
    EXPECT_EQ(Floats(sorted), (std::vector<float>{3, 1, 3, 2}));

    CDataValueSet leadingMarker;
    for (float f : {1e9f, 4.0f, 4.0f}) leadingMarker.AddFloatVal(f);
    CDataValueSet out;
    EXPECT_EQ(leadingMarker.CalcValueVariationsFltSort(&out), 1);
    EXPECT_EQ(Floats(out), (std::vector<float>{4}));

    // Into itself: walks only the values it had.
    EXPECT_EQ(set.CalcValueVariationsFltNoSort(&set), 6);
    EXPECT_EQ(set.CalcValueVariationsFltSort(nullptr), 0);
}

}  // namespace
