// CTxt: whole files, length-prefixed records, numbered file names and the
// hex dump.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "Core/Text/CTxt.h"

namespace {

// A record count beyond this is damage, not data: refusing it keeps a broken
// file from making us allocate gigabytes.
const int64_t kMaxRecordCount = 64LL * 1024 * 1024;

bool ReadExactly(FILE* f, void* buf, size_t n) { return std::fread(buf, 1, n, f) == n; }

uint32_t LittleEndian32(const unsigned char* b) {
    return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
           static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
}

// Bytes left between f's position and its end; -1 when it cannot be told (a pipe).
int64_t BytesLeft(FILE* f) {
    struct stat st{};
    const long at = std::ftell(f);
    if (at < 0 || fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return static_cast<int64_t>(st.st_size) - at;
}

}  // namespace

int CTxt::LoadFromFile(const char* path) {
    const char* name = path != nullptr ? path : "";
    // A named pipe would hold the open until some writer came along, and a
    // device might never end: only regular files are read, asked before the
    // open and again on the open descriptor, which cannot wait.
    struct stat st{};
    const char* refusal = nullptr;
    int error = 0;
    if (stat(name, &st) != 0) {
        error = errno;
    } else if (S_ISDIR(st.st_mode)) {
        error = EISDIR;
    } else if (!S_ISREG(st.st_mode)) {
        refusal = "Not a regular file";
    }
    const int fd = error == 0 && refusal == nullptr ? open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC) : -1;
    if (fd < 0 && error == 0 && refusal == nullptr) error = errno;
    FILE* f = nullptr;
    if (fd >= 0) {
        if (fstat(fd, &st) != 0) {
            error = errno;
        } else if (S_ISDIR(st.st_mode)) {
            error = EISDIR;
        } else if (!S_ISREG(st.st_mode)) {
            refusal = "Not a regular file";
        } else if (st.st_size > static_cast<off_t>(INT_MAX - 16)) {
            error = EFBIG;
        } else {
            f = fdopen(fd, "rb");
            if (f == nullptr) error = errno;
        }
        if (f == nullptr) close(fd);
    }
    if (f == nullptr) {
        Format("Cannot open '%s' (%s)", name, refusal != nullptr ? refusal : std::strerror(error));
        return -1;
    }
    ReleaseBuffer();
    std::vector<char> content(static_cast<size_t>(st.st_size));
    const size_t got = content.empty() ? 0 : std::fread(content.data(), 1, content.size(), f);
    std::fclose(f);
    AssignN(content.data(), static_cast<int>(got));
    return m_length;
}

namespace {

// The runtime's "c" mode flag (commit on flush) becomes an fsync here.
int SaveText(CTxt& text, const char* path, int append, bool commit) {
    const char* name = path != nullptr ? path : "";
    FILE* f = std::fopen(name, append == 1 ? "ab" : "wb");
    if (f == nullptr) {
        text.Format("Cannot open '%s' (%s)", name, std::strerror(errno));
        return -1;
    }
    const int length = text.GetLength();
    const char* data = text.GetData();
    bool ok = length == 0 || std::fwrite(data, 1, static_cast<size_t>(length), f) ==
                                 static_cast<size_t>(length);
    ok = std::fflush(f) == 0 && ok;
    if (commit && ok) ok = fsync(fileno(f)) == 0;
    const int error = errno;
    ok = std::fclose(f) == 0 && ok;
    if (!ok) {
        // A full disk must not pass for a saved file.
        text.Format("Cannot write '%s' (%s)", name, std::strerror(error));
        return -1;
    }
    return length;
}

}  // namespace

int CTxt::SaveToFile(const char* path, int append) {
    if (path == nullptr || path[0] == '\0') {
        SetTxt("Missing filename");
        return -1;
    }
    return SaveText(*this, path, append, false);
}

int CTxt::SaveToFileCommit(const char* path, int append) {
    return SaveText(*this, path, append, true);
}

int CTxt::GetNextFile(const char* pattern) {
    const char* p = pattern != nullptr ? pattern : "";
    const char* start = std::strstr(p, "%%");
    if (start == nullptr) {
        Format("Missing Sequence Placeholder (%%) in: %s", p);
        return -1;
    }
    const char* end = start;
    while (*end == '%') ++end;
    const std::string prefix(p, static_cast<size_t>(start - p));
    const std::string suffix(end);
    const int digits = static_cast<int>(end - start);
    for (int n = 1; n < INT_MAX; ++n) {
        Format("%s%0*d%s", prefix.c_str(), digits, n, suffix.c_str());
        if (access(m_data, F_OK) != 0) return n;
    }
    return -1;
}

int CTxt::BinarySave(FILE* f) const {
    if (f == nullptr) return -1;
    const uint32_t n = static_cast<uint32_t>(m_length) + 1;
    const unsigned char count[4] = {static_cast<unsigned char>(n), static_cast<unsigned char>(n >> 8),
                                    static_cast<unsigned char>(n >> 16),
                                    static_cast<unsigned char>(n >> 24)};
    if (std::fwrite(count, 1, 4, f) != 4) return -1;
    const char zero = '\0';
    const char* data = m_data != nullptr ? m_data : &zero;  // a text without buffer: the zero alone
    if (std::fwrite(data, 1, n, f) != n) return -2;
    return static_cast<int>(n) + 4;
}

int CTxt::BinaryRead(FILE* f) {
    ReleaseBuffer();
    unsigned char count[4];
    if (f == nullptr || !ReadExactly(f, count, 4)) return -1;
    const int64_t n = static_cast<int32_t>(LittleEndian32(count));
    const int64_t left = BytesLeft(f);
    if (n < 1 || n > kMaxRecordCount || (left >= 0 && n > left)) return -1;
    std::vector<char> bytes(static_cast<size_t>(n));
    if (!ReadExactly(f, bytes.data(), bytes.size())) return -1;
    // The record's last byte is its terminator; the length counts what comes before.
    AssignN(bytes.data(), static_cast<int>(n - 1));
    return 0;
}

int CTxt::BinaryRead(const unsigned char* mem) {
    return BinaryRead(mem, static_cast<int>(kMaxRecordCount + 4));
}

int CTxt::BinaryRead(const unsigned char* mem, int available) {
    ReleaseBuffer();
    if (mem == nullptr || available < 4) return -1;
    const int64_t n = static_cast<int32_t>(LittleEndian32(mem));
    if (n < 1 || n > kMaxRecordCount || n > static_cast<int64_t>(available) - 4) return -1;
    AssignN(reinterpret_cast<const char*>(mem + 4), static_cast<int>(n - 1));
    return static_cast<int>(n) + 4;
}

namespace {

void AppendF(std::string& out, const char* fmt, ...) __attribute__((format(printf, 2, 3)));

void AppendF(std::string& out, const char* fmt, ...) {
    char line[256];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(line, sizeof line, fmt, args);
    va_end(args);
    out += line;
}

}  // namespace

int CTxt::PrintFile(const char* path, int width, int withPos) {
    const char* name = path != nullptr ? path : "";
    if (width != 2 && width != 4) width = 1;
    const int size = [&] {
        struct stat st{};
        return stat(name, &st) == 0 && S_ISREG(st.st_mode)
                   ? static_cast<int>(st.st_size > INT_MAX ? INT_MAX : st.st_size)
                   : -1;
    }();
    if (size <= 0) {
        Format("Empty or missing file %s (%d)", name, size);
        return -1;
    }
    CTxt content;
    if (content.LoadFromFile(name) < 0) {
        Format("Cannot open file %s (%s)", name, std::strerror(errno));
        return -2;
    }
    if (content.GetLength() != size) {
        Format("Read error in workspace file %s", name);
        return -3;
    }
    CTxt outName(name);
    outName.MakeFileExt("txt");
    char widthText[4];
    std::snprintf(widthText, sizeof widthText, "%d", width);
    outName.AddToFn(widthText, 1);

    std::string out;
    AppendF(out, "FILE:\t%s\r\n", name);
    AppendF(out, "\r\nLENGTH=%d:\r\n", width);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(content.GetData());
    const int decimalWidth = width == 1 ? 3 : width == 2 ? 6 : 12;
    CTxt hex;
    for (int offset = 0; offset < size; offset += width) {
        if (offset % 1000 == 0) AppendF(out, "POS%d:\r\n", offset);
        // A last item cut short by the end of the file counts its missing bytes as zero.
        const int have = size - offset < width ? size - offset : width;
        uint32_t v = 0;
        for (int b = 0; b < have; ++b) v |= static_cast<uint32_t>(bytes[offset + b]) << (8 * b);
        if (withPos == 1) AppendF(out, "[%9d]: ", offset);
        hex.MakeHexValue(static_cast<int>(v), 2 * width);
        AppendF(out, "%s - %*u - ", static_cast<const char*>(hex), decimalWidth, v);
        for (int b = 0; b < have; ++b) {
            const unsigned char c = bytes[offset + b];
            out += c >= 32 && c <= 126 ? static_cast<char>(c) : '?';
        }
        out += "\r\n";
    }
    CTxt dump;
    dump.AssignN(out.data(), static_cast<int>(out.size()));
    if (dump.SaveToFile(outName, 0) < 0) {
        Format("Cannot open file %s (%s)", static_cast<const char*>(outName), std::strerror(errno));
        return -2;
    }
    return 0;
}
