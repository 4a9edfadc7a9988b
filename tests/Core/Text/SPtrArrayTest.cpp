#include "Core/Text/SPtrArray.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

void* P(intptr_t v) { return reinterpret_cast<void*>(v); }

std::vector<intptr_t> Items(const SPtrArray& a) {
    std::vector<intptr_t> out;
    for (int i = 0; i < a.GetSize(); ++i) out.push_back(reinterpret_cast<intptr_t>(a.GetAt(i)));
    return out;
}

int CompareValues(const void* a, const void* b) {
    const intptr_t x = reinterpret_cast<intptr_t>(*static_cast<void* const*>(a));
    const intptr_t y = reinterpret_cast<intptr_t>(*static_cast<void* const*>(b));
    return x < y ? -1 : x > y ? 1 : 0;
}

TEST(SPtrArrayTest, ClassInformation) {
    SPtrArray a;
    EXPECT_STREQ(a.GetRuntimeClass()->m_lpszClassName, "SPtrArray");
    EXPECT_EQ(a.GetRuntimeClass()->m_wSchema, 0xFFFFu);
    EXPECT_EQ(a.GetRuntimeClass()->m_pfnCreateObject, nullptr);
    EXPECT_TRUE(a.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_STREQ(RUNTIME_CLASS(SPtrArray)->m_pBaseClass->m_lpszClassName, "CObject");
}

TEST(SPtrArrayTest, GrowthSteps) {
    SPtrArray a;
    EXPECT_EQ(a.SetSize(5), 0);
    EXPECT_EQ(a.GetSize(), 0);
    ASSERT_NE(a.GetData(), nullptr);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(a.GetData()[i], nullptr);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(a.Add(P(i + 1)), i);
    a.Add(P(11));
    // The eleventh element grows 10 slots by 4.
    a.FreeExtra();
    EXPECT_EQ(a.GetSize(), 11);

    SPtrArray b;
    for (int i = 0; i < 11; ++i) b.Add(P(i));
    const void* const* before = b.GetData();
    for (int i = 11; i < 14; ++i) b.Add(P(i));
    EXPECT_EQ(b.GetData(), before);  // 14 slots: no new storage until the 15th
    b.Add(P(14));
    EXPECT_NE(b.GetData(), before);

    SPtrArray c;
    c.SetSizeInit(100, 100);
    c.Add(P(1));
    for (int i = 1; i < 100; ++i) c.Add(P(i));
    before = c.GetData();
    c.Add(P(100));
    EXPECT_NE(c.GetData(), before);
    EXPECT_EQ(c.GetSize(), 101);

    SPtrArray d;
    for (int i = 0; i < 5; ++i) d.Add(P(i));
    EXPECT_EQ(d.SetSize(3), 0);
    EXPECT_EQ(d.GetSize(), 5);
    EXPECT_EQ(d.SetSize(-1), -1);
    EXPECT_EQ(d.GetSize(), 5);
    EXPECT_EQ(d.SetSize(0), 0);
    EXPECT_EQ(d.GetSize(), 0);
    EXPECT_EQ(d.GetData(), nullptr);
}

TEST(SPtrArrayTest, InsertRemoveAppendCopy) {
    SPtrArray a;
    a.Add(P('a'));
    a.Add(P('b'));
    a.InsertAt(0, P('p'), 2);
    EXPECT_EQ(Items(a), (std::vector<intptr_t>{'p', 'p', 'a', 'b'}));
    SPtrArray b;
    b.Add(P('a'));
    b.Add(P('b'));
    b.InsertAt(2, P('p'));
    EXPECT_EQ(Items(b), (std::vector<intptr_t>{'a', 'b', 'p'}));
    SPtrArray empty;
    empty.InsertAt(0, P('x'), 3);
    EXPECT_EQ(Items(empty), (std::vector<intptr_t>{'x', 'x', 'x'}));

    SPtrArray c;
    for (char ch : {'a', 'b', 'c', 'd'}) c.Add(P(ch));
    c.RemoveAt(1, 2);
    EXPECT_EQ(Items(c), (std::vector<intptr_t>{'a', 'd'}));
    c.RemoveAt(1, 50);  // a range past the end stops at the end
    EXPECT_EQ(Items(c), (std::vector<intptr_t>{'a'}));

    SPtrArray tail;
    tail.Add(P('c'));
    SPtrArray ab;
    ab.Add(P('a'));
    ab.Add(P('b'));
    EXPECT_EQ(ab.Append(tail), 2);
    EXPECT_EQ(Items(ab), (std::vector<intptr_t>{'a', 'b', 'c'}));
    ab.InsertAt(1, &ab);  // inserting an array into itself
    EXPECT_EQ(Items(ab), (std::vector<intptr_t>{'a', 'a', 'b', 'c', 'b', 'c'}));
    SPtrArray copy;
    copy.Copy(tail);
    EXPECT_EQ(Items(copy), (std::vector<intptr_t>{'c'}));
    EXPECT_EQ(ab.GetPtrIndex(P('c')), 3);
    EXPECT_EQ(ab.GetPtrIndex(P('z')), -1);
    EXPECT_EQ(ab.GetAt(99), nullptr);

    // An index between size and capacity must not write past the storage.
    SPtrArray gap;
    gap.SetSize(10);
    gap.InsertAt(9, P('g'), 5);
    EXPECT_EQ(gap.GetSize(), 14);
    EXPECT_EQ(gap.GetAt(13), P('g'));
}

TEST(SPtrArrayTest, SortingAndFloats) {
    SPtrArray a;
    for (intptr_t v : {5, 1, 4, 2}) a.Add(P(v));
    SPtrArray target;
    a.SortInto(CompareValues, &target);
    EXPECT_EQ(Items(target), (std::vector<intptr_t>{1, 2, 4, 5}));
    EXPECT_EQ(Items(a), (std::vector<intptr_t>{5, 1, 4, 2}));
    a.Sort(CompareValues);
    EXPECT_EQ(Items(a), (std::vector<intptr_t>{1, 2, 4, 5}));

    SPtrArray f;
    EXPECT_EQ(f.FltAddIfNew(1.5f), 0);
    EXPECT_EQ(f.FltAddIfNew(1.5f), -1);
    EXPECT_EQ(f.FltAddIfNew(-2.25f), 1);
    EXPECT_FLOAT_EQ(f.FltGetAt(5), 1e9f);
    EXPECT_FLOAT_EQ(f.FltGetAt(-1), 1e9f);
    EXPECT_EQ(f.FltSort(), 2);
    EXPECT_FLOAT_EQ(f.FltGetAt(0), -2.25f);
    EXPECT_EQ(f.FltFind(1.5f), 1);
    SPtrArray one;
    one.FltAddIfNew(3);
    EXPECT_EQ(one.FltSort(), 0);
}

}  // namespace
