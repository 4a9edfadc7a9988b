// CTxt: path surgery. Paths are taken apart in one place, the platform's
// splitter, so every part of the library agrees on drive, folder, name and
// extension.

#include <cstring>
#include <string>

#include "Core/Platform/PathSplit.h"
#include "Core/Platform/ProgramPath.h"
#include "Core/Text/CTxt.h"
#include "Core/Text/TextFunc.h"

namespace {

using zam::platform::PathParts;
using zam::platform::SplitPath;

bool EndsWithSeparator(const std::string& s) {
    return !s.empty() && (s.back() == '/' || s.back() == '\\');
}

std::string PathPart(const PathParts& p, int kind) {
    switch (kind) {
    case 0: return p.Drive;
    case 1: return p.Folder;
    case 2: return p.Name;
    case 3: return p.Extension.empty() ? std::string() : p.Extension.substr(1);
    case 4: return p.Drive + p.Folder;
    case 5: return p.Name + p.Extension;
    case 6: return p.Drive + p.Folder + p.Name;
    case 7: return p.Drive + p.Folder + p.Name + p.Extension;
    default: return std::string();
    }
}

// Accepts only formats whose conversions are a %s and then a %d, the two
// arguments AppendFileLocation has; anything else would read past them.
bool IsFileLineFormat(const char* fmt) {
    int conversion = 0;
    for (const char* p = fmt; *p != '\0'; ++p) {
        if (*p != '%') continue;
        ++p;
        if (*p == '%') continue;
        while (*p == '-' || *p == '+' || *p == ' ' || *p == '0' || *p == '#') ++p;
        while (*p >= '0' && *p <= '9') ++p;
        if (*p == '.') {
            ++p;
            while (*p >= '0' && *p <= '9') ++p;
        }
        const char want = conversion == 0 ? 's' : 'd';
        if (conversion >= 2 || (*p != want && !(conversion == 1 && *p == 'i'))) return false;
        ++conversion;
    }
    return true;
}

}  // namespace

int CTxt::GetFileTxt(int kind, CTxt& out) const {
    out.Empty();
    if (IsEmpty()) return 0;
    out.SetTxt(PathPart(SplitPath(m_data), kind).c_str());
    return out.GetLength();
}

void CTxt::MakeFn() {
    if (IsEmpty()) return;
    std::string path;
    for (int i = 0; i < m_length; ++i) {
        const char c = m_data[i];
        if (c == '\\' && i + 1 < m_length && m_data[i + 1] == '\\') {
            path += "\\\\";  // a network path's prefix stays as it is
            ++i;
        } else {
            path += c == '\\' ? '/' : c;
        }
    }
    while (!path.empty() && path.back() == '/') path.pop_back();
    SetTxt(path.c_str());
}

void CTxt::MakeFnDOS() {
    if (IsEmpty()) return;
    std::string path;
    for (int i = 0; i < m_length; ++i) {
        const char c = m_data[i];
        if (c == '\\' && i + 1 < m_length && m_data[i + 1] == '\\') {
            path += "\\\\";
            ++i;
        } else {
            path += c == '/' ? '\\' : c;
        }
    }
    while (!path.empty() && path.back() == '/') path.pop_back();
    while (!path.empty() && path.back() == '\\') path.pop_back();
    SetTxt(path.c_str());
}

int CTxt::MakeFileName(const char* name, const char* ext) {
    const PathParts p = SplitPath(m_data);
    std::string path = p.Drive + p.Folder;
    // A bare file name stays bare rather than moving to the root.
    if (!path.empty() && !EndsWithSeparator(path)) path += '/';
    path += name != nullptr ? name : "";
    if (ext != nullptr) {
        path.append(".").append(ext);
    } else {
        path += p.Extension;
    }
    SetTxt(path.c_str());
    MakeFn();
    return 0;
}

int CTxt::MakeFileExt(const char* ext) {
    const char* wanted = ext != nullptr ? ext : "";
    const PathParts p = SplitPath(m_data);
    if (stricmpmode(PathPart(p, 3).c_str(), wanted, 1) == 0) return 1;
    SetTxt((p.Drive + p.Folder + p.Name + "." + wanted).c_str());
    return 0;
}

int CTxt::AddToFn(const char* s, int dash) {
    const PathParts p = SplitPath(m_data);
    std::string path = p.Drive + p.Folder + p.Name;
    if (dash) path += '-';
    path += s != nullptr ? s : "";
    path += p.Extension;
    SetTxt(path.c_str());
    return m_length;
}

int CTxt::InsertToFn(const char* s, int dash) {
    const PathParts p = SplitPath(m_data);
    std::string path = p.Drive + p.Folder + (s != nullptr ? s : "");
    if (dash) path += '-';
    path += p.Name + p.Extension;
    SetTxt(path.c_str());
    return m_length;
}

int CTxt::IsSameFileTxt(const char* other, int kind) {
    CTxt theirs(other);
    if (kind == 7) {
        MakeFn();
        theirs.MakeFn();
    }
    CTxt a;
    CTxt b;
    GetFileTxt(kind, a);
    theirs.GetFileTxt(kind, b);
    return stricmpmode(a, b, 1) == 0 ? 1 : 0;
}

int CTxt::AppendFileLocation(const char* file, int line, const char* fmt) {
    const char* format = fmt != nullptr && IsFileLineFormat(fmt) ? fmt : "\r\n(File=%s, Line=%d)";
    CTxt location;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    location.Format(format, file != nullptr ? file : "", line);
#pragma GCC diagnostic pop
    AddTxt(location);
    return m_length;
}

void CTxt::GetExeName(CTxt& out, int kind) {
    CTxt path(zam::platform::GetProgramPath().c_str());
    path.MakeFn();
    // A program started from its build folder finds its files in the project folder.
    const int at = strifind(path, "/Release/");
    if (at > 0) path.RemoveRange(at, 8);
    path.GetFileTxt(kind, out);
}

int CTxt::FindStringArray(const std::vector<std::string>& strings, const char* s) {
    for (size_t i = 0; i < strings.size(); ++i) {
        if (stricmpmode(strings[i].c_str(), s, 1) == 0) return static_cast<int>(i);
    }
    return -1;
}
