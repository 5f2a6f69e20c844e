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
#include "mainwindow/TForm1.h"
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

void TForm1::Image4MouseDown() {
    if (!controller_->ConversionUnderWay()) {
        Memo1->clear();
        LogEvent(" -- L'utilisateur a demandé une conversion de \"" + S(Edit1->text()) + "\" vers \"" +
                 S(Edit2->text()) + "\" avec le format \"" + S(ComboBox1->currentText()) + "\"");
        SetPictureState(Image4, convertList1_, 1);
        Label6->setText(ConvertCaption());
    } else {
        LogEvent(" -- Le logiciel est déjà en cours de convertir quelque chose.");
        SetPictureState(Image4, convertStopList1_, 1);
        Label6->setText(kStopCaption);
    }
}

void TForm1::Image4MouseEnter() {
    if (controller_->ConversionUnderWay()) {
        SetPictureState(Image4, convertStopList1_, 2);
        Label6->setText(kStopCaption);
    } else {
        SetPictureState(Image4, convertList1_, 2);
        Label6->setText(ConvertCaption());
    }
}

void TForm1::Image4MouseLeave() {
    if (controller_->ConversionUnderWay()) {
        if (!SetPictureState(Image4, convertStopList1_, 0)) LogPlain("Erreur de traitement de mouse leave");
        Label6->setText(kStopCaption);
    } else {
        SetPictureState(Image4, convertList1_, 0);
        Label6->setText(ConvertCaption());
    }
}

void TForm1::Image4MouseUp() {
    if (controller_->ConversionUnderWay()) {
        controller_->Stop();
        return;
    }
    if (!controller_->BeginOne()) return;
    if (!transcoda::InputFileExists(S(Edit1->text()))) {
        ReturnToIdle();
        ChooseInputFile();
        return;
    }
    LogEvent(" -- Début de lancement de la méthode de conversion..");
    ConvertOneFile();
    LogEvent(" -- Fin de lancement à la méthode de conversion..");
}

void TForm1::ConvertOneFile() {
    UpdateOutputName();
    App().Request = {S(Edit1->text()), S(Edit2->text()), S(ComboBox1->currentText())};
    UpdateOutputName();
    WriteConversionPreferences();
    controller_->ConvertOne(*this);
}

void TForm1::ReturnToIdle() { controller_->Cancel(); }

bool TForm1::RestoreConvertButton(bool forList) { return controller_->WorkDone(forList); }

void TForm1::UpdateOutputName() {
    // A name made for an empty field is never one that a row of the list writes.
    const std::string rewritten =
        transcoda::OutputBesideInput(S(ComboBox1->currentText()), S(Edit1->text()), S(Edit2->text()),
                                     [this](const std::string& output) { return OutputInList(ToQString(output)); });
    if (ToQString(rewritten) != Edit2->text()) Edit2->setText(ToQString(rewritten));
}

void TForm1::ComboBox1Change() { UpdateOutputName(); }

void TForm1::ChooseInputFile() {
    const QString picked = Dialogs().PickFile(this, InputDialogTitle(), QtFilter(inputFilter_),
                                              inputDialogName_.isEmpty() ? Edit1->text() : inputDialogName_, true);
    // A cancelled dialog keeps the name chosen last, and that name is applied again.
    if (!picked.isEmpty()) inputDialogName_ = picked;
    if (!inputDialogName_.isEmpty()) ApplyInputFile(inputDialogName_);
}

void TForm1::ApplyInputFile(const QString& path) {
    Edit1->setText(path);
    App().Request.InputPath = S(path);
    WriteSourcePreference();
}

void TForm1::ChooseOutputFile() {
    const QString picked = Dialogs().PickFile(this, OutputDialogTitle(), QtFilter(outputFilter_),
                                              outputDialogName_.isEmpty() ? Edit2->text() : outputDialogName_, false);
    if (!picked.isEmpty()) outputDialogName_ = picked;
    if (!outputDialogName_.isEmpty()) ApplyOutputFile(outputDialogName_);
}

void TForm1::ApplyOutputFile(const QString& path) {
    Edit2->setText(path);
    App().Request.OutputPath = S(path);
    WriteDestinationPreference();
}

void TForm1::Button1Click() { ChooseInputFile(); }
void TForm1::Button2Click() { ChooseOutputFile(); }

void TForm1::Button6Click() {
    // The folder that holds the output: for a DVD output (a folder path) its parent.
    const QString folder = QDir::cleanPath(QFileInfo(Edit2->text() + "/..").absoluteFilePath());
    Dialogs().OpenExternal(QUrl::fromLocalFile(folder));
}

void TForm1::AboutRelease() {
    const QString page = QString("https://%1/%2/").arg(QString::fromUtf8(transcoda::kProductWebAddress),
                                                       App().English() ? "en" : "fr");
    Dialogs().OpenExternal(QUrl(page));
}

void TForm1::CloseRelease() {
    // The window's close asks first while a conversion runs, and may be refused, or wait
    // for the stopped conversion's end: the program then ends when the window goes.
    quitWhenClosed_ = true;
    if (close()) QApplication::quit();
    else if (controller_->Current() != transcoda::ConversionController::State::Closing) quitWhenClosed_ = false;
}

void TForm1::Button3Click() { controller_->StartDiagnostic("test"); }

void TForm1::Button4Click() { controller_->StartDiagnostic("testThread2"); }

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* data = event->mimeData();
    if (data->hasUrls() && data->urls().size() == 1 && data->urls().first().isLocalFile())
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile()) return;
    const QString path = urls.first().toLocalFile();
    if (!QFileInfo(path).isFile()) return;
    event->acceptProposedAction();
    inputDialogName_ = path;
    ApplyInputFile(path);
}
