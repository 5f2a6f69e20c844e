// The shortcut pictures and the diagnostic log.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "exec/app_state.h"
#include "mainwindow/TForm1.h"

using transcoda::App;
using namespace transcoda::gui;

namespace {

struct ShortcutSpec {
    int imageNumber;  // the component is Image<imageNumber>
    int left;
    const char* hint;
    int imageIndex;
    int formatIndex;
};

// Left to right, all 44 x 39 with their top edge at 228.
const ShortcutSpec kShortcuts[] = {
    {22, 6, "Full HD", 0, 1},
    {21, 56, "HD Ready", 1, 0},
    {20, 106, "MPEG", 2, 3},
    {19, 156, "Flash", 3, 6},
    {18, 206, "WMV (Windows Media Video)", 4, 12},
    {17, 256, "3GPP (Video Mobile)", 5, 13},
    {16, 306, "Quick Time", 6, 19},
    {14, 356, "iPhone", 8, 26},
    {13, 406, "Playstation", 9, 27},
    {12, 456, "Xbox", 10, 31},
    {11, 506, "DVD", 11, 32},
    {10, 556, "Audio", 12, 34},
    {9, 606, nullptr, 13, 1},
    {15, 656, "Extraction de partie video/audio", 7, 39},
    {6, 706, "Correction et Synchronisation vidéo/audio", 14, 38},
};

}  // namespace

PictureButton* TForm1::Shortcut(int imageNumber) const {
    return imageNumber >= 0 && imageNumber < 23 ? shortcuts_[imageNumber] : nullptr;
}

void TForm1::CreateShortcuts() {
    for (const ShortcutSpec& s : kShortcuts) {
        auto* picture = new PictureButton(QString("Image%1").arg(s.imageNumber), Panel1);
        picture->setGeometry(s.left, 228, 44, 39);
        if (s.hint != nullptr) picture->setToolTip(QString::fromUtf8(s.hint));
        shortcuts_[s.imageNumber] = picture;
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
            ComboBox1->setCurrentIndex(f);
            UpdateOutputName();
        });
    }
}

void TForm1::AppendLog(const QString& line) {
    if (!App().DebugMode) return;
    Memo1->appendPlainText(line);
}

void TForm1::Button5Click() {
    Memo1->setFocus();
    Memo1->selectAll();
    // The whole text goes to the clipboard, also when it is empty.
    QApplication::clipboard()->setText(Memo1->toPlainText());
}
