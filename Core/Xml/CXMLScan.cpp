// CXML's scan: one pass over the document, character classes from a table,
// runs of ordinary characters found sixteen bytes at a time and copied in one
// piece. Nothing is allocated while scanning; line and column are kept from
// the start of the current line, so the hot loops only move a pointer.

#include <cstdarg>
#include <cstdint>
#include <cstring>

#include "Core/System/Log.h"
#include "Core/System/Profile.h"
#include "Core/Text/CTxt.h"
#include "Core/Text/TextFunc.h"
#include "Core/Xml/CXML.h"
#include "Core/Xml/XmlWideScan.h"

namespace {

const int kSyntaxError = -103;

// A tag name longer than this is shown cut in messages; it is refused either
// way, so the message only has to show that it is too long.
const size_t kNameCopy = 101;

enum : unsigned char {
    kName = 0x01,         // letters and "-._0123456789:"
    kTag = 0x02,          // kName and "/?!"
    kTagFirst = 0x04,     // letters, digits, '?' and '!'
    kContentStop = 0x08,  // '\0' '<' '&' '\n'
    kValueStop = 0x10,    // '\0' '&' '\\' '\n' '"' '\''
    kIdleStop = 0x20,     // '\0' '<' '>' '\n'
    kInTagStop = 0x40,    // kIdleStop and ' ' '\t' '\r' '/'
    kSkipStop = 0x80,     // '\0' '>' '\n'
};

struct CharClasses {
    unsigned char Of[256];
    constexpr CharClasses() : Of() {
        for (int c = 'a'; c <= 'z'; ++c) Of[c] |= kName | kTag | kTagFirst;
        for (int c = 'A'; c <= 'Z'; ++c) Of[c] |= kName | kTag | kTagFirst;
        for (int c = '0'; c <= '9'; ++c) Of[c] |= kName | kTag | kTagFirst;
        Of[static_cast<unsigned char>('-')] |= kName | kTag;
        Of[static_cast<unsigned char>('.')] |= kName | kTag;
        Of[static_cast<unsigned char>('_')] |= kName | kTag;
        Of[static_cast<unsigned char>(':')] |= kName | kTag;
        Of[static_cast<unsigned char>('/')] |= kTag | kInTagStop;
        Of[static_cast<unsigned char>('?')] |= kTag | kTagFirst;
        Of[static_cast<unsigned char>('!')] |= kTag | kTagFirst;
        Of[0] |= kContentStop | kValueStop | kIdleStop | kInTagStop | kSkipStop;
        Of[static_cast<unsigned char>('<')] |= kContentStop | kIdleStop | kInTagStop;
        Of[static_cast<unsigned char>('>')] |= kIdleStop | kInTagStop | kSkipStop;
        Of[static_cast<unsigned char>('\n')] |= kContentStop | kValueStop | kIdleStop | kInTagStop | kSkipStop;
        Of[static_cast<unsigned char>('&')] |= kContentStop | kValueStop;
        Of[static_cast<unsigned char>('\\')] |= kValueStop;
        Of[static_cast<unsigned char>('"')] |= kValueStop;
        Of[static_cast<unsigned char>('\'')] |= kValueStop;
        Of[static_cast<unsigned char>(' ')] |= kInTagStop;
        Of[static_cast<unsigned char>('\t')] |= kInTagStop;
        Of[static_cast<unsigned char>('\r')] |= kInTagStop;
    }
};

constexpr CharClasses kClasses;

inline bool Is(char c, unsigned char cls) {
    return (kClasses.Of[static_cast<unsigned char>(c)] & cls) != 0;
}

using zam::xml::LinesPassed;

// Records a syntax error's message with the scanner's place.
__attribute__((noinline, cold, format(printf, 2, 3))) void SyntaxError(CXML& xml, const char* fmt, ...) {
    CTxt msg;
    va_list args;
    va_start(args, fmt);
    msg.FormatV(fmt, args);
    va_end(args);
    xml.AddErr(msg);
}

// How a scan ended, for what ScanText does after it.
struct ScanEnd {
    int Status;
    bool StoppedOnContent;  // the handler stopped it on content
};

}  // namespace

// The scan's moving parts on one path of XmlWideScan.h (the byte loop, SSE2,
// AVX2); the scanner's visible state stays in CXML. Hidden from the library's
// interface, so its calls are direct ones, not through the procedure linkage
// table a shared library's exported functions go through.
template <class Path>
struct __attribute__((visibility("hidden"))) CXML::Scan {
    CXML& X;
    const char* Base;
    // The wide loads stop short of this; the byte loops go on to the
    // terminator, which is here unless a text was cut to the int range.
    const char* End;
    const char* LineStart;
    XMLHandlerFunc Handler;
    void* User;
    int Status = 0;
    bool InTag = false;
    int TextLen = 0;               // characters in X.m_AttrTxt
    const char* ContentStart = nullptr;
    // Where the name of the tag at NameEndFor ends, when the run before it
    // found that too.
    const char* NameEndFor = nullptr;
    const char* NameEndAt = nullptr;

    Scan(CXML& x, const char* text, int length, XMLHandlerFunc handler, void* user)
        : X(x), Base(text), End(text + length), LineStart(text), Handler(handler), User(user) {}

    // next: the first character not yet consumed.
    void Sync(const char* next) {
        X.m_Col = static_cast<int>(next - LineStart);
        X.m_Pos = static_cast<int>(next - Base);
    }
    void NewLine(const char* next) {
        ++X.m_Line;
        LineStart = next;
    }
    void Passed(const LinesPassed& lines) {
        if (lines.Count == 0) return;
        X.m_Line += lines.Count;
        LineStart = lines.LastStart;
    }

    // The first of Stops from p on, newlines counted into lines.
    template <char... Stops>
    const char* RunEnd(const char* p, LinesPassed& lines) {
        p = Path::template FindStopCounting<Stops...>(p, End, lines);
        if (p >= End) {
            for (; !zam::xml::IsStop<Stops...>(*p); ++p) {
                if (*p == '\n') {
                    ++lines.Count;
                    lines.LastStart = p + 1;
                }
            }
        }
        return p;
    }
    // RunEnd of a run between tags; when it ends at a tag within its
    // window, the tag's name end is noted for Tag.
    template <char... Stops>
    const char* RunToTag(const char* p, LinesPassed& lines) {
        if constexpr (Path::kWindows) {
            if (End - p >= 32) {
                const zam::xml::RunMasks window = Path::template RunWindow<Stops...>(p);
                if (window.Stops == 0) {
                    Path::CountNewlines(window.Newlines, p, lines);
                    return RunEnd<Stops...>(p + 32, lines);
                }
                const int stop = __builtin_ctz(window.Stops);
                Path::CountNewlines(window.Newlines & ((1u << stop) - 1u), p, lines);
                if (p[stop] == '<') {
                    const int name = stop + (p[stop + 1] == '/' ? 2 : 1);
                    if (name < 32 && (~window.TagName >> name) != 0) {
                        NameEndFor = p + stop;
                        NameEndAt = p + name + __builtin_ctz(~window.TagName >> name);
                    }
                }
                return p + stop;
            }
        }
        return RunEnd<Stops...>(p, lines);
    }

    // The end of the name that starts at p.
    template <bool Tag>
    const char* NameEnd(const char* p) {
        p = Path::template FindNameEnd<Tag>(p, End);
        if (p >= End) {
            while (Is(*p, Tag ? kTag : kName)) ++p;
        }
        return p;
    }

    // The first of Stops from p on, where none of them is a newline.
    template <char... Stops>
    const char* RunEndInLine(const char* p) {
        p = Path::template FindStop<Stops...>(p, End);
        if (p >= End) {
            while (!zam::xml::IsStop<Stops...>(*p)) ++p;
        }
        return p;
    }

    void Call(XMLEvent event, const char* next) {
        X.m_Event = event;
        if (Handler == nullptr) return;
        Sync(next);
        const int r = Handler(&X, User);
        if (r < 0 && Status >= 0) Status = r;
    }

    // at: the offending character, counted in the column. Not variadic in
    // C's way: such a function is never inlined, and a call that takes the
    // scan's address makes the compiler keep every field of it in memory,
    // reloaded after each handler call, on the hot paths too.
    template <typename... Args>
    void Error(const char* at, const char* fmt, Args... args) {
        Sync(at + 1);
        SyntaxError(X, fmt, args...);
        Status = kSyntaxError;
    }

    void StartContent(const char* next) {
        X.m_Event = XML_DATA;
        X.m_AttrID[0] = '\0';
        X.m_AttrTxt[0] = '\0';
        TextLen = 0;
        ContentStart = next;
    }

    // Appends n characters to the value or content; refuses what would not fit.
    bool Append(const char* s, size_t n, const char* token, bool content) {
        if (n > static_cast<size_t>(kAttrTxtSize - 1 - TextLen)) {
            Error(s, content ? "Content longer than %d characters in '%-.50s'"
                             : "Attribute value longer than %d characters in '%-.50s'",
                  kAttrTxtSize - 1, token);
            return false;
        }
        std::memcpy(X.m_AttrTxt + TextLen, s, n);
        TextLen += static_cast<int>(n);
        return true;
    }

    // Copies the n characters of the document at run to the value or content
    // buffer, which has room for them. Most runs are short: one or two
    // sixteen-byte moves do those when the document and the buffer both have
    // the bytes there, cheaper than a call to memcpy.
    void CopyRun(const char* run, size_t n) {
        char* to = X.m_AttrTxt + TextLen;
        if (n <= 16 && End - run >= 16 && TextLen <= kAttrTxtSize - 16) {
            std::memcpy(to, run, 16);
        } else if (n <= 32 && End - run >= 32 && TextLen <= kAttrTxtSize - 32) {
            std::memcpy(to, run, 32);
        } else {
            std::memcpy(to, run, n);
        }
        TextLen += static_cast<int>(n);
    }

    // AddTag without the call: a name the document has sixty-four bytes
    // for is moved in fixed steps. Refusals go to AddTag, which words them.
    XML_TAGITEM* Push(const char* name, size_t n) {
        if (n > static_cast<size_t>(kMaxTagName) || X.m_Depth >= kMaxDepth) return X.AddTag(name, n);
        XML_TAGITEM& item = X.m_Tags[X.m_Depth];
        if (n <= 16 && End - name >= 16) {
            std::memcpy(item.Name, name, 16);
        } else if (End - name >= kMaxTagName) {
            std::memcpy(item.Name, name, kMaxTagName);
        } else {
            std::memcpy(item.Name, name, n);
        }
        item.Name[n] = '\0';
        item.Node = nullptr;
        item.Parent = nullptr;
        item.Flags = X.m_Depth == 0 ? 0x0001 : 0;
        ++X.m_Depth;
        X.m_CurrTag = item.Name;
        return &item;
    }

    // CloseTag without the call.
    void Pop() {
        if (X.m_Depth > kMaxDepth) X.m_Depth = kMaxDepth;
        if (X.m_Depth <= 0) return;
        XML_TAGITEM& item = X.m_Tags[X.m_Depth - 1];
        item.Name[0] = '\0';
        item.Node = nullptr;
        item.Parent = nullptr;
        item.Flags = 0;
        --X.m_Depth;
        X.m_CurrTag = X.m_Depth > 0 ? X.m_Tags[X.m_Depth - 1].Name : nullptr;
    }

    // Whether the n characters at name, which need no terminator, are the
    // open tag's name exactly. Most names are shorter than sixteen: one
    // compare of sixteen bytes (the tag item has them) decides those.
    bool SameName(const XML_TAGITEM& open, const char* name, size_t n) const {
        if (n > static_cast<size_t>(kMaxTagName)) return false;
#if defined(__SSE2__)
        if (Path::kWindows && n < 16 && End - name >= 16) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(open.Name));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(name));
            const unsigned differ = ~static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(a, b)));
            return (differ & ((1u << n) - 1u)) == 0 && open.Name[n] == '\0';
        }
#endif
        return std::memcmp(open.Name, name, n) == 0 && open.Name[n] == '\0';
    }

    // The first '/' of the n characters at name, or null. The name usually
    // lies within sixteen bytes the document has: one compare for those.
    const char* FirstSlash(const char* name, size_t n) const {
#if defined(__SSE2__)
        if (Path::kWindows && n <= 16 && End - name >= 16) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(name));
            const unsigned slashes =
                static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8('/')))) &
                ((1u << n) - 1u);
            return slashes != 0 ? name + __builtin_ctz(slashes) : nullptr;
        }
#endif
        return static_cast<const char*>(std::memchr(name, '/', n));
    }

    // Append of a run of the document.
    bool AppendRun(const char* run, size_t n, const char* token, bool content) {
        if (n > static_cast<size_t>(kAttrTxtSize - 1 - TextLen)) return Append(run, n, token, content);
        CopyRun(run, n);
        return true;
    }

    // Moves over at most n characters, never past the terminator.
    const char* Skip(const char* p, int n) {
        for (; n > 0 && *p != '\0'; --n) {
            if (*p++ == '\n') NewLine(p);
        }
        return p;
    }

    // p stands on '&'. The named entities need their ';'; a reference takes the
    // two characters after "&#x" and assumes the ';'.
    const char* Entity(const char* p, const char* token, bool content) {
        const char* e = p + 1;
        char decoded = '\0';
        int consumed = 1;
        if (e[0] == '#' && (e[1] == 'x' || e[1] == 'X')) {
            char digits[3] = {'\0', '\0', '\0'};
            if (e[2] != '\0') {
                digits[0] = e[2];
                digits[1] = e[3];
            }
            // Code 0 would end the text the handler reads, so it gives nothing.
            decoded = static_cast<char>(HexPrefixToInt(digits) & 0xFF);
            consumed = 5;
        } else if (std::strncmp(e, "lt;", 3) == 0) {
            decoded = '<';
            consumed = 3;
        } else if (std::strncmp(e, "gt;", 3) == 0) {
            decoded = '>';
            consumed = 3;
        } else if (std::strncmp(e, "amp;", 4) == 0) {
            decoded = '&';
            consumed = 4;
        } else if (std::strncmp(e, "apos;", 5) == 0) {
            decoded = '\'';
            consumed = 5;
        } else if (std::strncmp(e, "quot;", 5) == 0) {
            decoded = '"';
            consumed = 5;
        }
        if (decoded != '\0' && !Append(&decoded, 1, token, content)) return p;
        return Skip(p, consumed + 1);
    }

    // Content mode: collects up to the next '<' or the end. Lines and all go
    // in one copy; a content too long for the buffer is taken line by line,
    // so that the refusal names the place it always named.
    const char* Content(const char* p) {
        for (;;) {
            const char* run = p;
            LinesPassed lines;
            p = RunToTag<'\0', '<', '&'>(p, lines);
            const size_t n = static_cast<size_t>(p - run);
            if (n > static_cast<size_t>(kAttrTxtSize - 1 - TextLen)) return ContentByLine(run);
            CopyRun(run, n);
            Passed(lines);
            if (*p != '&') {  // '<' or the end
                X.m_AttrTxt[TextLen] = '\0';
                return p;
            }
            p = Entity(p, ContentStart, true);
            if (Status < 0) return p;
        }
    }

    const char* ContentByLine(const char* p) {
        for (;;) {
            const char* run = p;
            while (!Is(*p, kContentStop)) ++p;
            if (p > run && !Append(run, static_cast<size_t>(p - run), ContentStart, true)) return p;
            switch (*p) {
            case '&':
                p = Entity(p, ContentStart, true);
                if (Status < 0) return p;
                break;
            case '\n':
                if (!Append(p, 1, ContentStart, true)) return p;
                ++p;
                NewLine(p);
                break;
            default:  // '<' or the end
                X.m_AttrTxt[TextLen] = '\0';
                return p;
            }
        }
    }

    // Pops the innermost tag for a closing or empty tag named name; p stands on
    // the character after the name, which is consumed.
    const char* CloseNamed(const char* token, const char* name, size_t n, const char* p) {
        XML_TAGITEM* current = X.GetCurrTag();
        if (current == nullptr) {
            Error(p, "Closing Tag has no parent in '%-.50s'", token);
            return p;
        }
        // Most closing tags repeat the name exactly; only the others need the
        // comparison without regard to case.
        bool same = SameName(*current, name, n);
        if (!same) {
            char copy[kNameCopy];
            std::memcpy(copy, name, n);
            copy[n] = '\0';
            same = stricmpmode(current->Name, copy, 1) == 0;
        }
        if (!same) {
            Error(p, "Closing Tag mismatch, expected '%s' in '%-.50s'", current->Name, token);
            return p;
        }
        p = Skip(p, 1);
        Call(XML_CLOSETAG, p);
        Pop();
        InTag = false;
        return p;
    }

    // p stands on '<'. The character that ends the name is left for the main loop.
    const char* Tag(const char* p) {
        const char* token = p++;
        InTag = true;
        const bool closing = *p == '/';
        if (closing) ++p;
        const char* name = p;
        p = token == NameEndFor ? NameEndAt : NameEnd<true>(p);
        size_t n = static_cast<size_t>(p - name);
        const char* slash = FirstSlash(name, n);
        if (n == 0) {
            Error(p, "Missing tag in '%-.50s'", token);
            return p;
        }
        if (!Is(*name, kTagFirst)) {
            Error(name, "Tag contains invalid character '%c' in '%-.50s'", *name, token);
            return p;
        }
        const bool empty = slash != nullptr;
        if (empty) {
            if (slash + 1 != p) {
                Error(slash + 1, "Invalid character '%c' after tag closing slash in '%-.50s'",
                      slash[1], token);
                return p;
            }
            --n;
        }
        if (n > kNameCopy - 1) n = kNameCopy - 1;
        if (!closing) {
            Sync(p);
            if (Push(name, n) == nullptr) {
                Status = kSyntaxError;
                return p;
            }
            Call(XML_OPENTAG, p);
            if (!empty) {
                // A blank after the name: the attributes, as the main loop
                // would start them, without the round through it.
                if ((*p == ' ' || *p == '\t') && Free() && InStartTag() && X.m_CurrTag[0] != '!' &&
                    X.m_CurrTag[0] != '?') {
                    return Attributes(p + 1);
                }
                return p;
            }
        }
        return CloseNamed(token, name, n, p);
    }

    // p stands on the '/' or '>' that ended attribute reading.
    const char* AfterAttribute(const char* p) {
        if (*p != '/') return p;
        const char* token = p;
        if (p[1] == '\0') return p + 1;  // the end-of-scan check names the open tag
        if (p[1] != '>') {
            Error(p + 1, "Invalid character '%c' after tag closing slash in '%-.50s'", p[1], token);
            return p + 1;
        }
        p += 2;
        if (X.GetCurrTag() == nullptr) {
            Error(p - 1, "Closing Tag has no parent in '%-.50s'", token);
            return p;
        }
        Call(XML_ENDTAG, p);
        Call(XML_CLOSETAG, p);
        Pop();
        InTag = false;
        StartContent(p);
        return p;
    }

    void MissingQuote(const char* at) {
        Error(at, "Value for attribute '%s' is  missing closing quote", X.m_AttrID);
    }

    // One attribute of a start tag; p stands after the blank that announced it.
    const char* Attribute(const char* p) {
        // Attributes on one line are mostly one blank apart, and that blank
        // is behind p already.
        if (zam::xml::IsBlank(*p)) {
            LinesPassed lines;
            p = Path::FindNonBlank(p, End, lines);
            if (p >= End) {
                for (; zam::xml::IsBlank(*p); ++p) {
                    if (*p == '\n') {
                        ++lines.Count;
                        lines.LastStart = p + 1;
                    }
                }
            }
            Passed(lines);
        }
        if (*p == '/' || *p == '>') return AfterAttribute(p);
        if (*p == '\0') return p;
        const char* token = p;
        if constexpr (Path::kWindows) {
            if (End - token >= 32) {
                const zam::xml::AttributeMasks window = Path::AttributeWindow(token);
                const unsigned others = ~window.Name;
                if (others == 0) {
                    p = NameEnd<false>(token + 32);
                } else {
                    p = token + __builtin_ctz(others);
                    // Most attributes are name="value" with nothing to decode,
                    // all in the window: read in one piece.
                    const char* value = p + 2;
                    if (p[0] == '=' && (p[1] == '"' || p[1] == '\'') && value - token < 32) {
                        const unsigned stops = window.ValueStops >> (value - token);
                        const char* close = value + (stops != 0 ? __builtin_ctz(stops) : 0);
                        if (stops != 0 && *close == p[1]) return WholeAttribute(token, p, value, close);
                    }
                }
            } else {
                p = NameEnd<false>(p);
            }
        } else {
            p = NameEnd<false>(p);
        }
        const size_t n = static_cast<size_t>(p - token);
        if (n > static_cast<size_t>(kAttrIDSize - 1)) {
            std::memcpy(X.m_AttrID, token, kAttrIDSize - 1);
            X.m_AttrID[kAttrIDSize - 1] = '\0';
            Error(token + kAttrIDSize - 1, "Attribute name longer than %d characters in '%-.50s'",
                  kAttrIDSize - 1, token);
            return token + kAttrIDSize - 1;
        }
        // Names fit the buffer's first sixteen bytes mostly: one move for those.
        if (n <= 16 && End - token >= 16) {
            std::memcpy(X.m_AttrID, token, 16);
        } else {
            std::memcpy(X.m_AttrID, token, n);
        }
        X.m_AttrID[n] = '\0';
        if (*p == '\0') {
            MissingQuote(p);
            return p;
        }
        if (*p != '=') {
            Error(p, "Attribute contains invalid character '%c' in '%-.50s'", *p, token);
            return p;
        }
        ++p;
        if (*p == '\0') {
            MissingQuote(p);
            return p;
        }
        if (*p != '"' && *p != '\'') {
            Error(p, "Value is missing opening quote, found '%c' in '%-.50s'", *p, token);
            return p;
        }
        const char quote = *p++;
        TextLen = 0;
        for (;;) {
            const char* run = p;
            p = RunEndInLine<'\0', '&', '\\', '\n', '"', '\''>(p);
            if (p > run && !AppendRun(run, static_cast<size_t>(p - run), token, false)) return p;
            const char c = *p;
            if (c == quote) {
                ++p;
                break;
            }
            if (c == '\0') {
                X.m_AttrTxt[TextLen] = '\0';
                MissingQuote(p);
                return p;
            }
            if (c == '&') {
                p = Entity(p, token, false);
                if (Status < 0) return p;
                continue;
            }
            // A backslash escapes the next character, so \" never ends the value.
            const size_t take = (c == '\\' && p[1] != '\0') ? 2 : 1;
            if (!Append(p, take, token, false)) return p;
            p = Skip(p, static_cast<int>(take));
        }
        X.m_AttrTxt[TextLen] = '\0';
        Call(XML_NEWATTR, p);
        return AfterAttribute(p);
    }

    // Whether the main loop, between two of its steps, would only go on to
    // the next: nothing stopped the scan, no hook node ends it, and no
    // progress is reported. Then a step may take the next one itself.
    bool Free() const {
        return Status >= 0 && X.m_Progress == nullptr && !((X.m_Flags & XMLFLG_HOOK) && X.m_NodeTop != nullptr);
    }

    // An attribute found whole in the thirty-two bytes at token, which lie
    // before the end: its name ends at equals, its value runs from value to
    // the closing quote at close, with nothing to decode. As Attribute
    // would read it, with fixed moves instead of measured ones (both buffers
    // have the room).
    const char* WholeAttribute(const char* token, const char* equals, const char* value, const char* close) {
        const size_t n = static_cast<size_t>(equals - token);
        std::memcpy(X.m_AttrID, token, 32);
        X.m_AttrID[n] = '\0';
        const size_t length = static_cast<size_t>(close - value);
        if (End - value >= 32) {
            std::memcpy(X.m_AttrTxt, value, 32);
        } else {
            std::memcpy(X.m_AttrTxt, value, length);
        }
        TextLen = static_cast<int>(length);
        X.m_AttrTxt[length] = '\0';
        const char* p = close + 1;
        Call(XML_NEWATTR, p);
        return AfterAttribute(p);
    }

    // The attributes of a start tag one after the other, from where the main
    // loop calls Attribute, for as long as the main loop would only come
    // back to call it again: nothing stopped the scan, no progress is
    // reported, and the next attribute follows a blank, or a line end right
    // before a name or a blank; a '>' after them ends the start tag as the
    // main loop would. Anything else goes back to the main loop.
    const char* Attributes(const char* p) {
        for (;;) {
            p = Attribute(p);
            if (X.m_Event != XML_NEWATTR || !InStartTag() || !Free()) return p;
            const char c = *p;
            if (c == '>') return TagEnd(p);
            if (c == ' ' || c == '\t') {
                ++p;
            } else if ((c != '\n' && c != '\r') || !(Is(p[1], kName) || p[1] == ' ' || p[1] == '\t')) {
                return p;
            }
        }
    }

    // '/' inside a start tag, not right after an attribute.
    const char* SlashClose(const char* p) {
        const char* token = p++;
        Call(XML_ENDTAG, p);
        if (*p == '\0') return p;
        if (*p != '>') {
            Error(p, "Invalid character '%c' after tag closing slash in '%-.50s'", *p, token);
            return p;
        }
        ++p;
        Call(XML_CLOSETAG, p);
        Pop();
        InTag = false;
        return p;
    }

    // A "<?...>" or "<!...>" construct: skipped up to and including its first '>'.
    const char* SkipConstruct(const char* p) {
        LinesPassed lines;
        p = RunEnd<'\0', '>'>(p, lines);
        Passed(lines);
        if (*p == '>') ++p;
        Call(XML_ENDTAG, p);
        Pop();
        InTag = false;
        StartContent(p);
        return p;
    }

    // '>' outside content: the end of a start tag when a tag is current.
    const char* TagEnd(const char* p) {
        ++p;
        InTag = false;
        if (X.m_CurrTag != nullptr) {
            Call(XML_ENDTAG, p);
            StartContent(p);
        }
        return p;
    }

    // Outside any tag, everything but '<', '>' and the end passes unseen.
    const char* Idle(const char* p) {
        LinesPassed lines;
        p = RunToTag<'\0', '<', '>'>(p, lines);
        Passed(lines);
        return p;
    }

    bool InStartTag() const { return InTag && X.m_CurrTag != nullptr; }

    // The whole document, from its first character to where the scan ends.
    ScanEnd Run() {
        const int length = static_cast<int>(End - Base);
        // At most about 200 progress reports, however long the document.
        const int step = length / 200 < 100 ? 100 : length / 200;
        int64_t nextReport = step;
        // Reports every step passed since the last report: runs of characters are
        // consumed in one piece, and no report is lost or repeated for that.
        auto report = [&](const char* at) {
            for (; X.m_Progress != nullptr && at - Base >= nextReport; nextReport += step)
                X.m_Progress(static_cast<float>(nextReport) * 100.0f / static_cast<float>(length), X.m_FileName);
        };
        if (X.m_Progress != nullptr) X.m_Progress(-1.0f, X.m_FileName);

        const char* p = Base;
        bool stoppedOnContent = false;
        for (;;) {
            if (X.m_Event == XML_DATA) {
                p = Content(p);
                if (Status < 0 || *p == '\0') break;
                if (X.m_Depth >= 1 && Handler != nullptr) {
                    Sync(p + 1);
                    const int r = Handler(&X, User);
                    if (r < 0) {
                        Status = r;
                        stoppedOnContent = true;
                        break;
                    }
                }
                p = Tag(p);
            } else {
                const char c = *p;
                if (c == '\0') break;
                if (InStartTag() && X.m_Event == XML_OPENTAG && (X.m_CurrTag[0] == '!' || X.m_CurrTag[0] == '?')) {
                    // Whatever ends the name of a declaration or comment starts the skip,
                    // so "<!--x-->" and a comment opened at a line end are skipped too.
                    p = SkipConstruct(p);
                } else if (!InTag && c != '<' && c != '>') {
                    p = Idle(p);
                    // The tag after the blanks, as the next round would read it.
                    if (*p == '<' && Free()) p = Tag(p);
                } else {
                    switch (c) {
                    case '<':
                        p = Tag(p);
                        break;
                    case ' ':
                    case '\t':
                        p = InStartTag() ? Attributes(p + 1) : p + 1;
                        break;
                    case '\n':
                    case '\r':
                        // An attribute that starts a line is read too, not skipped.
                        if (c == '\n') NewLine(p + 1);
                        ++p;
                        if (InStartTag() && Is(*p, kName)) p = Attributes(p);
                        break;
                    case '/':
                        p = InStartTag() ? SlashClose(p) : p + 1;
                        break;
                    case '>':
                        p = TagEnd(p);
                        break;
                    default: {
                        const unsigned char stop = InTag ? kInTagStop : kIdleStop;
                        ++p;
                        while (!Is(*p, stop)) ++p;
                    }
                    }
                }
            }
            if (Status < 0) break;
            if ((X.m_Flags & XMLFLG_HOOK) && X.m_NodeTop != nullptr) {
                LogTrace("XML", 0, "Exit after creating requested hook node");
                break;
            }
            report(p);
        }
        Sync(p);
        report(p);
        return {Status, stoppedOnContent};
    }
};

int CXML::ScanText(const char* text, int length, XMLHandlerFunc handler, void* user,
                   char* ownedBuffer) {
    m_Line = 1;
    m_Col = 0;
    m_Pos = 0;
    // The scan is compiled once for each path, each with all of its steps
    // inline (flatten); the one for AVX2 as AVX2 code, which the other paths
    // never run.
    ScanEnd end;
#if defined(ZAM_XML_AVX2)
    if (zam::platform::ActiveVectorLevel() == zam::platform::VectorLevel::Avx2) {
        end = [&]() __attribute__((target("avx2"), flatten)) {
            return Scan<zam::xml::Avx2Path>(*this, text, length, handler, user).Run();
        }();
    } else
#endif
#if defined(__SSE2__)
    if (zam::platform::ActiveVectorLevel() != zam::platform::VectorLevel::Bytes) {
        end = [&]() __attribute__((flatten)) {
            return Scan<zam::xml::Sse2Path>(*this, text, length, handler, user).Run();
        }();
    } else
#endif
    {
        end = [&]() __attribute__((flatten)) {
            return Scan<zam::xml::BytePath>(*this, text, length, handler, user).Run();
        }();
    }
    int status = end.Status;

    if (m_Depth > 0 && !(m_Flags & XMLFLG_HOOK) && !end.StoppedOnContent) {
        CTxt msg;
        if (m_Depth == 1) {
            msg = "Tag not closed: ";
        } else {
            msg.Format("%d Tag(s) not closed:\n", m_Depth);
        }
        for (int i = 0; i < m_Depth && i < kMaxDepth; ++i) {
            if (i > 0) msg += ", ";
            msg += m_Tags[i].Name;
        }
        AddErr(msg);
        status = kSyntaxError;
    }
    Finish(ownedBuffer);
    return status;
}
