#include "app/CDlgTimer.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/menu.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <thread>

#include "Core/Graph/CDataTreeCtrl.h"
#include "Core/Graph/CDlgCfg.h"
#include "Core/Graph/CFrameCtrl.h"
#include "Core/Graph/CPictureCtrl.h"
#include "Core/Graph/WxUserInterface.h"
#include "Core/Platform/Process.h"
#include "Core/System/Profile.h"
#include "app/CDlgAbout.h"
#include "app/CPresetMenu.h"
#include "app/RemoteControl.h"
#include "app/CProgressBar.h"
#include "app/DataFolder.h"
#include "app/EndNotifier.h"
#include "app/Resource.h"
#include "app/Sound.h"
#include "tests/Support/FakeClock.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/gui/TimerWindowFixture.h"

namespace {

using zam::testing::AnsweringPresenter;
using zam::testing::FakeClock;
using zam::testing::Pump;

std::string IniPath() {
    char path[1000];
    GetIniPath(path, sizeof path);
    return path;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Setting(const char* key) {
    std::string value;
    ProfileReadStr("SYS", key, "<missing>", value);
    return value;
}

// Records what would have been started instead of starting it.
class RecordingStarter : public zam::platform::ProcessStarter {
public:
    RecordingStarter() { zam::platform::SetProcessStarter(this); }
    ~RecordingStarter() override { zam::platform::SetProcessStarter(nullptr); }
    zam::platform::ProcessResult Start(const zam::platform::ProcessRequest& request, bool) override {
        Started.push_back(request.Argv);
        return zam::platform::ProcessResult();
    }
    std::vector<std::vector<std::string>> Started;
};

class TimerWindowTest : public zam::testing::TimerWindowFixture {
protected:
    void TearDown() override {
        CloseWindow();
        Sound::Shutdown();
    }

    template <typename T>
    T* Control(int id) {
        return wxDynamicCast(window->FindWindow(id), T);
    }
};

TEST_F(TimerWindowTest, FirstRunUsesAndWritesTheDefaults) {
    OpenWindow();
    EXPECT_EQ(window->GetRect(), wxRect(100, 100, 872, 123));
    EXPECT_EQ(Setting("MainWindowPos"), "100,872,100,123");
    EXPECT_EQ(Setting("Length"), "60");
    EXPECT_EQ(Setting("Interval"), "0");
    EXPECT_EQ(Setting("BarColor"), "<missing>");  // defaults already in normal form
    EXPECT_EQ(window->GetBarColour(), RGB(49, 193, 249));
    EXPECT_EQ(window->GetBkColour(), RGB(255, 255, 145));
    EXPECT_EQ(Control<wxTextCtrl>(IDC_LENGTH)->GetValue(), "60");
    EXPECT_EQ(Control<wxTextCtrl>(IDC_INTERVAL)->GetValue(), "0");
    EXPECT_TRUE(window->GetTitle().StartsWith("Kronalt (Velmora) (Version 1.2a - "));
    auto* bar = Control<CProgressBar>(IDC_PROGRESS);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetPos(), 10);
    EXPECT_EQ(bar->GetUpper(), 1000);
    // The shipped sounds fill both lists, Harp and TickTock chosen.
    auto* endSound = Control<wxComboBox>(IDC_SOUND_END);
    EXPECT_EQ(endSound->GetCount(), 4u);
    EXPECT_EQ(endSound->GetStringSelection(), "Harp");
    EXPECT_EQ(Control<wxComboBox>(IDC_SOUND_INTERVAL)->GetStringSelection(), "TickTock");
    EXPECT_NE(std::string(window->GetEngine().GetEndSound()).find("/share/kronalt/Harp.wav"),
              std::string::npos);
    EXPECT_TRUE(window->IsSavingPosition());
}

TEST_F(TimerWindowTest, LengthIsAtLeastTwo) {
    ProfileWriteStr("SYS", "Length", "1");
    OpenWindow();
    EXPECT_EQ(Setting("Length"), "2");
    auto* length = Control<wxTextCtrl>(IDC_LENGTH);
    EXPECT_EQ(length->GetValue(), "2");
    length->ChangeValue("0");
    length->MarkDirty();  // as typing would
    window->OnKillFocusLength();
    EXPECT_EQ(length->GetValue(), "2");
    length->ChangeValue("25");
    length->MarkDirty();  // as typing would
    window->OnKillFocusLength();
    EXPECT_EQ(Setting("Length"), "25");
    EXPECT_EQ(window->GetEngine().GetLength(), 25);
    auto* interval = Control<wxTextCtrl>(IDC_INTERVAL);
    interval->ChangeValue("-3");
    interval->MarkDirty();  // as typing would
    window->OnKillFocusInterval();
    EXPECT_EQ(Setting("Interval"), "-3");
    EXPECT_EQ(interval->GetValue(), "-3");
}

TEST_F(TimerWindowTest, ChosenSoundsAreThereAfterARestart) {
    OpenWindow();
    auto* combo = Control<wxComboBox>(IDC_SOUND_INTERVAL);
    combo->SetStringSelection("Gong");
    window->OnSelChangeIntervalSound();
    EXPECT_EQ(Setting("SoundInterval"), "Gong");
    EXPECT_NE(std::string(window->GetEngine().GetIntervalSound()).find("Gong.wav"), std::string::npos);
    CloseWindow();
    OpenWindow();
    EXPECT_EQ(Control<wxComboBox>(IDC_SOUND_INTERVAL)->GetStringSelection(), "Gong");
    EXPECT_NE(std::string(window->GetEngine().GetIntervalSound()).find("Gong.wav"), std::string::npos);
}

TEST_F(TimerWindowTest, StoredPositionBounds) {
    ProfileWriteStr("SYS", "MainWindowPos", "-5,900,40,130");
    OpenWindow();
    EXPECT_NE(window->GetPosition().x, -5);  // a negative left is ignored ...
    EXPECT_NE(Setting("MainWindowPos"), "-5,900,40,130");  // ... and the real place written back
    CloseWindow();
    // A size below the designed one would hide controls: the window keeps its designed size.
    ProfileWriteStr("SYS", "MainWindowPos", "10,300,10,130");
    OpenWindow();
    EXPECT_GE(window->GetSize().GetWidth(), window->ConvertDialogToPixels(wxSize(577, 0)).GetWidth());
    const wxRect real = window->GetRect();  // what is stored is what the window really has
    EXPECT_EQ(Setting("MainWindowPos"), wxString::Format("%d,%d,%d,%d", real.x, real.width, real.y,
                                                          real.height).ToStdString());
    EXPECT_EQ(real.x, 10);
    CloseWindow();
    ProfileWriteStr("SYS", "MainWindowPos", "50,900,-1,130");
    OpenWindow();
    EXPECT_EQ(window->GetRect(), wxRect(50, -1, 900, 130));
    CloseWindow();
    ProfileWriteStr("SYS", "MainWindowPos", "50,900,-20,130");
    OpenWindow();
    EXPECT_EQ(window->GetRect(), wxRect(50, -20, 900, 130));  // a negative top is applied
    // A move to negative coordinates is not remembered.
    window->Move(-30, 10);
    Pump();
    EXPECT_EQ(Setting("MainWindowPos"), "50,900,-20,130");
    window->Move(60, 70);
    Pump();
    EXPECT_EQ(Setting("MainWindowPos"), "60,900,70,130");
}

TEST_F(TimerWindowTest, StoredPlaceIsNotRewrittenBeforeTheWindowIsUp) {
    // Before it is mapped the frame has no menu bar yet; what it is about to
    // be given is what is stored, so an unchanged place costs no rewrite.
    ProfileWriteStr("SYS", "MainWindowPos", "10,900,10,130");
    window = new CDlgTimer();
    window->OnInitDialog();
    EXPECT_EQ(Setting("MainWindowPos"), "10,900,10,130");
    window->Show();
    Pump();
    window->GetTimer().Stop();
    const wxRect real = window->GetRect();  // and the real one once it is up
    EXPECT_EQ(Setting("MainWindowPos"), wxString::Format("%d,%d,%d,%d", real.x, real.width, real.y,
                                                          real.height).ToStdString());
}

TEST_F(TimerWindowTest, TicksCarryTheEngineToTheControls) {
    FakeClock clock(2015, 1, 12, 10, 0, 0);
    OpenWindow();
    auto* bar = Control<CProgressBar>(IDC_PROGRESS);
    auto* status = Control<wxStaticText>(IDC_STATUS);
    auto* start = Control<wxButton>(IDC_STARTPAUSE);
    clock.Advance(1);
    window->OnTick();
    EXPECT_EQ(status->GetLabel(), "Paused ");
    EXPECT_EQ(Control<wxStaticText>(IDC_CLOCK)->GetLabel(), "1/12/2015 10:00:01");

    window->OnStartPause();
    EXPECT_EQ(start->GetLabel(), "&Pause");
    const int setsBefore = bar->GetSetPosCount();
    for (int i = 0; i < 10; ++i) {
        clock.Advance(1);
        window->OnTick();
    }
    EXPECT_EQ(status->GetLabel(), "[00:10 - 59:50]");
    EXPECT_TRUE(window->GetTitle().StartsWith("Kronalt [00:10 - 59:50] (Velmora) (Version 1.2a - "));
    EXPECT_EQ(bar->GetPos(), 2);
    // Positions 0,0,0,1,1,1,1,2,2,2: the bar is set only when it changes.
    EXPECT_EQ(bar->GetSetPosCount() - setsBefore, 3);

    window->OnStartPause();
    EXPECT_EQ(start->GetLabel(), "&Start");
    clock.Advance(1);
    window->OnTick();
    EXPECT_EQ(status->GetLabel(), "Paused ");
    EXPECT_TRUE(window->GetTitle().StartsWith("Kronalt [00:10 - 59:50]"));  // the title is kept
}

TEST_F(TimerWindowTest, ExitAsksFirst) {
    OpenWindow();
    window->OnStartPause();
    AnsweringPresenter presenter(IDNO);
    window->Close();
    Pump();
    ASSERT_EQ(presenter.Texts.size(), 1u);
    EXPECT_EQ(presenter.Texts[0], "Are you sure to exit?");
    EXPECT_EQ(presenter.Captions[0], std::string(window->GetTitle().utf8_str()));
    EXPECT_EQ(presenter.Types[0] & MB_DEFMASK, MB_DEFBUTTON2);
    EXPECT_FALSE(window->IsBeingDeleted());
    EXPECT_EQ(window->GetEngine().IsRunning(), 1);  // No keeps the countdown going

    presenter.SetAnswer(IDYES);
    window->Close();
    EXPECT_TRUE(wxPendingDelete.Member(window));
    window = nullptr;
    Pump();
}

TEST_F(TimerWindowTest, ColoursChosenAreShownAndStored) {
    OpenWindow();
    CDlgTimer::SetColourChooser([](wxWindow*, COLORREF& colour) {
        colour = RGB(10, 20, 30);
        return true;
    });
    window->OnChangeColor();
    EXPECT_EQ(Control<CProgressBar>(IDC_PROGRESS)->GetBarColour(), RGB(10, 20, 30));
    EXPECT_EQ(Setting("BarColor"), "10,20,30");
    CDlgTimer::SetColourChooser([](wxWindow*, COLORREF&) { return false; });
    window->OnChangeBkColor();
    EXPECT_EQ(Setting("BkColor"), "<missing>");  // cancelled: nothing changes
    CDlgTimer::SetColourChooser(nullptr);
}

TEST_F(TimerWindowTest, ProductPageOpensOnceAfterNinetySeconds) {
    FakeClock clock(2015, 1, 12, 10, 0, 0);
    RecordingStarter starter;
    ProfileWriteStr("INTERNET", "Browser", "firefox ");
    OpenWindow();
    clock.Advance(90);
    window->OnTick();
    EXPECT_TRUE(starter.Started.empty());
    clock.Advance(1);
    window->OnTick();
    clock.Advance(1);
    window->OnTick();
    ASSERT_EQ(starter.Started.size(), 1u);
    // The page shipped in the data folder beside the program, not an address on the net.
    CTxt page;
    GetProductPage(page);
    EXPECT_EQ(starter.Started[0].back(), static_cast<const char*>(page));
    ASSERT_EQ(std::string(page).rfind("file:///", 0), 0u) << page;
    EXPECT_EQ(std::string(page).substr(std::string(page).size() - 13), "/kronalt.html");
    EXPECT_EQ(Setting("ShowZAM"), "YES");

    starter.Started.clear();
    CDlgAbout about(window);
    EXPECT_TRUE(about.GetVersionText()->GetLabel().StartsWith("Kronalt (Velmora) (Version 1.2a - "));
    about.OnMoreProducts();
    ASSERT_EQ(starter.Started.size(), 1u);
    EXPECT_EQ(starter.Started[0].back(), static_cast<const char*>(page));
}

TEST_F(TimerWindowTest, ConfigurationReportsAMissingDefinition) {
    const std::string empty = zam::testing::MakeTempFolder("kronalt-nodef");
    ProfileWriteStr("SYS", "DataDir", empty.c_str());
    OpenWindow();
    AnsweringPresenter presenter(IDOK);
    window->OnConfig();
    ASSERT_EQ(presenter.Texts.size(), 1u);
    EXPECT_NE(presenter.Texts[0].find("Cannot open '"), std::string::npos);
    EXPECT_NE(presenter.Texts[0].find("/Kronalt.xml'"), std::string::npos);
    std::filesystem::remove_all(empty);
}

// Counts samples that are not silence in what the disk driver wrote.
long AudibleSamples();

// The driver writes at the pace of a real speaker: wait until it has written
// at least least samples that are not silence, or give up after three seconds.
long WaitForAudible(long least) {
    long audible = 0;
    for (int i = 0; i < 60 && (audible = AudibleSamples()) <= least; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return audible;
}

long AudibleSamples() {
    const std::string audio = ReadFile(zam::testing::AudioFile());
    long audible = 0;
    for (size_t i = 0; i + 1 < audio.size(); i += 2) {
        const int16_t sample = static_cast<int16_t>(static_cast<uint8_t>(audio[i]) |
                                                    static_cast<uint8_t>(audio[i + 1]) << 8);
        if (sample > 200 || sample < -200) ++audible;
    }
    return audible;
}

TEST_F(TimerWindowTest, ChimeAndEndReallyRender) {
    FakeClock clock(2015, 1, 12, 10, 0, 0);
    ProfileWriteStr("SYS", "Length", "2");
    ProfileWriteStr("SYS", "Interval", "1");
    OpenWindow();
    window->OnStartPause();
    std::remove(zam::testing::AudioFile().c_str());
    clock.Advance(60);
    window->OnTick();  // the chime
    ASSERT_TRUE(Sound::IsPlaying());
    EXPECT_GT(WaitForAudible(1000), 1000);
    std::remove(zam::testing::AudioFile().c_str());
    clock.Advance(60);
    window->OnTick();  // the end, and a chime on the same tick that cuts it off
    EXPECT_EQ(Control<wxStaticText>(IDC_STATUS)->GetLabel(), "DONE");
    EXPECT_GT(WaitForAudible(1000), 1000);
    // Once played out, the device is let go at the next ticks, so a waiting
    // timer costs nothing.
    for (int i = 0; i < 60 && Sound::IsPlaying(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        window->OnTick();
    }
    window->OnTick();
    window->OnTick();
    EXPECT_FALSE(Sound::IsPlaying());
}

}  // namespace

namespace {

TEST(SoundTest, ACutOffSoundIsClosedOffTheCallersThread) {
    // A slow device: closing it waits up to two seconds for its audio thread.
    setenv("SDL_DISKAUDIODELAY", "2000", 1);
    ASSERT_TRUE(Sound::Play(""));
    ASSERT_TRUE(Sound::Play(""));  // cuts off the first
    EXPECT_EQ(Sound::ClosingDevices(), 1);
    unsetenv("SDL_DISKAUDIODELAY");
    Sound::Shutdown();
    EXPECT_EQ(Sound::ClosingDevices(), 0);
}

}  // namespace

namespace {

// Keeps the notifications instead of showing them.
class RecordingNotifier : public EndNotifier {
public:
    RecordingNotifier() { SetEndNotifier(this); }
    ~RecordingNotifier() override { SetEndNotifier(nullptr); }
    bool Post(const EndNotification& notification) override {
        Titles.emplace_back(notification.Title);
        Last = notification;
        return true;
    }
    std::vector<std::string> Titles;
    EndNotification Last;
};

void PressKey(wxWindow* window, int key) {
    wxKeyEvent press(wxEVT_CHAR_HOOK);
    press.m_keyCode = key;
    press.SetEventObject(window);
    window->ProcessWindowEvent(press);
}

TEST_F(TimerWindowTest, EscapeAfterAPopupAndEnterOnAButton) {
    FakeClock clock(2015, 1, 12, 10, 0, 0);
    OpenWindow();
    AnsweringPresenter presenter(IDNO);
    wxMenuEvent open(wxEVT_MENU_OPEN, 0, window->GetMenuBar()->GetMenu(0));
    window->ProcessWindowEvent(open);
    PressKey(window, WXK_ESCAPE);  // closes the menu
    wxMenuEvent close(wxEVT_MENU_CLOSE, 0, window->GetMenuBar()->GetMenu(0));
    window->ProcessWindowEvent(close);
    PressKey(window, WXK_ESCAPE);  // arrives after the menu said it closed
    wxCommandEvent dropDown(wxEVT_COMBOBOX_DROPDOWN, IDC_SOUND_END);
    Control<wxComboBox>(IDC_SOUND_END)->ProcessWindowEvent(dropDown);
    PressKey(window, WXK_ESCAPE);
    EXPECT_TRUE(presenter.Texts.empty());
    wxCommandEvent closeUp(wxEVT_COMBOBOX_CLOSEUP, IDC_SOUND_END);
    Control<wxComboBox>(IDC_SOUND_END)->ProcessWindowEvent(closeUp);
    clock.Advance(1);
    PressKey(window, WXK_ESCAPE);  // a real Esc, later: the question
    ASSERT_EQ(presenter.Texts.size(), 1u);
    EXPECT_EQ(presenter.Texts[0], "Are you sure to exit?");

    // Enter on a focused push button presses it; elsewhere it is Start/Pause.
    auto* play = Control<wxButton>(IDC_PLAY_END);
    play->SetFocus();
    Pump();
    ASSERT_EQ(wxWindow::FindFocus(), play);
    PressKey(window, WXK_RETURN);
    EXPECT_EQ(window->GetEngine().IsRunning(), 0);
    EXPECT_TRUE(Sound::IsPlaying());
    Control<wxTextCtrl>(IDC_LENGTH)->SetFocus();
    Pump();
    PressKey(window, WXK_RETURN);
    EXPECT_EQ(window->GetEngine().IsRunning(), 1);
}

TEST_F(TimerWindowTest, TheEndIsPostedAsADesktopNotification) {
    FakeClock clock(2015, 1, 12, 10, 0, 0);
    ProfileWriteStr("SYS", "Length", "2");
    ProfileWriteStr("SYS", "ShowZAM", "NO");  // minutes pass: no product page
    OpenWindow();
    RecordingNotifier notifier;
    window->OnStartPause();
    for (int i = 0; i < 121; ++i) {
        clock.Advance(1);
        window->OnTick();
    }
    ASSERT_EQ(notifier.Titles.size(), 1u);
    EXPECT_EQ(notifier.Titles[0], "Kronalt: 2 minutes are up");
    // Normal urgency, the program's own icon, grouped with the program.
    EXPECT_EQ(notifier.Last.Urgency, 1);
    EXPECT_EQ(notifier.Last.DesktopEntry, "kronalt");
    EXPECT_NE(notifier.Last.Icon.find("/share/kronalt/kronalt-128.png"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(notifier.Last.Icon));
    ProfileWriteStr("SYS", "NotifyEnd", "NO");
    window->OnStartPause();
    clock.Advance(120);
    window->OnTick();
    EXPECT_EQ(notifier.Titles.size(), 1u);

    // The user's command, with the length and the chosen preset's name; not waited for.
    RecordingStarter starter;
    ProfileWriteStr("SYS", "EndCommand", "my-hook %m \"%p\"");
    window->ChoosePreset({"Short break", 5, 0, "Bell", "TickTock"});
    window->OnStartPause();
    clock.Advance(300);
    window->OnTick();
    ASSERT_EQ(starter.Started.size(), 1u);
    EXPECT_EQ(starter.Started[0], (std::vector<std::string>{"my-hook", "5", "Short break"}));
}

TEST(EndNotifierTest, ADesktopWithoutTheServiceIsNoError) {
    AnsweringPresenter presenter(IDOK);
    NotifyCountdownEnd(25);  // whether this desktop has the service or not
    NotifyCountdownEnd(25);
    Pump();
    EXPECT_TRUE(presenter.Texts.empty());
    EXPECT_EQ(wxTopLevelWindows.GetCount(), 0u);  // no error box of the toolkit's either
}

TEST_F(TimerWindowTest, IconWithoutTheDataFolder) {
    const std::string empty = zam::testing::MakeTempFolder("kronalt-nodata");
    ProfileWriteStr("SYS", "DataDir", empty.c_str());
    OpenWindow();
    EXPECT_FALSE(window->GetIcons().IsEmpty());
    EXPECT_TRUE(window->GetIcons().GetIconByIndex(0).IsOk());
    std::filesystem::remove_all(empty);
}

TEST(ProgressBarTest, RangeColoursAndPaneFitting) {
    CProgressBar unplaced;
    EXPECT_EQ(unplaced.SetBarColour(RGB(1, 2, 3)), CLR_DEFAULT);

    // A frame with a status bar as the main window: the bar fits into pane 0.
    auto* frame = new wxFrame(nullptr, wxID_ANY, "host", wxPoint(0, 0), wxSize(400, 200));
    frame->CreateStatusBar(2);
    wxWindow* previousTop = wxTheApp->GetTopWindow();
    wxTheApp->SetTopWindow(frame);
    frame->Show();
    auto* bar = new CProgressBar(frame->GetStatusBar(), wxID_ANY, wxPoint(0, 0), wxSize(10, 5));
    EXPECT_EQ(bar->SetBarColour(RGB(1, 2, 3)), CLR_DEFAULT);  // never set before
    EXPECT_EQ(bar->SetBarColour(RGB(4, 5, 6)), RGB(1, 2, 3));
    EXPECT_EQ(bar->SetBkColour(RGB(7, 8, 9)), CLR_DEFAULT);
    bar->SetRange(0, 1000, 1);
    bar->SetPos(1200);
    EXPECT_EQ(bar->GetPos(), 1000);
    bar->SetPos(-5);
    EXPECT_EQ(bar->GetPos(), 0);
    bar->Refresh();
    bar->Update();
    Pump();
    wxRect pane;
    ASSERT_TRUE(frame->GetStatusBar()->GetFieldRect(0, pane));
    const wxRect placed = bar->GetRect();
    EXPECT_EQ(placed.GetLeft(), pane.GetLeft());
    EXPECT_EQ(placed.GetTop(), pane.GetTop() + pane.GetHeight() / 10);
    wxTheApp->SetTopWindow(previousTop);
    frame->Destroy();
    Pump();
}

}  // namespace

namespace {

// The configuration editor is modal: checks run inside its loop, and end it
// with Escape as a user would.
void WhileEditorOpen(std::function<void(CDlgCfg&)> checks) {
    wxTheApp->CallAfter([checks] {
        CDlgCfg* editor = nullptr;
        for (wxWindow* top : wxTopLevelWindows) {
            if (auto* candidate = wxDynamicCast(top, CDlgCfg); candidate != nullptr && candidate->IsModal())
                editor = candidate;
        }
        ASSERT_NE(editor, nullptr);
        checks(*editor);
        PressKey(editor, WXK_ESCAPE);
    });
}

CDataTreeItem* RecordLabelled(CDlgCfg& editor, const char* label) {
    for (int i = 0; i < editor.Tree->GetRecordCount(); ++i) {
        CDataTreeItem* record = editor.Tree->GetRecord(i);
        if (editor.Tree->GetItemText(record->Handle) == label) return record;
    }
    return nullptr;
}

CCfgItem* EditorItem(CDlgCfg& editor, const char* name) {
    for (auto& item : editor.Doc.Items)
        if (std::string(item->Name) == name) return item.get();
    return nullptr;
}

void Click(CDlgCfg& editor, int id) {
    wxCommandEvent click(wxEVT_BUTTON, id);
    editor.ProcessWindowEvent(click);
}

TEST_F(TimerWindowTest, ConfigurationEditorFromTheMenu) {
    OpenWindow();
    // Reached from the keyboard too: Ctrl+, as in most desktop programs.
    wxMenuItem* entry = window->GetMenuBar()->FindItem(MenuId(ID_FILE_CONFIG));
    ASSERT_NE(entry, nullptr);
    std::unique_ptr<wxAcceleratorEntry> accel(entry->GetAccel());
    ASSERT_NE(accel, nullptr);
    EXPECT_EQ(accel->GetFlags(), wxACCEL_CTRL);
    EXPECT_EQ(accel->GetKeyCode(), ',');
    AnsweringPresenter presenter(IDOK);
    WhileEditorOpen([&](CDlgCfg& editor) {
        ASSERT_NE(editor.Tree, nullptr);
        EXPECT_EQ(editor.GetTitle(), "Kronalt - Configuration and Preferences");
        EXPECT_EQ(editor.Tree->GetItemText(editor.RootItem->Handle), "SYS");
        EXPECT_NE(RecordLabelled(editor, "Countdown"), nullptr);
        CDataTreeItem* length = RecordLabelled(editor, "Length=60");
        ASSERT_NE(length, nullptr);
        ASSERT_NE(editor.Doc.CurItem, nullptr);
        EXPECT_EQ(std::string(editor.Doc.CurItem->Name), "Length");  // the caller's first item

        // A real click on a parameter shows it in the pane.
        CDataTreeItem* interval = RecordLabelled(editor, "Interval=0");
        ASSERT_NE(interval, nullptr);
        wxRect box;
        ASSERT_TRUE(editor.Tree->GetBoundingRect(interval->Handle, box, true));
        wxUIActionSimulator mouse;
        mouse.MouseMove(editor.Tree->ClientToScreen(box.GetPosition() + wxPoint(4, box.GetHeight() / 2)));
        mouse.MouseClick();
        for (int i = 0; i < 100 && std::string(editor.Doc.CurItem->Name) != "Interval"; ++i) {
            wxYield();
            wxMilliSleep(10);
        }
        EXPECT_EQ(std::string(editor.Doc.CurItem->Name), "Interval");

        // Enter takes the typed value and applies it.
        CTxt err;
        editor.ShowItem(EditorItem(editor, "Length"), err);
        ASSERT_NE(editor.ValueEdit, nullptr);
        EXPECT_EQ(editor.ValueEdit->GetValue(), "60");
        editor.ValueEdit->ChangeValue("45");
        editor.ValueEdit->SetFocus();
        wxYield();
        PressKey(&editor, WXK_RETURN);
        EXPECT_EQ(Setting("Length"), "45");
        EXPECT_EQ(editor.Tree->GetItemText(length->Handle), "Length=45*");
        ASSERT_FALSE(presenter.Texts.empty());
        EXPECT_EQ(presenter.Texts.back(), "Updated Countdown Parameter Length:\r\n60 -> 45");
        EXPECT_EQ(editor.ApplyBtn->GetLabel(), "&APPLY");
        Click(editor, CDlgCfg::IdRestore);
        EXPECT_EQ(Setting("Length"), "60");
        EXPECT_EQ(editor.ValueEdit->GetValue(), "60");
        editor.ValueEdit->ChangeValue("30");
        PressKey(&editor, WXK_RETURN);
        Click(editor, CDlgCfg::IdDefault);
        EXPECT_EQ(Setting("Length"), "60");
        editor.ValueEdit->ChangeValue("30");
        editor.TakeAndApply();
        EXPECT_EQ(Setting("Length"), "30");

        // Resizing keeps the pane level with the tree.
        editor.SetSize(editor.GetSize() + wxSize(120, 90));
        wxYield();
        EXPECT_EQ(editor.LowerFrame->GetRect().GetBottom(), editor.Tree->GetRect().GetBottom());

        // A picture line of the description shows its picture, made once.
        editor.ShowItem(EditorItem(editor, "BarColor"), err);
        ASSERT_EQ(editor.Pictures.size(), 1u);
        EXPECT_GT(editor.Pictures[0]->PicWidth, 0);
        editor.IntroWnd->Refresh();
        editor.IntroWnd->Update();
        EXPECT_EQ(editor.Pictures.size(), 1u);
    });
    presenter.Texts.clear();
    window->OnConfig();
    ASSERT_FALSE(presenter.Texts.empty());
    EXPECT_EQ(presenter.Texts.back(), "The parameter change will take effect next time you open the manager");
}

TEST_F(TimerWindowTest, ConfigurationChangesOpenTheProfileWhenAsked) {
    OpenWindow();
    AnsweringPresenter presenter(IDOK);
    RecordingStarter starter;
    // Closed without a change: no message, no editor.
    WhileEditorOpen([](CDlgCfg&) {});
    window->OnConfig();
    EXPECT_TRUE(presenter.Texts.empty());

    ProfileWriteStr("SYS", "DirectCfgEdit", "YES");
    ProfileWriteStr("SYS", "EDITOR", "my-editor --wait");
    WhileEditorOpen([](CDlgCfg& editor) {
        CTxt err;
        for (const char* name : {"Length", "Interval"}) {
            editor.ShowItem(EditorItem(editor, name), err);
            editor.ValueEdit->ChangeValue("7");
            editor.TakeAndApply();
        }
    });
    window->OnConfig();
    ASSERT_FALSE(presenter.Texts.empty());
    EXPECT_EQ(presenter.Texts.back(), "The 2 parameter changes will take effect next time you open the manager");
    ASSERT_EQ(starter.Started.size(), 1u);
    EXPECT_EQ(starter.Started[0], (std::vector<std::string>{"my-editor", "--wait", IniPath()}));
}

TEST_F(TimerWindowTest, FieldsWriteOnlyWhatIsTypedAndFollowTheEditor) {
    OpenWindow();
    AnsweringPresenter presenter(IDOK);
    ProfileWriteStr("SYS", "SoundEnd", "Harp");
    WhileEditorOpen([](CDlgCfg& editor) {
        CTxt err;
        editor.ShowItem(EditorItem(editor, "Interval"), err);
        editor.ValueEdit->ChangeValue("-5");
        editor.TakeAndApply();
    });
    window->OnConfig();
    auto* length = Control<wxTextCtrl>(IDC_LENGTH);
    auto* interval = Control<wxTextCtrl>(IDC_INTERVAL);
    EXPECT_EQ(interval->GetValue(), "-5");  // the window shows what the editor stored ...
    EXPECT_EQ(window->GetEngine().GetInterval(), -5);  // ... and counts with it

    // Real keystrokes: through the Interval field without typing writes nothing.
    window->Raise();
    Pump();
    wxUIActionSimulator keys;
    keys.MouseMove(interval->GetScreenRect().GetPosition() + wxPoint(4, 4));
    interval->SetFocus();
    Pump();
    ProfileWriteStr("SYS", "Interval", "-9");  // stored since the window last read it
    keys.Char(WXK_TAB);
    Pump();
    EXPECT_EQ(Setting("Interval"), "-9");

    // Typing in a field does write.
    length->SetFocus();
    length->SelectAll();
    Pump();
    keys.Text("25");
    keys.Char(WXK_TAB);
    Pump();
    EXPECT_FALSE(length->HasFocus());
    EXPECT_EQ(Setting("Length"), "25");
    EXPECT_EQ(window->GetEngine().GetLength(), 25);
}

// Answers the preset name dialog with the names given, one per question.
std::vector<std::string> g_presetNames;
bool AnswerPresetName(wxWindow*, std::string& name) {
    if (g_presetNames.empty()) return false;
    name = g_presetNames.front();
    g_presetNames.erase(g_presetNames.begin());
    return true;
}

TEST_F(TimerWindowTest, PresetsMenuChoosesSavesAndDeletes) {
    OpenWindow();
    AnsweringPresenter presenter(IDYES);
    wxMenuBar* bar = window->GetMenuBar();
    ASSERT_EQ(bar->GetMenuCount(), 3u);
    EXPECT_EQ(bar->GetMenuLabelText(1), "Presets");  // between File and Help
    wxMenu* presets = bar->GetMenu(1);
    EXPECT_EQ(presets->FindItemByPosition(0)->GetItemLabelText(), "Pomodoro");
    EXPECT_EQ(presets->FindItemByPosition(2)->GetItemLabel(), "Meditation\tCtrl+3");

    // Ctrl+1, typed: Pomodoro's settings in the fields, the lists and the profile; not started.
    window->Raise();
    Pump();
    wxUIActionSimulator keys;
    keys.MouseMove(window->GetScreenRect().GetPosition() + wxPoint(30, 60));
    Control<wxButton>(IDC_STARTPAUSE)->SetFocus();
    Pump();
    keys.Char('1', wxMOD_CONTROL);
    Pump();
    EXPECT_EQ(Control<wxTextCtrl>(IDC_LENGTH)->GetValue(), "25");
    EXPECT_EQ(Setting("Length"), "25");
    EXPECT_EQ(window->GetEngine().GetLength(), 25);
    EXPECT_FALSE(window->GetEngine().IsRunning());
    window->GetPresetMenu().OnChoose(2);  // Meditation
    EXPECT_EQ(Control<wxTextCtrl>(IDC_INTERVAL)->GetValue(), "-5");
    EXPECT_EQ(Control<wxComboBox>(IDC_SOUND_END)->GetStringSelection(), "Gong");
    EXPECT_EQ(Setting("SoundInterval"), "Bell");

    // Save: a refused name says why and asks again; an existing name asks before replacing.
    CPresetMenu::SetNameAsker(AnswerPresetName);
    g_presetNames = {"a=b", "  pomodoro "};
    window->GetPresetMenu().OnSaveCurrent();
    ASSERT_EQ(presenter.Texts.size(), 2u);
    EXPECT_NE(presenter.Texts[0].find("'='"), std::string::npos);
    EXPECT_EQ(presenter.Texts[1], "Replace the preset \"Pomodoro\"?");
    const std::vector<Preset>& saved = window->GetPresetMenu().GetPresets();
    ASSERT_EQ(saved.size(), 3u);
    EXPECT_EQ(saved[0].Name, "Pomodoro");
    EXPECT_EQ(saved[0].Interval, -5);  // Meditation's settings, under Pomodoro's name
    g_presetNames = {"Tea, strong"};
    window->GetPresetMenu().OnSaveCurrent();
    ASSERT_EQ(window->GetPresetMenu().GetPresets().size(), 4u);
    EXPECT_EQ(presets->FindItemByPosition(3)->GetItemLabel(), "Tea, strong\tCtrl+4");

    // Delete asks; No keeps it, Yes removes it.
    presenter.SetAnswer(IDNO);
    window->GetPresetMenu().OnDelete(3);
    EXPECT_EQ(window->GetPresetMenu().GetPresets().size(), 4u);
    presenter.SetAnswer(IDYES);
    window->GetPresetMenu().OnDelete(3);
    EXPECT_EQ(window->GetPresetMenu().GetPresets().size(), 3u);
    EXPECT_EQ(Setting("Tea, strong"), "<missing>");
    CPresetMenu::SetNameAsker(nullptr);
}

TEST_F(TimerWindowTest, OvertimeAndUntilInTheWindow) {
    FakeClock clock(2015, 1, 12, 10, 0, 0);
    ProfileWriteStr("SYS", "Overtime", "YES");
    ProfileWriteStr("SYS", "ShowZAM", "NO");  // minutes pass: no product page
    OpenWindow();
    window->CountUntil(10, 2, 30);
    EXPECT_TRUE(window->GetEngine().IsRunning());
    EXPECT_EQ(Control<wxTextCtrl>(IDC_LENGTH)->GetValue(), "3");
    EXPECT_EQ(Setting("Length"), "60");  // a clock time stores no length
    clock.Advance(150);
    window->OnTick();
    EXPECT_EQ(Control<wxStaticText>(IDC_STATUS)->GetLabel(), "DONE");
    clock.Advance(5);
    window->OnTick();
    EXPECT_EQ(Control<wxStaticText>(IDC_STATUS)->GetLabel(), "+00:05");
    EXPECT_EQ(Control<wxButton>(IDC_STARTPAUSE)->GetLabel(), "&Pause");
    window->OnStartPause();
    window->OnTick();
    EXPECT_EQ(Control<wxStaticText>(IDC_STATUS)->GetLabel(), "Completed +00:05");
    EXPECT_EQ(Control<wxButton>(IDC_STARTPAUSE)->GetLabel(), "&Start");
}

// Sends a request as another program would, while the window's thread runs.
std::string Remote(const std::string& request) {
    auto reply = std::async(std::launch::async, [request] {
        std::string folder;
        std::string err;
        RemoteFolder(folder, err);
        std::string answer;
        const std::string path = folder + "/" + std::to_string(getpid()) + ".sock";
        return zam::platform::LocalSocketRequest(path, request, answer, 3000) == zam::platform::LOCAL_OK
                   ? answer
                   : std::string("<no answer>");
    });
    while (reply.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) Pump();
    return reply.get();
}

TEST_F(TimerWindowTest, RemoteCommandsReachTheWindow) {
    FakeClock clock(2015, 1, 12, 10, 0, 0);
    ProfileWriteStr("SYS", "Length", "25");
    OpenWindow();
    EXPECT_EQ(Remote("status"), "idle 00:00 - 25:00");
    EXPECT_EQ(Remote("start"), "running 00:00 - 25:00");
    EXPECT_EQ(Control<wxButton>(IDC_STARTPAUSE)->GetLabel(), "&Pause");  // as if clicked
    clock.Advance(3);
    EXPECT_EQ(Remote("toggle"), "paused 00:03 - 24:57");
    EXPECT_EQ(Remote("hide"), "ok");
    EXPECT_FALSE(window->IsShown());
    EXPECT_EQ(Remote("show"), "ok");
    EXPECT_TRUE(window->IsShown());
    EXPECT_EQ(Remote("preset short break"), "ok");
    EXPECT_EQ(Control<wxTextCtrl>(IDC_LENGTH)->GetValue(), "5");
    EXPECT_EQ(Remote("preset nap"), "error: no preset named 'nap'");
    // Exit asks nothing: the window closes.
    AnsweringPresenter presenter(IDNO);
    bool destroyed = false;
    CDlgTimer* closing = window;
    window->Bind(wxEVT_DESTROY, [&](wxWindowDestroyEvent& e) {
        if (e.GetEventObject() == closing) destroyed = true;
        e.Skip();
    });
    EXPECT_EQ(Remote("exit"), "ok");
    for (int i = 0; i < 50 && !destroyed; ++i) Pump();
    EXPECT_TRUE(destroyed);
    EXPECT_TRUE(presenter.Texts.empty());
    window = nullptr;  // gone
}

TEST_F(TimerWindowTest, ExitQuestionAnswersToTheYAndNKeys) {
    OpenWindow();
    // The program's own message box, not a test presenter, answered by a key
    // press once it is up.
    zam::graph::InstallWxUserInterface();
    for (const auto& [key, yes] : {std::pair<char, bool>{'n', false}, std::pair<char, bool>{'y', true}}) {
        wxTimer typist;
        typist.Bind(wxEVT_TIMER, [key = key, &typist](wxTimerEvent&) {
            for (wxWindow* top : wxTopLevelWindows) {
                auto* box = wxDynamicCast(top, wxDialog);
                if (box == nullptr || !box->IsModal()) continue;
                typist.Stop();
                box->SetFocus();
                wxKeyEvent press(wxEVT_CHAR_HOOK);
                press.m_keyCode = key - 'a' + 'A';  // as the toolkit reports a letter key
                press.SetEventObject(box);
                box->ProcessWindowEvent(press);
                return;
            }
        });
        typist.Start(50);
        EXPECT_EQ(window->ConfirmExit(), yes) << key;
    }
    // Later tests answer through their own presenters, or none.
    zam::platform::SetMessageBoxPresenter(nullptr);
}

}  // namespace
