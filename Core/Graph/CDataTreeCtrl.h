#pragma once
// A tree control whose every item carries a record, CDataTreeItem, linking
// the item to its parent's record and to one data pointer. The tree owns its
// records in insertion order; the native item's data leads back to its record.
//
// Top items hang under a hidden root of the toolkit's tree, so a tree may
// have several; GetFirstTopItem is the "root item" of ExpandLevels.

#include <wx/treectrl.h>

#include "Core/Text/SPtrArray.h"

class CDataValue;
class CDataTreeCtrl;

/// One tree item's record.
class CDataTreeItem {
public:
    CDataTreeItem() = default;
    ~CDataTreeItem();
    CDataTreeItem(const CDataTreeItem&) = delete;
    CDataTreeItem& operator=(const CDataTreeItem&) = delete;

    /// Stores the pointer (the typed value is made on first use).
    void SetData(void* data);
    /// The stored pointer, or null.
    void* GetData() const;
    /// Changes the item's text when the record has a control and an item.
    void SetLabel(const char* text);

    CDataTreeItem* Parent = nullptr;  ///< the parent item's record; null for a top item
    int Reserved1 = 0;
    int Reserved2 = 0;
    CDataValue* Data = nullptr;  ///< owned; null until SetData
    wxTreeItemId Handle;         ///< the native item
    CDataTreeCtrl* Ctrl = nullptr;
};

class CDataTreeCtrl : public wxTreeCtrl {
public:
    CDataTreeCtrl();
    CDataTreeCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                  const wxSize& size = wxDefaultSize, long style = wxTR_DEFAULT_STYLE);
    ~CDataTreeCtrl() override;

    /// Creates the window (the hidden-root style is added).
    bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize, long style = wxTR_DEFAULT_STYLE);

    /// Appends an item with text and image (also its selected image) as the
    /// last child of parent's item, or as a top item when parent is null.
    /// The new record, or null when the item could not be inserted.
    CDataTreeItem* InsertItem(const char* text, CDataTreeItem* parent = nullptr, int image = -1);
    /// The record at index in insertion order, or null when out of range.
    CDataTreeItem* GetRecord(int index) const;
    /// The number of records.
    int GetRecordCount() const { return Records.GetSize(); }
    /// The record of a native item, or null.
    CDataTreeItem* GetItemRecord(const wxTreeItemId& item) const;
    /// Frees every record and its data; deletes the native items only while
    /// the window exists.
    void DeleteAllRecords();
    /// Collapses the first top item's children; with levels != 0 selects its
    /// first child, focuses the tree and expands it; with levels > 1 also
    /// expands each of its children. Shows the busy cursor meanwhile.
    void ExpandLevels(int levels);
    /// The first top item (invalid in an empty tree).
    wxTreeItemId GetFirstTopItem() const;

    wxWindow* OwnerWnd = nullptr;  ///< not owned
    int Reserved = 0;
    SPtrArray Records;  ///< owned CDataTreeItem records, in insertion order

private:
    wxTreeItemId HiddenRoot();
    bool m_WindowGone = false;
};
