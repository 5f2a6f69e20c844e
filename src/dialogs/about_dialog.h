#pragma once
// The program's own About window: its name, version and build date, what it does, its web
// page, and the licences of the libraries and engines it runs (Qt, ffmpeg's libraries,
// libopencore-amrnb, dvdauthor, mpv). The web link is handed to the window that opens
// the dialog, which tells the user when the desktop cannot open it.

#include <QDialog>
#include <QUrl>
#include <functional>

class QLabel;
class QPushButton;

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    // `version` ("1.0") and `built` (the build date) as the caption shows them; `page`
    // the product's web page; `openPage` hears a click on its link.
    AboutDialog(QWidget* parent, const QString& version, const QString& built, const QUrl& page,
                std::function<void(const QUrl&)> openPage);

    QLabel* heading = nullptr;
    QLabel* webLink = nullptr;
    QLabel* licences = nullptr;
    QPushButton* closeButton = nullptr;
};
