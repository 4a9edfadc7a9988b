#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include "Core/Platform/ProgramPath.h"

// Every test sees the same zone, one with daylight saving, whatever the
// machine is set to; tests that need another set TZ themselves. The program
// seems to live in a fresh temporary folder, so profiles and logs written
// "beside the executable" never land in the build tree.
int main(int argc, char** argv) {
    setenv("TZ", "America/New_York", 1);
    tzset();
    std::string folder =
        (std::filesystem::temp_directory_path() / "kronalt-program-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) return 1;
    zam::platform::SetProgramPathOverride(folder + "/kronalt");
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return result;
}
