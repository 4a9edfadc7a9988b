#include "Core/Graph/DialogFromTemplate.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/clipbrd.h>
#include <wx/combobox.h>
#include <wx/dataobj.h>
#include <wx/listbox.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/valtext.h>

#include <algorithm>
#include <memory>

#include "Core/Graph/CDataTreeCtrl.h"
#include "Core/System/Log.h"

namespace {

using zam::graph::DlgTemplateInfo;
using zam::graph::DlgTemplateItem;

constexpr uint32_t kVisible = 0x10000000, kDisabled = 0x08000000, kBorder = 0x00800000;
constexpr uint32_t kCaption = 0x00C00000, kSysMenu = 0x00080000, kThickFrame = 0x00040000;
constexpr uint32_t kMinimizeBox = 0x00020000, kMaximizeBox = 0x00010000, kCentre = 0x0800;
constexpr uint32_t kExClientEdge = 0x200;

// GTK entries keep a few pixels of padding on each side; text that would
// reach into them is already out of sight.
constexpr int kEntryPadding = 8;

wxString Label(const std::string& text) { return wxString::FromUTF8(text.c_str()); }

long Borders(const DlgTemplateItem& item) {
    if (item.ExStyle & kExClientEdge) return wxBORDER_SUNKEN;
    return (item.Style & kBorder) ? wxBORDER_SIMPLE : 0;
}

// Upper and lower case are made as each character is typed or pasted, where
// the caret is known: changing the whole text afterwards would put the
// caret back where the change began, and the next character in front of
// the last (the toolkit's own upper-casing does that too).
void HonourCase(wxTextCtrl* edit, bool upper) {
    auto convert = [upper](const wxString& text) { return upper ? text.Upper() : text.Lower(); };
    edit->Bind(wxEVT_CHAR, [edit, convert](wxKeyEvent& event) {
        const wxChar typed = event.GetUnicodeKey();
        if (typed == WXK_NONE || typed < ' ' || event.ControlDown() || event.AltDown()) {
            event.Skip();
            return;
        }
        const wxString wanted = convert(wxString(typed));
        if (wanted == wxString(typed)) {
            event.Skip();
            return;
        }
        edit->WriteText(wanted);  // replaces the selection, the caret after it
    });
    edit->Bind(wxEVT_TEXT_PASTE, [edit, convert](wxClipboardTextEvent& event) {
        wxString pasted;
        if (wxTheClipboard->Open()) {
            wxTextDataObject data;
            if (wxTheClipboard->GetData(data)) pasted = data.GetText();
            wxTheClipboard->Close();
        }
        if (pasted.empty()) {
            event.Skip();
            return;
        }
        edit->WriteText(convert(pasted));
    });
    // Text set from outside is shown in the field's case as well.
    edit->Bind(wxEVT_TEXT, [edit, convert](wxCommandEvent& event) {
        const wxString value = edit->GetValue();
        const wxString wanted = convert(value);
        if (wanted != value) {
            const long at = edit->GetInsertionPoint();
            edit->ChangeValue(wanted);
            edit->SetInsertionPoint(at);
        }
        event.Skip();
    });
}

// The no-auto-scroll limit has no toolkit style: a change that would run
// past the field's width is taken back.
void HonourEditStyle(wxTextCtrl* edit, uint32_t style) {
    if (style & 0x8) HonourCase(edit, true);
    else if (style & 0x10) HonourCase(edit, false);
    if (style & 0x2000) edit->SetValidator(wxTextValidator(wxFILTER_DIGITS));
    const bool bounded = !(style & 0x80) && !(style & 0x4);
    if (!bounded) return;
    auto accepted = std::make_shared<wxString>(edit->GetValue());
    edit->Bind(wxEVT_TEXT, [edit, accepted](wxCommandEvent& event) {
        const wxString value = edit->GetValue();
        if (edit->GetTextExtent(value).x > edit->GetClientSize().x - kEntryPadding &&
            value.length() > accepted->length()) {
            const long at = std::min<long>(edit->GetInsertionPoint(), static_cast<long>(accepted->length()));
            edit->ChangeValue(*accepted);
            edit->SetInsertionPoint(at);
        } else {
            *accepted = value;
        }
        event.Skip();
    });
}

wxWindow* MakeButton(wxDialog* dialog, const DlgTemplateItem& item, const wxPoint& pos, const wxSize& size) {
    const long border = Borders(item);
    switch (item.Style & 0xF) {
        case 7: return new wxStaticBox(dialog, item.Id, Label(item.Title), pos, size, border);
        case 2: case 3: case 5: case 6:
            return new wxCheckBox(dialog, item.Id, Label(item.Title), pos, size,
                                  border | ((item.Style & 0xF) >= 5 ? wxCHK_3STATE : 0));
        case 4: case 9: return new wxRadioButton(dialog, item.Id, Label(item.Title), pos, size, border);
        default: {
            auto* button = new wxButton(dialog, item.Id, Label(item.Title), pos, size, border);
            if ((item.Style & 0xF) == 1) button->SetDefault();
            return button;
        }
    }
}

wxWindow* MakeEdit(wxDialog* dialog, const DlgTemplateItem& item, const wxPoint& pos, const wxSize& size) {
    long style = Borders(item);
    if (item.Style & 0x1) style |= wxTE_CENTRE;
    if (item.Style & 0x2) style |= wxTE_RIGHT;
    if (item.Style & 0x4) style |= wxTE_MULTILINE;
    if (item.Style & 0x20) style |= wxTE_PASSWORD;
    if (item.Style & 0x800) style |= wxTE_READONLY;
    auto* edit = new wxTextCtrl(dialog, item.Id, Label(item.Title), pos, size, style);
    HonourEditStyle(edit, item.Style);
    return edit;
}

wxWindow* MakeCombo(wxDialog* dialog, const DlgTemplateItem& item, const wxPoint& pos, const wxSize& size) {
    long style = Borders(item);
    switch (item.Style & 0x3) {
        case 1: style |= wxCB_SIMPLE; break;
        case 3: style |= wxCB_READONLY; break;
        default: style |= wxCB_DROPDOWN; break;
    }
    if (item.Style & 0x100) style |= wxCB_SORT;
    // The template's height includes the opened list; the closed box keeps its own.
    return new wxComboBox(dialog, item.Id, Label(item.Title), pos, wxSize(size.x, wxDefaultCoord), 0,
                          nullptr, style);
}

wxWindow* MakeList(wxDialog* dialog, const DlgTemplateItem& item, const wxPoint& pos, const wxSize& size) {
    long style = Borders(item);
    if (item.Style & 0x2) style |= wxLB_SORT;
    if (item.Style & 0x8) style |= wxLB_MULTIPLE;
    if (item.Style & 0x800) style |= wxLB_EXTENDED;
    return new wxListBox(dialog, item.Id, pos, size, 0, nullptr, style);
}

wxWindow* MakeTree(wxDialog* dialog, const DlgTemplateItem& item, const wxPoint& pos, const wxSize& size) {
    long style = Borders(item) | wxTR_SINGLE;
    if (item.Style & 0x1) style |= wxTR_HAS_BUTTONS;
    else style |= wxTR_NO_BUTTONS;
    if (!(item.Style & 0x2)) style |= wxTR_NO_LINES;
    if (item.Style & 0x4) style |= wxTR_LINES_AT_ROOT;
    return new CDataTreeCtrl(dialog, item.Id, pos, size, style);
}

}  // namespace

namespace zam::graph {

wxWindow* ControlFromTemplate(wxDialog* dialog, const DlgTemplateItem& item) {
    const wxPoint pos = dialog->ConvertDialogToPixels(wxPoint(item.X, item.Y));
    const wxSize size = dialog->ConvertDialogToPixels(wxSize(item.Cx, item.Cy));
    const wxString cls = Label(item.ClassName);
    wxWindow* control = nullptr;
    if (cls.CmpNoCase("Button") == 0) {
        control = MakeButton(dialog, item, pos, size);
    } else if (cls.CmpNoCase("Edit") == 0) {
        control = MakeEdit(dialog, item, pos, size);
    } else if (cls.CmpNoCase("Static") == 0) {
        long style = Borders(item) | wxST_NO_AUTORESIZE;
        if ((item.Style & 0x3) == 1) style |= wxALIGN_CENTRE_HORIZONTAL;
        if ((item.Style & 0x3) == 2) style |= wxALIGN_RIGHT;
        control = new wxStaticText(dialog, item.Id, Label(item.Title), pos, size, style);
    } else if (cls.CmpNoCase("ComboBox") == 0) {
        control = MakeCombo(dialog, item, pos, size);
    } else if (cls.CmpNoCase("ListBox") == 0) {
        control = MakeList(dialog, item, pos, size);
    } else if (cls.CmpNoCase("SysTreeView32") == 0) {
        control = MakeTree(dialog, item, pos, size);
    } else {
        LogTrace("DynTempl", 1, "Control %u of unknown class \"%.64s\" skipped", item.Id,
                 item.ClassName.c_str());
        return nullptr;
    }
    if (!(item.Style & kVisible)) control->Hide();
    if (item.Style & kDisabled) control->Disable();
    return control;
}

}  // namespace zam::graph

bool DialogFromTemplate(wxDialog* dialog, wxWindow* parent, const void* dialogTemplate, size_t size) {
    DlgTemplateInfo info;
    const int read = zam::graph::ReadDialogTemplate(dialogTemplate, size, info);
    if (read != 1) {
        LogTrace("DynTempl", 1, "Dialog template refused (%d): %s", read,
                 zam::graph::DialogTemplateError(read));
        return false;
    }
    long style = 0;
    if ((info.Style & kCaption) == kCaption) style |= wxCAPTION;
    if (info.Style & kSysMenu) style |= wxSYSTEM_MENU | wxCLOSE_BOX;
    if (info.Style & kThickFrame) style |= wxRESIZE_BORDER;
    if (info.Style & kMinimizeBox) style |= wxMINIMIZE_BOX;
    if (info.Style & kMaximizeBox) style |= wxMAXIMIZE_BOX;
    if (!dialog->Create(parent, wxID_ANY, Label(info.Caption), wxDefaultPosition, wxDefaultSize, style))
        return false;
    if (info.HasFont && !info.FaceName.empty()) {
        const int points = info.PointSize > 0 ? info.PointSize : 8;
        dialog->SetFont(wxFont(wxFontInfo(points).FaceName(Label(info.FaceName))));
    }
    dialog->SetClientSize(dialog->ConvertDialogToPixels(wxSize(info.Cx, info.Cy)));
    if (info.Style & kCentre) {
        dialog->Centre();
    } else {
        const wxPoint offset = dialog->ConvertDialogToPixels(wxPoint(info.X, info.Y));
        dialog->Move(parent ? parent->ClientToScreen(offset) : offset);
    }
    for (const DlgTemplateItem& item : info.Items) zam::graph::ControlFromTemplate(dialog, item);
    return true;
}
