#pragma once
// One parameter of the configuration editor: a named value of a declared
// type, kept under a key of a profile section or of the per-user store, with
// its value at load and as entered. The type keywords, the yes/no reading
// and the price-source list live here too, since items and the dialog share
// them.

#include "Core/Text/CTxt.h"
#include "Core/Values/CDataValue.h"

class PlainNode;

/// Type codes of a parameter (0: no type).
enum CfgType : int {
    CFGTYPE_NONE = 0,
    CFGTYPE_INT = 1,
    CFGTYPE_INTNEG = 2,
    CFGTYPE_FLOAT = 3,
    CFGTYPE_TEXT = 4,
    CFGTYPE_BOOL = 5,
    CFGTYPE_PARINT = 6,
    CFGTYPE_PARFLT = 7,
    CFGTYPE_PARTXT = 8,
    CFGTYPE_PARSRC = 9,
    CFGTYPE_DATE = 10,
    CFGTYPE_COLOR = 11,
};

/// Style bits of the value control (the window system's edit-box bits).
enum : unsigned {
    CFGSTYLE_BASE = 0x50030000u,      ///< child, visible, group, tab stop
    CFGSTYLE_UPPER = 0x0008u,
    CFGSTYLE_LOWER = 0x0010u,
    CFGSTYLE_PASSWORD = 0x0020u,
    CFGSTYLE_AUTOHSCROLL = 0x0080u,
    CFGSTYLE_NUMBER = 0x2000u,
};

/// The eight price sources of a ParSrc parameter; entry n - 1 stands for n.
extern const char* const kCfgPriceSources[8];

/// The yes/no reading: "Y", "YES", "TRUE", "ON" (any case) or a positive
/// integer value give 1, anything else 0.
int CfgYesNo(const char* text);

/// The integer after the last "(" of text (the whole text without one).
int CfgParSrcNumber(const char* text);

/// A colour's normal form "%d,%d,%d". Three comma fields that are whole
/// numbers are taken modulo 256 each (300,20,-1 gives 44,20,255); any other
/// text is read as the program reads its colours (ColorTextRead: "0xBBGGRR",
/// a name such as red). 1 with the form in out; 0 for a text nobody can
/// read as a colour, out unchanged (never black in its place).
int CfgColorText(const char* text, CTxt& out);

/// A date's normal form: the text read as a date-time, in text kind 6.
/// 1 with the form in out; 0 for a text that is no valid date (2/30/2026,
/// an empty text), out unchanged.
int CfgDateText(const char* text, CTxt& out);

class CCfgItem {
public:
    CTxt Name;       ///< key of the value, label in the tree
    CTxt Sect;       ///< profile section
    CTxt Reg;        ///< per-user store key; not empty: the value lives there
    CTxt Group;      ///< name of the group element
    CTxt Dflt;       ///< default text as written in the definition
    CTxt ShownText;  ///< value text at load (tree label, Restore)
    CTxt NewText;    ///< value text as last entered and normalised (Apply)
    CDataValue StoredValue;
    CDataValue DefaultValue;
    CDataValue EditedValue;
    int Type = CFGTYPE_NONE;
    int Decimals = 2;   ///< digits after the point, Float
    int Width = 10;     ///< characters of the value control
    unsigned Style = CFGSTYLE_BASE;
    int Changed = 0;    ///< 1 when the entered value differs from the one at load
    int Entered = 0;    ///< 1 once a value was entered: Apply writes nothing before
    CTxt OpenText;      ///< the stored text when the editor opened (Restore puts it back)
    int Updated = 0;    ///< 1 while the editor's last write left a value other than OpenText
    int Modified = 0;   ///< 1 while the stored value differs from Dflt (both in their normal form)
    PlainNode* Node = nullptr;
    void* TreeItem = nullptr;  ///< the view's record of the item in its tree

    /// Reads the "/"-separated type keywords (any case, trimmed) into Type,
    /// Width, Decimals and Style; returns Type (0 without a base keyword).
    int ParseType(const char* typeText);

    /// Whether the value is a secret (the password modifier): shown masked.
    bool IsPassword() const { return (Style & CFGSTYLE_PASSWORD) != 0; }

    /// 2 for a drop-down list (Bool, ParSrc), else 1 for an edit box.
    int CtrlKind() const;

    /// The typed value as entered: StoredValue for Int, IntNeg, Date and Color,
    /// EditedValue for the others (the other one keeps the value at load).
    CDataValue& EnteredValue();
    /// The typed value at load, the other of the pair.
    CDataValue& LoadedValue();
};
