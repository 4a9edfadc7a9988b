#pragma once
// Tells the user that a countdown is over with a desktop notification: a
// sound alone goes unheard when the speakers are off. The desktop's
// notification service does the showing; tests install their own notifier.

/// Posts one notification; true when the desktop took it.
class EndNotifier {
public:
    virtual ~EndNotifier() = default;
    virtual bool Post(const char* title, const char* text) = 0;
};

/// Installs a notifier (not owned); nullptr restores the desktop's.
void SetEndNotifier(EndNotifier* notifier);

/// Posts "Kronalt: N minutes are up" for a countdown of the given length.
/// A desktop without a notification service is logged once, never shown as
/// an error. Returns what the notifier returned.
bool NotifyCountdownEnd(int lengthMinutes);
