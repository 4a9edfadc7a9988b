#include "Core/System/Profile.h"

#include <cctype>
#include <strings.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "Core/Platform/PathSplit.h"
#include "Core/Platform/ProfileFile.h"
#include "Core/Platform/ProgramPath.h"
#include "Core/Platform/UserDirs.h"
#include "Core/Platform/UserInterface.h"
#include "Core/System/ProfilePaths.h"
#include "Core/Text/CTxt.h"
#include "Core/Text/RuntimeConv.h"
#include "Core/Text/TextFunc.h"

namespace {

const int kStrBufSize = 1000;   // string reads deliver up to 999 characters
const int kTypedBufSize = 100;  // typed reads work on up to 99

// Cuts a case-insensitive ending off text; true when it was there.
bool CutEnding(std::string& text, const char* ending) {
    const size_t n = std::strlen(ending);
    if (text.size() < n || strcasecmp(text.c_str() + text.size() - n, ending) != 0) return false;
    text.resize(text.size() - n);
    return true;
}

int CopyOut(const std::string& text, char* dest, int size) {
    if (dest == nullptr || size <= 0) return static_cast<int>(text.size());
    std::snprintf(dest, static_cast<size_t>(size), "%s", text.c_str());
    return static_cast<int>(std::strlen(dest));
}

const std::string& KeptExeDir() {
    static const std::string dir = zam::ExeDirFromProgramPath(zam::platform::GetProgramPath());
    return dir;
}

// Beside the executable when we may write there; an installed copy keeps its
// profile in the user's configuration folder instead, so nothing set is lost.
std::string ComputeIniPath() {
    std::string folder = KeptExeDir();
    for (char& c : folder) {
        if (c == '\\') c = '/';
    }
    if (!zam::platform::IsWritableFolder(folder.empty() ? "." : folder)) {
        folder = zam::platform::ConfigHome() + "/kronalt";
        mkdirpath(folder.c_str(), 0);
    }
    std::string path = folder + "/" +
                       zam::ProfileNameFromProgramPath(zam::platform::GetProgramPath()) + ".ini";
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

const std::string& KeptIniPath() {
    static const std::string path = ComputeIniPath();
    return path;
}

const char* FileOrIni(const char* file) { return file != nullptr ? file : KeptIniPath().c_str(); }

int Read(const char* section, const char* key, const char* def, char* buf, int size,
         const char* file) {
    return zam::platform::GetPrivateProfileStringA(section, key, def, buf, size, FileOrIni(file));
}

struct NamedColour {
    const char* Name;
    int SystemIndex;  // -1: the fixed colour below
    COLORREF Colour;
};

const NamedColour kColourNames[] = {
    {"MENU", COLOR_MENU, 0},
    {"BORDER", COLOR_ACTIVEBORDER, 0},
    {"TITLE", COLOR_ACTIVECAPTION, 0},
    {"BLACK", -1, RGB(0, 0, 0)},
    {"RED", -1, RGB(255, 0, 0)},
    {"GREEN", -1, RGB(0, 255, 0)},
    {"OLIVE", -1, RGB(0, 178, 0)},
    {"BLUE", -1, RGB(0, 0, 255)},
    {"YELLOW", -1, RGB(255, 255, 0)},
    {"CYAN", -1, RGB(0, 255, 255)},
    {"LIGHTCYAN", -1, RGB(192, 255, 255)},
    {"DARKCYAN", -1, RGB(64, 128, 128)},
    {"MAGENTA", -1, RGB(255, 0, 255)},
    {"DARKMAGENTA", -1, RGB(128, 0, 64)},
    {"WHITE", -1, RGB(255, 255, 255)},
    {"LIGHTGRAY", -1, RGB(230, 230, 230)},
    {"LIGHTGREY", -1, RGB(230, 230, 230)},
    {"GRAY", -1, RGB(192, 192, 192)},
    {"GREY", -1, RGB(192, 192, 192)},
    {"ORANGE", -1, RGB(255, 128, 0)},
    {"BROWN", -1, RGB(128, 128, 0)},
};

bool IsHexChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f') || c == ' ';
}

// Digits summed from last to first; '0', blanks and anything else count 0.
unsigned SumHexDigits(const char* digits, size_t count) {
    unsigned sum = 0;
    unsigned weight = 1;
    for (size_t i = count; i-- > 0;) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(digits[i])));
        unsigned value = 0;
        if (c >= '1' && c <= '9') value = static_cast<unsigned>(c - '0');
        if (c >= 'A' && c <= 'F') value = static_cast<unsigned>(c - 'A' + 10);
        sum += value * weight;
        weight *= 16u;
    }
    return sum;
}

// Blanks around a run of digits and nothing else; the number in value.
bool PlainNumberField(const char* begin, const char* end, int& value) {
    while (begin < end && *begin == ' ') ++begin;
    while (end > begin && end[-1] == ' ') --end;
    if (begin == end || end - begin > 3) return false;
    value = 0;
    for (const char* p = begin; p < end; ++p) {
        if (*p < '0' || *p > '9') return false;
        value = value * 10 + (*p - '0');
    }
    return true;
}

// The forms ColorFromText reads, written out in full; what it would make of
// anything else is a guess.
bool IsWholeColourText(const char* text) {
    if (stricmpmode("0x", text, 2) == 0) {
        size_t digits = 0;
        const char* p = text + 2;
        while (std::isxdigit(static_cast<unsigned char>(*p))) ++p, ++digits;
        while (*p == ' ') ++p;
        return *p == '\0' && digits >= 1 && digits <= 6;
    }
    if (text[0] >= '0' && text[0] <= '9') {
        const char* begin = text;
        for (int field = 1; field <= 3; ++field) {
            const char* end = std::strchr(begin, ',');
            if ((end == nullptr) != (field == 3)) return false;
            if (end == nullptr) end = begin + std::strlen(begin);
            int value = 0;
            if (!PlainNumberField(begin, end, value) || value > 255) return false;
            begin = end + 1;
        }
        return true;
    }
    for (const NamedColour& named : kColourNames) {
        if (stricmpmode(text, named.Name, 1) == 0) return true;
    }
    return false;
}

int ColourComponent(const char* text, int field) {
    const int value = strfldint(text, ',', field);
    return value < 0 || value > 255 ? 0 : value;
}

}  // namespace

namespace zam {

std::string ExeDirFromProgramPath(const std::string& programPath) {
    const platform::PathParts parts = platform::SplitPath(programPath.c_str());
    std::string folder = parts.Folder;
    // Development builds share the profile of the installed program.
    for (const char* build : {"Debug", "Release"}) {
        for (const char* sep : {"\\", "/"}) {
            const std::string ending = std::string(sep) + build + sep;
            if (CutEnding(folder, ending.c_str())) folder += sep;
        }
    }
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return parts.Drive + folder;
}

std::string ProfileNameFromProgramPath(const std::string& programPath) {
    std::string name = platform::SplitPath(programPath.c_str()).Name;
    CutEnding(name, "Debug");
    CutEnding(name, "Release");
    return name;
}

}  // namespace zam

int GetExeDir(char* dest, int size) { return CopyOut(KeptExeDir(), dest, size); }

int GetIniPath(char* dest, int size) { return CopyOut(KeptIniPath(), dest, size); }

int ProfileWriteStr(const char* section, const char* key, const char* value, const char* file) {
    return zam::platform::WritePrivateProfileStringA(section, key, value, FileOrIni(file));
}

int ProfileReadStr(const char* section, const char* key, const char* def, CTxt& dest,
                   const char* file) {
    char buf[kStrBufSize];
    const int n = Read(section, key, def, buf, sizeof buf, file);
    dest.SetTxt(buf);
    return n;
}

int ProfileReadStr(const char* section, const char* key, const char* def, std::string& dest,
                   const char* file) {
    char buf[kStrBufSize];
    const int n = Read(section, key, def, buf, sizeof buf, file);
    dest = buf;
    return n;
}

int ProfileReadStr(const char* section, const char* key, const char* def, char* buf, int size,
                   const char* file) {
    return Read(section, key, def, buf, size, file);
}

int ProfileReadBool(const char* section, const char* key, int def, const char* file) {
    char v[kTypedBufSize];
    const int n = Read(section, key, "", v, sizeof v, file);
    Read(section, key, def ? "YES" : "NO", v, sizeof v, file);
    const int result = stricmpmode(v, "YES", 1) == 0 || stricmpmode(v, "TRUE", 1) == 0 ? 1 : 0;
    const char* normal = result ? "YES" : "NO";
    if (stricmpmode(normal, v, 1) != 0 || n == 0) ProfileWriteStr(section, key, normal, file);
    return result;
}

int ProfileReadInt(const char* section, const char* key, int def, const char* file) {
    char v[kTypedBufSize];
    const int n = Read(section, key, "", v, sizeof v, file);
    char defText[32] = "";
    if (n == 0) std::snprintf(defText, sizeof defText, "%d", def);
    Read(section, key, defText, v, sizeof v, file);
    const int value = zam::RuntimeAtoi(v);
    char normal[32];
    std::snprintf(normal, sizeof normal, "%d", value);
    if (stricmpmode(normal, v, 1) != 0 || n == 0) ProfileWriteStr(section, key, normal, file);
    return value;
}

void ProfileWriteInt(const char* section, const char* key, int value, const char* file) {
    char text[32];
    std::snprintf(text, sizeof text, "%d", value);
    ProfileWriteStr(section, key, text, file);
}

float ProfileReadFloat(const char* section, const char* key, float def, const char* file) {
    char v[kTypedBufSize];
    const int n = Read(section, key, "", v, sizeof v, file);
    char defText[kTypedBufSize] = "";
    if (n == 0) std::snprintf(defText, sizeof defText, "%.4f", static_cast<double>(def));
    Read(section, key, defText, v, sizeof v, file);
    const float value = static_cast<float>(zam::RuntimeAtof(v));
    char normal[kTypedBufSize];
    std::snprintf(normal, sizeof normal, "%.4f", static_cast<double>(value));
    if (stricmpmode(normal, v, 1) != 0 || n == 0) ProfileWriteStr(section, key, normal, file);
    return value;
}

COLORREF ProfileReadColor(const char* section, const char* key, const char* def,
                          const char* file) {
    char text[kTypedBufSize];
    const int n = Read(section, key, def, text, sizeof text, file);
    if (n == 0) std::snprintf(text, sizeof text, "%s", def != nullptr ? def : "");
    const COLORREF colour = ColorFromText(text);
    char normal[32];
    std::snprintf(normal, sizeof normal, "%d,%d,%d", GetRValue(colour), GetGValue(colour),
                  GetBValue(colour));
    if (stricmpmode(normal, text, 1) != 0 || n == 0) ProfileWriteStr(section, key, normal, file);
    return colour;
}

int ProfileWriteColor(const char* section, const char* key, COLORREF value, const char* file) {
    char text[32];
    std::snprintf(text, sizeof text, "%d,%d,%d", GetRValue(value), GetGValue(value),
                  GetBValue(value));
    return ProfileWriteStr(section, key, text, file);
}

COLORREF ColorFromText(const char* text) {
    if (text == nullptr) return 0;
    if (stricmpmode(text, "0x", 0) == 0) {
        // "0" alone, or an empty text, agrees with the prefix too: black.
        return std::strlen(text) < 2 ? 0 : HexToInt(text + 2);
    }
    if (text[0] >= '0' && text[0] <= '9') {
        return RGB(ColourComponent(text, 1), ColourComponent(text, 2), ColourComponent(text, 3));
    }
    for (const NamedColour& named : kColourNames) {
        if (stricmpmode(text, named.Name, 1) != 0) continue;
        return named.SystemIndex >= 0 ? zam::platform::GetSysColor(named.SystemIndex)
                                      : named.Colour;
    }
    return 0;
}

int ColorTextRead(const char* text, COLORREF& colour) {
    colour = 0;
    if (text == nullptr || !IsWholeColourText(text)) return 0;
    colour = ColorFromText(text);
    return 1;
}

unsigned HexToInt(const char* text) {
    if (text == nullptr) return 0;
    size_t n = 0;
    while (n < 99 && text[n] != '\0' && IsHexChar(text[n])) ++n;
    while (n > 0 && text[n - 1] == ' ') --n;
    return SumHexDigits(text, n);
}

unsigned HexPrefixToInt(const char* text) {
    if (text == nullptr) return 0;
    size_t n = 0;
    while (text[n] != '\0' && IsHexChar(text[n])) ++n;
    return SumHexDigits(text, n);
}

int TextToBool(const char* text) {
    if (text == nullptr) return 0;
    for (const char* yes : {"Y", "YES", "TRUE", "ON"}) {
        if (stricmpmode(text, yes, 1) == 0) return 1;
    }
    return zam::RuntimeAtoi(text) > 0 ? 1 : 0;
}
