#include "Core/Platform/MessageFormat.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace zam::platform {

namespace {

constexpr int kMaxArg = 99;
// Widths beyond this are typing errors, not layouts; refusing them keeps a
// stray "%1!999999999d!" from asking for a gigabyte.
constexpr long kMaxWidth = 65535;

enum class ArgType { Unused, Int, Long, LongLong, Double, Pointer };

union ArgValue {
    int i;
    long l;
    long long ll;
    double d;
    const void* p;
};

// One "%N" or "%N!spec!" insert, parsed.
struct Insert {
    int number = 0;
    ArgType type = ArgType::Pointer;
    std::string printfSpec;  // rebuilt for the C library, e.g. "%-5lld"
    bool hexPointer = false;
};

// Parses the text between the "!"s into a printf conversion of our own making,
// so that only conversions we can feed safely ever reach the C library.
bool ParseConversion(const char* spec, size_t len, Insert& ins) {
    std::string flags;
    size_t i = 0;
    while (i < len && std::strchr("-+ #0", spec[i]) != nullptr) flags += spec[i++];
    std::string width;
    while (i < len && spec[i] >= '0' && spec[i] <= '9') width += spec[i++];
    std::string precision;
    bool hasPrecision = false;
    if (i < len && spec[i] == '.') {
        hasPrecision = true;
        ++i;
        while (i < len && spec[i] >= '0' && spec[i] <= '9') precision += spec[i++];
    }
    if (width.size() > 5 || precision.size() > 5) return false;
    if (!width.empty() && std::strtol(width.c_str(), nullptr, 10) > kMaxWidth) return false;
    if (!precision.empty() && std::strtol(precision.c_str(), nullptr, 10) > kMaxWidth) return false;

    enum class Size { None, Char, Short, Long, LongLong } size = Size::None;
    if (i + 1 < len && spec[i] == 'h' && spec[i + 1] == 'h') {
        size = Size::Char;
        i += 2;
    } else if (i < len && spec[i] == 'h') {
        size = Size::Short;
        ++i;
    } else if (i + 1 < len && spec[i] == 'l' && spec[i + 1] == 'l') {
        size = Size::LongLong;
        i += 2;
    } else if (i < len && spec[i] == 'l') {
        size = Size::Long;
        ++i;
    } else if (i + 2 < len && spec[i] == 'I' && spec[i + 1] == '6' && spec[i + 2] == '4') {
        size = Size::LongLong;
        i += 3;
    } else if (i + 2 < len && spec[i] == 'I' && spec[i + 1] == '3' && spec[i + 2] == '2') {
        i += 3;
    }
    if (i + 1 != len) return false;  // exactly one conversion character must remain
    const char conv = spec[i];

    std::string out = "%" + flags + width;
    if (hasPrecision) out += "." + precision;
    if (std::strchr("diouxXc", conv) != nullptr) {
        if (conv == 'c' && size != Size::None && size != Size::Short) return false;
        ins.type = ArgType::Int;  // short and char arguments arrive promoted to int
        switch (size) {
        case Size::Char:
            out += "hh";
            break;
        case Size::Short:
            if (conv != 'c') out += "h";
            break;
        case Size::Long:
            ins.type = ArgType::Long;
            out += "l";
            break;
        case Size::LongLong:
            ins.type = ArgType::LongLong;
            out += "ll";
            break;
        case Size::None:
            break;
        }
    } else if (std::strchr("eEfFgGaA", conv) != nullptr) {
        if (size != Size::None && size != Size::Long) return false;
        ins.type = ArgType::Double;
    } else if (conv == 's') {
        if (size != Size::None && size != Size::Short) return false;
        ins.type = ArgType::Pointer;
    } else if (conv == 'p') {
        if (size != Size::None || hasPrecision) return false;
        ins.type = ArgType::Pointer;
        ins.hexPointer = true;
        out = "%" + flags + width;  // applied to the hex digits as a text
        out += 's';
        ins.printfSpec = out;
        return true;
    } else {
        return false;  // includes "n", which would write through an argument
    }
    out += conv;
    ins.printfSpec = out;
    return true;
}

// One piece of the output plan: literal text or an insert.
struct Piece {
    std::string literal;
    bool isInsert = false;
    Insert insert;
};

bool ParsePattern(const char* pattern, std::vector<Piece>& pieces) {
    std::string lit;
    auto flush = [&]() {
        if (!lit.empty()) {
            Piece p;
            p.literal.swap(lit);
            pieces.push_back(std::move(p));
        }
    };
    const char* s = pattern;
    while (*s != '\0') {
        const char c = *s;
        if (c == '\r') {
            lit += "\r\n";
            s += (s[1] == '\n') ? 2 : 1;
            continue;
        }
        if (c == '\n') {
            lit += "\r\n";
            ++s;
            continue;
        }
        if (c != '%') {
            lit += c;
            ++s;
            continue;
        }
        const char next = s[1];
        if (next == '\0') return false;  // a lone trailing "%"
        if (next == '0') break;          // the output ends here, without a line end
        if (next == 'n' || next == 't' || next == 'r') {
            lit += next == 'n' ? "\r\n" : next == 't' ? "\t" : "\r";
            s += 2;
            continue;
        }
        if (next < '1' || next > '9') {
            lit += next;  // "%%", "%.", "%!" and any other character stand for themselves
            s += 2;
            continue;
        }
        Piece p;
        p.isInsert = true;
        int number = next - '0';
        s += 2;
        if (*s >= '0' && *s <= '9') number = number * 10 + (*s++ - '0');
        p.insert.number = number;
        if (*s == '!') {
            const char* end = std::strchr(s + 1, '!');
            if (end == nullptr) return false;
            if (!ParseConversion(s + 1, static_cast<size_t>(end - (s + 1)), p.insert)) return false;
            s = end + 1;
        } else {
            p.insert.printfSpec = "%s";
        }
        flush();
        pieces.push_back(std::move(p));
    }
    flush();
    return true;
}

bool AppendFormatted(std::string& out, const char* spec, ...) __attribute__((format(printf, 2, 3)));
bool AppendFormatted(std::string& out, const char* spec, ...) {
    va_list args;
    va_start(args, spec);
    va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(nullptr, 0, spec, args);
    va_end(args);
    if (n < 0) {
        va_end(again);
        return false;
    }
    const size_t at = out.size();
    out.resize(at + static_cast<size_t>(n) + 1);
    std::vsnprintf(&out[at], static_cast<size_t>(n) + 1, spec, again);
    va_end(again);
    out.resize(at + static_cast<size_t>(n));
    return true;
}

// The conversion text was built by ParseConversion and matches the argument's
// type, so the format cannot be checked by the compiler here but is safe.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
bool AppendInsert(std::string& out, const Insert& ins, const ArgValue& v) {
    const char* spec = ins.printfSpec.c_str();
    if (ins.hexPointer) {
        char hex[2 * sizeof(void*) + 1];
        std::snprintf(hex, sizeof hex, "%0*llX", static_cast<int>(2 * sizeof(void*)),
                      static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(v.p)));
        return AppendFormatted(out, spec, hex);
    }
    switch (ins.type) {
    case ArgType::Int:
        return AppendFormatted(out, spec, v.i);
    case ArgType::Long:
        return AppendFormatted(out, spec, v.l);
    case ArgType::LongLong:
        return AppendFormatted(out, spec, v.ll);
    case ArgType::Double:
        return AppendFormatted(out, spec, v.d);
    case ArgType::Pointer:
        return AppendFormatted(out, spec, v.p ? static_cast<const char*>(v.p) : "(null)");
    case ArgType::Unused:
        break;
    }
    return false;
}
#pragma GCC diagnostic pop

}  // namespace

bool FormatMessageFromStringV(const char* pattern, va_list args, std::string& out,
                              MessageFormatError* error) {
    out.clear();
    auto fail = [&](MessageFormatError why) {
        out.clear();
        if (error != nullptr) *error = why;
        return false;
    };
    if (pattern == nullptr) return fail(MessageFormatError::BadPattern);

    std::vector<Piece> pieces;
    if (!ParsePattern(pattern, pieces)) return fail(MessageFormatError::BadPattern);

    // The argument list can only be walked in order, so learn every number's
    // type first, then fetch 1..max once.
    ArgType types[kMaxArg + 1] = {};
    int maxNumber = 0;
    for (const Piece& p : pieces) {
        if (!p.isInsert) continue;
        ArgType& t = types[p.insert.number];
        if (t != ArgType::Unused && t != p.insert.type) return fail(MessageFormatError::BadPattern);
        t = p.insert.type;
        if (p.insert.number > maxNumber) maxNumber = p.insert.number;
    }
    ArgValue values[kMaxArg + 1] = {};
    va_list list;
    va_copy(list, args);
    for (int n = 1; n <= maxNumber; ++n) {
        switch (types[n]) {
        case ArgType::Int:
            values[n].i = va_arg(list, int);
            break;
        case ArgType::Long:
            values[n].l = va_arg(list, long);
            break;
        case ArgType::LongLong:
            values[n].ll = va_arg(list, long long);
            break;
        case ArgType::Double:
            values[n].d = va_arg(list, double);
            break;
        case ArgType::Pointer:
        case ArgType::Unused:
            values[n].p = va_arg(list, const void*);
            break;
        }
    }
    va_end(list);

    for (const Piece& p : pieces) {
        if (!p.isInsert) {
            out += p.literal;
        } else if (!AppendInsert(out, p.insert, values[p.insert.number])) {
            return fail(MessageFormatError::BadPattern);
        }
    }
    if (out.empty()) return fail(MessageFormatError::EmptyResult);
    if (error != nullptr) *error = MessageFormatError::None;
    return true;
}

bool FormatMessageFromString(std::string& out, const char* pattern, ...) {
    va_list args;
    va_start(args, pattern);
    const bool ok = FormatMessageFromStringV(pattern, args, out);
    va_end(args);
    return ok;
}

}  // namespace zam::platform
