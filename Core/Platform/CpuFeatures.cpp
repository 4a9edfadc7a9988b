#include "Core/Platform/CpuFeatures.h"

namespace zam::platform {

namespace detail {
std::atomic<int> g_VectorLevel{-1};

int InitVectorLevel() {
    // Racing first callers all store the same answer.
    const int level = static_cast<int>(DetectedVectorLevel());
    g_VectorLevel.store(level, std::memory_order_relaxed);
    return level;
}
}  // namespace detail

VectorLevel DetectedVectorLevel() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    static const VectorLevel level = [] {
        __builtin_cpu_init();
        // The AVX2 path counts bits with POPCNT too, which every processor
        // with AVX2 has; a virtual machine could still hide one of them.
        return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt") ? VectorLevel::Avx2
                                                                                  : VectorLevel::Sse2;
    }();
    return level;
#else
    return VectorLevel::Bytes;
#endif
}

VectorLevel SetVectorLevelForTests(VectorLevel level) {
    const VectorLevel before = ActiveVectorLevel();
    const VectorLevel widest = DetectedVectorLevel();
    detail::g_VectorLevel.store(static_cast<int>(static_cast<int>(level) > static_cast<int>(widest) ? widest : level),
                                std::memory_order_relaxed);
    return before;
}

}  // namespace zam::platform
