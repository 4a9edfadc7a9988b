#pragma once
// What the sound module (app/SoundSdl.cpp, built as kronalt-sound.so) offers
// the program: plain C functions behind one exported entry point. SDL2 and
// the audio libraries behind it (ALSA, PulseAudio's client, the codecs) come
// with the module, so a run that plays no sound never loads them.

extern "C" {

/// Raised whenever the table below changes: a module from another build is
/// then refused rather than called wrongly.
enum { kSoundBackendVersion = 1 };

struct SoundBackend {
    int Version;
    bool (*Play)(const char* path);  ///< as Sound::Play
    void (*Poll)();
    void (*Shutdown)();
    bool (*IsPlaying)();
    int (*ClosingDevices)();
};

/// The module's one exported function.
typedef const SoundBackend* (*SoundBackendEntry)();
}

#define KRONALT_SOUND_BACKEND_ENTRY "KronaltSoundBackend"
