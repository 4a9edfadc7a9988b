#include "app/CTimerApp.h"

#include <wx/image.h>

#include "Core/Graph/CompactControls.h"
#include "Core/Graph/WxUserInterface.h"
#include "app/CDlgTimer.h"
#include "app/Sound.h"

wxIMPLEMENT_APP_NO_MAIN(CTimerApp);

bool CTimerApp::OnInit() {
    wxInitAllImageHandlers();
    zam::graph::InstallWxUserInterface();
    zam::graph::UseCompactControls();
    auto* window = new CDlgTimer();
    SetTopWindow(window);
    window->OnInitDialog();
    window->Show();
    return true;
}

int CTimerApp::OnExit() {
    Sound::Shutdown();
    zam::graph::RemoveWxUserInterface();
    return wxApp::OnExit();
}
