#pragma once
// The splash window shown while the application's windows are created: no border,
// 697 x 340, centred, the French picture over the English one.

#include <QString>
#include <QWidget>

class QLabel;

class TForm4 : public QWidget {
    Q_OBJECT
public:
    // language: "FR" shows Image1 (French), "EN" Image2 (English).
    explicit TForm4(const QString& language = "FR", QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
};
