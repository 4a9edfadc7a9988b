#include "Core/Config/CCfgItem.h"

#include <strings.h>

#include <cstring>
#include <string>
#include <vector>

#include "Core/System/Profile.h"
#include "Core/Text/RuntimeConv.h"
#include "Core/Text/TextFunc.h"
#include "Core/Time/CZAMDateTime.h"

const char* const kCfgPriceSources[8] = {"Close(1)", "High(2)",     "Low(3)",        "Open(4)",
                                        "Track(5)", "(H+L)/2(6)", "(H+L+C)/3(7)", "(H+L+C+O)/4(8)"};

namespace {

std::string Trimmed(const std::string& s) {
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

bool Is(const std::string& token, const char* keyword) {
    return strcasecmp(token.c_str(), keyword) == 0;
}

const int kMaxDecimals = 40;

struct BaseKeyword {
    const char* Word;
    int Code;
    int Width;  // 0: the width stays
    unsigned Style;
};

const BaseKeyword kBaseKeywords[] = {
    {"Int", CFGTYPE_INT, 0, CFGSTYLE_NUMBER},
    {"IntNeg", CFGTYPE_INTNEG, 0, 0},
    {"Float", CFGTYPE_FLOAT, 0, 0},
    {"Flt", CFGTYPE_FLOAT, 0, 0},
    {"Text", CFGTYPE_TEXT, 20, 0},
    {"Txt", CFGTYPE_TEXT, 20, 0},
    {"Bool", CFGTYPE_BOOL, 4, 0},
    {"ParInt", CFGTYPE_PARINT, 30, CFGSTYLE_AUTOHSCROLL},
    {"ParFlt", CFGTYPE_PARFLT, 30, CFGSTYLE_AUTOHSCROLL},
    {"ParTxt", CFGTYPE_PARTXT, 45, CFGSTYLE_AUTOHSCROLL},
    {"ParSrc", CFGTYPE_PARSRC, 16, 0},
    {"Date", CFGTYPE_DATE, 10, 0},
    {"Color", CFGTYPE_COLOR, 12, 0},
};

// Three comma fields, each blanks, an optional sign and digits: the
// channels modulo 256. Anything else is left to the program's colour reader.
bool SignedChannels(const std::string& text, int channels[3]) {
    size_t at = 0;
    for (int field = 0; field < 3; ++field) {
        const size_t comma = text.find(',', at);
        if ((comma == std::string::npos) != (field == 2)) return false;
        const std::string part = Trimmed(text.substr(at, comma == std::string::npos ? std::string::npos : comma - at));
        size_t i = part.empty() || (part[0] != '-' && part[0] != '+') ? 0 : 1;
        if (i >= part.size()) return false;
        long long value = 0;
        for (; i < part.size(); ++i) {
            if (part[i] < '0' || part[i] > '9') return false;
            value = (value * 10 + (part[i] - '0')) % 256;
        }
        if (part[0] == '-') value = (256 - value) % 256;
        channels[field] = static_cast<int>(value);
        at = comma + 1;
    }
    return true;
}

}  // namespace

int CfgYesNo(const char* text) {
    std::string t = Trimmed(text != nullptr ? text : "");
    for (const char* yes : {"Y", "YES", "TRUE", "ON"}) {
        if (Is(t, yes)) return 1;
    }
    return zam::RuntimeAtoi(t.c_str()) > 0 ? 1 : 0;
}

int CfgParSrcNumber(const char* text) {
    if (text == nullptr) return 0;
    const char* open = std::strrchr(text, '(');
    return zam::RuntimeAtoi(open != nullptr ? open + 1 : text);
}

int CfgColorText(const char* text, CTxt& out) {
    std::string t = Trimmed(text != nullptr ? text : "");
    int channels[3];
    if (SignedChannels(t, channels)) {
        out.Format("%d,%d,%d", channels[0], channels[1], channels[2]);
        return 1;
    }
    COLORREF colour = 0;
    if (ColorTextRead(t.c_str(), colour) == 0) return 0;
    out.Format("%d,%d,%d", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    return 1;
}

int CfgDateText(const char* text, CTxt& out) {
    CZAMDateTime date;
    if (date.SetDTCheck(text != nullptr ? text : "") != 0) return 0;
    date.GetTxt(out, 6);
    return 1;
}

int CCfgItem::ParseType(const char* typeText) {
    std::string rest = typeText != nullptr ? typeText : "";
    std::vector<std::string> tokens;
    for (size_t at = 0;;) {
        const size_t slash = rest.find('/', at);
        tokens.push_back(Trimmed(rest.substr(at, slash == std::string::npos ? std::string::npos
                                                                             : slash - at)));
        if (slash == std::string::npos) break;
        at = slash + 1;
    }
    for (size_t i = 0; i < tokens.size(); ++i) {
        const std::string& token = tokens[i];
        bool base = false;
        for (const BaseKeyword& keyword : kBaseKeywords) {
            if (!Is(token, keyword.Word)) continue;
            base = true;
            Type = keyword.Code;
            if (keyword.Width > 0) Width = keyword.Width;
            Style |= keyword.Style;
            // The token after Float and Text is their number, whatever it says.
            const bool takesNumber = keyword.Code == CFGTYPE_FLOAT || keyword.Code == CFGTYPE_TEXT;
            if (takesNumber && i + 1 < tokens.size() && !tokens[i + 1].empty()) {
                const int number = zam::RuntimeAtoi(tokens[i + 1].c_str());
                if (keyword.Code == CFGTYPE_FLOAT) {
                    // A float has no more digits than this to show; Float/999999999
                    // would otherwise have every entry written a gigabyte long.
                    Decimals = number > kMaxDecimals ? kMaxDecimals : number;
                } else {
                    Width = number;
                }
                ++i;
            }
            break;
        }
        if (base) continue;
        if (Is(token, "Upper")) Style |= CFGSTYLE_NUMBER | CFGSTYLE_UPPER;
        if (Is(token, "Lower")) Style |= 0x4000u | CFGSTYLE_LOWER;
        if (Is(token, "password") || Is(token, "pwd")) Style |= CFGSTYLE_PASSWORD;
        if (Is(token, "Number")) Style |= CFGSTYLE_NUMBER;
    }
    return Type;
}

int CCfgItem::CtrlKind() const { return Type == CFGTYPE_BOOL || Type == CFGTYPE_PARSRC ? 2 : 1; }

CDataValue& CCfgItem::EnteredValue() {
    const bool storedHoldsEntry = Type == CFGTYPE_INT || Type == CFGTYPE_INTNEG ||
                                  Type == CFGTYPE_DATE || Type == CFGTYPE_COLOR;
    return storedHoldsEntry ? StoredValue : EditedValue;
}

CDataValue& CCfgItem::LoadedValue() {
    return &EnteredValue() == &StoredValue ? EditedValue : StoredValue;
}
