#include "Core/Platform/Registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "tests/Support/FakeClock.h"
#include "tests/Support/ScopedEnv.h"
#include "tests/Support/TempDir.h"

namespace {

using namespace zam::platform;
using zam::testing::TempDir;

using zam::testing::ScopedEnv;

class RegistryTest : public ::testing::Test {
protected:
    TempDir dir;
    ScopedEnv config{"XDG_CONFIG_HOME", dir.Path().c_str()};
    const char* key = "Software\\ZAM\\kronalt";

    std::string Get(const char* name, bool expectFound = true) {
        std::string value = "stale";
        EXPECT_EQ(RegistryQueryValue(key, name, value), expectFound) << name;
        return value;
    }
};

TEST_F(RegistryTest, OneSectionPerKeyInTheUsersStore) {
    EXPECT_EQ(RegistryStorePath(), dir.Path() + "/ZAM/registry.ini");
    EXPECT_TRUE(RegistryCreateKey(key));  // the folder; the section comes with a value
    EXPECT_FALSE(RegistryKeyExists(key));
    ASSERT_TRUE(RegistrySetValue(key, "Count", "3"));
    EXPECT_EQ(dir.Read("ZAM/registry.ini"), "[Software\\ZAM\\kronalt]\r\nCount=3\r\n");
    EXPECT_TRUE(RegistryKeyExists("software\\zam\\KRONALT"));
    EXPECT_FALSE(RegistryKeyExists("Software\\ZAM\\other"));
    EXPECT_EQ(Get("Missing", false), "");
}

TEST_F(RegistryTest, ValuesReadBackExactlyWhateverTheirLength) {
    const std::string big(70000, 'v');
    const std::string edge(10000, 'e');  // exactly the first read's room
    for (const std::string& value :
         {std::string("plain"), std::string(), std::string("  padded  "), std::string("\"quoted\""),
          std::string("'single'"), std::string("\""), std::string("\t;not a comment"), big, edge}) {
        ASSERT_TRUE(RegistrySetValue(key, "V", value.c_str()));
        EXPECT_EQ(Get("V"), value);
    }
    ASSERT_TRUE(RegistrySetValue(key, nullptr, "unnamed"));
    EXPECT_EQ(Get(""), "unnamed");
}

TEST_F(RegistryTest, RefusesWhatWouldCorruptTheStore) {
    EXPECT_FALSE(RegistrySetValue(key, "V", "two\r\nInjected=1"));
    EXPECT_FALSE(RegistrySetValue(key, "a=b", "x"));
    EXPECT_FALSE(RegistrySetValue(key, "[Section]", "x"));
    EXPECT_FALSE(RegistrySetValue("Software\\ZAM\\bad]name", "V", "x"));
    EXPECT_FALSE(RegistryCreateKey(""));
    Get("Injected", false);
}

TEST(RegistryFactsTest, BrowserCommandOnlyWhenTheOpenerIsInstalled) {
    TempDir bin;
    ScopedEnv path("PATH", bin.Path().c_str());
    std::string command = "stale";
    bin.Write("xdg-open", "#!/bin/sh\n");  // not executable yet
    EXPECT_FALSE(RegistryBrowserCommand(command));
    EXPECT_EQ(command, "");
    chmod(bin.File("xdg-open").c_str(), 0755);
    EXPECT_TRUE(RegistryBrowserCommand(command));
    EXPECT_EQ(command, "xdg-open \"%1\"");
}

TEST(RegistryFactsTest, TimeZoneBiasAndShortDatePattern) {
    int bias = 0, active = 0;
    {
        zam::testing::FakeClock winter(2024, 1, 15, 12);  // New York
        RegistryTimeZoneBias(bias, active);
        EXPECT_EQ(bias, 300);
        EXPECT_EQ(active, 300);
    }
    zam::testing::FakeClock summer(2024, 7, 15, 12);
    RegistryTimeZoneBias(bias, active);
    EXPECT_EQ(active, 240);

    EXPECT_EQ(ShortDatePatternFromFormat("%d.%m.%Y"), "dd.MM.yyyy");
    EXPECT_EQ(ShortDatePatternFromFormat("%e/%m/%y"), "d/MM/yy");
    EXPECT_EQ(ShortDatePatternFromFormat("%F|%D"), "yyyy-MM-dd|MM/dd/yy");
    EXPECT_EQ(ShortDatePatternFromFormat("%Ey %Od%%%a%"), "yy dd%");
    ScopedEnv all("LC_ALL", "C");
    std::string pattern;
    EXPECT_TRUE(RegistryShortDatePattern(pattern));
    EXPECT_EQ(pattern, "MM/dd/yy");
}

}  // namespace
