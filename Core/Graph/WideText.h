#pragma once
// The 16-bit character strings of dialog templates. The narrow side is the
// current code page, which on Linux is UTF-8; bytes that are not UTF-8 come
// through as U+FFFD rather than being dropped, so the text keeps its shape.

#include <cstddef>
#include <string>

namespace zam::graph {

/// UTF-8 text (null counts as empty) as UTF-16 code units, without a terminator.
std::u16string WideFromNarrow(const char* text);

/// count UTF-16 code units as UTF-8; unpaired surrogates become U+FFFD.
std::string NarrowFromWide(const char16_t* text, size_t count);

}  // namespace zam::graph
