#include "Core/Platform/Registry.h"

#include <langinfo.h>
#include <locale.h>
#include <unistd.h>

#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "Core/Platform/Clock.h"
#include "Core/Platform/ProfileFile.h"
#include "Core/Platform/Process.h"
#include "Core/Platform/UserDirs.h"

namespace zam::platform {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trim(const std::string& s) {
    size_t begin = 0;
    size_t end = s.size();
    while (begin < end && IsBlank(s[begin])) ++begin;
    while (end > begin && IsBlank(s[end - 1])) --end;
    return s.substr(begin, end - begin);
}

bool ValidKeyPath(const char* keyPath) {
    return keyPath != nullptr && !Trim(keyPath).empty() && std::strpbrk(keyPath, "\r\n]") == nullptr;
}

// The engine trims a value and takes one pair of surrounding quotes off it;
// a value that would lose something that way is stored inside quotes.
std::string Encode(const std::string& value) {
    if (value.empty()) return value;
    const char first = value.front();
    const char last = value.back();
    const bool quotedAlready = value.size() >= 2 && (first == '"' || first == '\'') && last == first;
    if (IsBlank(first) || IsBlank(last) || quotedAlready) return "\"" + value + "\"";
    return value;
}

}  // namespace

std::string RegistryStorePath() { return ConfigHome() + "/ZAM/registry.ini"; }

bool RegistryKeyExists(const char* keyPath) {
    return ValidKeyPath(keyPath) && ProfileHasSection(Trim(keyPath).c_str(), RegistryStorePath().c_str()) == 1;
}

bool RegistryCreateKey(const char* keyPath) {
    if (!ValidKeyPath(keyPath)) return false;
    const std::filesystem::path folder = std::filesystem::path(RegistryStorePath()).parent_path();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return IsWritableFolder(folder.string());
}

bool RegistryQueryValue(const char* keyPath, const char* name, std::string& value) {
    value.clear();
    if (!ValidKeyPath(keyPath)) return false;
    const std::string store = RegistryStorePath();
    const char* valueName = name != nullptr ? name : "";
    // No stored value can hold a line feed, so it marks "missing" unmistakably.
    const char* const kMissing = "\n";
    std::vector<char> buf(10001);
    for (;;) {
        const int size = static_cast<int>(buf.size());
        const int n = GetPrivateProfileStringA(keyPath, valueName, kMissing, buf.data(), size,
                                               store.c_str());
        if (n == 1 && buf[0] == '\n') return false;
        // A full buffer may mean a longer value: read it again, whole.
        if (n < size - 1 || buf.size() >= (1u << 28)) {
            value.assign(buf.data(), static_cast<size_t>(n));
            return true;
        }
        buf.resize(buf.size() * 4);
    }
}

bool RegistrySetValue(const char* keyPath, const char* name, const char* value) {
    if (!RegistryCreateKey(keyPath)) return false;
    const std::string encoded = Encode(value != nullptr ? value : "");
    return WritePrivateProfileStringA(keyPath, name != nullptr ? name : "", encoded.c_str(),
                                      RegistryStorePath().c_str()) != 0;
}

bool RegistryBrowserCommand(std::string& command) {
    command.clear();
    if (!FindProgram("xdg-open")) return false;
    command = "xdg-open \"%1\"";
    return true;
}

bool RegistryComputerName(std::string& name) {
    name.clear();
    char host[1000] = {};
    if (gethostname(host, sizeof host - 1) != 0) return false;
    name = host;
    return true;
}

void RegistryTimeZoneBias(int& bias, int& activeBias) {
    const TimeZoneFigures figures = GetTimeZoneFigures();
    bias = figures.Bias;
    activeBias = figures.ActiveBias;
}

bool RegistryShortDatePattern(std::string& pattern) {
    pattern.clear();
    // The user's locale without switching the process's own.
    locale_t locale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr)) return false;
    const char* format = nl_langinfo_l(D_FMT, locale);
    pattern = ShortDatePatternFromFormat(format);
    freelocale(locale);
    return !pattern.empty();
}

std::string ShortDatePatternFromFormat(const char* format) {
    std::string pattern;
    if (format == nullptr) return pattern;
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%') {
            pattern += *p;
            continue;
        }
        ++p;
        if (*p == 'E' || *p == 'O') ++p;  // era and alternative digits: the same field
        switch (*p) {
        case 'd': pattern += "dd"; break;
        case 'e': pattern += "d"; break;
        case 'm': pattern += "MM"; break;
        case 'y': pattern += "yy"; break;
        case 'Y': pattern += "yyyy"; break;
        case 'D': pattern += "MM/dd/yy"; break;
        case 'F': pattern += "yyyy-MM-dd"; break;
        case '%': pattern += '%'; break;
        case '\0': return pattern;
        default: break;
        }
    }
    return pattern;
}

}  // namespace zam::platform
