#include "Core/Xml/PlainNode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/Core/Xml/XmlTestSupport.h"

namespace {

using zam::testing::LogCapture;
using Tags = std::vector<std::string>;

Tags ChildTags(const PlainNode* node) {
    Tags tags;
    for (int i = 0; i < node->GetNumChildren(); ++i) {
        const PlainNode* child = node->GetChild(i);
        tags.push_back(child != nullptr ? child->GetTag() : "(none)");
    }
    return tags;
}

PlainNode* AddTagged(PlainNode* parent, const char* tag, const char* content = "") {
    PlainNode* node = parent->AddNode();
    if (node != nullptr) {
        node->SetTag(tag);
        node->SetContent(content);
    }
    return node;
}

// root: a (a1, a2 (a21)), b, c
class PlainNodeTreeTest : public ::testing::Test {
protected:
    RootPlainNode root;
    PlainNode *a = nullptr, *a1 = nullptr, *a2 = nullptr, *a21 = nullptr, *b = nullptr, *c = nullptr;

    void SetUp() override {
        root.SetRootPlain(&root);
        root.SetTag("top");
        a = AddTagged(&root, "a");
        a1 = AddTagged(a, "a1");
        a2 = AddTagged(a, "a2");
        a21 = AddTagged(a2, "a21");
        b = AddTagged(&root, "b");
        c = AddTagged(&root, "c");
    }
};

TEST(PlainNodeOwnerTest, IdsParentsAndTheCreationCounter) {
    LogCapture log;
    RootPlainNode root;
    EXPECT_EQ(root.AddNode(), nullptr);
    EXPECT_TRUE(log.Contains("Missing m_pRootPlain!"));
    EXPECT_EQ(root.GetNumNode(), 0);

    root.SetRootPlain(&root);
    PlainNode* first = root.AddNode();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetPlainID(), 1);
    EXPECT_EQ(first->GetParentID(), 0);
    EXPECT_EQ(first->GetRootPlain(), &root);
    EXPECT_EQ(root.GetNode(0), nullptr);
    EXPECT_EQ(root.GetNode(1), first);
    EXPECT_EQ(root.GetNode(2), nullptr);
    EXPECT_EQ(first->GetParent(), nullptr);

    PlainNode* child = first->AddNode();
    EXPECT_EQ(child->GetParentID(), 1);
    EXPECT_EQ(child->GetParent(), first);
    EXPECT_EQ(first->GetNest(), 1u);
    EXPECT_EQ(child->GetNest(), 2u);
    EXPECT_EQ(root.GetNest(), 2u);

    // Listed directly: the counter is copied, not advanced; no child list changes.
    PlainNode* loose = root.AddNodeToRootList(7);
    EXPECT_EQ(loose->GetPlainID(), 3);
    EXPECT_EQ(loose->GetParentID(), 7);
    EXPECT_EQ(loose->GetNest(), 2u);
    EXPECT_EQ(root.GetNumChildren(), 1);
    EXPECT_EQ(loose->NestDecr(), 1u);
    EXPECT_EQ(loose->NestDecr(), 0u);
    EXPECT_EQ(loose->NestDecr(), 0u);
    EXPECT_EQ(loose->NestIncr(), 1u);

    root.ReleaseAllNodes();
    EXPECT_EQ(root.GetNumNode(), 0);
    EXPECT_EQ(root.GetRootPlain(), nullptr);
    EXPECT_EQ(root.GetNumChildren(), 0);
    EXPECT_EQ(root.AddNode(), nullptr);
}

TEST(PlainNodeOwnerTest, ManyNodesKeepTheirIds) {
    RootPlainNode root;
    root.SetRootPlain(&root);
    for (int i = 0; i < 20000; ++i) ASSERT_NE(root.AddNode(), nullptr);
    EXPECT_EQ(root.GetNumNode(), 20000);
    EXPECT_EQ(root.GetNode(12345)->GetPlainID(), 12345);
    EXPECT_EQ(root.GetChild(19999), root.GetNode(20000));
}

TEST_F(PlainNodeTreeTest, InsertingChildrenAndSiblings) {
    PlainNode* x = a->InsertChild(0, 1);
    x->SetTag("x");
    PlainNode* y = a->InsertChild(0, 0);
    y->SetTag("y");
    PlainNode* z = a->InsertChild(99, 1);  // past the end: appended
    z->SetTag("z");
    EXPECT_EQ(ChildTags(a), (Tags{"x", "y", "a1", "a2", "z"}));

    a2->InsertSibling(1)->SetTag("before");
    a2->InsertSibling(0)->SetTag("after");
    EXPECT_EQ(ChildTags(a), (Tags{"x", "y", "a1", "before", "a2", "after", "z"}));
    // A first-level node's parent is the top node.
    b->InsertSibling(0)->SetTag("b2");
    EXPECT_EQ(ChildTags(&root), (Tags{"a", "b", "b2", "c"}));

    LogCapture log;
    PlainNode free;
    EXPECT_EQ(free.InsertSibling(1), nullptr);
    EXPECT_TRUE(log.Contains("Missing m_pRootPlain!"));
    EXPECT_EQ(root.AddNodeToRootList(999)->InsertSibling(1), nullptr);
    EXPECT_TRUE(log.Contains("No Parent!"));
    EXPECT_EQ(root.AddNodeToRootList(0)->InsertSibling(1), nullptr);
    EXPECT_TRUE(log.Contains("Corrupted Child list!"));
}

TEST_F(PlainNodeTreeTest, DeletingASubtreeEmptiesItsSlotsOnly) {
    static std::vector<std::string> hooked;
    hooked.clear();
    root.SetIFDelNode([](PlainNode* node) { hooked.push_back(node->GetTag()); });
    a2->SetDataItem(5);
    LogCapture log;
    const int size = root.GetNumNode();

    EXPECT_EQ(root.DeleteNode(a), 0);
    EXPECT_EQ(root.GetNumNode(), size);
    for (int id = 1; id <= 4; ++id) EXPECT_EQ(root.GetNode(id), nullptr) << id;
    EXPECT_EQ(root.GetNode(5), b);
    EXPECT_EQ(root.GetNode(6), c);
    EXPECT_EQ(ChildTags(&root), (Tags{"b", "c"}));
    EXPECT_EQ(hooked, (Tags{"a2"}));
    EXPECT_TRUE(log.Contains("Delete Node: a21 (4)"));
    EXPECT_TRUE(log.Contains("Delete Node: a (1)"));
    EXPECT_TRUE(log.Contains("Node: a1 (2)"));

    // A node deep in the tree leaves its parent's list.
    PlainNode* d = AddTagged(b, "d");
    AddTagged(b, "e");
    root.DeleteNode(d);
    EXPECT_EQ(ChildTags(b), (Tags{"e"}));
    EXPECT_EQ(root.DeleteNode(nullptr), 0);
}

TEST_F(PlainNodeTreeTest, MovingAChildAmongItsSiblings) {
    EXPECT_EQ(root.MoveChild(2, a), 0);
    EXPECT_EQ(ChildTags(&root), (Tags{"b", "a", "c"}));
    EXPECT_EQ(root.MoveChild(3, c), 0);
    EXPECT_EQ(ChildTags(&root), (Tags{"c", "a", "b"}));
    EXPECT_EQ(root.MoveChild(1, c), 0);
    EXPECT_EQ(root.MoveChild(2, b), 0);
    EXPECT_EQ(root.MoveChild(7, a), 0);
    EXPECT_EQ(ChildTags(&root), (Tags{"c", "a", "b"}));
    EXPECT_EQ(root.MoveChild(4, c), 0);
    EXPECT_EQ(ChildTags(&root), (Tags{"b", "a", "c"}));
    EXPECT_EQ(root.MoveChild(1, a2), 0);
    EXPECT_EQ(ChildTags(a), (Tags{"a2", "a1"}));

    PlainNode free;
    EXPECT_EQ(root.MoveChild(1, &free), -1);
    EXPECT_EQ(root.MoveChild(1, nullptr), -1);
    EXPECT_EQ(root.MoveChild(1, &root), -1);
}

// first: the visited tags; second: the tag that answers 1 (or -1 with a leading '-').
int Visit(PlainNode* node, void* first, void* second) {
    static_cast<Tags*>(first)->push_back(node->GetTag());
    const char* wanted = static_cast<const char*>(second);
    if (wanted == nullptr) return 0;
    if (wanted[0] == '-') return std::strcmp(node->GetTag(), wanted + 1) == 0 ? -1 : 0;
    return std::strcmp(node->GetTag(), wanted) == 0 ? 1 : 0;
}

TEST_F(PlainNodeTreeTest, IterationOrdersSumsStopsAndPrunes) {
    Tags seen;
    EXPECT_EQ(root.IterateNodes(0, Visit, &seen, nullptr), 0);
    EXPECT_EQ(seen, (Tags{"top", "a", "a1", "a2", "a21", "b", "c"}));

    seen.clear();
    root.IterateNodes(1, Visit, &seen, nullptr);
    EXPECT_EQ(seen, (Tags{"a1", "a21", "a2", "a", "b", "c", "top"}));

    // A positive result is summed; with flag 4 nothing after the match is visited.
    seen.clear();
    a21->SetTag("b");
    EXPECT_EQ(root.IterateNodes(0, Visit, &seen, const_cast<char*>("b")), 2);
    seen.clear();
    EXPECT_EQ(root.IterateNodes(4, Visit, &seen, const_cast<char*>("b")), 1);
    EXPECT_EQ(seen, (Tags{"top", "a", "a1", "a2", "b"}));

    // A negative result prunes the node's subtree only.
    seen.clear();
    EXPECT_EQ(root.IterateNodes(0, Visit, &seen, const_cast<char*>("-a2")), 0);
    EXPECT_EQ(seen, (Tags{"top", "a", "a1", "a2", "b", "c"}));

    int counter = 0;
    EXPECT_EQ(a->IterateNodesDescend(1, Visit, &seen, const_cast<char*>("a"), &counter), 1);
    EXPECT_EQ(counter, 1);

    LogCapture log;
    EXPECT_EQ(b->IterateNodes(2, nullptr, nullptr, nullptr), 0);
    EXPECT_TRUE(log.Contains("Node: b (5)"));
}

TEST_F(PlainNodeTreeTest, FindingChildrenTagsAndContents) {
    EXPECT_EQ(a->FindChild(a2), 1);
    EXPECT_EQ(a->GetChildIdx(a2), 1);
    EXPECT_EQ(a->FindChild(b), -1);
    EXPECT_EQ(a->FindChild(nullptr), -1);

    a2->SetContent(" Big\r\n\tValue ");
    EXPECT_EQ(a->FindChild("A2", "bigvalue"), a2);
    EXPECT_EQ(a->FindChild("a2", "big value"), nullptr);
    EXPECT_EQ(a->FindChild("a1", nullptr), a1);

    EXPECT_EQ(root.FindTag("A21"), a21);
    EXPECT_EQ(root.FindTag("TOP"), &root);
    EXPECT_EQ(a2->FindTag("a1"), nullptr);

    // List lookups: places from .. to - 1; to <= 0 is the end.
    c->SetTag("a1");
    EXPECT_EQ(root.FindTag("a1", 0, 0), a1);
    EXPECT_EQ(root.FindTag("a1", 2, 0), c);
    EXPECT_EQ(root.FindTag("a1", 2, 5), nullptr);
    EXPECT_EQ(root.FindTag("a1", -3, 99), a1);

    b->SetContent("Hello\r\n\tWorld");
    EXPECT_EQ(root.FindContent("helloworld", 0, 0), b);
    EXPECT_EQ(root.FindContent("hello world", 0, 0), nullptr);
    EXPECT_EQ(root.FindContentTag("a2", "BIGVALUE", 0, 0), a2);
    EXPECT_EQ(root.FindContentTag("a2", "<gval", 0, 0), a2);
    EXPECT_EQ(root.FindContentTag("a2", "<big value", 0, 0), nullptr);
    EXPECT_EQ(root.FindContentTag("B", nullptr, 0, 0), b);
    EXPECT_EQ(root.FindContentTag("b", "x", 0, 0), nullptr);
}

TEST_F(PlainNodeTreeTest, AttributesByIndexNameAndType) {
    a->AddAttr("Color", "1F");
    a->AddAttr("color", "x1F");
    a->AddAttr("Width", " -42px");
    a->AddAttr(nullptr, nullptr);
    EXPECT_EQ(a->GetNumAttr(), 4);
    EXPECT_STREQ(a->GetAttr(1)->Value, "x1F");
    EXPECT_EQ(a->GetAttr(4), nullptr);
    EXPECT_EQ(a->GetAttr(-1), nullptr);
    EXPECT_EQ(a->FindAttr("COLOR"), a->GetAttr(0));

    unsigned hex = 7;
    EXPECT_EQ(a->GetAttrHex("color", hex), 0);
    EXPECT_EQ(hex, 31u);
    PlainNodeAttr* second = a->GetAttr(1);
    second->Name = "Hex2";
    EXPECT_EQ(a->GetAttrHex("hex2", hex), 0);
    EXPECT_EQ(hex, 0u);
    EXPECT_EQ(a->GetAttrHex("none", hex), -1);
    EXPECT_EQ(hex, 0u);

    int width = 5;
    EXPECT_EQ(a->GetAttrInt("width", width), 0);
    EXPECT_EQ(width, -42);
    EXPECT_EQ(a->GetAttrInt("none", width), -1);
    EXPECT_EQ(width, -42);

    CTxt text("old");
    EXPECT_EQ(a->GetAttrText("WIDTH", text), 6);
    EXPECT_STREQ(text, " -42px");
    EXPECT_EQ(a->GetAttrText("none", text), 0);
    EXPECT_STREQ(text, "");

    EXPECT_EQ(a->GetAttrList(text), 4);
    EXPECT_STREQ(text, "Color=\"1F\", Hex2=\"x1F\", Width=\" -42px\", =\"\"");
    EXPECT_EQ(b->GetAttrList(text), 0);
    EXPECT_STREQ(text, "");

    PlainNodeAttr copy;
    copy = *a->GetAttr(0);
    EXPECT_STREQ(copy.Name, "Color");
    EXPECT_STREQ(copy.Value, "1F");

    // A node without an owner answers no attribute by index.
    PlainNode free;
    free.AddAttr("k", "v");
    EXPECT_EQ(free.GetAttr(0), nullptr);
    EXPECT_NE(free.FindAttr("K"), nullptr);
}

int ByTagDescending(const void* x, const void* y) {
    const PlainNode* p = *static_cast<PlainNode* const*>(x);
    const PlainNode* q = *static_cast<PlainNode* const*>(y);
    return std::strcmp(q->GetTag(), p->GetTag());
}

TEST_F(PlainNodeTreeTest, SortingCountingAndDiffs) {
    EXPECT_EQ(root.SortChildren(ByTagDescending), 0);
    EXPECT_EQ(ChildTags(&root), (Tags{"c", "b", "a"}));
    EXPECT_EQ(root.GetChild(2), a);

    // An id whose node is gone never reaches the comparison and stays last.
    PlainNode* gone = AddTagged(a, "gone");
    AddTagged(a, "a0");
    a->InsertChild(0, 1);  // empty tag, sorts last among the nodes
    RootPlainNode::DeleteNodeIt(gone, &root, nullptr);  // its id stays in a's list
    EXPECT_EQ(a->SortChildren(ByTagDescending), 0);
    EXPECT_EQ(ChildTags(a), (Tags{"a2", "a1", "a0", "", "(none)"}));

    EXPECT_EQ(root.GetNumDesc(), 8);
    EXPECT_EQ(a2->GetNumDesc(), 1);
    EXPECT_EQ(a21->GetNumDesc(), 0);
    EXPECT_EQ(a->GetDiff(), 1);
    EXPECT_EQ(a1->GetDiff(), 1);

    LogCapture log;
    a->ShowCh();
    EXPECT_TRUE(log.Contains("[ 0] ID=3, Tag=a2, Attr=0, Ch=1"));
    EXPECT_TRUE(log.Contains("[ 4] NULL"));
}

TEST(PlainNodeResetTest, ResetCallsTheHookOnlyForADataItem) {
    static std::vector<unsigned> items;
    items.clear();
    RootPlainNode root;
    root.SetRootPlain(&root);
    root.SetIFDelNode([](PlainNode* node) { items.push_back(node->GetDataItem()); });
    PlainNode* with = root.AddNode();
    PlainNode* without = root.AddNode();
    with->SetDataItem(42);
    with->SetTag("t");
    with->SetContent("c");
    with->AddAttr("k", "v");
    with->AddNode();
    with->ResetNode();
    EXPECT_EQ(items, (std::vector<unsigned>{42}));
    EXPECT_STREQ(with->GetTag(), "t");
    EXPECT_STREQ(with->GetContent(), "c");
    EXPECT_EQ(with->GetNumAttr(), 0);
    EXPECT_EQ(with->GetNumChildren(), 0);
    EXPECT_EQ(with->GetPlainID(), 0);
    EXPECT_EQ(with->GetRootPlain(), nullptr);
    EXPECT_EQ(with->GetDataItem(), 0u);
    without->ResetNode();
    EXPECT_EQ(items.size(), 1u);

    // Releasing calls it for every listed node still holding an item.
    root.AddNode()->SetDataItem(7);
    root.SetDataItem(9);
    root.ReleaseAllNodes();
    EXPECT_EQ(items, (std::vector<unsigned>{42, 7, 9}));
}

}  // namespace
