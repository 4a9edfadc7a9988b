#pragma once
// Random chime times. The generator is the runtime's 0..32767 one, so tests
// seed it through zam::platform::RuntimeSrand and get repeatable draws.

/// Seeds the generator from the performance counter (modulo 1,000,000).
void RandomSeed();

/// An equally likely whole number 0..n-1 for 1 <= n <= 32767; n below 1
/// gives 0 and n above 32767 is taken as 32767.
int RandomBelow(int n);
