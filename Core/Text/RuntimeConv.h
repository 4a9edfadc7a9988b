#pragma once
// The C runtime's text-to-number conversions as the library has always relied
// on them, independent of the C library and the locale at hand: atoi wraps to
// 32 bits instead of being undefined, and atof reads only decimal and
// exponent forms, always with a '.' as the decimal point.

#include <cstdint>
#include <string>

namespace zam {

/// Leading blanks, an optional sign, decimal digits up to the first other
/// character; no digits gives 0. The result wraps to 32 bits.
int RuntimeAtoi(const char* text);

/// The same, kept in 64 bits (wrapping beyond them).
int64_t RuntimeAtoi64(const char* text);

/// Leading blanks, then the longest decimal or exponent number; 0 when none.
double RuntimeAtof(const char* text);

/// A pointer as the runtime's "%p" writes it: upper-case hex, zero-padded
/// to the pointer's width, without "0x".
std::string PointerText(const void* p);

}  // namespace zam
