#include "splash_screen.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QWindow>

SplashScreen::SplashScreen(const QString& language, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName("SplashScreen");
    setFixedSize(697, 340);
    frenchPicture = new QLabel(this);
    frenchPicture->setObjectName("frenchPicture");
    frenchPicture->setGeometry(0, 0, 697, 340);
    frenchPicture->setPixmap(QPixmap(":/splash/splash_fr.png"));
    englishPicture = new QLabel(this);
    englishPicture->setObjectName("englishPicture");
    englishPicture->setGeometry(0, 0, 697, 340);
    englishPicture->setPixmap(QPixmap(":/splash/splash_en.png"));
    if (language == "FR") englishPicture->hide();
    if (language == "EN") frenchPicture->hide();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - QPoint(697 / 2, 340 / 2));
}

bool SplashScreen::ShowPainted(int timeoutMs) {
    show();
    // The bound's own event wakes the wait if the mapping never comes.
    QTimer bound;
    bound.setSingleShot(true);
    bound.start(timeoutMs);
    while (!(windowHandle() && windowHandle()->isExposed()) && bound.isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const bool exposed = windowHandle() && windowHandle()->isExposed();
    repaint();
    // Hands the picture to the display server and waits until it has taken it.
    QGuiApplication::sync();
    return exposed;
}
