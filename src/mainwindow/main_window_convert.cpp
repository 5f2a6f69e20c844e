// The single conversion: the Convert/Stop picture, the request it hands to the
// controller, the output name, a file dropped on the window, About and Close.
#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include "conversion/request_checks.h"
#include "dialogs/about_dialog.h"
#include "exec/app_state.h"
#include "exec/log.h"
#include "mainwindow/main_window.h"
#include "mainwindow/desktop_open.h"
#include "mainwindow/diagnostic_log_part.h"
#include "mainwindow/files_part.h"
#include "mainwindow/preset_picker.h"
#include "mainwindow/queue_panel.h"
#include "mainwindow/texts.h"
#include "mainwindow/user_dialogs.h"

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
        log_->Clear();
        LogEvent(" -- L'utilisateur a demandé une conversion de \"" + S(files_->Input()) + "\" vers \"" +
                 S(files_->Output()) + "\" avec le format \"" + S(presets_->Chosen()) + "\"");
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
    // A path still being typed is checked first, as leaving the field would.
    files_->CheckTypedInput();
    if (!transcoda::InputFileExists(S(files_->Input()))) {
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
    // The request is what the fields hold now; the second renaming reaches only the field.
    transcoda::ConversionRequest request{S(files_->Input()), S(files_->Output()),
                                         S(presets_->Chosen())};
    UpdateOutputName();
    WriteConversionPreferences(request.OutputPath);
    controller_->ConvertOne(std::move(request), *this);
}

void MainWindow::ReturnToIdle() { controller_->Cancel(); }

bool MainWindow::RestoreConvertButton(bool forList) { return controller_->WorkDone(forList); }

void MainWindow::UpdateOutputName() {
    // A name made for an empty field is never one that an item of the list writes.
    files_->UpdateOutputName(presets_->Chosen(),
                             [this](const std::string& output) { return queue_->OutputInList(ToQString(output)); });
}

void MainWindow::FollowInput(const QString& previous) {
    files_->FollowInput(presets_->presetCombo->currentText(), previous,
                        [this](const std::string& output) { return queue_->OutputInList(ToQString(output)); });
}

void MainWindow::OpenFiles(const QStringList& paths) {
    if (paths.size() > 1) {
        queue_->AddDroppedFiles(paths);
        return;
    }
    if (paths.isEmpty()) return;
    // One file is a pick; a name that is no file to convert is told, and nothing changes.
    const QString refusal = FilesPart::InputRefusal(paths.first());
    if (!refusal.isEmpty()) {
        ShowMessage(refusal);
        return;
    }
    files_->TakeDroppedInput(paths.first());
}

void MainWindow::ChooseInputFile() { files_->ChooseInputFile(); }

void MainWindow::ChooseOutputFile() { files_->ChooseOutputFile(); }

void MainWindow::AboutRelease() {
    const QUrl page(QString("https://%1/%2/").arg(QString::fromUtf8(transcoda::kProductWebAddress),
                                                  App().English() ? "en" : "fr"));
    AboutDialog about(this, kVersion, QString::fromLatin1(__DATE__).simplified(), page,
                      [this](const QUrl& url) { OpenOnDesktop(url, [this](const QString& text) { ShowMessage(text); }); });
    Dialogs().RunModal(&about);
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
    if (FilesPart::DropsOne(event->mimeData())) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString path = FilesPart::DroppedFile(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    files_->TakeDroppedInput(path);
}
