// The pane of the current parameter: two frames, the header, the value
// field, Apply, Restore and Default, and the description with its rules and
// pictures, laid out level with the tree.

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/colordlg.h>
#include <wx/combobox.h>
#include <wx/datectrl.h>
#include <wx/dateevt.h>
#include <wx/dcbuffer.h>
#include <wx/dcmemory.h>
#include <wx/scrolwin.h>
#include <wx/settings.h>
#include <wx/textctrl.h>
#include <wx/valtext.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <functional>

#include "Core/Graph/CDataTreeCtrl.h"
#include "Core/Graph/WxTranslator.h"
#include "Core/Platform/Translation.h"
#include "Core/Graph/CDlgCfg.h"
#include "Core/Graph/CFrameCtrl.h"
#include "Core/Graph/CPictureCtrl.h"
#include "Core/Graph/DialogFromTemplate.h"
#include "Core/Time/CZAMDateTime.h"

namespace {

// 0xFFFF, the id pictures had, is beyond the toolkit's ids.
const int kIdPicture = wxID_ANY;
const char* const kMaskedDefault = TrNoop("&Default (*****)");

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

// The description: drawn by the dialog, wrapped to its width, scrolled when
// longer than it is high. Only then can the keyboard's focus come to it, so
// the arrows and page keys can scroll it.
using ScrolledView = wxScrolled<wxWindow>;

class DescriptionView : public ScrolledView {
public:
    DescriptionView(wxWindow* parent, int id, const wxRect& rect, std::function<void(ScrolledView*)> paint)
        : ScrolledView(parent, id, rect.GetPosition(), rect.GetSize(), wxVSCROLL), m_Paint(std::move(paint)) {
        SetBackgroundStyle(wxBG_STYLE_PAINT);
        Bind(wxEVT_PAINT, [this](wxPaintEvent&) { m_Paint(this); });
        auto refresh = [this](wxFocusEvent& event) {
            event.Skip();
            Refresh();
        };
        Bind(wxEVT_SET_FOCUS, refresh);
        Bind(wxEVT_KILL_FOCUS, refresh);
    }
    bool AcceptsFocus() const override { return GetVirtualSize().y > GetClientSize().y; }
    bool AcceptsFocusFromKeyboard() const override { return AcceptsFocus(); }

private:
    std::function<void(ScrolledView*)> m_Paint;
};

bool ChooseWithDialog(wxWindow* parent, wxColour& colour) {
    wxColourData data;
    data.SetChooseFull(true);
    data.SetColour(colour);
    wxColourDialog dialog(parent, &data);
    if (dialog.ShowModal() != wxID_OK) return false;
    colour = dialog.GetColourData().GetColour();
    return true;
}

CDlgCfg::ColourChooser g_chooseColour = ChooseWithDialog;

// r,g,b of a colour text the editor reads; false for one it cannot.
bool ColourOf(const char* text, wxColour& colour) {
    CTxt form;
    int r = 0, g = 0, b = 0;
    if (CfgColorText(text, form) == 0 || std::sscanf(form, "%d,%d,%d", &r, &g, &b) != 3) return false;
    colour.Set(static_cast<unsigned char>(r), static_cast<unsigned char>(g), static_cast<unsigned char>(b));
    return true;
}

template <typename Window>
void DestroyAndForget(Window*& window) {
    if (window != nullptr) window->Destroy();
    window = nullptr;
}

wxRect FromCorners(int left, int top, int right, int bottom) {
    return wxRect(left, top, right > left ? right - left : 0, bottom > top ? bottom - top : 0);
}

}  // namespace

void CDlgCfg::SetColourChooser(ColourChooser chooser) {
    g_chooseColour = chooser != nullptr ? chooser : ChooseWithDialog;
}

void CDlgCfg::ClearPane() {
    DestroyAndForget(ValueEdit);
    DestroyAndForget(ValueCombo);
    DestroyAndForget(ColourBtn);
    DestroyAndForget(DatePicker);
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
    // Browsing the tree by keyboard, or typing into the filter, keeps the
    // focus there; a click, or the editor's own choice, puts it into the field.
    wxWindow* focus = FindFocus();
    const bool keepTreeFocus = !m_FocusField && focus != nullptr &&
                               (focus == Tree || focus == FilterEdit || focus == ModifiedOnlyBox);
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
        err.Format(Tr("Cannot create Control (Error %d)"), errno);
        return -3;
    }
    wxString defaultCaption = WxTr("&Default");
    if ((item->Style & CFGSTYLE_PASSWORD) != 0) {
        defaultCaption = WxTr(kMaskedDefault);  // a password's default is a password too
    } else if (item->Dflt.GetLength() < 12) {
        defaultCaption.Printf(WxTr("&Default (%s)"), wxString::FromUTF8(item->Dflt));
    }
    const wxSize button = ButtonSize(defaultCaption);
    int valueBottom = value->GetRect().GetBottom();
    if (ColourBtn != nullptr) valueBottom = std::max(valueBottom, ColourBtn->GetRect().GetBottom());
    if (DatePicker != nullptr) valueBottom = std::max(valueBottom, DatePicker->GetRect().GetBottom());
    const int buttonTop = std::max(y0 + 4 * h, valueBottom + 1 + h / 4);
    const int upperBottom = std::max(y0 + 6 * h, buttonTop + button.y + h / 2);
    UpperFrame->SetSize(FromCorners(x0, y0, r, upperBottom));
    LowerFrame->SetSize(FromCorners(x0, upperBottom, r, b));
    IntroWnd = new DescriptionView(this, IdDescription, FromCorners(x0 + w, upperBottom + h / 2, r - w, b - h / 2),
                                   [this](ScrolledView* window) { PaintDescription(window); });

    ApplyBtn = new wxButton(this, IdApply, WxTr("(&Apply)"), wxPoint(x0 + w, buttonTop), button);
    RestoreBtn = new wxButton(this, IdRestore, WxTr("(&Restore)"), wxPoint(x0 + 2 * w + button.x, buttonTop), button);
    DefaultBtn = new wxButton(this, IdDefault, defaultCaption, wxPoint(x0 + 3 * w + 2 * button.x, buttonTop), button);
    for (wxButton* pushButton : {ApplyBtn, RestoreBtn, DefaultBtn}) pushButton->SetFont(TextFont);

    value->SetFont(EditFont);
    value->Raise();
    // The toolkit's own focus chain in the order Tab takes here.
    value->MoveAfterInTabOrder(Tree);
    wxWindow* picker = ColourBtn != nullptr ? static_cast<wxWindow*>(ColourBtn) : DatePicker;
    if (picker != nullptr) picker->MoveAfterInTabOrder(value);
    ApplyBtn->MoveAfterInTabOrder(picker != nullptr ? picker : value);
    RestoreBtn->MoveAfterInTabOrder(ApplyBtn);
    DefaultBtn->MoveAfterInTabOrder(RestoreBtn);
    if (DefaultsBtn != nullptr) DefaultsBtn->MoveAfterInTabOrder(DefaultBtn);
    if (wxWindow* close = FindWindow(IdClose)) close->MoveAfterInTabOrder(DefaultsBtn ? DefaultsBtn : DefaultBtn);
    if (!keepTreeFocus) value->SetFocus();

    LayoutDescription();
    SyncShown();
    return 0;  // the document's SelectItem has remembered the item's name
}

void CDlgCfg::CreateValueControl(CCfgItem& item, int left, int top, int rightmost) {
    const int w = CharWidth;
    const int h = CharHeight;
    // A colour or a date has its picker to the right of the field.
    wxWindow* picker = nullptr;
    if (item.Type == CFGTYPE_COLOR) {
        ColourBtn = new wxButton(this, IdPick, wxString::FromUTF8("\xE2\x80\xA6"), wxDefaultPosition, wxDefaultSize,
                                 wxBU_EXACTFIT);
        ColourBtn->SetToolTip(WxTr("Choose the colour"));
        picker = ColourBtn;
    } else if (item.Type == CFGTYPE_DATE) {
        DatePicker = new wxDatePickerCtrl(this, IdPick, wxDefaultDateTime, wxDefaultPosition, wxDefaultSize,
                                          wxDP_DROPDOWN | wxDP_SHOWCENTURY | wxDP_ALLOWNONE);
        // The years a date value holds.
        DatePicker->SetRange(wxDateTime(1, wxDateTime::Jan, 1900), wxDateTime(31, wxDateTime::Dec, 2155));
        DatePicker->Bind(wxEVT_DATE_CHANGED, [this](wxDateEvent& event) {
            if (m_Syncing || !event.GetDate().IsValid()) return;
            const wxDateTime& date = event.GetDate();
            TakePicked(wxString::Format("%d/%d/%d", static_cast<int>(date.GetMonth()) + 1, date.GetDay(),
                                        date.GetYear()));
        });
        picker = DatePicker;
    }
    if (picker != nullptr) {
        const wxSize best = picker->GetBestSize();
        const int side = ColourBtn != nullptr ? h + 6 : std::max(best.y, h + 6);
        const int pickerWidth = ColourBtn != nullptr ? std::max(best.x, side) + side : best.x;
        rightmost = std::max(left + 4 * w, rightmost - pickerWidth - w / 2);
        picker->SetSize(std::min(left + w * (item.Width + 3) - w, rightmost) + w / 2, top, pickerWidth, side);
    }
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
    if (picker != nullptr) picker->Move(right + w / 2, top);
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
    if (ApplyBtn != nullptr) ApplyBtn->SetLabel(pending ? WxTr("&APPLY") : WxTr("(&Apply)"));
    if (RestoreBtn != nullptr) RestoreBtn->SetLabel(pending ? WxTr("&RESTORE") : WxTr("(&Restore)"));
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

namespace {

// Cuts text into lines no wider than width: at blanks, and inside a word
// only when the word alone is wider.
std::vector<wxString> WrapToWidth(wxDC& dc, const wxString& text, int width) {
    std::vector<wxString> lines;
    wxString line;
    auto fits = [&dc, width](const wxString& candidate) { return dc.GetTextExtent(candidate).x <= width; };
    size_t at = 0;
    while (at < text.length()) {
        size_t end = text.find(' ', at);
        if (end == wxString::npos) end = text.length();
        wxString word = text.Mid(at, end - at);
        at = end + 1;
        const wxString joined = line.empty() ? word : line + " " + word;
        if (fits(joined)) {
            line = joined;
            continue;
        }
        if (!line.empty()) lines.push_back(line);
        line.clear();
        // A word wider than the whole line is broken where it must be.
        while (!word.empty() && !fits(word)) {
            wxArrayInt widths;
            dc.GetPartialTextExtents(word, widths);
            size_t n = 0;
            while (n < widths.size() && widths[n] <= width) ++n;
            n = std::max<size_t>(n, 1);
            lines.push_back(word.Left(n));
            word = word.Mid(n);
        }
        line = word;
    }
    lines.push_back(line);
    return lines;
}

}  // namespace

void CDlgCfg::LayoutDescription() {
    // Lines are placed, and pictures made, once per shown item and size: a
    // repaint or a scroll only draws what is placed. The width leaves room
    // for the scroll bar whether it is needed or not, so the lines never
    // have to be placed twice.
    auto* view = static_cast<ScrolledView*>(IntroWnd);
    wxClientDC dc(view);
    dc.SetFont(TextFont);
    const int lineHeight = dc.GetCharHeight() + dc.GetFontMetrics().externalLeading;
    const int width = std::max(CharWidth * 4, view->GetClientSize().GetWidth() -
                                                  std::max(0, wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, view)) - 2);
    int y = 0;
    auto addText = [&](const wxString& text) {
        for (const wxString& piece : WrapToWidth(dc, text, width)) {
            PaneLine placed;
            placed.Y = y;
            placed.Text = static_cast<const char*>(piece.utf8_str());
            Layout.push_back(placed);
            y += lineHeight;
        }
    };
    addText(wxString::FromUTF8(Doc.Intro));
    y += lineHeight / 2;
    std::vector<CfgDescLine> lines;
    CCfgDoc::SplitDescription(Doc.ItemText, lines, 0);  // wrapped to the width here instead
    for (const CfgDescLine& line : lines) {
        if (line.LineKind == CfgDescLine::Text) {
            addText(wxString::FromUTF8(line.Content));
            continue;
        }
        PaneLine placed;
        placed.Kind = line.LineKind;
        placed.Y = y;
        placed.Text = static_cast<const char*>(line.Content);
        if (line.LineKind == CfgDescLine::Picture) {
            CTxt file;
            auto* picture = new CPictureCtrl(view, kIdPicture, wxPoint(0, y));
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
        } else {
            y += 2;
        }
        Layout.push_back(placed);
    }
    view->SetScrollRate(0, std::max(1, lineHeight));
    view->SetVirtualSize(width, y);
    view->SetCanFocus(view->AcceptsFocus());
}

void CDlgCfg::PaintHeader(wxWindow* window) {
    wxAutoBufferedPaintDC dc(window);
    dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
    dc.Clear();
    if (Doc.CurItem == nullptr) return;
    dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT));
    dc.SetFont(window->GetFont());
    const wxString text = wxString::Format(WxTr("%s Parameter '%s':"), wxString::FromUTF8(Doc.CurItem->Group),
                                           wxString::FromUTF8(Doc.CurItem->Name));
    dc.DrawText(text, 0, 0);
    const wxSize extent = dc.GetTextExtent(text);
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT)));
    const int lineY = extent.GetHeight() < window->GetClientSize().GetHeight() ? extent.GetHeight()
                                                                              : window->GetClientSize().GetHeight() - 1;
    dc.DrawLine(0, lineY, extent.GetWidth(), lineY);
}

void CDlgCfg::PaintDescription(wxWindow* window) {
    auto* view = static_cast<ScrolledView*>(window);
    wxAutoBufferedPaintDC dc(view);
    dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
    dc.Clear();
    if (wxWindow::FindFocus() == view) {
        // The keyboard scrolls it now: shown as the tree shows its focus.
        dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT), 2));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawRectangle(wxRect(view->GetClientSize()));
    }
    view->DoPrepareDC(dc);
    dc.SetFont(TextFont);
    dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT));
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW)));
    const int width = view->GetVirtualSize().GetWidth();
    for (const PaneLine& line : Layout) {
        if (line.Kind == CfgDescLine::Rule) {
            dc.DrawLine(0, line.Y, width, line.Y);
        } else if (line.Kind == CfgDescLine::Picture) {
            if (!line.Loaded) dc.DrawText("?", 0, line.Y);
        } else {
            dc.DrawText(wxString::FromUTF8(line.Text), 0, line.Y);
        }
    }
}

std::vector<wxWindow*> CDlgCfg::PaneCycle() const {
    wxWindow* picker = ColourBtn != nullptr ? static_cast<wxWindow*>(ColourBtn) : DatePicker;
    return {ValueWindow(), picker, ApplyBtn, RestoreBtn, DefaultBtn, IntroWnd};
}

void CDlgCfg::UpdatePickers() {
    const wxString text = ValueText();
    if (ColourBtn != nullptr) {
        // The swatch shows the colour the field holds; none for one unread.
        const int side = std::max(8, ColourBtn->GetSize().GetHeight() - 12);
        wxBitmap swatch(side, side);
        {
            wxMemoryDC dc(swatch);
            wxColour colour;
            const bool readable = ColourOf(text.utf8_str(), colour);
            dc.SetBackground(wxBrush(readable ? colour : wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
            dc.Clear();
            dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT)));
            dc.SetBrush(*wxTRANSPARENT_BRUSH);
            dc.DrawRectangle(0, 0, side, side);
        }
        ColourBtn->SetBitmap(swatch);
    }
    if (DatePicker != nullptr) {
        CZAMDateTime date;
        m_Syncing = true;
        if (date.SetDTCheck(text.utf8_str()) == 0 && date.m_Month >= 1) {
            DatePicker->SetValue(wxDateTime(date.m_Day, static_cast<wxDateTime::Month>(date.m_Month - 1),
                                            date.GetYear()));
        } else {
            DatePicker->SetValue(wxDefaultDateTime);
        }
        m_Syncing = false;
    }
}

void CDlgCfg::PickColour() {
    if (Doc.CurItem == nullptr || Doc.CurItem->Type != CFGTYPE_COLOR) return;
    // From the colour the field shows, else the stored one.
    wxColour colour(*wxBLACK);
    if (!ColourOf(ValueText().utf8_str(), colour)) {
        CTxt stored;
        Doc.ReadStoredText(*Doc.CurItem, stored);
        ColourOf(stored, colour);
    }
    if (!g_chooseColour(this, colour)) return;
    TakePicked(wxString::Format("%d,%d,%d", colour.Red(), colour.Green(), colour.Blue()));
}

void CDlgCfg::TakePicked(const wxString& text) {
    if (ValueEdit == nullptr) return;
    ValueEdit->ChangeValue(text);
    TakeAndApply();
}
