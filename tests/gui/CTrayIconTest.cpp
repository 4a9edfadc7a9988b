// The notification-area icon under a real notification area: trayer, a
// small host from Debian, started on the test's own display.

#include "app/CTrayIcon.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <wx/menu.h>

#include <cstdio>
#include <memory>
#include <string>

#include "Core/System/Profile.h"
#include "app/CCountdown.h"
#include "app/CDlgTimer.h"
#include "tests/Support/FakeClock.h"
#include "tests/gui/GuiTestSupport.h"

extern char** environ;

namespace {

using zam::testing::AnsweringPresenter;
using zam::testing::FakeClock;
using zam::testing::Pump;

class TrayHost {
public:
    TrayHost() {
        char program[] = "trayer";
        char* argv[] = {program, nullptr};
        if (posix_spawnp(&m_Pid, program, nullptr, nullptr, argv, environ) != 0) m_Pid = -1;
        // The host takes the area's selection once it is up.
        for (int i = 0; i < 100 && m_Pid > 0 && !CTrayIcon::Available(); ++i) {
            Pump();
            wxMilliSleep(50);
        }
    }
    ~TrayHost() {
        if (m_Pid <= 0) return;
        kill(m_Pid, SIGTERM);
        waitpid(m_Pid, nullptr, 0);
    }
    bool Up() const { return m_Pid > 0 && CTrayIcon::Available(); }

private:
    pid_t m_Pid = -1;
};

// The id of the menu entry whose label, without its mark, is label.
int EntryId(wxMenu& menu, const char* label) {
    for (wxMenuItem* item : menu.GetMenuItems())
        if (item->GetItemLabelText() == label) return item->GetId();
    return wxID_NONE;
}

void Choose(CTrayIcon& tray, int id) {
    wxCommandEvent click(wxEVT_MENU, id);
    tray.ProcessEvent(click);
    Pump();
}

TEST(TrayIconTest, FollowsTheCountdownAndOffersTheCommands) {
    char ini[1000];
    GetIniPath(ini, sizeof ini);
    std::remove(ini);
    ProfileWriteStr("SYS", "Length", "2");
    ProfileWriteStr("SYS", "ShowZAM", "NO");
    ProfileWriteStr("SYS", "CloseToTray", "YES");
    TrayHost host;
    ASSERT_TRUE(host.Up()) << "trayer did not start a notification area";
    FakeClock clock(2015, 1, 12, 10, 0, 0);
    auto* window = new CDlgTimer();
    window->OnInitDialog();
    window->Show();
    Pump();
    window->GetTimer().Stop();
    CTrayIcon* tray = window->GetTrayIcon();
    ASSERT_NE(tray, nullptr);
    EXPECT_TRUE(tray->IsIconInstalled());
    EXPECT_EQ(tray->GetTooltip(), wxString::FromUTF8("Kronalt \u2013 02:00"));

    window->OnStartPause();
    EXPECT_EQ(tray->GetTooltip(), wxString::FromUTF8("Kronalt \u2013 02:00 left of 02:00"));
    clock.Advance(30);
    window->OnTick();
    EXPECT_EQ(tray->GetTooltip(), wxString::FromUTF8("Kronalt \u2013 01:30 left of 02:00"));
    // The ring is drawn again only when it has moved on.
    const int draws = tray->GetDrawCount();
    window->OnTick();
    EXPECT_EQ(tray->GetDrawCount(), draws);

    // Its menu: Start/Pause as the button says, the presets, Show/Hide, the editor, Exit.
    std::unique_ptr<wxMenu> menu(tray->CreatePopupMenu());
    EXPECT_NE(EntryId(*menu, "Pause"), wxID_NONE);
    EXPECT_NE(EntryId(*menu, "Pomodoro"), wxID_NONE);
    EXPECT_NE(EntryId(*menu, "Hide"), wxID_NONE);
    EXPECT_NE(EntryId(*menu, "Configuration and Preferences"), wxID_NONE);
    Choose(*tray, EntryId(*menu, "Pause"));
    EXPECT_FALSE(window->GetEngine().IsRunning());
    EXPECT_EQ(tray->GetTooltip(), wxString::FromUTF8("Kronalt \u2013 Paused, 01:30 left of 02:00"));
    Choose(*tray, EntryId(*menu, "Pomodoro"));
    EXPECT_EQ(window->GetEngine().GetLength(), 25);

    // The close box puts the window away; a left click brings it back.
    window->Close();
    Pump();
    EXPECT_FALSE(window->IsShown());
    wxTaskBarIconEvent click(wxEVT_TASKBAR_LEFT_DOWN, tray);
    tray->ProcessEvent(click);
    Pump();
    EXPECT_TRUE(window->IsShown());

    // Exit asks, as Exit does.
    AnsweringPresenter presenter(IDNO);
    Choose(*tray, EntryId(*menu, "Exit"));
    ASSERT_EQ(presenter.Texts.size(), 1u);
    EXPECT_EQ(presenter.Texts[0], "Are you sure to exit?");
    presenter.SetAnswer(IDYES);
    bool destroyed = false;
    window->Bind(wxEVT_DESTROY, [&](wxWindowDestroyEvent& e) {
        if (e.GetEventObject() == window) destroyed = true;
        e.Skip();
    });
    Choose(*tray, EntryId(*menu, "Exit"));
    for (int i = 0; i < 20 && !destroyed; ++i) Pump();
    EXPECT_TRUE(destroyed);
}

TEST(TrayIconTest, WithoutANotificationAreaTheWindowIsAsBefore) {
    ASSERT_FALSE(CTrayIcon::Available());  // no host on this display now
    char ini[1000];
    GetIniPath(ini, sizeof ini);
    std::remove(ini);
    ProfileWriteStr("SYS", "CloseToTray", "YES");
    auto* window = new CDlgTimer();
    window->OnInitDialog();
    window->Show();
    Pump();
    EXPECT_EQ(window->GetTrayIcon(), nullptr);
    AnsweringPresenter presenter(IDYES);
    window->Close();  // no icon to hide to: the question, as always
    Pump();
    ASSERT_EQ(presenter.Texts.size(), 1u);
    EXPECT_EQ(presenter.Texts[0], "Are you sure to exit?");
}

}  // namespace
