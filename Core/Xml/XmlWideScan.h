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
        if (newlines != 0) {
            lines.Count += __builtin_popcount(newlines);
            lines.LastStart = p + (32 - __builtin_clz(newlines));
        }
        if (stops != 0) return p + __builtin_ctz(stops);
    }
    return FindStopCountingPortable<Stops...>(p, end, lines);
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

#else

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
