// The sound module: everything that touches SDL2 and ALSA. The program loads
// it on the first sound (app/Sound.cpp), so a run that plays no sound never
// loads their libraries.

#include <SDL.h>
#include <alsa/asoundlib.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "Core/System/Log.h"
#include "app/SoundBackend.h"

namespace {

const int kToneRate = 22050;

struct Player {
    bool Initialised = false;
    bool Unavailable = false;  // no audio system or device: reported once
    SDL_AudioDeviceID Device = 0;
    int IdlePolls = 0;  // polls that found nothing left queued
};

Player g_player;

void ReportUnavailable(const char* what) {
    if (g_player.Unavailable) return;
    g_player.Unavailable = true;
    LogTrace("Sound", 1, "No sound: %s (%s)", what, SDL_GetError());
}

// ALSA writes its complaints (no card, no default device) straight to
// standard error, where they would land in the middle of the terminal
// countdown. SDL loads the same libasound, so this handler catches them.
void LogAlsaMessage(const char* file, int line, const char* function, int err, const char* format, ...)
    __attribute__((format(printf, 5, 6)));
void LogAlsaMessage(const char* file, int line, const char* function, int err, const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    LogTrace("Sound", 1, "ALSA %s:%d (%s): %s%s%s", file != nullptr ? file : "?", line,
             function != nullptr ? function : "?", text, err != 0 ? ": " : "",
             err != 0 ? snd_strerror(err) : "");
}

// SDL's own messages (a driver's warnings) likewise.
void LogSdlMessage(void*, int category, SDL_LogPriority priority, const char* message) {
    LogTrace("Sound", 1, "SDL %d/%d: %s", category, static_cast<int>(priority),
             message != nullptr ? message : "");
}

bool EnsureAudio() {
    if (g_player.Initialised) return true;
    snd_lib_error_set_handler(LogAlsaMessage);
    SDL_LogSetOutputFunction(LogSdlMessage, nullptr);
    // SDL would otherwise take over Ctrl-C and termination requests, and the
    // program would no longer end when asked to.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        ReportUnavailable("the audio system cannot start");
        return false;
    }
    g_player.Initialised = true;
    return true;
}

// Closing a device waits for its audio thread to let go of the driver, which
// can take a good part of a second; the window's thread only silences the
// device and leaves the waiting to this helper.
class DeviceCloser {
public:
    // A helper still running at exit would end the program abnormally.
    ~DeviceCloser() { Finish(); }

    void Close(SDL_AudioDeviceID device) {
        SDL_PauseAudioDevice(device, 1);
        SDL_ClearQueuedAudio(device);
        std::lock_guard<std::mutex> lock(m_Mutex);
        if (!m_Thread.joinable()) m_Thread = std::thread([this] { Run(); });
        m_Pending.push_back(device);
        m_Wake.notify_one();
    }
    /// Waits until every device handed over is closed, and ends the helper.
    void Finish() {
        {
            std::lock_guard<std::mutex> lock(m_Mutex);
            if (!m_Thread.joinable()) return;
            m_Stopping = true;
            m_Wake.notify_one();
        }
        m_Thread.join();
        m_Stopping = false;
    }
    int Pending() {
        std::lock_guard<std::mutex> lock(m_Mutex);
        return static_cast<int>(m_Pending.size()) + m_Closing;
    }

private:
    void Run() {
        std::unique_lock<std::mutex> lock(m_Mutex);
        for (;;) {
            m_Wake.wait(lock, [this] { return m_Stopping || !m_Pending.empty(); });
            if (m_Pending.empty()) return;  // stopping, nothing left
            const SDL_AudioDeviceID device = m_Pending.front();
            m_Pending.pop_front();
            m_Closing = 1;
            lock.unlock();
            SDL_CloseAudioDevice(device);
            lock.lock();
            m_Closing = 0;
        }
    }

    std::mutex m_Mutex;
    std::condition_variable m_Wake;
    std::deque<SDL_AudioDeviceID> m_Pending;
    int m_Closing = 0;
    bool m_Stopping = false;
    std::thread m_Thread;
};

DeviceCloser g_closer;

void CloseDevice() {
    if (g_player.Device != 0) g_closer.Close(g_player.Device);
    g_player.Device = 0;
    g_player.IdlePolls = 0;
}

// The stand-in for the system's default sound: a short, soft two-tone beep.
std::vector<int16_t> DefaultTone() {
    std::vector<int16_t> samples(kToneRate * 3 / 10);
    for (size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / kToneRate;
        const double freq = i < samples.size() / 2 ? 880.0 : 660.0;
        const double envelope = std::exp(-6.0 * t);
        samples[i] = static_cast<int16_t>(8000.0 * envelope * std::sin(2 * M_PI * freq * t));
    }
    return samples;
}

bool QueueOnNewDevice(const SDL_AudioSpec& spec, const void* data, Uint32 bytes) {
    SDL_AudioSpec wanted = spec;
    wanted.callback = nullptr;  // queued audio: SDL's own thread feeds the device
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (device == 0) {
        ReportUnavailable("no audio device");
        return false;
    }
    g_player.Unavailable = false;
    g_player.Device = device;
    SDL_QueueAudio(device, data, bytes);
    SDL_PauseAudioDevice(device, 0);
    return true;
}

bool Play(const char* path) {
    if (!EnsureAudio()) return false;
    CloseDevice();  // a new sound cuts off the one playing
    if (path != nullptr && path[0] != '\0') {
        SDL_AudioSpec spec{};
        Uint8* buffer = nullptr;
        Uint32 length = 0;
        if (SDL_LoadWAV(path, &spec, &buffer, &length) != nullptr) {
            const bool played = QueueOnNewDevice(spec, buffer, length);
            SDL_FreeWAV(buffer);
            return played;
        }
    }
    static const std::vector<int16_t> tone = DefaultTone();
    SDL_AudioSpec spec{};
    spec.freq = kToneRate;
    spec.format = AUDIO_S16SYS;
    spec.channels = 1;
    spec.samples = 1024;
    return QueueOnNewDevice(spec, tone.data(), static_cast<Uint32>(tone.size() * sizeof(int16_t)));
}

bool IsPlaying() { return g_player.Device != 0 && SDL_GetQueuedAudioSize(g_player.Device) > 0; }

void Poll() {
    if (g_player.Device == 0) return;
    // An empty queue may still leave the last samples in the device's own
    // buffer; the next poll, a second later, closes it for certain.
    if (SDL_GetQueuedAudioSize(g_player.Device) > 0) {
        g_player.IdlePolls = 0;
    } else if (++g_player.IdlePolls >= 2) {
        CloseDevice();
    }
}

int ClosingDevices() { return g_closer.Pending(); }

void Shutdown() {
    CloseDevice();
    g_closer.Finish();
    if (g_player.Initialised) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    g_player.Initialised = false;
}

const SoundBackend kBackend = {kSoundBackendVersion, Play, Poll, Shutdown, IsPlaying, ClosingDevices};

}  // namespace

extern "C" __attribute__((visibility("default"))) const SoundBackend* KronaltSoundBackend() { return &kBackend; }
