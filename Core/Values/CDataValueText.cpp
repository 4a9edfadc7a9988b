// CDataValue: texts (short in the payload, long in an owned buffer), the text
// form of every kind, text equality and comparison.

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Core/Text/RuntimeConv.h"
#include "Core/Text/TextFunc.h"
#include "Core/Time/CZAMDateTime.h"
#include "Core/Values/CDataValue.h"

namespace {

constexpr uint32_t kMarkerBits = 0x4E6E6B28;  // the bits of 1e9f

// "%.4f" without trailing fraction zeros or a bare point.
void FloatText(float f, char* buf, size_t size) {
    std::snprintf(buf, size, "%.4f", static_cast<double>(f));
    strcutzero(buf, 1);
}

int LowerByte(char c) { return std::tolower(static_cast<unsigned char>(c)); }

}  // namespace

void CDataValue::TextView(const char** text, int* len) const {
    *text = GetValTxtPtr();
    *len = *text == nullptr ? 0 : (m_Flags & kTextRam) ? m_Len : ShortLen();
    if (*text == nullptr) *text = "";
}

void CDataValue::StoreShort(const char* s, int len) {
    char copy[8] = {};
    std::memcpy(copy, s, static_cast<size_t>(len));  // s may be this payload
    ReleaseText();
    std::memcpy(m_Data, copy, sizeof m_Data);
    m_Len = static_cast<unsigned short>(len);
    m_Flags = static_cast<unsigned short>((m_Flags & ~kTextRam) | 0x0005);
}

void CDataValue::StoreLong(char* buffer, int len) {
    buffer[len] = '\0';
    ReleaseText();
    std::memcpy(m_Data, &buffer, sizeof buffer);
    m_Len = static_cast<unsigned short>(len);
    // The new buffer is this value's own, whatever an earlier bulk text was.
    m_Flags = static_cast<unsigned short>(((m_Flags & ~(kTextShort | kBulk)) | 0x0009));
}

int CDataValue::SetText(const char* s, int unquote) {
    if (s == nullptr) s = "";
    const size_t n = std::strlen(s);
    if (unquote == 0 && n <= 8) {
        StoreShort(s, static_cast<int>(n));
        return static_cast<int>(n);
    }
    // Unquoting needs a writable copy; a long text needs one anyway. The old
    // text is released only after the copy, since s may be that very text.
    const size_t keep = unquote != 0 || n <= static_cast<size_t>(kMaxText) ? n : kMaxText;
    char* work = static_cast<char*>(std::malloc(keep + 1));
    if (work == nullptr) return -1;
    std::memcpy(work, s, keep);
    work[keep] = '\0';
    int len = static_cast<int>(keep);
    if (unquote != 0) {
        strunquote(work, '"');
        len = strunquote(work, '^');
        if (len > kMaxText) len = kMaxText;
    }
    if (len <= 8) {
        StoreShort(work, len);
        std::free(work);
    } else {
        StoreLong(work, len);
    }
    return len;
}

const char* CDataValue::GetValTxtPtr() const {
    if (m_Flags & kTextRam) return LongText();
    if (m_Flags & kTextShort) return reinterpret_cast<const char*>(m_Data);
    return nullptr;
}

int CDataValue::IsEqual(const char* s) const {
    if (s == nullptr || !IsFilled() || !IsText()) return 0;
    const char* text = nullptr;
    int len = 0;
    TextView(&text, &len);
    for (int i = 0; i < len; ++i) {
        if (s[i] == '\0' || std::toupper(static_cast<unsigned char>(s[i])) !=
                                std::toupper(static_cast<unsigned char>(text[i]))) {
            return 0;
        }
    }
    return s[len] == '\0' ? 1 : 0;
}

int CDataValue::Compare(const CDataValue* other) const {
    if (!IsFilled()) return 0;
    if (other == nullptr) return 99;
    if (m_Flags & kInt64) {
        int64_t a = 0;
        int64_t b = 0;
        GetInt64Val(&a);
        other->GetInt64Val(&b);
        return a < b ? -1 : a > b ? 1 : 0;
    }
    if (IsFloat()) {
        const float a = GetFloatVal();
        const float b = other->GetFloatVal();
        return a < b ? -1 : a > b ? 1 : 0;
    }
    if (m_Flags & kDate) {
        const CZAMDateTimePlain mine = PlainDate();
        if (!other->IsFilled() || !other->IsDate()) return mine.Compare(nullptr, 6);
        const CZAMDateTimePlain theirs = other->PlainDate();
        return mine.Compare(&theirs, 6);
    }
    if (IsText()) {
        CTxt a;
        CTxt b;
        GetValTxt(a);
        other->GetValTxt(b);
        const char* p = a;
        const char* q = b;
        for (;; ++p, ++q) {
            const int d = LowerByte(*p) - LowerByte(*q);
            if (d != 0 || *p == '\0') return d;
        }
    }
    int a = 0;
    int b = 0;
    GetIntVal(&a);
    other->GetIntVal(&b);
    return a < b ? -1 : a > b ? 1 : 0;
}

int CDataValue::GetValTxt(CTxt& out) const {
    out.MakeEmpty();
    if (!IsFilled()) return 0;
    char buf[160];
    if (m_Flags & kTextShort) {
        out.ReadFromRam(m_Data, ShortLen());
    } else if (m_Flags & kTextRam) {
        out.Format("%-*.*s", m_Len, m_Len, LongText());
    } else if (m_Flags & kInt) {
        out.Format("%u", static_cast<unsigned>(PayloadInt(0)));
    } else if (m_Flags & kFloatRange) {
        char lo[72];
        char hi[72];
        FloatText(PayloadFloat(0), lo, sizeof lo);
        FloatText(PayloadFloat(4), hi, sizeof hi);
        out.Format("%c%s%c%s", '~', lo, '~', hi);
    } else if (m_Flags & kIntRange) {
        out.Format("%c%d%c%d", '~', PayloadInt(0), '~', PayloadInt(4));
    } else if (m_Flags & kDate) {
        CZAMDateTime dt;
        std::memcpy(&dt, m_Data, sizeof dt);
        dt.GetTxt(out, 9);
    } else if (static_cast<uint32_t>(PayloadInt(0)) == kMarkerBits) {
        out = "Empty";
    } else if (m_Flags & kPtr) {
        out = zam::PointerText(GetValPtr()).c_str();
    } else {
        FloatText(PayloadFloat(0), buf, sizeof buf);
        out = buf;
    }
    return out.GetLength();
}

int CDataValue::GetValTxt(std::string& out) const {
    CTxt text;
    GetValTxt(text);
    out.assign(text, static_cast<size_t>(text.GetLength()));
    return text.GetLength();
}
