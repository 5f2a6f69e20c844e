#pragma once
// The splash window shown while the application's windows are created: no border,
// 697 x 340, centred, the French picture over the English one.

#include <QString>
#include <QWidget>

class QLabel;

class SplashScreen : public QWidget {
    Q_OBJECT
public:
    // language: "FR" shows frenchPicture (French), "EN" englishPicture (English).
    explicit SplashScreen(const QString& language = "FR", QWidget* parent = nullptr);

    // Shows the splash and paints it on the screen before returning: the desktop maps a
    // new window some time after it is asked to, and a picture painted before then
    // never reaches the screen while no events are handled. Waits for the mapping at
    // most timeoutMs; false when it did not come in time.
    bool ShowPainted(int timeoutMs);

    QLabel* frenchPicture = nullptr;
    QLabel* englishPicture = nullptr;
};
