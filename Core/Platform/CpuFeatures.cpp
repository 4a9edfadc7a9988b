#include "Core/Platform/CpuFeatures.h"

namespace zam::platform {

namespace detail {
int g_VectorLevel = -1;

int InitVectorLevel() {
    // Racing first callers all store the same answer.
    g_VectorLevel = static_cast<int>(DetectedVectorLevel());
    return g_VectorLevel;
}
}  // namespace detail

VectorLevel DetectedVectorLevel() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    static const VectorLevel level = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") ? VectorLevel::Avx2 : VectorLevel::Sse2;
    }();
    return level;
#else
    return VectorLevel::Bytes;
#endif
}

VectorLevel SetVectorLevelForTests(VectorLevel level) {
    const VectorLevel before = ActiveVectorLevel();
    const VectorLevel widest = DetectedVectorLevel();
    detail::g_VectorLevel = static_cast<int>(static_cast<int>(level) > static_cast<int>(widest) ? widest : level);
    return before;
}

}  // namespace zam::platform
