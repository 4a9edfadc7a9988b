// Modules are found beside the executable, whatever the program path override
// says, and a module that cannot be opened says why.

#include <gtest/gtest.h>

#include <string>

#include "Core/Platform/LoadableModule.h"
#include "Core/Platform/ProgramPath.h"
#include "tests/Support/TempDir.h"

using zam::platform::ModuleSymbol;
using zam::platform::OpenProgramModule;
using zam::platform::SetProgramModuleFolderOverride;

namespace {

// The test program lies in bin/ of the build tree, the library in lib/.
const char* const kLibraryFromBin = "../lib/libzamcore.so.1";

}  // namespace

TEST(LoadableModuleTest, FoundFromTheExecutableNotFromTheProgramPathOverride) {
    zam::testing::TempDir elsewhere;
    zam::platform::SetProgramPathOverride(elsewhere.File("bin/prog"));
    std::string error = "stale";
    void* module = OpenProgramModule(kLibraryFromBin, error);
    zam::platform::SetProgramPathOverride("");
    ASSERT_NE(module, nullptr) << error;
    EXPECT_TRUE(error.empty());
    EXPECT_EQ(ModuleSymbol(module, "no_such_symbol_here"), nullptr);
    EXPECT_EQ(ModuleSymbol(nullptr, "anything"), nullptr);
}

TEST(LoadableModuleTest, AMissingModuleIsNullWithTheReason) {
    std::string error;
    EXPECT_EQ(OpenProgramModule("../lib/no-such-module.so", error), nullptr);
    EXPECT_NE(error.find("no-such-module.so"), std::string::npos) << error;
}

TEST(LoadableModuleTest, TheFolderOverrideMovesTheSearchAndEmptyRestoresIt) {
    zam::testing::TempDir folder;
    SetProgramModuleFolderOverride(folder.Path());
    std::string error;
    EXPECT_EQ(OpenProgramModule(kLibraryFromBin, error), nullptr);
    EXPECT_NE(error.find(folder.Path()), std::string::npos) << error;
    SetProgramModuleFolderOverride("");
    EXPECT_NE(OpenProgramModule(kLibraryFromBin, error), nullptr) << error;
}
