#pragma once
// The countdown in a terminal: one line redrawn every second, keys to start,
// pause and quit. Used until the window exists, and whenever there is no
// display.

struct ConsoleOptions {
    int Length = 60;             ///< minutes
    int Interval = 0;            ///< minutes; 0 no chime, negative random
    bool LengthGiven = false;    ///< false: the stored Length setting
    bool IntervalGiven = false;  ///< false: the stored Interval setting
};

/// Runs a countdown that starts at once; returns the process exit code.
int RunConsoleTimer(const ConsoleOptions& options);
