#include "app/CPresetMenu.h"

#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/textdlg.h>

#include "Core/Graph/WxTranslator.h"
#include "Core/Graph/WxUserInterface.h"
#include "Core/Platform/Translation.h"
#include "Core/Platform/UserInterface.h"
#include "Core/System/Launch.h"
#include "Core/Text/CTxt.h"

namespace {

bool AskWithDialog(wxWindow* parent, std::string& name) {
    wxTextEntryDialog dialog(parent, WxTr("Name of the new preset:"), WxTr("Save Current as Preset"),
                             wxString::FromUTF8(name));
    if (dialog.ShowModal() != wxID_OK) return false;
    name = dialog.GetValue().utf8_str().data();
    return true;
}

CPresetMenu::NameAsker g_askName = AskWithDialog;

wxString Text(const std::string& s) { return wxString::FromUTF8(s.c_str()); }

// A menu shows '&' as the mark of the next letter; a name's own stays visible.
wxString MenuText(const std::string& name) {
    wxString text = Text(name);
    text.Replace("&", "&&");
    return text;
}

}  // namespace

CPresetMenu::CPresetMenu(wxFrame* frame, std::function<void(const Preset&)> choose,
                         std::function<Preset()> current)
    : m_Frame(frame), m_Menu(new wxMenu), m_Choose(std::move(choose)), m_Current(std::move(current)) {
    m_Frame->Bind(wxEVT_MENU, [this](wxCommandEvent& e) { OnChoose(e.GetId() - kChooseId); },
                  kChooseId, kChooseId + kMaxEntries - 1);
    m_Frame->Bind(wxEVT_MENU, [this](wxCommandEvent& e) { OnDelete(e.GetId() - kDeleteId); },
                  kDeleteId, kDeleteId + kMaxEntries - 1);
    m_Frame->Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnSaveCurrent(); }, kSaveId);
}

void CPresetMenu::SetNameAsker(NameAsker asker) { g_askName = asker != nullptr ? asker : AskWithDialog; }

void CPresetMenu::Insert(wxMenuBar* bar, int at) {
    Rebuild();
    bar->Insert(at, m_Menu, WxTr("&Presets"));
}

void CPresetMenu::Rebuild() {
    m_Presets = LoadPresets();
    if (m_Presets.size() > static_cast<size_t>(kMaxEntries)) m_Presets.resize(kMaxEntries);
    while (m_Menu->GetMenuItemCount() > 0) m_Menu->Destroy(m_Menu->FindItemByPosition(0));
    auto* deletions = new wxMenu;
    for (size_t i = 0; i < m_Presets.size(); ++i) {
        wxString label = MenuText(m_Presets[i].Name);
        if (i < 9) label += wxString::Format("\tCtrl+%d", static_cast<int>(i) + 1);
        m_Menu->Append(kChooseId + static_cast<int>(i), label);
        deletions->Append(kDeleteId + static_cast<int>(i), MenuText(m_Presets[i].Name));
    }
    if (!m_Presets.empty()) m_Menu->AppendSeparator();
    m_Menu->Append(kSaveId, WxTr("Save Current as Preset…"));
    wxMenuItem* remove = m_Menu->AppendSubMenu(deletions, WxTr("Delete Preset"));
    remove->Enable(!m_Presets.empty());
}

void CPresetMenu::OnChoose(int index) {
    if (index < 0 || index >= static_cast<int>(m_Presets.size())) return;
    m_Choose(m_Presets[index]);
}

void CPresetMenu::OnSaveCurrent() {
    HWND owner = zam::graph::ToHandle(m_Frame);
    std::string name;
    for (;;) {
        if (!g_askName(m_Frame, name)) return;
        name = TrimPresetName(name);
        const std::string why = CheckPresetName(name);
        if (why.empty()) break;
        MsgBox(why.c_str(), 2, owner);
    }
    const std::vector<Preset> presets = LoadPresets();
    if (const Preset* existing = FindPreset(presets, name)) {
        CTxt question;
        question.Format(Tr("Replace the preset \"%s\"?"), existing->Name.c_str());
        if (MsgBox(question, 3, owner) != IDYES) return;
        name = existing->Name;  // the same key, in its place
    }
    Preset preset = m_Current();
    preset.Name = name;
    if (!SavePreset(preset)) MsgBox(Tr("The preset could not be saved."), 2, owner);
    Rebuild();
}

void CPresetMenu::OnDelete(int index) {
    if (index < 0 || index >= static_cast<int>(m_Presets.size())) return;
    CTxt question;
    question.Format(Tr("Delete the preset \"%s\"?"), m_Presets[index].Name.c_str());
    if (MsgBox(question, 3, zam::graph::ToHandle(m_Frame)) != IDYES)
        return;
    DeletePreset(m_Presets[index].Name);
    Rebuild();
}
