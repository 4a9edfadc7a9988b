#pragma once
// Wide scanning for the XML scan: finds the first of a few stop characters
// sixteen bytes at a time, so the runs between markup characters cost a
// handful of instructions per sixteen bytes instead of a table look-up per
// byte. SSE2 is part of every x86-64 processor; elsewhere the portable loop
// does the same work a byte at a time.
//
// No function here reads at or past end: the last sixteen bytes before it
// (fewer than sixteen) are left to the byte loop, which also serves the
// portable path. The result is the first stop in [p, end), or end.

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
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

template <bool Tag>
inline const char* FindNameEndWide(const char* p, const char* end) {
    for (; end - p >= 16; p += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
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
        const unsigned others = ~static_cast<unsigned>(_mm_movemask_epi8(name)) & 0xFFFFu;
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

/// The first of Stops in [p, end), or end.
template <char... Stops>
inline const char* FindStop(const char* p, const char* end) {
    return FindStopWide<Stops...>(p, end);
}

/// The first of Stops in [p, end), or end, with the newlines passed on the way.
template <char... Stops>
inline const char* FindStopCounting(const char* p, const char* end, LinesPassed& lines) {
    return FindStopCountingWide<Stops...>(p, end, lines);
}

/// The first byte in [p, end) that is not a name byte, or end.
template <bool Tag>
inline const char* FindNameEnd(const char* p, const char* end) {
    return FindNameEndWide<Tag>(p, end);
}

/// The first byte in [p, end) that is not a blank, or end, with the newlines passed.
inline const char* FindNonBlank(const char* p, const char* end, LinesPassed& lines) {
    return FindNonBlankWide(p, end, lines);
}

#else

template <bool Tag>
inline const char* FindNameEnd(const char* p, const char* end) {
    return FindNameEndPortable<Tag>(p, end);
}

inline const char* FindNonBlank(const char* p, const char* end, LinesPassed& lines) {
    return FindNonBlankPortable(p, end, lines);
}

template <char... Stops>
inline const char* FindStop(const char* p, const char* end) {
    return FindStopPortable<Stops...>(p, end);
}

template <char... Stops>
inline const char* FindStopCounting(const char* p, const char* end, LinesPassed& lines) {
    return FindStopCountingPortable<Stops...>(p, end, lines);
}

#endif

}  // namespace zam::xml
