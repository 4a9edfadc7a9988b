#include "Core/Platform/ScopedEnvironment.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

using zam::platform::ScopedEnvironment;

namespace {

const char* const kName = "KRONALT_SCOPED_ENV_TEST";

std::string Value() {
    const char* v = getenv(kName);
    return v != nullptr ? v : "<unset>";
}

TEST(ScopedEnvironmentTest, SetForTheScopeOnlyAndNeverOverTheUsersValue) {
    unsetenv(kName);
    {
        const ScopedEnvironment scoped(kName, "disable");
        EXPECT_TRUE(scoped.Applied());
        EXPECT_EQ(Value(), "disable");
    }
    EXPECT_EQ(Value(), "<unset>");  // what is started afterwards does not inherit it

    setenv(kName, "always", 1);  // the user's own choice stays, during and after
    {
        const ScopedEnvironment scoped(kName, "disable");
        EXPECT_FALSE(scoped.Applied());
        EXPECT_EQ(Value(), "always");
    }
    EXPECT_EQ(Value(), "always");

    setenv(kName, "", 1);  // set, though empty, is set
    {
        const ScopedEnvironment scoped(kName, "disable");
        EXPECT_FALSE(scoped.Applied());
    }
    EXPECT_EQ(Value(), "");
    unsetenv(kName);
}

}  // namespace
