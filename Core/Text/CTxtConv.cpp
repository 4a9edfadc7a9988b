// CTxt: fields, hex forms, markup and escape conversions, and masking. Each
// conversion builds its result in a string sized by what it really writes and
// then sets the text from it, so no input can overrun a scratch area.

#include <strings.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>

#include "Core/System/Profile.h"
#include "Core/Text/CTxt.h"
#include "Core/Text/TextFunc.h"

namespace {

const char kHexDigits[] = "0123456789ABCDEF";

bool IsHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

bool IsPrintableByte(unsigned char c) { return c >= 32 && c <= 126; }

void AppendHexByte(std::string& out, unsigned char byte) {
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0x0F];
}

std::string EightHexDigits(uint32_t v, int keep) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%08X", v);
    return std::string(digits + 8 - keep);
}

// Characters outside what the masks allow; isalnum alone would let bytes
// above 127 through in some locales, so letters and digits are ASCII here.
bool IsAsciiAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

}  // namespace

int CTxt::GetField(const char* src, char delim, int trimRight) {
    const char* text = src != nullptr ? src : "";
    size_t n = std::strlen(text);
    if (delim != '\0') {
        const char* at = std::strchr(text, delim);
        if (at != nullptr) {
            n = static_cast<size_t>(at - text);
            if (trimRight == 1) {
                while (n > 0 && text[n - 1] == ' ') --n;
            }
        }
    }
    if (n == 0) {
        ReleaseBuffer();
        return 0;
    }
    AssignN(text, static_cast<int>(n));
    return m_length;
}

void CTxt::GetHex(unsigned long v, int kind) {
    const int keep = kind == 1 ? 2 : kind == 2 ? 4 : kind == 3 ? 6 : 8;
    SetTxt(EightHexDigits(static_cast<uint32_t>(v), keep).c_str());
}

int CTxt::MakeHexValue(int v, int digits) {
    const int keep = digits == 2 || digits == 4 || digits == 6 ? digits : 8;
    SetTxt(EightHexDigits(static_cast<uint32_t>(v), keep).c_str());
    return m_length;
}

void CTxt::GetHexArray(const unsigned char* bytes, int n) {
    if (bytes == nullptr || n < 1 || n > 1000) {
        Format("GetHexArray(%dBy)", n);
        return;
    }
    std::string out;
    out.reserve(static_cast<size_t>(n) * 3);
    for (int i = 0; i < n; ++i) {
        AppendHexByte(out, bytes[i]);
        out += ',';
    }
    SetTxt(out.c_str());
}

int CTxt::ConvHex(int toHex) {
    if (IsEmpty()) return -1;
    std::string out;
    if (toHex) {
        out.reserve(static_cast<size_t>(m_length) * 2);
        for (int i = 0; i < m_length; ++i) AppendHexByte(out, static_cast<unsigned char>(m_data[i]));
    } else {
        for (int i = 0; i < m_length; i += 2) {
            const char pair[3] = {m_data[i], i + 1 < m_length ? m_data[i + 1] : '\0', '\0'};
            out += static_cast<char>(HexToInt(pair));
        }
    }
    AssignN(out.data(), static_cast<int>(out.size()));
    return m_length;
}

int CTxt::MakeValueTxt(double v, int decimals) {
    if (decimals < 0) decimals = 0;
    if (decimals > 100) decimals = 100;
    Format("%.*f", decimals, v);
    if (FindChar('.') >= 0) {
        TrimRight('0');
        TrimRight('.');
    }
    Trim(' ');
    return m_length;
}

int CTxt::ConvTxt2XML() {
    if (IsEmpty()) return 0;
    std::string out;
    out.reserve(static_cast<size_t>(m_length) + 16);
    for (int i = 0; i < m_length; ++i) {
        const unsigned char c = static_cast<unsigned char>(m_data[i]);
        switch (c) {
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        case '\'': out += "&apos;"; break;
        case '"': out += "&quot;"; break;
        default:
            if (IsPrintableByte(c)) {
                out += static_cast<char>(c);
            } else {
                out += "&#x";
                AppendHexByte(out, c);
                out += ';';
            }
        }
    }
    SetTxt(out.c_str());
    return m_length;
}

int CTxt::ConvXML2Txt() {
    if (IsEmpty()) return 0;
    static const struct {
        const char* Entity;
        char Character;
    } kEntities[] = {{"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&apos;", '\''}, {"&quot;", '"'}};
    std::string out;
    for (int i = 0; i < m_length;) {
        const char* p = m_data + i;
        bool replaced = false;
        if (*p == '&') {
            for (const auto& e : kEntities) {
                const size_t n = std::strlen(e.Entity);
                if (std::strncmp(p, e.Entity, n) == 0) {
                    out += e.Character;
                    i += static_cast<int>(n);
                    replaced = true;
                    break;
                }
            }
            if (!replaced && std::strncmp(p, "&#x", 3) == 0 && IsHexDigit(p[3]) &&
                IsHexDigit(p[4]) && p[5] == ';') {
                const char pair[3] = {p[3], p[4], '\0'};
                out += static_cast<char>(HexToInt(pair));
                i += 6;
                replaced = true;
            }
        }
        if (!replaced) out += m_data[i++];
    }
    AssignN(out.data(), static_cast<int>(out.size()));
    return m_length;
}

int CTxt::ConvHTM2TXT() {
    if (IsEmpty()) return 0;
    std::string out;
    for (int i = 0; i < m_length; ++i) {
        const char* p = m_data + i;
        if (*p == '&' && strncasecmp(p, "&nbsp;", 6) == 0) {
            out += ' ';
            i += 5;
        } else if (*p == '&' && std::strncmp(p, "&amp;", 5) == 0) {
            out += '&';
            i += 4;
        } else if (*p == '\\') {
            if (i + 1 < m_length) out += m_data[++i];  // taken literally
        } else if (*p == '+') {
            out += ' ';
        } else if (*p == '%' && i + 1 < m_length && p[1] == '%') {
            out += '%';
            ++i;
        } else if (*p == '%' && i + 2 < m_length && IsHexDigit(p[1]) && IsHexDigit(p[2])) {
            const char pair[3] = {p[1], p[2], '\0'};
            out += static_cast<char>(HexPrefixToInt(pair));
            i += 2;
        } else {
            out += *p;
        }
    }
    AssignN(out.data(), static_cast<int>(out.size()));
    return m_length;
}

int CTxt::ConvCRLF(int decode) {
    if (IsEmpty()) return 0;
    std::string out;
    for (int i = 0; i < m_length; ++i) {
        const char c = m_data[i];
        if (!decode) {
            if (c == '\r') out += "\\r";
            else if (c == '\n') out += "\\n";
            else if (c == '\t') out += "\\t";
            else out += c;
            continue;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (i + 1 >= m_length) break;  // a last lone backslash goes with nothing
        const char next = m_data[++i];
        if (next == 'n') out += '\n';
        else if (next == 'r') out += '\r';
        else if (next == 't') out += '\t';
    }
    AssignN(out.data(), static_cast<int>(out.size()));
    return m_length;
}

int CTxt::InsertCR() {
    if (IsEmpty()) return 0;
    std::string out;
    for (int i = 0; i < m_length; ++i) {
        if (m_data[i] == '\n' && (i == 0 || m_data[i - 1] != '\r')) out += '\r';
        out += m_data[i];
    }
    AssignN(out.data(), static_cast<int>(out.size()));
    return m_length;
}

int CTxt::ConvProt(int restore, int key) {
    if (IsEmpty()) return 0;
    if (key < 1) key = 1;
    for (int i = 0; i < m_length; ++i) {
        const unsigned char c = static_cast<unsigned char>(m_data[i]);
        if (!IsPrintableByte(c)) continue;
        // 64 bits: key + i must not overflow for long texts or large keys.
        const int remainder = static_cast<int>((static_cast<int64_t>(key) + i) % 95);
        const bool up = (i % 2 == 1) == (restore == 0);
        int code = c + (up ? remainder : -remainder);
        if (code < 32) code += 95;
        if (code > 126) code -= 95;
        m_data[i] = static_cast<char>(code);
    }
    return m_length;
}

namespace {

// Shared by the two masks: allowed(c) says whether c may stay.
template <typename Allowed>
int MaskText(char* data, int length, int replace, Allowed allowed) {
    if (length <= 0) return -1;
    int first = -1;
    for (int i = 0; i < length; ++i) {
        if (allowed(data[i])) continue;
        if (!replace) return static_cast<unsigned char>(data[i]);
        if (first < 0) first = i;
        data[i] = '_';
    }
    return replace ? first : 0;
}

bool InExtra(const char* extra, char c) { return extra != nullptr && c != '\0' && std::strchr(extra, c); }

}  // namespace

int CTxt::MaskNonFilename(int replace, const char* extra) {
    return MaskText(m_data, m_length, replace, [extra](char c) {
        return IsAsciiAlnum(c) || (c != '\0' && std::strchr("~_+-#$(){}[]", c)) || InExtra(extra, c);
    });
}

int CTxt::MaskNonVar(int replace, const char* extra) {
    return MaskText(m_data, m_length, replace,
                    [extra](char c) { return IsAsciiAlnum(c) || c == '_' || InExtra(extra, c); });
}

int CTxt::MaskNonPrintable() {
    int replaced = 0;
    for (int i = 0; i < m_length; ++i) {
        if (IsPrintableByte(static_cast<unsigned char>(m_data[i]))) continue;
        m_data[i] = '+';
        ++replaced;
    }
    return replaced;
}
