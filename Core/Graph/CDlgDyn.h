#pragma once
// A dialog made from an in-memory template whose buttons end it: a click on a
// button with an id from 1001 to 1999 closes the modal dialog with the id
// less 1000 as its result; other ids are left to the toolkit.

#include <wx/dialog.h>

#include <cstddef>

class CDynDlgTemplate;

class CDlgDyn : public wxDialog {
public:
    CDlgDyn();

    /// Makes the dialog from size bytes of a built template. False when the
    /// template is refused (logged); the dialog then has no window.
    bool CreateIndirect(const void* dialogTemplate, size_t size, wxWindow* parent = nullptr);
    /// The same from a template object: built, used and released again.
    bool CreateIndirect(CDynDlgTemplate& dialogTemplate, wxWindow* parent = nullptr);
    /// Runs the dialog modally: the ending button's id less 1000, or the toolkit's result.
    int DoModal() { return ShowModal(); }

private:
    void OnButton(wxCommandEvent& event);

    wxDECLARE_CLASS(CDlgDyn);
};
