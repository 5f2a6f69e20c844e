#pragma once
// A notice shown by the desktop outside the window: through the desktop's notification
// service when the session has one, else as a message of an icon in the system tray
// where the desktop has a tray, else nothing at all. Never waits for the desktop.

#include <QString>

namespace transcoda::gui {

// True when a way to show the notice was found (it was handed over, not necessarily shown).
bool SendDesktopNotification(const QString& title, const QString& text);

}  // namespace transcoda::gui
