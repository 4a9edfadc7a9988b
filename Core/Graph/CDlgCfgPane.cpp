// The pane of the current parameter: two frames, the header, the value
// field, Apply, Restore and Default, and the description with its rules and
// pictures, laid out level with the tree.

#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/dcbuffer.h>
#include <wx/settings.h>
#include <wx/textctrl.h>
#include <wx/valtext.h>

#include <cerrno>
#include <functional>

#include "Core/Graph/CDataTreeCtrl.h"
#include "Core/Graph/CDlgCfg.h"
#include "Core/Graph/CFrameCtrl.h"
#include "Core/Graph/CPictureCtrl.h"
#include "Core/Graph/DialogFromTemplate.h"

namespace {

// 0xFFFF, the id pictures had, is beyond the toolkit's ids.
const int kIdPicture = wxID_ANY;

// A window the dialog paints itself, in the button face's colours.
class PaneText : public wxWindow {
public:
    PaneText(wxWindow* parent, int id, const wxRect& rect, std::function<void(wxWindow*)> paint)
        : wxWindow(parent, id, rect.GetPosition(), rect.GetSize()), m_Paint(std::move(paint)) {
        SetBackgroundStyle(wxBG_STYLE_PAINT);
        Bind(wxEVT_PAINT, [this](wxPaintEvent&) { m_Paint(this); });
    }

private:
    std::function<void(wxWindow*)> m_Paint;
};

template <typename Window>
void DestroyAndForget(Window*& window) {
    if (window != nullptr) window->Destroy();
    window = nullptr;
}

wxRect FromCorners(int left, int top, int right, int bottom) {
    return wxRect(left, top, right > left ? right - left : 0, bottom > top ? bottom - top : 0);
}

}  // namespace

void CDlgCfg::ClearPane() {
    DestroyAndForget(ValueEdit);
    DestroyAndForget(ValueCombo);
    DestroyAndForget(UpperFrame);
    DestroyAndForget(LowerFrame);
    DestroyAndForget(IntroWnd);  // with the pictures, its children
    DestroyAndForget(HeaderWnd);
    DestroyAndForget(ApplyBtn);
    DestroyAndForget(RestoreBtn);
    DestroyAndForget(DefaultBtn);
    Pictures.clear();
    Layout.clear();
}

int CDlgCfg::ShowItem(CCfgItem* item, CTxt& err) {
    ClearPane();
    Doc.SelectItem(item);
    if (item == nullptr || Tree == nullptr) return 0;
    const int w = CharWidth;
    const int h = CharHeight;
    const wxRect tree = Tree->GetRect();
    const int y0 = tree.GetTop() - 3 > 0 ? tree.GetTop() - 3 : 0;
    const int x0 = tree.GetRight() + 1 + w;
    const int r = GetClientSize().GetWidth() - h;
    const int b = tree.GetBottom() + 1;  // level with the tree's bottom

    UpperFrame = new CFrameCtrl(this, IdFrame, "", wxDefaultPosition, wxDefaultSize);
    UpperFrame->SetSize(FromCorners(x0, y0, r, y0 + 6 * h));
    LowerFrame = new CFrameCtrl(this, IdFrame, "", wxDefaultPosition, wxDefaultSize);
    LowerFrame->SetSize(FromCorners(x0, y0 + 6 * h, r, b));
    for (CFrameCtrl* frame : {UpperFrame, LowerFrame}) frame->SetFont(TextFont);

    HeaderWnd = new PaneText(this, IdHeader, FromCorners(x0 + w, y0 + 3, r - w, y0 + 3 + h),
                             [this](wxWindow* window) { PaintHeader(window); });
    IntroWnd = new PaneText(this, IdDescription, FromCorners(x0 + w, y0 + h / 2 + 6 * h, r - 2 * w, b - h),
                            [this](wxWindow* window) { PaintDescription(window); });

    const int buttonTop = y0 + 4 * h;
    const wxSize buttonSize(12 * w, h + h / 4);
    ApplyBtn = new wxButton(this, IdApply, "(&Apply)", wxPoint(x0 + w, buttonTop), buttonSize);
    RestoreBtn = new wxButton(this, IdRestore, "(&Restore)", wxPoint(x0 + 14 * w, buttonTop), buttonSize);
    wxString defaultCaption = "&Default";
    if (item->Dflt.GetLength() < 12) defaultCaption.Printf("&Default (%s)", wxString::FromUTF8(item->Dflt));
    DefaultBtn = new wxButton(this, IdDefault, defaultCaption, wxPoint(x0 + 27 * w, buttonTop), buttonSize);
    for (wxButton* button : {ApplyBtn, RestoreBtn, DefaultBtn}) button->SetFont(TextFont);

    CreateValueControl(*item);
    wxWindow* value = ValueEdit != nullptr ? static_cast<wxWindow*>(ValueEdit) : ValueCombo;
    if (value == nullptr) {
        err.Format("Cannot create Control (Error %d)", errno);
        return -3;
    }
    value->SetFont(EditFont);
    value->Raise();
    value->SetFocus();

    LayoutDescription();
    UpdateButtons();
    return 0;  // the document's SelectItem has remembered the item's name
}

void CDlgCfg::CreateValueControl(CCfgItem& item) {
    const int w = CharWidth;
    const int h = CharHeight;
    const wxRect upper = UpperFrame->GetRect();
    const int left = upper.GetLeft() + w;
    const int top = upper.GetTop() + 2 * h;
    const int right = upper.GetLeft() + w * (item.Width + 3);
    CTxt stored;
    Doc.ReadStoredText(item, stored);
    CtrlKind = item.CtrlKind();
    if (CtrlKind == 2) {
        ValueCombo = new wxComboBox(this, IdValue, "", wxPoint(left, top), wxSize(right - left + w + 10, -1), 0,
                                    nullptr, wxCB_DROPDOWN | wxCB_READONLY);
        if (item.Type == CFGTYPE_BOOL) {
            ValueCombo->Append("NO");
            ValueCombo->Append("YES");
            ValueCombo->SetSelection(CfgYesNo(stored));
        } else {
            for (const char* source : kCfgPriceSources) ValueCombo->Append(source);
            const int n = CfgParSrcNumber(stored);
            if (n >= 1 && n <= 8) ValueCombo->SetSelection(n - 1);
        }
        ValueCombo->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent&) {
            CTxt err;
            Doc.ChgData(ValueCombo->GetValue().utf8_str(), err);
        });
        return;
    }
    // The edit field is made as a template control, so the type's style bits
    // (digits only, upper or lower case, password, scrolling) mean what they
    // mean in any template.
    zam::graph::DlgTemplateItem edit;
    edit.ClassName = "Edit";
    edit.Id = IdValue;
    edit.Style = item.Style | 0x00800080;
    ValueEdit = wxDynamicCast(zam::graph::ControlFromTemplate(this, edit), wxTextCtrl);
    if (ValueEdit == nullptr) return;
    ValueEdit->SetSize(wxRect(left, top, right - left, h + 6));
    ValueEdit->ChangeValue(wxString::FromUTF8(stored));
    ValueEdit->Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
        event.Skip();
        if (ValueEdit == nullptr || Doc.CurItem == nullptr) return;
        CTxt err;
        Doc.ChgData(ValueEdit->GetValue().utf8_str(), err);
    });
}

void CDlgCfg::UpdateButtons() {
    if (Doc.CurItem != nullptr) UpdateButtons(*Doc.CurItem);
}

void CDlgCfg::UpdateButtons(const CCfgItem& item) {
    if (ApplyBtn != nullptr) ApplyBtn->SetLabel(item.Changed ? "&APPLY" : "(&Apply)");
    if (RestoreBtn != nullptr) RestoreBtn->SetLabel(item.Changed ? "&RESTORE" : "(&Restore)");
}

void CDlgCfg::SetValueText(const char* text) {
    if (ValueEdit != nullptr) ValueEdit->ChangeValue(wxString::FromUTF8(text));
    if (ValueCombo != nullptr) ValueCombo->SetValue(wxString::FromUTF8(text));
}

void CDlgCfg::LayoutDescription() {
    // Lines are placed, and pictures made, once per shown item: a repaint
    // only draws what is placed.
    wxClientDC dc(IntroWnd);
    dc.SetFont(TextFont);
    const int lineHeight = dc.GetCharHeight() + dc.GetFontMetrics().externalLeading;
    int y = lineHeight + lineHeight / 2;
    std::vector<CfgDescLine> lines;
    CCfgDoc::SplitDescription(Doc.ItemText, lines);
    for (const CfgDescLine& line : lines) {
        PaneLine placed;
        placed.Kind = line.LineKind;
        placed.Y = y;
        placed.Text = static_cast<const char*>(line.Content);
        if (line.LineKind == CfgDescLine::Picture) {
            CTxt file;
            auto* picture = new CPictureCtrl(IntroWnd, kIdPicture, wxPoint(0, y));
            placed.Loaded = Doc.GetItemFile(line.Content, file, 2) > 0 && picture->LoadPicture(file) == 1;
            if (placed.Loaded) {
                picture->Draw();
                picture->Show();
                y += picture->GetSize().GetHeight();
            } else {
                picture->Hide();
                y += lineHeight;
            }
            Pictures.push_back(picture);
        } else if (line.LineKind == CfgDescLine::Rule) {
            y += 2;
        } else {
            y += lineHeight;
        }
        Layout.push_back(placed);
    }
}

void CDlgCfg::PaintHeader(wxWindow* window) {
    wxAutoBufferedPaintDC dc(window);
    dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
    dc.Clear();
    if (Doc.CurItem == nullptr) return;
    dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT));
    dc.SetFont(window->GetFont());
    const wxString text = wxString::Format("%s Parameter '%s':", wxString::FromUTF8(Doc.CurItem->Group),
                                           wxString::FromUTF8(Doc.CurItem->Name));
    dc.DrawText(text, 0, 0);
    const wxSize extent = dc.GetTextExtent(text);
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT)));
    const int lineY = extent.GetHeight() < window->GetClientSize().GetHeight() ? extent.GetHeight()
                                                                              : window->GetClientSize().GetHeight() - 1;
    dc.DrawLine(0, lineY, extent.GetWidth(), lineY);
}

void CDlgCfg::PaintDescription(wxWindow* window) {
    wxAutoBufferedPaintDC dc(window);
    dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
    dc.Clear();
    dc.SetFont(TextFont);
    dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT));
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW)));
    dc.DrawText(wxString::FromUTF8(Doc.Intro), 0, 0);
    for (const PaneLine& line : Layout) {
        if (line.Kind == CfgDescLine::Rule) {
            dc.DrawLine(0, line.Y, window->GetClientSize().GetWidth(), line.Y);
        } else if (line.Kind == CfgDescLine::Picture) {
            if (!line.Loaded) dc.DrawText("?", 0, line.Y);
        } else {
            dc.DrawText(wxString::FromUTF8(line.Text), 0, line.Y);
        }
    }
}
