// What the conversion controller has the window show: the Convert/Stop picture, its
// caption and the list buttons in each state of a conversion, and the window going.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "exec/log.h"
#include "mainwindow/main_window.h"
#include "mainwindow/queue_panel.h"
#include "mainwindow/texts.h"

using transcoda::LogError;
using namespace transcoda::gui;

namespace {
const char* const kImageError = " -- Erreur de chargement de l'image associée à \"la conversion\"";
}  // namespace

void MainWindow::ShowConvertPicture(const ImageList& list, int index) {
    if (!SetPictureState(convertStopPicture, list, index)) LogError(kImageError);
}

void MainWindow::ShowConvertingLook(bool forList) {
    // The notice of the last conversion goes: its time label takes its place.
    ShowTimeText({});
    ShowConvertPicture(stopImages_, 0);
    convertCaption->setText(kStopCaption);
    queue_->SetEditable(false);
    // The list's button is its Stop while the list runs; a single conversion disables it.
    if (forList) queue_->convertQueue->setText(kListStopCaption);
    queue_->convertQueue->setEnabled(forList);
}

void MainWindow::ShowStoppedLook() {
    ShowConvertPicture(convertImages_, 0);
    convertCaption->setText(ConvertCaption());
    queue_->SetEditable(true);
    queue_->convertQueue->setEnabled(true);
    // After a stop by the user the list button reads the French caption in both languages.
    queue_->convertQueue->setText(kListConvertCaptionFr);
}

void MainWindow::ShowIdleLook() {
    SetPictureState(convertStopPicture, convertImages_, 0);
    convertCaption->setText(ConvertCaption());
    queue_->SetEditable(true);
    queue_->convertQueue->setEnabled(true);
    convertStopPicture->repaint();
}

bool MainWindow::ShowWorkDoneLook(bool forList, bool keepListCaption) {
    const bool loaded = SetPictureState(convertStopPicture, convertImages_, 0);
    convertCaption->setText(ConvertCaption());
    convertStopPicture->update();
    if (forList) {
        // After a Stop by the user the button keeps "Convertir la liste" in both
        // languages until a list conversion ends by itself.
        if (!keepListCaption) queue_->convertQueue->setText(Lang("Convertir la liste", "Convert the list"));
    } else {
        queue_->convertQueue->setEnabled(true);
    }
    queue_->SetEditable(true);
    return loaded;
}

void MainWindow::ArmCloseTimer(int ms) {
    QTimer::singleShot(ms, this, [this] { controller_->CloseTimedOut(); });
}

void MainWindow::CloseWindow() {
    close();
    if (quitWhenClosed_) QApplication::quit();
}
