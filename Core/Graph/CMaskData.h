#pragma once
// One position of an edit mask: what it accepts and the character it shows.
// Window-free, so the mask logic builds and is tested without a display.

#include "Core/Platform/Object.h"

class CMaskData : public CObject {
public:
    /// Position kinds, numbered as stored masks number them.
    enum Kind {
        KindDecimal = 0,    ///< '.': the decimal separator
        KindThousands = 1,  ///< ',': the thousands separator
        KindTime = 2,       ///< ':': the time separator
        KindDate = 3,       ///< '/': the date separator
        KindDigit = 4,      ///< '0': a digit
        KindDigitBlank = 5, ///< '#': a digit or a space
        KindAlnum = 6,      ///< 'A': a letter or digit
        KindAlpha = 7,      ///< '?': a letter
        KindUpper = 8,      ///< '>': a letter, stored upper-cased
        KindLower = 9,      ///< '<': a letter, stored lower-cased
        KindPrintable = 10, ///< 'C': any character from 32 up to 126
        KindEscaped = 11,   ///< backslash + character: that character
        KindLiteral = 12,   ///< any other character: itself
    };

    CMaskData() = default;

    static const CRuntimeClass classCMaskData;
    const CRuntimeClass* GetRuntimeClass() const override;
    /// Dynamic creation: a new position of kind 12 (the caller owns it).
    static CObject* CreateObject();

    /// The kind of a mask character that is not escaped (12 for a literal).
    static int KindOf(char maskChar);

    /// The mask character of an input or separator kind; 0 for the literal kinds.
    static char MaskCharOf(int kind);

    /// True for the kinds that take input (4 to 10).
    bool IsInput() const { return m_Kind >= KindDigit && m_Kind <= KindPrintable; }

    /// True when c may be typed here; stored receives c as it is kept
    /// (upper- or lower-cased for kinds 8 and 9). Literals accept nothing.
    bool Accepts(char c, char& stored) const;

    int m_Kind = KindLiteral;  ///< one of Kind
    char m_Char = '\0';        ///< the literal, the prompt symbol or the input typed
};
