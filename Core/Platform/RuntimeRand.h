#pragma once
// The C runtime's classic pseudo-random generator: 0..32767 from a linear
// congruential step. Our own copy, so results are the same on every C library
// and tests can seed it.

namespace zam::platform {

/// Largest value RuntimeRand returns.
constexpr int kRuntimeRandMax = 32767;

/// Seeds the generator (as srand).
void RuntimeSrand(unsigned seed);

/// Next value, 0..32767 (as rand).
int RuntimeRand();

}  // namespace zam::platform
