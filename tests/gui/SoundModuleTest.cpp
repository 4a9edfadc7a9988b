// SDL and the audio libraries come with the sound module, loaded on the first
// sound and not before; without the module there is no sound, said once in
// the log. Each case runs in a fresh test process, since any earlier test may
// have played a sound already.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "Core/Platform/LoadableModule.h"
#include "Core/Platform/ProgramPath.h"
#include "Core/System/Log.h"
#include "app/Sound.h"
#include "tests/gui/GuiTestSupport.h"

namespace {

bool SdlLoaded() {
    void* handle = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_NOLOAD);
    if (handle == nullptr) return false;
    dlclose(handle);  // only drops the reference NOLOAD took
    return true;
}

// Everything the logs beside the test program hold.
std::string AllLogs() {
    LogLine("*FLUSH", "", 0);
    std::string logs;
    const std::filesystem::path root =
        std::filesystem::path(zam::platform::GetProgramPath()).parent_path() / "logs";
    std::error_code ec;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root, ec)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path());
        std::stringstream text;
        text << in.rdbuf();
        logs += text.str();
    }
    return logs;
}

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// Exit codes say which step went wrong: 1 SDL loaded before any sound, 2 the
// sound did not play, 3 SDL still not loaded, 4 nothing reached the device.
[[noreturn]] void LoadsOnTheFirstSound() {
    Sound::Poll();  // the window polls every tick from the start
    if (Sound::IsPlaying() || Sound::ClosingDevices() != 0) std::_Exit(1);
    if (SdlLoaded()) std::_Exit(1);
    if (!Sound::Play("")) std::_Exit(2);
    if (!SdlLoaded()) std::_Exit(3);
    Sound::Shutdown();
    std::error_code ec;
    if (std::filesystem::file_size(zam::testing::AudioFile(), ec) == 0 || ec) std::_Exit(4);
    std::_Exit(0);
}

// 1 a sound played without its module, 2 the program did not go on as
// before, 3 the log does not say so exactly once.
[[noreturn]] void NoModuleIsNoSoundLoggedOnce() {
    const auto nowhere = std::filesystem::path(zam::platform::GetProgramPath()).parent_path() / "no-modules";
    zam::platform::SetProgramModuleFolderOverride(nowhere.string());
    if (Sound::Play("") || Sound::Play("")) std::_Exit(1);
    Sound::Poll();
    Sound::Shutdown();
    if (Sound::IsPlaying() || Sound::ClosingDevices() != 0) std::_Exit(2);
    if (Count(AllLogs(), "No sound: the sound module cannot be loaded") != 1) std::_Exit(3);
    std::_Exit(0);
}

}  // namespace

TEST(SoundModuleTest, SdlIsLoadedOnTheFirstSoundNotAtStart) {
    // "threadsafe" starts the test program afresh for the child.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(LoadsOnTheFirstSound(), ::testing::ExitedWithCode(0), "");
}

TEST(SoundModuleTest, WithoutTheModuleThereIsNoSoundAndTheLogSaysSoOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(NoModuleIsNoSoundLoggedOnce(), ::testing::ExitedWithCode(0), "");
}
