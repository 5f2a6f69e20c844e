#include "mainwindow/desktop_notification.h"

#include <QApplication>
#include <QIcon>
#include <QSystemTrayIcon>

#ifdef TRANSCODA_HAS_DBUS
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QVariantMap>
#endif

namespace transcoda::gui {

namespace {

constexpr int kShownMs = 8000;

#ifdef TRANSCODA_HAS_DBUS
bool ThroughNotificationService(const QString& title, const QString& text) {
    static const QString service = "org.freedesktop.Notifications";
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || bus.interface() == nullptr || !bus.interface()->isServiceRegistered(service))
        return false;
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, "/org/freedesktop/Notifications", service, "Notify");
    // Application name, id to replace, icon, summary, body, actions, hints, time shown.
    call << QString("Transcoda") << 0u << QString("transcoda") << title << text << QStringList() << QVariantMap()
         << kShownMs;
    // Sent without waiting for the answer.
    return bus.send(call);
}
#endif

bool ThroughSystemTray(const QString& title, const QString& text) {
    if (!QSystemTrayIcon::isSystemTrayAvailable() || !QSystemTrayIcon::supportsMessages()) return false;
    // One icon for the program's life, shown only once a notice needs it.
    static QSystemTrayIcon* icon = [] {
        auto* made = new QSystemTrayIcon(QApplication::windowIcon(), qApp);
        made->setToolTip("Transcoda");
        return made;
    }();
    icon->show();
    icon->showMessage(title, text, QSystemTrayIcon::Information, kShownMs);
    return true;
}

}  // namespace

bool SendDesktopNotification(const QString& title, const QString& text) {
#ifdef TRANSCODA_HAS_DBUS
    if (ThroughNotificationService(title, text)) return true;
#endif
    return ThroughSystemTray(title, text);
}

}  // namespace transcoda::gui
