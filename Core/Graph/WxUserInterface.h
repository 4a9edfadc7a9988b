#pragma once
// Connects the library's user-interface seams to wxWidgets: message boxes as
// real dialogs, beeps, the theme's system colours, and window titles for
// message-box captions. The window build installs it once at start-up.

#include <wx/window.h>

#include "Core/Platform/WinTypes.h"

namespace zam::graph {

/// Installs the wx message-box presenter, system colours and title reader.
void InstallWxUserInterface();

/// Removes them again (before the toolkit shuts down).
void RemoveWxUserInterface();

/// The library's handle for a window, and back.
inline HWND ToHandle(wxWindow* window) { return reinterpret_cast<HWND>(window); }
inline wxWindow* FromHandle(HWND handle) { return reinterpret_cast<wxWindow*>(handle); }

}  // namespace zam::graph
