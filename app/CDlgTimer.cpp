#include "app/CDlgTimer.h"

#include <wx/button.h>
#include <wx/colordlg.h>
#include <wx/combobox.h>
#include <wx/iconbndl.h>
#include <wx/menu.h>
#include <wx/mstream.h>
#include <wx/panel.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <string>

#include "Core/Graph/CDlgCfg.h"
#include "Core/Graph/DialogUnits.h"
#include "Core/Graph/NewLabel.h"
#include "Core/Graph/RowLayout.h"
#include "Core/Graph/WxTranslator.h"
#include "Core/Graph/WxUserInterface.h"
#include "Core/Platform/Clock.h"
#include "Core/Platform/Process.h"
#include "Core/Platform/Translation.h"
#include "Core/Platform/UserInterface.h"
#include "Core/System/Launch.h"
#include "Core/System/Log.h"
#include "Core/System/Profile.h"
#include "Core/Text/RuntimeConv.h"
#include "Core/Text/TextFunc.h"
#include "app/CDlgAbout.h"
#include "app/CPresetMenu.h"
#include "app/CTrayIcon.h"
#include "app/CWindowRemote.h"
#include "app/CProgressBar.h"
#include "app/DesignFont.h"
#include "app/DataFolder.h"
#include "app/EndCommand.h"
#include "app/EndNotifier.h"
#include "app/IconPng.h"
#include "app/Resource.h"
#include "app/Sound.h"
#include "app/TimerSettings.h"

namespace {

const char* const kSection = "SYS";
const char* const kDefaultPosition = "100,872,100,123";
const int kMaxPlacement = 4096;
// An Esc this soon after a menu or drop-down list closed was the one that
// closed it.
const int64_t kPopupEscapeMs = 400;

bool ChooseWithDialog(wxWindow* parent, COLORREF& colour) {
    wxColourData data;
    data.SetChooseFull(true);
    data.SetColour(wxColour(GetRValue(colour), GetGValue(colour), GetBValue(colour)));
    wxColourDialog dialog(parent, &data);
    if (dialog.ShowModal() != wxID_OK) return false;
    const wxColour chosen = dialog.GetColourData().GetColour();
    colour = RGB(chosen.Red(), chosen.Green(), chosen.Blue());
    return true;
}

CDlgTimer::ColourChooser g_chooseColour = ChooseWithDialog;

wxString Text(const char* s) { return wxString::FromUTF8(s != nullptr ? s : ""); }

// The shipped icon, in the sizes a desktop asks for; the copy built into the
// program when the data folder is missing.
wxIconBundle LoadIcons() {
    CTxt folder;
    GetDataFolder(folder);
    wxIconBundle icons;
    for (int size : {32, 64, 128}) {
        const wxString path = wxString::Format("%s/kronalt-%d.png", Text(folder), size);
        if (wxFileExists(path)) icons.AddIcon(path, wxBITMAP_TYPE_PNG);
    }
    if (icons.IsEmpty()) {
        wxMemoryInputStream png(kIconPng, sizeof kIconPng);
        const wxImage image(png, wxBITMAP_TYPE_PNG);
        if (image.IsOk()) {
            wxIcon icon;
            icon.CopyFromBitmap(wxBitmap(image));
            icons.AddIcon(icon);
        }
    }
    return icons;
}

}  // namespace

CDlgTimer::CDlgTimer()
    : wxFrame(nullptr, IDD_KRONALT_DIALOG, "Kronalt (Velmora)", wxDefaultPosition, wxDefaultSize,
              wxDEFAULT_FRAME_STYLE & ~(wxRESIZE_BORDER | wxMAXIMIZE_BOX)),
      m_Timer(this, ID_TIMER_TICK) {
    CreateControls();
    CreateMenu();
    m_PresetMenu = std::make_unique<CPresetMenu>(
        this, [this](const Preset& preset) { ChoosePreset(preset); },
        [this] { return CurrentAsPreset(); });
    m_PresetMenu->Insert(GetMenuBar(), 1);  // between File and Help
    BindEvents();
    const wxIconBundle icons = LoadIcons();
    if (!icons.IsEmpty()) SetIcons(icons);
}

CDlgTimer::~CDlgTimer() { m_Timer.Stop(); }

void CDlgTimer::SetColourChooser(ColourChooser chooser) {
    g_chooseColour = chooser != nullptr ? chooser : ChooseWithDialog;
}

void CDlgTimer::CreateControls() {
    // The layout is designed in dialog units of an 8-point sans-serif font;
    // the toolkit takes dialog units from the top-level window's font.
    SetFont(DesignFont());
    m_Panel = new wxPanel(this);
    const zam::graph::DialogUnits units(m_Panel);
    auto du = [&units](int x, int y, int w, int h) { return units.Rect(x, y, w, h); };
    // Translated texts may need more room than the English design; the row
    // makes it, and the window grows by as much.
    zam::graph::RowLayout row;
    auto place = [&](wxWindow* w, const wxRect& r) { row.Add(w, r); };
    // Every control is made at its designed rectangle: one made without a
    // size measures itself first, in a font it is about to lose, for a size
    // the row replaces anyway.
    auto label = [&](const char* english, const wxRect& r) {
        row.AddText(zam::graph::NewLabel(m_Panel, wxID_ANY, WxTr(english), r), r, english);
    };
    auto button = [&](int id, const wxString& caption, long style, const wxRect& r) {
        return new wxButton(m_Panel, id, caption, r.GetPosition(), r.GetSize(), style);
    };
    auto field = [&](int id, const wxRect& r) {
        auto* edit = new wxTextCtrl(m_Panel, id, "", r.GetPosition(), r.GetSize(), wxBORDER_SIMPLE);
        place(edit, r);
        return edit;
    };
    auto soundList = [&](int id, const wxRect& r) {
        auto* list = new wxComboBox(m_Panel, id, "", r.GetPosition(), r.GetSize(), 0, nullptr,
                                    wxCB_DROPDOWN | wxCB_SORT | wxCB_READONLY);
        place(list, r);
        return list;
    };
    auto frame = [&](const wxRect& r) {
        place(new wxStaticBox(m_Panel, wxID_ANY, "", r.GetPosition(), r.GetSize()), r);
    };
    auto text = [&](int id, const char* initial, const wxRect& r) {
        wxStaticText* shown = zam::graph::NewLabel(m_Panel, id, initial, r);
        place(shown, r);
        return shown;
    };

    // Sized for the longer of its two captions.
    const bool pauseLonger = std::strlen(Tr("&Pause")) > std::strlen(Tr("&Start"));
    const char* longer = pauseLonger ? "&Pause" : "&Start";
    const wxRect startPause = du(7, 4, 32, 18);
    m_StartPause = button(IDC_STARTPAUSE, WxTr(longer), 0, startPause);
    row.AddText(m_StartPause, startPause, longer);
    const wxRect exitButton = du(546, 7, 24, 14);
    row.AddText(button(IDC_EXIT, WxTr("E&xit"), 0, exitButton), exitButton, "E&xit");

    frame(du(42, 0, 153, 22));
    label(TrNoop("Length:"), du(43, 8, 25, 10));
    m_Length = field(IDC_LENGTH, du(68, 7, 16, 12));
    label(TrNoop("Minutes"), du(84, 8, 25, 10));
    m_EndSound = soundList(IDC_SOUND_END, du(111, 7, 63, 12));
    const wxRect playEnd = du(174, 7, 15, 12);
    place(button(IDC_PLAY_END, ">", wxBU_EXACTFIT, playEnd), playEnd);

    frame(du(202, 0, 174, 22));
    label(TrNoop("Interval:"), du(205, 8, 25, 10));
    m_Interval = field(IDC_INTERVAL, du(234, 7, 21, 13));
    label(TrNoop("Minutes"), du(260, 8, 26, 10));
    m_IntervalSound = soundList(IDC_SOUND_INTERVAL, du(289, 7, 66, 12));
    const wxRect playInterval = du(355, 7, 15, 12);
    place(button(IDC_PLAY_INTERVAL, ">", wxBU_EXACTFIT, playInterval), playInterval);

    m_Status = text(IDC_STATUS, "Static", du(406, 9, 70, 9));
    m_Clock = text(IDC_CLOCK, "", du(474, 9, 67, 8));
    const wxRect bar = du(7, 25, 563, 17);
    m_Progress = new CProgressBar(m_Panel, IDC_PROGRESS, bar.GetPosition(), bar.GetSize());
    place(m_Progress, bar);
    const int wider = row.Apply();
    m_StartPause->SetLabel(WxTr("&Start"));

    SetDefaultItem(m_StartPause);
    m_StartPause->SetDefault();
    const wxSize designed = units.Size(577, 46) + wxSize(wider, 0);
    m_Panel->SetMinSize(designed);
    SetClientSize(designed);
}

void CDlgTimer::CreateMenu() {
    auto* file = new wxMenu;
    file->Append(MenuId(ID_FILE_START), WxTr("&Start Kronalt"));
    file->AppendSeparator();
    file->Append(MenuId(ID_FILE_CHANGECOLOR), WxTr("Change Color"));
    file->Append(MenuId(ID_FILE_CHANGEBKCOLOR), WxTr("Change Background Color"));
    file->AppendSeparator();
    file->Append(MenuId(ID_FILE_CONFIG), WxTr("&Configuration and Preferences\tCtrl+,"));
    file->AppendSeparator();
    // Menu ids stop at 0x7FFF here; the framework's exit command is the toolkit's.
    file->Append(wxID_EXIT, WxTr("E&xit"));
    auto* help = new wxMenu;
    help->Append(MenuId(ID_HELP_PRODUCTS), WxTr("View more &Products"));
    help->Append(MenuId(ID_APP_ABOUT), WxTr("&About Kronalt"));
    auto* bar = new wxMenuBar;
    bar->Append(file, WxTr("&File"));
    bar->Append(help, WxTr("&Help"));
    SetMenuBar(bar);
}

void CDlgTimer::BindEvents() {
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { OnTick(); }, ID_TIMER_TICK);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnStartPause(); }, IDC_STARTPAUSE);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnExitCommand(); }, IDC_EXIT);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnPlayEnd(); }, IDC_PLAY_END);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnPlayInterval(); }, IDC_PLAY_INTERVAL);
    Bind(wxEVT_COMBOBOX, [this](wxCommandEvent&) { OnSelChangeEndSound(); }, IDC_SOUND_END);
    Bind(wxEVT_COMBOBOX, [this](wxCommandEvent&) { OnSelChangeIntervalSound(); }, IDC_SOUND_INTERVAL);
    m_Length->Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& e) {
        OnKillFocusLength();
        e.Skip();
    });
    m_Interval->Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& e) {
        OnKillFocusInterval();
        e.Skip();
    });
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnStartPause(); }, MenuId(ID_FILE_START));
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnChangeColor(); }, MenuId(ID_FILE_CHANGECOLOR));
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnChangeBkColor(); }, MenuId(ID_FILE_CHANGEBKCOLOR));
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnConfig(); }, MenuId(ID_FILE_CONFIG));
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnExitCommand(); }, wxID_EXIT);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnProducts(); }, MenuId(ID_HELP_PRODUCTS));
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnAbout(); }, MenuId(ID_APP_ABOUT));
    Bind(wxEVT_MOVE, &CDlgTimer::OnMove, this);
    Bind(wxEVT_SHOW, &CDlgTimer::OnShow, this);
    Bind(wxEVT_CLOSE_WINDOW, &CDlgTimer::OnClose, this);
    Bind(wxEVT_CHAR_HOOK, &CDlgTimer::OnCharHook, this);
    Bind(wxEVT_MENU_OPEN, [this](wxMenuEvent& e) {
        OnPopup(true);
        e.Skip();
    });
    Bind(wxEVT_MENU_CLOSE, [this](wxMenuEvent& e) {
        OnPopup(false);
        e.Skip();
    });
    for (wxComboBox* combo : {m_EndSound, m_IntervalSound}) {
        combo->Bind(wxEVT_COMBOBOX_DROPDOWN, [this](wxCommandEvent& e) {
            OnPopup(true);
            e.Skip();
        });
        combo->Bind(wxEVT_COMBOBOX_CLOSEUP, [this](wxCommandEvent& e) {
            OnPopup(false);
            e.Skip();
        });
    }
}

void CDlgTimer::OnPopup(bool open) {
    m_PopupOpen = open;
    if (!open) m_PopupClosedAt = zam::platform::BootTimeMillis();
}

bool CDlgTimer::EscapeClosesPopup() const {
    return m_PopupOpen || zam::platform::BootTimeMillis() - m_PopupClosedAt < kPopupEscapeMs;
}

bool CDlgTimer::OnInitDialog() {
    CTxt title;
    CCountdown::GetTitle(title, nullptr);
    SetTitle(Text(title));

    PlacePerSettings();

    m_Progress->SetRange(0, 1000, 1);
    m_Progress->SetPos(10);
    m_Progress->SetStep(1);
    m_BarColour = ProfileReadColor(kSection, "BarColor", "49,193,249");
    m_BkColour = ProfileReadColor(kSection, "BkColor", "255,255,145");
    m_Progress->SetBarColour(m_BarColour);
    m_Progress->SetBkColour(m_BkColour);

    int length = ProfileReadInt(kSection, "Length", 60);
    if (length < 2) length = 2;
    ProfileWriteInt(kSection, "Length", length);
    m_Length->ChangeValue(wxString::Format("%d", length));
    const int interval = ProfileReadInt(kSection, "Interval", 0);
    ProfileWriteInt(kSection, "Interval", interval);
    m_Interval->ChangeValue(wxString::Format("%d", interval));
    m_Engine.SetInitial(length, interval);
    m_Engine.SetOvertime(ReadOvertime());

    FillSoundLists();

    m_Timer.Start(1000);
    m_TimerId = ID_TIMER_TICK;
    m_SavingPos = 1;
    m_Remote = std::make_unique<CWindowRemote>(this);
    m_Remote->Start();
    ShowTrayIcon();
    return true;
}

void CDlgTimer::PlacePerSettings() {
    CTxt position;
    ProfileReadStr(kSection, "MainWindowPos", kDefaultPosition, position);
    if (position.IsFilled()) {
        const int left = strfldint(position, ',', 1);
        int width = strfldint(position, ',', 2);
        const int top = strfldint(position, ',', 3);
        int height = strfldint(position, ',', 4);
        auto inBounds = [](int v) { return v >= 0 && v <= kMaxPlacement; };
        // The top has no bound: a window may sit above the screen's edge.
        if (inBounds(left) && inBounds(width) && inBounds(height)) {
            // Smaller than designed would hide controls; the window would be
            // raised to the designed size anyway, and that is what is stored.
            const wxSize designed = GetSize();
            if (width < designed.GetWidth()) width = designed.GetWidth();
            if (height < designed.GetHeight()) height = designed.GetHeight();
            // A window manager places a window itself when it is mapped, and
            // a frame sized before it is shown is squeezed below its menu
            // bar's minimum once its decorations are known. So the place is
            // asked for now and the whole rectangle again once it is shown.
            // -1 is a top like any other, not "keep the current one".
            m_Placement = wxRect(left, top, width, height);
            Move(left, top, wxSIZE_ALLOW_MINUS_ONE);
        }
    }
    // Before it is shown the frame's rectangle lacks its menu bar; the one it
    // is about to be given is what it will have, and storing that spares a
    // rewrite of the profile (and its waits for the disk) on every start.
    // The shown window's real rectangle is stored once it is up.
    SavePosition(m_Placement.IsEmpty() ? GetRect() : m_Placement);
}

void CDlgTimer::OnShow(wxShowEvent& event) {
    event.Skip();
    if (!event.IsShown() || m_PlacementDone) return;
    m_PlacementDone = true;
    CallAfter([this] {
        if (!m_Placement.IsEmpty()) SetSize(m_Placement, wxSIZE_ALLOW_MINUS_ONE);
        SavePosition();
    });
}

bool CDlgTimer::HasRealGeometry() const {
    // While a window manager takes the window over, the toolkit reports
    // passing rectangles a few pixels wide; they are not where the user put it.
    const wxSize size = GetSize();
    const wxSize least = m_Panel->GetMinSize();
    return size.GetWidth() >= least.GetWidth() && size.GetHeight() >= least.GetHeight() / 2;
}

void CDlgTimer::SavePosition() { SavePosition(GetRect()); }

void CDlgTimer::SavePosition(const wxRect& r) {
    CTxt text;
    text.Format("%d,%d,%d,%d", r.GetLeft(), r.GetWidth(), r.GetTop(), r.GetHeight());
    ProfileWriteStr(kSection, "MainWindowPos", text);
}

void CDlgTimer::FillSoundLists() {
    std::string endName;
    std::string intervalName;
    ProfileReadStr(kSection, "SoundEnd", "Harp", endName);
    ProfileReadStr(kSection, "SoundInterval", "TickTock", intervalName);
    CTxt folder;
    GetDataFolder(folder);
    m_Sounds.RemoveAll();
    m_Sounds.LoadFromDir(folder, 0, 1, "!WAV", 0, 0);
    m_EndSound->Clear();
    m_IntervalSound->Clear();
    for (int i = 0; i < m_Sounds.GetSize(); ++i) {
        CTxt* path = m_Sounds.GetAt(i);
        if (path == nullptr) continue;
        CTxt name;
        path->GetFileTxt(2, name);
        const int endAt = m_EndSound->Append(Text(name), static_cast<void*>(path));
        const int intervalAt = m_IntervalSound->Append(Text(name), static_cast<void*>(path));
        if (stricmpmode(name, endName.c_str(), 1) == 0) {
            m_EndSound->SetSelection(endAt);
            m_Engine.SetEndSound(*path);
        }
        if (stricmpmode(name, intervalName.c_str(), 1) == 0) {
            m_IntervalSound->SetSelection(intervalAt);
            m_Engine.SetIntervalSound(*path);
        }
    }
}

void CDlgTimer::OnTick() {
    TickOutput out;
    m_Engine.Tick(out);
    if (out.PlayEnd) Sound::Play(m_Engine.GetEndSound());
    if (out.PlayEnd) OnCountdownEnd();
    if (out.PlayInterval) Sound::Play(m_Engine.GetIntervalSound());
    if (!out.PlayEnd && !out.PlayInterval) Sound::Poll();
    if (out.CaptionChanged) m_StartPause->SetLabel(WxTr("&Start"));
    if (m_Tray != nullptr) m_Tray->Update(m_Engine);
    if (out.Title.IsFilled()) SetTitle(Text(out.Title));
    if (out.HasProgress && out.Progress != m_Progress->GetPos()) m_Progress->SetPos(out.Progress);
    const wxString status = Text(out.StatusLine);
    if (m_Status->GetLabel() != status) m_Status->SetLabel(status);
    const wxString clock = Text(out.Clock);
    if (m_Clock->GetLabel() != clock) m_Clock->SetLabel(clock);
    if (out.PageDue && ProfileReadBool(kSection, "ShowZAM", 1)) {
        m_Engine.PageShown();
        OnProducts();
    }
}

void CDlgTimer::OnCountdownEnd() {
    if (ProfileReadBool(kSection, "NotifyEnd", 1)) NotifyCountdownEnd(m_Engine.GetLength());
    // A minimised or hidden window asks the desktop to point the user at it.
    if (IsIconized() || !IsShown()) RequestUserAttention(wxUSER_ATTENTION_ERROR);
    RunEndCommand(m_Engine.GetLength(), m_PresetName);
}

void CDlgTimer::OnStartPause() {
    m_StartPause->SetLabel(WxTr(m_Engine.StartPause()));
    if (m_Tray != nullptr) m_Tray->Update(m_Engine);
}

void CDlgTimer::ReadNumberField(wxTextCtrl* field, bool isLength) {
    // Passing through a field the user did not type in must not write what
    // it shows over a value stored since (by the configuration editor).
    if (!field->IsModified()) return;
    m_PresetName.clear();  // the settings are the user's own now
    const int typed = zam::RuntimeAtoi(field->GetValue().utf8_str());
    const int stored = isLength ? m_Engine.SetLength(typed) : m_Engine.SetInterval(typed);
    ProfileWriteInt(kSection, isLength ? "Length" : "Interval", stored);
    field->ChangeValue(wxString::Format("%d", stored));
}

void CDlgTimer::OnKillFocusLength() { ReadNumberField(m_Length, true); }

void CDlgTimer::OnKillFocusInterval() { ReadNumberField(m_Interval, false); }

void CDlgTimer::ChooseSound(wxComboBox* combo, const char* key, bool isEnd) {
    const int at = combo->GetSelection();
    if (at == wxNOT_FOUND) return;
    m_PresetName.clear();
    ProfileWriteStr(kSection, key, combo->GetString(at).utf8_str());
    const auto* path = static_cast<const CTxt*>(combo->GetClientData(at));
    const char* chosen = path != nullptr ? path->GetData() : "";
    if (isEnd) {
        m_Engine.SetEndSound(chosen);
    } else {
        m_Engine.SetIntervalSound(chosen);
    }
}

void CDlgTimer::OnSelChangeEndSound() { ChooseSound(m_EndSound, "SoundEnd", true); }

void CDlgTimer::OnSelChangeIntervalSound() { ChooseSound(m_IntervalSound, "SoundInterval", false); }

void CDlgTimer::OnPlayEnd() { Sound::Play(m_Engine.GetEndSound()); }

void CDlgTimer::OnPlayInterval() { Sound::Play(m_Engine.GetIntervalSound()); }

void CDlgTimer::ChangeColour(bool bar) {
    COLORREF colour = bar ? m_BarColour : m_BkColour;
    if (!g_chooseColour(this, colour)) return;
    if (bar) {
        m_BarColour = colour;
        m_Progress->SetBarColour(colour);
        ProfileWriteColor(kSection, "BarColor", colour);
    } else {
        m_BkColour = colour;
        m_Progress->SetBkColour(colour);
        ProfileWriteColor(kSection, "BkColor", colour);
    }
}

void CDlgTimer::OnChangeColor() { ChangeColour(true); }

void CDlgTimer::OnChangeBkColor() { ChangeColour(false); }

void CDlgTimer::OnConfig() {
    CDlgCfg holder;
    const wxRect placed = GetRect();
    holder.PosX = placed.GetLeft() + 40;
    holder.PosY = placed.GetTop() + 150;
    CTxt folder;
    GetDataFolder(folder);
    holder.BaseDir = static_cast<const char*>(folder);
    CTxt path;
    path.Format("%s/%s", static_cast<const char*>(folder), "Kronalt.xml");
    CTxt err;
    if (holder.LoadSysDef(path, err) < 0) {
        MsgBox(err, 2, zam::graph::ToHandle(this));
        return;
    }
    const int changed = holder.DoConfig(err, "Length", this);
    LogTrace("BkBld", 1, "%d Items updated", changed);
    if (changed <= 0) return;
    CTxt message;
    if (changed == 1) {
        message = Tr("The parameter change will take effect next time you open the manager");
    } else {
        message.Format(Tr("The %d parameter changes will take effect next time you open the manager"), changed);
    }
    MsgBox(message, 1, zam::graph::ToHandle(this));
    ShowStoredSettings();
    if (ProfileReadBool(kSection, "DirectCfgEdit", 0)) EditProfile();
}

void CDlgTimer::ShowStoredSettings() {
    // As if the user had entered them here: the countdown takes them too.
    const int length = ProfileReadInt(kSection, "Length", 60);
    const int storedLength = m_Engine.SetLength(length);
    if (storedLength != length) ProfileWriteInt(kSection, "Length", storedLength);
    m_Length->ChangeValue(wxString::Format("%d", storedLength));
    const int interval = m_Engine.SetInterval(ProfileReadInt(kSection, "Interval", 0));
    m_Interval->ChangeValue(wxString::Format("%d", interval));
    m_Engine.SetOvertime(ReadOvertime());
    FillSoundLists();
    m_BarColour = ProfileReadColor(kSection, "BarColor", "49,193,249");
    m_BkColour = ProfileReadColor(kSection, "BkColor", "255,255,145");
    m_Progress->SetBarColour(m_BarColour);
    m_Progress->SetBkColour(m_BkColour);
}

void CDlgTimer::ChoosePreset(const Preset& preset) {
    StorePresetAsSettings(preset);
    ShowStoredSettings();
    m_PresetName = preset.Name;
}

Preset CDlgTimer::CurrentAsPreset() const {
    Preset preset;
    preset.Length = m_Engine.GetLength();
    preset.Interval = m_Engine.GetInterval();
    preset.EndSound = m_EndSound->GetStringSelection().utf8_str().data();
    preset.IntervalSound = m_IntervalSound->GetStringSelection().utf8_str().data();
    return preset;
}

void CDlgTimer::CountUntil(int hour, int minute, int second) {
    if (m_Engine.SetUntil(hour, minute, second) != 0) return;
    // The field shows whole minutes; the status shows the exact time left.
    m_Length->ChangeValue(wxString::Format("%d", m_Engine.GetLength()));
    if (!m_Engine.IsRunning()) OnStartPause();
}

void CDlgTimer::EditProfile() {
    const std::string fallback = zam::DefaultEditorCommand();
    CTxt editor;
    ProfileReadStr(kSection, "EDITOR", fallback.c_str(), editor);
    if (editor.IsEmpty()) editor = fallback.c_str();
    ProfileWriteStr(kSection, "EDITOR", editor);
    // The profile's real path: with backslashes it would name no file here.
    char profile[1000];
    GetIniPath(profile, sizeof profile);
    CTxt command;
    command.Format("<!%s %s", static_cast<const char*>(editor), zam::platform::QuoteCommandLineArgument(profile).c_str());
    RunCommand(command, 1);
    SetFocus();
}

void CDlgTimer::OnAbout() {
    CDlgAbout about(this);
    about.ShowModal();
}

void CDlgTimer::OnProducts() {
    CTxt page;
    GetProductPage(page);
    OpenUrl(page, 0);
}

bool CDlgTimer::ConfirmExit() {
    return MsgBox(Tr("Are you sure to exit?"), 3, zam::graph::ToHandle(this)) == IDYES;
}

void CDlgTimer::OnMove(wxMoveEvent& event) {
    event.Skip();
    if (!m_SavingPos || IsIconized() || !HasRealGeometry()) return;
    const wxPoint at = GetPosition();
    if (at.x >= 0 && at.y >= 0) SavePosition();
}

void CDlgTimer::OnClose(wxCloseEvent& event) {
    if (event.CanVeto() && m_Tray != nullptr && ReadFlag("CloseToTray", false)) {
        Hide();  // the close box puts the window away; Exit still ends the program
        event.Veto();
        return;
    }
    if (event.CanVeto() && !ConfirmExit()) {
        event.Veto();
        return;
    }
    m_Timer.Stop();
    m_Remote.reset();  // no request may reach a window on its way out
    m_Tray.reset();
    Destroy();
}

void CDlgTimer::OnExitCommand() {
    if (ConfirmExit()) Close(true);
}

void CDlgTimer::ShowOrHide(bool forceShow) {
    if (forceShow || !IsShown() || IsIconized()) {
        if (IsIconized()) Iconize(false);
        Show();
        Raise();
    } else {
        Hide();
    }
}

wxString CDlgTimer::GetStartPauseCaption() const { return m_StartPause->GetLabel(); }

void CDlgTimer::ShowTrayIcon() {
    if (!ReadFlag("TrayIcon", true)) return;
    if (!CTrayIcon::Available()) {
        static bool logged = false;
        if (!logged) LogTrace("Tray", 1, "No notification area on this desktop: no tray icon");
        logged = true;
        return;
    }
    m_Tray = std::make_unique<CTrayIcon>(this);
    m_Tray->Update(m_Engine);
}

void CDlgTimer::OnCharHook(wxKeyEvent& event) {
    switch (event.GetKeyCode()) {
    case WXK_ESCAPE:
        if (EscapeClosesPopup()) {
            event.Skip();  // the menu or list closes, the program stays
            return;
        }
        OnExitCommand();
        return;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
        // Enter presses the push button that has the focus, as in a dialog;
        // anywhere else it is the default button's: Start/Pause.
        if (auto* button = wxDynamicCast(FindFocus(), wxButton)) {
            wxCommandEvent click(wxEVT_BUTTON, button->GetId());
            click.SetEventObject(button);
            button->ProcessWindowEvent(click);
            return;
        }
        OnStartPause();
        return;
    default:
        event.Skip();
    }
}
