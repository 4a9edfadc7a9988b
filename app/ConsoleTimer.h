#pragma once
// The countdown in a terminal: one line redrawn every second, keys to start,
// pause and quit. Used until the window exists, and whenever there is no
// display.

#include <string>

struct ConsoleOptions {
    int Length = 60;             ///< minutes
    int Interval = 0;            ///< minutes; 0 no chime, negative random
    bool LengthGiven = false;    ///< false: the stored Length setting
    bool IntervalGiven = false;  ///< false: the stored Interval setting
    std::string Preset;          ///< a preset to choose first (empty: none)
    int UntilHour = -1;          ///< >= 0: count to this clock time instead
    int UntilMinute = 0;
    int UntilSecond = 0;
};

/// Runs a countdown that starts at once; returns the process exit code.
int RunConsoleTimer(const ConsoleOptions& options);
