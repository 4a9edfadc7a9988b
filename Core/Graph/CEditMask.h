#pragma once
// The masked edit control: a wx text field that constrains typing to a mask
// such as 00/00/0000. The editing itself is CEditMaskText's; this half
// connects it to the window: keys, characters, focus, the mouse, the
// clipboard and texts set from outside (SetValue, validators).
//
// What the parent hears: wxEVT_TEXT when the control changes its display and
// "report change" is on (never for a text set from outside);
// wxEVT_EDITMASK_UPDATE each time it shows a new display; and
// wxEVT_EDITMASK_FOCUSLOST when the focus leaves, before OnValidate. Both of
// ours are command events carrying the control's id. Without a mask the
// control is a plain text field.

#include <wx/event.h>
#include <wx/textctrl.h>

#include "Core/Graph/CEditMaskText.h"

/// The control is about to show a new display.
wxDECLARE_EVENT(wxEVT_EDITMASK_UPDATE, wxCommandEvent);
/// The control lost the focus (GetInt() is 0).
wxDECLARE_EVENT(wxEVT_EDITMASK_FOCUSLOST, wxCommandEvent);

class CEditMask : public wxTextCtrl, public CEditMaskText {
public:
    /// A control with the mask (null: none); the window comes with Create.
    explicit CEditMask(const char* mask = nullptr);
    ~CEditMask() override;

    /// Creates the field (a wxTextCtrl style) and shows the mask if one is set.
    bool Create(long style, const wxRect& rect, wxWindow* parent, int id);
    /// Shows the mask in a field that was created another way.
    void PreSubclassWindow();
    /// Removes the selection's input, as a cut does but without the clipboard.
    void OnClear();

    /// The window's own refresh (the mask's Update(caret) is the other).
    void Update() override { wxTextCtrl::Update(); }

    bool FieldExists() const override;
    void GetFieldText(std::string& text) const override;
    void SetFieldText(const char* text) override;
    void GetFieldSel(int& start, int& end) const override;
    void SetFieldSel(int start, int end) override;

protected:
    void NotifyParent(int code) override;
    void NotifyFocusLost() override;
    void StoreFieldText(const char* text) override;
    bool FocusNextControl() override;
    void TakeFocus() override;
    void DoSetValue(const wxString& value, int flags) override;

private:
    void BindHandlers();
    void OnKeyDown(wxKeyEvent& event);
    void OnChar(wxKeyEvent& event);
    void OnSetFocus(wxFocusEvent& event);
    void OnKillfocus(wxFocusEvent& event);
    void OnLButtonDown(wxMouseEvent& event);
    void OnCut(wxClipboardTextEvent& event);
    void OnCopy(wxClipboardTextEvent& event);
    void OnPaste(wxClipboardTextEvent& event);

    bool m_LosingFocus = false;

    wxDECLARE_DYNAMIC_CLASS_NO_COPY(CEditMask);
};
