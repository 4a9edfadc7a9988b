#include "Core/Graph/CDataTreeCtrl.h"

#include <gtest/gtest.h>
#include <wx/frame.h>

#include "tests/gui/GuiTestSupport.h"

namespace {

class DataTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = new wxFrame(nullptr, wxID_ANY, "tree");
        tree = new CDataTreeCtrl(window, 77, wxPoint(0, 0), wxSize(200, 300));
    }
    void TearDown() override { window->Destroy(); }

    wxFrame* window = nullptr;
    CDataTreeCtrl* tree = nullptr;
};

TEST_F(DataTreeTest, RecordsLinkItemsParentsAndDataInInsertionOrder) {
    CDataTreeItem* root = tree->InsertItem("Root");
    CDataTreeItem* group = tree->InsertItem("Group", root, 1);
    CDataTreeItem* param = tree->InsertItem("Param", group, 2);
    ASSERT_TRUE(root && group && param);
    EXPECT_EQ(3, tree->GetRecordCount());
    EXPECT_EQ(root, tree->GetRecord(0));
    EXPECT_EQ(param, tree->GetRecord(2));
    EXPECT_EQ(nullptr, tree->GetRecord(-1));
    EXPECT_EQ(nullptr, tree->GetRecord(3));
    EXPECT_EQ(nullptr, root->Parent);
    EXPECT_EQ(group, param->Parent);
    EXPECT_EQ(tree, param->Ctrl);
    EXPECT_EQ(group->Handle, tree->GetItemParent(param->Handle));
    EXPECT_EQ(param, tree->GetItemRecord(param->Handle));
    EXPECT_EQ(2, tree->GetItemImage(param->Handle));
    EXPECT_EQ(2, tree->GetItemImage(param->Handle, wxTreeItemIcon_Selected));
    EXPECT_EQ(root->Handle, tree->GetFirstTopItem());

    int value = 5;
    EXPECT_EQ(nullptr, param->GetData());
    EXPECT_EQ(nullptr, param->Data);
    param->SetData(&value);
    CDataValue* made = param->Data;
    param->SetData(&value);
    EXPECT_EQ(made, param->Data);
    EXPECT_EQ(&value, param->GetData());
    param->SetLabel("Renamed");
    EXPECT_EQ("Renamed", tree->GetItemText(param->Handle));

    tree->DeleteAllRecords();
    EXPECT_EQ(0, tree->GetRecordCount());
    EXPECT_EQ(0u, tree->GetCount());
    EXPECT_NE(nullptr, tree->InsertItem("Again"));  // usable after clearing
}

TEST_F(DataTreeTest, ExpandLevelsOpensOneOrTwoLevelsAndSelectsTheFirstGroup) {
    CDataTreeItem* root = tree->InsertItem("Root");
    CDataTreeItem* g1 = tree->InsertItem("G1", root);
    CDataTreeItem* g2 = tree->InsertItem("G2", root);
    tree->InsertItem("P1", g1);
    tree->InsertItem("P2", g2);
    tree->ExpandLevels(2);
    EXPECT_TRUE(tree->IsExpanded(root->Handle));
    EXPECT_TRUE(tree->IsExpanded(g1->Handle));
    EXPECT_TRUE(tree->IsExpanded(g2->Handle));
    EXPECT_EQ(g1->Handle, tree->GetSelection());
    tree->ExpandLevels(1);
    EXPECT_TRUE(tree->IsExpanded(root->Handle));
    EXPECT_FALSE(tree->IsExpanded(g1->Handle));
    EXPECT_FALSE(tree->IsExpanded(g2->Handle));
    tree->ExpandLevels(0);
    EXPECT_FALSE(tree->IsExpanded(g1->Handle));
}

TEST(DataTreeNoWindowTest, RecordsOfATreeWithoutWindowAreFreedAndNothingIsSent) {
    // A tree whose window is gone (here: never made) may still hold records.
    CDataTreeCtrl tree;
    EXPECT_EQ(nullptr, tree.InsertItem("no window"));
    static int payload;
    for (int i = 0; i < 3; ++i) {
        auto* record = new CDataTreeItem;
        record->SetData(&payload);
        tree.Records.Add(record);
    }
    tree.DeleteAllRecords();  // a native call here would trip the toolkit's assertion
    EXPECT_EQ(0, tree.GetRecordCount());
}

}  // namespace
