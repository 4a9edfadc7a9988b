#pragma once
// The timer window's Presets menu: one entry per preset (Ctrl+1 ... Ctrl+9
// for the first nine), "Save Current as Preset…" and the "Delete Preset"
// submenu. The presets themselves live in the profile (app/Presets); the
// window says how a preset is chosen and what its current settings are.

#include <functional>
#include <string>
#include <vector>

#include "app/Presets.h"

class wxFrame;
class wxMenu;
class wxMenuBar;
class wxWindow;

class CPresetMenu {
public:
    /// Asks the user for a name starting from name; true and the name when confirmed.
    using NameAsker = bool (*)(wxWindow* parent, std::string& name);

    /// frame receives the menu's commands; choose applies a preset; current
    /// gives the window's settings as a preset without a name.
    CPresetMenu(wxFrame* frame, std::function<void(const Preset&)> choose,
                std::function<Preset()> current);

    /// Puts the menu into bar at position at.
    void Insert(wxMenuBar* bar, int at);
    /// Reads the presets again and rebuilds the entries.
    void Rebuild();
    /// The presets the menu shows.
    const std::vector<Preset>& GetPresets() const { return m_Presets; }

    void OnChoose(int index);
    /// Asks a name, checks it, asks before replacing a preset of that name.
    void OnSaveCurrent();
    /// Asks before deleting the preset at index.
    void OnDelete(int index);

    /// Replaces the name dialog (tests answer for the user); null: the real one.
    static void SetNameAsker(NameAsker asker);

    /// The menu ids: entries from kChooseId, deletions from kDeleteId.
    static constexpr int kChooseId = 0x6000;
    static constexpr int kDeleteId = 0x6400;
    static constexpr int kSaveId = 0x6800;
    static constexpr int kMaxEntries = 0x400;

private:
    wxFrame* m_Frame;
    wxMenu* m_Menu;
    std::function<void(const Preset&)> m_Choose;
    std::function<Preset()> m_Current;
    std::vector<Preset> m_Presets;
};
