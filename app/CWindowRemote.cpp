#include "app/CWindowRemote.h"

#include <chrono>
#include <future>
#include <memory>

#include "app/CDlgTimer.h"
#include "app/Presets.h"

namespace {

// A window thread busy for longer (a modal box open) is answered for.
const auto kWindowAnswerTime = std::chrono::milliseconds(1500);

}  // namespace

bool CWindowRemote::Start() {
    return m_Server.Start([this](const std::string& request) -> std::string {
        auto answer = std::make_shared<std::promise<std::string>>();
        std::future<std::string> reply = answer->get_future();
        // Queued on the window: should it close first, the request is dropped with it.
        m_Window->CallAfter([this, request, answer] { answer->set_value(AnswerRemote(request, *this)); });
        if (reply.wait_for(kWindowAnswerTime) != std::future_status::ready)
            return "error: the window is busy (a dialog is open)";
        return reply.get();
    });
}

void CWindowRemote::StartPause() { m_Window->OnStartPause(); }

bool CWindowRemote::IsRunning() { return m_Window->GetEngine().IsRunning() != 0; }

void CWindowRemote::State(CTxt& out) { m_Window->GetEngine().GetStateText(out); }

bool CWindowRemote::ShowWindow(bool show) {
    if (show) {
        if (m_Window->IsIconized()) m_Window->Iconize(false);
        m_Window->Show();
        m_Window->Raise();
    } else {
        m_Window->Hide();
    }
    return true;
}

void CWindowRemote::Exit() {
    // The caller means it: no question. After the answer has gone out.
    CDlgTimer* window = m_Window;
    window->CallAfter([window] { window->Close(true); });
}

bool CWindowRemote::ChoosePreset(const std::string& name) {
    const std::vector<Preset> presets = LoadPresets();
    const Preset* preset = FindPreset(presets, name);
    if (preset == nullptr) return false;
    m_Window->ChoosePreset(*preset);
    return true;
}
