#include "TForm4.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

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
