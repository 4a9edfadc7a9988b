#include <wx/app.h>
#include <wx/init.h>

#include <cstdio>
#include <cstdlib>

#include "Core/Graph/WxTranslator.h"
#include "Core/Platform/ScopedEnvironment.h"
#include "Core/Platform/Translation.h"
#include "app/CTimerApp.h"
#include "app/CommandLine.h"
#include "app/ConsoleTimer.h"
#include "app/DataFolder.h"
#include "app/Presets.h"
#include "app/RemoteControl.h"
#include "app/Version.h"

namespace {

bool HaveDisplay() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 != nullptr && x11[0] != '\0') || (wayland != nullptr && wayland[0] != '\0');
}

int RunInTerminalInstead(const ConsoleOptions& options) {
    std::fputs(Tr("kronalt: no display to open the window on; counting down in the terminal\n"),
               stderr);
    return RunConsoleTimer(options);
}

bool StartToolkit(int& argc, char** argv) {
    // The window never draws with OpenGL, yet GTK asks what OpenGL offers as
    // it opens the display, loading Mesa and its compiler for it: a third of
    // the start-up and 20 MB. Only the toolkit's start reads this, and the
    // programs started later (the end command, a browser) do not inherit it.
    const zam::platform::ScopedEnvironment noOpenGl("GDK_GL", "disable");
    return wxEntryStart(argc, argv);
}

int RunWindow(int argc, char** argv, const ConsoleOptions& options) {
    if (!HaveDisplay()) return RunInTerminalInstead(options);
    // Named here so that the application object is linked in and used.
    CTimerApp::SetStartOptions(options);
    wxApp::SetInstance(new CTimerApp);
    if (!StartToolkit(argc, argv)) return RunInTerminalInstead(options);
    int result = 1;
    if (wxTheApp->CallOnInit()) {
        result = wxTheApp->OnRun();
        wxTheApp->OnExit();
    }
    wxEntryCleanup();
    return result;
}

int ListPresets() {
    for (const Preset& preset : LoadPresets()) {
        // TRANSLATORS: one preset of --list-presets: its name, a tab, its length in minutes
        std::printf(Tr("%s\t%d min\n"), preset.Name.c_str(), preset.Length);
    }
    return 0;
}

// A preset asked for by name becomes the stored settings, as if chosen in the
// window, before either front end reads them. False for an unknown name.
bool ChoosePresetOption(ConsoleOptions& options) {
    if (options.Preset.empty()) return true;
    const std::vector<Preset> presets = LoadPresets();
    const Preset* chosen = FindPreset(presets, options.Preset);
    if (chosen == nullptr) {
        std::fprintf(stderr, Tr("kronalt: no preset named '%s'; the presets are: %s\n%s"),
                     options.Preset.c_str(), PresetNameList(presets).c_str(), UsageText());
        return false;
    }
    StorePresetAsSettings(*chosen);
    options.Preset = chosen->Name;  // as the preset calls itself, for the end command
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    CTxt locales;
    GetLocaleFolder(locales);
    zam::graph::InstallWxTranslations(locales, "kronalt");
    CommandLine command = ParseCommandLine(argc, argv);
    switch (command.Action) {
    case CommandLineAction::ShowHelp:
        std::fputs(UsageText(), stdout);
        return 0;
    case CommandLineAction::ShowVersion:
        std::printf(Tr("Kronalt %s (built %s)\n"), KRONALT_VERSION, BuildDate());
        return 0;
    case CommandLineAction::Error:
        std::fprintf(stderr, "kronalt: %s\n%s", command.Error.c_str(), UsageText());
        return 2;
    case CommandLineAction::Remote:
        return SendRemoteCommand(command.Remote, command.Pid);
    case CommandLineAction::ListPresets:
        return ListPresets();
    case CommandLineAction::RunConsole:
        if (!ChoosePresetOption(command.Console)) return 2;
        return RunConsoleTimer(command.Console);
    case CommandLineAction::RunWindow:
        if (!ChoosePresetOption(command.Console)) return 2;
        break;
    }
    return RunWindow(argc, argv, command.Console);
}
