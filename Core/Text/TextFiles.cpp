// File facts, line reading and folder creation of the low-level functions.

#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Core/Text/TextFunc.h"

namespace {

const int kMaxPath = 1000;

// The part after the last '/' or '\'.
const char* NamePart(const char* path) {
    const char* name = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == '/' || *p == '\\') name = p + 1;
    }
    return name;
}

bool ReadByte(int fd, char& c) {
    for (;;) {
        const ssize_t n = read(fd, &c, 1);
        if (n == 1) return true;
        if (n < 0 && errno == EINTR) continue;
        return false;
    }
}

// 0 when the folder exists afterwards, -1 otherwise; errno is left at 0.
int MakeFolder(const std::string& folder) {
    int result = 0;
    if (!folder.empty() && mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) result = -1;
    errno = 0;
    return result;
}

}  // namespace

int freadline(char* buf, int size, FILE* f) {
    if (buf == nullptr || size <= 0 || f == nullptr) return -1;
    const int fd = fileno(f);
    int stored = 0;
    char c = 0;
    for (;;) {
        if (!ReadByte(fd, c)) {
            buf[stored] = '\0';
            return -1;
        }
        if (c == '\n') break;
        if (c == '\r') {
            char next = 0;
            if (!ReadByte(fd, next)) {
                buf[stored] = '\0';
                return -1;
            }
            // A CR alone ends the line too; the byte after it belongs to the
            // next line, so step back where the file allows it.
            if (next != '\n') lseek(fd, -1, SEEK_CUR);
            break;
        }
        if (stored < size - 1) buf[stored++] = c;
    }
    buf[stored] = '\0';
    return stored;
}

int filesize(const char* path) {
    if (path == nullptr || path[0] == '\0') return -2;
    struct stat st{};
    if (stat(path, &st) != 0) return -1;
    return st.st_size > INT_MAX ? INT_MAX : static_cast<int>(st.st_size);
}

int fileisregular(const char* path) {
    if (path == nullptr || path[0] == '\0') return -2;
    struct stat st{};
    if (stat(path, &st) != 0) return -1;
    return S_ISREG(st.st_mode) ? 1 : 0;
}

int filetime(const char* path) {
    if (path == nullptr) return -1;
    if (strcasecmp(NamePart(path), "NUL") == 0) return 0;
    struct stat st{};
    if (stat(path, &st) != 0) return -1;
    return static_cast<int>(st.st_mtime);
}

int fdread(int fd, char* buf, int size) {
    if (buf == nullptr || size <= 0) return 0;
    for (;;) {
        const ssize_t n = read(fd, buf, static_cast<size_t>(size));
        if (n >= 0) return static_cast<int>(n);
        if (errno != EINTR) return 0;
    }
}

int mkdirpath(const char* path, int lastIsFile) {
    if (path == nullptr || std::strlen(path) > kMaxPath) return -1;
    std::string copied;
    int result = 0;
    for (size_t i = 0; path[i] != '\0'; ++i) {
        const char c = path[i];
        if (c == '\\' && path[i + 1] == '\\') {
            // A doubled backslash (a network path's start) is kept and creates nothing.
            copied += "\\\\";
            ++i;
            continue;
        }
        if (c == '/' || c == '\\') {
            result = MakeFolder(copied);
            copied += '/';
            continue;
        }
        copied += c;
    }
    if (lastIsFile) return result;
    return MakeFolder(copied);
}

void* zalloc(unsigned size) { return std::calloc(size == 0 ? 1 : size, 1); }
