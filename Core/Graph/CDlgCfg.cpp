// The editor's dialog: the template it is made of, the tree, sizing, keys
// and buttons. The pane of the current parameter is in CDlgCfgPane.cpp.

#include "Core/Graph/CDlgCfg.h"

#include <strings.h>

#include <algorithm>

#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/display.h>
#include <wx/settings.h>
#include <wx/textctrl.h>

#include "Core/Graph/CDataTreeCtrl.h"
#include "Core/Graph/CDynDlgTemplate.h"
#include "Core/Platform/UserInterface.h"
#include "Core/System/Log.h"
#include "Core/System/Profile.h"
#include "Core/Text/TextFunc.h"

wxIMPLEMENT_CLASS(CDlgCfg, CDlgDyn);

namespace {

const char* const kLogSource = "DlgCfg";
const int kLogLevel = 12;
const char* const kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";

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
    Doc.SetView(this);
}

CDlgCfg::~CDlgCfg() {
    Ready = 0;
    ClearPane();
}

int CDlgCfg::LoadSysDef(const char* path, CTxt& err) { return Doc.LoadSysDef(path, err); }

int CDlgCfg::DoConfig(CTxt&, const char* firstItem, wxWindow* parent) {
    // The title's height in a small dialog font is the template's unit of rows.
    wxMemoryDC measure;
    measure.SetFont(wxFont(wxFontInfo(wxSize(0, 8)).FaceName("MS Sans Serif")));
    const int h = measure.GetTextExtent(wxString::FromUTF8(Doc.Title)).GetHeight();

    const wxRect screen = wxDisplay(parent != nullptr ? wxDisplay::GetFromWindow(parent) : 0).GetClientArea();
    Width = Doc.Width;
    if (Doc.WidthPct > 0) Width = static_cast<int>((screen.GetWidth() - 8) * Doc.WidthPct * 0.01 * 0.6666667);
    if (Width < 500) Width = 500;
    const int m = Metric(wxSYS_MENU_Y) + Metric(wxSYS_FRAMESIZE_X);
    Height = m + static_cast<int>((screen.GetHeight() - 2 * m) * Doc.HeightPct * 0.01 * 0.61349696);

    CDynDlgTemplate dialogTemplate;
    dialogTemplate.SetHeader(0x80CF0800, 0x00050000, PosX, PosY, Width, Height);
    dialogTemplate.SetCaption(Doc.Title);
    dialogTemplate.AddItem(4, h, Doc.TreeWidthPx, Height - 2 * h - 8, IdTree, 0x50810087, "SysTreeView32", "");
    dialogTemplate.AddItem(5, Height - h / 2 - h, 30, h, IdClose, 0x50000000, "Button", "&Close");

    if (firstItem != nullptr && firstItem[0] != '\0') {
        Doc.FirstItem = firstItem;
        Doc.FirstItem.Trim(' ');
    }
    CDlgCfg running;
    running.Owner = this;
    if (!running.CreateIndirect(dialogTemplate, parent)) return 0;
    running.OnInitDialog();
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
    // nearest font for a name it does not have.
    wxFontInfo info(wxSize(0, height > 0 ? height : 12));
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
    m_LastSize = GetSize();  // the controls are placed for this size
    KeepOnScreen();
    Width = GetSize().GetWidth();
    Height = GetSize().GetHeight();

    for (int id = IdTree; id < 1999 && Tree == nullptr; ++id) {
        Tree = wxDynamicCast(FindWindow(id), CDataTreeCtrl);
    }
    if (Tree == nullptr) {
        LogTrace(kLogSource, kLogLevel, "Missing TreeCtrl");
        return false;
    }
    Tree->OwnerWnd = this;
    Tree->Bind(wxEVT_LEFT_DOWN, &CDlgCfg::OnTreeClick, this);

    const CCfgDoc& holder = Owner->Doc;
    Doc.AppName = static_cast<const char*>(holder.AppName);
    Doc.SectionName = static_cast<const char*>(holder.SectionName);
    Doc.Title = static_cast<const char*>(holder.Title);
    Doc.Intro = static_cast<const char*>(holder.Intro);
    Doc.BaseDir = static_cast<const char*>(holder.BaseDir);
    Doc.TreeWidthPct = holder.TreeWidthPct;
    Doc.FirstItem = static_cast<const char*>(holder.FirstItem);
    Doc.CfgDefNode = holder.CfgDefNode;
    BuildTree();
    Ready = 1;
    Relayout();
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

void CDlgCfg::BuildTree() {
    Doc.LoadItems();
    CTxt rootLabel;
    if (Doc.CfgDefNode != nullptr) Doc.CfgDefNode->GetAttrText("SectionName", rootLabel);
    if (rootLabel.IsEmpty()) rootLabel = "Root";
    RootItem = Tree->InsertItem(rootLabel, nullptr, kImageRoot);
    if (RootItem == nullptr) return;
    RootItem->SetData(Doc.CfgDefNode);
    for (CfgGroup& group : Doc.Groups) {
        CDataTreeItem* groupRecord = Tree->InsertItem(group.Name, RootItem, kImageGroup);
        if (groupRecord == nullptr) continue;
        groupRecord->SetData(group.Node);
        for (CCfgItem* item : group.Items) {
            CTxt label;
            label.Format("%s=%s", static_cast<const char*>(item->Name), static_cast<const char*>(item->ShownText));
            CDataTreeItem* record = Tree->InsertItem(label, groupRecord, kImageItem);
            if (record == nullptr) continue;
            record->SetData(item);
            item->TreeItem = record;
        }
    }
    CCfgItem* chosen = Doc.PickStartItem();
    Tree->ExpandLevels(2);
    for (CfgGroup& group : Doc.Groups) {
        if (group.Open != 0) continue;
        for (int i = 0; i < Tree->GetRecordCount(); ++i) {
            CDataTreeItem* record = Tree->GetRecord(i);
            if (record != nullptr && record->GetData() == group.Node) Tree->Collapse(record->Handle);
        }
    }
    Tree->Refresh();
    if (chosen != nullptr && chosen->TreeItem != nullptr) {
        const wxTreeItemId handle = static_cast<CDataTreeItem*>(chosen->TreeItem)->Handle;
        Tree->SelectItem(handle);
        Tree->EnsureVisible(handle);
        CTxt err;
        ShowItem(chosen, err);
    } else {
        Tree->SelectItem(RootItem->Handle);
    }
}

void CDlgCfg::OnTreeClick(wxMouseEvent& event) {
    event.Skip();
    int flags = 0;
    const wxTreeItemId hit = Tree->HitTest(event.GetPosition(), flags);
    if (!hit.IsOk()) return;
    CDataTreeItem* record = Tree->GetItemRecord(hit);
    const int image = Tree->GetItemImage(hit);
    Tree->SelectItem(hit);
    LogTrace(kLogSource, kLogLevel, "Clicked: %s, Data=%p, Image=%d/%d",
             static_cast<const char*>(Tree->GetItemText(hit).utf8_str()), static_cast<void*>(record), image,
             Tree->GetItemImage(hit, wxTreeItemIcon_Selected));
    if (image != kImageItem || record == nullptr || record->GetData() == nullptr) return;
    auto* item = static_cast<CCfgItem*>(record->GetData());
    // Shown after the click is done, so the tree has settled its selection.
    CallAfter([this, item] {
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
    const int dW = size.GetWidth() - m_LastSize.GetWidth();
    const int dH = size.GetHeight() - m_LastSize.GetHeight();
    // Rebuilding the pane makes the toolkit lay the dialog out again; only a
    // real change of size is worth a rebuild.
    if (dW == 0 && dH == 0) return;
    m_LastSize = size;
    Width = size.GetWidth();
    Height = size.GetHeight();
    const wxRect tree = Tree->GetRect();
    int treeWidth = tree.GetWidth() + dW;
    if (Doc.TreeWidthPct >= 0) {
        Doc.TreeWidthPx = Doc.TreeWidthPct * GetClientSize().GetWidth() / 100;
        treeWidth = Doc.TreeWidthPx;
    } else {
        treeWidth = tree.GetWidth();  // without TreeWidth the tree keeps its width
    }
    Tree->SetSize(tree.GetX(), tree.GetY(), treeWidth, tree.GetHeight() + dH);
    if (wxWindow* close = FindWindow(IdClose)) {
        const wxSize client = GetClientSize();
        close->Move(tree.GetX(), client.GetHeight() - close->GetSize().GetHeight() - 8);
    }
    if (Doc.CurItem != nullptr) {
        CTxt err;
        ShowItem(Doc.CurItem, err);
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
    if (Doc.CurItem == nullptr) return;
    switch (id) {
    case IdApply:
        Doc.ApplyItem();
        break;
    case IdRestore:
        Doc.RestoreItem();
        break;
    case IdDefault:
        Doc.DefaultItem();
        break;
    default:
        CloseWithCount();
        break;
    }
}

void CDlgCfg::OnCharHook(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    if (key == WXK_ESCAPE) {
        CloseWithCount();
        return;
    }
    wxWindow* focus = FindFocus();
    const bool inValue = focus != nullptr && (focus == ValueEdit || focus == ValueCombo);
    if (inValue && (key == WXK_TAB || key == WXK_RETURN || key == WXK_NUMPAD_ENTER)) {
        TakeAndApply();
        return;
    }
    event.Skip();
}

void CDlgCfg::TakeAndApply() {
    if (Doc.CurItem == nullptr) return;
    wxString text;
    if (ValueEdit != nullptr) text = ValueEdit->GetValue();
    if (ValueCombo != nullptr) text = ValueCombo->GetValue();
    CTxt err;
    Doc.ChgData(text.utf8_str(), err);
    LogTrace(kLogSource, kLogLevel, "ChgData: %s (%s)", static_cast<const char*>(text.utf8_str()),
             static_cast<const char*>(err));
    Doc.ApplyItem();
}

void CDlgCfg::CloseWithCount() {
    if (IsModal()) EndModal(Doc.CountUpdated());
}

void CDlgCfg::SetTreeLabel(CCfgItem& item, const char* label) {
    if (item.TreeItem != nullptr) static_cast<CDataTreeItem*>(item.TreeItem)->SetLabel(label);
}
