#include "app/Random.h"

#include "Core/Platform/Clock.h"
#include "Core/Platform/RuntimeRand.h"

void RandomSeed() {
    zam::platform::RuntimeSrand(
        static_cast<unsigned>(zam::platform::PerformanceCounter() % 1000000));
}

int RandomBelow(int n) {
    const int max = zam::platform::kRuntimeRandMax;
    if (n < 1) return 0;
    if (n > max) n = max;
    // Rejecting the top values keeps every result equally likely.
    const int limit = max - 1 - (max % n);
    int r = 0;
    do {
        r = zam::platform::RuntimeRand();
    } while (r > limit);
    return r % n;
}
