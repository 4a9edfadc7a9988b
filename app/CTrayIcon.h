#pragma once
// The notification-area icon: the program's icon with a ring that fills as
// the countdown runs, a tooltip with the time left, a left click that shows
// or hides the window and a menu of the window's main commands. It is fed by
// the window's own one-second tick and redrawn only when what it shows
// changes, so a waiting timer costs nothing more for it.

#include <wx/bitmap.h>
#include <wx/taskbar.h>

#include <string>

class CCountdown;
class CDlgTimer;

class CTrayIcon : public wxTaskBarIcon {
public:
    explicit CTrayIcon(CDlgTimer* window);

    /// True where the desktop has a notification area to show icons in.
    static bool Available();

    /// Shows the countdown's state: ring and tooltip, each changed only when different.
    void Update(const CCountdown& engine);

    /// The tooltip shown now.
    const wxString& GetTooltip() const { return m_Tooltip; }
    /// How often the picture was drawn (tests watch that it is not for nothing).
    int GetDrawCount() const { return m_Draws; }

    /// The menu a right click opens (owned by the caller).
    wxMenu* CreatePopupMenu() override;

    /// The tooltip for a state: "Kronalt – 12:26 left of 25:00", "Kronalt – Paused, …",
    /// "Kronalt – Completed", "Kronalt – +01:05 over 25:00".
    static wxString TooltipFor(const CCountdown& engine);

private:
    void Draw(int step);
    void OnLeftClick(wxTaskBarIconEvent& event);
    void OnMenu(wxCommandEvent& event);

    CDlgTimer* m_Window;
    wxBitmap m_Base;       ///< the program's icon at the icon's size
    wxBitmap m_Picture;    ///< the icon with its ring, as shown
    int m_Step = -1;       ///< the ring's step drawn last
    wxString m_Tooltip;
    int m_Draws = 0;
};
