#pragma once
// How the program reaches the rest of the computer: starting programs and
// commands, the user's editor and browser, the system's name and version,
// per-program values kept between runs, the standard message boxes and the
// path helpers. Nothing here throws; results are the integers listed.
//
// Nothing that came from outside is ever read by a shell: editor and browser
// commands are split into argument vectors, and the file or address goes to
// the program as one argument of its own.

#include <string>

#include "Core/Platform/Object.h"
#include "Core/Platform/WinTypes.h"

class CTxt;

#ifndef MB_TOPMOST
#define MB_TOPMOST 0x00040000u
#endif

/// RunCommand's result for a waited-for program ended by a signal: this
/// value minus the signal number (SIGKILL gives -1009).
constexpr int kRunCommandSignalled = -1000;

/// Starts a command. Prefixes, each at most once and in this order:
///   '^' the rest is a file to edit with the `EDITOR` setting (section SYS,
///       default $VISUAL, else $EDITOR, else xdg-open; an empty setting takes
///       the default; written back), the file one argument of its own;
///   '<' wait for the end and return the exit code;
///   '#' full-screen hint, not detached;  '~' start minimised;
///   '@' show-window hint only, not detached;
///   '!' the rest is a command line, split into arguments (Windows rules)
///       and started without a shell.
/// Without '!' the rest must name an existing file, which /bin/sh runs
/// (when executable) or hands to xdg-open, the name never read as shell code.
/// Returns: 1 started; with '<' the exit code (1 when it cannot be read,
/// kRunCommandSignalled - signal when killed); -1 the file without '!' does
/// not exist (error box always shown); -errno when the start fails (the
/// "File Launch Error" box shown only when showErrors is 1).
int RunCommand(const char* command, int showErrors);

namespace zam {
/// The editor when the EDITOR setting names none: $VISUAL, else $EDITOR,
/// else xdg-open; xdg-open whenever standard input is not a terminal, where a
/// terminal editor could not show.
std::string DefaultEditorCommand();
}  // namespace zam

/// Opens address (a web address or a file) with the `Browser` setting
/// (section INTERNET), first refreshed from the registered browser command.
/// The address is one argument whatever it holds; backslashes become '/', and
/// one beginning with '-' gets "./" so that it cannot pass for an option.
/// With wait 1, returns when the browser ends. Returns 0 started, -1 not (the
/// "View Error" box shown, also for an empty browser setting).
int OpenUrl(const char* address, int wait);

/// The `Browser` setting made from a registered open command: fields split at
/// blanks, those beginning with '%' or "\"%" or with (or being a beginning of)
/// "http:" dropped, backslashes turned to '/', each kept field followed by one
/// blank. Returns the length of browser.
int BrowserFromOpenCommand(const char* registered, CTxt& browser);

/// The Windows-style version number: kernel major * 100 + minor (6.1 gives
/// 601), always below 9000, so commands without '!' take the shell path.
/// Returns 0 when the kernel release cannot be read.
int GetOsVersion();

/// $USERDOMAIN when it is set, else the host name, at most 999 characters.
/// Returns the length; -2 when the host name cannot be read.
int GetMachineName(CTxt& dest);

/// Reads value name of key "Software\ZAM\<key>" (null key: the program's
/// name) into dest. create 1 opens the key for writing, creating it; else it
/// is opened for reading only. A missing value delivers def (null: "") and
/// stores it. Returns 0; -1 the key cannot be opened (or created); -2 the
/// default could not be stored (always so for a key opened for reading).
int RegGetGlobal(const char* name, std::string& dest, const char* def = nullptr,
                 const char* key = nullptr, int create = 0);

/// Stores text (null: "") as value name of key "Software\ZAM\<key>" (null
/// key: the program's name), creating the key. Returns 0; -1 the key cannot
/// be created; -2 the value cannot be stored.
int RegSetGlobal(const char* name, const char* text, const char* key = nullptr);

/// Shows text in a topmost box captioned with the owner's title (no owner:
/// no caption). Kinds: 2 OK with the error icon; 3 Yes/No, question, No
/// preselected; 4 Yes/No, question, Yes preselected; any other OK with the
/// information icon. Returns IDYES (6) or IDNO (7) for kinds 3 and 4, else 0.
int MsgBox(const char* text, int kind, HWND owner = nullptr);

/// Reads a window's title for MsgBox captions; the window build installs
/// one. Returns the title ("" when unknown).
using WindowTitleReader = std::string (*)(HWND window);

/// Installs a title reader; nullptr removes it (owners then give "").
void SetWindowTitleReader(WindowTitleReader reader);

/// Single backslashes become '/', a doubled one stays; trailing '/' removed.
void PathToSlash(char* path);
/// The same on a text.
void PathToSlash(CTxt& path);

/// '/' becomes backslash, a doubled backslash stays; trailing '/' and then
/// trailing backslashes removed.
void PathToBackslash(char* path);
/// The same on a text.
void PathToBackslash(CTxt& path);

/// Part kind of path into dest: 0 drive, 1 folder, 2 name, 3 extension
/// without its dot, 4 drive and folder, 5 name and extension, 6 drive, folder
/// and name; any other kind "". Returns the length of dest.
int PathPart(const char* path, int kind, std::string& dest);

/// An exception record carrying one value; creatable by class name (value 0
/// then). Nothing in the library raises it.
class CHttpGetException : public CObject {
public:
    /// Carries value.
    explicit CHttpGetException(int value = 0) : m_Value(value) {}
    /// The value given at construction.
    int GetValue() const { return m_Value; }
    /// A new exception with value 0, owned by the caller.
    static CObject* CreateObject();

    static const CRuntimeClass classCHttpGetException;
    /// This class's record.
    const CRuntimeClass* GetRuntimeClass() const override;

private:
    int m_Value;
};
