#pragma once
// The separators the user's locale prefers for numbers, times and dates, read
// without switching the process's own locale, with a test override so that a
// test sees the same separators on every machine.

namespace zam::platform {

/// One character each; a locale that gives none keeps the default.
struct LocaleSeparators {
    char Decimal = '.';
    char Thousands = ',';
    char Time = ':';
    char Date = '/';
};

/// The user's separators (from the environment's LC_NUMERIC and LC_TIME), or
/// the override a test installed.
LocaleSeparators GetLocaleSeparators();

/// The separators of a named locale ("" is the user's); false, with the
/// defaults in out, when the C library does not know the name.
bool ReadLocaleSeparators(const char* localeName, LocaleSeparators& out);

/// The first plain character after the first field of a strftime format
/// ("%d.%m.%Y" gives '.'; "%T" stands for "%H:%M:%S"); fallback when the
/// format has none, or when that character is not a single-byte one (a
/// multibyte character cannot be shown in one position).
char SeparatorFromFormat(const char* format, char fallback);

/// The first character of a locale value; fallback when the value is null,
/// empty or begins with a multibyte character.
char SeparatorFromValue(const char* value, char fallback);

/// Installs fixed separators for tests (copied); nullptr restores the locale.
void SetLocaleSeparatorsOverride(const LocaleSeparators* separators);

}  // namespace zam::platform
