#pragma once
// Little-endian numbers in template blocks and archives, whatever the
// machine's own byte order, and a cursor that reads an archive without ever
// taking more than it holds.

#include <cstddef>
#include <cstdint>

#include "Core/Platform/Object.h"

namespace zam::graph {

inline uint8_t* PutU16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    return p + 2;
}

inline uint8_t* PutU32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
    return p + 4;
}

inline uint16_t GetU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

inline uint32_t GetU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

/// Writes numbers to an archive; remembers whether every byte went out.
class ArchiveWriter {
public:
    explicit ArchiveWriter(CArchive& archive) : m_Archive(archive) {}
    void Bytes(const void* data, UINT count) {
        if (count > 0 && m_Archive.Write(data, count) != count) m_Ok = false;
    }
    void U16(uint16_t v) {
        uint8_t b[2];
        PutU16(b, v);
        Bytes(b, 2);
    }
    void U32(uint32_t v) {
        uint8_t b[4];
        PutU32(b, v);
        Bytes(b, 4);
    }
    bool Ok() const { return m_Ok; }

private:
    CArchive& m_Archive;
    bool m_Ok = true;
};

/// Reads numbers from an archive; every call is false once the archive runs dry.
class ArchiveReader {
public:
    explicit ArchiveReader(CArchive& archive) : m_Archive(archive) {}
    bool Bytes(void* data, UINT count) { return count == 0 || m_Archive.Read(data, count) == count; }
    bool U16(uint16_t& v) {
        uint8_t b[2];
        if (!Bytes(b, 2)) return false;
        v = GetU16(b);
        return true;
    }
    bool I16(int16_t& v) {
        uint16_t u = 0;
        if (!U16(u)) return false;
        v = static_cast<int16_t>(u);
        return true;
    }
    bool U32(uint32_t& v) {
        uint8_t b[4];
        if (!Bytes(b, 4)) return false;
        v = GetU32(b);
        return true;
    }

private:
    CArchive& m_Archive;
};

}  // namespace zam::graph
