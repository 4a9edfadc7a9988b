// The window tests' main: a real wx application without its main loop, the
// program in a temporary folder, and SDL's disk driver so sounds are rendered
// into a file instead of a speaker.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "Core/Graph/CompactControls.h"
#include "Core/Graph/WxUserInterface.h"
#include "Core/Platform/ProgramPath.h"
#include "tests/gui/GuiTestSupport.h"

namespace {

// A failed toolkit assertion would open a dialog nobody can click.
void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
                  const wxString& msg) {
    std::fprintf(stderr, "wx assertion failed at %s:%d in %s: %s %s\n",
                 static_cast<const char*>(file.utf8_str()), line,
                 static_cast<const char*>(func.utf8_str()), static_cast<const char*>(cond.utf8_str()),
                 static_cast<const char*>(msg.utf8_str()));
    std::abort();
}

class GuiTestApp : public wxApp {
public:
    bool OnInit() override {
        wxInitAllImageHandlers();
        zam::graph::InstallWxUserInterface();
        zam::graph::UseCompactControls();
        return true;
    }
};

}  // namespace

int main(int argc, char** argv) {
    setenv("TZ", "America/New_York", 1);
    tzset();
    const std::string folder = zam::testing::MakeTempFolder("kronalt-gui");
    zam::platform::SetProgramPathOverride(folder + "/bin/kronalt");
    std::filesystem::create_directories(folder + "/bin");
    std::filesystem::create_directories(folder + "/share");
    std::filesystem::copy(KRONALT_DATA_SOURCE, folder + "/share/kronalt",
                          std::filesystem::copy_options::recursive);
    // The windows' remote-control sockets stay among the tests' own files.
    std::filesystem::create_directories(folder + "/run");
    std::filesystem::permissions(folder + "/run", std::filesystem::perms::owner_all);
    setenv("XDG_RUNTIME_DIR", (folder + "/run").c_str(), 1);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", (folder + "/audio.raw").c_str(), 1);
    zam::testing::SetAudioFile(folder + "/audio.raw");

    ::testing::InitGoogleTest(&argc, argv);
    wxApp::SetInstance(new GuiTestApp);
    wxSetAssertHandler(FailOnAssert);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) return 1;
    const int result = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return result;
}
