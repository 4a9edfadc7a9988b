#pragma once
// Wide scanning for the XML scan: finds the first of a few stop characters
// sixteen or thirty-two bytes at a time, so the runs between markup
// characters cost a handful of instructions per block instead of a table
// look-up per byte. SSE2 is part of every x86-64 processor; AVX2 is used when
// the processor reports it (Platform/CpuFeatures decides once, and tests
// force each path in turn). Elsewhere the byte loop does the same work, and
// it is the reference every wider path is tested against.
//
// Besides the steps, the wide paths have windows: the thirty-two bytes at
// the start of an attribute or of a run between tags, marked once for the
// questions the scan asks there one after the other (where a name ends,
// where a value or run stops, where the lines end), so that each answer does
// not wait for a load and compare of its own. Each path is a type
// (BytePath, Sse2Path, Avx2Path); the scan is compiled once for each.
//
// No function here reads at or past end: a block is loaded only when all of
// it lies before end, and what is left goes to the next narrower step. The
// result is the first stop in [p, end), or end. A window's caller makes sure
// its thirty-two bytes lie before end.

#include <cstdint>

#include "Core/Platform/CpuFeatures.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define ZAM_XML_AVX2 1
#endif

namespace zam::xml {

/// Newlines passed by a run: how many, and the position after the last one.
struct LinesPassed {
    int Count = 0;
    const char* LastStart = nullptr;  ///< null when Count is 0
};

template <char... Stops>
inline bool IsStop(char c) {
    return ((c == Stops) || ...);
}

/// Letters, digits and "-._:" make names; a tag name may also hold "/?!".
template <bool Tag>
inline bool IsNameByte(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    if ((u | 0x20) >= 'a' && (u | 0x20) <= 'z') return true;
    if (u >= '-' && u <= ':') return Tag || u != '/';
    return u == '_' || (Tag && (u == '?' || u == '!'));
}

inline bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

/// Counts the newline bits of a mask of sixteen bytes at p.
inline void CountNewlines(unsigned newlines, const char* p, LinesPassed& lines) {
    if (newlines == 0) return;
    lines.LastStart = p + (32 - __builtin_clz(newlines));
    // Few per block, and no population count instruction can be assumed.
    for (; newlines != 0; newlines &= newlines - 1) ++lines.Count;
}

/// The first of Stops in [p, end), or end; a byte at a time.
template <char... Stops>
inline const char* FindStopPortable(const char* p, const char* end) {
    while (p < end && !IsStop<Stops...>(*p)) ++p;
    return p;
}

/// As FindStopPortable, also counting the newlines before the stop.
template <char... Stops>
inline const char* FindStopCountingPortable(const char* p, const char* end, LinesPassed& lines) {
    for (; p < end && !IsStop<Stops...>(*p); ++p) {
        if (*p == '\n') {
            ++lines.Count;
            lines.LastStart = p + 1;
        }
    }
    return p;
}

/// The first byte in [p, end) that is not a name byte, or end.
template <bool Tag>
inline const char* FindNameEndPortable(const char* p, const char* end) {
    while (p < end && IsNameByte<Tag>(*p)) ++p;
    return p;
}

/// The first byte in [p, end) that is not a blank, with the newlines passed.
inline const char* FindNonBlankPortable(const char* p, const char* end, LinesPassed& lines) {
    for (; p < end && IsBlank(*p); ++p) {
        if (*p == '\n') {
            ++lines.Count;
            lines.LastStart = p + 1;
        }
    }
    return p;
}

#if defined(__SSE2__)

template <char... Stops>
inline unsigned StopMask(__m128i block) {
    __m128i hits = _mm_setzero_si128();
    ((hits = _mm_or_si128(hits, _mm_cmpeq_epi8(block, _mm_set1_epi8(Stops)))), ...);
    return static_cast<unsigned>(_mm_movemask_epi8(hits));
}

template <char... Stops>
inline const char* FindStopWide(const char* p, const char* end) {
    for (; end - p >= 16; p += 16) {
        const unsigned stops = StopMask<Stops...>(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
        if (stops != 0) return p + __builtin_ctz(stops);
    }
    return FindStopPortable<Stops...>(p, end);
}

template <char... Stops>
inline const char* FindStopCountingWide(const char* p, const char* end, LinesPassed& lines) {
    for (; end - p >= 16; p += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const unsigned stops = StopMask<Stops...>(block);
        unsigned newlines = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8('\n'))));
        // Only the newlines before the stop belong to the run.
        if (stops != 0) newlines &= (stops & -stops) - 1u;
        CountNewlines(newlines, p, lines);
        if (stops != 0) return p + __builtin_ctz(stops);
    }
    return FindStopCountingPortable<Stops...>(p, end, lines);
}

// Bytes are signed here, so those above 127 fall below every range.
inline __m128i InRange(__m128i block, char low, char high) {
    return _mm_and_si128(_mm_cmpgt_epi8(block, _mm_set1_epi8(static_cast<char>(low - 1))),
                         _mm_cmplt_epi8(block, _mm_set1_epi8(static_cast<char>(high + 1))));
}

/// The name bytes of a block, one bit each.
template <bool Tag>
inline unsigned NameMask(__m128i block) {
    // A letter in either case is a lower-case letter once bit 5 is set.
    __m128i name = InRange(_mm_or_si128(block, _mm_set1_epi8(0x20)), 'a', 'z');
    // '-' to ':' is "-./0123456789:"; the slash belongs to tag names only.
    __m128i marks = InRange(block, '-', ':');
    if (!Tag) marks = _mm_andnot_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8('/')), marks);
    name = _mm_or_si128(name, marks);
    name = _mm_or_si128(name, _mm_cmpeq_epi8(block, _mm_set1_epi8('_')));
    if (Tag) {
        name = _mm_or_si128(name, _mm_cmpeq_epi8(block, _mm_set1_epi8('?')));
        name = _mm_or_si128(name, _mm_cmpeq_epi8(block, _mm_set1_epi8('!')));
    }
    return static_cast<unsigned>(_mm_movemask_epi8(name));
}

template <bool Tag>
inline const char* FindNameEndWide(const char* p, const char* end) {
    for (; end - p >= 16; p += 16) {
        const unsigned others = ~NameMask<Tag>(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))) & 0xFFFFu;
        if (others != 0) return p + __builtin_ctz(others);
    }
    return FindNameEndPortable<Tag>(p, end);
}

inline const char* FindNonBlankWide(const char* p, const char* end, LinesPassed& lines) {
    for (; end - p >= 16; p += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i newline = _mm_cmpeq_epi8(block, _mm_set1_epi8('\n'));
        __m128i blank = _mm_or_si128(newline, _mm_cmpeq_epi8(block, _mm_set1_epi8(' ')));
        blank = _mm_or_si128(blank, _mm_cmpeq_epi8(block, _mm_set1_epi8('\t')));
        blank = _mm_or_si128(blank, _mm_cmpeq_epi8(block, _mm_set1_epi8('\r')));
        const unsigned others = ~static_cast<unsigned>(_mm_movemask_epi8(blank)) & 0xFFFFu;
        unsigned newlines = static_cast<unsigned>(_mm_movemask_epi8(newline));
        if (others != 0) newlines &= (others & -others) - 1u;
        CountNewlines(newlines, p, lines);
        if (others != 0) return p + __builtin_ctz(others);
    }
    return FindNonBlankPortable(p, end, lines);
}

#endif  // __SSE2__

#if defined(ZAM_XML_AVX2)

// The AVX2 steps are compiled for that instruction set alone and run only
// when the processor has it; each hands its last fewer-than-32 bytes to the
// SSE2 step, so the tail is treated exactly as on the narrower path.
#define ZAM_AVX2 __attribute__((target("avx2")))

// CountNewlines where the processor counts bits itself (every one with
// AVX2 does): no loop whose end a predictor has to guess.
ZAM_AVX2 inline void CountNewlinesAvx2(unsigned newlines, const char* p, LinesPassed& lines) {
    if (newlines == 0) return;
    lines.LastStart = p + (32 - __builtin_clz(newlines));
    lines.Count += __builtin_popcount(newlines);
}

template <char... Stops>
ZAM_AVX2 inline unsigned StopMask32(__m256i block) {
    __m256i hits = _mm256_setzero_si256();
    ((hits = _mm256_or_si256(hits, _mm256_cmpeq_epi8(block, _mm256_set1_epi8(Stops)))), ...);
    return static_cast<unsigned>(_mm256_movemask_epi8(hits));
}

template <char... Stops>
ZAM_AVX2 inline const char* FindStopAvx2(const char* p, const char* end) {
    for (; end - p >= 32; p += 32) {
        const unsigned stops = StopMask32<Stops...>(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)));
        if (stops != 0) return p + __builtin_ctz(stops);
    }
    return FindStopWide<Stops...>(p, end);
}

template <char... Stops>
ZAM_AVX2 inline const char* FindStopCountingAvx2(const char* p, const char* end, LinesPassed& lines) {
    for (; end - p >= 32; p += 32) {
        const __m256i block = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        const unsigned stops = StopMask32<Stops...>(block);
        unsigned newlines =
            static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(block, _mm256_set1_epi8('\n'))));
        if (stops != 0) newlines &= (stops & -stops) - 1u;
        CountNewlinesAvx2(newlines, p, lines);
        if (stops != 0) return p + __builtin_ctz(stops);
    }
    return FindStopCountingWide<Stops...>(p, end, lines);
}

// The classes of 32 bytes at once, from two sixteen-entry tables, one
// looked up by each half of a byte: a byte is in a class when both of its
// entries have the class's bit. Bits 0-3 make name bytes (letters and
// digits with ':' 0-3, 0x41-0x4F and 0x61-0x6F, '-' and '.', '_'), bit 7
// adds what only tag names hold ('!', '/', '?'), bits 4-6 are what ends a
// value ('\0' '\n', '"' '&' '\'', '\\'). Bytes above 127 are in none.
// One look serves a name and the value after it, where compares would take
// a dozen steps for the name alone.
enum : char {
    kClassName = 0x0F,
    kClassTagName = static_cast<char>(0x8F),
    kClassValueStop = 0x70,
};

ZAM_AVX2 inline __m256i Classes32(__m256i block) {
#define ZAM_XML_LOW 0x11, static_cast<char>(0x83), 0x23, 0x03, 0x03, 0x03, 0x23, 0x23, \
                    0x03, 0x03, 0x13, 0x02, 0x42, 0x06, 0x06, static_cast<char>(0x8A)
#define ZAM_XML_HIGH 0x10, 0x00, static_cast<char>(0xA4), static_cast<char>(0x81), 0x02, 0x49, 0x02, 0x01, \
                     0, 0, 0, 0, 0, 0, 0, 0
    const __m256i low = _mm256_setr_epi8(ZAM_XML_LOW, ZAM_XML_LOW);
    const __m256i high = _mm256_setr_epi8(ZAM_XML_HIGH, ZAM_XML_HIGH);
#undef ZAM_XML_LOW
#undef ZAM_XML_HIGH
    // A byte with its top bit set looks up zero in the first table.
    const __m256i highHalves = _mm256_and_si256(_mm256_srli_epi16(block, 4), _mm256_set1_epi8(0x0F));
    return _mm256_and_si256(_mm256_shuffle_epi8(low, block), _mm256_shuffle_epi8(high, highHalves));
}

/// The bytes of classes with any of bits, one bit each.
ZAM_AVX2 inline unsigned ClassMask32(__m256i classes, char bits) {
    const __m256i none = _mm256_cmpeq_epi8(_mm256_and_si256(classes, _mm256_set1_epi8(bits)), _mm256_setzero_si256());
    return ~static_cast<unsigned>(_mm256_movemask_epi8(none));
}

template <bool Tag>
ZAM_AVX2 inline unsigned NameMask32(__m256i block) {
    return ClassMask32(Classes32(block), Tag ? kClassTagName : kClassName);
}

template <bool Tag>
ZAM_AVX2 inline const char* FindNameEndAvx2(const char* p, const char* end) {
    for (; end - p >= 32; p += 32) {
        const unsigned others = ~NameMask32<Tag>(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)));
        if (others != 0) return p + __builtin_ctz(others);
    }
    return FindNameEndWide<Tag>(p, end);
}

ZAM_AVX2 inline const char* FindNonBlankAvx2(const char* p, const char* end, LinesPassed& lines) {
    for (; end - p >= 32; p += 32) {
        const __m256i block = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        const __m256i newline = _mm256_cmpeq_epi8(block, _mm256_set1_epi8('\n'));
        __m256i blank = _mm256_or_si256(newline, _mm256_cmpeq_epi8(block, _mm256_set1_epi8(' ')));
        blank = _mm256_or_si256(blank, _mm256_cmpeq_epi8(block, _mm256_set1_epi8('\t')));
        blank = _mm256_or_si256(blank, _mm256_cmpeq_epi8(block, _mm256_set1_epi8('\r')));
        const unsigned others = ~static_cast<unsigned>(_mm256_movemask_epi8(blank));
        unsigned newlines = static_cast<unsigned>(_mm256_movemask_epi8(newline));
        if (others != 0) newlines &= (others & -others) - 1u;
        CountNewlinesAvx2(newlines, p, lines);
        if (others != 0) return p + __builtin_ctz(others);
    }
    return FindNonBlankWide(p, end, lines);
}

#endif  // ZAM_XML_AVX2

/// An attribute as seen in the thirty-two bytes from its first character,
/// one bit a byte: the name bytes, and the bytes a value stops at. Most
/// attributes fit, so their name end, '=', quote and value end come from one
/// look instead of a wide step for each, each waiting for the one before.
struct AttributeMasks {
    unsigned Name;
    unsigned ValueStops;
};

/// A run between tags as seen in the thirty-two bytes from its first
/// character, one bit a byte: its stops, its newlines, and the bytes a tag
/// name holds. Such runs mostly end at a tag within the window, and the
/// tag's name end then comes from the same look.
struct RunMasks {
    unsigned Stops;
    unsigned Newlines;
    unsigned TagName;
};

// The paths. The scan is compiled once for each (CXMLScan.cpp), with every
// step inline; the processor, or a test, chooses one when a scan starts.

/// One byte at a time: the reference every wider path is held to.
struct BytePath {
    static constexpr bool kWindows = false;  ///< the scan uses no AttributeWindow
    template <char... Stops>
    static const char* FindStop(const char* p, const char* end) {
        return FindStopPortable<Stops...>(p, end);
    }
    template <char... Stops>
    static const char* FindStopCounting(const char* p, const char* end, LinesPassed& lines) {
        return FindStopCountingPortable<Stops...>(p, end, lines);
    }
    template <bool Tag>
    static const char* FindNameEnd(const char* p, const char* end) {
        return FindNameEndPortable<Tag>(p, end);
    }
    static const char* FindNonBlank(const char* p, const char* end, LinesPassed& lines) {
        return FindNonBlankPortable(p, end, lines);
    }
    /// The window byte by byte: what the wider paths' windows are held to
    /// (the scan on this path reads runs without one).
    static void CountNewlines(unsigned newlines, const char* p, LinesPassed& lines) {
        zam::xml::CountNewlines(newlines, p, lines);
    }
    template <char... Stops>
    static RunMasks RunWindow(const char* p) {
        RunMasks masks{0, 0, 0};
        for (int i = 0; i < 32; ++i) {
            if (IsStop<Stops...>(p[i])) masks.Stops |= 1u << i;
            if (p[i] == '\n') masks.Newlines |= 1u << i;
            if (IsNameByte<true>(p[i])) masks.TagName |= 1u << i;
        }
        return masks;
    }
    /// As RunWindow.
    static AttributeMasks AttributeWindow(const char* p) {
        AttributeMasks masks{0, 0};
        for (int i = 0; i < 32; ++i) {
            if (IsNameByte<false>(p[i])) masks.Name |= 1u << i;
            if (IsStop<'\0', '&', '\\', '\n', '"', '\''>(p[i])) masks.ValueStops |= 1u << i;
        }
        return masks;
    }
};

#if defined(__SSE2__)

/// Sixteen bytes at a time. Most runs in a document end within sixteen
/// bytes; the loops look at the first sixteen before anything else.
struct Sse2Path {
    static constexpr bool kWindows = true;
    template <char... Stops>
    static const char* FindStop(const char* p, const char* end) {
        return FindStopWide<Stops...>(p, end);
    }
    template <char... Stops>
    static const char* FindStopCounting(const char* p, const char* end, LinesPassed& lines) {
        return FindStopCountingWide<Stops...>(p, end, lines);
    }
    template <bool Tag>
    static const char* FindNameEnd(const char* p, const char* end) {
        return FindNameEndWide<Tag>(p, end);
    }
    static const char* FindNonBlank(const char* p, const char* end, LinesPassed& lines) {
        return FindNonBlankWide(p, end, lines);
    }
    static void CountNewlines(unsigned newlines, const char* p, LinesPassed& lines) {
        zam::xml::CountNewlines(newlines, p, lines);
    }
    /// The caller makes sure the thirty-two bytes at p lie before the end.
    template <char... Stops>
    static RunMasks RunWindow(const char* p) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
        const __m128i newline = _mm_set1_epi8('\n');
        return {StopMask<Stops...>(low) | (StopMask<Stops...>(high) << 16),
                static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(low, newline))) |
                    (static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(high, newline))) << 16),
                NameMask<true>(low) | (NameMask<true>(high) << 16)};
    }
    /// The caller makes sure the thirty-two bytes at p lie before the end.
    static AttributeMasks AttributeWindow(const char* p) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
        return {NameMask<false>(low) | (NameMask<false>(high) << 16),
                StopMask<'\0', '&', '\\', '\n', '"', '\''>(low) |
                    (StopMask<'\0', '&', '\\', '\n', '"', '\''>(high) << 16)};
    }
};

#endif  // __SSE2__

#if defined(ZAM_XML_AVX2)

/// Thirty-two bytes at a time, for processors that have AVX2. Its steps can
/// only be inlined into code compiled for AVX2 too, which the scan's own
/// copy for this path is.
struct Avx2Path {
    static constexpr bool kWindows = true;
    template <char... Stops>
    ZAM_AVX2 static const char* FindStop(const char* p, const char* end) {
        return FindStopAvx2<Stops...>(p, end);
    }
    template <char... Stops>
    ZAM_AVX2 static const char* FindStopCounting(const char* p, const char* end, LinesPassed& lines) {
        return FindStopCountingAvx2<Stops...>(p, end, lines);
    }
    template <bool Tag>
    ZAM_AVX2 static const char* FindNameEnd(const char* p, const char* end) {
        return FindNameEndAvx2<Tag>(p, end);
    }
    ZAM_AVX2 static const char* FindNonBlank(const char* p, const char* end, LinesPassed& lines) {
        return FindNonBlankAvx2(p, end, lines);
    }
    ZAM_AVX2 static void CountNewlines(unsigned newlines, const char* p, LinesPassed& lines) {
        CountNewlinesAvx2(newlines, p, lines);
    }
    /// The caller makes sure the thirty-two bytes at p lie before the end.
    template <char... Stops>
    ZAM_AVX2 static RunMasks RunWindow(const char* p) {
        const __m256i block = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        return {StopMask32<Stops...>(block),
                static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(block, _mm256_set1_epi8('\n')))),
                ClassMask32(Classes32(block), kClassTagName)};
    }
    /// The caller makes sure the thirty-two bytes at p lie before the end.
    ZAM_AVX2 static AttributeMasks AttributeWindow(const char* p) {
        const __m256i classes = Classes32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)));
        return {ClassMask32(classes, kClassName), ClassMask32(classes, kClassValueStop)};
    }
};

#undef ZAM_AVX2
#endif  // ZAM_XML_AVX2

// The steps on the path the processor (or a test) chose, one call each: for
// the tests, which hold every path to the byte loop at every offset.

/// Calls f with the active path's type (a value of it).
template <typename F>
inline auto OnActivePath(F f) {
#if defined(ZAM_XML_AVX2)
    if (zam::platform::ActiveVectorLevel() == zam::platform::VectorLevel::Avx2) return f(Avx2Path());
#endif
#if defined(__SSE2__)
    if (zam::platform::ActiveVectorLevel() != zam::platform::VectorLevel::Bytes) return f(Sse2Path());
#endif
    return f(BytePath());
}

/// The first of Stops in [p, end), or end.
template <char... Stops>
inline const char* FindStop(const char* p, const char* end) {
    return OnActivePath([&](auto path) { return decltype(path)::template FindStop<Stops...>(p, end); });
}

/// The first of Stops in [p, end), or end, with the newlines passed on the way.
template <char... Stops>
inline const char* FindStopCounting(const char* p, const char* end, LinesPassed& lines) {
    return OnActivePath(
        [&](auto path) { return decltype(path)::template FindStopCounting<Stops...>(p, end, lines); });
}

/// The first byte in [p, end) that is not a name byte, or end.
template <bool Tag>
inline const char* FindNameEnd(const char* p, const char* end) {
    return OnActivePath([&](auto path) { return decltype(path)::template FindNameEnd<Tag>(p, end); });
}

/// The attribute window of the thirty-two bytes at p, which lie before the end.
inline AttributeMasks AttributeWindow(const char* p) {
    return OnActivePath([&](auto path) { return decltype(path)::AttributeWindow(p); });
}

/// The run window of the thirty-two bytes at p, which lie before the end.
template <char... Stops>
inline RunMasks RunWindow(const char* p) {
    return OnActivePath([&](auto path) { return decltype(path)::template RunWindow<Stops...>(p); });
}

/// The first byte in [p, end) that is not a blank, or end, with the newlines passed.
inline const char* FindNonBlank(const char* p, const char* end, LinesPassed& lines) {
    return OnActivePath([&](auto path) { return decltype(path)::FindNonBlank(p, end, lines); });
}

}  // namespace zam::xml
