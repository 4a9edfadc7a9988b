#pragma once
// The application object: shows the timer window and ends the program when
// it closes.

#include <wx/app.h>

#include "app/ConsoleTimer.h"

class CTimerApp : public wxApp {
public:
    /// Installs the window build's seams and opens the main window.
    bool OnInit() override;
    /// Releases sound and the seams.
    int OnExit() override;
    /// What the command line asks of the window (a clock time to count to).
    static void SetStartOptions(const ConsoleOptions& options);
};

wxDECLARE_APP(CTimerApp);
