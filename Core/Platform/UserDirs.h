#pragma once
// Per-user folders for an installed copy whose own folder is read-only.

#include <string>

namespace zam::platform {

/// $XDG_CONFIG_HOME, else ~/.config (no trailing slash).
std::string ConfigHome();

/// $XDG_STATE_HOME, else ~/.local/state (no trailing slash).
std::string StateHome();

/// True when the folder exists and this process may create files in it.
bool IsWritableFolder(const std::string& folder);

}  // namespace zam::platform
