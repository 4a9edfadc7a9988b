#pragma once
// The user's attention: message boxes, beeps, system colours and the string
// resources. Each goes through a replaceable object so that the console build
// writes to standard error, the window build shows real dialogs and tests
// record what would have been shown.

#include <string>

#include "Core/Platform/WinTypes.h"

// Message box button sets and flags, with their Windows values so that stored
// numbers and callers keep their meaning.
#define MB_OK 0x00000000u
#define MB_OKCANCEL 0x00000001u
#define MB_ABORTRETRYIGNORE 0x00000002u
#define MB_YESNOCANCEL 0x00000003u
#define MB_YESNO 0x00000004u
#define MB_RETRYCANCEL 0x00000005u
#define MB_ICONHAND 0x00000010u
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONQUESTION 0x00000020u
#define MB_ICONEXCLAMATION 0x00000030u
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONASTERISK 0x00000040u
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_DEFBUTTON1 0x00000000u
#define MB_DEFBUTTON2 0x00000100u
#define MB_DEFBUTTON3 0x00000200u
#define MB_SYSTEMMODAL 0x00001000u
#define MB_TYPEMASK 0x0000000Fu
#define MB_ICONMASK 0x000000F0u
#define MB_DEFMASK 0x00000F00u

#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7

// System colour indexes used by the library.
#define COLOR_ACTIVECAPTION 2
#define COLOR_MENU 4
#define COLOR_WINDOW 5
#define COLOR_WINDOWFRAME 6
#define COLOR_ACTIVEBORDER 10
#define COLOR_BTNFACE 15

namespace zam::platform {

/// Shows message boxes; the installed one answers every request.
class MessageBoxPresenter {
public:
    virtual ~MessageBoxPresenter() = default;
    /// Shows text under caption with the MB_* type; returns the ID* answer.
    virtual int Show(const char* text, const char* caption, UINT type) = 0;
    /// Sounds the alert that belongs to an MB_ICON* type.
    virtual void Beep(UINT type) = 0;
};

/// Installs a presenter (not owned); nullptr restores the standard-error one.
void SetMessageBoxPresenter(MessageBoxPresenter* presenter);

/// Shows a message box through the installed presenter.
int ShowMessageBox(const char* text, const char* caption, UINT type);

/// Beeps through the installed presenter.
void MessageBeep(UINT type);

/// The answer a box of this type gives when nobody is there to click: its
/// default button.
int DefaultAnswer(UINT type);

/// Supplies system colours; the window build installs the desktop theme's.
class SystemColourSource {
public:
    virtual ~SystemColourSource() = default;
    virtual COLORREF Get(int index) = 0;
};

/// Installs a colour source (not owned); nullptr restores the built-in table.
void SetSystemColourSource(SystemColourSource* source);

/// The colour of a system element (COLOR_* index).
COLORREF GetSysColor(int index);

/// Reads list-view controls of this program; the window build registers one.
/// Other programs' controls cannot be read on this system.
class ListViewSource {
public:
    virtual ~ListViewSource() = default;
    /// True when wnd is a list-view control this source can read.
    virtual bool IsListView(HWND wnd) = 0;
    /// Number of rows (0 or less when unknown).
    virtual int GetItemCount(HWND wnd) = 0;
    /// The text of a row's column (column 0 is the item itself).
    virtual std::string GetItemText(HWND wnd, int row, int column) = 0;
    /// Marks a row selected or not.
    virtual void SetItemSelected(HWND wnd, int row, bool selected) = 0;
};

/// Installs a list-view source (not owned); nullptr removes it.
void SetListViewSource(ListViewSource* source);

/// The installed list-view source, or nullptr.
ListViewSource* GetListViewSource();

/// Registers the text of a string resource, replacing an earlier one.
void RegisterStringResource(UINT id, const char* text);

/// The text registered under id; false when there is none.
bool LoadStringResource(UINT id, std::string& out);

/// Forgets every registered string resource.
void ClearStringResources();

}  // namespace zam::platform
