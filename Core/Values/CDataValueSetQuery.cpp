// CDataValueSet: searches, the sort view, minimum/maximum and the lists of
// distinct values.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

#include "Core/Time/CZAMDateTime.h"
#include "Core/Values/CDataValue.h"

namespace {

// A strict weak order even with NaN in the keys (NaN sorts last), so a
// stray NaN can never send the sort out of its range.
template <typename Key>
bool KeyLess(Key a, Key b) {
    if constexpr (std::is_floating_point_v<Key>) {
        if (std::isnan(b)) return !std::isnan(a);
        if (std::isnan(a)) return false;
    }
    return a < b;
}

// The float's bits turned into an unsigned number of the same order: -0
// counts as 0, and every NaN as the largest number.
uint32_t OrderedBits(float f) {
    if (std::isnan(f)) return UINT32_MAX;
    if (f == 0) f = 0;
    uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    return (bits & 0x80000000u) ? ~bits : bits | 0x80000000u;
}

bool IsMarker(float f) { return f == CDataValue::kNoNumber; }

// Sorts words by their upper 32 bits, keeping the order of equal ones, in
// four passes of one byte each (a pass that would move nothing is left out);
// scratch holds n words. Returns whichever of the two holds the result.
uint64_t* RadixSortUpperHalf(uint64_t* words, uint64_t* scratch, size_t n) {
    static const int kPasses = 4;
    std::unique_ptr<size_t[]> counts(new size_t[kPasses * 256]());
    for (size_t i = 0; i < n; ++i) {
        const uint32_t key = static_cast<uint32_t>(words[i] >> 32);
        for (int pass = 0; pass < kPasses; ++pass) ++counts[pass * 256 + (key >> (8 * pass) & 0xFF)];
    }
    uint64_t* from = words;
    uint64_t* to = scratch;
    for (int pass = 0; pass < kPasses; ++pass) {
        const int shift = 32 + 8 * pass;
        size_t* start = &counts[pass * 256];
        if (start[words[0] >> shift & 0xFF] == n) continue;
        size_t sum = 0;
        for (int digit = 0; digit < 256; ++digit) {
            const size_t here = start[digit];
            start[digit] = sum;
            sum += here;
        }
        for (size_t i = 0; i < n; ++i) {
            const uint64_t w = from[i];
            to[start[w >> shift & 0xFF]++] = w;
        }
        std::swap(from, to);
    }
    return from;
}

}  // namespace

// --- searches -------------------------------------------------------------------

CDataValue* CDataValueSet::FindValueByInt(unsigned long v) const {
    for (int i = 0; i < m_Num; ++i) {
        if (m_Val[i].IsEqual(v)) return &m_Val[i];
    }
    return nullptr;
}

CDataValue* CDataValueSet::FindValueByFloat(float f) const {
    if (IsMarker(f)) return nullptr;
    for (int i = 0; i < m_Num; ++i) {
        if (m_Val[i].IsEqual(f)) return &m_Val[i];
    }
    return nullptr;
}

CDataValue* CDataValueSet::FindValueByDouble(double d) const {
    if (d == CDataValue::kNoNumber) return nullptr;
    for (int i = 0; i < m_Num; ++i) {
        if (m_Val[i].IsEqual(d)) return &m_Val[i];
    }
    return nullptr;
}

CDataValue* CDataValueSet::FindValueByText(const char* s) const {
    for (int i = 0; i < m_Num; ++i) {
        if (m_Val[i].IsEqual(s)) return &m_Val[i];
    }
    return nullptr;
}

CDataValue* CDataValueSet::FindValueByDate(const CZAMDateTime* dt, int depth) const {
    if (depth <= 0) {
        for (int i = m_Num - 1; i >= 0; --i) {
            if (m_Val[i].IsEqual(dt, 6)) return &m_Val[i];
        }
        return nullptr;
    }
    for (int i = 0; i < m_Num; ++i) {
        if (m_Val[i].IsEqual(dt, depth)) return &m_Val[i];
    }
    return nullptr;
}

CDataValue* CDataValueSet::FindValueByTextSegment(const char* s, int n) const {
    if (s == nullptr) return nullptr;
    for (int i = 0; i < m_Num; ++i) {
        const CDataValue& v = m_Val[i];
        if (!v.IsFilled() || !v.IsText()) continue;
        const char* text = v.GetValTxtPtr();
        const int len = v.IsTextRam() ? v.GetTextLen() : std::min(v.GetTextLen(), 8);
        // strncmp's rule on a text that may lack its terminator, never
        // reading s past its own end.
        bool same = true;
        for (int k = 0; k < n; ++k) {
            const char a = k < len ? text[k] : '\0';
            if (a != s[k]) {
                same = false;
                break;
            }
            if (a == '\0') break;
        }
        if (same) return &m_Val[i];
    }
    return nullptr;
}

int CDataValueSet::FindValueByPtr(const CDataValue* v) const {
    if (v == nullptr || m_Val == nullptr) return -1;
    const auto at = reinterpret_cast<uintptr_t>(v);
    const auto begin = reinterpret_cast<uintptr_t>(m_Val);
    if (at < begin) return -1;
    const uintptr_t offset = at - begin;
    if (offset % sizeof(CDataValue) != 0) return -1;
    const uintptr_t index = offset / sizeof(CDataValue);
    return index < static_cast<uintptr_t>(m_Num) ? static_cast<int>(index) : -1;
}

int CDataValueSet::FindSortValueByFloat(float f) const {
    if (IsMarker(f)) return -1;
    for (int k = 0; k < m_Sort.GetSize(); ++k) {
        const CDataValue* v = GetSortVal(k);
        if (v != nullptr && v->IsEqual(f)) return k;
    }
    return -1;
}

// --- sorting --------------------------------------------------------------------

void CDataValueSet::CopyToSortArray() {
    m_Sort.RemoveAll();
    if (m_Num == 0 || m_Sort.SetSize(m_Num) != 0) return;
    for (int i = 0; i < m_Num; ++i) m_Sort.Add(&m_Val[i]);
}

template <typename Key, typename KeyOf>
void CDataValueSet::SortBy(KeyOf keyOf) {
    // The view gets its size at once: every slot is written below.
    m_Sort.RemoveAll();
    if (m_Num == 0 || m_Sort.SetSize(m_Num) != 0) return;
    m_Sort.SetAtGrow(m_Num - 1, nullptr);
    const int n = m_Sort.GetSize();
    void** slots = m_Sort.GetRawData();
    if (n < 2) {
        if (n == 1) slots[0] = &m_Val[0];
        return;
    }
    // Each key is taken once and sorted beside its index, which is far
    // cheaper than fetching two values for every comparison; the index also
    // settles ties, so equal keys keep their order.
    if constexpr (std::is_same_v<Key, float>) {
        // A float key and its index fit one 64-bit number of the same order.
        // The words start in the order of their indexes, so a sort that keeps
        // the order of equal keys need only look at the keys: a radix sort,
        // which passes over the words four times instead of comparing them.
        std::unique_ptr<uint64_t[]> words(new (std::nothrow) uint64_t[static_cast<size_t>(n)]);
        if (words) {
            for (int i = 0; i < n; ++i) {
                words[i] = uint64_t{OrderedBits(keyOf(m_Val[i]))} << 32 | static_cast<uint32_t>(i);
            }
            std::unique_ptr<uint64_t[]> scratch(new (std::nothrow) uint64_t[static_cast<size_t>(n)]);
            const uint64_t* sorted = words.get();
            if (scratch) {
                sorted = RadixSortUpperHalf(words.get(), scratch.get(), static_cast<size_t>(n));
            } else {
                std::sort(words.get(), words.get() + n);
            }
            for (int i = 0; i < n; ++i) slots[i] = &m_Val[static_cast<uint32_t>(sorted[i])];
            return;
        }
    } else {
        struct Entry {
            Key key;
            uint32_t index;
        };
        std::unique_ptr<Entry[]> entries(new (std::nothrow) Entry[static_cast<size_t>(n)]);
        if (entries) {
            for (int i = 0; i < n; ++i) entries[i] = Entry{keyOf(m_Val[i]), static_cast<uint32_t>(i)};
            std::sort(entries.get(), entries.get() + n, [](const Entry& a, const Entry& b) {
                if (KeyLess<Key>(a.key, b.key)) return true;
                if (KeyLess<Key>(b.key, a.key)) return false;
                return a.index < b.index;
            });
            for (int i = 0; i < n; ++i) slots[i] = &m_Val[entries[i].index];
            return;
        }
    }
    // Without memory for the keys: sort the pointers themselves.
    std::stable_sort(slots, slots + n, [&keyOf](void* a, void* b) {
        return KeyLess<Key>(keyOf(*static_cast<const CDataValue*>(a)), keyOf(*static_cast<const CDataValue*>(b)));
    });
}

void CDataValueSet::SortFlt() {
    SortBy<float>([](const CDataValue& v) { return v.GetFloatVal(); });
}

void CDataValueSet::SortDbl() {
    SortBy<double>([](const CDataValue& v) { return v.GetDoubleVal(); });
}

void CDataValueSet::SortInt() {
    SortBy<int>([](const CDataValue& v) {
        int n = 0;
        v.GetIntVal(&n);
        return n;
    });
}

void CDataValueSet::SortDate() {
    // The six fields in order of weight form one number; values without a
    // date come last.
    SortBy<uint64_t>([](const CDataValue& v) {
        const CZAMDateTime* dt = v.GetDT();
        if (dt == nullptr) return UINT64_MAX;
        const unsigned char f[6] = {dt->m_Year, dt->m_Month, dt->m_Day, dt->m_Hour, dt->m_Min, dt->m_Sec};
        uint64_t key = 0;
        for (unsigned char b : f) key = key << 8 | b;
        return key;
    });
}

void CDataValueSet::SortRngY() {
    SortBy<float>([](const CDataValue& v) {
        const void* record = v.GetValPtr();
        if (record == nullptr) return NAN;
        float y = 0;
        std::memcpy(&y, static_cast<const unsigned char*>(record) + 3 * sizeof(float), sizeof y);
        return y;
    });
}

int CDataValueSet::CopyFromSortArray() {
    const int n = m_Num;
    if (m_Sort.GetSize() != n) return -1;
    for (int k = 0; k < n; ++k) {
        if (FindValueByPtr(GetSortVal(k)) < 0) return -2;
    }
    CDataValue* fresh = nullptr;
    if (n > 0) {
        fresh = Allocate(n);
        if (fresh == nullptr) return -1;
        // Copies, not moves: each gets its own text, so even a view naming a
        // value twice cannot leave two owners of one buffer.
        for (int k = 0; k < n; ++k) new (&fresh[k]) CDataValue(*GetSortVal(k));
    }
    ReleaseData(0);
    if (n > 0) {
        m_Val = fresh;
        m_Num = m_Alloc = m_Cap = m_Built = n;
        m_Block = n;
    }
    return n;
}

// --- statistics -------------------------------------------------------------------

void CDataValueSet::CheckRange(int* first, int* last) const {
    if (first == nullptr || last == nullptr) return;
    const int top = m_Num - 1;
    if (*last < 0) *last = top;
    if (*first > top) *first = top;
    if (*last > top) *last = top;
    if (*first < 0) *first = 0;
    if (*last < 0) *last = 0;
    if (*last < *first) std::swap(*first, *last);
}

int CDataValueSet::GetMinMax(int first, int last) {
    CheckRange(&first, &last);
    m_Min = CDataValue::kNoNumber;
    m_Max = CDataValue::kNoNumber;
    bool found = false;
    for (int i = first; i <= last && i < m_Num; ++i) {
        const float f = m_Val[i].GetFloatVal();
        if (IsMarker(f) || std::isnan(f)) continue;
        if (!found || f < m_Min) m_Min = f;
        if (!found || f > m_Max) m_Max = f;
        found = true;
    }
    return 0;
}

int CDataValueSet::GetMinMaxTime(CDataValueSet* collect, CDataValue* min, CDataValue* max, int first,
                                 int last) {
    CheckRange(&first, &last);
    if (m_Num == 0 || last < first) return 0;
    CDataValue ownMin;
    CDataValue ownMax;
    if (min == nullptr) min = &ownMin;
    if (max == nullptr) max = &ownMax;
    const bool collecting = collect != nullptr && collect != this && collect->GetNumVal() == 0;
    int visited = 0;
    for (int i = first; i <= last && i < m_Num; ++i) {
        const CDataValue& v = m_Val[i];
        if (visited == 0) {
            min->SetVal(&v, 1);
            max->SetVal(&v, 1);
        } else {
            if (v.Compare(min) < 0) min->SetVal(&v, 1);
            if (v.Compare(max) > 0) max->SetVal(&v, 1);
        }
        if (collecting) collect->AddVal(&v);
        ++visited;
    }
    return visited;
}

int CDataValueSet::CalcValueVariationsFltSort(CDataValueSet* out) const {
    if (out == nullptr) return 0;
    const int n = m_Num;  // out may be this very set
    bool any = false;
    float last = 0;
    for (int i = 0; i < n; ++i) {
        const float f = m_Val[i].GetFloatVal();
        if (IsMarker(f)) continue;
        if (!any || f != last) {
            out->AddVal(&m_Val[i]);
            last = f;
            any = true;
        }
    }
    return out->GetNumVal();
}

int CDataValueSet::CalcValueVariationsFltNoSort(CDataValueSet* out) const {
    if (out == nullptr) return 0;
    const int n = m_Num;
    bool any = false;
    float previous = 0;
    for (int i = 0; i < n; ++i) {
        const float f = m_Val[i].GetFloatVal();
        if (IsMarker(f)) continue;
        if ((!any || f != previous) && out->FindValueByFloat(f) == nullptr) out->AddVal(&m_Val[i]);
        previous = f;
        any = true;
    }
    return out->GetNumVal();
}
