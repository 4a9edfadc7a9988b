// CTxtArray: folder listings.

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "Core/Platform/Clock.h"
#include "Core/Platform/FileTimes.h"
#include "Core/System/Log.h"
#include "Core/Text/CTxtArray.h"
#include "Core/Text/RuntimeConv.h"
#include "Core/Text/TextFunc.h"

namespace {

const char* const kDirSource = "LoadFromDir";
const char* const kTreeSource = "LoadFromTree";

// What a folder load looks for: every entry, a wildcard pattern, or files
// with one extension ("!WAV").
struct Filter {
    std::string Wildcard;   // empty: every entry
    std::string Extension;  // empty: any
};

Filter MakeFilter(const char* pattern) {
    Filter filter;
    if (pattern == nullptr || pattern[0] == '\0') return filter;
    if (pattern[0] == '!') {
        filter.Extension = pattern + 1;
    } else {
        filter.Wildcard = pattern;
    }
    return filter;
}

// Names match patterns without regard to case, as they always have.
bool MatchesWildcard(const Filter& filter, const char* name) {
    return filter.Wildcard.empty() || fnmatch(filter.Wildcard.c_str(), name, FNM_CASEFOLD) == 0;
}

bool HasExtension(const std::string& path, const std::string& extension) {
    CTxt text(path.c_str());
    CTxt ext;
    text.GetFileTxt(3, ext);
    return stricmpmode(ext, extension.c_str(), 1) == 0;
}

// Symbolic links to folders are listed but not followed, so a link that
// points back up the tree cannot make the walk endless.
bool IsLink(const std::string& path) {
    struct stat st{};
    return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

// Folder or file, from the directory entry when it says, else from stat
// (which also follows links); false when the entry cannot be examined.
bool ExamineEntry(const dirent* found, const std::string& full, bool& isFolder) {
    if (found->d_type == DT_REG || found->d_type == DT_DIR) {
        isFolder = found->d_type == DT_DIR;
        return true;
    }
    struct stat st{};
    if (stat(full.c_str(), &st) != 0) return false;
    isFolder = S_ISDIR(st.st_mode);
    return true;
}

// The entry's path in the library's form ('/' separators, no trailing '/');
// most paths already are, and are left as they come.
std::string NormalPath(const std::string& full) {
    if (full.find('\\') == std::string::npos && (full.empty() || full.back() != '/')) return full;
    CTxt normal(full.c_str());
    normal.MakeFn();
    return normal.GetData() != nullptr ? normal.GetData() : "";
}

bool FormatTimeEntry(const zam::platform::FileStamp& stamp, const std::string& path,
                     std::string& entry) {
    std::tm local{};
    if (!zam::platform::ToLocalTm(stamp.Seconds, local)) return false;
    char text[64];
    std::snprintf(text, sizeof text, "%04d%02d%02d|%02d%02d%02d.%03d|", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(stamp.Nanoseconds / 1000000));
    entry = text + path;
    return true;
}

}  // namespace

bool CTxtArray::MakeEntry(const std::string& path, std::string& entry) const {
    if (m_EntryStyle == 1 || m_EntryStyle == 2) {
        // A file we may not read is left out, as a listing of readable files should.
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return false;
        close(fd);
        zam::platform::FileTimes times;
        if (zam::platform::GetFileTimes(path.c_str(), times) != 0) return false;
        return FormatTimeEntry(m_EntryStyle == 1 ? times.Creation : times.Modification, path, entry);
    }
    if (m_EntryStyle == 3) {
        char stamp[16];
        std::snprintf(stamp, sizeof stamp, "%09u|", static_cast<unsigned>(filetime(path.c_str())));
        entry = stamp + path;
        return true;
    }
    entry = path;
    return true;
}

int CTxtArray::LoadFromDirNoSort(const char* dir, int desc, int fileOnly, const char* pattern,
                                 int nLev, int trace) {
    return LoadDir(dir, desc, fileOnly, pattern, nLev, trace);
}

int CTxtArray::LoadDir(const char* dir, int desc, int fileOnly, const char* pattern, int nLev,
                       int trace) {
    const char* folder = dir != nullptr ? dir : "";
    const char* shown = pattern != nullptr ? pattern : "";
    if (trace > 0) {
        LogTrace(kDirSource, 1, "Dir=%s, Desc=%d, File=%d, Path=%s, nLev=%d", folder, desc,
                 fileOnly, shown, nLev);
    }
    const Filter filter = MakeFilter(pattern);
    std::string search = std::string(folder) + "/" + (filter.Wildcard.empty() ? "*" : filter.Wildcard);
    DIR* handle = opendir(folder);
    if (trace > 0) {
        LogTrace(kDirSource, 1, "Dir=%s, Desc=%d, File=%d, Path=%s, nLev=%d, hFindFn=%s, File=%s",
                 search.c_str(), desc, fileOnly, shown, nLev,
                 zam::PointerText(handle).c_str(), handle != nullptr ? "" : "(none)");
    }
    if (handle == nullptr) return GetSize();
    while (const dirent* found = readdir(handle)) {
        const char* name = found->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
        if (!MatchesWildcard(filter, name)) continue;
        const std::string full = std::string(folder) + "/" + name;
        if (trace > 1) LogTrace(kDirSource, 1, "Dir=%s, nLev=%d, File=%s", folder, nLev, name);
        bool isFolder = false;
        if (!ExamineEntry(found, full, isFolder)) continue;
        if (isFolder) {
            if (desc == 1 && !IsLink(full)) {
                LoadDir(full.c_str(), desc, fileOnly, pattern, nLev + 1, trace);
            }
            if (fileOnly != 1 && filter.Extension.empty()) Add(full.c_str());
            continue;
        }
        if (!filter.Extension.empty() && !HasExtension(full, filter.Extension)) continue;
        std::string entry;
        if (!MakeEntry(NormalPath(full), entry)) continue;
        if (trace > 0) LogTrace(kDirSource, 1, "Dir=%s, nLev=%d, Found File=%s", folder, nLev, name);
        Add(entry.c_str());
    }
    closedir(handle);
    return GetSize();
}

void CTxtArray::SortListing(const char* dir, int desc, int fileOnly, const char* pattern, int trace) {
    const char* folder = dir != nullptr ? dir : "";
    const char* shown = pattern != nullptr ? pattern : "";
    if (trace > 0) {
        LogTrace(kDirSource, 1, "Dir=%s, Desc=%d, File=%d, Path=%s, nLev=%d, Sort %d Files", folder,
                 desc, fileOnly, shown, 0, GetSize());
    }
    Sort();
    if (trace > 0) {
        LogTrace(kDirSource, 1, "Dir=%s, Desc=%d, File=%d, Path=%s, nLev=%d, Sort %d Files - Completed",
                 folder, desc, fileOnly, shown, 0, GetSize());
    }
}

int CTxtArray::LoadFromDir(const char* dir, int desc, int fileOnly, const char* pattern, int nLev,
                           int trace) {
    LoadDir(dir, desc, fileOnly, pattern, nLev, trace);
    if (nLev == 0) SortListing(dir, desc, fileOnly, pattern, trace);
    return GetSize();
}

int CTxtArray::LoadSortedByTime(int style, const char* dir, int desc, int fileOnly,
                                const char* pattern, int nLev, int trace) {
    m_EntryStyle = style;
    LoadFromDir(dir, desc, fileOnly, pattern, nLev, 0);
    if (nLev == 0) SortListing(dir, desc, fileOnly, pattern, trace);
    return GetSize();
}

int CTxtArray::LoadFromDirSortTime(const char* dir, int desc, int fileOnly, const char* pattern,
                                   int nLev, int trace) {
    return LoadSortedByTime(1, dir, desc, fileOnly, pattern, nLev, trace);
}

int CTxtArray::LoadFromDirSortTimeStyle(int style, const char* dir, int desc, int fileOnly,
                                        const char* pattern, int nLev, int trace) {
    return LoadSortedByTime(style, dir, desc, fileOnly, pattern, nLev, trace);
}

int CTxtArray::LoadFromFilesFromTree(const char* dir, const char* ext, int nLev, int trace,
                                     int recurse) {
    return LoadTree(dir, ext, nLev, trace, recurse);
}

int CTxtArray::LoadTree(const char* dir, const char* ext, int nLev, int trace, int recurse) {
    const char* folder = dir != nullptr ? dir : "";
    const std::string extension = ext != nullptr ? ext : "";
    if (trace > 0) {
        LogTrace(kTreeSource, 1, "Dir=%s, Ext=%s, nLev=%d", folder, extension.c_str(), nLev);
    }
    const std::string search = std::string(folder) + "/*";
    DIR* handle = opendir(folder);
    if (trace > 0) {
        LogTrace(kTreeSource, 1, "Dir=%s, Path=%s, nLev=%d, hFindFn=%s, File=%s", folder,
                 search.c_str(), nLev, zam::PointerText(handle).c_str(),
                 handle != nullptr ? "" : "(none)");
    }
    if (handle == nullptr) return GetSize();
    while (const dirent* found = readdir(handle)) {
        const char* name = found->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
        const std::string full = std::string(folder) + "/" + name;
        if (trace > 1) LogTrace(kTreeSource, 1, "Dir=%s, nLev=%d, File=%s", folder, nLev, name);
        bool isFolder = false;
        if (!ExamineEntry(found, full, isFolder)) continue;
        if (isFolder) {
            if (recurse == 1 && !IsLink(full)) LoadTree(full.c_str(), ext, nLev + 1, trace, recurse);
            continue;
        }
        if (!extension.empty() && !HasExtension(full, extension)) continue;
        std::string entry;
        if (!MakeEntry(NormalPath(full), entry)) continue;
        if (trace > 0) LogTrace(kTreeSource, 1, "Dir=%s, nLev=%d, Found File=%s", folder, nLev, name);
        Add(entry.c_str());
    }
    closedir(handle);
    return GetSize();
}
