#pragma once
// Tells the user that a countdown is over with a desktop notification: a
// sound alone goes unheard when the speakers are off. The desktop's
// notification service does the showing; tests install their own notifier.

#include <string>

/// What the end notification says and how it asks to be shown.
struct EndNotification {
    std::string Title;         ///< "Kronalt: N minutes are up"
    std::string Text;          ///< "The countdown has ended."
    std::string Icon;          ///< the program's own icon: a file path, else an icon name
    std::string DesktopEntry;  ///< "kronalt": the desktop groups it with the program
    int Urgency = 1;           ///< 0 low, 1 normal, 2 critical
};

/// Posts one notification; true when the desktop took it.
class EndNotifier {
public:
    virtual ~EndNotifier() = default;
    virtual bool Post(const EndNotification& notification) = 0;
};

/// Installs a notifier (not owned); nullptr restores the desktop's.
void SetEndNotifier(EndNotifier* notifier);

/// Posts "Kronalt: N minutes are up" for a countdown of the given length, at
/// normal urgency with the program's icon. A desktop without a notification
/// service is logged once, never shown as an error. Returns what the
/// notifier returned.
bool NotifyCountdownEnd(int lengthMinutes);
