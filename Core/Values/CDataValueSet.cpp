// CDataValueSet: block-wise storage, the setters, appenders and getters.

#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>

#include "Core/Values/CDataValue.h"

CDataValueSet::CDataValueSet() = default;

CDataValueSet::~CDataValueSet() { ReleaseData(0); }

// The storage is raw memory whose values are built only as far as they are
// used, so room that is never reached is never touched. It comes from
// malloc so that growth can be a realloc: a value is its bytes (a move
// hands them on untouched), and the system can move a large block by
// remapping its pages rather than copying them.
CDataValue* CDataValueSet::Allocate(int n) {
    return static_cast<CDataValue*>(std::malloc(static_cast<size_t>(n) * sizeof(CDataValue)));
}

void CDataValueSet::Destroy(CDataValue* values, int built) {
    for (int k = 0; k < built; ++k) values[k].~CDataValue();  // each releases its own text unless bulk
    std::free(values);
}

void CDataValueSet::ReleaseData(int /*mode*/) {
    Destroy(m_Val, m_Built);
    m_Val = nullptr;
    m_Built = 0;
    m_Sort.RemoveAll();
    m_Num = 0;
    m_Alloc = 0;
    m_Cap = 0;
    m_Block = 1000;
    m_Unquote = 1;
    m_Reserved = 0;
    m_Min = CDataValue::kNoNumber;
    m_Max = CDataValue::kNoNumber;
}

bool CDataValueSet::Owns(const void* p) const {
    if (m_Val == nullptr) return false;
    const auto at = reinterpret_cast<uintptr_t>(p);
    const auto begin = reinterpret_cast<uintptr_t>(m_Val);
    return at >= begin && at < begin + static_cast<uintptr_t>(m_Cap) * sizeof(CDataValue);
}

int CDataValueSet::SetRam(int i) {
    if (i < 0) return -1;
    if (i < m_Built) return 0;
    const int64_t wanted = static_cast<int64_t>(m_Block) * (i / m_Block + 1);
    if (wanted > INT32_MAX) return -1;
    if (wanted > m_Cap) {
        // The storage counts as grown block by block, but the memory behind it
        // at least doubles, so filling a set value by value stays linear rather
        // than moving every value again at each new block.
        int64_t cap = m_Cap * int64_t{2};
        if (cap < wanted) cap = wanted;
        cap = (cap + m_Block - 1) / m_Block * m_Block;
        if (cap > INT32_MAX) cap = wanted;
        void* fresh = std::realloc(static_cast<void*>(m_Val), static_cast<size_t>(cap) * sizeof(CDataValue));
        if (fresh == nullptr) return -1;
        m_Val = static_cast<CDataValue*>(fresh);
        m_Cap = static_cast<int>(cap);
        // The view's pointers led into the old storage.
        m_Sort.RemoveAll();
    }
    if (wanted > m_Alloc) m_Alloc = static_cast<int>(wanted);
    for (; m_Built <= i; ++m_Built) new (&m_Val[m_Built]) CDataValue();
    return 0;
}

CDataValue* CDataValueSet::GetSortVal(int i) const { return static_cast<CDataValue*>(m_Sort.GetAt(i)); }

// --- setters at an index -----------------------------------------------------

template <typename Store>
int CDataValueSet::SetAt(int i, Store store) {
    if (i >= 0 && i == m_Built && i < m_Alloc) {
        new (&m_Val[m_Built++]) CDataValue();  // the next value of the current block
    } else if ((i < 0 || i >= m_Built) && SetRam(i) != 0) {
        return -1;
    }
    store(m_Val[i]);
    if (m_Num < i + 1) m_Num = i + 1;
    return i;
}

int CDataValueSet::SetIntVal(int v, int i) {
    return SetAt(i, [v](CDataValue& d) { d.SetIntVal(v); });
}

int CDataValueSet::SetInt64Val(int64_t v, int i) {
    return SetAt(i, [v](CDataValue& d) { d.SetInt64Val(v); });
}

int CDataValueSet::SetFloatVal(float f, int i) {
    return SetAt(i, [f](CDataValue& d) { d.SetFloatVal(f); });
}

int CDataValueSet::SetDoubleVal(double v, int i) {
    return SetAt(i, [v](CDataValue& d) { d.SetDoubleVal(v); });
}

int CDataValueSet::SetPtr(void* p, int i) {
    return SetAt(i, [p](CDataValue& d) { d.SetPtr(p); });
}

int CDataValueSet::SetEmpty(int i) {
    return SetAt(i, [](CDataValue& d) { d.SetEmpty(); });
}

int CDataValueSet::SetTxtVal(const char* s, int i) {
    if (Owns(s)) {
        // A short text lives in the payload, which growth moves: copy it first.
        const CTxt copy(s);
        return SetTxtVal(copy, i);
    }
    return SetAt(i, [s](CDataValue& d) { d.SetText(s, 0); });
}

int CDataValueSet::SetDTVal(const CZAMDateTime* dt, int i) {
    if (Owns(dt)) {
        CDataValue copy;
        copy.SetDT(dt);
        return SetDTVal(copy.GetDT(), i);
    }
    return SetAt(i, [dt](CDataValue& d) { d.SetDT(dt); });
}

int CDataValueSet::SetVal(const CDataValue* v, int i) {
    if (Owns(v)) {
        // v would move (or be overwritten) under the copy when the storage grows.
        const CDataValue copy(*v);
        return SetVal(&copy, i);
    }
    const int unquote = m_Unquote;
    return SetAt(i, [v, unquote](CDataValue& d) { d.SetVal(v, unquote); });
}

// --- appenders ----------------------------------------------------------------

int CDataValueSet::AddIntVal(int v) { return SetIntVal(v, m_Num); }
int CDataValueSet::AddInt64Val(int64_t v) { return SetInt64Val(v, m_Num); }
int CDataValueSet::AddDoubleVal(double d) { return SetDoubleVal(d, m_Num); }
int CDataValueSet::AddTxt(const char* s) { return SetTxtVal(s, m_Num); }
int CDataValueSet::AddPtr(void* p) { return SetPtr(p, m_Num); }
int CDataValueSet::AddDTVal(const CZAMDateTime* dt) { return SetDTVal(dt, m_Num); }
int CDataValueSet::AddEmpty() { return SetEmpty(m_Num); }
int CDataValueSet::AddVal(const CDataValue* v) { return SetVal(v, m_Num); }

// --- getters ------------------------------------------------------------------

CDataValue* CDataValueSet::GetVal(unsigned i) const {
    return i < static_cast<unsigned>(m_Num) ? &m_Val[i] : nullptr;
}

int CDataValueSet::GetValInt(unsigned i, int* out) const {
    const CDataValue* v = GetVal(i);
    if (out != nullptr) {
        *out = 0;
        return v != nullptr ? v->GetIntVal(out) : 0;
    }
    int n = 0;
    if (v != nullptr) v->GetIntVal(&n);
    return n;
}

int64_t CDataValueSet::GetValInt64(unsigned i, int64_t* out) const {
    const CDataValue* v = GetVal(i);
    if (out != nullptr) {
        *out = 0;
        return v != nullptr ? v->GetInt64Val(out) : 0;
    }
    int64_t n = 0;
    if (v != nullptr) v->GetInt64Val(&n);
    return n;
}

float CDataValueSet::GetValFloat(unsigned i) const {
    const CDataValue* v = GetVal(i);
    return v != nullptr ? v->GetFloatVal() : CDataValue::kNoNumber;
}

double CDataValueSet::GetValDouble(unsigned i) const {
    const CDataValue* v = GetVal(i);
    return v != nullptr ? v->GetDoubleVal() : CDataValue::kNoNumber;
}

CZAMDateTime* CDataValueSet::GetValDT(unsigned i) const {
    CDataValue* v = GetVal(i);
    return v != nullptr ? v->GetDT() : nullptr;
}

void* CDataValueSet::GetValPtr(unsigned i) const {
    const CDataValue* v = GetVal(i);
    return v != nullptr ? v->GetValPtr() : nullptr;
}

int CDataValueSet::GetValTxt(int i, CTxt& out) const {
    if (i < 0 || i >= m_Num) {
        out.MakeEmpty();
        return -1;
    }
    return m_Val[i].GetValTxt(out);
}

float CDataValueSet::IncValFlt(int i, float d) {
    if (i < 0 || i >= m_Num) return -2;
    const float now = m_Val[i].GetFloatVal();
    if (now == CDataValue::kNoNumber) return -1;
    const float next = now + d;
    m_Val[i].SetFloatVal(next);
    return next;
}

int CDataValueSet::IncValInt(int i, int d) {
    if (i < 0 || i >= m_Num) return -2;
    int now = 0;
    if (!m_Val[i].GetIntVal(&now)) return -1;
    // Wraps like the 32-bit arithmetic it always was, without signed overflow.
    const int next = static_cast<int>(static_cast<uint32_t>(now) + static_cast<uint32_t>(d));
    m_Val[i].SetIntVal(next);
    return next;
}
