#include "Core/Graph/CDataTreeCtrl.h"

#include <wx/utils.h>

#include "Core/Values/CDataValue.h"

namespace {

// The native item's data: a plain link to the record, which the tree's
// record list owns. The toolkit deletes the link with its item.
class RecordLink : public wxTreeItemData {
public:
    explicit RecordLink(CDataTreeItem* record) : Record(record) {}
    CDataTreeItem* Record;
};

}  // namespace

CDataTreeItem::~CDataTreeItem() { delete Data; }

void CDataTreeItem::SetData(void* data) {
    if (Data == nullptr) Data = new CDataValue;
    else if (Data->GetValPtr() == data) return;
    Data->SetPtr(data);
}

void* CDataTreeItem::GetData() const { return Data ? Data->GetValPtr() : nullptr; }

void CDataTreeItem::SetLabel(const char* text) {
    if (Ctrl == nullptr || !Handle.IsOk()) return;
    Ctrl->SetItemText(Handle, wxString::FromUTF8(text ? text : ""));
}

CDataTreeCtrl::CDataTreeCtrl() = default;

CDataTreeCtrl::CDataTreeCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                             long style) {
    Create(parent, id, pos, size, style);
}

CDataTreeCtrl::~CDataTreeCtrl() {
    // The toolkit takes the native items down with the window itself.
    m_WindowGone = true;
    DeleteAllRecords();
}

bool CDataTreeCtrl::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                           long style) {
    if (!wxTreeCtrl::Create(parent, id, pos, size, style | wxTR_HIDE_ROOT)) return false;
    Bind(wxEVT_DESTROY, [this](wxWindowDestroyEvent& event) {
        if (event.GetEventObject() == this) m_WindowGone = true;
        event.Skip();
    });
    return true;
}

wxTreeItemId CDataTreeCtrl::HiddenRoot() {
    wxTreeItemId root = GetRootItem();
    if (!root.IsOk()) root = AddRoot(wxEmptyString);
    return root;
}

CDataTreeItem* CDataTreeCtrl::InsertItem(const char* text, CDataTreeItem* parent, int image) {
    if (m_WindowGone || GetHandle() == nullptr) return nullptr;
    const wxTreeItemId under = parent ? parent->Handle : HiddenRoot();
    if (!under.IsOk()) return nullptr;
    auto* record = new CDataTreeItem;
    const wxTreeItemId item =
        AppendItem(under, wxString::FromUTF8(text ? text : ""), image, image, new RecordLink(record));
    if (!item.IsOk()) {
        delete record;
        return nullptr;
    }
    record->Parent = parent;
    record->Handle = item;
    record->Ctrl = this;
    Records.Add(record);
    return record;
}

CDataTreeItem* CDataTreeCtrl::GetRecord(int index) const {
    if (index < 0 || index >= Records.GetSize()) return nullptr;
    return static_cast<CDataTreeItem*>(Records.GetAt(index));
}

CDataTreeItem* CDataTreeCtrl::GetItemRecord(const wxTreeItemId& item) const {
    if (!item.IsOk()) return nullptr;
    auto* link = dynamic_cast<RecordLink*>(GetItemData(item));
    return link ? link->Record : nullptr;
}

void CDataTreeCtrl::DeleteAllRecords() {
    for (int i = 0; i < Records.GetSize(); ++i) delete static_cast<CDataTreeItem*>(Records.GetAt(i));
    Records.RemoveAll();
    if (!m_WindowGone && GetHandle() != nullptr) DeleteAllItems();
}

wxTreeItemId CDataTreeCtrl::GetFirstTopItem() const {
    const wxTreeItemId root = GetRootItem();
    if (!root.IsOk()) return wxTreeItemId();
    wxTreeItemIdValue cookie;
    return GetFirstChild(root, cookie);
}

void CDataTreeCtrl::ExpandLevels(int levels) {
    wxBusyCursor busy;
    const wxTreeItemId top = GetFirstTopItem();
    if (top.IsOk()) {
        wxTreeItemIdValue cookie;
        for (wxTreeItemId child = GetFirstChild(top, cookie); child.IsOk(); child = GetNextChild(top, cookie))
            Collapse(child);
        if (levels != 0) {
            wxTreeItemIdValue first;
            const wxTreeItemId child = GetFirstChild(top, first);
            if (child.IsOk()) SelectItem(child);
            SetFocus();
            Expand(top);
            if (levels > 1) {
                for (wxTreeItemId c = GetFirstChild(top, cookie); c.IsOk(); c = GetNextChild(top, cookie))
                    Expand(c);
            }
        }
    }
    Refresh();
    Update();
}
