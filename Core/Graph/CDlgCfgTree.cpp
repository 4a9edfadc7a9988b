// The editor's tree: filled from the definition, narrowed by the filter
// field and the Modified only box, bold where a value differs from its
// default, with the whole label as a tooltip where the tree cuts it; and
// Defaults…, which sets all those values back at once.

#include <algorithm>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "Core/Graph/CDataTreeCtrl.h"
#include "Core/Graph/WxTranslator.h"
#include "Core/Platform/Translation.h"
#include "Core/Graph/CDlgCfg.h"
#include "Core/Platform/UserInterface.h"

namespace {

// Tree images tell the item's kind; the tree has no pictures for them.
enum : int { kImageRoot = 0, kImageGroup = 1, kImageItem = 2 };
// Groups are opened, as the definition or the filter asks, until this many
// parameters show; the others stay closed and get their items when opened.
// The tree measures and lays out every label it shows, which for tens of
// thousands would take longer than a keystroke may.
const size_t kOpenRows = 1000;
// A tooltip shows this much of a long value, in lines of this many characters.
const int kToolTipChars = 1000;
const size_t kToolTipLine = 80;

}  // namespace

void CDlgCfg::CreateFilterRow() {
    FilterEdit = new wxTextCtrl(this, IdFilter, "", wxDefaultPosition, wxDefaultSize, wxTE_PROCESS_ENTER);
    FilterEdit->SetHint(WxTr("Filter (Ctrl+F)"));
    FilterEdit->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { ApplyFilter(); });
    ModifiedOnlyBox = new wxCheckBox(this, IdModifiedOnly, WxTr("&Modified only"));
    ModifiedOnlyBox->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { ApplyFilter(); });
    NoMatchText = new wxStaticText(this, IdNoMatch, WxTr("No setting matches"));
    NoMatchText->Hide();
    DefaultsBtn = new wxButton(this, IdDefaults, WxTr("De&faults…"));
    Tree->Bind(wxEVT_TREE_ITEM_EXPANDING, [this](wxTreeEvent& event) {
        event.Skip();
        LoadGroup(event.GetItem());
    });
    Tree->Bind(wxEVT_TREE_ITEM_GETTOOLTIP, [this](wxTreeEvent& event) {
        const wxString tip = ItemToolTip(event.GetItem());
        if (tip.empty()) event.Veto();
        else event.SetToolTip(tip);
    });
}

void CDlgCfg::BuildTree() {
    Doc.LoadItems();
    CCfgItem* chosen = Doc.PickStartItem();
    FillTree(nullptr);
    Tree->Refresh();
    if (chosen != nullptr) SelectInTree(chosen);
    if (chosen != nullptr && chosen->TreeItem != nullptr) {
        CTxt err;
        ShowItem(chosen, err);
    } else if (RootItem != nullptr) {
        Tree->SelectItem(RootItem->Handle);
    }
}

void CDlgCfg::FillTree(const std::vector<CCfgItem*>* match) {
    m_Filling = true;
    Tree->Freeze();
    Tree->DeleteAllRecords();
    RootItem = nullptr;
    m_Closed.clear();
    for (const auto& item : Doc.Items) item->TreeItem = nullptr;
    CTxt rootLabel;
    if (Doc.CfgDefNode != nullptr) Doc.CfgDefNode->GetAttrText("SectionName", rootLabel);
    if (rootLabel.IsEmpty()) rootLabel = Tr("Root");
    RootItem = Tree->InsertItem(rootLabel, nullptr, kImageRoot);
    if (RootItem != nullptr) {
        RootItem->SetData(Doc.CfgDefNode);
        Tree->Expand(RootItem->Handle);
        // The matches come in tree order, so one pass along them suffices.
        size_t next = 0, shown = 0;
        std::vector<CCfgItem*> members;
        for (CfgGroup& group : Doc.Groups) {
            members.clear();
            for (CCfgItem* item : group.Items) {
                if (match != nullptr) {
                    if (next >= match->size() || (*match)[next] != item) continue;
                    ++next;
                }
                members.push_back(item);
            }
            // Without a filter an empty group is shown too, as the definition has it.
            if (match != nullptr && members.empty()) continue;
            CDataTreeItem* groupRecord = Tree->InsertItem(group.Name, RootItem, kImageGroup);
            if (groupRecord == nullptr) continue;
            groupRecord->SetData(group.Node);
            if (members.empty()) continue;
            // Matches are shown in open groups, whatever the definition says.
            const bool open = (match != nullptr || group.Open != 0) && shown < kOpenRows;
            if (open) {
                for (CCfgItem* item : members) InsertItemRecord(*item, groupRecord);
                Tree->Expand(groupRecord->Handle);
                shown += members.size();
            } else {
                ClosedGroup closed;
                closed.Record = groupRecord;
                closed.Items = members;
                m_Closed.push_back(std::move(closed));
                Tree->SetItemHasChildren(groupRecord->Handle, true);
            }
        }
    }
    Tree->Thaw();
    m_Filling = false;
}

void CDlgCfg::InsertItemRecord(CCfgItem& item, CDataTreeItem* groupRecord) {
    CTxt label;
    Doc.ItemLabel(item, label);  // the same masking and cutting as after a change
    CDataTreeItem* record = Tree->InsertItem(label, groupRecord, kImageItem);
    if (record == nullptr) return;
    record->SetData(&item);
    item.TreeItem = record;
    if (item.Modified) Tree->SetItemBold(record->Handle, true);
}

bool CDlgCfg::LoadGroup(const wxTreeItemId& group) {
    for (ClosedGroup& closed : m_Closed) {
        if (closed.Loaded || closed.Record == nullptr || closed.Record->Handle != group) continue;
        closed.Loaded = true;
        const bool filling = m_Filling;
        m_Filling = true;
        for (CCfgItem* item : closed.Items) InsertItemRecord(*item, closed.Record);
        m_Filling = filling;
        return true;
    }
    return false;
}

void CDlgCfg::SelectInTree(CCfgItem* item) {
    if (item == nullptr) return;
    if (item->TreeItem == nullptr) {
        for (ClosedGroup& closed : m_Closed) {
            if (!closed.Loaded && std::find(closed.Items.begin(), closed.Items.end(), item) != closed.Items.end())
                LoadGroup(closed.Record->Handle);
        }
    }
    if (item->TreeItem == nullptr) return;
    const wxTreeItemId handle = static_cast<CDataTreeItem*>(item->TreeItem)->Handle;
    m_Filling = true;  // the pane is settled by the caller
    Tree->SelectItem(handle);
    m_Filling = false;
    Tree->EnsureVisible(handle);
}

bool CDlgCfg::IsFiltered() const {
    if (ModifiedOnlyBox != nullptr && ModifiedOnlyBox->GetValue()) return true;
    return FilterEdit != nullptr && !FilterEdit->GetValue().Strip(wxString::both).empty();
}

void CDlgCfg::ApplyFilter() {
    if (!Ready || Tree == nullptr || FilterEdit == nullptr) return;
    if (!IsFiltered()) {
        FillTree(nullptr);
        NoMatchText->Hide();
        if (Doc.CurItem != nullptr) SelectInTree(Doc.CurItem);
        else if (RootItem != nullptr) Tree->SelectItem(RootItem->Handle);
        return;
    }
    // The index is made when it is first needed: opening the editor does
    // not wait for every description file.
    if (Filter.Size() != Doc.Items.size()) Filter.Index(Doc);
    std::vector<CCfgItem*> found;
    Filter.Match(FilterEdit->GetValue().utf8_str(), ModifiedOnlyBox->GetValue(), found);
    FillTree(&found);
    NoMatchText->Show(found.empty());
    if (found.empty()) return;
    CCfgItem* first = found.front();
    if (first != Doc.CurItem && LeaveItem()) {
        CTxt err;
        if (ShowItem(first, err) != 0 && err.IsFilled()) zam::platform::ShowMessageBox(err, nullptr, MB_ICONSTOP);
    }
    SelectInTree(Doc.CurItem);
}

void CDlgCfg::ClearFilter() {
    if (FilterEdit == nullptr) return;
    FilterEdit->ChangeValue("");
    ApplyFilter();
}

void CDlgCfg::SetAllToDefault() {
    if (!LeaveItem()) return;
    CTxt report;
    if (Doc.DefaultAll(report) == 0) return;
    if (Doc.CurItem != nullptr) {
        ShowStoredChoice();
        SyncShown();
    }
    // What no longer differs leaves a tree of modified settings.
    if (ModifiedOnlyBox != nullptr && ModifiedOnlyBox->GetValue()) ApplyFilter();
}

wxString CDlgCfg::ItemToolTip(const wxTreeItemId& id) const {
    if (Tree == nullptr || !id.IsOk()) return wxString();
    wxRect text;
    const bool cut = Tree->GetBoundingRect(id, text, true) && text.GetRight() >= Tree->GetClientSize().GetWidth();
    wxString whole = Tree->GetItemText(id);
    CDataTreeItem* record = Tree->GetItemRecord(id);
    bool valueCut = false;
    if (record != nullptr && Tree->GetItemImage(id) == kImageItem && record->GetData() != nullptr) {
        // The label shows a long value cut; the tooltip shows more of it.
        const auto* item = static_cast<const CCfgItem*>(record->GetData());
        CTxt value, longer;
        Doc.LabelValue(*item, value);
        CCfgDoc::DisplayValue(*item, item->Updated ? item->NewText : item->ShownText, longer, kToolTipChars);
        valueCut = std::string(value) != std::string(longer);
        whole = wxString::Format("%s=%s%s", wxString::FromUTF8(item->Name), wxString::FromUTF8(longer),
                                 item->Updated ? "*" : "");
    }
    if (!cut && !valueCut) return wxString();
    wxString tip;
    for (size_t at = 0; at < whole.length(); at += kToolTipLine) {
        if (at > 0) tip += '\n';
        tip += whole.Mid(at, kToolTipLine);
    }
    return tip;
}
