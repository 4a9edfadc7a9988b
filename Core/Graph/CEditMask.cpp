#include "Core/Graph/CEditMask.h"

#include <wx/clipbrd.h>
#include <wx/dataobj.h>

#include <algorithm>

wxDEFINE_EVENT(wxEVT_EDITMASK_UPDATE, wxCommandEvent);
wxDEFINE_EVENT(wxEVT_EDITMASK_FOCUSLOST, wxCommandEvent);

wxIMPLEMENT_DYNAMIC_CLASS(CEditMask, wxTextCtrl);

namespace {

// A position holds one byte, so the field's text is Latin-1: one character
// per position both ways. What Latin-1 cannot hold becomes 127, which no
// position accepts.
wxString ToField(const char* text) { return wxString(text != nullptr ? text : "", wxConvISO8859_1); }

std::string FromField(const wxString& text) {
    std::string bytes;
    bytes.reserve(text.length());
    for (wxUniChar c : text) bytes += c.GetValue() < 256 ? static_cast<char>(c.GetValue()) : '\x7f';
    return bytes;
}

int KeyOf(int wxKey) {
    switch (wxKey) {
    case WXK_HOME: case WXK_NUMPAD_HOME: return CEditMaskText::KeyHome;
    case WXK_LEFT: case WXK_NUMPAD_LEFT: return CEditMaskText::KeyLeft;
    case WXK_UP: case WXK_NUMPAD_UP: return CEditMaskText::KeyUp;
    case WXK_RIGHT: case WXK_NUMPAD_RIGHT: return CEditMaskText::KeyRight;
    case WXK_DOWN: case WXK_NUMPAD_DOWN: return CEditMaskText::KeyDown;
    case WXK_INSERT: case WXK_NUMPAD_INSERT: return CEditMaskText::KeyInsert;
    case WXK_DELETE: case WXK_NUMPAD_DELETE: return CEditMaskText::KeyDelete;
    default: return 0;
    }
}

}  // namespace

CEditMask::CEditMask(const char* mask) : CEditMaskText(mask) { BindHandlers(); }

CEditMask::~CEditMask() = default;

bool CEditMask::Create(long style, const wxRect& rect, wxWindow* parent, int id) {
    if (!wxTextCtrl::Create(parent, id, wxEmptyString, rect.GetPosition(), rect.GetSize(), style)) return false;
    PreSubclassWindow();
    return true;
}

void CEditMask::PreSubclassWindow() {
    if (GetPositionCount() > 0) CEditMaskText::Update(0);
}

void CEditMask::OnClear() {
    if (HandleCut() == 0) RemoveSelection();
}

void CEditMask::BindHandlers() {
    Bind(wxEVT_KEY_DOWN, &CEditMask::OnKeyDown, this);
    Bind(wxEVT_CHAR, &CEditMask::OnChar, this);
    Bind(wxEVT_SET_FOCUS, &CEditMask::OnSetFocus, this);
    Bind(wxEVT_KILL_FOCUS, &CEditMask::OnKillfocus, this);
    Bind(wxEVT_LEFT_DOWN, &CEditMask::OnLButtonDown, this);
    Bind(wxEVT_TEXT_CUT, &CEditMask::OnCut, this);
    Bind(wxEVT_TEXT_COPY, &CEditMask::OnCopy, this);
    Bind(wxEVT_TEXT_PASTE, &CEditMask::OnPaste, this);
}

// --- The field --------------------------------------------------------------

bool CEditMask::FieldExists() const { return GetHandle() != nullptr; }

void CEditMask::GetFieldText(std::string& text) const {
    text = FieldExists() ? FromField(GetValue()) : std::string();
}

void CEditMask::SetFieldText(const char* text) {
    if (FieldExists()) ChangeValue(ToField(text));  // arrives in DoSetValue
}

void CEditMask::GetFieldSel(int& start, int& end) const {
    long from = 0;
    long to = 0;
    if (FieldExists()) GetSelection(&from, &to);
    start = static_cast<int>(from);
    end = static_cast<int>(to);
}

void CEditMask::SetFieldSel(int start, int end) {
    if (!FieldExists()) return;
    const long length = GetLastPosition();
    const long from = std::clamp<long>(start, 0, length);
    SetSelection(from, std::clamp<long>(end, from, length));
}

void CEditMask::DoSetValue(const wxString& value, int flags) {
    if (GetPositionCount() == 0) {
        wxTextCtrl::DoSetValue(value, flags);
        return;
    }
    HandleSetText(FromField(value).c_str());
}

void CEditMask::StoreFieldText(const char* text) {
    // Setting the text puts GTK's caret at the start; the caret belongs to
    // the steps, which set it after the display.
    long from = 0;
    long to = 0;
    GetSelection(&from, &to);
    wxTextCtrl::DoSetValue(ToField(text), SetValue_NoEvent);
    const long length = GetLastPosition();
    SetSelection(std::min(from, length), std::min(to, length));
}

void CEditMask::NotifyParent(int code) {
    if (code == EN_CHANGE) {
        SendTextUpdatedEvent();
    } else if (code == EN_UPDATE) {
        wxCommandEvent event(wxEVT_EDITMASK_UPDATE, GetId());
        event.SetEventObject(this);
        ProcessWindowEvent(event);
    }
    // EN_SETFOCUS: a parent binds the control's own wxEVT_SET_FOCUS.
}

void CEditMask::NotifyFocusLost() {
    wxCommandEvent event(wxEVT_EDITMASK_FOCUSLOST, GetId());
    event.SetEventObject(this);
    event.SetInt(0);
    ProcessWindowEvent(event);
}

bool CEditMask::FocusNextControl() {
    wxWindow* parent = GetParent();
    if (parent == nullptr) return false;
    const wxWindowList& siblings = parent->GetChildren();
    auto self = std::find(siblings.begin(), siblings.end(), this);
    if (self == siblings.end()) return false;
    // The parent's tab order is its children's order; round to the start.
    for (auto it = std::next(self);; ++it) {
        if (it == siblings.end()) it = siblings.begin();
        if (it == self) return false;
        wxWindow* next = *it;
        if (next->IsShown() && next->IsEnabled() && next->CanAcceptFocusFromKeyboard()) {
            next->SetFocus();
            return true;
        }
    }
}

void CEditMask::TakeFocus() {
    // GTK ignores a focus grab while it is still moving the focus away.
    if (m_LosingFocus) {
        CallAfter([this] { SetFocus(); });
    } else {
        SetFocus();
    }
}

// --- Events -----------------------------------------------------------------

void CEditMask::OnKeyDown(wxKeyEvent& event) {
    const int key = KeyOf(event.GetKeyCode());
    if (key == 0 || HandleKeyDown(key, event.ShiftDown()) == 0) event.Skip();
}

void CEditMask::OnChar(wxKeyEvent& event) {
    const int code = static_cast<int>(event.GetUnicodeKey());
    // Control and Alt combinations are the field's shortcuts, not typing.
    if (code == WXK_NONE || (event.GetModifiers() & (wxMOD_CONTROL | wxMOD_ALT)) != 0 ||
        HandleChar(code) == 0) {
        event.Skip();
    }
}

void CEditMask::OnSetFocus(wxFocusEvent& event) {
    event.Skip();
    // GTK selects the whole text as it gives the focus; look once it has.
    CallAfter([this] { HandleSetFocus(); });
}

void CEditMask::OnKillfocus(wxFocusEvent& event) {
    event.Skip();
    m_LosingFocus = true;
    HandleKillFocus();
    m_LosingFocus = false;
}

void CEditMask::OnLButtonDown(wxMouseEvent& event) {
    if (HandleLButtonDown(HasFocus()) == 0) event.Skip();
}

void CEditMask::OnCut(wxClipboardTextEvent& event) {
    if (GetPositionCount() == 0) {
        event.Skip();
        return;
    }
    const wxString selected = GetStringSelection();
    if (!selected.empty() && wxTheClipboard->Open()) {
        wxTheClipboard->SetData(new wxTextDataObject(selected));
        wxTheClipboard->Close();
    }
    HandleCut();
}

void CEditMask::OnCopy(wxClipboardTextEvent& event) { event.Skip(); }

void CEditMask::OnPaste(wxClipboardTextEvent& event) {
    if (GetPositionCount() == 0) {
        event.Skip();
        return;
    }
    wxString text;
    if (wxTheClipboard->Open()) {
        wxTextDataObject data;
        if (wxTheClipboard->IsSupported(wxDF_UNICODETEXT) && wxTheClipboard->GetData(data)) text = data.GetText();
        wxTheClipboard->Close();
    }
    HandlePaste(FromField(text).c_str());
}
