// The sound libraries' own complaints belong in the log: the terminal
// countdown draws on standard error's terminal too.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "Core/Platform/ProgramPath.h"
#include "Core/System/Log.h"
#include "app/Sound.h"
#include "tests/gui/GuiTestSupport.h"

namespace {

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Everything the logs beside the test program hold.
std::string AllLogs() {
    std::string logs;
    const std::filesystem::path root =
        std::filesystem::path(zam::platform::GetProgramPath()).parent_path() / "logs";
    std::error_code ec;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root, ec)) {
        if (entry.is_regular_file()) logs += ReadAll(entry.path());
    }
    return logs;
}

}  // namespace

TEST(SoundMessages, AlsaComplaintsGoToTheLogNotStandardError) {
    Sound::Shutdown();
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = driver != nullptr ? driver : "";
    setenv("SDL_AUDIODRIVER", "alsa", 1);
    setenv("AUDIODEV", "kronalt_no_such_pcm", 1);  // ALSA complains about any unknown device

    std::fflush(stderr);
    const std::string captured = zam::testing::MakeTempFolder("kronalt-stderr") + "/stderr";
    const int saved_fd = dup(2);
    std::FILE* sink = std::fopen(captured.c_str(), "w");
    ASSERT_NE(sink, nullptr);
    dup2(fileno(sink), 2);
    const bool played = Sound::Play("");
    std::fflush(stderr);
    dup2(saved_fd, 2);
    close(saved_fd);
    std::fclose(sink);
    Sound::Shutdown();
    LogLine("*FLUSH", "", 0);
    setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    unsetenv("AUDIODEV");

    EXPECT_FALSE(played);
    EXPECT_EQ(ReadAll(captured).find("ALSA lib"), std::string::npos) << ReadAll(captured);
    EXPECT_NE(AllLogs().find("kronalt_no_such_pcm"), std::string::npos);
}
