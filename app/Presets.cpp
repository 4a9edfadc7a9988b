#include "app/Presets.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <strings.h>

#include "Core/Platform/ProfileFile.h"
#include "Core/Platform/Translation.h"
#include "Core/System/Log.h"
#include "Core/System/Profile.h"

namespace {

const char* const kSection = "Presets";

std::string Quote(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

// One field from at: a quoted text (quotes inside doubled) or, as a person
// may write it by hand, a bare one up to the next comma. Moves at past the
// field and its comma; false when a quoted field is not closed. last: the
// field must end the value, else a comma must follow it.
bool ReadField(const std::string& value, size_t& at, std::string& field, bool last = false) {
    field.clear();
    while (at < value.size() && value[at] == ' ') ++at;
    if (at < value.size() && value[at] == '"') {
        for (++at; at < value.size(); ++at) {
            if (value[at] != '"') {
                field += value[at];
            } else if (at + 1 < value.size() && value[at + 1] == '"') {
                field += '"';
                ++at;
            } else {
                break;
            }
        }
        if (at >= value.size()) return false;
        ++at;  // the closing quote
        while (at < value.size() && value[at] == ' ') ++at;
        if (at < value.size() && value[at] != ',') return false;
    } else {
        const size_t comma = value.find(',', at);
        field = value.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
        while (!field.empty() && field.back() == ' ') field.pop_back();
        at = comma == std::string::npos ? value.size() : comma;
    }
    if (last) return at == value.size();
    if (at >= value.size()) return false;  // a field is missing
    ++at;  // the comma
    return true;
}

bool ToMinutes(const std::string& text, int& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long n = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || n < INT_MIN || n > INT_MAX) return false;
    out = static_cast<int>(n);
    return true;
}

std::vector<std::string> KeyNames() {
    char path[1000];
    GetIniPath(path, sizeof path);
    std::vector<char> buf(1 << 16);
    const int n = zam::platform::GetPrivateProfileStringA(kSection, nullptr, "", buf.data(),
                                                          static_cast<int>(buf.size()), path);
    std::vector<std::string> names;
    for (int at = 0; at < n && buf[at] != '\0';) {
        names.emplace_back(&buf[at]);
        at += static_cast<int>(names.back().size()) + 1;
    }
    return names;
}

bool HasSection() {
    char path[1000];
    GetIniPath(path, sizeof path);
    return zam::platform::ProfileHasSection(kSection, path) != 0;
}

}  // namespace

std::string EncodePreset(const Preset& preset) {
    return std::to_string(preset.Length) + "," + std::to_string(preset.Interval) + "," +
           Quote(preset.EndSound) + "," + Quote(preset.IntervalSound);
}

bool DecodePreset(const std::string& value, Preset& preset) {
    size_t at = 0;
    std::string length;
    std::string interval;
    std::string end;
    std::string chime;
    if (!ReadField(value, at, length) || !ReadField(value, at, interval) ||
        !ReadField(value, at, end) || !ReadField(value, at, chime, true))
        return false;
    Preset read = preset;
    if (!ToMinutes(length, read.Length) || !ToMinutes(interval, read.Interval)) return false;
    read.EndSound = end;
    read.IntervalSound = chime;
    preset = read;
    return true;
}

std::string TrimPresetName(const std::string& name) {
    const size_t first = name.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    const size_t last = name.find_last_not_of(" \t");
    return name.substr(first, last - first + 1);
}

std::string CheckPresetName(const std::string& name) {
    if (name.empty()) return Tr("A preset needs a name.");
    // Characters, not bytes: a name in another script is as long as it looks.
    int characters = 0;
    for (unsigned char c : name) characters += (c & 0xC0) != 0x80;
    if (characters > kPresetNameMax) return Tr("A preset name has at most 40 characters.");
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F) return Tr("A preset name cannot hold control characters.");
        if (c == '=' || c == '[' || c == ']') return Tr("A preset name cannot hold '=', '[' or ']'.");
    }
    // The profile would read such a line as a comment and lose the preset.
    if (name[0] == ';' || name[0] == '#') return Tr("A preset name cannot begin with ';' or '#'.");
    return std::string();
}

std::vector<Preset> LoadPresets() {
    if (!HasSection()) {
        SavePreset({"Pomodoro", 25, 0, "Harp", "TickTock"});
        SavePreset({"Short break", 5, 0, "Bell", "TickTock"});
        SavePreset({"Meditation", 20, -5, "Gong", "Bell"});
    }
    std::vector<Preset> presets;
    for (const std::string& name : KeyNames()) {
        std::string value;
        ProfileReadStr(kSection, name.c_str(), "", value);
        Preset preset;
        preset.Name = name;
        if (DecodePreset(value, preset)) {
            presets.push_back(preset);
        } else {
            LogTrace("Presets", 1, "Preset '%s' skipped: cannot read '%s'", name.c_str(), value.c_str());
        }
    }
    return presets;
}

bool SavePreset(const Preset& preset) {
    return ProfileWriteStr(kSection, preset.Name.c_str(), EncodePreset(preset).c_str()) != 0;
}

bool DeletePreset(const std::string& name) {
    return ProfileWriteStr(kSection, name.c_str(), nullptr) != 0;
}

const Preset* FindPreset(const std::vector<Preset>& presets, const std::string& name) {
    const std::string wanted = TrimPresetName(name);
    for (const Preset& preset : presets) {
        if (strcasecmp(preset.Name.c_str(), wanted.c_str()) == 0) return &preset;
    }
    return nullptr;
}

void StorePresetAsSettings(const Preset& preset) {
    ProfileWriteInt("SYS", "Length", preset.Length < 2 ? 2 : preset.Length);
    ProfileWriteInt("SYS", "Interval", preset.Interval);
    ProfileWriteStr("SYS", "SoundEnd", preset.EndSound.c_str());
    ProfileWriteStr("SYS", "SoundInterval", preset.IntervalSound.c_str());
}

std::string PresetNameList(const std::vector<Preset>& presets) {
    std::string list;
    for (const Preset& preset : presets) list += (list.empty() ? "" : ", ") + preset.Name;
    return list.empty() ? Tr("none") : list;
}
