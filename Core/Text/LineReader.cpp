// The process-wide buffered line reader over a file or a caller's memory
// block. One source at a time, used from the user-interface thread only.

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Core/Text/RuntimeConv.h"
#include "Core/Text/TextFunc.h"

namespace {

const int kDefaultCapacity = 300000;
const int kMinCapacity = 1010;
const char kEndOfText = 0x1A;

struct LineReader {
    char* Buffer = nullptr;
    bool OwnsBuffer = false;  // false for a caller's memory block
    int Capacity = 0;
    int Filled = 0;
    int Position = 0;
    int Offset = 0;
    int Total = 0;
    int Consumed = 0;
    FILE* File = nullptr;
    char Name[1001] = "";
};

LineReader g_reader;

// The first LF, CR, NUL or end-of-text byte in [from, end), or end. memchr
// scans many bytes at a time, which a byte loop cannot.
const char* FirstSpecial(const char* from, const char* end) {
    const void* lf = std::memchr(from, '\n', static_cast<size_t>(end - from));
    const char* bound = lf != nullptr ? static_cast<const char*>(lf) : end;
    for (const char special : {'\r', '\0', kEndOfText}) {
        const void* hit = std::memchr(from, special, static_cast<size_t>(bound - from));
        if (hit != nullptr) bound = static_cast<const char*>(hit);
    }
    return bound;
}

void ReleaseOwnBuffer() {
    if (g_reader.OwnsBuffer) std::free(g_reader.Buffer);
    g_reader.Buffer = nullptr;
    g_reader.OwnsBuffer = false;
    g_reader.Capacity = 0;
}

// Allocates the reader's own buffer; fileSize is the fallback when the
// configured size cannot be had. False without memory.
bool AllocateBuffer(int fileSize) {
    // A caller's block left behind without bufreset is forgotten, never freed or refilled.
    if (!g_reader.OwnsBuffer) {
        g_reader.Buffer = nullptr;
        g_reader.Capacity = 0;
    }
    if (g_reader.Buffer != nullptr) return true;
    int capacity = kDefaultCapacity;
    if (const char* tuned = std::getenv("BGETLRAM")) {
        capacity = zam::RuntimeAtoi(tuned);
        if (capacity < kMinCapacity) capacity = kMinCapacity;
    }
    char* buffer = static_cast<char*>(std::malloc(static_cast<size_t>(capacity)));
    if (buffer == nullptr && fileSize > 0) {
        capacity = fileSize;
        buffer = static_cast<char*>(std::malloc(static_cast<size_t>(capacity)));
    }
    if (buffer == nullptr) return false;
    g_reader.Buffer = buffer;
    g_reader.OwnsBuffer = true;
    g_reader.Capacity = capacity;
    return true;
}

void CloseFile() {
    if (g_reader.File != nullptr) std::fclose(g_reader.File);
    g_reader.File = nullptr;
}

}  // namespace

int bufopen(const char* path) {
    CloseFile();  // a source left open by a caller that never reached the end
    const int size = path != nullptr && path[0] != '\0' ? filesize(path) : 0;
    if (!AllocateBuffer(size)) return -2;
    if (path == nullptr || path[0] == '\0') return 0;
    g_reader.File = std::fopen(path, "rb");
    if (g_reader.File == nullptr) return 0;
    std::rewind(g_reader.File);
    std::snprintf(g_reader.Name, sizeof g_reader.Name, "%s", path);
    g_reader.Total = filesize(path);
    g_reader.Filled = fdread(fileno(g_reader.File), g_reader.Buffer, g_reader.Capacity);
    g_reader.Consumed = g_reader.Filled;
    g_reader.Offset = 0;
    g_reader.Position = 0;
    return 1;
}

int buffill() {
    if (g_reader.Buffer == nullptr && !AllocateBuffer(0)) return 1;
    if (g_reader.File == nullptr) return 1;
    g_reader.Offset += g_reader.Filled;
    g_reader.Filled = fdread(fileno(g_reader.File), g_reader.Buffer, g_reader.Capacity);
    g_reader.Consumed += g_reader.Filled;
    g_reader.Position = 0;
    return g_reader.Filled <= 0 ? 1 : 0;
}

int bufgetline(char* buf, unsigned size) {
    if (buf == nullptr || size == 0) return -1;
    if (g_reader.Position < 0 || g_reader.Buffer == nullptr) return -1;
    if (g_reader.Position >= g_reader.Filled && g_reader.Consumed >= g_reader.Total) return -1;
    unsigned stored = 0;
    bool endOfText = false;
    for (;;) {
        if (g_reader.Position >= g_reader.Filled && buffill() == 1) break;
        // Copy the run of ordinary bytes in one go; only the line ends and CR
        // need a closer look.
        const char* start = g_reader.Buffer + g_reader.Position;
        const char* end = g_reader.Buffer + g_reader.Filled;
        const char* p = FirstSpecial(start, end);
        const unsigned run = static_cast<unsigned>(p - start);
        const unsigned room = size - 1 - stored;
        std::memcpy(buf + stored, start, run < room ? run : room);
        stored += run < room ? run : room;
        g_reader.Position += static_cast<int>(run);
        if (p == end) continue;
        const char c = *p;
        ++g_reader.Position;
        if (c == '\r') continue;
        if (c == kEndOfText) endOfText = true;
        break;
    }
    buf[stored] = '\0';
    if (stored == 0 && endOfText) return -1;
    return static_cast<int>(stored);
}

void bufclose() {
    CloseFile();
    ReleaseOwnBuffer();
    g_reader.Filled = g_reader.Position = g_reader.Offset = 0;
    g_reader.Total = g_reader.Consumed = 0;
}

int bufsetmem(char* block, int size) {
    if (block == nullptr) return -1;
    if (size <= 0) return -2;
    CloseFile();
    ReleaseOwnBuffer();
    g_reader.Buffer = block;
    g_reader.OwnsBuffer = false;
    g_reader.Capacity = g_reader.Filled = g_reader.Total = g_reader.Consumed = size;
    g_reader.Offset = g_reader.Position = 0;
    return 0;
}

void bufreset() {
    if (g_reader.OwnsBuffer) {
        // Forgetting an own buffer would lose it; keep it for the next source.
        g_reader.Filled = g_reader.Position = g_reader.Offset = 0;
        g_reader.Total = g_reader.Consumed = 0;
        return;
    }
    g_reader.Buffer = nullptr;
    g_reader.Capacity = g_reader.Filled = g_reader.Position = g_reader.Offset = 0;
    g_reader.Total = g_reader.Consumed = 0;
}
