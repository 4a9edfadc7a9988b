#include "Core/Text/RuntimeConv.h"

#include <cctype>
#include <cinttypes>
#include <cstdio>
#include <charconv>
#include <cstring>

namespace zam {

namespace {

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int64_t RuntimeAtoi64(const char* text) {
    if (text == nullptr) return 0;
    while (IsSpace(*text)) ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    uint64_t value = 0;  // unsigned, so that overflow wraps instead of being undefined
    while (IsDigit(*text)) value = value * 10u + static_cast<uint64_t>(*text++ - '0');
    if (negative) value = 0u - value;
    return static_cast<int64_t>(value);
}

int RuntimeAtoi(const char* text) {
    return static_cast<int>(static_cast<uint32_t>(static_cast<uint64_t>(RuntimeAtoi64(text))));
}

double RuntimeAtof(const char* text) {
    if (text == nullptr) return 0;
    while (IsSpace(*text)) ++text;
    // Find the longest prefix of the form [sign] digits [. digits] [e [sign] digits].
    const char* p = text;
    if (*p == '+' || *p == '-') ++p;
    const char* digitsStart = p;
    while (IsDigit(*p)) ++p;
    bool haveDigits = p > digitsStart;
    if (*p == '.') {
        const char* frac = ++p;
        while (IsDigit(*p)) ++p;
        haveDigits = haveDigits || p > frac;
    }
    if (!haveDigits) return 0;
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        if (*q == '+' || *q == '-') ++q;
        if (IsDigit(*q)) {
            while (IsDigit(*q)) ++q;
            p = q;
        }
    }
    // from_chars takes no '+' and no locale; both are ours to handle.
    const char* start = text;
    bool negative = false;
    if (*start == '+' || *start == '-') negative = *start++ == '-';
    double value = 0;
    const auto result = std::from_chars(start, p, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large: the runtime gives infinity; too small: zero. from_chars
        // leaves the value alone, so look at the exponent's sign instead.
        const char* e = std::strpbrk(start, "eE");
        const bool tiny = e != nullptr && e < p && e[1] == '-';
        value = tiny ? 0.0 : __builtin_huge_val();
    }
    return negative ? -value : value;
}

std::string PointerText(const void* p) {
    char text[2 * sizeof(void*) + 1];
    std::snprintf(text, sizeof text, "%0*" PRIXPTR, static_cast<int>(2 * sizeof(void*)),
                  reinterpret_cast<uintptr_t>(p));
    return text;
}

}  // namespace zam
