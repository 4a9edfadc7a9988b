#include "app/Sound.h"

#include <atomic>
#include <mutex>
#include <string>

#include "Core/Platform/LoadableModule.h"
#include "Core/System/Log.h"
#include "app/SoundBackend.h"

#ifndef KRONALT_SOUND_MODULE
#define KRONALT_SOUND_MODULE "../lib/kronalt/kronalt-sound.so"
#endif

namespace {

// Set once, on the first sound; the console countdown reads it from its own thread.
std::atomic<const SoundBackend*> g_backend{nullptr};
std::once_flag g_loadOnce;

// SDL2 and the audio libraries behind it are some twenty of the libraries the
// program would otherwise map at start, for a sound that comes minutes later
// or never: they are loaded with the module on the first sound. A module
// that cannot be loaded means no sound, said once in the log, as a machine
// without an audio device does.
const SoundBackend* Backend() {
    std::call_once(g_loadOnce, [] {
        std::string error;
        void* module = zam::platform::OpenProgramModule(KRONALT_SOUND_MODULE, error);
        const auto entry = reinterpret_cast<SoundBackendEntry>(
            zam::platform::ModuleSymbol(module, KRONALT_SOUND_BACKEND_ENTRY));
        const SoundBackend* backend = entry != nullptr ? entry() : nullptr;
        if (backend != nullptr && backend->Version == kSoundBackendVersion) {
            g_backend.store(backend);
        } else if (module == nullptr) {
            LogTrace("Sound", 1, "No sound: the sound module cannot be loaded (%s)", error.c_str());
        } else {
            LogTrace("Sound", 1, "No sound: %s is not this program's sound module", KRONALT_SOUND_MODULE);
        }
    });
    return g_backend.load();
}

}  // namespace

bool Sound::Play(const char* path) {
    const SoundBackend* backend = Backend();
    return backend != nullptr && backend->Play(path);
}

// The rest never loads the module: before the first sound there is nothing
// to poll, stop or count.
void Sound::Poll() {
    if (const SoundBackend* backend = g_backend.load()) backend->Poll();
}

void Sound::Shutdown() {
    if (const SoundBackend* backend = g_backend.load()) backend->Shutdown();
}

bool Sound::IsPlaying() {
    const SoundBackend* backend = g_backend.load();
    return backend != nullptr && backend->IsPlaying();
}

int Sound::ClosingDevices() {
    const SoundBackend* backend = g_backend.load();
    return backend != nullptr ? backend->ClosingDevices() : 0;
}
