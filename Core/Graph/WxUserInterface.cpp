#include "Core/Graph/WxUserInterface.h"

#include <wx/app.h>
#include <wx/msgdlg.h>
#include <wx/settings.h>
#include <wx/toplevel.h>
#include <wx/utils.h>

#include <string>

#include "Core/Platform/UserInterface.h"
#include "Core/System/Launch.h"

namespace zam::graph {

namespace {

long IconStyle(UINT type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return wxICON_ERROR;
    case MB_ICONQUESTION: return wxICON_QUESTION;
    case MB_ICONEXCLAMATION: return wxICON_WARNING;
    case MB_ICONASTERISK: return wxICON_INFORMATION;
    default: return 0;
    }
}

class WxPresenter : public zam::platform::MessageBoxPresenter {
public:
    int Show(const char* text, const char* caption, UINT type) override {
        const UINT buttons = type & MB_TYPEMASK;
        const bool defaultSecond = (type & MB_DEFMASK) == MB_DEFBUTTON2;
        long style = IconStyle(type) | wxCENTRE;
        if (buttons == MB_YESNO || buttons == MB_YESNOCANCEL) {
            style |= wxYES_NO | (defaultSecond ? wxNO_DEFAULT : wxYES_DEFAULT);
            if (buttons == MB_YESNOCANCEL) style |= wxCANCEL;
        } else if (buttons == MB_OKCANCEL) {
            style |= wxOK | wxCANCEL | (defaultSecond ? wxCANCEL_DEFAULT : 0);
        } else {
            style |= wxOK;
        }
        wxWindow* parent = wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr;
        wxMessageDialog dialog(parent, wxString::FromUTF8(text ? text : ""),
                               wxString::FromUTF8(caption ? caption : ""), style);
        switch (dialog.ShowModal()) {
        case wxID_YES: return IDYES;
        case wxID_NO: return IDNO;
        case wxID_CANCEL: return IDCANCEL;
        default: return IDOK;
        }
    }
    void Beep(UINT) override { wxBell(); }
};

class WxColours : public zam::platform::SystemColourSource {
public:
    COLORREF Get(int index) override {
        wxSystemColour which = wxSYS_COLOUR_WINDOW;
        switch (index) {
        case COLOR_ACTIVECAPTION: which = wxSYS_COLOUR_ACTIVECAPTION; break;
        case COLOR_MENU: which = wxSYS_COLOUR_MENU; break;
        case COLOR_WINDOWFRAME: which = wxSYS_COLOUR_WINDOWFRAME; break;
        case COLOR_ACTIVEBORDER: which = wxSYS_COLOUR_ACTIVEBORDER; break;
        case COLOR_BTNFACE: which = wxSYS_COLOUR_BTNFACE; break;
        default: break;
        }
        const wxColour c = wxSystemSettings::GetColour(which);
        return RGB(c.Red(), c.Green(), c.Blue());
    }
};

std::string WindowTitle(HWND handle) {
    wxWindow* window = FromHandle(handle);
    if (window == nullptr) return std::string();
    auto* top = wxDynamicCast(window, wxTopLevelWindow);
    return std::string((top != nullptr ? top->GetTitle() : window->GetLabel()).utf8_str());
}

WxPresenter g_presenter;
WxColours g_colours;

}  // namespace

void InstallWxUserInterface() {
    zam::platform::SetMessageBoxPresenter(&g_presenter);
    zam::platform::SetSystemColourSource(&g_colours);
    SetWindowTitleReader(WindowTitle);
}

void RemoveWxUserInterface() {
    zam::platform::SetMessageBoxPresenter(nullptr);
    zam::platform::SetSystemColourSource(nullptr);
    SetWindowTitleReader(nullptr);
}

}  // namespace zam::graph
