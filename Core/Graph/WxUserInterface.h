#pragma once
// Connects the library's user-interface seams to wxWidgets: message boxes as
// real dialogs, beeps, the theme's system colours, and window titles for
// message-box captions. The window build installs it once at start-up.

#include <wx/string.h>
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

/// The text a message box shows for text: line ends as the toolkit wants
/// them, a word (a run without blanks, such as a long value) longer than
/// kMessageCutChars cut there with "…", lines wrapped at blanks (or inside a
/// word too long) to kMessageWrapChars, and no more than kMessageMaxLines
/// lines, then a last line "…". Short texts come back unchanged but for
/// their line ends.
wxString FitMessageText(const wxString& text);
constexpr size_t kMessageCutChars = 200;
constexpr size_t kMessageWrapChars = 80;
constexpr size_t kMessageMaxLines = 30;

/// The window message boxes belong to now: the innermost MessageBoxOwner
/// that is shown, else the application's top window (null without one).
wxWindow* MessageBoxParent();

/// While alive, message boxes belong to window (a modal dialog that is
/// open, so its boxes come up over it and not over the window below).
class MessageBoxOwner {
public:
    explicit MessageBoxOwner(wxWindow* window);
    ~MessageBoxOwner();
    MessageBoxOwner(const MessageBoxOwner&) = delete;
    MessageBoxOwner& operator=(const MessageBoxOwner&) = delete;

private:
    wxWindow* m_Previous;
};

/// While alive, the Yes, No and Cancel buttons of message boxes read as
/// given (a question whose answers are verbs is clearer with them).
class MessageBoxLabels {
public:
    MessageBoxLabels(const char* yes, const char* no, const char* cancel);
    ~MessageBoxLabels();
    MessageBoxLabels(const MessageBoxLabels&) = delete;
    MessageBoxLabels& operator=(const MessageBoxLabels&) = delete;

    wxString Yes, No, Cancel;

private:
    const MessageBoxLabels* m_Previous;
};

}  // namespace zam::graph
