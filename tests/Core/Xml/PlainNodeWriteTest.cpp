#include "Core/Xml/PlainNode.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>

#include "tests/Core/Xml/XmlTestSupport.h"
#include "tests/Support/FakeClock.h"

namespace {

using zam::testing::BuildTree;
using zam::testing::FakeClock;
using zam::testing::LogCapture;
using zam::testing::RecordingBoxes;
using zam::testing::TempDir;

const std::string kHeader =
    "<!--- Date=\"20240305\" Time=\"140709\" Machine=\"TESTBOX\" -->\r\n";

PlainNode* Add(PlainNode* parent, const char* tag, const char* content = "") {
    PlainNode* node = parent->AddNode();
    node->SetTag(tag);
    node->SetContent(content);
    return node;
}

// A fixed clock and machine name, a scratch folder as the current folder.
class SaveXMLTest : public ::testing::Test {
protected:
    FakeClock clock{2024, 3, 5, 14, 7, 9};
    TempDir dir;
    RecordingBoxes boxes;
    RootPlainNode root;
    CTxt message;
    std::string previousDir;
    std::string previousDomain;
    bool hadDomain = false;

    void SetUp() override {
        const char* domain = getenv("USERDOMAIN");
        hadDomain = domain != nullptr;
        if (hadDomain) previousDomain = domain;
        setenv("USERDOMAIN", "TESTBOX", 1);
        char cwd[4096];
        previousDir = getcwd(cwd, sizeof cwd) != nullptr ? cwd : "/";
        ASSERT_EQ(chdir(dir.Path().c_str()), 0);
        root.SetRootPlain(&root);
        root.SetTag("top");
    }
    void TearDown() override {
        EXPECT_EQ(chdir(previousDir.c_str()), 0);
        if (hadDomain)
            setenv("USERDOMAIN", previousDomain.c_str(), 1);
        else
            unsetenv("USERDOMAIN");
    }
    int Save(int flags = 0, SAVE_INFO* info = nullptr) {
        return PlainNode::SaveXML("out.xml", message, &root, flags, info);
    }
    std::string Saved() const { return dir.Read("out.xml"); }
};

TEST_F(SaveXMLTest, LayoutIndentsNestsAndClosesEachKindOfNode) {
    PlainNode* a = Add(&root, "A", "first\r\nsecond");
    a->AddAttr("k", "v");
    a->AddAttr("", "unnamed attributes are left out");
    PlainNode* b = Add(&root, "B");
    Add(b, "C");
    Add(b, "D", "d");
    root.AddAttr("ver", "1");
    EXPECT_EQ(Save(), 5);
    EXPECT_EQ(Saved(), kHeader +
                           "<ROOT ver=\"1\">\r\n"
                           "   <A k=\"v\">first</A>\r\n"
                           "   <B>\r\n"
                           "      <C/>\r\n"
                           "      <D>d</D>\r\n"
                           "   </B>\r\n"
                           "</ROOT>\r\n");
}

TEST_F(SaveXMLTest, ValuesAndContentsAreEscapedAndEmptyTopStillPairs) {
    EXPECT_EQ(Save(), 1);
    EXPECT_EQ(Saved(), kHeader + "<ROOT>\r\n</ROOT>\r\n");

    PlainNode* item = Add(&root, "Item");
    item->AddAttr("Name", "a<b");
    // A backslash the scanner would pair with an escape or the closing quote
    // is written as a reference; the others stay.
    item->AddAttr("Path", "C:\\d\\<\\\\");
    Add(&root, "")->SetContent("\"x\" & 'y'\t");
    EXPECT_EQ(Save(), 3);
    EXPECT_EQ(Saved(), kHeader +
                           "<ROOT>\r\n"
                           "   <Item Name=\"a&lt;b\" Path=\"C:\\d&#x5C;&lt;\\\\\"/>\r\n"
                           "   <NOTAG>&quot;x&quot; &amp; &apos;y&apos;&#x09;</NOTAG>\r\n"
                           "</ROOT>\r\n");
    EXPECT_STREQ(root.GetChild(1)->GetTag(), "NOTAG");
}

TEST_F(SaveXMLTest, DepthLimitSkipListAndTrace) {
    PlainNode* a = Add(&root, "A");
    Add(Add(a, "A1"), "A11");
    Add(Add(&root, "Skip"), "Hidden");
    Add(&root, "Z", "z");

    SAVE_INFO info;
    info.DepthLimit = 1;
    info.SkipList.Add("skip");
    info.Flags = 0x02;
    LogCapture log;
    EXPECT_EQ(Save(0, &info), 3);
    EXPECT_EQ(Saved(), kHeader + "<ROOT>\r\n   <A>\r\n   </A>\r\n   <Z>z</Z>\r\n</ROOT>\r\n");
    EXPECT_TRUE(log.Contains("PersistSaveIt: [1] Z"));
    EXPECT_FALSE(log.Contains("Skip"));

    SAVE_INFO unlimited;
    unlimited.DepthLimit = -1;
    EXPECT_EQ(Save(0, &unlimited), 7);
    EXPECT_NE(Saved().find("         <A11/>\r\n"), std::string::npos);
}

TEST_F(SaveXMLTest, BackupCopyCountsTwiceAndFailuresAreReported) {
    Add(&root, "A");
    EXPECT_EQ(Save(0x10), 4);
    const std::string backup = "Backup/20240305_140709_out.xml";
    EXPECT_EQ(dir.Read(backup), Saved());
    EXPECT_TRUE(boxes.Boxes.empty());

    EXPECT_EQ(PlainNode::SaveXML("missing/x.xml", message, &root, 0), -2);
    EXPECT_EQ(std::string(message).rfind("Save: Cannot open file 'missing/x.xml' (", 0), 0u);
    EXPECT_TRUE(boxes.Boxes.empty());
    EXPECT_EQ(PlainNode::SaveXML("missing/x.xml", message, &root, 0x20), -2);
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Text, std::string(message));

    // The main file is written, but a backup folder that cannot be made fails the call.
    std::filesystem::remove_all(dir.File("Backup"));
    dir.Write("Backup", "a file in the way");
    EXPECT_EQ(Save(0x10), -2);
    EXPECT_NE(std::string(message).find("Backup/"), std::string::npos);
    EXPECT_EQ(Saved().substr(kHeader.size()), "<ROOT>\r\n   <A/>\r\n</ROOT>\r\n");
}

TEST_F(SaveXMLTest, OversizedNodeIsReportedAndCutAtTheBuffer) {
    const std::string big(PlainNode::kSaveBufferSize + 500, 'x');
    Add(&root, "Big", big.c_str());
    Add(&root, "After");
    EXPECT_EQ(Save(), 3);
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Caption, "Pesist");
    const int total = 8 + static_cast<int>(big.size());
    EXPECT_EQ(boxes.Boxes[0].Text,
              "Exceeded max Output buffer length of 100000 (" + std::to_string(total) + ")");
    const std::string cut = "   <Big>" + big.substr(0, PlainNode::kSaveBufferSize - 8);
    EXPECT_EQ(Saved(), kHeader + "<ROOT>\r\n" + cut + "</Big>\r\n   <After/>\r\n</ROOT>\r\n");
}

// Tags use every character a name may hold; attribute values and contents
// every byte but NUL (contents: but the line ends, since only a first line
// is written).
void ExpectSameTree(const PlainNode* expected, const PlainNode* actual, const std::string& at) {
    ASSERT_NE(actual, nullptr) << at;
    ASSERT_STREQ(actual->GetTag(), expected->GetTag()) << at;
    ASSERT_EQ(actual->GetNumAttr(), expected->GetNumAttr()) << at;
    for (int i = 0; i < expected->GetNumAttr(); ++i) {
        EXPECT_STREQ(actual->GetAttr(i)->Name, expected->GetAttr(i)->Name) << at;
        EXPECT_STREQ(actual->GetAttr(i)->Value, expected->GetAttr(i)->Value) << at;
    }
    std::string content = expected->GetContent();
    content = content.substr(0, content.find_first_of("\r\n"));
    if (expected->GetNumChildren() == 0) {
        EXPECT_EQ(actual->GetContent(), content) << at;
    }
    ASSERT_EQ(actual->GetNumChildren(), expected->GetNumChildren()) << at;
    for (int i = 0; i < expected->GetNumChildren(); ++i)
        ExpectSameTree(expected->GetChild(i), actual->GetChild(i), at + "/" + expected->GetTag());
}

TEST_F(SaveXMLTest, SpecialCharactersSurviveSaveAndParse) {
    std::mt19937 random(8);
    auto text = [&random](int length, bool lineEnds) {
        std::string s;
        while (static_cast<int>(s.size()) < length) {
            const char c = static_cast<char>(1 + random() % 255);
            if (lineEnds || (c != '\r' && c != '\n')) s += c;
        }
        return s;
    };
    const char* tags[] = {"a-b", "x.y", "n_1", "ns:tag", "Z9", "9_-.:"};
    root.SetTag("ROOT");
    std::vector<PlainNode*> nodes{&root};
    for (int i = 0; i < 40; ++i) {
        PlainNode* parent = nodes[static_cast<size_t>(random() % nodes.size())];
        PlainNode* node = Add(parent, tags[random() % 6]);
        for (int k = static_cast<int>(random() % 3); k > 0; --k)
            node->AddAttr(("at" + std::to_string(k) + "-x.y_z").c_str(), text(30, true).c_str());
        nodes.push_back(node);
    }
    // Only childless nodes carry content: the scanner hands a parent the text
    // between its children too.
    for (PlainNode* node : nodes)
        if (node != &root && node->GetNumChildren() == 0)
            node->SetContent((text(20, false) + "\r\nlost").c_str());
    root.AddAttr("top", "<&>");

    ASSERT_EQ(Save(), root.GetNumDesc() + 1);
    RootPlainNode back;
    CXML xml;
    xml.SetFlg(XMLFLG_NOERRBOX);
    ASSERT_EQ(xml.LoadFile("out.xml", BuildTree, &back), 0) << xml.GetErrList().GetAtTxt(0);
    ExpectSameTree(&root, &back, "");
}

TEST(XmlTextTest, EscapingRoundTripsEveryByte) {
    CTxt out;
    EXPECT_EQ(PlainNode::SaveTxt2XML(out, "\t\xE9\x7F <a href='x'>&\""), 58);
    EXPECT_STREQ(out, "&#x09;&#xE9;&#x7F; &lt;a href=&apos;x&apos;&gt;&amp;&quot;");
    EXPECT_EQ(PlainNode::Txt2XML("a\\tb\\q\\", out), 11);
    EXPECT_STREQ(out, "a&#x09;b\\q\\");

    std::string all;
    for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
    CTxt escaped, back;
    PlainNode::SaveTxt2XML(escaped, all.c_str());
    // The backslash escapes are read back too, so the one backslash pair in
    // the text ("\\]") must not look like one.
    EXPECT_EQ(PlainNode::XML2Txt(escaped, back), 255);
    EXPECT_EQ(std::string(back), all);
}

TEST(XmlTextTest, UnescapingDropsUnknownEntitiesAndNeverReadsPastTheEnd) {
    CTxt out;
    EXPECT_EQ(PlainNode::XML2Txt("&lt;&#x41;&zq\\n\\x", out), 7);
    EXPECT_STREQ(out, "<Aq\n\\x");
    EXPECT_EQ(PlainNode::XML2Txt("&#x4", out), 3);
    EXPECT_STREQ(out, "x4");
    EXPECT_EQ(PlainNode::XML2Txt("a&#x00;b&", out), 4);
    EXPECT_STREQ(out, "ab");

    PlainNode node;
    node.SetContent("x &amp; y");
    EXPECT_EQ(node.GetContentBin(out), 5);
    EXPECT_STREQ(out, "x & y");
    node.SetContent("");
    EXPECT_EQ(node.GetContentBin(out), 0);
    EXPECT_STREQ(out, "");
}

TEST(XmlTextTest, SaveBTOARendersEveryKind) {
    RecordingBoxes boxes;
    CTxt out;
    auto render = [&out](const void* data, int kind) {
        PlainNode::SaveBTOA(data, out, kind, "Value");
        return std::string(out);
    };
    const std::string str = "a<b";
    const int8_t i8 = -5;
    const int16_t i16 = -300;
    const int32_t i32 = -70000, tri = -3, zero = 0;
    const int64_t i64 = INT64_MIN;
    const uint32_t hex = 255, u32 = 4000000000u;
    const uint8_t u8 = 200;
    const uint16_t u16 = 65535;
    const uint64_t u64 = UINT64_MAX;
    const float quarter = 0.25f;
    const double two = 2.0, neg = -1.5;
    const int16_t triple[3] = {-1, 2, -3};
    const uint8_t rgb[3] = {255, 128, 0};
    EXPECT_EQ(render(&str, 0), "a&lt;b");
    EXPECT_EQ(render("'", 1), "&apos;");
    EXPECT_EQ(render(&i8, 2), "-5");
    EXPECT_EQ(render(&i16, 3), "-300");
    EXPECT_EQ(render(&i32, 5), "-70000");
    EXPECT_EQ(render(&i64, 6), "-9223372036854775808");
    EXPECT_EQ(render(&hex, 7), "000000FF");
    EXPECT_EQ(render(&u8, 8), "200");
    EXPECT_EQ(render(&u16, 9), "65535");
    EXPECT_EQ(render(&u32, 11), "4000000000");
    EXPECT_EQ(render(&u64, 12), "18446744073709551615");
    EXPECT_EQ(render(&quarter, 13), "0.25");
    EXPECT_EQ(render(&two, 14), "2");
    EXPECT_EQ(render(&neg, 14), "-1.5");
    EXPECT_EQ(render(&u8, 15), "TRUE");
    EXPECT_EQ(render(&zero, 17), "FALSE");
    EXPECT_EQ(render(&tri, 18), "-");
    EXPECT_EQ(render(&zero, 18), "?");
    EXPECT_EQ(render(triple, 19), "-1,2,-3");
    EXPECT_EQ(render(rgb, 20), "255,128,0");
    EXPECT_TRUE(boxes.Boxes.empty());

    EXPECT_EQ(PlainNode::SaveBTOA(&i32, out, 4, "Width"), -1);
    EXPECT_EQ(PlainNode::SaveBTOA(&i32, out, 21, "Width"), -1);
    ASSERT_EQ(boxes.Boxes.size(), 2u);
    EXPECT_EQ(boxes.Boxes[0].Text, "Persist: Data Type 4 for Width needs to be implemented!");
    EXPECT_EQ(PlainNode::SaveBTOA(nullptr, out, 5, "Width"), -1);

    EXPECT_EQ(PlainNode::SaveBTOASqueeze(out, "  10.0100"), 5);
    EXPECT_STREQ(out, "10.01");
    EXPECT_EQ(PlainNode::SaveBTOASqueeze(out, "1500"), 4);
}

}  // namespace
