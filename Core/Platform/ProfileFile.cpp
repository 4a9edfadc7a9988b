#include "Core/Platform/ProfileFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace zam::platform {

namespace {

// A new file's line end; an existing file's own line end is kept for the
// lines a write adds, so a file never ends up mixed.
const char* const kNewFileLineEnd = "\r\n";

std::string_view LineEndOf(std::string_view data) {
    const size_t at = data.find_first_of("\r\n");
    if (at == std::string_view::npos) return kNewFileLineEnd;
    if (data[at] == '\n') return "\n";
    return at + 1 < data.size() && data[at + 1] == '\n' ? "\r\n" : "\r";
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimLeft(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    return s.substr(i);
}

std::string_view TrimRight(std::string_view s) {
    size_t n = s.size();
    while (n > 0 && IsBlank(s[n - 1])) --n;
    return s.substr(0, n);
}

std::string_view Trim(std::string_view s) { return TrimRight(TrimLeft(s)); }

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// One pair of matching quotes around a value is markup, not content.
std::string_view Unquote(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

// A line's content is [Begin, End); its line end, if any, is [End, Next).
struct LineRef {
    size_t Begin = 0;
    size_t End = 0;
    size_t Next = 0;
    bool HasLineEnd() const { return Next > End; }
};

class LineCursor {
public:
    explicit LineCursor(std::string_view data) : m_Data(data) {
        // A UTF-8 byte-order mark is not part of the first line.
        if (m_Data.size() >= 3 && m_Data.compare(0, 3, "\xEF\xBB\xBF") == 0) m_Pos = 3;
        m_Start = m_Pos;
    }
    size_t Start() const { return m_Start; }
    bool Next(LineRef& line) {
        if (m_Pos >= m_Data.size()) return false;
        line.Begin = m_Pos;
        size_t end = m_Pos;
        while (end < m_Data.size() && m_Data[end] != '\r' && m_Data[end] != '\n') ++end;
        line.End = end;
        if (end < m_Data.size()) {
            ++end;
            if (m_Data[line.End] == '\r' && end < m_Data.size() && m_Data[end] == '\n') ++end;
        }
        line.Next = end;
        m_Pos = end;
        return true;
    }
    std::string_view Content(const LineRef& line) const {
        return m_Data.substr(line.Begin, line.End - line.Begin);
    }

private:
    std::string_view m_Data;
    size_t m_Pos = 0;
    size_t m_Start = 0;
};

enum class LineKind { Blank, Comment, Header, Key, Other };

struct ParsedLine {
    LineKind Kind = LineKind::Other;
    std::string_view Name;   // section or key, trimmed
    std::string_view Value;  // trimmed, quotes still on
};

ParsedLine Classify(std::string_view content) {
    ParsedLine parsed;
    const std::string_view rest = TrimLeft(content);
    if (rest.empty()) {
        parsed.Kind = LineKind::Blank;
        return parsed;
    }
    if (rest.front() == '[') {
        const size_t close = rest.find(']');
        if (close != std::string_view::npos) {
            parsed.Kind = LineKind::Header;
            parsed.Name = Trim(rest.substr(1, close - 1));
            return parsed;
        }
        // Without ']' it is no header: the section before goes on.
    }
    if (rest.front() == ';') {
        parsed.Kind = LineKind::Comment;
        return parsed;
    }
    const size_t eq = content.find('=');
    if (eq == std::string_view::npos) return parsed;
    parsed.Kind = LineKind::Key;
    parsed.Name = Trim(content.substr(0, eq));
    parsed.Value = Trim(content.substr(eq + 1));
    return parsed;
}

// Reads the whole file. Missing is not an error (the profile is simply
// empty); anything else that stops the read is.
enum class ReadResult { Ok, Missing, Failed };

ReadResult ReadWholeFile(const char* path, std::string& data) {
    data.clear();
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? ReadResult::Missing : ReadResult::Failed;
    struct stat st{};
    if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        close(fd);
        return ReadResult::Failed;
    }
    char chunk[65536];
    for (;;) {
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            close(fd);
            return ReadResult::Failed;
        }
        if (n == 0) break;
        data.append(chunk, static_cast<size_t>(n));
    }
    close(fd);
    return ReadResult::Ok;
}

// Where a section and a key stand in a profile.
struct Location {
    bool SectionFound = false;
    LineRef Header;           // the first matching header (not for the unnamed section)
    bool HeaderIsImplicit = false;
    size_t SectionEnd = 0;    // where the section's lines end (next header or end)
    bool HasLastNonBlank = false;
    LineRef LastNonBlank;     // the section's last non-blank line, header included
    bool KeyFound = false;
    LineRef KeyLine;
    std::string_view KeyName; // the file's own spelling
    std::string_view Value;
};

// Only the first matching section counts, and in it the first matching key.
Location Locate(std::string_view data, std::string_view section, const std::string_view* key) {
    Location loc;
    LineCursor cursor(data);
    bool inSection = section.empty();  // lines before any header form the unnamed section
    if (inSection) {
        loc.SectionFound = true;
        loc.HeaderIsImplicit = true;
        loc.Header.Begin = loc.Header.End = loc.Header.Next = cursor.Start();
    }
    LineRef line;
    while (cursor.Next(line)) {
        const ParsedLine parsed = Classify(cursor.Content(line));
        if (parsed.Kind == LineKind::Header) {
            if (inSection) {
                loc.SectionEnd = line.Begin;
                return loc;
            }
            if (!loc.SectionFound && EqualNoCase(parsed.Name, section)) {
                inSection = true;
                loc.SectionFound = true;
                loc.Header = line;
                loc.HasLastNonBlank = true;
                loc.LastNonBlank = line;
            }
            continue;
        }
        if (!inSection) continue;
        if (key && !loc.KeyFound && parsed.Kind == LineKind::Key && EqualNoCase(parsed.Name, *key)) {
            loc.KeyFound = true;
            loc.KeyLine = line;
            loc.KeyName = parsed.Name;
            loc.Value = parsed.Value;
        }
        if (parsed.Kind != LineKind::Blank) {
            loc.HasLastNonBlank = true;
            loc.LastNonBlank = line;
        }
    }
    loc.SectionEnd = data.size();
    return loc;
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

bool ValidNames(std::string_view section, const char* key, const char* value) {
    if (HasLineBreak(section) || section.find(']') != std::string_view::npos) return false;
    if (key) {
        const std::string_view k = Trim(key);
        if (HasLineBreak(k) || k.find('=') != std::string_view::npos) return false;
        if (!k.empty() && (k.front() == '[' || k.front() == ';')) return false;
    }
    if (value && HasLineBreak(value)) return false;
    return true;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// A profile that is a symbolic link is written through to its target, so the
// link survives the rename.
std::string ResolveTarget(const char* path) {
    struct stat st{};
    if (lstat(path, &st) == 0 && S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (realpath(path, resolved) != nullptr) return resolved;
    }
    return path;
}

bool WriteAll(int fd, const std::string& data) {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// Temporary file beside the target, flushed to disk, then renamed over it:
// a reader sees the old file or the new one, never half of either.
bool ReplaceFileAtomically(const std::string& target, int folderFd, const std::string& data) {
    const std::string folder = FolderOf(target);
    const size_t slash = target.rfind('/');
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temp = folder + "/." + base + ".tmpXXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) return false;
    struct stat st{};
    const mode_t mode = stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    bool ok = WriteAll(fd, data) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (ok) ok = rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        unlink(temp.c_str());
        return false;
    }
    fsync(folderFd);  // the rename itself reaches the disk too
    return true;
}

// Holds an exclusive advisory lock on the profile's folder for its lifetime;
// locking the folder rather than the file keeps the lock valid across the
// rename that replaces the file.
class FolderLock {
public:
    explicit FolderLock(const std::string& folder) {
        m_Fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (m_Fd < 0) return;
        while (flock(m_Fd, LOCK_EX) != 0) {
            if (errno != EINTR) {
                close(m_Fd);
                m_Fd = -1;
                return;
            }
        }
    }
    ~FolderLock() {
        if (m_Fd >= 0) close(m_Fd);  // closing releases the lock
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    bool Locked() const { return m_Fd >= 0; }
    int Fd() const { return m_Fd; }

private:
    int m_Fd = -1;
};

std::string Splice(std::string_view data, size_t from, size_t to, std::string_view with) {
    std::string out;
    out.reserve(data.size() - (to - from) + with.size());
    out.append(data.substr(0, from));
    out.append(with);
    out.append(data.substr(to));
    return out;
}

// Computes the new profile; false when nothing needs to change.
bool EditProfile(std::string_view data, std::string_view section, const char* key,
                 const char* value, std::string& out) {
    if (key == nullptr) {
        const Location loc = Locate(data, section, nullptr);
        if (!loc.SectionFound) return false;
        if (loc.SectionEnd == loc.Header.Begin) return false;
        out = Splice(data, loc.Header.Begin, loc.SectionEnd, "");
        return true;
    }
    const std::string_view k = Trim(key);
    const Location loc = Locate(data, section, &k);
    if (value == nullptr) {
        if (!loc.KeyFound) return false;
        out = Splice(data, loc.KeyLine.Begin, loc.KeyLine.Next, "");
        return true;
    }
    const std::string_view v = TrimLeft(value);
    if (loc.KeyFound) {
        // The value a reader would get decides, not the line's spelling: a
        // hand-edited "k = v" stays as it is when v is written again.
        if (Unquote(loc.Value) == Unquote(TrimRight(v))) return false;
        std::string line(loc.KeyName);
        line.append("=").append(v);
        out = Splice(data, loc.KeyLine.Begin, loc.KeyLine.End, line);
        return true;
    }
    const std::string_view lineEnd = LineEndOf(data);
    std::string entry(k);
    entry.append("=").append(v).append(lineEnd);
    if (loc.SectionFound) {
        size_t at = loc.Header.Begin;  // an empty unnamed section: at the very start
        std::string insert;
        if (loc.HasLastNonBlank) {
            at = loc.LastNonBlank.Next;
            if (!loc.LastNonBlank.HasLineEnd()) insert = lineEnd;
        }
        insert += entry;
        out = Splice(data, at, at, insert);
        return true;
    }
    out.assign(data);
    if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += lineEnd;
    out.append("[").append(section).append("]").append(lineEnd).append(entry);
    return true;
}

}  // namespace

namespace {

// Copies one C string's worth of text, cut to the buffer.
int DeliverText(std::string_view text, char* buf, int size) {
    // A zero byte in a hand-edited file ends the value, as it would for any C string.
    const size_t zero = text.find('\0');
    if (zero != std::string_view::npos) text = text.substr(0, zero);
    const size_t n =
        text.size() < static_cast<size_t>(size - 1) ? text.size() : static_cast<size_t>(size - 1);
    std::memcpy(buf, text.data(), n);
    buf[n] = '\0';
    return static_cast<int>(n);
}

// Copies names, each already followed by NUL, and a final extra NUL; a list
// that does not fit is cut so the buffer still ends in two NULs, and then
// reports size - 2.
int DeliverList(const std::string& names, char* buf, int size) {
    if (names.size() + 1 <= static_cast<size_t>(size)) {
        std::memcpy(buf, names.data(), names.size());
        buf[names.size()] = '\0';
        if (names.empty() && size > 1) buf[1] = '\0';  // an empty list still ends in two NULs
        return static_cast<int>(names.size());
    }
    if (size < 2) {
        buf[0] = '\0';
        return 0;
    }
    std::memcpy(buf, names.data(), static_cast<size_t>(size - 2));
    buf[size - 2] = '\0';
    buf[size - 1] = '\0';
    return size - 2;
}

// The names of the headers (null section) or of the keys of the first
// matching section, each followed by NUL; false when the section is missing.
bool ListNames(std::string_view data, const char* section, std::string& list) {
    LineCursor cursor(data);
    LineRef line;
    const std::string_view wanted = section ? Trim(section) : std::string_view();
    bool inSection = section != nullptr && wanted.empty();
    bool sectionSeen = inSection;
    while (cursor.Next(line)) {
        const ParsedLine parsed = Classify(cursor.Content(line));
        if (parsed.Kind == LineKind::Header) {
            if (section == nullptr) {
                list.append(parsed.Name).push_back('\0');
                continue;
            }
            if (inSection) break;
            if (!sectionSeen && EqualNoCase(parsed.Name, wanted)) inSection = sectionSeen = true;
            continue;
        }
        // Zero bytes would split a name; such a key cannot be asked for anyway.
        if (inSection && parsed.Kind == LineKind::Key && !parsed.Name.empty() &&
            parsed.Name.find('\0') == std::string_view::npos)
            list.append(parsed.Name).push_back('\0');
    }
    return section == nullptr || sectionSeen;
}

}  // namespace

int ProfileReadData(const std::string* data, const char* section, const char* key,
                    const char* def, char* buf, int size) {
    if (buf == nullptr || size <= 0) return 0;
    if (section == nullptr || key == nullptr) {
        std::string list;
        // A missing file lists no sections; a missing or empty section gives the default.
        const bool found = data ? ListNames(*data, section, list) : section == nullptr;
        if (found && (section == nullptr || !list.empty())) return DeliverList(list, buf, size);
    } else if (data != nullptr) {
        const std::string_view k = Trim(key);
        const Location loc = Locate(*data, Trim(section), &k);
        if (loc.KeyFound) return DeliverText(Unquote(loc.Value), buf, size);
    }
    return DeliverText(Unquote(TrimRight(def ? def : "")), buf, size);
}

bool ProfileEditData(const std::string& data, const char* section, const char* key,
                     const char* value, std::string& out) {
    if (section == nullptr) return false;
    const std::string_view sec = Trim(section);
    if (!ValidNames(sec, key, value)) return false;
    return EditProfile(data, sec, key, value, out);
}

int GetPrivateProfileStringA(const char* section, const char* key, const char* def, char* buf,
                             int size, const char* path) {
    if (buf == nullptr || size <= 0) return 0;
    std::string data;
    const bool read = path != nullptr && ReadWholeFile(path, data) == ReadResult::Ok;
    return ProfileReadData(read ? &data : nullptr, section, key, def, buf, size);
}

int ProfileHasSection(const char* section, const char* path) {
    if (section == nullptr || path == nullptr) return 0;
    std::string data;
    if (ReadWholeFile(path, data) != ReadResult::Ok) return 0;
    const std::string_view wanted = Trim(section);
    // The unnamed section is always there; a named one needs its header.
    if (wanted.empty()) return 1;
    return Locate(data, wanted, nullptr).SectionFound ? 1 : 0;
}

int WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                               const char* path) {
    if (section == nullptr || path == nullptr || path[0] == '\0') return 0;
    const std::string_view sec = Trim(section);
    if (!ValidNames(sec, key, value)) return 0;

    const std::string target = ResolveTarget(path);
    FolderLock lock(FolderOf(target));
    if (!lock.Locked()) return 0;  // also a folder that does not exist

    std::string data;
    if (ReadWholeFile(target.c_str(), data) == ReadResult::Failed) return 0;
    std::string edited;
    if (!EditProfile(data, sec, key, value, edited)) return 1;
    return ReplaceFileAtomically(target, lock.Fd(), edited) ? 1 : 0;
}

}  // namespace zam::platform
