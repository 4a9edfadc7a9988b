#include "app/CDlgAbout.h"

#include <wx/button.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "Core/Graph/DialogUnits.h"
#include "Core/Graph/WxTranslator.h"
#include "Core/System/Launch.h"
#include "Core/Text/CTxt.h"
#include "app/CCountdown.h"
#include "app/DataFolder.h"
#include "app/DesignFont.h"
#include "app/Resource.h"

CDlgAbout::CDlgAbout(wxWindow* parent)
    : wxDialog(parent, IDD_ABOUTBOX, WxTr("About ZAM Kronalt Module ")) {
    SetFont(DesignFont());
    const zam::graph::DialogUnits units(this);
    auto du = [&units](int x, int y, int w, int h) { return units.Rect(x, y, w, h); };
    CTxt folder;
    GetDataFolder(folder);
    const wxString icon = wxString::FromUTF8(static_cast<const char*>(folder)) + "/kronalt-32.png";
    if (wxFileExists(icon)) {
        auto* picture = new wxStaticBitmap(this, wxID_ANY, wxBitmap(icon, wxBITMAP_TYPE_PNG));
        picture->SetPosition(du(207, 7, 0, 0).GetPosition());
    }
    m_Version = new wxStaticText(this, IDC_ABOUT_VERSION, "ZAM_CD Version 1.0");
    m_Version->SetSize(du(7, 7, 197, 8));
    auto* notice = new wxStaticText(this, wxID_ANY,
                                    WxTr("A countdown timer with interval chimes.\n"
                                         "By the Kronalt developers."));
    notice->SetSize(du(7, 19, 160, 15));
    m_Ok = new wxButton(this, wxID_OK, WxTr("OK"));
    m_Ok->SetSize(du(178, 39, 50, 14));
    m_Ok->SetDefault();
    auto* more = new wxButton(this, IDC_MORE_PRODUCTS, WxTr("&More Products"));
    more->SetSize(du(7, 39, 164, 15));
    more->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnMoreProducts(); });
    SetClientSize(units.Size(235, 60));
    OnInitDialog();
    CentreOnParent();
}

bool CDlgAbout::OnInitDialog() {
    CTxt title;
    CCountdown::GetTitle(title, nullptr);
    m_Version->SetLabel(wxString::FromUTF8(static_cast<const char*>(title)));
    return true;
}

void CDlgAbout::OnMoreProducts() {
    m_Ok->Disable();
    CTxt page;
    GetProductPage(page);
    OpenUrl(page, 0);
    m_Ok->SetFocus();
    m_Ok->Enable();
}
