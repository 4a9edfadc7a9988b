// The configuration editor driven as a user drives it: real keystrokes and
// clicks into the running modal dialog, read back from its controls and
// from the profile it writes.

#include "Core/Graph/CDlgCfg.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/datectrl.h>
#include <wx/dateevt.h>
#include <wx/stattext.h>
#include <wx/dcclient.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <utility>
#include <string>

#include "Core/Graph/CDataTreeCtrl.h"
#include "Core/Graph/WxUserInterface.h"
#include "Core/System/Profile.h"
#include "tests/gui/GuiTestSupport.h"

namespace {

using zam::testing::AnsweringPresenter;

std::string Stored(const char* key) {
    std::string value;
    ProfileReadStr("EDT", key, "<missing>", value);
    return value;
}

// Lets the X server deliver what the simulator sent and the toolkit handle it.
void Settle() {
    for (int i = 0; i < 8; ++i) {
        wxYield();
        wxMilliSleep(5);
    }
}

void Key(int key, int modifiers = wxMOD_NONE) {
    wxUIActionSimulator().Char(key, modifiers);
    Settle();
}

void Type(const char* text) {
    wxUIActionSimulator().Text(text);
    Settle();
}

// The name of the parameter the pane shows, once it is name (a busy machine
// may take a moment to hand on a key), else after a second.
std::string Shown(CDlgCfg& editor, const char* name) {
    for (int i = 0; i < 25; ++i) {
        if (editor.Doc.CurItem != nullptr && std::string(editor.Doc.CurItem->Name) == name) break;
        Settle();
    }
    return editor.Doc.CurItem != nullptr ? std::string(editor.Doc.CurItem->Name) : std::string();
}

class ConfigEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        char path[1000];
        GetIniPath(path, sizeof path);
        std::remove(path);
        folder = zam::testing::MakeTempFolder("kronalt-cfgedit");
    }

    // A definition of one group "G" in section EDT holding params.
    std::string Define(const std::string& params, const std::string& cfgAttrs = "",
                       const std::string& title = "Editor test") {
        const std::string path = folder + "/Def.xml";
        std::ofstream out(path, std::ios::binary);
        out << "<?xml version=\"1.0\"?>\n<Def><SysDef><Title>" << title
            << "</Title><AppName>EdTest</AppName></SysDef>\n<CfgDef SectionName=\"EDT\" " << cfgAttrs
            << "><Group Name=\"G\">" << params << "</Group></CfgDef></Def>\n";
        return path;
    }

    // Opens the editor on the definition and runs act inside its modal loop
    // once it has the keyboard; act ends it as a user would. An editor still
    // open afterwards is ended with -1, so a lost key fails instead of hangs.
    int Run(const std::string& path, std::function<void(CDlgCfg&)> act) {
        CDlgCfg holder;
        CTxt err;
        EXPECT_EQ(holder.LoadSysDef(path.c_str(), err), 0) << static_cast<const char*>(err);
        wxTheApp->CallAfter([act] {
            CDlgCfg* editor = nullptr;
            for (wxWindow* top : wxTopLevelWindows)
                if (auto* found = wxDynamicCast(top, CDlgCfg); found != nullptr && found->IsModal()) editor = found;
            ASSERT_NE(editor, nullptr);
            for (int i = 0; i < 200 && wxWindow::FindFocus() == nullptr; ++i) Settle();
            act(*editor);
            if (editor->IsModal()) editor->EndModal(-1);
        });
        return holder.DoConfig(err, nullptr);
    }

    std::string folder;
};

std::string FocusName(CDlgCfg& editor) {
    const std::pair<wxWindow*, const char*> names[] = {
        {editor.Tree, "tree"}, {editor.ValueEdit, "value"}, {editor.ValueCombo, "value"},
        {editor.ApplyBtn, "apply"}, {editor.RestoreBtn, "restore"}, {editor.DefaultBtn, "default"},
        {editor.FindWindow(CDlgCfg::IdClose), "close"}, {editor.FilterEdit, "filter"},
        {editor.ModifiedOnlyBox, "modified"}, {editor.DefaultsBtn, "defaults"},
        {editor.DatePicker, "picker"}, {editor.ColourBtn, "picker"},
        {editor.IntroWnd, "description"}};
    for (wxWindow* focus = wxWindow::FindFocus(); focus != nullptr; focus = focus->GetParent())
        for (const auto& [window, name] : names)
            if (window != nullptr && window == focus) return name;
    return "elsewhere";
}

TEST_F(ConfigEditorTest, KeyboardAloneBrowsesTypesAppliesAndCyclesTheFocus) {
    const std::string def =
        Define("<P Name=\"Up\" Type=\"Text/30/Upper\" Dflt=\"1\"/><P Name=\"Low\" Type=\"Text/20/Lower\"/>");
    AnsweringPresenter presenter(IDOK);
    const int changed = Run(def, [&](CDlgCfg& editor) {
        EXPECT_EQ(FocusName(editor), "tree");
        Key(WXK_DOWN);
        EXPECT_EQ(Shown(editor, "Low"), "Low");
        EXPECT_EQ(FocusName(editor), "tree");  // browsing keeps the focus in the tree
        Key(WXK_UP);
        EXPECT_EQ(Shown(editor, "Up"), "Up");

        Key(WXK_TAB);
        EXPECT_EQ(FocusName(editor), "value");
        Type("12345");  // over the whole value, which Tab selected
        EXPECT_EQ(editor.ValueEdit->GetValue(), "12345");
        Key(WXK_TAB);
        EXPECT_EQ(Stored("Up"), "12345");
        ASSERT_EQ(presenter.Texts.size(), 1u);
        EXPECT_EQ(presenter.Texts[0], "Updated G Parameter Up:\r\n -> 12345");  // nothing stored before
        for (const char* next :
             {"apply", "restore", "default", "defaults", "close", "filter", "modified", "tree", "value"}) {
            EXPECT_EQ(FocusName(editor), next);
            Key(WXK_TAB);
        }
        for (const char* previous : {"value", "tree", "modified", "filter", "close", "defaults", "default"}) {
            Key(WXK_TAB, wxMOD_SHIFT);
            EXPECT_EQ(FocusName(editor), previous);
        }
        Key(WXK_SPACE);  // presses Default
        EXPECT_EQ(Stored("Up"), "1");
        EXPECT_EQ(editor.ValueEdit->GetValue(), "1");

        // Defaults…, Close, the filter, Modified only, the tree, Low, its field
        for (int key : {WXK_TAB, WXK_TAB, WXK_TAB, WXK_TAB, WXK_TAB, WXK_DOWN, WXK_TAB}) Key(key);
        EXPECT_EQ(Shown(editor, "Low"), "Low");
        Type("MiXeD Case");
        Key(WXK_LEFT);
        Key(WXK_LEFT);
        Type("AB");  // inserted where the caret is, in order
        EXPECT_EQ(editor.ValueEdit->GetValue(), "mixed caabse");
        Key(WXK_RETURN);
        EXPECT_EQ(Stored("Low"), "mixed caabse");
        Key(WXK_ESCAPE);
    });
    EXPECT_EQ(changed, 1);  // Up is back to the value it had
}

TEST_F(ConfigEditorTest, AnEditLeftUnappliedIsAppliedOrDiscardedAsTheUserAnswers) {
    const std::string def = Define("<P Name=\"Len\" Type=\"Int\" Dflt=\"60\"/><P Name=\"Other\" Type=\"Int\" Dflt=\"5\"/>");
    AnsweringPresenter presenter(IDNO);
    // Discard: nothing written, reported or counted.
    int changed = Run(def, [&](CDlgCfg& editor) {
        Key(WXK_TAB);
        Type("45");
        EXPECT_EQ(editor.ApplyBtn->GetLabel(), "&APPLY");  // something to apply
        Key(WXK_ESCAPE);
        ASSERT_EQ(presenter.Texts.size(), 1u);
        EXPECT_NE(presenter.Texts[0].find("Parameter Len is not applied yet:\r\n45"), std::string::npos);
    });
    EXPECT_EQ(changed, 0);
    EXPECT_EQ(Stored("Len"), "<missing>");

    // Back to it: the editor stays with the typed value; then Apply, on
    // leaving for another item by a click.
    presenter.Texts.clear();
    presenter.SetAnswer(IDCANCEL);
    changed = Run(def, [&](CDlgCfg& editor) {
        Key(WXK_TAB);
        Type("45");
        Key(WXK_ESCAPE);
        EXPECT_TRUE(editor.IsModal());
        EXPECT_EQ(editor.ValueEdit->GetValue(), "45");
        EXPECT_EQ(FocusName(editor), "value");
        // A new size rebuilds the pane; what is typed stays in it.
        editor.SetSize(editor.GetSize() + wxSize(60, 40));
        Settle();
        EXPECT_EQ(editor.ValueEdit->GetValue(), "45");
        EXPECT_TRUE(editor.HasPendingEdit());

        presenter.SetAnswer(IDYES);
        CDataTreeItem* other = static_cast<CDataTreeItem*>(editor.Doc.Items[1]->TreeItem);
        wxRect box;
        ASSERT_TRUE(editor.Tree->GetBoundingRect(other->Handle, box, true));
        wxUIActionSimulator mouse;
        mouse.MouseMove(editor.Tree->ClientToScreen(box.GetPosition() + wxPoint(4, box.GetHeight() / 2)));
        mouse.MouseClick();
        EXPECT_EQ(Shown(editor, "Other"), "Other");
        EXPECT_EQ(Stored("Len"), "45");
        EXPECT_EQ(presenter.Texts.back(), "Updated G Parameter Len:\r\n -> 45");
        Key(WXK_ESCAPE);
    });
    EXPECT_EQ(changed, 1);
}

TEST_F(ConfigEditorTest, ListsAreEditableAndShowTheStoredChoiceAPasswordNothing) {
    ProfileWriteStr("EDT", "Pw", "hunter2");
    const std::string def = Define("<P Name=\"Flag\" Type=\"Bool\" Dflt=\"NO\"/><P Name=\"Src\" Type=\"ParSrc\" "
                                   "Dflt=\"2\"/><P Name=\"Pw\" Type=\"Text/20/password\" Dflt=\"s3cret\"/>");
    AnsweringPresenter presenter(IDOK);
    Run(def, [&](CDlgCfg& editor) {
        ASSERT_NE(editor.ValueCombo, nullptr);
        EXPECT_FALSE(editor.ValueCombo->HasFlag(wxCB_READONLY));
        Key(WXK_TAB);
        Type("on");
        Key(WXK_RETURN);
        EXPECT_EQ(Stored("Flag"), "YES");
        EXPECT_EQ(editor.ValueCombo->GetValue(), "YES");

        Key(WXK_TAB, wxMOD_SHIFT);
        Key(WXK_DOWN);
        EXPECT_EQ(Shown(editor, "Src"), "Src");
        ASSERT_NE(editor.ValueCombo, nullptr);
        Key(WXK_TAB);
        Type("Open(4)");
        Key(WXK_RETURN);
        EXPECT_EQ(Stored("Src"), "4");
        for (int i = 0; i < 3; ++i) Key(WXK_TAB);  // Apply, Restore, Default
        EXPECT_EQ(FocusName(editor), "default");
        Key(WXK_SPACE);
        EXPECT_EQ(Stored("Src"), "2");
        EXPECT_EQ(editor.ValueCombo->GetSelection(), 1);
        EXPECT_EQ(editor.ValueCombo->GetValue(), "High(2)");

        // The password: neither its default, its label nor a question shows it.
        // Defaults…, Close, the filter, Modified only, the tree, the next item
        for (int key : {WXK_TAB, WXK_TAB, WXK_TAB, WXK_TAB, WXK_TAB, WXK_DOWN}) Key(key);
        EXPECT_EQ(Shown(editor, "Pw"), "Pw");
        EXPECT_EQ(editor.DefaultBtn->GetLabel().Find("s3cret"), wxNOT_FOUND);
        EXPECT_EQ(editor.Tree->GetItemText(editor.Tree->GetSelection()).Find("hunter2"), wxNOT_FOUND);
        EXPECT_TRUE(editor.ValueEdit->HasFlag(wxTE_PASSWORD));
        Key(WXK_TAB);
        Type("other");
        presenter.Texts.clear();
        Key(WXK_ESCAPE);
        ASSERT_FALSE(presenter.Texts.empty());
        EXPECT_EQ(presenter.Texts[0].find("other"), std::string::npos);
    });
}

// Every control of the editor lies whole within its window, the pane beside
// the tree, each button as wide as its caption.
void ExpectUsableLayout(CDlgCfg& editor) {
    const wxRect client(wxPoint(0, 0), editor.GetClientSize());
    const wxRect tree = editor.Tree->GetRect();
    wxWindow* value = editor.ValueEdit != nullptr ? static_cast<wxWindow*>(editor.ValueEdit) : editor.ValueCombo;
    ASSERT_NE(value, nullptr);
    wxClientDC dc(&editor);
    dc.SetFont(editor.TextFont);
    for (wxWindow* control : {static_cast<wxWindow*>(editor.Tree), editor.FindWindow(CDlgCfg::IdClose), value,
                              static_cast<wxWindow*>(editor.ApplyBtn), static_cast<wxWindow*>(editor.RestoreBtn),
                              static_cast<wxWindow*>(editor.DefaultBtn)}) {
        ASSERT_NE(control, nullptr);
        const wxRect placed = control->GetRect();
        EXPECT_TRUE(client.Contains(placed)) << control->GetName();
        const int least = control == editor.Tree ? 3 * editor.CharHeight : control->GetBestSize().y * 2 / 3;
        EXPECT_GE(placed.height, least) << control->GetName();
        if (control != editor.Tree && control != editor.FindWindow(CDlgCfg::IdClose)) {
            EXPECT_FALSE(placed.Intersects(tree)) << control->GetName();
        }
    }
    for (wxButton* button : {editor.ApplyBtn, editor.RestoreBtn, editor.DefaultBtn}) {
        wxString caption = button->GetLabel();
        caption.Replace("&", "");
        EXPECT_GE(button->GetSize().x, dc.GetTextExtent(caption).x) << caption;
    }
}

TEST_F(ConfigEditorTest, HostileDefinitionsStillGiveAUsableLayout) {
    const std::string params = "<P Name=\"Wide\" Type=\"ParTxt\" Dflt=\"x\"/><P Name=\"Src\" Type=\"ParSrc\"/>";
    // A blank title, one in a Windows code page, a tree of nearly all the
    // width, one of less than none in a tiny dialog, a huge value font.
    const char* const hostile[][3] = {{"", " ", "Courier New|16"}, {"", "\xE9t\xE9", "Courier New|16"},
                                      {"TreeWidth=\"95\"", "T", "Courier New|16"},
                                      {"TreeWidth=\"-20\" Size=\"10,10\"", "T", "Courier New|16"},
                                      {"", "T", "Courier New|120"}};
    for (const auto& [attrs, title, editFont] : hostile) {
        SCOPED_TRACE(std::string(attrs) + " title '" + title + "' " + editFont);
        ProfileWriteStr("CFGDLG", "EditFont", editFont);
        Run(Define(params, attrs, title), [](CDlgCfg& editor) {
            ExpectUsableLayout(editor);
            Key(WXK_DOWN);  // the drop-down list
            EXPECT_EQ(Shown(editor, "Src"), "Src");
            ASSERT_NE(editor.ValueCombo, nullptr);
            ExpectUsableLayout(editor);
            // Smaller than it allows, it keeps them whole too.
            editor.SetSize(wxSize(50, 50));
            Settle();
            ExpectUsableLayout(editor);
            Key(WXK_ESCAPE);
        });
    }
}

TEST_F(ConfigEditorTest, MessageBoxesFitTheScreenAndBelongToTheEditor) {
    const std::string value(20000, '7');
    const wxString fitted = zam::graph::FitMessageText("Updated G Parameter Big:\r\n" + value + " -> 8");
    const wxArrayString lines = wxSplit(fitted, '\n', 0);
    EXPECT_LE(lines.size(), zam::graph::kMessageMaxLines + 1);
    for (const wxString& line : lines) EXPECT_LE(line.length(), zam::graph::kMessageWrapChars);
    EXPECT_EQ(lines[0], "Updated G Parameter Big:");
    EXPECT_TRUE(fitted.EndsWith(wxString::FromUTF8("… -> 8")));  // cut, and the new value still seen

    wxWindow* parentDuring = nullptr;
    Run(Define("<P Name=\"Big\" Type=\"ParTxt\"/>"), [&](CDlgCfg& editor) {
        parentDuring = zam::graph::MessageBoxParent();
        EXPECT_EQ(parentDuring, &editor);
        Key(WXK_ESCAPE);
    });
    EXPECT_NE(zam::graph::MessageBoxParent(), parentDuring);
}

}  // namespace
