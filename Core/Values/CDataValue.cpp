// CDataValue: construction, copying, the setters and the number getters.

#include "Core/Values/CDataValue.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "Core/Time/CZAMDateTime.h"

static_assert(sizeof(CDataValue) == 12, "a value is eight bytes of payload, flags and a length");
static_assert(sizeof(CZAMDateTime) == 6 && alignof(CZAMDateTime) == 1,
              "a date lives in the payload's first six bytes");
static_assert(sizeof(void*) <= 8, "a pointer must fit the payload");

namespace {

// Kinds whose presence makes a value something other than a float.
constexpr unsigned short kNotFloat = CDataValue::kInt | CDataValue::kTextShort | CDataValue::kTextRam |
                                     CDataValue::kPtr | CDataValue::kDate | CDataValue::kIntRange |
                                     CDataValue::kDouble;

// The runtime truncates toward zero; beyond the 32-bit range that would be
// undefined, so the result is held at the limits instead.
int TruncToInt(float f) {
    if (std::isnan(f)) return 0;
    if (f >= 2147483648.0f) return INT32_MAX;
    if (f <= -2147483648.0f) return INT32_MIN;
    return static_cast<int>(f);
}

}  // namespace

CDataValue::CDataValue(const CDataValue& other) : m_Data{}, m_Flags(0), m_Len(0) { CopyFrom(other); }

CDataValue& CDataValue::operator=(const CDataValue& other) {
    if (this != &other) {
        CDataValue copy(other);
        *this = std::move(copy);
    }
    return *this;
}

void CDataValue::CopyFrom(const CDataValue& other) {
    m_Flags = other.m_Flags;
    m_Len = other.m_Len;
    std::memcpy(m_Data, other.m_Data, sizeof m_Data);
    if ((m_Flags & kTextRam) == 0 || (m_Flags & kBulk) != 0) return;  // a bulk buffer is nobody's here
    char* copy = static_cast<char*>(std::malloc(static_cast<size_t>(m_Len) + 1));
    if (copy == nullptr) {
        // Without memory the copy cannot hold the text; it must not share it either.
        m_Flags = static_cast<unsigned short>(m_Flags & ~(kTextRam | kFilled));
        m_Len = 0;
        std::memset(m_Data, 0, sizeof m_Data);
        return;
    }
    std::memcpy(copy, other.LongText(), m_Len);
    copy[m_Len] = '\0';
    std::memcpy(m_Data, &copy, sizeof copy);
}

char* CDataValue::LongText() const {
    char* p = nullptr;
    std::memcpy(&p, m_Data, sizeof p);
    return p;
}

void CDataValue::FreeText() {
    if ((m_Flags & kBulk) == 0) std::free(LongText());
    m_Flags = static_cast<unsigned short>(m_Flags & ~kTextRam);
}

int CDataValue::PayloadInt(int at) const {
    int v = 0;
    std::memcpy(&v, m_Data + at, sizeof v);
    return v;
}

float CDataValue::PayloadFloat(int at) const {
    float v = 0;
    std::memcpy(&v, m_Data + at, sizeof v);
    return v;
}

// --- setters ------------------------------------------------------------------

void CDataValue::SetIntVal(int v) {
    ReleaseText();
    std::memcpy(m_Data, &v, sizeof v);
    m_Flags = static_cast<unsigned short>((m_Flags & ~0x003C) | 0x0003);
}

void CDataValue::SetInt64Val(int64_t v) {
    ReleaseText();
    std::memcpy(m_Data, &v, sizeof v);
    m_Flags = static_cast<unsigned short>((m_Flags & ~0x003C) | 0x0401);
}

void CDataValue::SetPtr(void* p) {
    ReleaseText();
    std::memset(m_Data, 0, sizeof m_Data);
    std::memcpy(m_Data, &p, sizeof p);
    m_Flags = static_cast<unsigned short>((m_Flags & ~0x002E) | 0x0011);
}

void CDataValue::SetFloatEmpty() {
    ReleaseText();
    const float marker = kNoNumber;
    std::memcpy(m_Data, &marker, sizeof marker);
    m_Flags = static_cast<unsigned short>(m_Flags & ~0x003F);
}

void CDataValue::SetEmpty() {
    SetPtr(nullptr);
    m_Flags = static_cast<unsigned short>((m_Flags & ~0x0001) | 0x0010);
}

void CDataValue::SetDoubleVal(double d) {
    ReleaseText();
    std::memcpy(m_Data, &d, sizeof d);
    m_Flags = static_cast<unsigned short>(m_Flags | 0x0201);
}

void CDataValue::SetColorVal(unsigned long c) {
    ReleaseText();
    const uint32_t v = static_cast<uint32_t>(c);  // a colour is 32 bits on every platform
    std::memcpy(m_Data, &v, sizeof v);
    m_Flags = static_cast<unsigned short>(m_Flags | 0x0801);
}

void CDataValue::SetDT(const CZAMDateTime* dt) {
    if (dt == nullptr) return;
    const CZAMDateTime copy = *dt;  // dt may live in this very payload
    ReleaseText();
    new (m_Data) CZAMDateTime(copy);
    m_Flags = static_cast<unsigned short>(m_Flags | 0x0021);
}

void CDataValue::SetRange(int min, int max) {
    ReleaseText();
    std::memcpy(m_Data, &min, sizeof min);
    std::memcpy(m_Data + 4, &max, sizeof max);
    m_Flags = static_cast<unsigned short>((m_Flags & ~0x0010) | 0x0041);
}

void CDataValue::SetRange(float min, float max) {
    ReleaseText();
    std::memcpy(m_Data, &min, sizeof min);
    std::memcpy(m_Data + 4, &max, sizeof max);
    m_Flags = static_cast<unsigned short>((m_Flags & ~0x0010) | 0x0081);
}

void CDataValue::SetBulk(int on) {
    m_Flags = static_cast<unsigned short>(on ? (m_Flags | kBulk) : (m_Flags & ~kBulk));
}

void CDataValue::SetVal(const CDataValue* other, int unquote) {
    if (other == nullptr || !other->IsFilled() || other == this) return;
    const unsigned short f = other->m_Flags;
    if (other->IsRange()) {
        if (other->IsFloatRangeKind()) {
            SetRange(other->GetFloatValMin(), other->GetFloatValMax());
        } else {
            SetRange(other->GetIntValMin(), other->GetIntValMax());
        }
    } else if (f & kColor) {
        SetColorVal(static_cast<uint32_t>(other->PayloadInt(0)));
    } else if (f & kInt64) {
        int64_t v = 0;
        other->GetInt64Val(&v);
        SetInt64Val(v);
    } else if (other->IsFloat()) {
        SetFloatVal(other->GetFloatVal());
    } else if (other->IsText()) {
        CTxt text;
        other->GetValTxt(text);
        SetText(text, unquote);
    } else if (f & kDate) {
        SetDT(other->GetDT());
    } else if (f & kDouble) {
        SetDoubleVal(other->GetDoubleVal());
    } else if (f & kPtr) {
        SetPtr(other->GetValPtr());
    } else {
        int v = 0;
        other->GetIntVal(&v);
        SetIntVal(v);
    }
}

// --- state ----------------------------------------------------------------------

int CDataValue::IsFilled() const { return (m_Flags & kFilled) ? 1 : 0; }
int CDataValue::IsText() const { return (m_Flags & (kTextShort | kTextRam)) ? 1 : 0; }
int CDataValue::IsTextRam() const { return (m_Flags & kTextRam) ? 1 : 0; }
int CDataValue::IsDouble() const { return (m_Flags & kDouble) ? 1 : 0; }
int CDataValue::IsDate() const { return (m_Flags & kDate) ? 1 : 0; }
int CDataValue::IsBulk() const { return (m_Flags & kBulk) ? 1 : 0; }
int CDataValue::IsFloat() const { return (m_Flags & kNotFloat) ? 0 : 1; }

int CDataValue::IsRange() const {
    return (m_Flags & 0x003E) == 0 && (m_Flags & (kIntRange | kFloatRange)) != 0 ? 1 : 0;
}

bool CDataValue::IsFloatRangeKind() const { return IsRange() && (m_Flags & kFloatRange); }

bool CDataValue::IsIntRangeKind() const { return IsRange() && (m_Flags & kFloatRange) == 0; }

// --- number getters ---------------------------------------------------------------

int CDataValue::GetIntVal(int* out) const {
    if (!IsFilled()) return 0;
    const int v = (m_Flags & kInt) ? PayloadInt(0) : TruncToInt(GetFloatVal());
    if (out != nullptr) *out = v;
    return 1;
}

int CDataValue::GetInt64Val(int64_t* out) const {
    if (!IsFilled()) return 0;
    int64_t v = 0;
    if (m_Flags & kInt64) {
        std::memcpy(&v, m_Data, sizeof v);
    } else {
        int i = 0;
        GetIntVal(&i);
        v = i;
    }
    if (out != nullptr) *out = v;
    return 1;
}

double CDataValue::GetDoubleVal() const {
    if (!IsFilled()) return kNoNumber;
    if (m_Flags & kInt) return static_cast<uint32_t>(PayloadInt(0));
    if (m_Flags & kDate) return m_Data[3] * 10000.0 + m_Data[4] * 100.0 + m_Data[5];
    if (m_Flags & kDouble) {
        double d = 0;
        std::memcpy(&d, m_Data, sizeof d);
        return d;
    }
    if (IsFloat()) return PayloadFloat(0);
    return kNoNumber;
}

float CDataValue::GetFloatVal() const { return static_cast<float>(GetDoubleVal()); }

int CDataValue::GetIntValMin() const {
    return IsFilled() && IsIntRangeKind() ? PayloadInt(0) : kNoIntBound;
}

int CDataValue::GetIntValMax() const {
    return IsFilled() && IsIntRangeKind() ? PayloadInt(4) : kNoIntBound;
}

float CDataValue::GetFloatValMin() const {
    return IsFilled() && IsFloatRangeKind() ? PayloadFloat(0) : kNoNumber;
}

float CDataValue::GetFloatValMax() const {
    return IsFilled() && IsFloatRangeKind() ? PayloadFloat(4) : kNoNumber;
}

void* CDataValue::GetValPtr() const {
    if (!IsFilled() || (m_Flags & kPtr) == 0) return nullptr;
    void* p = nullptr;
    std::memcpy(&p, m_Data, sizeof p);
    return p;
}

CZAMDateTime* CDataValue::GetDT() {
    if (!IsFilled() || (m_Flags & kDate) == 0) return nullptr;
    return std::launder(reinterpret_cast<CZAMDateTime*>(m_Data));
}

const CZAMDateTime* CDataValue::GetDT() const {
    if (!IsFilled() || (m_Flags & kDate) == 0) return nullptr;
    return std::launder(reinterpret_cast<const CZAMDateTime*>(m_Data));
}

int CDataValue::IsInRange(int v) const {
    return IsFilled() && IsIntRangeKind() && PayloadInt(0) <= v && v <= PayloadInt(4) ? 1 : 0;
}

int CDataValue::IsInRange(float v) const {
    return IsFilled() && IsFloatRangeKind() && PayloadFloat(0) <= v && v <= PayloadFloat(4) ? 1 : 0;
}

int CDataValue::IsEqual(unsigned long v) const {
    return IsFilled() && (m_Flags & kInt) && static_cast<uint32_t>(PayloadInt(0)) == static_cast<uint32_t>(v)
               ? 1
               : 0;
}

int CDataValue::IsEqual(float v) const {
    if (!IsFilled()) return 0;
    return (IsFloat() ? PayloadFloat(0) : GetFloatVal()) == v ? 1 : 0;
}

int CDataValue::IsEqual(double v) const { return IsFilled() && GetDoubleVal() == v ? 1 : 0; }

int CDataValue::IsEqual(const CZAMDateTime* dt, int depth) const {
    if (dt == nullptr || !IsFilled() || (m_Flags & kDate) == 0) return 0;
    const CZAMDateTimePlain mine = PlainDate();
    CZAMDateTimePlain theirs;
    theirs.m_Year = dt->m_Year;
    theirs.m_Month = dt->m_Month;
    theirs.m_Day = dt->m_Day;
    theirs.m_Hour = dt->m_Hour;
    theirs.m_Min = dt->m_Min;
    theirs.m_Sec = dt->m_Sec;
    return mine.Compare(&theirs, depth) == 0 ? 1 : 0;
}

CZAMDateTimePlain CDataValue::PlainDate() const {
    CZAMDateTimePlain d;
    d.m_Year = m_Data[0];
    d.m_Month = m_Data[1];
    d.m_Day = m_Data[2];
    d.m_Hour = m_Data[3];
    d.m_Min = m_Data[4];
    d.m_Sec = m_Data[5];
    return d;
}
