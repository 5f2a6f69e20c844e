// The single conversion: the Convert/Stop picture, the checks and questions before the
// worker starts, the file pickers, the folder view, About and Close.
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
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "conversion/worker.h"
#include "dialogs/TForm8.h"
#include "dialogs/TForm9.h"
#include "exec/app_state.h"
#include "exec/log.h"
#include "mainwindow/TForm1.h"
#include "mainwindow/folder_check.h"
#include "mainwindow/qt_window_port.h"
#include "mainwindow/texts.h"
#include "mainwindow/user_dialogs.h"
#include "recipes/default_output.h"
#include "recipes/format_catalogue.h"
#include "recipes/output_guard.h"
#include "recipes/path_rules.h"
#include "recipes/sync_lag.h"

using transcoda::App;
using transcoda::LogEvent;
using transcoda::LogPlain;
using namespace transcoda::gui;

namespace {

std::string S(const QString& text) { return text.toStdString(); }
QString ToQString(const std::string& text) { return QString::fromStdString(text); }

bool FileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}


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
    if (!FileExists(S(Edit1->text()))) {
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

    const transcoda::ConversionRequest request = App().Request;
    if (!transcoda::IsSupportedFormat(request.FormatLabel)) {
        Dialogs().Message(this, applicationTitle_, MsgUnsupportedFormat());
        LogEvent(" -- Le format cible n'est pas pris en considération");
        ReturnToIdle();
        return;
    }
    if (!CheckConversionPaths(request.InputPath, request.OutputPath, request.FormatLabel)) {
        ReturnToIdle();
        return;
    }
    if (request.FormatLabel == kExtractionLabel) {
        App().ExtractionStart = transcoda::kNoExtractionValue;
        App().ExtractionLength = transcoda::kNoExtractionValue;
        if (form9_ == nullptr) form9_ = new TForm9(this);
        form9_->SetInputPath(Edit1->text());
        Dialogs().RunModal(form9_);
        if (App().ExtractionStart != transcoda::kNoExtractionValue &&
            App().ExtractionLength != transcoda::kNoExtractionValue)
            controller_->StartOne();
        else
            ReturnToIdle();
        return;
    }
    if (request.FormatLabel == kSyncLabel) {
        LogPlain("On affiche la fenetre de setting de SYNCHRO");
        App().SyncDelay = transcoda::kNoSyncDelay;
        if (form8_ == nullptr) form8_ = new TForm8(this);
        form8_->SetInputPath(Edit1->text());
        Dialogs().RunModal(form8_);
        const std::string delay = App().SyncDelay;
        // A zero lag, whatever its sign and number of zero digits, corrects nothing.
        const bool zero = transcoda::IsZeroLag(delay);
        if (delay != transcoda::kNoSyncDelay && !zero) {
            controller_->StartOne();
            return;
        }
        ReturnToIdle();
        if (zero) Dialogs().Message(this, applicationTitle_, MsgZeroLag());
        return;
    }
    controller_->StartOne();
}

bool TForm1::CheckConversionPaths(const std::string& input, const std::string& output,
                                  const std::string& label) {
    // The input is tested first on every branch: a missing input must never lead to the
    // deletion of an existing output or to the reuse of a full DVD folder.
    if (!FileExists(input)) {
        Dialogs().Message(this, applicationTitle_, MsgMissingInput());
        LogEvent(" -- Le fichier d'entrée n'existe pas, l'erreur est signalée à l'utilisateur");
        return false;
    }
    // Replacing the output must never destroy the input itself.
    const bool dvd = transcoda::IsDvdFormat(label);
    if (transcoda::OutputWouldDestroyInput(input, output, dvd)) {
        Dialogs().Message(this, applicationTitle_, dvd ? MsgInputInDvdFolder() : MsgOutputIsInput());
        LogEvent(" -- Le fichier de sortie remplacerait le fichier d'entrée, l'erreur est signalée à l'utilisateur");
        return false;
    }
    // Only a regular file is ever replaced, never a folder, a device or the program's own.
    const std::string refusal = transcoda::OutputRefusal(output, label);
    if (!refusal.empty()) {
        Dialogs().Message(this, applicationTitle_, ToQString(refusal));
        LogEvent(" -- " + refusal);
        return false;
    }
    if (!dvd) {
        std::error_code ec;
        if (std::filesystem::exists(output, ec)) {
            // The old file stays until the new one is complete and takes its place.
            if (Dialogs().Question(this, kQuestionCaption, MsgReplaceOutput())) {
                LogEvent(" -- Lancement du TH pour la conversion avec écrasement du fichier cible");
                return true;
            }
            LogEvent(" -- L'utilisateur ne souhaite pas l'écrasement du fichier cible");
            return false;
        }
        LogEvent(" -- Lancement du TH pour la conversion");
        return true;
    }
    if (FolderIsUsable(output)) {
        LogEvent(" -- Lancement du TH pour la conversion");
        return true;
    }
    LogPlain("LE dossier n'est pas vide!!!");
    if (Dialogs().Question(this, kQuestionCaption, MsgFolderNotEmpty(ToQString(output)))) return true;
    LogEvent(" -- L'utilisateur ne souhaite pas l'écrasement du dossier DVD cible");
    return false;
}

void TForm1::ReturnToIdle() { controller_->Cancel(); }

bool TForm1::RestoreConvertButton(bool forList) { return controller_->WorkDone(forList); }

void TForm1::UpdateOutputName() {
    const std::string rewritten = transcoda::OutputBesideInput(S(ComboBox1->currentText()),
                                                               S(Edit1->text()), S(Edit2->text()));
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
