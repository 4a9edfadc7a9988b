#include "app/Presets.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "Core/System/Profile.h"
#include "Core/Text/CTxt.h"

namespace {

class PresetsTest : public ::testing::Test {
protected:
    void SetUp() override {
        char path[1000];
        GetIniPath(path, sizeof path);
        std::remove(path);
    }
};

TEST(PresetValueTest, AnySoundNameRoundTrips) {
    for (const char* sound : {"Harp", "Tick, Tock", "  blanks around  ", "say \"hi\"", "", ",\",",
                              "Glocke Ä"}) {
        Preset written{"x", 25, -5, sound, std::string(sound) + "2"};
        Preset read;
        ASSERT_TRUE(DecodePreset(EncodePreset(written), read)) << EncodePreset(written);
        EXPECT_EQ(read.Length, 25);
        EXPECT_EQ(read.Interval, -5);
        EXPECT_EQ(read.EndSound, sound);
        EXPECT_EQ(read.IntervalSound, std::string(sound) + "2");
    }
    // Written by hand, without quotes.
    Preset read;
    ASSERT_TRUE(DecodePreset("10, 2, Bell , Gong", read));
    EXPECT_EQ(read.Length, 10);
    EXPECT_EQ(read.EndSound, "Bell");
    EXPECT_EQ(read.IntervalSound, "Gong");
    // Not a preset: the preset read so far stays as it was.
    for (const char* bad : {"", "25", "25,0", "25,0,\"Harp\"", "x,0,a,b", "25,0,\"open,b",
                            "25,0,a,b,c", "99999999999,0,a,b", "25,0,\"a\"x,b"}) {
        EXPECT_FALSE(DecodePreset(bad, read)) << bad;
        EXPECT_EQ(read.Length, 10);
    }
}

TEST(PresetNameTest, NamesAreCheckedWithAReason) {
    EXPECT_EQ(TrimPresetName("  Tea  "), "Tea");
    EXPECT_EQ(CheckPresetName("Short break"), "");
    EXPECT_EQ(CheckPresetName(std::string(40, 'a')), "");
    // Forty characters of two bytes each are forty characters.
    std::string umlauts;
    for (int i = 0; i < 40; ++i) umlauts += "\xC3\xA4";
    EXPECT_EQ(CheckPresetName(umlauts), "");
    for (const std::string& bad : {std::string(), std::string(41, 'a'), std::string("a=b"),
                                   std::string("[x"), std::string("x]"), std::string("tab\there"),
                                   std::string(";comment"), std::string("#x")}) {
        EXPECT_NE(CheckPresetName(bad), "") << bad;
    }
}

TEST_F(PresetsTest, ShippedOnceThenTheUsersOwn) {
    std::vector<Preset> presets = LoadPresets();
    ASSERT_EQ(presets.size(), 3u);
    EXPECT_EQ(presets[0].Name, "Pomodoro");
    EXPECT_EQ(presets[0].Length, 25);
    EXPECT_EQ(presets[2].Name, "Meditation");
    EXPECT_EQ(presets[2].Interval, -5);
    EXPECT_EQ(PresetNameList(presets), "Pomodoro, Short break, Meditation");

    // Saving under a name that differs only in case replaces that preset, in its place.
    ASSERT_TRUE(SavePreset({"POMODORO", 50, 10, "Tick, Tock", "Bell"}));
    presets = LoadPresets();
    ASSERT_EQ(presets.size(), 3u);
    ASSERT_NE(FindPreset(presets, " pomodoro "), nullptr);
    EXPECT_EQ(FindPreset(presets, "pomodoro")->Length, 50);
    EXPECT_EQ(FindPreset(presets, "pomodoro")->EndSound, "Tick, Tock");
    EXPECT_EQ(FindPreset(presets, "nap"), nullptr);

    // Chosen: the preset becomes the current settings.
    StorePresetAsSettings(*FindPreset(presets, "short break"));
    EXPECT_EQ(ProfileReadInt("SYS", "Length", 0), 5);
    CTxt sound;
    ProfileReadStr("SYS", "SoundEnd", "", sound);
    EXPECT_STREQ(sound, "Bell");

    // All deleted: the empty section stays, and the shipped ones do not come back.
    for (const Preset& preset : presets) ASSERT_TRUE(DeletePreset(preset.Name));
    EXPECT_TRUE(LoadPresets().empty());
    EXPECT_TRUE(LoadPresets().empty());
    EXPECT_EQ(PresetNameList({}), "none");

    // A value spoilt by hand is skipped, the others still load.
    ProfileWriteStr("Presets", "Broken", "soon");
    ASSERT_TRUE(SavePreset({"Tea", 4, 0, "Harp", "Harp"}));
    presets = LoadPresets();
    ASSERT_EQ(presets.size(), 1u);
    EXPECT_EQ(presets[0].Name, "Tea");
}

}  // namespace
