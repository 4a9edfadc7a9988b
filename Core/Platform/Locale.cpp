#include "Core/Platform/Locale.h"

#include <langinfo.h>
#include <locale.h>

#include <cstring>

namespace zam::platform {

namespace {

bool g_overridden = false;
LocaleSeparators g_override;

bool IsSingleByte(char c) { return static_cast<unsigned char>(c) < 0x80; }

// The composite fields stand for their expansion; its first separator is
// what a mask's time or date literal should show.
char CompositeSeparator(char field) {
    switch (field) {
    case 'D': return '/';  // %m/%d/%y
    case 'F': return '-';  // %Y-%m-%d
    case 'T':              // %H:%M:%S
    case 'R':              // %H:%M
    case 'r': return ':';  // %I:%M:%S %p
    default: return '\0';
    }
}

}  // namespace

char SeparatorFromValue(const char* value, char fallback) {
    if (value == nullptr || value[0] == '\0' || !IsSingleByte(value[0])) return fallback;
    return value[0];
}

char SeparatorFromFormat(const char* format, char fallback) {
    if (format == nullptr) return fallback;
    bool seenField = false;
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%') {
            if (seenField) return IsSingleByte(*p) ? *p : fallback;
            continue;
        }
        ++p;
        // Flags, width and the era/alternative-digit modifiers belong to the field.
        while (*p != '\0' && std::strchr("_-0^#", *p) != nullptr) ++p;
        while (*p >= '0' && *p <= '9') ++p;
        if (*p == 'E' || *p == 'O') ++p;
        if (*p == '\0') break;
        if (*p == '%') {
            if (seenField) return '%';
            continue;
        }
        if (!seenField && CompositeSeparator(*p) != '\0') return CompositeSeparator(*p);
        seenField = true;
    }
    return fallback;
}

bool ReadLocaleSeparators(const char* localeName, LocaleSeparators& out) {
    out = LocaleSeparators();
    locale_t locale = newlocale(LC_NUMERIC_MASK | LC_TIME_MASK, localeName ? localeName : "",
                                static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr)) return false;
    // localeconv answers for the calling thread's locale, so borrow the user's
    // for a moment instead of changing the process's.
    locale_t previous = uselocale(locale);
    const lconv* conv = localeconv();
    out.Decimal = SeparatorFromValue(conv->decimal_point, out.Decimal);
    out.Thousands = SeparatorFromValue(conv->thousands_sep, out.Thousands);
    out.Time = SeparatorFromFormat(nl_langinfo(T_FMT), out.Time);
    out.Date = SeparatorFromFormat(nl_langinfo(D_FMT), out.Date);
    uselocale(previous);
    freelocale(locale);
    return true;
}

LocaleSeparators GetLocaleSeparators() {
    if (g_overridden) return g_override;
    LocaleSeparators separators;
    ReadLocaleSeparators("", separators);
    return separators;
}

void SetLocaleSeparatorsOverride(const LocaleSeparators* separators) {
    g_overridden = separators != nullptr;
    if (separators != nullptr) g_override = *separators;
}

}  // namespace zam::platform
