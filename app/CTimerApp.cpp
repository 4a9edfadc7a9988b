#include "app/CTimerApp.h"

#include <wx/image.h>

#include "Core/Graph/CompactControls.h"
#include "Core/Graph/WxUserInterface.h"
#include "app/CDlgTimer.h"
#include "app/Sound.h"

wxIMPLEMENT_APP_NO_MAIN(CTimerApp);

namespace {
ConsoleOptions g_startOptions;
}

void CTimerApp::SetStartOptions(const ConsoleOptions& options) { g_startOptions = options; }

bool CTimerApp::OnInit() {
    wxInitAllImageHandlers();
    zam::graph::InstallWxUserInterface();
    zam::graph::UseCompactControls();
    auto* window = new CDlgTimer();
    SetTopWindow(window);
    window->OnInitDialog();
    if (g_startOptions.UntilHour >= 0)
        window->CountUntil(g_startOptions.UntilHour, g_startOptions.UntilMinute, g_startOptions.UntilSecond);
    window->Show();
    return true;
}

int CTimerApp::OnExit() {
    Sound::Shutdown();
    zam::graph::RemoveWxUserInterface();
    return wxApp::OnExit();
}
