#pragma once
// The timer's one window: the length and interval fields, the two sound
// lists with their preview buttons, Start/Pause, the status and clock texts
// and the coloured progress bar, with the File and Help menus. It owns the
// countdown engine, feeds it the one-second timer and the commands, and
// carries its results to the controls, the speaker and the browser.
//
// GTK dialogs carry no menu bar, so this is a top-level frame that behaves as
// the designed dialog: Enter is Start/Pause, Esc and the close box ask before
// closing, and closing ends the program.

#include <wx/frame.h>
#include <wx/timer.h>

#include <cstdint>
#include <memory>
#include <string>

#include "Core/Platform/WinTypes.h"
#include "Core/Text/CTxtArray.h"
#include "app/CCountdown.h"
#include "app/Presets.h"

class wxButton;
class wxComboBox;
class wxPanel;
class wxStaticText;
class wxTextCtrl;
class CPresetMenu;
class CTrayIcon;
class CWindowRemote;
class CProgressBar;

class CDlgTimer : public wxFrame {
public:
    /// Asks the user for a colour starting from colour; true and the choice when confirmed.
    using ColourChooser = bool (*)(wxWindow* parent, COLORREF& colour);

    CDlgTimer();
    ~CDlgTimer() override;

    /// Reads the settings, fills the sound lists, places the window and starts the timer.
    bool OnInitDialog();

    /// One tick of the engine, carried to the controls, the speaker and the browser.
    void OnTick();
    void OnStartPause();
    /// The end of a countdown: notification, attention, the end command.
    void OnCountdownEnd();
    void OnKillFocusLength();
    void OnKillFocusInterval();
    void OnSelChangeEndSound();
    void OnSelChangeIntervalSound();
    void OnPlayEnd();
    void OnPlayInterval();
    void OnChangeColor();
    void OnChangeBkColor();
    /// File > Configuration and Preferences: the editor on Kronalt.xml, then
    /// the change report and, with DirectCfgEdit, the profile in the editor.
    void OnConfig();
    /// Shows and uses the stored length, interval, sounds and colours again
    /// (after the configuration editor changed them).
    void ShowStoredSettings();
    /// Fills and stores Length, Interval and the sounds from the preset, as
    /// if typed and picked; the countdown is not started.
    void ChoosePreset(const Preset& preset);
    /// Counts down to the next time the clock shows hour:minute:second, at once.
    void CountUntil(int hour, int minute, int second);
    CPresetMenu& GetPresetMenu() { return *m_PresetMenu; }
    void OnAbout();
    void OnProducts();
    /// "Are you sure to exit?": true when the user answers Yes.
    bool ConfirmExit();
    /// Exit (button, menu, Esc, the tray's menu): asks, then ends the program.
    void OnExitCommand();
    /// Shows the window when hidden or minimised, else hides it; force: show.
    void ShowOrHide(bool forceShow = false);
    /// The Start/Pause button's caption.
    wxString GetStartPauseCaption() const;
    /// The notification-area icon; null where there is none.
    CTrayIcon* GetTrayIcon() { return m_Tray.get(); }

    /// Replaces the colour dialog (tests answer for the user).
    static void SetColourChooser(ColourChooser chooser);

    CCountdown& GetEngine() { return m_Engine; }
    const CTxtArray& GetSounds() const { return m_Sounds; }
    COLORREF GetBarColour() const { return m_BarColour; }
    COLORREF GetBkColour() const { return m_BkColour; }
    bool IsSavingPosition() const { return m_SavingPos != 0; }
    /// The one-second window timer.
    wxTimer& GetTimer() { return m_Timer; }

private:
    void CreateControls();
    void CreateMenu();
    void BindEvents();
    void PlacePerSettings();
    void SavePosition();
    void SavePosition(const wxRect& rect);
    void FillSoundLists();
    void ReadNumberField(wxTextCtrl* field, bool isLength);
    void ChooseSound(wxComboBox* combo, const char* key, bool isEnd);
    void ChangeColour(bool bar);
    bool HasRealGeometry() const;
    void OnMove(wxMoveEvent& event);
    void OnShow(wxShowEvent& event);
    void ShowTrayIcon();
    Preset CurrentAsPreset() const;
    void OnClose(wxCloseEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnPopup(bool open);
    void EditProfile();
    /// True when an Esc is (or just was) closing a menu or drop-down list.
    bool EscapeClosesPopup() const;

    CTxtArray m_Sounds;
    CCountdown m_Engine;
    int m_TimerId = 0;
    int m_SavingPos = 0;
    bool m_PopupOpen = false;
    int64_t m_PopupClosedAt = INT64_MIN / 2;  ///< boot-time milliseconds
    wxRect m_Placement;          ///< the stored rectangle, applied once shown
    bool m_PlacementDone = false;
    std::string m_PresetName;  ///< the preset chosen last, until a setting is changed by hand
    COLORREF m_BarColour = RGB(49, 193, 249);
    COLORREF m_BkColour = RGB(255, 255, 145);

    wxTimer m_Timer;
    std::unique_ptr<CPresetMenu> m_PresetMenu;
    std::unique_ptr<CWindowRemote> m_Remote;
    std::unique_ptr<CTrayIcon> m_Tray;
    wxPanel* m_Panel = nullptr;
    wxComboBox* m_EndSound = nullptr;
    wxComboBox* m_IntervalSound = nullptr;
    wxStaticText* m_Clock = nullptr;
    wxButton* m_StartPause = nullptr;
    wxStaticText* m_Status = nullptr;
    CProgressBar* m_Progress = nullptr;
    wxTextCtrl* m_Interval = nullptr;
    wxTextCtrl* m_Length = nullptr;
};
