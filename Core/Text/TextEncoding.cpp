// Telling UTF-8 from the single-byte code page that hand-written files on
// the other desktop usually come in, and converting the latter.

#include <string>

#include "Core/Text/CTxt.h"
#include "Core/Text/TextFunc.h"

namespace {

// 0x80..0x9F of Windows-1252; 0 marks the five bytes the page leaves undefined.
const unsigned short kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void AppendCodePoint(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

namespace {

// Length of the well-formed UTF-8 sequence at p (n bytes left), or 0.
int SequenceLength(const unsigned char* p, int n) {
    const unsigned c = p[0];
    if (c < 0x80) return 1;
    int more;
    unsigned low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        more = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
        more = 2;
        if (c == 0xE0) low = 0xA0;   // overlong
        if (c == 0xED) high = 0x9F;  // surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        more = 3;
        if (c == 0xF0) low = 0x90;   // overlong
        if (c == 0xF4) high = 0x8F;  // beyond U+10FFFF
    } else {
        return 0;
    }
    if (n <= more || p[1] < low || p[1] > high) return 0;
    for (int k = 2; k <= more; ++k) {
        if ((p[k] & 0xC0) != 0x80) return 0;
    }
    return more + 1;
}

}  // namespace

int strisutf8(const char* s, int n) {
    if (s == nullptr || n <= 0) return 1;
    const auto* p = reinterpret_cast<const unsigned char*>(s);
    for (int i = 0; i < n;) {
        const int length = SequenceLength(p + i, n - i);
        if (length == 0) return 0;
        i += length;
    }
    return 1;
}

int txtfromcp1252(CTxt& text) {
    const int n = text.GetLength();
    const char* data = text.GetData();
    if (strisutf8(data, n)) return 0;
    // Sequences that are UTF-8 stay as they are: a file mostly in UTF-8 with
    // a few pasted Windows bytes keeps both readable.
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    std::string out;
    out.reserve(static_cast<size_t>(n) + static_cast<size_t>(n) / 2);
    for (int i = 0; i < n;) {
        const int length = SequenceLength(p + i, n - i);
        if (length > 0) {
            out.append(data + i, static_cast<size_t>(length));
            i += length;
            continue;
        }
        const unsigned c = p[i++];
        unsigned cp = c;
        if (c >= 0x80 && c <= 0x9F) cp = kCp1252High[c - 0x80] != 0 ? kCp1252High[c - 0x80] : 0xFFFD;
        AppendCodePoint(out, cp);
    }
    // Bytes after a NUL were never text to anyone reading this as a string.
    text = out.c_str();
    return 1;
}
