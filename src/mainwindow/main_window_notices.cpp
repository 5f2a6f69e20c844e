// The time label beside the progress texts, the notice of a written file with the
// button that opens its folder, and the box of a failure.
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

#include "mainwindow/main_window.h"
#include "mainwindow/texts.h"
#include "mainwindow/user_dialogs.h"

using namespace transcoda::gui;

namespace {
// The time label runs from the end of the progress text to the status; the button
// takes the end of that room while a notice is shown.
constexpr int kTimeLeft = 300;
constexpr int kTimeRight = 615;
constexpr int kButtonWidth = 112;
}  // namespace

void MainWindow::CreateNoticeControls() {
    TimeLabel = new QLabel(panel);
    TimeLabel->setObjectName("TimeLabel");
    // Its texts are given when it is shown, in the language the window took meanwhile.
    OpenFolderButton = new QPushButton(panel);
    OpenFolderButton->setObjectName("OpenFolderButton");
    OpenFolderButton->hide();
    connect(OpenFolderButton, &QPushButton::clicked, this, &MainWindow::OpenWrittenFolder);
}

void MainWindow::PlaceTimeRow(int top) {
    TimeLabel->setGeometry(kTimeLeft, top, kTimeRight - kTimeLeft, 16);
    OpenFolderButton->setGeometry(kTimeRight - kButtonWidth, top - 2, kButtonWidth, 20);
}

void MainWindow::ShowTimeText(const QString& text) {
    writtenFolder_.clear();
    OpenFolderButton->hide();
    TimeLabel->setToolTip({});
    TimeLabel->resize(kTimeRight - kTimeLeft, TimeLabel->height());
    TimeLabel->setText(text);
}

void MainWindow::ShowWrittenNotice(const QString& text, const QString& folder) {
    writtenFolder_ = folder;
    const int width = kTimeRight - kTimeLeft - kButtonWidth - 6;
    TimeLabel->resize(width, TimeLabel->height());
    // A long path keeps its beginning and its file name; the whole notice is the tooltip.
    TimeLabel->setText(QFontMetrics(TimeLabel->font()).elidedText(text, Qt::ElideMiddle, width));
    TimeLabel->setToolTip(text);
    OpenFolderButton->setText(Lang("Ouvrir le dossier", "Open folder"));
    OpenFolderButton->setToolTip(Lang("Ouvre le dossier du fichier écrit", "Opens the folder of the written file"));
    OpenFolderButton->setVisible(!folder.isEmpty());
    if (!isActiveWindow()) Dialogs().Notify(Caption(), text);
}

void MainWindow::OpenWrittenFolder() {
    if (!writtenFolder_.isEmpty()) Dialogs().OpenExternal(QUrl::fromLocalFile(writtenFolder_));
}

void MainWindow::ShowFailure(const QString& text, const QString& details) {
    Dialogs().Failure(this, applicationTitle_, text, details);
}
