#include "Core/Graph/DialogFromTemplate.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/listbox.h>
#include <wx/statbox.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>
#include <wx/valtext.h>

#include <string>

#include "Core/Graph/CDataTreeCtrl.h"
#include "Core/Graph/CDlgDyn.h"
#include "Core/Graph/CDynDlgTemplate.h"
#include "tests/gui/GuiTestSupport.h"

namespace {

using zam::testing::Pump;

constexpr DWORD kChild = 0x50000000;  // child, visible
constexpr DWORD kDialogStyle = 0x80000000 | 0x00C00000 | 0x00080000 | 0x00040000 | 0x00020000;

// A dialog with one control of each kind the templates use, and one the
// toolkit does not know.
void FillTemplate(CDynDlgTemplate& t) {
    t.SetHeader(kDialogStyle, 0, 10, 10, 220, 150);
    t.SetFont(9, "DejaVu Sans");
    t.SetCaption("Blocks");
    t.AddItem(4, 4, 100, 120, 3001, kChild | 0x7, "SysTreeView32", "");
    t.AddItem(110, 4, 100, 60, 3002, kChild | 0x7, "Button", "Group");
    t.AddItem(116, 16, 80, 12, 3003, kChild | 0x10, "Edit", "");
    t.AddItem(116, 32, 80, 12, 3004, kChild | 0x80 | 0x2000, "Edit", "12");
    t.AddItem(116, 70, 80, 60, 3005, kChild | 0x3, "ComboBox", "");
    t.AddItem(116, 90, 80, 30, 3006, kChild, "ListBox", "");
    t.AddItem(4, 130, 60, 10, 3007, kChild, "Static", "Status");
    t.AddItem(4, 140, 60, 10, 3008, kChild, "msctls_progress32", "");
    t.AddItem(160, 130, 50, 14, 1007, kChild | 0x1, "Button", "&Close");
    t.AddItem(100, 130, 50, 14, 2000, kChild, "Button", "Other");
}

TEST(DialogFromTemplateTest, ControlsAreFoundByIdAtTheirConvertedPlaces) {
    CDynDlgTemplate t;
    FillTemplate(t);
    CDlgDyn dialog;
    ASSERT_TRUE(dialog.CreateIndirect(t));
    EXPECT_EQ(nullptr, t.Locked);  // released again
    EXPECT_EQ("Blocks", dialog.GetTitle());
    EXPECT_TRUE(dialog.HasFlag(wxRESIZE_BORDER));
    EXPECT_TRUE(dialog.HasFlag(wxMINIMIZE_BOX));
    EXPECT_FALSE(dialog.HasFlag(wxMAXIMIZE_BOX));
    EXPECT_EQ(dialog.ConvertDialogToPixels(wxSize(220, 150)), dialog.GetClientSize());

    auto* close = wxDynamicCast(dialog.FindWindow(1007), wxButton);
    ASSERT_NE(nullptr, close);
    EXPECT_EQ("&Close", close->GetLabel());
    EXPECT_EQ(dialog.ConvertDialogToPixels(wxPoint(160, 130)), close->GetPosition());
    EXPECT_EQ(dialog.ConvertDialogToPixels(wxSize(50, 14)), close->GetSize());

    auto* tree = dynamic_cast<CDataTreeCtrl*>(dialog.FindWindow(3001));
    ASSERT_NE(nullptr, tree);
    EXPECT_TRUE(tree->HasFlag(wxTR_HAS_BUTTONS));
    EXPECT_TRUE(tree->HasFlag(wxTR_LINES_AT_ROOT));
    EXPECT_FALSE(tree->HasFlag(wxTR_NO_LINES));
    EXPECT_EQ(dialog.ConvertDialogToPixels(wxPoint(4, 4)), tree->GetPosition());
    EXPECT_NE(nullptr, wxDynamicCast(dialog.FindWindow(3002), wxStaticBox));
    auto* combo = wxDynamicCast(dialog.FindWindow(3005), wxComboBox);
    ASSERT_NE(nullptr, combo);
    EXPECT_TRUE(combo->HasFlag(wxCB_READONLY));
    EXPECT_NE(nullptr, wxDynamicCast(dialog.FindWindow(3006), wxListBox));
    EXPECT_EQ("Status", dialog.FindWindow(3007)->GetLabel());
    EXPECT_EQ(nullptr, dialog.FindWindow(3008));  // unknown class skipped, the rest still made
}

TEST(DialogFromTemplateTest, EditStylesShapeTheText) {
    CDynDlgTemplate t;
    FillTemplate(t);
    t.AddItem(4, 100, 20, 12, 3010, kChild, "Edit", "");  // narrow, no auto-scroll
    CDlgDyn dialog;
    ASSERT_TRUE(dialog.CreateIndirect(t));
    auto* lower = wxDynamicCast(dialog.FindWindow(3003), wxTextCtrl);
    auto* digits = wxDynamicCast(dialog.FindWindow(3004), wxTextCtrl);
    auto* narrow = wxDynamicCast(dialog.FindWindow(3010), wxTextCtrl);
    ASSERT_TRUE(lower && digits && narrow);
    lower->SetValue("MiXeD");
    EXPECT_EQ("mixed", lower->GetValue());
    auto* validator = dynamic_cast<wxTextValidator*>(digits->GetValidator());
    ASSERT_NE(nullptr, validator);
    EXPECT_TRUE(validator->HasFlag(wxFILTER_DIGITS));
    const wxString longText(60, 'W');
    digits->SetValue(longText);  // auto-scroll: takes any length
    EXPECT_EQ(longText, digits->GetValue());
    narrow->SetValue("ab");
    narrow->SetValue(longText);  // more than it shows: refused
    EXPECT_EQ("ab", narrow->GetValue());
}

TEST(DialogFromTemplateTest, TruncatedTemplateIsRefusedWithoutAWindow) {
    CDynDlgTemplate t;
    FillTemplate(t);
    const void* bytes = t.GetTemplate();
    CDlgDyn dialog;
    EXPECT_FALSE(dialog.CreateIndirect(bytes, static_cast<size_t>(t.GetSize()) - 20));
    EXPECT_EQ(nullptr, dialog.GetHandle());
    t.ReleaseTemplate();
}

// Runs the dialog modally; once it shows, act() is called; if the dialog is
// still open two seconds later it is ended with -1, so a lost click fails
// the test instead of hanging it.
int RunModal(CDlgDyn& dialog, std::function<void()> act) {
    wxTimer start, guard;
    start.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { act(); });
    guard.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        if (dialog.IsModal()) dialog.EndModal(-1);
    });
    start.StartOnce(300);
    guard.StartOnce(2300);
    return dialog.ShowModal();
}

TEST(DialogFromTemplateTest, ButtonInTheRangeEndsTheDialogWithItsIdLess1000) {
    CDynDlgTemplate t;
    FillTemplate(t);
    CDlgDyn dialog;
    ASSERT_TRUE(dialog.CreateIndirect(t));
    wxWindow* close = dialog.FindWindow(1007);
    const int result = RunModal(dialog, [close] {
        wxUIActionSimulator mouse;
        mouse.MouseMove(close->GetScreenRect().GetPosition() + close->GetSize() / 2);
        Pump();
        mouse.MouseClick();
    });
    EXPECT_EQ(7, result);
}

TEST(DialogFromTemplateTest, ButtonsOutsideTheRangeAreLeftToTheToolkit) {
    CDynDlgTemplate t;
    FillTemplate(t);
    CDlgDyn dialog;
    ASSERT_TRUE(dialog.CreateIndirect(t));
    const int result = RunModal(dialog, [&dialog] {
        for (int id : {2000, 1007}) {
            wxCommandEvent click(wxEVT_BUTTON, id);
            click.SetEventObject(dialog.FindWindow(id));
            dialog.FindWindow(id)->GetEventHandler()->AddPendingEvent(click);
        }
    });
    EXPECT_EQ(7, result);  // 2000 did not end it; 1007 did
    EXPECT_EQ(wxString("CDlgDyn"), wxString(dialog.GetClassInfo()->GetClassName()));
}

}  // namespace
