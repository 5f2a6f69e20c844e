#include "TForm4.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QWindow>

TForm4::TForm4(const QString& language, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName("TForm4");
    setFixedSize(697, 340);
    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setGeometry(0, 0, 697, 340);
    Image1->setPixmap(QPixmap(":/splash/splash_fr.png"));
    Image2 = new QLabel(this);
    Image2->setObjectName("Image2");
    Image2->setGeometry(0, 0, 697, 340);
    Image2->setPixmap(QPixmap(":/splash/splash_en.png"));
    if (language == "FR") Image2->hide();
    if (language == "EN") Image1->hide();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - QPoint(697 / 2, 340 / 2));
}

bool TForm4::ShowPainted(int timeoutMs) {
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
