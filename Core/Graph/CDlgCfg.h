#pragma once
// The configuration editor's window: a resizable dialog, built from an
// in-memory template, with the parameters of a definition file in a tree on
// the left and the pane of the selected parameter on the right (a header,
// the value field, Apply, Restore and Default, and the description with its
// rules and pictures). What the parameters are and how their values are
// normalised and stored is CCfgDoc's; this class shows it.
//
// Two objects take part, as with any use of the editor: the definition
// holder, which the caller makes and which loads the file (LoadSysDef) and
// is never shown, and the running dialog DoConfig makes and runs, whose
// Owner is the holder.

#include <memory>
#include <vector>

#include <wx/font.h>

#include "Core/Config/CCfgDoc.h"
#include "Core/Config/CCfgFilter.h"
#include "Core/Graph/CDlgDyn.h"
#include "Core/Text/SPtrArray.h"

class CDataTreeCtrl;
class CDataTreeItem;
class CFrameCtrl;
class CPictureCtrl;
class wxButton;
class wxCheckBox;
class wxColour;
class wxComboBox;
class wxDatePickerCtrl;
class wxStaticText;
class wxTextCtrl;
class wxTreeEvent;
class wxTreeItemId;

class CDlgCfg : public CDlgDyn, public CCfgView {
public:
    /// The editor's control ids.
    enum : int {
        IdClose = 2,
        IdTree = 1001,
        IdValue = 1002,
        IdFrame = 1003,
        IdHeader = 1004,
        IdDescription = 1005,
        IdFilter = 1006,
        IdModifiedOnly = 1007,
        IdNoMatch = 1008,
        IdApply = 1101,
        IdRestore = 1102,
        IdDefault = 1103,
        IdPick = 1104,      ///< the colour chooser's button, or the date drop-down
        IdDefaults = 1105,  ///< every setting back to its default
    };

    /// Asks the user for a colour, starting from colour; false when none
    /// was chosen. The editor's own opens the toolkit's colour dialog.
    using ColourChooser = bool (*)(wxWindow* parent, wxColour& colour);
    /// Replaces the colour chooser (tests); null puts the dialog back.
    static void SetColourChooser(ColourChooser chooser);

    CDlgCfg();
    ~CDlgCfg() override;

    // --- the holder -------------------------------------------------------
    /// Reads the definition file: 0, or the negative code of CCfgDoc::LoadSysDef with its message in err.
    int LoadSysDef(const char* path, CTxt& err);
    /// Runs the editor modally over parent; the number of parameters changed.
    int DoConfig(CTxt& err, const char* firstItem, wxWindow* parent = nullptr);

    // --- the running dialog -----------------------------------------------
    /// Fonts, position, tree and first item; false without a holder or a tree.
    bool OnInitDialog();
    /// Shows item in the pane: 0, or -3 "Cannot create Control (Error %d)" in err.
    int ShowItem(CCfgItem* item, CTxt& err);
    /// Removes every control of the pane.
    void ClearPane();
    /// Apply's and Restore's captions follow the current item.
    void UpdateButtons();
    /// Takes the value field's text and applies it (Tab, Enter and Apply):
    /// false when the entry was refused and nothing was written.
    bool TakeAndApply();
    /// True when the value field shows something else than the value it was
    /// given for the stored one: typed, picked or pasted, but not applied.
    bool HasPendingEdit() const;
    /// Before the pane is left (another item, the editor closed): an edit not
    /// applied is applied or discarded as the user answers. False when the
    /// user chose to go back to it, or its entry was refused.
    bool LeaveItem();
    /// Moves the focus along filter, Modified only, tree, value field, its
    /// picker, Apply, Restore, Default, the description when it scrolls,
    /// Defaults… and Close, round and round (Tab forward, Shift+Tab back),
    /// from the window given or else the one with the focus.
    void MoveFocus(bool forward, wxWindow* from = nullptr);
    /// The windows Tab visits, in order, those that exist.
    std::vector<wxWindow*> FocusCycle() const;
    /// Ends the dialog with the number of changed parameters, once an edit
    /// not applied is settled.
    void CloseWithCount();

    /// Narrows the tree to the filter's text and the Modified only box; the
    /// first match becomes the current item. Without either, the whole tree
    /// comes back with the current item kept.
    void ApplyFilter();
    /// Empties the filter field and shows the whole tree (as Escape there).
    void ClearFilter();
    /// True while the tree shows only some of the items.
    bool IsFiltered() const;
    /// Asks for a colour starting from the field's and enters what is chosen.
    void PickColour();
    /// A picked value goes in as if typed and entered: ChgData, then Apply.
    void TakePicked(const wxString& text);
    /// Every setting that differs from its default back to it (Defaults…).
    void SetAllToDefault();
    /// The whole label of a tree item the tree shows cut, else empty.
    wxString ItemToolTip(const wxTreeItemId& id) const;

    // CCfgView
    void SetValueText(const char* text) override;
    void SetTreeLabel(CCfgItem& item, const char* label) override;
    void UpdateButtons(const CCfgItem& item) override;

    CCfgDoc Doc;  ///< the definition (holder) or the shown parameters (running dialog)
    int& PosX = Doc.PosX;
    int& PosY = Doc.PosY;
    CTxt& BaseDir = Doc.BaseDir;
    CDlgCfg* Owner = nullptr;  ///< the holder, in the running dialog
    int Width = 400;           ///< template units while built, then pixels
    int Height = 600;
    int CharWidth = 8;
    int CharHeight = 16;
    wxFont EditFont;
    wxFont TextFont;
    int CtrlKind = 0;  ///< 1 edit box, 2 drop-down list
    wxTextCtrl* ValueEdit = nullptr;
    wxComboBox* ValueCombo = nullptr;
    wxButton* ColourBtn = nullptr;            ///< beside a colour's field
    wxDatePickerCtrl* DatePicker = nullptr;   ///< beside a date's field
    wxTextCtrl* FilterEdit = nullptr;
    wxCheckBox* ModifiedOnlyBox = nullptr;
    wxStaticText* NoMatchText = nullptr;      ///< "No setting matches", shown then only
    wxButton* DefaultsBtn = nullptr;
    CCfgFilter Filter;                        ///< indexed at the first use of the filter
    CFrameCtrl* UpperFrame = nullptr;
    CFrameCtrl* LowerFrame = nullptr;
    wxWindow* IntroWnd = nullptr;   ///< the description (1005)
    wxWindow* HeaderWnd = nullptr;  ///< the header (1004)
    wxButton* ApplyBtn = nullptr;
    wxButton* RestoreBtn = nullptr;
    wxButton* DefaultBtn = nullptr;
    std::vector<CPictureCtrl*> Pictures;  ///< children of the description window
    CDataTreeItem* RootItem = nullptr;
    CDataTreeCtrl* Tree = nullptr;
    int Ready = 0;

    /// One laid-out line of the description, placed once per shown item.
    struct PaneLine {
        int Kind = 0;  ///< CfgDescLine's kinds; a picture that did not load is drawn as "?"
        int Y = 0;
        CTxt Text;
        bool Loaded = false;
    };
    std::vector<PaneLine> Layout;

private:
    /// The state of the current item when its field last matched the stored
    /// value; an edit discarded goes back to it.
    struct EntryState {
        CTxt NewText;
        int Entered = 0;
        int Changed = 0;
        CDataValue Value;
    };

    void BuildTree();
    /// The tree anew, with every item or only those of match (tree order).
    void FillTree(const std::vector<CCfgItem*>* match);
    /// Selects the item's record, if the tree shows it (its group's items
    /// put in first, if they are not there yet).
    void SelectInTree(CCfgItem* item);
    /// Puts a closed group's items into the tree; false when the group is
    /// not one waiting for them.
    bool LoadGroup(const wxTreeItemId& group);
    void InsertItemRecord(CCfgItem& item, CDataTreeItem* groupRecord);
    void CreateFilterRow();
    /// The pickers follow the field: the colour's swatch, the date shown.
    void UpdatePickers();
    /// The pane's controls in the order Tab visits them (null where none).
    std::vector<wxWindow*> PaneCycle() const;
    void KeepOnScreen();
    /// Follows a change of the dialog's size: tree, Close button and pane.
    void Relayout();
    /// Places the tree and Close within the client area, leaving the pane
    /// the room its controls need; sets the dialog's minimum size.
    void Arrange();
    /// The width the pane needs for its buttons, and the height for its
    /// upper frame and a few lines of description.
    wxSize PaneMinSize() const;
    /// The size of the pane's three buttons, Default's caption among them.
    wxSize ButtonSize(const wxString& defaultCaption) const;
    /// Rebuilds the pane for a new size, keeping what is typed and focused.
    void RebuildPane();
    /// The field now matches the stored value: remembered, and the item's
    /// entry state kept for a discard.
    void SyncShown();
    void DiscardEdit();
    /// The drop-down list shows the choice the stored value stands for.
    void ShowStoredChoice();
    wxString ValueText() const;
    wxWindow* ValueWindow() const;
    void OnTreeSelChanging(wxTreeEvent& event);
    void OnTreeSelChanged(wxTreeEvent& event);
    void LayoutDescription();
    void PaintHeader(wxWindow* window);
    void PaintDescription(wxWindow* window);
    void OnSize(wxSizeEvent& event);
    void OnButton(wxCommandEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnTreeClick(wxMouseEvent& event);
    /// The value field or list, at (left, top), its right edge no further than rightmost.
    void CreateValueControl(CCfgItem& item, int left, int top, int rightmost);
    wxFont FontFromSetting(const char* key, const char* def);

    /// A group of the tree whose items are put in only when it is opened:
    /// the tree measures every label it shows, so a keystroke of the filter
    /// over tens of thousands of parameters must not show them all open.
    struct ClosedGroup {
        CDataTreeItem* Record = nullptr;
        std::vector<CCfgItem*> Items;
        bool Loaded = false;
    };
    std::vector<ClosedGroup> m_Closed;

    wxSize m_LastSize;
    wxPoint m_TreeOrigin;     ///< where the template put the tree
    wxString m_ShownValue;    ///< the field's text for the stored value
    EntryState m_Entry;
    bool m_FocusField = false;  ///< the next shown item takes the focus into its field
    bool m_Filling = false;     ///< the tree is being refilled: its events mean nothing
    bool m_Syncing = false;     ///< the date drop-down is being set, not picked from
    wxDECLARE_CLASS(CDlgCfg);
};
