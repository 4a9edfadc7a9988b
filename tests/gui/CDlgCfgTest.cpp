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
#include <wx/scrolwin.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <utility>
#include <string>
#include <vector>

#include "Core/Graph/CDataTreeCtrl.h"
#include "Core/Graph/CPictureCtrl.h"
#include "Core/Graph/WxUserInterface.h"
#include "Core/System/Profile.h"
#include "tests/Support/GifWriter.h"
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

// The labels of the parameters the tree shows, in order.
std::vector<std::string> TreeParams(CDlgCfg& editor) {
    std::vector<std::string> labels;
    for (int i = 0; i < editor.Tree->GetRecordCount(); ++i) {
        CDataTreeItem* record = editor.Tree->GetRecord(i);
        if (editor.Tree->GetItemImage(record->Handle) == 2)
            labels.push_back(static_cast<const char*>(editor.Tree->GetItemText(record->Handle).utf8_str()));
    }
    return labels;
}

CDataTreeItem* RecordOf(CDlgCfg& editor, const char* name) {
    for (const auto& item : editor.Doc.Items)
        if (std::string(item->Name) == name) return static_cast<CDataTreeItem*>(item->TreeItem);
    return nullptr;
}

wxTreeItemId GroupOf(CDlgCfg& editor, const char* name) {
    for (int i = 0; i < editor.Tree->GetRecordCount(); ++i) {
        CDataTreeItem* record = editor.Tree->GetRecord(i);
        if (editor.Tree->GetItemImage(record->Handle) == 1 && editor.Tree->GetItemText(record->Handle) == name)
            return record->Handle;
    }
    return wxTreeItemId();
}

void ClickOn(wxWindow* window) {
    wxUIActionSimulator mouse;
    mouse.MouseMove(window->GetScreenRect().GetPosition() + window->GetSize() / 2);
    mouse.MouseClick();
    Settle();
}

using Labels = std::vector<std::string>;

TEST_F(ConfigEditorTest, FilterNarrowsAsYouTypeAndEscapeBringsTheWholeTreeBack) {
    const std::string def = folder + "/Def.xml";
    std::ofstream(def) << "<Def><SysDef><Title>T</Title></SysDef><CfgDef SectionName=\"EDT\">"
                          "<A Name=\"Timer\"><P Name=\"Length\" Dflt=\"60\">Minutes of one countdown</P>"
                          "<P Name=\"BarColor\" Type=\"Color\" Dflt=\"1,2,3\">Filled part of the bar</P></A>"
                          "<B Name=\"Closed\" Open=\"0\"><P Name=\"Title\" Type=\"Text/30\" Dflt=\"Café\"/>"
                          "<P Name=\"Spare\" Dflt=\"4\"/></B></CfgDef></Def>";
    AnsweringPresenter presenter(IDOK);
    const int changed = Run(def, [&](CDlgCfg& editor) {
        EXPECT_FALSE(editor.Tree->IsExpanded(GroupOf(editor, "Closed")));
        editor.Tree->Expand(GroupOf(editor, "Closed"));  // its items come in when it opens
        EXPECT_EQ(TreeParams(editor), (Labels{"Length=60", "BarColor=1,2,3", "Title=Café", "Spare=4"}));
        editor.Tree->Collapse(GroupOf(editor, "Closed"));
        Key('F', wxMOD_CONTROL);
        EXPECT_EQ(FocusName(editor), "filter");

        Type("CAF");  // a shown value, in a closed group, without regard to case
        EXPECT_EQ(TreeParams(editor), Labels{"Title=Café"});
        EXPECT_TRUE(editor.Tree->IsExpanded(GroupOf(editor, "Closed")));
        EXPECT_EQ(Shown(editor, "Title"), "Title");
        EXPECT_EQ(FocusName(editor), "filter");  // typing goes on in the field
        EXPECT_FALSE(editor.NoMatchText->IsShown());

        Type("x");
        EXPECT_TRUE(TreeParams(editor).empty());
        EXPECT_TRUE(editor.NoMatchText->IsShown());
        EXPECT_EQ(editor.NoMatchText->GetLabel(), "No setting matches");
        EXPECT_EQ(Shown(editor, "Title"), "Title");  // the pane stays

        Key('F', wxMOD_CONTROL);  // over the whole text again
        Type("bar");               // a name and a description
        EXPECT_EQ(TreeParams(editor), Labels{"BarColor=1,2,3"});
        EXPECT_EQ(Shown(editor, "BarColor"), "BarColor");
        Key(WXK_DOWN);  // on to the matches
        EXPECT_EQ(FocusName(editor), "tree");
        Key('F', wxMOD_CONTROL);
        Type("minutes");
        EXPECT_EQ(TreeParams(editor), Labels{"Length=60"});
        EXPECT_EQ(Shown(editor, "Length"), "Length");

        Key(WXK_ESCAPE);  // empties the filter; the editor stays
        EXPECT_TRUE(editor.IsModal());
        EXPECT_EQ(editor.FilterEdit->GetValue(), "");
        EXPECT_EQ(TreeParams(editor), (Labels{"Length=60", "BarColor=1,2,3"}));  // and the closed group's
        EXPECT_EQ(Shown(editor, "Length"), "Length");
        EXPECT_EQ(editor.Tree->GetSelection(), RecordOf(editor, "Length")->Handle);
        EXPECT_FALSE(editor.Tree->IsExpanded(GroupOf(editor, "Closed")));
        Key(WXK_ESCAPE);  // now it closes
    });
    EXPECT_EQ(changed, 0);
}

TEST_F(ConfigEditorTest, ValuesOffTheirDefaultAreBoldListedAloneAndSetBackAtOnce) {
    const std::string kLongName = "AParameterWhoseNameIsLongerThanAnyTreeOfThisEditorShowsWholeAtAll";
    ProfileWriteStr("EDT", "Length", "25");
    ProfileWriteStr("EDT", "Same", "007");
    const std::string longValue(150, 'v');
    ProfileWriteStr("EDT", "Long", longValue.c_str());
    const std::string def = Define("<P Name=\"Length\" Dflt=\"60\"/><P Name=\"Same\" Dflt=\"7\"/>"
                                   "<P Name=\"Long\" Type=\"ParTxt\" Dflt=\"v\"/>"
                                   "<P Name=\"" + kLongName + "\" Dflt=\"1\"/>",
                                   "TreeWidth=\"40\"");
    AnsweringPresenter presenter(IDYES);
    const int changed = Run(def, [&](CDlgCfg& editor) {
        EXPECT_TRUE(editor.Tree->IsBold(RecordOf(editor, "Length")->Handle));
        EXPECT_FALSE(editor.Tree->IsBold(RecordOf(editor, "Same")->Handle));  // 007 is 7

        // The whole label where the tree or the label cuts it, by the mouse.
        CDataTreeItem* cut = RecordOf(editor, kLongName.c_str());
        wxRect box;
        ASSERT_TRUE(editor.Tree->GetBoundingRect(cut->Handle, box, true));
        wxUIActionSimulator mouse;
        mouse.MouseMove(editor.Tree->ClientToScreen(box.GetPosition() + wxPoint(4, box.GetHeight() / 2)));
        Settle();
        EXPECT_EQ(editor.Tree->GetToolTipText(), kLongName + "=1");
        EXPECT_EQ(editor.ItemToolTip(RecordOf(editor, "Same")->Handle), "");
        const wxString whole = editor.ItemToolTip(RecordOf(editor, "Long")->Handle);
        EXPECT_EQ(whole, "Long=" + longValue.substr(0, 75) + "\n" + longValue.substr(75));

        Key(WXK_TAB, wxMOD_SHIFT);  // Modified only
        EXPECT_EQ(FocusName(editor), "modified");
        Key(WXK_SPACE);
        EXPECT_EQ(TreeParams(editor), (Labels{"Length=25", "Long=" + longValue.substr(0, 80) + "…"}));

        ClickOn(editor.DefaultsBtn);
        ASSERT_EQ(presenter.Texts.size(), 2u);
        EXPECT_EQ(presenter.Texts[0], "Set all 2 settings that differ from their default back to it?");
        EXPECT_EQ(presenter.Texts[1], "Set 2 settings back to their default:\r\nG Parameter Length: 25 -> 60\r\n"
                                      "G Parameter Long: " + longValue.substr(0, 80) + "… -> v");
        EXPECT_EQ(Stored("Length"), "60");
        EXPECT_EQ(Stored("Long"), "v");
        // Nothing differs now: the narrowed tree says so; without it no bold.
        EXPECT_TRUE(TreeParams(editor).empty());
        EXPECT_TRUE(editor.NoMatchText->IsShown());
        ClickOn(editor.ModifiedOnlyBox);
        EXPECT_EQ(TreeParams(editor).size(), 4u);
        EXPECT_FALSE(editor.Tree->IsBold(RecordOf(editor, "Length")->Handle));
        Key(WXK_ESCAPE);
    });
    EXPECT_EQ(changed, 2);
}

// The colour chooser's seam: remembers where it started, picks what it is told.
wxColour g_startedFrom;
bool g_choose = true;
bool PickTeal(wxWindow*, wxColour& colour) {
    g_startedFrom = colour;
    if (g_choose) colour.Set(0, 128, 128);
    return g_choose;
}

TEST_F(ConfigEditorTest, PickersEnterWhatTheyPickAsTypedValues) {
    CDlgCfg::SetColourChooser(PickTeal);
    ProfileWriteStr("EDT", "Bar", "red");
    const std::string def = Define("<P Name=\"Bar\" Type=\"Color\" Dflt=\"1,2,3\"/><P Name=\"Due\" Type=\"Date\"/>");
    AnsweringPresenter presenter(IDOK);
    Run(def, [&](CDlgCfg& editor) {
        ASSERT_NE(editor.ColourBtn, nullptr);
        Key(WXK_TAB);
        Key(WXK_TAB);
        EXPECT_EQ(FocusName(editor), "picker");
        g_choose = false;
        Key(WXK_SPACE);
        EXPECT_EQ(g_startedFrom, wxColour(255, 0, 0));  // the field's colour
        EXPECT_TRUE(presenter.Texts.empty());
        g_choose = true;
        Key(WXK_SPACE);
        EXPECT_EQ(editor.ValueEdit->GetValue(), "0,128,128");
        EXPECT_EQ(Stored("Bar"), "0,128,128");
        ASSERT_EQ(presenter.Texts.size(), 1u);
        EXPECT_EQ(presenter.Texts[0], "Updated G Parameter Bar:\r\nred -> 0,128,128");
        EXPECT_EQ(editor.Tree->GetItemText(RecordOf(editor, "Bar")->Handle), "Bar=0,128,128*");
        EXPECT_FALSE(editor.HasPendingEdit());

        for (int key : {WXK_TAB, WXK_TAB, WXK_TAB, WXK_TAB, WXK_TAB, WXK_TAB, WXK_TAB, WXK_TAB, WXK_DOWN}) Key(key);
        EXPECT_EQ(Shown(editor, "Due"), "Due");
        ASSERT_NE(editor.DatePicker, nullptr);
        Key(WXK_TAB);
        Type("12/31/2026");
        Key(WXK_RETURN);  // typed: the drop-down follows
        EXPECT_EQ(editor.DatePicker->GetValue(), wxDateTime(31, wxDateTime::Dec, 2026));
        // Picked: entered as if typed, in the date's own form.
        const wxDateTime leapDay(29, wxDateTime::Feb, 2028);
        editor.DatePicker->SetValue(leapDay);
        wxDateEvent picked(editor.DatePicker, leapDay, wxEVT_DATE_CHANGED);
        editor.DatePicker->ProcessWindowEvent(picked);
        CTxt form;
        ASSERT_EQ(CfgDateText("2/29/2028", form), 1);
        EXPECT_EQ(Stored("Due"), static_cast<const char*>(form));
        EXPECT_EQ(editor.ValueEdit->GetValue(), wxString::FromUTF8(form));
        EXPECT_NE(presenter.Texts.back().find(" -> " + std::string(form)), std::string::npos);
        Key(WXK_ESCAPE);
    });
    CDlgCfg::SetColourChooser(nullptr);
}

TEST_F(ConfigEditorTest, DescriptionWrapsToThePaneAndScrollsWithItsPictureAndRule) {
    std::string words;
    for (int i = 0; i < 1500; ++i) words += "word" + std::to_string(i) + " ";
    zam::testing::GifFrameSpec frame;
    frame.Width = 40;
    frame.Height = 30;
    const std::vector<uint8_t> gif = zam::testing::GifWriter(40, 30, {0xFF0000, 0x0000FF}).Frame(frame).Finish();
    std::ofstream(folder + "/DocChart.gif", std::ios::binary)
        .write(reinterpret_cast<const char*>(gif.data()), static_cast<std::streamsize>(gif.size()));
    const std::string def = Define("<P Name=\"Doc\" Dflt=\"1\">" + words + "\n{Line}\n{Pic:Chart}\nend " +
                                   std::string(300, 'x') + "</P>");
    AnsweringPresenter presenter(IDOK);
    Run(def, [&](CDlgCfg& editor) {
        auto check = [&editor] {
            auto* view = static_cast<wxScrolled<wxWindow>*>(editor.IntroWnd);
            wxClientDC dc(view);
            dc.SetFont(editor.TextFont);
            for (const CDlgCfg::PaneLine& line : editor.Layout) {
                if (line.Kind == CfgDescLine::Text) {
                    EXPECT_LE(dc.GetTextExtent(wxString::FromUTF8(line.Text)).x, view->GetClientSize().x);
                }
            }
            EXPECT_GT(view->GetVirtualSize().y, view->GetClientSize().y);
            ASSERT_EQ(editor.Pictures.size(), 1u);
            // The picture lies where its line is, however far it is scrolled.
            int rule = -1, picture = -1;
            for (const CDlgCfg::PaneLine& line : editor.Layout) {
                if (line.Kind == CfgDescLine::Rule) rule = line.Y;
                if (line.Kind == CfgDescLine::Picture) picture = line.Y;
            }
            EXPECT_EQ(picture, rule + 2);
            EXPECT_EQ(editor.Pictures[0]->GetPosition().y, view->CalcScrolledPosition(wxPoint(0, picture)).y);
        };
        check();
        // Longer than the pane: Tab reaches it after Default, the keys scroll it.
        for (int i = 0; i < 5; ++i) Key(WXK_TAB);
        EXPECT_EQ(FocusName(editor), "description");
        auto* view = static_cast<wxScrolled<wxWindow>*>(editor.IntroWnd);
        Key(WXK_PAGEDOWN);
        Key(WXK_END);
        EXPECT_GT(view->GetViewStart().y, 0);
        check();
        // Narrower, it wraps again to the new width.
        editor.SetSize(editor.GetSize() - wxSize(150, 0));
        Settle();
        check();
        Key(WXK_ESCAPE);
    });
}

}  // namespace
