#pragma once
// Which vector instructions the scanners may use, decided once from what the
// processor reports, and a seam through which tests make every path run on a
// machine that has the widest one.

#include <atomic>

namespace zam::platform {

/// The scanners' paths, narrowest first; each one the processor has may be chosen.
enum class VectorLevel : int {
    Bytes = 0,  ///< one byte at a time: the reference every wider path is held to
    Sse2 = 1,   ///< sixteen bytes at a time (every x86-64 processor)
    Avx2 = 2,   ///< thirty-two bytes at a time (AVX2 and POPCNT)
};

/// The widest level this processor supports (Bytes off x86-64).
VectorLevel DetectedVectorLevel();

namespace detail {
// -1 until first asked; read on every wide scan, where a relaxed load costs
// what a plain one does, and threads scanning at once may all ask first.
extern std::atomic<int> g_VectorLevel;
int InitVectorLevel();
}  // namespace detail

/// The level the scanners use now: the detected one unless a test chose another.
inline VectorLevel ActiveVectorLevel() {
    const int level = detail::g_VectorLevel.load(std::memory_order_relaxed);
    return static_cast<VectorLevel>(level >= 0 ? level : detail::InitVectorLevel());
}

/// For tests: use the given level (at most the detected one; a wider request
/// gives the detected level). Returns the level in use before.
VectorLevel SetVectorLevelForTests(VectorLevel level);

}  // namespace zam::platform
