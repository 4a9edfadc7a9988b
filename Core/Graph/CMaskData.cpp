#include "Core/Graph/CMaskData.h"

namespace {

// The runtime's character classes in the "C" locale: plain ASCII, whatever
// locale the desktop runs in, so a mask accepts the same on every machine.
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

const char kMaskChars[] = ".,:/0#A?><C";

}  // namespace

const CRuntimeClass CMaskData::classCMaskData = {
    "CMaskData", static_cast<int>(sizeof(CMaskData)), 0xFFFF, &CMaskData::CreateObject,
    RUNTIME_CLASS(CObject)};

const CRuntimeClass* CMaskData::GetRuntimeClass() const { return RUNTIME_CLASS(CMaskData); }

CObject* CMaskData::CreateObject() { return new CMaskData; }

int CMaskData::KindOf(char maskChar) {
    for (int kind = 0; kMaskChars[kind] != '\0'; ++kind) {
        if (kMaskChars[kind] == maskChar) return kind;
    }
    return KindLiteral;
}

char CMaskData::MaskCharOf(int kind) {
    return kind >= KindDecimal && kind <= KindPrintable ? kMaskChars[kind] : '\0';
}

bool CMaskData::Accepts(char c, char& stored) const {
    stored = c;
    switch (m_Kind) {
    case KindDigit: return IsDigit(c);
    case KindDigitBlank: return IsDigit(c) || c == ' ';
    case KindAlnum: return IsDigit(c) || IsAlpha(c);
    case KindAlpha: return IsAlpha(c);
    case KindUpper:
        if (!IsAlpha(c)) return false;
        if (c >= 'a') stored = static_cast<char>(c - 'a' + 'A');
        return true;
    case KindLower:
        if (!IsAlpha(c)) return false;
        if (c <= 'Z') stored = static_cast<char>(c - 'A' + 'a');
        return true;
    case KindPrintable: return c >= 32 && c <= 126;
    default: return false;
    }
}
