// What the conversion controller has the window show: the Convert/Stop picture, its
// caption and the list buttons in each state of a conversion, and the window going.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "exec/log.h"
#include "mainwindow/TForm1.h"
#include "mainwindow/texts.h"

using transcoda::LogError;
using namespace transcoda::gui;

namespace {
const char* const kImageError = " -- Erreur de chargement de l'image associée à \"la conversion\"";
}  // namespace

void TForm1::ShowConvertPicture(const ImageList& list, int index) {
    if (!SetPictureState(Image4, list, index)) LogError(kImageError);
}

void TForm1::SetListButtonsEnabled(bool enabled) {
    for (QPushButton* b : {Button7, Button8, Button9}) b->setEnabled(enabled);
}

void TForm1::ShowConvertingLook(bool forList) {
    // The notice of the last conversion goes: its time label takes its place.
    ShowTimeText({});
    ShowConvertPicture(convertStopList1_, 0);
    Label6->setText(kStopCaption);
    SetListButtonsEnabled(false);
    // The list's button is its Stop while the list runs; a single conversion disables it.
    if (forList) Button10->setText(kListStopCaption);
    Button10->setEnabled(forList);
}

void TForm1::ShowStoppedLook() {
    ShowConvertPicture(convertList1_, 0);
    Label6->setText(ConvertCaption());
    for (QPushButton* b : {Button10, Button7, Button8, Button9}) b->setEnabled(true);
    // After a stop by the user the list button reads the French caption in both languages.
    Button10->setText(kListConvertCaptionFr);
}

void TForm1::ShowIdleLook() {
    SetPictureState(Image4, convertList1_, 0);
    Label6->setText(ConvertCaption());
    for (QPushButton* b : {Button10, Button7, Button8, Button9}) b->setEnabled(true);
    Image4->repaint();
}

bool TForm1::ShowWorkDoneLook(bool forList, bool keepListCaption) {
    const bool loaded = SetPictureState(Image4, convertList1_, 0);
    Label6->setText(ConvertCaption());
    Image4->update();
    if (forList) {
        // After a Stop by the user the button keeps "Convertir la liste" in both
        // languages until a list conversion ends by itself.
        if (!keepListCaption) Button10->setText(Lang("Convertir la liste", "Convert the list"));
    } else {
        Button10->setEnabled(true);
    }
    SetListButtonsEnabled(true);
    return loaded;
}

void TForm1::ArmCloseTimer(int ms) {
    QTimer::singleShot(ms, this, [this] { controller_->CloseTimedOut(); });
}

void TForm1::CloseWindow() {
    close();
    if (quitWhenClosed_) QApplication::quit();
}
