#pragma once
// Sounds played while the program goes on: a new sound cuts off the one
// playing; an empty or missing file plays a short built-in tone instead; a
// machine without an audio device plays nothing and says so once in the log.

class Sound {
public:
    /// Starts playing the WAV file at path (empty or unreadable: the default
    /// tone) and returns at once. False when no audio device can be had.
    static bool Play(const char* path);

    /// Releases the audio device once the last sound has finished, so a
    /// waiting timer costs nothing; the window calls it every tick.
    static void Poll();

    /// Stops any sound and releases the audio system (at program end).
    static void Shutdown();

    /// True while a sound is still being played.
    static bool IsPlaying();

    /// Devices handed to the background closer and not yet closed; a cut-off
    /// sound's device is closed there, never on the caller's thread.
    static int ClosingDevices();
};
