// The shortcut pictures and the diagnostic log.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "exec/app_state.h"
#include "mainwindow/main_window.h"

using transcoda::App;
using namespace transcoda::gui;

namespace {

struct ShortcutSpec {
    const char* name;  // the picture's objectName
    int left;
    const char* hint;
    int imageIndex;
    int formatIndex;
};

// Left to right, all 44 x 39 with their top edge at 228.
const ShortcutSpec kShortcuts[] = {
    {"fullHdShortcut", 6, "Full HD", 0, 1},
    {"hdReadyShortcut", 56, "HD Ready", 1, 0},
    {"mpegShortcut", 106, "MPEG", 2, 3},
    {"flashShortcut", 156, "Flash", 3, 6},
    {"wmvShortcut", 206, "WMV (Windows Media Video)", 4, 12},
    {"mobileShortcut", 256, "3GPP (Video Mobile)", 5, 13},
    {"quickTimeShortcut", 306, "Quick Time", 6, 19},
    {"iphoneShortcut", 356, "iPhone", 8, 26},
    {"playstationShortcut", 406, "Playstation", 9, 27},
    {"xboxShortcut", 456, "Xbox", 10, 31},
    {"dvdShortcut", 506, "DVD", 11, 32},
    {"audioShortcut", 556, "Audio", 12, 34},
    {"divxShortcut", 606, nullptr, 13, 1},
    {"segmentShortcut", 656, "Extraction de partie video/audio", 7, 39},
    {"lagShortcut", 706, "Correction et Synchronisation vidéo/audio", 14, 38},
};

}  // namespace

PictureButton* MainWindow::Shortcut(const QString& name) const {
    for (PictureButton* picture : shortcuts_)
        if (picture->objectName() == name) return picture;
    return nullptr;
}

void MainWindow::CreateShortcuts() {
    for (const ShortcutSpec& s : kShortcuts) {
        auto* picture = new PictureButton(s.name, panel);
        picture->setGeometry(s.left, 228, 44, 39);
        if (s.hint != nullptr) picture->setToolTip(QString::fromUtf8(s.hint));
        shortcuts_.push_back(picture);
        SetPictureState(picture, formatsNormal_, s.imageIndex);
        const int k = s.imageIndex;
        const int f = s.formatIndex;
        connect(picture, &PictureButton::MouseEnter, this, [this, picture, k] { SetPictureState(picture, formatsOver_, k); });
        connect(picture, &PictureButton::MouseDown, this, [this, picture, k] { SetPictureState(picture, formatsDown_, k); });
        connect(picture, &PictureButton::MouseLeave, this, [this, picture, k] { SetPictureState(picture, formatsNormal_, k); });
        connect(picture, &PictureButton::MouseUp, this, [this, picture, k, f] {
            SetPictureState(picture, formatsNormal_, k);
            // Selecting from code raises no change event, so the output name is
            // rewritten here as a change by the user would.
            presetCombo->setCurrentIndex(f);
            UpdateOutputName();
        });
    }
}

void MainWindow::AppendLog(const QString& line) {
    if (!App().DebugMode) return;
    diagnosticLog->appendPlainText(line);
}

void MainWindow::onCopyLogClicked() {
    diagnosticLog->setFocus();
    diagnosticLog->selectAll();
    // The whole text goes to the clipboard, also when it is empty.
    QApplication::clipboard()->setText(diagnosticLog->toPlainText());
}
