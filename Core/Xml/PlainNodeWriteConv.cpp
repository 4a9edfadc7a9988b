// The writer's character-level conversions: escaping plain text for XML and
// back, and rendering typed binary values as attribute text.

#include <cinttypes>
#include <cstring>
#include <string>

#include "Core/System/Log.h"
#include "Core/Xml/PlainNode.h"

namespace {

const char kHexDigits[] = "0123456789ABCDEF";

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The control character a backslash escape stands for, or 0 when the pair is
// no escape (the backslash is then an ordinary character).
char BackslashEscape(char c) {
    switch (c) {
    case 'b': return '\b';
    case 'f': return '\f';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    default: return 0;
    }
}

void AppendEscaped(std::string& out, unsigned char c) {
    switch (c) {
    case '"': out += "&quot;"; return;
    case '&': out += "&amp;"; return;
    case '\'': out += "&apos;"; return;
    case '<': out += "&lt;"; return;
    case '>': out += "&gt;"; return;
    default: break;
    }
    if (c >= 32 && c < 127) {
        out += static_cast<char>(c);
        return;
    }
    out += "&#x";
    out += kHexDigits[c >> 4];
    out += kHexDigits[c & 0x0F];
    out += ';';
}

int Escape(const char* text, bool backslashes, CTxt& buffer) {
    std::string out;
    for (const char* p = text != nullptr ? text : ""; *p != '\0'; ++p) {
        if (backslashes && *p == '\\') {
            const char control = BackslashEscape(p[1]);
            if (control != 0) {
                AppendEscaped(out, static_cast<unsigned char>(control));
                ++p;
                continue;
            }
        }
        AppendEscaped(out, static_cast<unsigned char>(*p));
    }
    buffer = out.c_str();
    return buffer.GetLength();
}

int RenderTruth(CTxt& buffer, bool value) {
    buffer = value ? "TRUE" : "FALSE";
    return buffer.GetLength();
}

}  // namespace

int PlainNode::SaveTxt2XML(CTxt& buffer, const char* text) { return Escape(text, false, buffer); }

int PlainNode::Txt2XML(const char* text, CTxt& buffer) { return Escape(text, true, buffer); }

int PlainNode::XML2Txt(const char* text, CTxt& buffer) {
    static const struct {
        const char* Entity;
        size_t Length;
        char Character;
    } kNamed[] = {{"&lt;", 4, '<'},     {"&gt;", 4, '>'},       {"&amp;", 5, '&'},
                  {"&apos;", 6, '\''},  {"&quot;", 6, '"'}};
    std::string out;
    int read = 0;
    const char* p = text != nullptr ? text : "";
    while (*p != '\0') {
        ++read;
        if (*p == '&') {
            if (p[1] == '#' && p[2] == 'x' && HexValue(p[3]) >= 0 && HexValue(p[4]) >= 0 &&
                p[5] == ';') {
                const char c = static_cast<char>(HexValue(p[3]) * 16 + HexValue(p[4]));
                // A text cannot hold a NUL; keeping it would end the text early.
                if (c != '\0') out += c;
                p += 6;
                continue;
            }
            bool named = false;
            for (const auto& e : kNamed) {
                if (std::strncmp(p, e.Entity, e.Length) == 0) {
                    out += e.Character;
                    p += e.Length;
                    named = true;
                    break;
                }
            }
            if (named) continue;
            // An unknown entity loses the '&' and the character after it, but
            // never the text's terminator.
            p += p[1] != '\0' ? 2 : 1;
            continue;
        }
        if (*p == '\\') {
            const char control = BackslashEscape(p[1]);
            if (control != 0) {
                out += control;
                p += 2;
                continue;
            }
        }
        out += *p++;
    }
    buffer = out.c_str();
    return read;
}

int PlainNode::GetContentBin(CTxt& text) const {
    if (m_Content.IsEmpty()) {
        text.MakeEmpty();
        return 0;
    }
    return XML2Txt(m_Content, text);
}

int PlainNode::SaveBTOASqueeze(CTxt& buffer, const char* text) {
    const char* p = text != nullptr ? text : "";
    while (*p == ' ') ++p;
    std::string out(p);
    if (out.find('.') != std::string::npos) {
        while (!out.empty() && out.back() == '0') out.pop_back();
        if (!out.empty() && out.back() == '.') out.pop_back();
    }
    buffer = out.c_str();
    return buffer.GetLength();
}

int PlainNode::SaveBTOA(const void* data, CTxt& buffer, int kind, const char* name) {
    if (data == nullptr) {
        buffer.MakeEmpty();
        return -1;
    }
    // The value may sit at any address inside a caller's record, so it is
    // copied out rather than read through a cast pointer.
    auto read = [data](auto& value) {
        std::memcpy(&value, data, sizeof value);
        return value;
    };
    switch (kind) {
    case XMLPDT_STRING: return SaveTxt2XML(buffer, static_cast<const std::string*>(data)->c_str());
    case XMLPDT_TEXT: return SaveTxt2XML(buffer, static_cast<const char*>(data));
    case XMLPDT_INT8: { int8_t v; buffer.Format("%d", read(v)); break; }
    case XMLPDT_INT16: { int16_t v; buffer.Format("%d", read(v)); break; }
    case XMLPDT_INT32: { int32_t v; buffer.Format("%d", read(v)); break; }
    case XMLPDT_INT64: { int64_t v; buffer.Format("%" PRId64, read(v)); break; }
    case XMLPDT_HEX32: { uint32_t v; buffer.Format("%08X", read(v)); break; }
    case XMLPDT_UINT8: { uint8_t v; buffer.Format("%u", read(v)); break; }
    case XMLPDT_UINT16: { uint16_t v; buffer.Format("%u", read(v)); break; }
    case XMLPDT_UINT32: { uint32_t v; buffer.Format("%u", read(v)); break; }
    case XMLPDT_UINT64: { uint64_t v; buffer.Format("%" PRIu64, read(v)); break; }
    case XMLPDT_FLOAT:
    case XMLPDT_DOUBLE: {
        double value;
        if (kind == XMLPDT_FLOAT) {
            float f;
            value = read(f);
        } else {
            read(value);
        }
        CTxt printed;
        printed.Format("%f", value);
        return SaveBTOASqueeze(buffer, printed);
    }
    case XMLPDT_BOOL8: { uint8_t v; return RenderTruth(buffer, read(v) != 0); }
    case XMLPDT_BOOL16: { uint16_t v; return RenderTruth(buffer, read(v) != 0); }
    case XMLPDT_BOOL32: { uint32_t v; return RenderTruth(buffer, read(v) != 0); }
    case XMLPDT_TRISTATE: {
        int32_t v;
        read(v);
        buffer = v > 0 ? "+" : v < 0 ? "-" : "?";
        break;
    }
    case XMLPDT_INT16X3: {
        int16_t v[3];
        read(v);
        buffer.Format("%d,%d,%d", v[0], v[1], v[2]);
        break;
    }
    case XMLPDT_UINT8X3: {
        uint8_t v[3];
        read(v);
        buffer.Format("%d,%d,%d", v[0], v[1], v[2]);
        break;
    }
    default:
        buffer.MakeEmpty();
        LogBox("Persist", "Persist: Data Type %d for %s needs to be implemented!", kind,
               name != nullptr ? name : "");
        return -1;
    }
    return buffer.GetLength();
}
