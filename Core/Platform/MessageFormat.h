#pragma once
// The message formatter: patterns with numbered inserts, as message tables
// use them. "%1" .. "%99" insert the argument of that number ("%10" is the
// tenth); "%2!d!" formats it with the printf conversion between the "!"s, the
// default being "s". "%%", "%." and "%!" give the character, "%n" gives
// CR LF, "%t" a tab, "%r" a lone CR, "%0" ends the output there, any other
// character after "%" stands for itself.
// A line end in the pattern (LF or CR alone, or CR LF) comes out as CR LF.
//
// Arguments are read from the list in the order of their numbers, each with
// the type its conversion needs: int for d i o u x X c (long with "l",
// long long with "ll" or "I64"), double for e f g a, a pointer for s and p.
// A number the pattern skips is read as a pointer, so every argument before
// the last one used must be an integer or a pointer unless the pattern names
// it. "%p" gives sixteen upper-case hex digits without "0x".
//
// Refused as a bad pattern: a lone "%" at the end; a "!" conversion without
// its closing "!", with "*", "n", a wide or long-double form, or a width or
// precision above 65535; one number used with two argument types.

#include <cstdarg>
#include <string>

namespace zam::platform {

/// Why formatting a message failed.
enum class MessageFormatError {
    None,         ///< it did not fail
    EmptyResult,  ///< the pattern is valid but produced no characters
    BadPattern,   ///< the pattern cannot be formatted (see above), or is null
};

/// Formats pattern with args into out; false (out empty) on an empty result or a bad pattern, the reason in *error.
bool FormatMessageFromStringV(const char* pattern, va_list args, std::string& out,
                              MessageFormatError* error = nullptr);

/// FormatMessageFromStringV with the arguments given directly.
bool FormatMessageFromString(std::string& out, const char* pattern, ...);

}  // namespace zam::platform
