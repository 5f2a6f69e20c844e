// The single conversion: the Convert/Stop picture, the request it hands to the
// controller, the file pickers, the folder view, About and Close.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>

#include "conversion/request_checks.h"
#include "exec/app_state.h"
#include "exec/log.h"
#include "mainwindow/main_window.h"
#include "mainwindow/queue_panel.h"
#include "mainwindow/texts.h"
#include "mainwindow/user_dialogs.h"
#include "recipes/default_output.h"

using transcoda::App;
using transcoda::LogEvent;
using transcoda::LogPlain;
using namespace transcoda::gui;

namespace {

std::string S(const QString& text) { return text.toStdString(); }
QString ToQString(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void MainWindow::onConvertPressed() {
    if (!controller_->ConversionUnderWay()) {
        diagnosticLog->clear();
        LogEvent(" -- L'utilisateur a demandé une conversion de \"" + S(inputPathEdit->text()) + "\" vers \"" +
                 S(outputPathEdit->text()) + "\" avec le format \"" + S(presetCombo->currentText()) + "\"");
        SetPictureState(convertStopPicture, convertImages_, 1);
        convertCaption->setText(ConvertCaption());
    } else {
        LogEvent(" -- Le logiciel est déjà en cours de convertir quelque chose.");
        SetPictureState(convertStopPicture, stopImages_, 1);
        convertCaption->setText(kStopCaption);
    }
}

void MainWindow::onConvertEntered() {
    if (controller_->ConversionUnderWay()) {
        SetPictureState(convertStopPicture, stopImages_, 2);
        convertCaption->setText(kStopCaption);
    } else {
        SetPictureState(convertStopPicture, convertImages_, 2);
        convertCaption->setText(ConvertCaption());
    }
}

void MainWindow::onConvertLeft() {
    if (controller_->ConversionUnderWay()) {
        if (!SetPictureState(convertStopPicture, stopImages_, 0)) LogPlain("Erreur de traitement de mouse leave");
        convertCaption->setText(kStopCaption);
    } else {
        SetPictureState(convertStopPicture, convertImages_, 0);
        convertCaption->setText(ConvertCaption());
    }
}

void MainWindow::onConvertReleased() {
    if (controller_->ConversionUnderWay()) {
        controller_->Stop();
        return;
    }
    if (!controller_->BeginOne()) return;
    if (!transcoda::InputFileExists(S(inputPathEdit->text()))) {
        ReturnToIdle();
        ChooseInputFile();
        return;
    }
    LogEvent(" -- Début de lancement de la méthode de conversion..");
    ConvertOneFile();
    LogEvent(" -- Fin de lancement à la méthode de conversion..");
}

void MainWindow::ConvertOneFile() {
    UpdateOutputName();
    App().Request = {S(inputPathEdit->text()), S(outputPathEdit->text()), S(presetCombo->currentText())};
    UpdateOutputName();
    WriteConversionPreferences();
    controller_->ConvertOne(*this);
}

void MainWindow::ReturnToIdle() { controller_->Cancel(); }

bool MainWindow::RestoreConvertButton(bool forList) { return controller_->WorkDone(forList); }

void MainWindow::UpdateOutputName() {
    // A name made for an empty field is never one that a row of the list writes.
    const std::string rewritten =
        transcoda::OutputBesideInput(S(presetCombo->currentText()), S(inputPathEdit->text()), S(outputPathEdit->text()),
                                     [this](const std::string& output) { return queue_->OutputInList(ToQString(output)); });
    if (ToQString(rewritten) != outputPathEdit->text()) outputPathEdit->setText(ToQString(rewritten));
}

void MainWindow::onPresetChanged() { UpdateOutputName(); }

void MainWindow::ChooseInputFile() {
    const QString picked = Dialogs().PickFile(this, InputDialogTitle(), QtFilter(inputFilter_),
                                              inputDialogName_.isEmpty() ? inputPathEdit->text() : inputDialogName_, true);
    // A cancelled dialog keeps the name chosen last, and that name is applied again.
    if (!picked.isEmpty()) inputDialogName_ = picked;
    if (!inputDialogName_.isEmpty()) ApplyInputFile(inputDialogName_);
}

void MainWindow::ApplyInputFile(const QString& path) {
    inputPathEdit->setText(path);
    App().Request.InputPath = S(path);
    WriteSourcePreference();
}

void MainWindow::ChooseOutputFile() {
    const QString picked = Dialogs().PickFile(this, OutputDialogTitle(), QtFilter(outputFilter_),
                                              outputDialogName_.isEmpty() ? outputPathEdit->text() : outputDialogName_, false);
    if (!picked.isEmpty()) outputDialogName_ = picked;
    if (!outputDialogName_.isEmpty()) ApplyOutputFile(outputDialogName_);
}

void MainWindow::ApplyOutputFile(const QString& path) {
    outputPathEdit->setText(path);
    App().Request.OutputPath = S(path);
    WriteDestinationPreference();
}

void MainWindow::onChooseInputClicked() { ChooseInputFile(); }
void MainWindow::onChooseOutputClicked() { ChooseOutputFile(); }

void MainWindow::onOpenOutputFolderClicked() {
    // The folder that holds the output: for a DVD output (a folder path) its parent.
    const QString folder = QDir::cleanPath(QFileInfo(outputPathEdit->text() + "/..").absoluteFilePath());
    Dialogs().OpenExternal(QUrl::fromLocalFile(folder));
}

void MainWindow::AboutRelease() {
    const QString page = QString("https://%1/%2/").arg(QString::fromUtf8(transcoda::kProductWebAddress),
                                                       App().English() ? "en" : "fr");
    Dialogs().OpenExternal(QUrl(page));
}

void MainWindow::CloseRelease() {
    // The window's close asks first while a conversion runs, and may be refused, or wait
    // for the stopped conversion's end: the program then ends when the window goes.
    quitWhenClosed_ = true;
    if (close()) QApplication::quit();
    else if (controller_->Current() != transcoda::ConversionController::State::Closing) quitWhenClosed_ = false;
}

void MainWindow::onTestCommandClicked() { controller_->StartDiagnostic("test"); }

void MainWindow::onTestReaderClicked() { controller_->StartDiagnostic("testThread2"); }

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* data = event->mimeData();
    if (data->hasUrls() && data->urls().size() == 1 && data->urls().first().isLocalFile())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile()) return;
    const QString path = urls.first().toLocalFile();
    if (!QFileInfo(path).isFile()) return;
    event->acceptProposedAction();
    inputDialogName_ = path;
    ApplyInputFile(path);
}
