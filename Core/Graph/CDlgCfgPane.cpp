// The pane of the current parameter: two frames, the header, the value
// field, Apply, Restore and Default, and the description with its rules and
// pictures, laid out level with the tree.

#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/dcbuffer.h>
#include <wx/settings.h>
#include <wx/textctrl.h>
#include <wx/valtext.h>

#include <algorithm>
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
const char* const kMaskedDefault = "&Default (*****)";

// A window the dialog paints itself, in the button face's colours.
class PaneText : public wxWindow {
public:
    PaneText(wxWindow* parent, int id, const wxRect& rect, std::function<void(wxWindow*)> paint)
        : wxWindow(parent, id, rect.GetPosition(), rect.GetSize()), m_Paint(std::move(paint)) {
        SetBackgroundStyle(wxBG_STYLE_PAINT);
        Bind(wxEVT_PAINT, [this](wxPaintEvent&) { m_Paint(this); });
        SetCanFocus(false);
    }
    // Only read: the keyboard's focus would vanish into it.
    bool AcceptsFocus() const override { return false; }

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
    // Browsing the tree by keyboard keeps the focus there; a click, or the
    // editor's own choice, puts it into the field.
    const bool keepTreeFocus = Tree != nullptr && FindFocus() == Tree && !m_FocusField;
    m_FocusField = false;
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

    // The frames first, so the controls made later lie on top of them.
    UpperFrame = new CFrameCtrl(this, IdFrame, "", wxDefaultPosition, wxDefaultSize);
    LowerFrame = new CFrameCtrl(this, IdFrame, "", wxDefaultPosition, wxDefaultSize);
    for (CFrameCtrl* frame : {UpperFrame, LowerFrame}) {
        frame->SetFont(TextFont);
        frame->SetCanFocus(false);
    }

    HeaderWnd = new PaneText(this, IdHeader, wxRect(), [this](wxWindow* window) { PaintHeader(window); });
    const int headerHeight = std::max(h, HeaderWnd->GetCharHeight() + 2);
    HeaderWnd->SetSize(FromCorners(x0 + w, y0 + 3, r - w, y0 + 3 + headerHeight));

    // Rows follow the spacing of the value font, each at least below the one
    // above it, whatever the two fonts are.
    CreateValueControl(*item, x0 + w, std::max(y0 + 2 * h, y0 + 3 + headerHeight + 2), r - w);
    wxWindow* value = ValueWindow();
    if (value == nullptr) {
        err.Format("Cannot create Control (Error %d)", errno);
        return -3;
    }
    wxString defaultCaption = "&Default";
    if ((item->Style & CFGSTYLE_PASSWORD) != 0) {
        defaultCaption = kMaskedDefault;  // a password's default is a password too
    } else if (item->Dflt.GetLength() < 12) {
        defaultCaption.Printf("&Default (%s)", wxString::FromUTF8(item->Dflt));
    }
    const wxSize button = ButtonSize(defaultCaption);
    const int buttonTop = std::max(y0 + 4 * h, value->GetRect().GetBottom() + 1 + h / 4);
    const int upperBottom = std::max(y0 + 6 * h, buttonTop + button.y + h / 2);
    UpperFrame->SetSize(FromCorners(x0, y0, r, upperBottom));
    LowerFrame->SetSize(FromCorners(x0, upperBottom, r, b));
    IntroWnd = new PaneText(this, IdDescription, FromCorners(x0 + w, upperBottom + h / 2, r - 2 * w, b - h),
                            [this](wxWindow* window) { PaintDescription(window); });

    ApplyBtn = new wxButton(this, IdApply, "(&Apply)", wxPoint(x0 + w, buttonTop), button);
    RestoreBtn = new wxButton(this, IdRestore, "(&Restore)", wxPoint(x0 + 2 * w + button.x, buttonTop), button);
    DefaultBtn = new wxButton(this, IdDefault, defaultCaption, wxPoint(x0 + 3 * w + 2 * button.x, buttonTop), button);
    for (wxButton* pushButton : {ApplyBtn, RestoreBtn, DefaultBtn}) pushButton->SetFont(TextFont);

    value->SetFont(EditFont);
    value->Raise();
    // The toolkit's own focus chain in the order Tab takes here.
    value->MoveAfterInTabOrder(Tree);
    ApplyBtn->MoveAfterInTabOrder(value);
    RestoreBtn->MoveAfterInTabOrder(ApplyBtn);
    DefaultBtn->MoveAfterInTabOrder(RestoreBtn);
    if (wxWindow* close = FindWindow(IdClose)) close->MoveAfterInTabOrder(DefaultBtn);
    if (!keepTreeFocus) value->SetFocus();

    LayoutDescription();
    SyncShown();
    return 0;  // the document's SelectItem has remembered the item's name
}

void CDlgCfg::CreateValueControl(CCfgItem& item, int left, int top, int rightmost) {
    const int w = CharWidth;
    const int h = CharHeight;
    int right = std::min(left + w * (item.Width + 3) - w, rightmost);
    if (right < left + 4 * w) right = left + 4 * w;
    CTxt stored;
    Doc.ReadStoredText(item, stored);
    CtrlKind = item.CtrlKind();
    if (CtrlKind == 2) {
        // Editable, as the definition's lists are: "on", "y" or "High(2)"
        // typed are read like the entries.
        const int width = std::min(right - left + w + 10, rightmost - left);
        ValueCombo = new wxComboBox(this, IdValue, "", wxPoint(left, top), wxSize(width, -1), 0, nullptr,
                                    wxCB_DROPDOWN);
        // As high as the value font needs, which the list's default is not.
        ValueCombo->SetFont(EditFont);
        ValueCombo->SetSize(wxSize(width, std::max(ValueCombo->GetBestSize().y, h + 6)));
        if (item.Type == CFGTYPE_BOOL) {
            ValueCombo->Append("NO");
            ValueCombo->Append("YES");
        } else {
            for (const char* source : kCfgPriceSources) ValueCombo->Append(source);
        }
        ShowStoredChoice();
        ValueCombo->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent&) {
            CTxt err;
            Doc.ChgData(ValueCombo->GetValue().utf8_str(), err);
            UpdateButtons();
        });
        ValueCombo->Bind(wxEVT_TEXT, [this](wxCommandEvent& event) {
            event.Skip();
            UpdateButtons();
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
    // The captions tell that there is something to apply as soon as it is typed.
    ValueEdit->Bind(wxEVT_TEXT, [this](wxCommandEvent& event) {
        event.Skip();
        UpdateButtons();
    });
}

void CDlgCfg::ShowStoredChoice() {
    if (Doc.CurItem == nullptr) return;
    CTxt stored;
    Doc.ReadStoredText(*Doc.CurItem, stored);
    if (ValueEdit != nullptr) {
        ValueEdit->ChangeValue(wxString::FromUTF8(stored));
        return;
    }
    if (ValueCombo == nullptr) return;
    if (Doc.CurItem->Type == CFGTYPE_BOOL) {
        ValueCombo->SetSelection(CfgYesNo(stored));
        return;
    }
    const int n = CfgParSrcNumber(stored);
    if (n >= 1 && n <= 8) ValueCombo->SetSelection(n - 1);
    else ValueCombo->ChangeValue("");
}

void CDlgCfg::UpdateButtons() {
    if (Doc.CurItem != nullptr) UpdateButtons(*Doc.CurItem);
}

void CDlgCfg::UpdateButtons(const CCfgItem& item) {
    const bool pending = item.Changed || (&item == Doc.CurItem && HasPendingEdit());
    if (ApplyBtn != nullptr) ApplyBtn->SetLabel(pending ? "&APPLY" : "(&Apply)");
    if (RestoreBtn != nullptr) RestoreBtn->SetLabel(pending ? "&RESTORE" : "(&Restore)");
}

void CDlgCfg::SetValueText(const char* text) {
    const wxString shown = wxString::FromUTF8(text);
    if (ValueEdit != nullptr) ValueEdit->ChangeValue(shown);
    if (ValueCombo != nullptr) {
        // An entry of the list is shown as that entry, chosen.
        const int entry = ValueCombo->FindString(shown, false);
        if (entry != wxNOT_FOUND) ValueCombo->SetSelection(entry);
        else ValueCombo->ChangeValue(shown);
    }
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
            picture->SetCanFocus(false);
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
