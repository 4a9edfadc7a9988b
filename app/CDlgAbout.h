#pragma once
// The about box: version, build date, the maker's notice and a way to the
// product page.

#include <wx/dialog.h>

class wxButton;
class wxStaticText;

class CDlgAbout : public wxDialog {
public:
    explicit CDlgAbout(wxWindow* parent);

    /// Shows the version line ("Kronalt (Velmora) (Version ... - ...)").
    bool OnInitDialog();
    /// Opens the product page; OK is disabled meanwhile and then takes the focus.
    void OnMoreProducts();

    wxStaticText* GetVersionText() const { return m_Version; }

private:
    wxStaticText* m_Version = nullptr;
    wxButton* m_Ok = nullptr;
};
