#include "Core/Platform/RuntimeRand.h"

#include <cstdint>

namespace zam::platform {

namespace {
uint32_t g_state = 1;  // the runtime starts as if seeded with 1
}

void RuntimeSrand(unsigned seed) { g_state = seed; }

int RuntimeRand() {
    g_state = g_state * 214013u + 2531011u;
    return static_cast<int>((g_state >> 16) & 0x7fff);
}

}  // namespace zam::platform
