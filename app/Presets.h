#pragma once
// Named presets: a length, an interval and the two sounds under a name, kept
// in the profile's [Presets] section, one key per preset, in file order. The
// value is "length,interval,"end sound","interval sound"", the sound names in
// double quotes with a quote inside doubled, so any name (commas and blanks
// included) reads back as it was written.

#include <string>
#include <vector>

struct Preset {
    std::string Name;
    int Length = 60;    ///< minutes
    int Interval = 0;   ///< minutes; 0 no chime, negative random
    std::string EndSound;       ///< sound name, as `SoundEnd`
    std::string IntervalSound;  ///< sound name, as `SoundInterval`
};

/// The longest preset name, in characters.
constexpr int kPresetNameMax = 40;

/// The profile value of a preset (its name is the key).
std::string EncodePreset(const Preset& preset);
/// Reads a profile value into preset (the name is left as it is); false for
/// a value that is not one (two whole numbers, then two sound names).
bool DecodePreset(const std::string& value, Preset& preset);

/// Blanks at both ends removed, as the profile reads a key.
std::string TrimPresetName(const std::string& name);
/// Why a trimmed name cannot be a preset's; empty when it can.
std::string CheckPresetName(const std::string& name);

/// The presets, in file order. Where the profile has no [Presets] section
/// yet, the three shipped ones are written first, once: a section emptied by
/// the user stays empty. A value that cannot be read is logged and skipped.
std::vector<Preset> LoadPresets();
/// Writes the preset under its name (replacing one of the same name, whatever
/// its case); false when the profile cannot be written.
bool SavePreset(const Preset& preset);
/// Removes the preset of that name; false when the profile cannot be written.
bool DeletePreset(const std::string& name);
/// The preset named name, without regard to case; null when there is none.
const Preset* FindPreset(const std::vector<Preset>& presets, const std::string& name);
/// Stores the preset as the current Length, Interval, SoundEnd and SoundInterval.
void StorePresetAsSettings(const Preset& preset);
/// "Pomodoro, Short break, Meditation" (or "none"), for messages.
std::string PresetNameList(const std::vector<Preset>& presets);
