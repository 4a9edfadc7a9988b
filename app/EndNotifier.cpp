#include "app/EndNotifier.h"

#include <libnotify/notify.h>

#include <filesystem>

#include "Core/Platform/Translation.h"
#include "Core/System/Log.h"
#include "Core/Text/CTxt.h"
#include "app/DataFolder.h"

namespace {

class DesktopNotifier : public EndNotifier {
public:
    bool Post(const EndNotification& n) override {
        if (!notify_is_initted() && !notify_init("Kronalt")) return false;
        NotifyNotification* shown =
            notify_notification_new(n.Title.c_str(), n.Text.c_str(), n.Icon.c_str());
        notify_notification_set_urgency(shown, static_cast<NotifyUrgency>(n.Urgency));
        notify_notification_set_hint(shown, "desktop-entry", g_variant_new_string(n.DesktopEntry.c_str()));
        GError* error = nullptr;
        const bool posted = notify_notification_show(shown, &error) != FALSE;
        if (error != nullptr) g_error_free(error);
        g_object_unref(G_OBJECT(shown));
        return posted;
    }
};

EndNotifier* g_notifier = nullptr;
bool g_failureLogged = false;

// The shipped picture where the program has its data, else the name an
// installed copy gives its icon.
std::string ProgramIcon() {
    CTxt folder;
    GetInstalledDataFolder(folder);
    const std::filesystem::path png = std::filesystem::path(static_cast<const char*>(folder)) / "kronalt-128.png";
    std::error_code ec;
    if (std::filesystem::is_regular_file(png, ec)) return std::filesystem::absolute(png, ec).string();
    return "kronalt";
}

}  // namespace

void SetEndNotifier(EndNotifier* notifier) {
    g_notifier = notifier;
    g_failureLogged = false;
}

bool NotifyCountdownEnd(int lengthMinutes) {
    static DesktopNotifier desktop;
    EndNotifier* notifier = g_notifier != nullptr ? g_notifier : &desktop;
    CTxt title;
    title.Format(Tr("Kronalt: %d minutes are up"), lengthMinutes);
    EndNotification notification;
    notification.Title = static_cast<const char*>(title);
    notification.Text = Tr("The countdown has ended.");
    notification.Icon = ProgramIcon();
    notification.DesktopEntry = "kronalt";
    notification.Urgency = NOTIFY_URGENCY_NORMAL;
    const bool posted = notifier->Post(notification);
    if (!posted && !g_failureLogged) {
        g_failureLogged = true;
        LogTrace("Notify", 1, "No desktop notification: the notification service did not answer");
    }
    return posted;
}
