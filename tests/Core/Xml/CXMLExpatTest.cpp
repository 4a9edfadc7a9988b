// CXML against expat: on well-formed documents inside the scanner's subset,
// both report the same start tags, decoded attributes and end tags, in the
// same order. A set of our own documents must all be compared; every .xml
// file under /usr/share is compared too when it lies inside the subset, and
// skipped (never failed) when it does not.

#include <expat.h>
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "Core/Xml/CXML.h"
#include "tests/Core/Xml/XmlTestSupport.h"

namespace {

namespace fs = std::filesystem;
using Trace = std::vector<std::string>;

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           (c != '\0' && std::strchr("-._:", c) != nullptr);
}
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Attribute values as XML normalises them: line ends to LF, then every
// blank control to a space. Applied to both sides, since ours keeps them raw.
std::string Normalised(const std::string& value) {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        char c = value[i];
        if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') continue;
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
        out += c;
    }
    return out;
}

// What no parse can show: the features the subset leaves out, found in the raw
// text. Conservative: a false alarm only skips a document.
bool RawTextOutsideSubset(const std::string& doc) {
    if (doc.find('\0') != std::string::npos) return true;
    if (doc.find("<!DOCTYPE") != std::string::npos || doc.find("<![CDATA[") != std::string::npos)
        return true;
    // Character references: only "&#x" with two hex digits, a ';' and a code
    // below 0x80 (ours gives one byte, expat UTF-8).
    for (size_t at = doc.find("&#"); at != std::string::npos; at = doc.find("&#", at + 2)) {
        if (at + 6 > doc.size() || (doc[at + 2] != 'x' && doc[at + 2] != 'X')) return true;
        if (!IsHex(doc[at + 3]) || !IsHex(doc[at + 4]) || doc[at + 5] != ';') return true;
        if (std::stoi(doc.substr(at + 3, 2), nullptr, 16) >= 0x80) return true;
    }
    // Comments and declarations end at their first '>'.
    for (const auto& [open, close] : {std::pair<const char*, const char*>{"<!--", "-->"}, {"<?", "?>"}}) {
        for (size_t at = doc.find(open); at != std::string::npos; at = doc.find(open, at + 1)) {
            const size_t end = doc.find(close, at + 2);
            if (end == std::string::npos) return true;
            if (doc.find('>', at) < end + std::strlen(close) - 1) return true;
        }
    }
    // A backslash before a quote would escape a closing quote here.
    if (doc.find("\\\"") != std::string::npos || doc.find("\\'") != std::string::npos) return true;
    // Blanks around '=' in an attribute.
    for (size_t at = doc.find('='); at != std::string::npos; at = doc.find('=', at + 1)) {
        size_t before = at;
        while (before > 0 && IsSpace(doc[before - 1])) --before;
        size_t after = at + 1;
        while (after < doc.size() && IsSpace(doc[after])) ++after;
        const bool quoted = after < doc.size() && (doc[after] == '"' || doc[after] == '\'');
        if (quoted && (before != at || after != at + 1) && before > 0 && IsNameChar(doc[before - 1]))
            return true;
    }
    // Bytes of another encoding than UTF-8 would be converted by expat.
    const size_t decl = doc.find("encoding=");
    if (decl != std::string::npos && decl < 200 && decl + 10 <= doc.size()) {
        std::string enc = doc.substr(decl + 10, 8);
        for (char& c : enc) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const bool utf8 = enc.rfind("utf-8", 0) == 0 || enc.rfind("us-ascii", 0) == 0;
        if (!utf8) {
            for (const char c : doc) {
                if (static_cast<unsigned char>(c) >= 0x80) return true;
            }
        }
    }
    return false;
}

struct ExpatRun {
    Trace Events;
    bool Outside = false;  // a name, a depth or a length beyond our limits
    int Depth = 0;
    size_t TextRun = 0;

    static bool NameFits(const char* name, size_t max, bool element) {
        const size_t n = std::strlen(name);
        if (n == 0 || n > max) return false;
        if (element && !std::isalnum(static_cast<unsigned char>(name[0]))) return false;
        for (size_t i = 0; i < n; ++i) {
            if (!IsNameChar(name[i])) return false;
        }
        return true;
    }
    static void XMLCALL Start(void* user, const XML_Char* name, const XML_Char** atts) {
        auto* run = static_cast<ExpatRun*>(user);
        run->TextRun = 0;
        // One level is kept for a comment or declaration inside the deepest element.
        if (++run->Depth > CXML::kMaxDepth - 1 || !NameFits(name, CXML::kMaxTagName, true))
            run->Outside = true;
        run->Events.push_back(std::string("S ") + name);
        for (int i = 0; atts[i] != nullptr; i += 2) {
            if (!NameFits(atts[i], CXML::kAttrIDSize - 1, false) || std::strlen(atts[i + 1]) > 99000)
                run->Outside = true;
            run->Events.push_back(std::string("A ") + atts[i] + "=" + Normalised(atts[i + 1]));
        }
    }
    static void XMLCALL End(void* user, const XML_Char* name) {
        auto* run = static_cast<ExpatRun*>(user);
        run->TextRun = 0;
        --run->Depth;
        run->Events.push_back(std::string("E ") + name);
    }
    static void XMLCALL Text(void* user, const XML_Char*, int len) {
        auto* run = static_cast<ExpatRun*>(user);
        run->TextRun += static_cast<size_t>(len);
        if (run->TextRun > 99000) run->Outside = true;
    }
    static void XMLCALL Markup(void* user, const XML_Char*) { static_cast<ExpatRun*>(user)->TextRun = 0; }
    static void XMLCALL Instruction(void* user, const XML_Char*, const XML_Char*) {
        static_cast<ExpatRun*>(user)->TextRun = 0;
    }
};

// The expat trace; false when expat refuses the document or it leaves our limits.
bool ExpatTrace(const std::string& doc, Trace& trace) {
    XML_Parser parser = XML_ParserCreate(nullptr);
    ExpatRun run;
    XML_SetUserData(parser, &run);
    XML_SetElementHandler(parser, ExpatRun::Start, ExpatRun::End);
    XML_SetCharacterDataHandler(parser, ExpatRun::Text);
    XML_SetCommentHandler(parser, ExpatRun::Markup);
    XML_SetProcessingInstructionHandler(parser, ExpatRun::Instruction);
    const bool ok = XML_Parse(parser, doc.data(), static_cast<int>(doc.size()), 1) == XML_STATUS_OK;
    XML_ParserFree(parser);
    trace = std::move(run.Events);
    return ok && !run.Outside;
}

int Record(CXML* xml, void* user) {
    auto* trace = static_cast<Trace*>(user);
    const XML_TAGITEM* item = xml->GetCurrTag();
    if (item == nullptr || item->Name[0] == '?' || item->Name[0] == '!') return 0;
    switch (xml->GetXMLEvent()) {
    case XML_OPENTAG:
        trace->push_back(std::string("S ") + item->Name);
        break;
    case XML_NEWATTR:
        trace->push_back(std::string("A ") + xml->GetAttrID() + "=" + Normalised(xml->GetAttrTxt()));
        break;
    case XML_CLOSETAG:
        trace->push_back(std::string("E ") + item->Name);
        break;
    default:
        break;
    }
    return 0;
}

enum class Outcome { Skipped, Same, Different };

Outcome Compare(const std::string& doc, const std::string& label) {
    Trace expected, ours;
    if (RawTextOutsideSubset(doc) || !ExpatTrace(doc, expected)) return Outcome::Skipped;
    CXML xml;
    xml.SetFlg(XMLFLG_TEXT | XMLFLG_NOERRBOX);
    const int result = xml.LoadFile(doc.c_str(), Record, &ours);
    EXPECT_EQ(result, 0) << label << "\n" << xml.GetErrList().GetAtTxt(0);
    size_t i = 0;
    while (i < expected.size() && i < ours.size() && expected[i] == ours[i]) ++i;
    if (result == 0 && i == expected.size() && i == ours.size()) return Outcome::Same;
    ADD_FAILURE() << label << ": first difference at event " << i << ": expat '"
                  << (i < expected.size() ? expected[i] : "(end)") << "', ours '"
                  << (i < ours.size() ? ours[i] : "(end)") << "'";
    return Outcome::Different;
}

TEST(CXMLExpatTest, OwnDocumentsGiveTheSameEvents) {
    std::string deep;
    for (int i = 0; i < 19; ++i) deep += "<level" + std::to_string(i) + " n='" + std::to_string(i) + "'>";
    for (int i = 18; i >= 0; --i) deep += "</level" + std::to_string(i) + ">";
    const std::vector<std::string> docs = {
        "<a/>",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n  <item id=\"1\" name='one'/>\n"
        "  <item id=\"2\">text</item>\n</root>\n",
        "<r a=\"&lt;&gt;&amp;&apos;&quot;\" b='say \"hi\"' c=\"it's\" d=\"&#x41;&#x7A;&#x20;\">"
        "x &lt; y &amp;&amp; z</r>",
        "<!-- leading comment --><r><!--inside--><?pi data?><e/><!--\nmulti\nline\n--></r>",
        "<r\n  x=\"1\"\n\ty=\"2\"\r\nz=\"3\"\n/>",
        "<ns:r xmlns:ns=\"urn:x\" xml:lang=\"en\"><ns:a-b.c_d e-f=\"1\"/></ns:r >",
        "<r>\xC3\xA9t\xC3\xA9 <w v=\"caf\xC3\xA9 \xE2\x82\xAC\"/></r>",
        "<r a=\"x>y/z\" b=\"p&#x0A;q\" c=\"tab\there\"><e\n/><f />\r\n</r\n>",
        "\xEF\xBB\xBF<r><e a='1'></e><e a='2'></e></r>",
        "<R><Mixed CASE=\"Case\">text<b>bold</b>more</Mixed></R>",
        "<r a=\"back\\slash\" b=\"C:\\dir\\file\">\\</r>",
        deep,
    };
    // On every path the scan can take, the byte loop included.
    for (const auto level : zam::testing::VectorLevels()) {
        const zam::testing::ScopedVectorLevel path(level);
        for (size_t i = 0; i < docs.size(); ++i) {
            EXPECT_EQ(Compare(docs[i], "own document " + std::to_string(i) + " on path " +
                                           std::to_string(static_cast<int>(level))),
                      Outcome::Same)
                << docs[i];
        }
    }
}

TEST(CXMLExpatTest, DocumentsOutsideTheSubsetAreSkipped) {
    for (const char* doc : {
             "<!DOCTYPE r><r/>",
             "<r><![CDATA[<x>]]></r>",
             "<r a=\"&#65;\"/>",
             "<r a=\"&#x9;\"/>",
             "<r a=\"&#xE9;\"/>",
             "<r a = \"1\"/>",
             "<r><!-- a > b --></r>",
             "<_r/>",
             "<r a='x\\'/>",
             "<r>&nbsp;</r>",
             "<r>",
         }) {
        EXPECT_EQ(Compare(doc, doc), Outcome::Skipped) << doc;
    }
}

TEST(CXMLExpatTest, SystemXmlFilesGiveTheSameEvents) {
    int compared = 0, skipped = 0;
    const auto levels = zam::testing::VectorLevels();
    std::error_code ec;
    const auto options = fs::directory_options::skip_permission_denied;
    for (fs::recursive_directory_iterator it("/usr/share", options, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (it->path().extension() != ".xml" || !it->is_regular_file(ec)) continue;
        if (it->file_size(ec) > 16u * 1024 * 1024 || ec) continue;
        std::ifstream in(it->path(), std::ios::binary);
        const std::string doc((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        // The paths take turns, so each meets a share of the files and the
        // test takes no longer than with one.
        const zam::testing::ScopedVectorLevel path(levels[static_cast<size_t>(compared + skipped) % levels.size()]);
        const Outcome outcome = Compare(doc, it->path().string());
        if (outcome == Outcome::Skipped) {
            ++skipped;
        } else {
            ++compared;
        }
    }
    ::testing::Test::RecordProperty("compared", compared);
    ::testing::Test::RecordProperty("skipped", skipped);
    std::cout << "[ expat    ] /usr/share: " << compared << " documents compared, " << skipped
              << " outside the subset\n";
}

}  // namespace
