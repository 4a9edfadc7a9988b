#include "Core/Xml/CXML.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "Core/Xml/PlainNode.h"
#include "tests/Core/Xml/XmlTestSupport.h"
#include "tests/Support/TempDir.h"

namespace {

using zam::testing::BuildTree;
using zam::testing::EventLog;
using zam::testing::LogCapture;
using zam::testing::RecordingBoxes;
using zam::testing::TempDir;
using Events = std::vector<std::string>;

bool StartsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

// The message part of "ERROR#n:\n<message>\n\nLine ...".
std::string MessageOf(const char* recorded) {
    const std::string s = recorded != nullptr ? recorded : "";
    const size_t begin = s.find(":\n");
    const size_t end = s.rfind("\n\nLine ");
    if (begin == std::string::npos || end == std::string::npos || end < begin) return s;
    return s.substr(begin + 2, end - begin - 2);
}

class CXMLTest : public ::testing::Test {
protected:
    RecordingBoxes boxes;
    CXML xml;
    EventLog log;

    int Parse(const std::string& text, int flags = XMLFLG_NOERRBOX) {
        xml.SetFlg(XMLFLG_TEXT | flags);
        return xml.LoadFile(text.c_str(), EventLog::Handler, &log);
    }
    std::string Error(int i = 0) const { return MessageOf(xml.GetErrList().GetAtTxt(i)); }
    int ErrorCount() const { return xml.GetErrList().GetSize(); }
};

TEST_F(CXMLTest, EventsOfElementsAttributesAndEmptyTags) {
    EXPECT_EQ(Parse("<a><b x=\"1\"/></a>"), 0);
    EXPECT_EQ(log.Events, (Events{"0 a", "3 a", "2 a:", "0 b", "1 x=1", "3 b", "4 b", "2 a:", "4 a"}));

    log.Events.clear();
    EXPECT_EQ(Parse("<a><b/>text</a>"), 0);
    EXPECT_EQ(log.Events, (Events{"0 a", "3 a", "2 a:", "0 b", "4 b", "4 a"}));

    log.Events.clear();
    EXPECT_EQ(Parse("<a/>"), 0);
    EXPECT_EQ(log.Events, (Events{"0 a", "4 a"}));

    // "/>" after a blank ends like one after an attribute (content follows);
    // after a line break, like a closing tag (the text after it is not collected).
    log.Events.clear();
    EXPECT_EQ(Parse("<r><a />t</r>"), 0);
    EXPECT_EQ(log.Events, (Events{"0 r", "3 r", "2 r:", "0 a", "3 a", "4 a", "2 r:t", "4 r"}));
    log.Events.clear();
    EXPECT_EQ(Parse("<r><a\n/>t</r>"), 0);
    EXPECT_EQ(log.Events, (Events{"0 r", "3 r", "2 r:", "0 a", "3 a", "4 a", "4 r"}));
    EXPECT_EQ(ErrorCount(), 0);
}

TEST_F(CXMLTest, DeclarationsAndCommentsAreSkippedToTheirFirstGreaterThan) {
    EXPECT_EQ(Parse("<?xml version=\"1.0\"?><!-- c > d --><a>x</a>"), 0);
    EXPECT_EQ(log.Events,
              (Events{"0 ?xml", "3 ?xml", "0 !--", "3 !--", "0 a", "3 a", "2 a:x", "4 a"}));

    // Content is delivered in pieces around a comment.
    log.Events.clear();
    EXPECT_EQ(Parse("<a>x<!-- note -->y</a>"), 0);
    EXPECT_EQ(log.Events, (Events{"0 a", "3 a", "2 a:x", "0 !--", "3 !--", "2 a:y", "4 a"}));
}

TEST_F(CXMLTest, CommentsWithoutBlankAfterTheirNameAreSkippedToo) {
    EXPECT_EQ(Parse("<a><!--x--><b/></a>"), 0);
    EXPECT_EQ(ErrorCount(), 0);
    EXPECT_EQ(log.Events, (Events{"0 a", "3 a", "2 a:", "0 !--x--", "3 !--x--", "2 a:", "0 b", "4 b", "4 a"}));

    log.Events.clear();
    EXPECT_EQ(Parse("<!--\n  licence\n-->\n<a><?pi?></a>"), 0);
    EXPECT_EQ(ErrorCount(), 0);
    EXPECT_EQ(xml.GetLine(), 4);
}

TEST_F(CXMLTest, AttributeValuesQuotesEscapesAndEntities) {
    EXPECT_EQ(Parse("<a x='1\"2' y=\"a\\\"b\" z=\"&lt;&amp;&#x41;&gt;&apos;&quot;\"></a>"), 0);
    EXPECT_EQ(log.Events, (Events{"0 a", "1 x=1\"2", "1 y=a\\\"b", "1 z=<&A>'\"", "3 a", "2 a:", "4 a"}));

    // An attribute not preceded by a blank is passed over.
    log.Events.clear();
    EXPECT_EQ(Parse("<a x=\"1\"y=\"2\"/>"), 0);
    EXPECT_EQ(log.Events, (Events{"0 a", "1 x=1", "3 a", "4 a"}));

    // One that starts a line is read.
    log.Events.clear();
    EXPECT_EQ(Parse("<a\nx=\"1\"\r\ny=\"2\"/>"), 0);
    EXPECT_EQ(log.Events, (Events{"0 a", "1 x=1", "1 y=2", "3 a", "4 a"}));
}

TEST_F(CXMLTest, ContentKeepsLineEndsAndDecodesEntities) {
    EXPECT_EQ(Parse("<a>x\r\ny</a>"), 0);
    EXPECT_EQ(log.Events[2], "2 a:x\r\ny");

    // Unknown entities lose '&' and the next character; decimal references too.
    log.Events.clear();
    EXPECT_EQ(Parse("<a>&lt;&#x41;&nbsp;&#65;</a>"), 0);
    EXPECT_EQ(log.Events[2], "2 a:<Absp;65;");

    // A reference to code 0 gives nothing rather than cutting the text.
    log.Events.clear();
    EXPECT_EQ(Parse("<a>x&#x00;y&#x4 z</a>"), 0);
    EXPECT_EQ(log.Events[2], "2 a:xy@");

    // Entities cut short by the end of the text never read past it.
    for (const char* cut : {"<a>&", "<a>&#x", "<a>&#x4", "<a x=\"&#x4"}) {
        log.Events.clear();
        EXPECT_EQ(Parse(cut), -103) << cut;
    }
}

TEST_F(CXMLTest, SyntaxErrorsRecordTheirMessageAndStop) {
    const struct {
        const char* Text;
        const char* Message;
    } cases[] = {
        {"<a x = \"1\">", "Attribute contains invalid character ' ' in 'x = \"1\">'"},
        {"<a></b>", "Closing Tag mismatch, expected 'a' in '</b>'"},
        {"<>", "Missing tag in '<>'"},
        {"<a></>", "Missing tag in '</>'"},
        {"<-a>", "Tag contains invalid character '-' in '<-a>'"},
        {"<a/b>", "Invalid character 'b' after tag closing slash in '<a/b>'"},
        {"</a>", "Closing Tag has no parent in '</a>'"},
        {"<a x=1>", "Value is missing opening quote, found '1' in 'x=1>'"},
        {"<a x=\"1", "Value for attribute 'x' is  missing closing quote"},
        {"<a x", "Value for attribute 'x' is  missing closing quote"},
        {"<a x=\"1\"/b>", "Invalid character 'b' after tag closing slash in '/b>'"},
        {"<a\n/b>", "Invalid character 'b' after tag closing slash in '/b>'"},
        {"<a>", "Tag not closed: a"},
        {"<a><b>", "2 Tag(s) not closed:\na, b"},
    };
    // A tag still open when the scan stops is reported after the error itself.
    for (const auto& c : cases) {
        log.Events.clear();
        EXPECT_EQ(Parse(c.Text), -103) << c.Text;
        ASSERT_GE(ErrorCount(), 1) << c.Text;
        EXPECT_EQ(Error(), c.Message) << c.Text;
    }
    EXPECT_EQ(Parse("<a></b>"), -103);
    ASSERT_EQ(ErrorCount(), 2);
    EXPECT_EQ(Error(1), "Tag not closed: a");
    EXPECT_EQ(Parse("<a/b>"), -103);
    EXPECT_EQ(ErrorCount(), 1);
    EXPECT_EQ(Parse("<A></a>"), 0);

    // The excerpt shows at most 50 characters from where the token began.
    EXPECT_EQ(Parse("<a></" + std::string(80, 'b') + ">"), -103);
    EXPECT_EQ(Error(), "Closing Tag mismatch, expected 'a' in '</" + std::string(48, 'b') + "'");
}

TEST_F(CXMLTest, MessagesCarryNumberLineColumnAndFile) {
    TempDir dir;
    dir.Write("bad.xml", "<a>\n  <b x=\"1\">\n</a>");
    xml.SetFlg(XMLFLG_NOERRBOX);
    EXPECT_EQ(xml.LoadFile(dir.File("bad.xml").c_str(), EventLog::Handler, &log), -103);
    ASSERT_EQ(ErrorCount(), 2);
    EXPECT_STREQ(xml.GetErrList().GetAtTxt(0),
                 ("ERROR#1:\nClosing Tag mismatch, expected 'b' in '</a>'\n\nLine 3, Column 4\nFile " +
                  dir.File("bad.xml"))
                     .c_str());
    EXPECT_EQ(MessageOf(xml.GetErrList().GetAtTxt(1)), "2 Tag(s) not closed:\na, b");
    EXPECT_EQ(std::string(xml.GetErrList().GetAtTxt(1)).substr(0, 9), "ERROR#2:\n");

    // In text mode the file name gives the length and the address.
    Parse("<a/>   ");
    EXPECT_TRUE(std::regex_match(xml.GetFileName(), std::regex(R"(\(7 Bytes RAM, [0-9A-F]{16}\))")))
        << xml.GetFileName();

    // A text read from a file by its caller is named after that file, in every message.
    xml.SetTextName("/data/Kronalt.xml");
    EXPECT_EQ(Parse("<a>\n<b></a>"), -103);
    EXPECT_EQ(xml.GetFileName(), std::string("/data/Kronalt.xml"));
    EXPECT_NE(std::string(xml.GetErrList().GetAtTxt(0)).find("\nFile /data/Kronalt.xml"), std::string::npos);
}

TEST_F(CXMLTest, LimitsAreRefusedNeverOverrun) {
    EXPECT_EQ(Parse("<" + std::string(64, 't') + "/>"), 0);
    EXPECT_EQ(Parse("<" + std::string(65, 't') + "/>"), -103);
    EXPECT_EQ(Error(), "Tagname '" + std::string(65, 't') + "' is too long (max 64)");
    // A huge name is shown cut in the message, still refused.
    EXPECT_EQ(Parse("<" + std::string(5000, 't') + "/>"), -103);
    EXPECT_LT(Error().size(), 200u);

    std::string deep, close;
    for (int i = 0; i < 20; ++i) deep += "<t>", close += "</t>";
    EXPECT_EQ(Parse(deep + close), 0);
    EXPECT_EQ(Parse(deep + "<u>" + close), -103);
    EXPECT_EQ(Error(), "Too many nested tags in 'u' (max depth 20)");

    log.Events.clear();
    EXPECT_EQ(Parse("<a " + std::string(63, 'n') + "=\"v\"/>"), 0);
    EXPECT_EQ(log.Events[1], "1 " + std::string(63, 'n') + "=v");
    EXPECT_EQ(Parse("<a " + std::string(64, 'n') + "=\"v\"/>"), -103);
    EXPECT_TRUE(StartsWith(Error(), "Attribute name longer than 63 characters in 'nnn")) << Error();

    const std::string fits(99999, 'v'), over(100000, 'v');
    log.Events.clear();
    EXPECT_EQ(Parse("<a n=\"" + fits + "\"/>"), 0);
    EXPECT_EQ(log.Events[1].size(), 4u + fits.size());
    EXPECT_EQ(Parse("<a n=\"" + over + "\"/>"), -103);
    EXPECT_TRUE(StartsWith(Error(), "Attribute value longer than 99999 characters in 'n=\"vvv"))
        << Error();
    EXPECT_EQ(Parse("<a n=\"" + std::string(99998, 'v') + "&lt;&lt;\"/>"), -103);

    log.Events.clear();
    EXPECT_EQ(Parse("<a>" + fits + "</a>"), 0);
    EXPECT_EQ(log.Events[2].size(), 4u + fits.size());
    EXPECT_EQ(Parse("<a>" + over + "</a>"), -103);
    EXPECT_TRUE(StartsWith(Error(), "Content longer than 99999 characters in 'vvv")) << Error();
    EXPECT_EQ(Parse("<a>" + fits + "\n</a>"), -103);
}

// "Line l, Column c" of the character after the one at index at, counted by hand.
std::string PlaceAfter(const std::string& text, size_t at) {
    int line = 1;
    size_t lineStart = 0;
    for (size_t i = 0; i <= at; ++i) {
        if (text[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    return "Line " + std::to_string(line) + ", Column " + std::to_string(at + 1 - lineStart);
}

std::string PlaceOf(const char* recorded) {
    const std::string s = recorded != nullptr ? recorded : "";
    const size_t begin = s.find("Line ");
    return s.substr(begin, s.find('\n', begin) - begin);
}

// Runs of text, blanks and newlines that end at every place around the
// sixteen-byte steps of the wide scan, in content, between tags and at the
// end of the document.
TEST_F(CXMLTest, LinesAndColumnsStayExactWhereverARunEnds) {
    for (int pad = 0; pad < 40; ++pad) {
        std::string filler;
        for (int i = 0; i < pad; ++i) filler += (i % 7 == 3) ? '\n' : (i % 2 ? ' ' : 'w');
        // In content: the data event stands just after the '<' that ends it.
        const std::string content = "<a>" + filler + "x&amp;\n" + filler + "</a>";
        log.Events.clear();
        ASSERT_EQ(Parse(content), 0);
        ASSERT_EQ(log.Events[2], "2 a:" + filler + "x&\n" + filler);
        // Between tags: the mismatch is reported after the closing name.
        const std::string between = "<a><b></b>" + filler + "\n" + filler + "</c>";
        ASSERT_EQ(Parse(between), -103);
        EXPECT_EQ(PlaceOf(xml.GetErrList().GetAtTxt(0)), PlaceAfter(between, between.size() - 1)) << pad;
        // A document that ends inside a run: the open tag is named at the end.
        const std::string open = "<a>" + filler + "\n" + filler;
        ASSERT_EQ(Parse(open), -103);
        EXPECT_EQ(Error(), "Tag not closed: a");
        EXPECT_EQ(PlaceOf(xml.GetErrList().GetAtTxt(0)), PlaceAfter(open, open.size() - 1)) << pad;
    }
}

// Every event with the place the scanner gives for it, the result, and the
// messages: what every path must report exactly as the byte loop does.
int RecordWithPlace(CXML* xml, void* user) {
    const XML_TAGITEM* item = xml->GetCurrTag();
    *static_cast<std::string*>(user) += std::to_string(static_cast<int>(xml->GetXMLEvent())) + ' ' +
                                        std::to_string(xml->GetLine()) + ':' + std::to_string(xml->GetCol()) +
                                        ' ' + (item != nullptr ? item->Name : "") + '|' + xml->GetAttrID() +
                                        '|' + xml->GetAttrTxt() + '\n';
    return 0;
}

std::string ScanOnPath(const std::string& text, zam::platform::VectorLevel level) {
    zam::testing::ScopedVectorLevel path(level);
    CXML xml;
    xml.SetFlg(XMLFLG_TEXT | XMLFLG_NOERRBOX);
    std::string events;
    const int result = xml.LoadFile(text.c_str(), RecordWithPlace, &events);
    events += "result " + std::to_string(result) + " at " + std::to_string(xml.GetLine()) + ':' +
              std::to_string(xml.GetCol()) + '\n';
    for (int i = 0; i < xml.GetErrList().GetSize(); ++i) events += xml.GetErrList().GetAtTxt(i);
    return events;
}

// Attributes whose name, '=', quotes, value, entity, escape, other quote or
// line end fall at every place around the thirty-two bytes an attribute is
// first looked at in, on a line of their own or after one blank, and the
// same documents cut short inside them: every path reports what the byte
// loop reports, line and column included.
TEST(CXMLPathsTest, AttributesGiveTheByteLoopsEventsWhereverTheirPartsFall) {
    const auto levels = zam::testing::VectorLevels();
    const std::vector<std::string> specials = {"", "&amp;", "\\\"", "'", "\n", "&#x41;", "\t"};
    int compared = 0;
    for (size_t nameLength = 1; nameLength <= 40; nameLength += 3) {
        for (size_t valueLength = 0; valueLength <= 40; ++valueLength) {
            for (size_t s = 0; s < specials.size(); ++s) {
                const std::string name = std::string(nameLength - 1, 'n') + ":";
                std::string value(valueLength, 'v');
                value.insert(valueLength / 2, specials[s]);
                const char quote = (valueLength + s) % 2 ? '"' : '\'';
                const std::string lead = valueLength % 3 ? " " : "\n" + std::string(valueLength % 13, ' ');
                const std::string text = "<r>\n  <e a=\"1\"" + lead + name + "=" + quote + value + quote +
                                         " b='2'/>\n</r>";
                const std::string reference = ScanOnPath(text, zam::platform::VectorLevel::Bytes);
                for (const auto level : levels) {
                    ASSERT_EQ(ScanOnPath(text, level), reference) << static_cast<int>(level) << "\n" << text;
                }
                ++compared;
                if (s != 0 || nameLength % 9 != 1) continue;
                for (size_t cut = 12; cut < text.size(); ++cut) {
                    const std::string shortened = text.substr(0, cut);
                    const std::string shortReference = ScanOnPath(shortened, zam::platform::VectorLevel::Bytes);
                    for (const auto level : levels) {
                        ASSERT_EQ(ScanOnPath(shortened, level), shortReference) << shortened;
                    }
                }
            }
        }
    }
    EXPECT_GT(compared, 3000);
}

// Content and the blanks after a closing tag, of every length around the
// thirty-two bytes a run is first looked at in, each followed by an opening,
// closing, empty or declaration tag whose name may reach past the window,
// and the same documents cut short: every path reports what the byte loop
// reports, line and column included.
TEST(CXMLPathsTest, TagsAfterRunsGiveTheByteLoopsEventsWhereverTheyFall) {
    const auto levels = zam::testing::VectorLevels();
    const std::vector<std::string> runs = {"x", "\n ", " &lt;", "\t\n"};
    int compared = 0;
    for (size_t runLength = 0; runLength <= 40; ++runLength) {
        for (size_t nameLength = 1; nameLength <= 36; nameLength += 5) {
            for (size_t r = 0; r < runs.size(); ++r) {
                std::string run;
                while (run.size() < runLength) run += runs[r];
                run.resize(runLength);
                const std::string name = std::string(nameLength - 1, 't') + "9";
                const std::string text = "<r><a>" + run + "<" + name + " k='v'>" + run + "</" + name + ">" + run +
                                         "<" + name + "/>" + run + "<!-- c -->" + run + "</a>" + run + "<b/></r>";
                const std::string reference = ScanOnPath(text, zam::platform::VectorLevel::Bytes);
                for (const auto level : levels) {
                    ASSERT_EQ(ScanOnPath(text, level), reference) << static_cast<int>(level) << "\n" << text;
                }
                ++compared;
                if (r != 1 || nameLength % 10 != 1) continue;
                for (size_t cut = 3; cut < text.size(); cut += 2) {
                    const std::string shortened = text.substr(0, cut);
                    const std::string shortReference = ScanOnPath(shortened, zam::platform::VectorLevel::Bytes);
                    for (const auto level : levels) {
                        ASSERT_EQ(ScanOnPath(shortened, level), shortReference) << shortened;
                    }
                }
            }
        }
    }
    EXPECT_GT(compared, 1000);
}

TEST_F(CXMLTest, ContentTooLongIsRefusedAtTheLineWhereItOverflows) {
    // 99,990 characters fit; of the twenty newlines after them the tenth
    // is the first one too many.
    const std::string text = "<a>" + std::string(99990, 'v') + std::string(20, '\n') + "</a>";
    EXPECT_EQ(Parse(text), -103);
    EXPECT_TRUE(StartsWith(Error(), "Content longer than 99999 characters")) << Error();
    EXPECT_EQ(PlaceOf(xml.GetErrList().GetAtTxt(0)), "Line 10, Column 1");
}

TEST_F(CXMLTest, NegativeHandlerResultsStopTheScan) {
    log.FailAt = 0;
    log.FailWith = -7;
    EXPECT_EQ(Parse("<a><b/></a>"), -103);
    EXPECT_EQ(log.Events, (Events{"0 a"}));
    ASSERT_EQ(ErrorCount(), 1);
    EXPECT_EQ(Error(), "Tag not closed: a");

    // A content result is returned as it is, with nothing recorded.
    log.Events.clear();
    log.FailAt = 2;
    EXPECT_EQ(Parse("<a>x</a>"), -7);
    EXPECT_EQ(log.Events, (Events{"0 a", "3 a", "2 a:x"}));
    EXPECT_EQ(ErrorCount(), 0);

    // After an attribute's "/>", events 3 and 4 are still sent.
    log.Events.clear();
    log.FailAt = 4;
    EXPECT_EQ(Parse("<r><b x=\"1\"/><c/></r>"), -103);
    EXPECT_EQ(log.Events, (Events{"0 r", "3 r", "2 r:", "0 b", "1 x=1", "3 b", "4 b"}));
    EXPECT_EQ(Error(), "Tag not closed: r");

    // With every tag closed the handler's own result comes back.
    log.Events.clear();
    log.FailAt = 1;
    EXPECT_EQ(Parse("<a/><b/>"), -7);
    EXPECT_EQ(log.Events, (Events{"0 a", "4 a"}));
}

TEST_F(CXMLTest, HookModeStopsOnceNodeTopIsSet) {
    LogCapture capture;
    log.HookTag = "b";
    EXPECT_EQ(Parse("<a><b><c/></b>", XMLFLG_NOERRBOX | XMLFLG_HOOK), 0);
    EXPECT_EQ(log.Events, (Events{"0 a", "3 a", "2 a:", "0 b"}));
    EXPECT_EQ(ErrorCount(), 0);
    EXPECT_NE(xml.GetNodeTop(), nullptr);
    EXPECT_TRUE(capture.Contains("Exit after creating requested hook node"));

    // Without the flag node top is just the handler's pointer.
    log.Events.clear();
    EXPECT_EQ(Parse("<a><b><c/></b></a>"), 0);
    EXPECT_EQ(log.Events.size(), 10u);
}

TEST_F(CXMLTest, ProgressIsReportedAFewHundredTimesAtMost) {
    static std::vector<float> reports;
    static std::string names;
    reports.clear();
    xml.SetProgressFunc([](float percent, const char* name) {
        reports.push_back(percent);
        names = name;
        return 0;
    });
    const std::string doc = "<a>" + std::string(90000, 'x') + "</a>";
    EXPECT_EQ(Parse(doc), 0);
    ASSERT_GE(reports.size(), 3u);
    EXPECT_EQ(reports.front(), -1.0f);
    EXPECT_EQ(reports.back(), 200.0f);
    EXPECT_EQ(reports.size(), 2u + doc.size() / 450);  // step: length / 200
    for (size_t i = 2; i + 1 < reports.size(); ++i) EXPECT_GT(reports[i], reports[i - 1]);
    EXPECT_LE(reports[reports.size() - 2], 100.0f);
    EXPECT_EQ(names, xml.GetFileName());

    // Short documents: a step of 100 characters.
    reports.clear();
    EXPECT_EQ(Parse("<a>" + std::string(250, 'x') + "</a>"), 0);
    EXPECT_EQ(reports.size(), 4u);
    xml.SetProgressFunc(nullptr);
}

TEST_F(CXMLTest, FilesAreReadWholeAndFailuresGiveTheirCodes) {
    TempDir dir;
    dir.Write("ok.xml", "<a x=\"1\">t</a>");
    dir.Write("empty.xml", "");
    xml.SetFlg(0);
    EXPECT_EQ(xml.LoadFile(dir.File("ok.xml").c_str(), EventLog::Handler, &log), 0);
    EXPECT_EQ(log.Events, (Events{"0 a", "1 x=1", "3 a", "2 a:t", "4 a"}));
    EXPECT_EQ(xml.GetFileName(), dir.File("ok.xml"));

    EXPECT_EQ(xml.LoadFile(dir.File("none.xml").c_str(), nullptr, nullptr), -1);
    EXPECT_EQ(Error(), "LoadFile: File '" + dir.File("none.xml") + "' does not exist");
    // The earliest failures come before the parser is cleared: messages gather.
    EXPECT_EQ(xml.LoadFile(dir.File("empty.xml").c_str(), nullptr, nullptr), -5);
    EXPECT_EQ(ErrorCount(), 2);
    EXPECT_EQ(Error(1), "LoadFile: File '" + dir.File("empty.xml") + "' is empty");
    EXPECT_EQ(xml.LoadFile(nullptr, nullptr, nullptr), -1);

    // A folder cannot be opened as a file; this failure comes after clearing.
    EXPECT_EQ(xml.LoadFile(dir.Path().c_str(), nullptr, nullptr), -3);
    ASSERT_EQ(ErrorCount(), 1);
    EXPECT_EQ(Error(), "LoadFile: Cannot open file '" + dir.Path() + "' (Is a directory)");
    EXPECT_TRUE(boxes.Boxes.empty());

    // The scan stops at a zero byte, as at the end of the text.
    dir.Write("zero.xml", std::string("<a/>\0<b>", 8));
    EXPECT_EQ(xml.LoadFile(dir.File("zero.xml").c_str(), nullptr, nullptr), 0);

    const std::string folder = dir.File(std::string(200, 'd'));
    std::filesystem::create_directory(folder);
    const std::string longName = folder + "/" + std::string(100, 'n');
    dir.Write(std::string(200, 'd') + "/" + std::string(100, 'n'), "<a/>");
    EXPECT_EQ(xml.LoadFile(longName.c_str(), nullptr, nullptr), 0);
    EXPECT_EQ(xml.GetFileName(), longName.substr(0, 259));
}

TEST_F(CXMLTest, ErrorsAndWarningsAreShownInBoxesAsFlagsSay) {
    EXPECT_EQ(Parse("<a></b>", 0), -103);
    ASSERT_EQ(boxes.Boxes.size(), 2u);
    EXPECT_EQ(boxes.Boxes[0].Text, xml.GetErrList().GetAtTxt(0));
    EXPECT_EQ(boxes.Boxes[1].Text, xml.GetErrList().GetAtTxt(1));
    EXPECT_EQ(boxes.Boxes[0].Type & MB_TYPEMASK, MB_OK);

    boxes.Boxes.clear();
    EXPECT_EQ(Parse("<a></b>", XMLFLG_NOERRBOX), -103);
    EXPECT_TRUE(boxes.Boxes.empty());

    // A handler's warnings: shown with 0x0002, at most 12; not recorded with 0x0020.
    auto warner = [](CXML* x, void*) { return x->AddWarn("odd"), 0; };
    xml.SetFlg(XMLFLG_TEXT | XMLFLG_WARNBOX | XMLFLG_NOERRBOX);
    EXPECT_EQ(xml.LoadFile("<a><b x='1'/><b x='1'/><b x='1'/></a>", warner, nullptr), 0);
    EXPECT_EQ(xml.GetWarnList().GetSize(), 19);
    EXPECT_TRUE(StartsWith(xml.GetWarnList().GetAtTxt(0), "WARNING#1:\nodd\n\nLine 1, Column 2\nFile ("));
    EXPECT_TRUE(StartsWith(xml.GetWarnList().GetAtTxt(18), "WARNING#19:\nodd\n"));
    EXPECT_EQ(boxes.Boxes.size(), 12u);

    boxes.Boxes.clear();
    xml.SetFlg(XMLFLG_TEXT | XMLFLG_NOWARN);
    EXPECT_EQ(xml.LoadFile("<a/>", warner, nullptr), 0);
    EXPECT_EQ(xml.GetWarnList().GetSize(), 0);
    EXPECT_TRUE(boxes.Boxes.empty());
}

TEST_F(CXMLTest, TagStackOperations) {
    EXPECT_EQ(xml.GetCurrTag(), nullptr);
    XML_TAGITEM* a = xml.AddTag("a");
    XML_TAGITEM* b = xml.AddTag("b");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->Flags, 0x0001u);
    EXPECT_EQ(b->Flags, 0u);
    EXPECT_EQ(xml.GetDepth(), 2);
    EXPECT_EQ(xml.GetCurrTag(), b);
    EXPECT_EQ(xml.GetTag(1), a);
    EXPECT_EQ(xml.GetTag(2), nullptr);
    EXPECT_EQ(xml.GetTag(-1), nullptr);
    xml.CloseTag();
    EXPECT_EQ(xml.GetCurrTag(), a);
    xml.CloseTag();
    xml.CloseTag();
    EXPECT_EQ(xml.GetDepth(), 0);
    EXPECT_EQ(xml.GetCurrTag(), nullptr);

    xml.SetFlg(0x20);
    xml.SetNodeTop(&xml);
    xml.Clear();
    EXPECT_EQ(xml.GetFlg(), 0x20);
    EXPECT_EQ(xml.GetNodeTop(), nullptr);
}

TEST_F(CXMLTest, BuilderMakesATreeFromTheEvents) {
    RootPlainNode nodes;
    xml.SetFlg(XMLFLG_TEXT | XMLFLG_NOERRBOX);
    const char* doc =
        "<?xml version=\"1.0\"?>\n<Kronalt>\n  <SysDef><Title> Timer </Title></SysDef>\n"
        "  <CfgDef SectionName=\"SYS\" Size=\"50,60\">\n    <!-- groups -->\n"
        "    <Group Name=\"Main\"><Item Name=\"Length\" Type=\"Int\">Minutes</Item></Group>\n"
        "  </CfgDef>\n</Kronalt>\n";
    ASSERT_EQ(xml.LoadFile(doc, BuildTree, &nodes), 0);
    EXPECT_STREQ(nodes.GetTag(), "Kronalt");
    EXPECT_EQ(nodes.GetNumChildren(), 2);
    EXPECT_EQ(nodes.GetNumNode(), 5);
    PlainNode* title = nodes.FindTag("title");
    ASSERT_NE(title, nullptr);
    EXPECT_STREQ(title->GetContent(), " Timer ");
    PlainNode* cfg = nodes.FindTag("CfgDef");
    ASSERT_NE(cfg, nullptr);
    CTxt section;
    EXPECT_EQ(cfg->GetAttrText("sectionname", section), 3);
    EXPECT_STREQ(section, "SYS");
    PlainNode* item = nodes.FindTag("Item");
    ASSERT_NE(item, nullptr);
    EXPECT_STREQ(item->GetContent(), "Minutes");
    EXPECT_EQ(item->GetParent(), nodes.FindTag("Group"));
    EXPECT_EQ(nodes.GetNumDesc(), 5);
}

}  // namespace
