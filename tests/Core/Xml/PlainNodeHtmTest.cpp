// The lenient tag reader, file loading and the node dump.

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "Core/Platform/Process.h"
#include "Core/Xml/PlainNode.h"
#include "tests/Support/TempDir.h"

namespace {

using zam::testing::TempDir;

struct Listed {
    std::string Tag;
    int Parent;
    std::string Content;
    bool operator==(const Listed& o) const {
        return Tag == o.Tag && Parent == o.Parent && Content == o.Content;
    }
};

std::ostream& operator<<(std::ostream& out, const Listed& l) {
    return out << "{" << l.Tag << ", " << l.Parent << ", \"" << l.Content << "\"}";
}

std::vector<Listed> Listing(const RootPlainNode& root) {
    std::vector<Listed> out;
    for (int id = 1; id <= root.GetNumNode(); ++id) {
        const PlainNode* n = root.GetNode(id);
        if (n != nullptr) out.push_back({n->GetTag(), n->GetParentID(), n->GetContent()});
    }
    return out;
}

class LoadHTMTest : public ::testing::Test {
protected:
    RootPlainNode root;
    CTxt message;
    int Load(const char* text) { return root.LoadHTM(text, message); }
};

TEST_F(LoadHTMTest, TagsArePairedNotNested) {
    EXPECT_EQ(Load("<p class=\"x\">Hi</p>"), 2);
    EXPECT_EQ(Listing(root), (std::vector<Listed>{{"p", 2, "Hi"}, {"/p", 1, ""}}));
    const PlainNode* p = root.GetNode(1);
    EXPECT_EQ(p->GetDataItem(), 0u);
    EXPECT_EQ(root.GetNode(2)->GetDataItem(), 15u);
    ASSERT_EQ(p->GetNumAttr(), 1);
    CTxt value;
    EXPECT_EQ(p->GetAttrText("CLASS", value), 1);
    EXPECT_STREQ(value, "x");

    EXPECT_EQ(Load("<p><b>x</b></p>tail"), 4);
    EXPECT_EQ(Listing(root), (std::vector<Listed>{{"p", 4, ""}, {"b", 3, "x"}, {"/b", 2, ""}, {"/p", 1, "tail"}}));
    PlainNode* para = root.GetNode(1);
    EXPECT_EQ(para->GetDiff(), 3);
    EXPECT_EQ(para->GetNumChildren(), 0);
    EXPECT_EQ(para->LoadChildren("B"), 1);
    EXPECT_EQ(para->GetChild(0), root.GetNode(2));
    EXPECT_EQ(para->FindChildByTag("/b"), root.GetNode(3));
    EXPECT_EQ(para->FindChildByTag("p"), nullptr);
    EXPECT_EQ(root.GetNode(4)->LoadChildren("b"), 0);  // a closing tag's range is empty
}

TEST_F(LoadHTMTest, PartnersAreTheNearestUnpairedTagOfTheName) {
    EXPECT_EQ(Load("<ul><li>1<li>2</LI></x></ul>"), 6);
    EXPECT_EQ(Listing(root), (std::vector<Listed>{{"ul", 6, ""},
                                                  {"li", 0, "1"},
                                                  {"li", 4, "2"},
                                                  {"/LI", 3, ""},
                                                  {"/x", 0, ""},
                                                  {"/ul", 1, ""}}));

    // A stray '>' after a closing tag does not pair it a second time.
    EXPECT_EQ(Load("<p><p>x</p> > y"), 3);
    EXPECT_EQ(Listing(root), (std::vector<Listed>{{"p", 0, ""}, {"p", 3, "x"}, {"/p", 2, "  y"}}));
}

TEST_F(LoadHTMTest, LenientRulesForQuotesValuesAndContent) {
    EXPECT_EQ(Load("lead<img src=pic.png><a u=\"a<b> c\" t='x'>say \"hi\" a=b</a>"), 3);
    EXPECT_EQ(Listing(root)[0].Content, "");
    const PlainNode* img = root.GetNode(1);
    EXPECT_STREQ(img->FindAttr("src")->Value, "pic.png");
    const PlainNode* a = root.GetNode(2);
    EXPECT_STREQ(a->FindAttr("t")->Value, "'x'");
    EXPECT_STREQ(a->FindAttr("u")->Value, "a<b> c");
    EXPECT_STREQ(a->GetContent(), "say hi ab");

    // Line breaks and tabs are ordinary characters, in tags too.
    EXPECT_EQ(Load("<a\tb>\r\n</a\tb>"), 2);
    EXPECT_EQ(Listing(root), (std::vector<Listed>{{"a\tb", 2, "\r\n"}, {"/a\tb", 1, ""}}));

    EXPECT_EQ(Load(""), 0);
    EXPECT_EQ(Load(nullptr), 0);
    EXPECT_EQ(Load("no tags at all"), 0);
    EXPECT_EQ(Load("<"), 1);
}

TEST_F(LoadHTMTest, LoadingAFile) {
    TempDir dir;
    dir.Write("page.htm", "<html><body>x</body></html>");
    EXPECT_EQ(root.LoadFile(dir.File("page.htm").c_str(), message), 4);
    EXPECT_EQ(root.GetNode(1)->GetParentID(), 4);

    EXPECT_EQ(root.LoadFile(dir.File("none.htm").c_str(), message), -1);
    EXPECT_STREQ(message, (":Cannot read " + dir.File("none.htm") + " (-1)").c_str());
    EXPECT_EQ(root.GetNumNode(), 4);  // a failed read leaves the list as it was
}

class RecordingStarter : public zam::platform::ProcessStarter {
public:
    RecordingStarter() { zam::platform::SetProcessStarter(this); }
    ~RecordingStarter() override { zam::platform::SetProcessStarter(nullptr); }
    zam::platform::ProcessResult Start(const zam::platform::ProcessRequest& request, bool) override {
        Requests.push_back(request);
        return {};
    }
    std::vector<zam::platform::ProcessRequest> Requests;
};

// The dump goes to the current folder: each test runs in a folder of its own.
class ShowNodesTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string previous;
    RootPlainNode root;

    void SetUp() override {
        char cwd[4096];
        previous = getcwd(cwd, sizeof cwd) != nullptr ? cwd : "/";
        ASSERT_EQ(chdir(dir.Path().c_str()), 0);
    }
    void TearDown() override { EXPECT_EQ(chdir(previous.c_str()), 0); }
};

TEST_F(ShowNodesTest, DumpsEveryListedNodeAndItsAttributes) {
    EXPECT_EQ(root.ShowNodes(0), 0);
    EXPECT_EQ(dir.Read("Nodes.txt"), "");

    CTxt message;
    root.LoadHTM("<p class=\"x\" id=\"7\">Hi</p><br>", message);
    RootPlainNode::DeleteNodeIt(root.GetNode(3), &root, nullptr);
    EXPECT_EQ(root.ShowNodes(0), 2);
    EXPECT_EQ(dir.Read("Nodes.txt"),
              "   1. p" + std::string(23, ' ') +
                  " (Parent=2, Nest=0, Attr=2, Data=0), Content=\"Hi\"\r\n"
                  "      class=\"x\"\r\n"
                  "      id=\"7\"\r\n"
                  "   2. /p" + std::string(22, ' ') +
                  " (Parent=1, Nest=0, Attr=0, Data=22), Content=\"\"\r\n");

    // Long tags are cut to 24 characters.
    root.LoadHTM("<abcdefghijklmnopqrstuvwxyz>", message);
    root.ShowNodes(0);
    EXPECT_EQ(dir.Read("Nodes.txt").substr(0, 32), "   1. abcdefghijklmnopqrstuvwx (");
}

TEST_F(ShowNodesTest, OpensTheDumpWhenAsked) {
    RecordingStarter starter;
    root.ShowNodes(0);
    EXPECT_TRUE(starter.Requests.empty());
    root.ShowNodes(1);
    ASSERT_EQ(starter.Requests.size(), 1u);
    EXPECT_EQ(starter.Requests[0].Argv.back(), "./Nodes.txt");
}

}  // namespace
