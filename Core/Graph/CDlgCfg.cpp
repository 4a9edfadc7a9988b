// The editor's dialog: the template it is made of, sizing, keys and
// buttons. The tree with its filter is in CDlgCfgTree.cpp, the pane of the
// current parameter in CDlgCfgPane.cpp.

#include "Core/Graph/CDlgCfg.h"

#include <strings.h>

#include <algorithm>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/datectrl.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/display.h>
#include <wx/settings.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#ifdef __WXGTK3__
#include <gtk/gtk.h>
#endif

#include "Core/Graph/CDataTreeCtrl.h"
#include "Core/Graph/WxTranslator.h"
#include "Core/Platform/Translation.h"
#include "Core/Graph/CDynDlgTemplate.h"
#include "Core/Graph/WxUserInterface.h"
#include "Core/Platform/UserInterface.h"
#include "Core/System/Log.h"
#include "Core/System/Profile.h"
#include "Core/Text/TextFunc.h"

wxIMPLEMENT_CLASS(CDlgCfg, CDlgDyn);

namespace {

const char* const kLogSource = "DlgCfg";
const int kLogLevel = 12;
const char* const kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
const int kMinFontPx = 8;
const int kMaxFontPx = 32;
// Space between the dialog's edge, the tree, the pane and Close.
const int kMargin = 6;
const int kMinTreePx = 120;
const int kFocusFrame = 2;
// The masked form of a password, whatever its length.

// Tree images tell the item's kind; the tree has no pictures for them.
enum : int { kImageRoot = 0, kImageGroup = 1, kImageItem = 2 };

int Metric(wxSystemMetric metric) {
    const int value = wxSystemSettings::GetMetric(metric);
    return value > 0 ? value : 0;
}

}  // namespace

CDlgCfg::CDlgCfg() {
    // Bound after CDlgDyn's own handler, so this one is asked first: the
    // editor's buttons apply, restore and reset instead of ending the dialog.
    Bind(wxEVT_BUTTON, &CDlgCfg::OnButton, this);
    Bind(wxEVT_SIZE, &CDlgCfg::OnSize, this);
    Bind(wxEVT_CHAR_HOOK, &CDlgCfg::OnCharHook, this);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { CloseWithCount(); });
    Bind(wxEVT_TREE_SEL_CHANGING, &CDlgCfg::OnTreeSelChanging, this);
    Bind(wxEVT_TREE_SEL_CHANGED, &CDlgCfg::OnTreeSelChanged, this);
    Doc.SetView(this);
}

CDlgCfg::~CDlgCfg() {
    Ready = 0;
    ClearPane();
}

int CDlgCfg::LoadSysDef(const char* path, CTxt& err) { return Doc.LoadSysDef(path, err); }

int CDlgCfg::DoConfig(CTxt&, const char* firstItem, wxWindow* parent) {
    // A line's height in a small dialog font is the template's unit of rows:
    // the font's, not the title's, which may be blank or unreadable.
    wxMemoryDC measure;
    measure.SetFont(wxFont(wxFontInfo(wxSize(0, 8)).FaceName("MS Sans Serif")));
    const int h = std::max(8, measure.GetTextExtent("Ag").GetHeight());

    const wxRect screen = wxDisplay(parent != nullptr ? wxDisplay::GetFromWindow(parent) : 0).GetClientArea();
    Width = Doc.Width;
    if (Doc.WidthPct > 0) Width = static_cast<int>((screen.GetWidth() - 8) * Doc.WidthPct * 0.01 * 0.6666667);
    if (Width < 500) Width = 500;
    const int m = Metric(wxSYS_MENU_Y) + Metric(wxSYS_FRAMESIZE_X);
    Height = m + static_cast<int>((screen.GetHeight() - 2 * m) * Doc.HeightPct * 0.01 * 0.61349696);

    CDynDlgTemplate dialogTemplate;
    dialogTemplate.SetHeader(0x80CF0800, 0x00050000, PosX, PosY, Width, Height);
    dialogTemplate.SetCaption(Doc.Title);
    // The tree's width and height are settled by Arrange once the dialog has
    // its pixels; here they only must not be negative.
    const int treeWidth = std::max(20, std::min(Doc.TreeWidthPx, Width * 2 / 3));
    dialogTemplate.AddItem(4, h, treeWidth, std::max(10, Height - 2 * h - 8), IdTree, 0x50810087, "SysTreeView32",
                           "");
    dialogTemplate.AddItem(5, Height - h / 2 - h, 30, h, IdClose, 0x50000000, "Button", Tr("&Close"));

    if (firstItem != nullptr && firstItem[0] != '\0') {
        Doc.FirstItem = firstItem;
        Doc.FirstItem.Trim(' ');
    }
    CDlgCfg running;
    running.Owner = this;
    if (!running.CreateIndirect(dialogTemplate, parent)) return 0;
    running.OnInitDialog();
    // Its questions and reports come up over the editor, not the window below.
    zam::graph::MessageBoxOwner boxes(&running);
    return running.ShowModal();
}

wxFont CDlgCfg::FontFromSetting(const char* key, const char* def) {
    CTxt setting;
    ProfileReadStr("CFGDLG", key, def, setting);
    ProfileWriteStr("CFGDLG", key, setting);
    CTxt face;
    strfldtxt(setting, '|', 1, 0, face);
    face.Trim(' ');
    face.MakeLength(32);
    const int height = strfldint(setting, '|', 2);
    // The face names are the desktop's to resolve: fontconfig picks its
    // nearest font for a name it does not have. The setting is the user's
    // and stays as written; the height used is held to what leaves the pane
    // room for its field and buttons on a screen.
    wxFontInfo info(wxSize(0, height > 0 ? std::max(kMinFontPx, std::min(height, kMaxFontPx)) : 12));
    if (face.IsFilled()) info.FaceName(wxString::FromUTF8(face));
    return wxFont(info);
}

bool CDlgCfg::OnInitDialog() {
    if (Owner == nullptr) return false;
    EditFont = FontFromSetting("EditFont", "Courier New|16");
    {
        wxClientDC dc(this);
        dc.SetFont(EditFont);
        const wxSize letters = dc.GetTextExtent(kLetters);
        CharHeight = letters.GetHeight();
        CharWidth = letters.GetWidth() / 26 + 1;
    }
    TextFont = FontFromSetting("TextFont", "Arial|12");

    Move(Owner->PosX, Owner->PosY);

    for (int id = IdTree; id < 1999 && Tree == nullptr; ++id) {
        Tree = wxDynamicCast(FindWindow(id), CDataTreeCtrl);
    }
    if (Tree == nullptr) {
        LogTrace(kLogSource, kLogLevel, "Missing TreeCtrl");
        return false;
    }
    Tree->OwnerWnd = this;
    Tree->Bind(wxEVT_LEFT_DOWN, &CDlgCfg::OnTreeClick, this);
    // The tree's own highlight looks the same with and without the focus: a
    // frame around it shows the keyboard user that the arrows browse it.
    auto showFocus = [this](wxFocusEvent& event) {
        event.Skip();
        RefreshRect(Tree->GetRect().Inflate(kFocusFrame + 1));
    };
    Tree->Bind(wxEVT_SET_FOCUS, showFocus);
    Tree->Bind(wxEVT_KILL_FOCUS, showFocus);
    Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
        wxPaintDC dc(this);
        if (Tree == nullptr || FindFocus() != Tree) return;
        dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT), kFocusFrame));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        const wxRect around = Tree->GetRect().Inflate(kFocusFrame);
        dc.DrawRectangle(around);
    });
    m_TreeOrigin = Tree->GetPosition();
    if (m_TreeOrigin.y < kMargin) m_TreeOrigin.y = kMargin;
    if (m_TreeOrigin.x < kMargin) m_TreeOrigin.x = kMargin;
    CreateFilterRow();

    const CCfgDoc& holder = Owner->Doc;
    Doc.AppName = static_cast<const char*>(holder.AppName);
    Doc.SectionName = static_cast<const char*>(holder.SectionName);
    Doc.Title = static_cast<const char*>(holder.Title);
    Doc.Intro = static_cast<const char*>(holder.Intro);
    Doc.BaseDir = static_cast<const char*>(holder.BaseDir);
    Doc.TreeWidthPct = holder.TreeWidthPct;
    Doc.FirstItem = static_cast<const char*>(holder.FirstItem);
    Doc.CfgDefNode = holder.CfgDefNode;
    // The pane's geometry comes from the tree's: the tree is placed for the
    // template's size, and again for the size the editor ends up with.
    Arrange();
    KeepOnScreen();
    Arrange();
    m_LastSize = GetSize();
    Width = GetSize().GetWidth();
    Height = GetSize().GetHeight();
    BuildTree();
    Ready = 1;
#ifdef __WXGTK3__
    // A keyboard user must see where the focus is from the first key on.
    if (GTK_IS_WINDOW(GetHandle())) gtk_window_set_focus_visible(GTK_WINDOW(GetHandle()), TRUE);
#endif
    // The tree first: the arrow keys browse the parameters, Tab goes on to the field.
    Tree->SetFocus();
    return true;
}

void CDlgCfg::KeepOnScreen() {
    // Placed below the main window, a tall dialog would hang off the screen
    // with its Close button; it moves up and, if need be, shrinks to fit.
    const int display = wxDisplay::GetFromWindow(this);
    const wxRect area = wxDisplay(display != wxNOT_FOUND ? display : 0).GetClientArea();
    wxRect placed = GetRect();
    placed.SetWidth(std::min(placed.GetWidth(), area.GetWidth()));
    placed.SetHeight(std::min(placed.GetHeight(), area.GetHeight()));
    placed.SetX(std::max(area.GetLeft(), std::min(placed.GetX(), area.GetRight() + 1 - placed.GetWidth())));
    placed.SetY(std::max(area.GetTop(), std::min(placed.GetY(), area.GetBottom() + 1 - placed.GetHeight())));
    if (placed != GetRect()) SetSize(placed);
}

void CDlgCfg::OnTreeClick(wxMouseEvent& event) {
    // The tree selects the item itself; the selection change shows it.
    event.Skip();
    int flags = 0;
    const wxTreeItemId hit = Tree->HitTest(event.GetPosition(), flags);
    if (!hit.IsOk()) return;
    CDataTreeItem* record = Tree->GetItemRecord(hit);
    const int image = Tree->GetItemImage(hit);
    LogTrace(kLogSource, kLogLevel, "Clicked: %s, Data=%p, Image=%d/%d",
             static_cast<const char*>(Tree->GetItemText(hit).utf8_str()), static_cast<void*>(record), image,
             Tree->GetItemImage(hit, wxTreeItemIcon_Selected));
    // A mouse user clicks a parameter to change it: its field takes the focus.
    if (image == kImageItem && hit != Tree->GetSelection()) m_FocusField = true;
}

void CDlgCfg::OnTreeSelChanging(wxTreeEvent& event) {
    if (!Ready || m_Filling || Doc.CurItem == nullptr) return;
    // Only another parameter takes the pane's place; a group or the root
    // leaves the edit where it is.
    CDataTreeItem* record = Tree->GetItemRecord(event.GetItem());
    if (record == nullptr || record->GetData() == Doc.CurItem || Tree->GetItemImage(event.GetItem()) != kImageItem)
        return;
    if (!LeaveItem()) {
        event.Veto();
        m_FocusField = false;
    }
}

void CDlgCfg::OnTreeSelChanged(wxTreeEvent& event) {
    if (!Ready || m_Filling) return;
    const wxTreeItemId selected = event.GetItem();
    CDataTreeItem* record = Tree->GetItemRecord(selected);
    if (Tree->GetItemImage(selected) != kImageItem || record == nullptr || record->GetData() == nullptr) {
        m_FocusField = false;
        return;
    }
    auto* item = static_cast<CCfgItem*>(record->GetData());
    if (item == Doc.CurItem) return;
    // Shown after the tree has settled its selection (a click is still
    // being handled); by then the user may have moved on again.
    CallAfter([this, item] {
        CDataTreeItem* now = Tree->GetItemRecord(Tree->GetSelection());
        if (now == nullptr || now->GetData() != item || item == Doc.CurItem) return;
        CTxt err;
        if (ShowItem(item, err) != 0 && err.IsFilled()) zam::platform::ShowMessageBox(err, nullptr, MB_ICONSTOP);
    });
}

void CDlgCfg::OnSize(wxSizeEvent& event) {
    event.Skip();
    Relayout();
}

void CDlgCfg::Relayout() {
    if (!Ready || Tree == nullptr) return;
    const wxSize size = GetSize();
    // Rebuilding the pane makes the toolkit lay the dialog out again; only a
    // real change of size is worth a rebuild.
    if (size == m_LastSize) return;
    m_LastSize = size;
    Width = size.GetWidth();
    Height = size.GetHeight();
    Arrange();
    RebuildPane();
}

wxSize CDlgCfg::ButtonSize(const wxString& defaultCaption) const {
    // At least the twelve characters of the value font the buttons were
    // planned with, and never less than their own captions need.
    const int w = CharWidth;
    const int h = CharHeight;
    wxSize button(12 * w, h + h / 4);
    for (wxString caption : {WxTr("&RESTORE"), WxTr("(&Restore)"), WxTr("&APPLY"), WxTr("(&Apply)"), defaultCaption}) {
        caption.Replace("&", "");
        int x = 0, y = 0;
        GetTextExtent(caption, &x, &y, nullptr, nullptr, &TextFont);
        button.x = std::max(button.x, x + 20);
        button.y = std::max(button.y, y + 8);
    }
    return button;
}

wxSize CDlgCfg::PaneMinSize() const {
    const int w = CharWidth;
    const int h = CharHeight;
    // Three buttons with a character between them inside the frames; the
    // upper frame's rows and a few more of description below.
    const wxSize button = ButtonSize(wxString::Format(WxTr("&Default (%s)"), "00000000000"));
    const int upper = std::max(6 * h, 4 * h + button.y + h / 2);
    return wxSize(w + 3 * button.x + 2 * w + w + h, upper + 5 * h);
}

void CDlgCfg::Arrange() {
    if (Tree == nullptr) return;
    wxWindow* close = FindWindow(IdClose);
    wxSize closeSize(60, 20);
    if (close != nullptr) {
        const wxSize best = close->GetBestSize();
        closeSize = wxSize(std::max(close->GetSize().x, best.x), std::max(close->GetSize().y, best.y));
    }
    const wxSize pane = PaneMinSize();
    const int x = m_TreeOrigin.x;
    // The filter's row above the tree, Defaults… beside Close.
    const wxSize boxSize = ModifiedOnlyBox != nullptr ? ModifiedOnlyBox->GetBestSize() : wxSize(0, 0);
    const wxSize noMatchSize = NoMatchText != nullptr ? NoMatchText->GetBestSize() : wxSize(0, 0);
    const wxSize defaultsSize = DefaultsBtn != nullptr ? DefaultsBtn->GetBestSize() : wxSize(0, 0);
    const int rowHeight = FilterEdit != nullptr ? std::max(FilterEdit->GetBestSize().y, boxSize.y) : 0;
    const int top = m_TreeOrigin.y + (rowHeight > 0 ? rowHeight + kMargin : 0);
    // The smallest editor whose every control is whole; never beyond the screen.
    const int display = wxDisplay::GetFromWindow(this);
    const wxRect area = wxDisplay(display != wxNOT_FOUND ? display : 0).GetClientArea();
    const wxSize frame = GetSize() - GetClientSize();
    wxSize least(x + kMinTreePx + CharWidth + pane.x, top + pane.y + kMargin + closeSize.y + kMargin);
    least.x = std::max({least.x, x + kMinTreePx + CharWidth + boxSize.x + CharWidth + noMatchSize.x + kMargin,
                        x + closeSize.x + kMargin + defaultsSize.x + kMargin});
    least.x = std::min(least.x, area.GetWidth() - frame.x);
    least.y = std::min(least.y, area.GetHeight() - frame.y);
    SetMinClientSize(least);
    const wxSize now = GetClientSize();
    if (now.x < least.x || now.y < least.y) SetClientSize(wxSize(std::max(now.x, least.x), std::max(now.y, least.y)));
    const wxSize client = GetClientSize();

    // TreeWidth is a share of the width, held between a tree that shows its
    // labels and a pane that holds its buttons; without it the tree keeps
    // its width within the same bounds.
    int treeWidth = Tree->GetSize().GetWidth();
    if (Doc.TreeWidthPct >= 0) treeWidth = Doc.TreeWidthPct * client.x / 100;
    const int widest = client.x - x - CharWidth - pane.x;
    treeWidth = std::max(kMinTreePx, std::min(treeWidth, widest));
    if (Doc.TreeWidthPct >= 0) Doc.TreeWidthPx = treeWidth;
    const int closeTop = client.y - closeSize.y - kMargin;
    Tree->SetSize(x, top, treeWidth, std::max(pane.y, closeTop - kMargin - top));
    if (close != nullptr) close->SetSize(x, closeTop, closeSize.x, closeSize.y);
    if (DefaultsBtn != nullptr)
        DefaultsBtn->SetSize(x + closeSize.x + kMargin, closeTop, defaultsSize.x, std::max(defaultsSize.y, closeSize.y));
    if (FilterEdit == nullptr) return;
    const int rowTop = m_TreeOrigin.y;
    FilterEdit->SetSize(x, rowTop, treeWidth, rowHeight);
    const int boxLeft = x + treeWidth + CharWidth;
    ModifiedOnlyBox->SetSize(boxLeft, rowTop + (rowHeight - boxSize.y) / 2, boxSize.x, boxSize.y);
    NoMatchText->SetSize(boxLeft + boxSize.x + CharWidth, rowTop + (rowHeight - noMatchSize.y) / 2, noMatchSize.x,
                         noMatchSize.y);
}

void CDlgCfg::RebuildPane() {
    if (Doc.CurItem == nullptr) return;
    // The focus goes back to the same place: a control of the pane is made
    // anew, any other window stays as it is.
    wxWindow* focus = FindFocus();
    int paneSlot = -1;
    const std::vector<wxWindow*> before = PaneCycle();
    for (wxWindow* w = focus; w != nullptr && w != this && paneSlot < 0; w = w->GetParent()) {
        for (size_t i = 0; i < before.size(); ++i)
            if (before[i] != nullptr && before[i] == w) paneSlot = static_cast<int>(i);
    }
    const wxString typed = ValueText();
    long from = 0, to = 0;
    if (ValueEdit != nullptr) ValueEdit->GetSelection(&from, &to);
    const wxString shown = m_ShownValue;
    const EntryState entry = m_Entry;
    CTxt err;
    ShowItem(Doc.CurItem, err);
    // What was typed and not applied survives the new pane.
    m_ShownValue = shown;
    m_Entry = entry;
    if (typed != ValueText()) {
        if (ValueEdit != nullptr) ValueEdit->ChangeValue(typed);
        if (ValueCombo != nullptr) ValueCombo->ChangeValue(typed);
        UpdateButtons();
    }
    if (ValueEdit != nullptr) ValueEdit->SetSelection(from, to);
    const std::vector<wxWindow*> after = PaneCycle();
    if (paneSlot >= 0 && after[paneSlot] != nullptr) {
        after[paneSlot]->SetFocus();
    } else if (paneSlot < 0 && focus != nullptr && FindFocus() != focus) {
        focus->SetFocus();
    }
}

void CDlgCfg::OnButton(wxCommandEvent& event) {
    const int id = event.GetId();
    if (id == IdClose) {
        CloseWithCount();
        return;
    }
    if (id < 1001 || id > 1999) {
        event.Skip();
        return;
    }
    if (id == IdDefaults) {
        SetAllToDefault();
        return;
    }
    if (Doc.CurItem == nullptr) return;
    switch (id) {
    case IdApply:
        // Apply writes what the field shows, typed just now or not.
        TakeAndApply();
        break;
    case IdRestore:
        Doc.RestoreItem();
        ShowStoredChoice();
        SyncShown();
        break;
    case IdDefault:
        Doc.DefaultItem();
        ShowStoredChoice();
        SyncShown();
        break;
    case IdPick:
        PickColour();
        break;
    default:
        CloseWithCount();
        break;
    }
}

void CDlgCfg::OnCharHook(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    wxWindow* focus = FindFocus();
    const bool inFilter = focus != nullptr && focus == FilterEdit;
    if (key == WXK_ESCAPE) {
        // Escape first empties the filter, then, as anywhere, closes.
        if (inFilter && !FilterEdit->IsEmpty()) ClearFilter();
        else CloseWithCount();
        return;
    }
    if (FilterEdit != nullptr && (key == 'F' || key == 'f') && event.ControlDown() && !event.AltDown()) {
        FilterEdit->SetFocus();
        FilterEdit->SelectAll();
        return;
    }
    // From the filter the arrow down or Enter goes on to the matches.
    if (inFilter && (key == WXK_DOWN || key == WXK_RETURN || key == WXK_NUMPAD_ENTER)) {
        Tree->SetFocus();
        return;
    }
    wxWindow* value = ValueWindow();
    const bool inValue = value != nullptr && focus != nullptr && (focus == value || focus->GetParent() == value);
    if (key == WXK_TAB && !event.ControlDown() && !event.AltDown()) {
        // Tab in the field takes the value like Enter, then moves on; a
        // refused value keeps the focus where it can be mended.
        // Where the focus was is taken first: a report of the change may
        // have held it when the value is applied.
        wxWindow* from = focus;
        if (inValue && HasPendingEdit() && !TakeAndApply()) return;
        MoveFocus(!event.ShiftDown(), from);
        return;
    }
    if (inValue && (key == WXK_RETURN || key == WXK_NUMPAD_ENTER)) {
        TakeAndApply();
        return;
    }
    event.Skip();
}

std::vector<wxWindow*> CDlgCfg::FocusCycle() const {
    std::vector<wxWindow*> cycle;
    std::vector<wxWindow*> order = {FilterEdit, ModifiedOnlyBox, Tree};
    for (wxWindow* window : PaneCycle()) order.push_back(window);
    order.push_back(DefaultsBtn);
    order.push_back(FindWindow(IdClose));
    for (wxWindow* window : order) {
        if (window != nullptr && window->IsShown() && window->IsEnabled() && window->AcceptsFocus())
            cycle.push_back(window);
    }
    return cycle;
}

void CDlgCfg::MoveFocus(bool forward, wxWindow* from) {
    const std::vector<wxWindow*> cycle = FocusCycle();
    if (cycle.empty()) return;
    // The focus may sit in a part of a control (the entry of a drop-down).
    size_t at = cycle.size();
    for (wxWindow* focus = from != nullptr ? from : FindFocus(); focus != nullptr && at == cycle.size() && focus != this;
         focus = focus->GetParent()) {
        for (size_t i = 0; i < cycle.size(); ++i)
            if (cycle[i] == focus) at = i;
    }
    size_t next = 0;
    if (at == cycle.size()) next = forward ? 0 : cycle.size() - 1;
    else next = forward ? (at + 1) % cycle.size() : (at + cycle.size() - 1) % cycle.size();
    cycle[next]->SetFocus();
    if (cycle[next] == ValueEdit) ValueEdit->SelectAll();
}

bool CDlgCfg::TakeAndApply() {
    if (Doc.CurItem == nullptr) return true;
    const wxString text = ValueText();
    CTxt err;
    const int taken = Doc.ChgData(text.utf8_str(), err);
    CTxt shown;
    CCfgDoc::DisplayValue(*Doc.CurItem, text.utf8_str(), shown);
    LogTrace(kLogSource, kLogLevel, "ChgData: %s (%s)", static_cast<const char*>(shown),
             static_cast<const char*>(err));
    // A refused entry writes nothing; the field keeps it to be mended.
    if (taken < 0) return false;
    Doc.ApplyItem();
    // A price source that names none of the list is not kept as if it were.
    if (Doc.CurItem->Type == CFGTYPE_PARSRC) {
        const int n = CfgParSrcNumber(ValueText().utf8_str());
        if (n < 1 || n > 8) ShowStoredChoice();
    }
    SyncShown();
    return true;
}

bool CDlgCfg::HasPendingEdit() const {
    return Doc.CurItem != nullptr && ValueWindow() != nullptr && ValueText() != m_ShownValue;
}

bool CDlgCfg::LeaveItem() {
    if (!HasPendingEdit()) return true;
    const CCfgItem& item = *Doc.CurItem;
    CTxt shown;
    CCfgDoc::DisplayValue(item, ValueText().utf8_str(), shown);
    CTxt question;
    CTxt heading;
    heading.Format(Tr("The value entered for %s Parameter %s is not applied yet:"),
                   static_cast<const char*>(item.Group), static_cast<const char*>(item.Name));
    question.Format("%s\r\n%s\r\n\r\n%s", static_cast<const char*>(heading), static_cast<const char*>(shown),
                    Tr("Apply it, or discard it?"));
    int answer = IDCANCEL;
    {
        zam::graph::MessageBoxLabels labels(Tr("&Apply"), Tr("&Discard"), Tr("&Back to it"));
        answer = zam::platform::ShowMessageBox(question, Doc.AppName, MB_YESNOCANCEL | MB_ICONQUESTION);
    }
    if (answer == IDYES && TakeAndApply()) return true;
    if (answer == IDNO) {
        DiscardEdit();
        return true;
    }
    // Back to the field (also after a refused entry), to mend or apply it.
    m_FocusField = false;
    if (wxWindow* value = ValueWindow()) value->SetFocus();
    return false;
}

void CDlgCfg::CloseWithCount() {
    if (!IsModal()) return;
    if (!LeaveItem()) return;
    EndModal(Doc.CountUpdated());
}

wxString CDlgCfg::ValueText() const {
    if (ValueEdit != nullptr) return ValueEdit->GetValue();
    if (ValueCombo != nullptr) return ValueCombo->GetValue();
    return wxString();
}

wxWindow* CDlgCfg::ValueWindow() const {
    if (ValueEdit != nullptr) return ValueEdit;
    return ValueCombo;
}

void CDlgCfg::SyncShown() {
    m_ShownValue = ValueText();
    if (Doc.CurItem == nullptr) return;
    CCfgItem& item = *Doc.CurItem;
    m_Entry.NewText = static_cast<const char*>(item.NewText);
    m_Entry.Entered = item.Entered;
    m_Entry.Changed = item.Changed;
    m_Entry.Value = item.EnteredValue();
    UpdateButtons();
    UpdatePickers();
}

void CDlgCfg::DiscardEdit() {
    if (Doc.CurItem != nullptr) {
        // Whatever the field's entry did to the item goes, so nothing
        // discarded is written by a later Apply or counted as a change.
        CCfgItem& item = *Doc.CurItem;
        item.NewText = static_cast<const char*>(m_Entry.NewText);
        item.Entered = m_Entry.Entered;
        item.Changed = m_Entry.Changed;
        item.EnteredValue() = m_Entry.Value;
    }
    if (ValueEdit != nullptr) ValueEdit->ChangeValue(m_ShownValue);
    if (ValueCombo != nullptr) SetValueText(m_ShownValue.utf8_str());
    UpdateButtons();
}

void CDlgCfg::SetTreeLabel(CCfgItem& item, const char* label) {
    // Called after each write: what the filter finds follows the value.
    if (Filter.Size() > 0) Filter.Update(Doc, item);
    if (item.TreeItem == nullptr) return;
    auto* record = static_cast<CDataTreeItem*>(item.TreeItem);
    record->SetLabel(label);
    if (Tree != nullptr && record->Handle.IsOk()) Tree->SetItemBold(record->Handle, item.Modified != 0);
}
