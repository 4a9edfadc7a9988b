#include "app/ConsoleTimer.h"

#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

#include "Core/Platform/Clock.h"
#include "Core/Platform/Terminal.h"
#include "Core/Platform/Translation.h"
#include "Core/System/Profile.h"
#include "Core/Text/CTxtArray.h"
#include "Core/Text/TextFunc.h"
#include "app/CCountdown.h"
#include "app/DataFolder.h"
#include "app/EndCommand.h"
#include "app/Presets.h"
#include "app/RemoteControl.h"
#include "app/Sound.h"
#include "app/TimerSettings.h"

namespace {

using namespace zam::platform;

const int kTickMs = 1000;
const int kInterruptedExit = 130;
const char kEscape = 0x1b;

// The question's keys in the user's language; the English ones always work,
// so a translation never takes away the keys a user already knows.
char YesKey() {
    // TRANSLATORS: the key, one lower-case letter, that answers yes to "Are you sure to exit? [y/N]"
    return Tr("y")[0];
}

char NoKey() {
    // TRANSLATORS: the key, one lower-case letter, that answers no to "Are you sure to exit? [y/N]"
    return Tr("n")[0];
}

bool IsAnswerKey(char typed, char english, char translated) {
    const int c = std::tolower(static_cast<unsigned char>(typed));
    return c == english || c == std::tolower(static_cast<unsigned char>(translated));
}

// The countdown also answers remote commands, on the remote server's thread:
// the engine is shared under a lock.
class ConsoleTimer : public RemoteTarget {
public:
    explicit ConsoleTimer(const ConsoleOptions& options) : m_Tty(OutputIsTerminal()) {
        // The same settings as the window: stored ones unless given, given ones stored.
        int length = options.LengthGiven ? options.Length : ProfileReadInt("SYS", "Length", 60);
        if (length < 2 && options.LengthGiven) {
            // What is stored is not what was asked for: the user is told.
            std::fputs(Tr("kronalt: length raised to the minimum of 2 minutes\n"), stderr);
        }
        if (length < 2) length = 2;
        ProfileWriteInt("SYS", "Length", length);
        const int interval =
            options.IntervalGiven ? options.Interval : ProfileReadInt("SYS", "Interval", 0);
        ProfileWriteInt("SYS", "Interval", interval);
        m_Engine.SetInitial(length, interval);
        m_Engine.SetOvertime(ReadOvertime());
        m_PresetName = options.Preset;
        if (options.UntilHour >= 0) m_Engine.SetUntil(options.UntilHour, options.UntilMinute, options.UntilSecond);
        FindSounds();
        m_Engine.StartPause();
        m_Remote.Start([this](const std::string& request) {
            std::lock_guard<std::mutex> lock(m_Lock);
            return AnswerRemote(request, *this);
        });
    }
    ~ConsoleTimer() override { m_Remote.Stop(); }

    // Remote commands, called with m_Lock held.
    void StartPause() override { m_Engine.StartPause(); }
    bool IsRunning() override { return m_Engine.IsRunning() != 0; }
    void State(CTxt& out) override { m_Engine.GetStateText(out); }
    bool ShowWindow(bool) override { return false; }
    void Exit() override { m_RemoteExit = true; }
    bool ChoosePreset(const std::string& name) override {
        const std::vector<Preset> presets = LoadPresets();
        const Preset* preset = FindPreset(presets, name);
        if (preset == nullptr) return false;
        StorePresetAsSettings(*preset);
        m_PresetName = preset->Name;
        m_Engine.SetLength(preset->Length);
        m_Engine.SetInterval(preset->Interval);
        FindSounds();
        return true;
    }

    int Run() {
        // The boot-time clock, like the engine: a suspend or a clock change
        // neither stalls nor races the ticks.
        int64_t nextTick = BootTimeMillis();
        while (!InterruptRequested() && !m_RemoteExit) {
            const int64_t now = BootTimeMillis();
            if (now >= nextTick) {
                Tick();
                nextTick += kTickMs;
                if (nextTick < now) nextTick = now + kTickMs;
                if (m_InputClosed && m_Engine.IsCompleted()) break;  // nobody can start it again
                continue;
            }
            if (m_InputClosed) {
                WaitForInputOrTime(static_cast<int>(nextTick - now) + 1, false);
                continue;
            }
            if (WaitForInputOrTime(static_cast<int>(nextTick - now) + 1, true) &&
                !HandleKeys())
                break;
        }
        std::fputs("\n", stdout);
        std::fflush(stdout);
        // Interrupted programs exit with 128 + SIGINT, so a script can tell
        // Ctrl-C from a confirmed exit.
        return InterruptRequested() ? kInterruptedExit : 0;
    }

private:
    // Sleeps until input or time-out; true when input is waiting.
    static bool WaitForInputOrTime(int timeoutMs, bool watchInput) {
        if (!watchInput) {
            std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
            return false;
        }
        return WaitForInput(timeoutMs) == 1;
    }

    void Tick() {
        std::lock_guard<std::mutex> lock(m_Lock);
        TickOutput out;
        m_Engine.Tick(out);
        if (out.PlayEnd) Play(m_Engine.GetEndSound());
        // The terminal's own way to say it is over, heard or seen (a flash or
        // an urgent tab) even with the speakers off.
        if (out.PlayEnd && ProfileReadBool("SYS", "NotifyEnd", 1)) std::fputc('\a', stdout);
        if (out.PlayEnd) RunEndCommand(m_Engine.GetLength(), m_PresetName);
        if (out.PlayInterval) Play(m_Engine.GetIntervalSound());
        if (!out.PlayEnd && !out.PlayInterval) Sound::Poll();
        if (out.Title.IsFilled() && m_Tty) {
            std::printf("\x1b]0;%s\x07", static_cast<const char*>(out.Title));
        }
        Show(out);
    }

    void Show(const TickOutput& out) {
        if (m_Tty) {
            std::printf("\r%s  %s\x1b[K", static_cast<const char*>(out.StatusLine),
                        static_cast<const char*>(out.Clock));
        } else {
            std::printf("%s  %s\n", static_cast<const char*>(out.StatusLine),
                        static_cast<const char*>(out.Clock));
        }
        std::fflush(stdout);
    }

    // The chosen sound, or the terminal bell where there is no audio device.
    static void Play(const char* path) {
        if (Sound::Play(path)) return;
        std::fputc('\a', stdout);
        std::fflush(stdout);
    }

    // The stored sound names, found among the data folder's WAV files.
    void FindSounds() {
        CTxt endName;
        CTxt intervalName;
        ProfileReadStr("SYS", "SoundEnd", "Harp", endName);
        ProfileReadStr("SYS", "SoundInterval", "TickTock", intervalName);
        CTxt folder;
        GetDataFolder(folder);
        CTxtArray sounds;
        sounds.LoadFromDir(folder, 0, 1, "!WAV", 0, 0);
        for (int i = 0; i < sounds.GetSize(); ++i) {
            CTxt* path = sounds.GetAt(i);
            if (path == nullptr) continue;
            CTxt name;
            path->GetFileTxt(2, name);
            if (stricmpmode(name, endName, 1) == 0) m_Engine.SetEndSound(*path);
            if (stricmpmode(name, intervalName, 1) == 0) m_Engine.SetIntervalSound(*path);
        }
    }

    // Reads the waiting keys; false when the user confirmed the exit.
    bool HandleKeys() {
        char keys[32];
        const int n = ReadInput(keys, sizeof keys);
        if (n <= 0) {
            m_InputClosed = n == 0;
            return true;
        }
        // A lone Escape is the key; Escape with more bytes is a cursor or
        // function key's sequence and means nothing here.
        if (keys[0] == kEscape) return n > 1 || !ConfirmExit();
        for (int i = 0; i < n; ++i) {
            const char key = keys[i];
            if (key == ' ' || key == '\n' || key == '\r') {
                {
                    std::lock_guard<std::mutex> lock(m_Lock);
                    m_Engine.StartPause();
                }
                Tick();
            } else if (key == 'q' || key == 'Q') {
                return !ConfirmExit();
            }
        }
        return true;
    }

    bool ConfirmExit() {
        std::printf("%s%s", m_Tty ? "\r\x1b[K" : "", Tr("Are you sure to exit? [y/N] "));
        std::fflush(stdout);
        for (;;) {
            const int ready = WaitForInput(kTickMs);
            if (InterruptRequested() || m_RemoteExit) return true;
            if (ready != 1) continue;
            char answer[32];
            const int n = ReadInput(answer, sizeof answer);
            if (n <= 0) {
                m_InputClosed = n == 0;
                return false;
            }
            const bool yes = IsAnswerKey(answer[0], 'y', YesKey());
            if (yes || answer[0] == '\n' || answer[0] == '\r' || answer[0] == ' ' || answer[0] == kEscape ||
                IsAnswerKey(answer[0], 'n', NoKey())) {
                if (!yes) std::fputs(m_Tty ? "" : "\n", stdout);
                return yes;
            }
        }
    }

    std::mutex m_Lock;
    CCountdown m_Engine;
    RemoteServer m_Remote;
    std::atomic<bool> m_RemoteExit{false};
    std::string m_PresetName;  ///< the preset chosen, for the end command
    bool m_Tty;
    bool m_InputClosed = false;
};

}  // namespace

int RunConsoleTimer(const ConsoleOptions& options) {
    InstallInterruptHandler();
    TerminalSession terminal;
    ConsoleTimer timer(options);
    const int result = timer.Run();
    Sound::Shutdown();
    return result;
}
