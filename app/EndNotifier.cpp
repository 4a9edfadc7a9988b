#include "app/EndNotifier.h"

#include <wx/log.h>
#include <wx/notifmsg.h>

#include "Core/System/Log.h"
#include "Core/Text/CTxt.h"

namespace {

class DesktopNotifier : public EndNotifier {
public:
    bool Post(const char* title, const char* text) override {
        wxNotificationMessage message(wxString::FromUTF8(title), wxString::FromUTF8(text));
        // Without a notification service the toolkit would open an error box
        // of its own; the failure is ours to report, quietly.
        wxLogNull quiet;
        return message.Show();
    }
};

EndNotifier* g_notifier = nullptr;
bool g_failureLogged = false;

}  // namespace

void SetEndNotifier(EndNotifier* notifier) {
    g_notifier = notifier;
    g_failureLogged = false;
}

bool NotifyCountdownEnd(int lengthMinutes) {
    static DesktopNotifier desktop;
    EndNotifier* notifier = g_notifier != nullptr ? g_notifier : &desktop;
    CTxt title;
    title.Format("Kronalt: %d minutes are up", lengthMinutes);
    const bool posted = notifier->Post(title, "The countdown has ended.");
    if (!posted && !g_failureLogged) {
        g_failureLogged = true;
        LogTrace("Notify", 1, "No desktop notification: the notification service did not answer");
    }
    return posted;
}
