#pragma once
// The timer window as the target of remote commands. Requests arrive on the
// remote server's thread and are carried out on the window's thread, with
// the answer handed back; the window itself knows nothing of them.

#include "app/RemoteControl.h"

class CDlgTimer;

class CWindowRemote : public RemoteTarget {
public:
    explicit CWindowRemote(CDlgTimer* window) : m_Window(window) {}
    ~CWindowRemote() override { m_Server.Stop(); }

    /// Starts listening; false (logged) when it cannot.
    bool Start();
    /// Stops listening; call before the window goes.
    void Stop() { m_Server.Stop(); }

    void StartPause() override;
    bool IsRunning() override;
    void State(CTxt& out) override;
    bool ShowWindow(bool show) override;
    void Exit() override;
    bool ChoosePreset(const std::string& name) override;

private:
    CDlgTimer* m_Window;
    RemoteServer m_Server;
};
