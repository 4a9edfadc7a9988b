// The time from File > Configuration and Preferences to the configuration
// editor's first paint, on the shipped Kronalt.xml: the command runs, and the
// first paint of any window of the editor ends the measurement and closes
// it. Needs a display (xvfb-run). Prints the median and range of 20 opens.

#include <wx/app.h>
#include <wx/eventfilter.h>
#include <wx/image.h>
#include <wx/init.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "Core/Graph/CDlgCfg.h"
#include "Core/Graph/WxUserInterface.h"
#include "app/CDlgTimer.h"

namespace {

using Clock = std::chrono::steady_clock;

// The first paint can come while the dialog is being shown, before its modal
// loop runs; the close waits for the loop.
void CloseWhenModal(CDlgCfg* editor) {
    if (editor->IsModal()) {
        editor->CloseWithCount();
        return;
    }
    editor->CallAfter([editor] { CloseWhenModal(editor); });
}

class FirstPaint : public wxEventFilter {
public:
    int FilterEvent(wxEvent& event) override {
        if (!m_Waiting || event.GetEventType() != wxEVT_PAINT) return Event_Skip;
        auto* window = wxDynamicCast(event.GetEventObject(), wxWindow);
        auto* editor = window != nullptr ? wxDynamicCast(wxGetTopLevelParent(window), CDlgCfg) : nullptr;
        if (editor == nullptr) return Event_Skip;
        m_Waiting = false;
        Painted = Clock::now();
        editor->CallAfter([editor] { CloseWhenModal(editor); });
        return Event_Skip;
    }
    void Arm() { m_Waiting = true; }
    Clock::time_point Painted;

private:
    bool m_Waiting = false;
};

}  // namespace

int main(int argc, char** argv) {
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) return 1;
    wxInitAllImageHandlers();
    zam::graph::InstallWxUserInterface();
    auto* window = new CDlgTimer();
    window->OnInitDialog();
    window->Show();
    window->GetTimer().Stop();
    wxTheApp->Yield(true);

    FirstPaint filter;
    wxEvtHandler::AddFilter(&filter);
    std::vector<double> millis;
    for (int run = 0; run < 21; ++run) {
        filter.Arm();
        const Clock::time_point start = Clock::now();
        window->OnConfig();
        if (run > 0) {  // the first open also loads fonts and themes once
            millis.push_back(std::chrono::duration<double, std::milli>(filter.Painted - start).count());
        }
    }
    wxEvtHandler::RemoveFilter(&filter);
    std::sort(millis.begin(), millis.end());
    std::printf("configuration editor, menu command to first paint: median %.1f ms (%.1f - %.1f) over %zu opens\n",
                millis[millis.size() / 2], millis.front(), millis.back(), millis.size());
    window->Destroy();
    zam::graph::RemoveWxUserInterface();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return 0;
}
