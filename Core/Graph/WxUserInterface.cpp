#include "Core/Graph/WxUserInterface.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/msgdlg.h>
#include <wx/generic/msgdlgg.h>
#include <wx/settings.h>
#include <wx/toplevel.h>
#include <wx/translation.h>
#include <wx/utils.h>

#include <string>

#include <cctype>

#include "Core/Platform/Translation.h"
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

wxWindow* g_owner = nullptr;
const MessageBoxLabels* g_labels = nullptr;

// Where a line may break: the last blank within the width, else the width
// itself (a value without blanks is broken inside).
size_t BreakAt(const wxString& line, size_t width) {
    const size_t blank = line.find_last_of(' ', width);
    return blank != wxString::npos && blank > 0 ? blank : width;
}

// A value of many kilobytes in a report is one word: it is cut, so that what
// stands after it on the line ("-> new value") is still seen.
wxString CutLongWords(const wxString& line) {
    wxString out;
    size_t start = 0;
    while (start < line.length()) {
        size_t blank = line.find(' ', start);
        if (blank == wxString::npos) blank = line.length();
        if (blank - start > kMessageCutChars) out += line.substr(start, kMessageCutChars) + wxString::FromUTF8("…");
        else out += line.substr(start, blank - start);
        if (blank < line.length()) out += ' ';
        start = blank + 1;
    }
    return out;
}

// The toolkit's native box takes its buttons' letters only with Alt; the
// boxes this program was designed with answered Yes and No to the plain Y
// and N keys, so questions are asked in a box of our own that does.
class KeyedMessageDialog : public wxGenericMessageDialog {
public:
    KeyedMessageDialog(wxWindow* parent, const wxString& text, const wxString& caption, long style,
                       bool letterKeys)
        : wxGenericMessageDialog(parent, text, caption, style), m_LetterKeys(letterKeys) {
        Bind(wxEVT_CHAR_HOOK, &KeyedMessageDialog::OnKey, this);
        Bind(wxEVT_INIT_DIALOG, &KeyedMessageDialog::OnInit, this);
    }

private:
    // A button whose label is the stock one is drawn by GTK with GTK's own
    // words, from the C library's catalogs, which need the user's locale
    // generated; as markup the label is drawn as given.
    void OnInit(wxInitDialogEvent& event) {
        event.Skip();
        if (wxTranslations::Get() == nullptr) return;
        for (int id : {wxID_YES, wxID_NO, wxID_OK, wxID_CANCEL}) {
            if (auto* button = wxDynamicCast(FindWindow(id), wxButton)) button->SetLabelMarkup(button->GetLabel());
        }
    }

    void OnKey(wxKeyEvent& event) {
        const int key = event.GetKeyCode();
        if (m_LetterKeys && event.GetModifiers() == wxMOD_NONE) {
            // The English letters always answer; a translation adds its own.
            if (key == 'Y' || key == LetterKey(Tr("y"))) {
                EndModal(wxID_YES);
                return;
            }
            if (key == 'N' || key == LetterKey(Tr("n"))) {
                EndModal(wxID_NO);
                return;
            }
        }
        event.Skip();
    }

    static int LetterKey(const char* letter) { return std::toupper(static_cast<unsigned char>(letter[0])); }

    bool m_LetterKeys;
};

// The toolkit's catalog has the stock buttons' words in the user's language.
void TranslateStockButtons(wxMessageDialogBase& dialog) {
    if (wxTranslations::Get() == nullptr) return;
    dialog.SetYesNoCancelLabels(wxGetTranslation("&Yes"), wxGetTranslation("&No"), wxGetTranslation("&Cancel"));
    dialog.SetOKCancelLabels(wxGetTranslation("&OK"), wxGetTranslation("&Cancel"));
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
        // Buttons named otherwise (Apply, Discard) keep their own letters.
        const bool letterKeys = (buttons == MB_YESNO || buttons == MB_YESNOCANCEL) && g_labels == nullptr;
        KeyedMessageDialog dialog(MessageBoxParent(), FitMessageText(wxString::FromUTF8(text ? text : "")),
                                  wxString::FromUTF8(caption ? caption : ""), style, letterKeys);
        if (g_labels == nullptr) {
            TranslateStockButtons(dialog);
        } else {
            if (buttons == MB_YESNOCANCEL)
                dialog.SetYesNoCancelLabels(g_labels->Yes, g_labels->No, g_labels->Cancel);
            else if (buttons == MB_YESNO)
                dialog.SetYesNoLabels(g_labels->Yes, g_labels->No);
        }
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

wxString FitMessageText(const wxString& text) {
    wxString flat = text;
    flat.Replace("\r\n", "\n");
    flat.Replace("\r", "\n");
    wxString fitted;
    size_t lines = 0;
    bool more = false;
    size_t start = 0;
    while (start <= flat.length() && !more) {
        size_t end = flat.find('\n', start);
        if (end == wxString::npos) end = flat.length();
        wxString line = flat.substr(start, end - start);
        start = end + 1;
        line = CutLongWords(line);
        do {
            if (lines == kMessageMaxLines) {
                more = true;
                break;
            }
            size_t take = line.length();
            if (take > kMessageWrapChars) take = BreakAt(line, kMessageWrapChars);
            if (lines > 0) fitted += '\n';
            fitted += line.substr(0, take);
            ++lines;
            line = take < line.length() ? line.substr(take) : wxString();
            line.Trim(false);
        } while (!line.empty());
        if (end == flat.length()) break;
    }
    if (more) fitted += wxString::FromUTF8("\n…");
    return fitted;
}

wxWindow* MessageBoxParent() {
    if (g_owner != nullptr && g_owner->IsShown()) return g_owner;
    return wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr;
}

MessageBoxOwner::MessageBoxOwner(wxWindow* window) : m_Previous(g_owner) { g_owner = window; }

MessageBoxOwner::~MessageBoxOwner() { g_owner = m_Previous; }

MessageBoxLabels::MessageBoxLabels(const char* yes, const char* no, const char* cancel)
    : Yes(wxString::FromUTF8(yes)), No(wxString::FromUTF8(no)), Cancel(wxString::FromUTF8(cancel)),
      m_Previous(g_labels) {
    g_labels = this;
}

MessageBoxLabels::~MessageBoxLabels() { g_labels = m_Previous; }

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
