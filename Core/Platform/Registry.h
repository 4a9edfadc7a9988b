#pragma once
// The registry's two roles on this system. Per-program values live in a
// per-user store, $XDG_CONFIG_HOME/ZAM/registry.ini, one section per key
// path ("Software\ZAM\kronalt"), written through the profile engine, so
// every write is atomic and locked like a profile's. The machine facts the
// library once read from the registry come from Linux instead and are never
// written.

#include <string>

namespace zam::platform {

/// Path of the per-user store: "<ConfigHome>/ZAM/registry.ini".
std::string RegistryStorePath();

/// True when the store holds the key's section.
bool RegistryKeyExists(const char* keyPath);

/// Makes the key ready for values: true when the key path can be a section
/// (not empty, no CR, LF or ']') and the store's folder exists or was made.
/// The section itself appears with the key's first value.
bool RegistryCreateKey(const char* keyPath);

/// The value name (null: "", the key's unnamed value) of the key, exactly as
/// stored, whatever its length; false when the key or the value is missing.
bool RegistryQueryValue(const char* keyPath, const char* name, std::string& value);

/// Stores value (null: "") so that it reads back exactly, blanks and quotes
/// included. False when the store cannot be written, or the profile engine
/// refuses the key path, the name (holding '=', CR or LF, or beginning with
/// '[' or ';') or the value (holding CR or LF).
bool RegistrySetValue(const char* keyPath, const char* name, const char* value);

// --- read-only facts --------------------------------------------------------

/// The browser's open command, in the registered form: `xdg-open "%1"`.
/// False when xdg-open is not installed (no command registered).
bool RegistryBrowserCommand(std::string& command);

/// The computer's name: the host name, at most 999 characters. False when it
/// cannot be read.
bool RegistryComputerName(std::string& name);

/// The zone's Bias and ActiveTimeBias in minutes (UTC = local + bias), the
/// second including daylight saving while it is on.
void RegistryTimeZoneBias(int& bias, int& activeBias);

/// The user's short-date pattern in the registry's form ("MM/dd/yy",
/// "dd.MM.yyyy"), from the date format of the locale the environment names
/// (LC_ALL, LC_TIME, LANG). False when the locale has no date format.
bool RegistryShortDatePattern(std::string& pattern);

/// A strftime date format turned into that pattern form: %d dd, %e d, %m MM,
/// %y yy, %Y yyyy, %D MM/dd/yy, %F yyyy-MM-dd, %% %; other conversions are
/// left out, other characters kept.
std::string ShortDatePatternFromFormat(const char* format);

}  // namespace zam::platform
