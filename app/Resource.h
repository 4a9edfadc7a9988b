#pragma once
// The numbers of the timer's windows, controls, menus and commands. Stored
// nowhere, but kept as designed so that every part of the program agrees.

enum : int {
    IDD_ABOUTBOX = 100,
    IDS_ABOUTBOX = 101,
    IDD_KRONALT_DIALOG = 102,
    IDR_MAINFRAME = 128,
    IDR_MENU = 129,

    IDC_STARTPAUSE = 1,  // the default button
    IDC_EXIT = 2,
    IDC_LENGTH = 1000,
    IDC_INTERVAL = 1001,
    IDC_PROGRESS = 1003,
    IDC_STATUS = 1004,
    IDC_CLOCK = 1005,
    IDC_SOUND_END = 1006,
    IDC_SOUND_INTERVAL = 1007,
    IDC_PLAY_END = 1008,
    IDC_PLAY_INTERVAL = 1009,

    IDC_ABOUT_VERSION = 1009,
    IDC_MORE_PRODUCTS = 1010,

    ID_FILE_CONFIG = 32771,
    ID_FILE_START = 32772,
    ID_APP_ABOUT = 32774,
    ID_FILE_CHANGECOLOR = 32775,
    ID_FILE_CHANGEBKCOLOR = 32776,
    ID_HELP_PRODUCTS = 32777,
    ID_APP_EXIT = 57665,  // the framework's exit; the menu uses the toolkit's wxID_EXIT
    IDM_ABOUTBOX = 0x0010,

    ID_TIMER_TICK = 1969,
};

/// The toolkit's menu ids stop below 0x7FFF, under the designed command
/// numbers; a menu entry carries its command number less this offset.
constexpr int kMenuIdOffset = 30000;
constexpr int MenuId(int command) { return command - kMenuIdOffset; }
