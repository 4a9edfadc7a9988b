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
#include "Core/Graph/CDlgDyn.h"
#include "Core/Text/SPtrArray.h"

class CDataTreeCtrl;
class CDataTreeItem;
class CFrameCtrl;
class CPictureCtrl;
class wxButton;
class wxComboBox;
class wxTextCtrl;
class wxTreeEvent;

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
        IdApply = 1101,
        IdRestore = 1102,
        IdDefault = 1103,
    };

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
    /// Takes the value field's text and applies it (Tab and Enter in the pane).
    void TakeAndApply();
    /// Ends the dialog with the number of changed parameters.
    void CloseWithCount();

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
    void BuildTree();
    void KeepOnScreen();
    /// Follows a change of the dialog's size: tree, Close button and pane.
    void Relayout();
    void LayoutDescription();
    void PaintHeader(wxWindow* window);
    void PaintDescription(wxWindow* window);
    void OnSize(wxSizeEvent& event);
    void OnButton(wxCommandEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnTreeClick(wxMouseEvent& event);
    void CreateValueControl(CCfgItem& item);
    wxFont FontFromSetting(const char* key, const char* def);

    wxSize m_LastSize;
    wxDECLARE_CLASS(CDlgCfg);
};
