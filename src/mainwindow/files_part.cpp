#include "mainwindow/files_part.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include "exec/app_state.h"
#include "mainwindow/path_drop.h"
#include "settings/preferences.h"
#include "mainwindow/texts.h"
#include "mainwindow/user_dialogs.h"
#include "mainwindow/widget_make.h"
#include "recipes/default_output.h"

namespace transcoda::gui {

namespace {
std::string S(const QString& text) { return text.toStdString(); }
QString Q(const std::string& text) { return QString::fromStdString(text); }
}  // namespace

FilesPart::FilesPart(QWidget* panel, QWidget* window, std::function<void(const QString&)> tell)
    : QObject(window), panel_(panel), window_(window), tell_(std::move(tell)) {}

void FilesPart::CreateControls() {
    inputLabel = MakeLabel(panel_, "inputLabel", "Fichier à convertir :", 8, 128, 128);
    inputPathEdit = new QLineEdit(panel_);
    inputPathEdit->setObjectName("inputPathEdit");
    inputPathEdit->setReadOnly(true);
    inputPathEdit->setGeometry(138, 124, 482, 22);
    chooseInput = MakeButton(panel_, "chooseInput", "Choisir la source...", 626, 123, 127, 24);

    outputLabel = MakeLabel(panel_, "outputLabel", "Fichier de sortie :", 8, 156, 128);
    outputPathEdit = new QLineEdit(panel_);
    outputPathEdit->setObjectName("outputPathEdit");
    outputPathEdit->setGeometry(138, 152, 482, 22);
    // A file dropped on the field is an output pick.
    new PathDrop(outputPathEdit, [this](const QString& path) {
        outputDialogName_ = path;
        ApplyOutputFile(path);
    });
    chooseOutput = MakeButton(panel_, "chooseOutput", "Explorer...", 626, 151, 62, 24);
    openOutputFolder = MakeButton(panel_, "openOutputFolder", "Ouvrir", 691, 151, 62, 24);

    connect(chooseInput, &QPushButton::clicked, this, &FilesPart::ChooseInputFile);
    connect(chooseOutput, &QPushButton::clicked, this, &FilesPart::ChooseOutputFile);
    connect(openOutputFolder, &QPushButton::clicked, this, &FilesPart::OpenOutputFolder);
}

void FilesPart::ApplyLanguage() {
    inputFilter_ = InputFilter();
    outputFilter_ = OutputFilter();
    inputLabel->setText(Lang("Fichier à convertir :", "File to convert"));
    outputLabel->setText(Lang("Fichier de sortie :", "Output File"));
    chooseInput->setText(Lang("Choisir la source...", "Select Input"));
    chooseOutput->setText(Lang("Explorer...", "Explore..."));
    openOutputFolder->setText(Lang("Ouvrir", "Open"));
}

void FilesPart::ApplyHints() {
    chooseInput->setToolTip(Lang("Cliquez ici pour choisir le fichier à convertir",
                                 "Click here to select the file to be converted"));
    chooseOutput->setToolTip(
        Lang("Cliquez ici pour choisir le fichier à créer après conversion",
             "Click here to select the destination file/location (the file that will be created after conversion)"));
    openOutputFolder->setToolTip(Lang("Cliquez ici pour ouvrir le dossier contenant votre fichier converti",
                                      "Click here to open the folder that contains the file to be converted"));
}

void FilesPart::ChooseInputFile() {
    const QString picked = Dialogs().PickFile(window_, InputDialogTitle(), QtFilter(inputFilter_),
                                              inputDialogName_.isEmpty() ? inputPathEdit->text() : inputDialogName_, true);
    // A cancelled dialog keeps the name chosen last, and that name is applied again.
    if (!picked.isEmpty()) inputDialogName_ = picked;
    if (!inputDialogName_.isEmpty()) ApplyInputFile(inputDialogName_);
}

void FilesPart::ApplyInputFile(const QString& path) {
    inputPathEdit->setText(path);
    WriteSourcePreference();
}

void FilesPart::ChooseOutputFile() {
    const QString picked = Dialogs().PickFile(window_, OutputDialogTitle(), QtFilter(outputFilter_),
                                              outputDialogName_.isEmpty() ? outputPathEdit->text() : outputDialogName_, false);
    if (!picked.isEmpty()) outputDialogName_ = picked;
    if (!outputDialogName_.isEmpty()) ApplyOutputFile(outputDialogName_);
}

void FilesPart::ApplyOutputFile(const QString& path) {
    outputPathEdit->setText(path);
    WriteDestinationPreference();
}

void FilesPart::OpenOutputFolder() {
    // The folder that holds the output: for a DVD output (a folder path) its parent.
    const QString folder = QDir::cleanPath(QFileInfo(outputPathEdit->text() + "/..").absoluteFilePath());
    Dialogs().OpenExternal(QUrl::fromLocalFile(folder));
}

bool FilesPart::DropsOne(const QMimeData* data) {
    return data->hasUrls() && data->urls().size() == 1 && data->urls().first().isLocalFile();
}

QString FilesPart::DroppedFile(const QMimeData* data) {
    if (!DropsOne(data)) return {};
    const QString path = data->urls().first().toLocalFile();
    return QFileInfo(path).isFile() ? path : QString();
}

void FilesPart::TakeDroppedInput(const QString& path) {
    inputDialogName_ = path;
    ApplyInputFile(path);
}

void FilesPart::UpdateOutputName(const QString& preset, const std::function<bool(const std::string&)>& queued) {
    const std::string rewritten = OutputBesideInput(S(preset), S(inputPathEdit->text()), S(outputPathEdit->text()), queued);
    if (Q(rewritten) != outputPathEdit->text()) outputPathEdit->setText(Q(rewritten));
}

void FilesPart::Restore(const QString& input, const QString& output) {
    outputPathEdit->setText(output);
    inputPathEdit->setText(input);
}

QString FilesPart::Input() const { return inputPathEdit->text(); }

QString FilesPart::Output() const { return outputPathEdit->text(); }

void FilesPart::WriteSourcePreference() {
    const auto result = WriteSourceFilePreference(App().ProgramFolder, S(inputPathEdit->text()));
    if (!result.Ok()) tell_(Q(result.ErrorText));
}

void FilesPart::WriteDestinationPreference() {
    const auto result = WriteDestinationFilePreference(App().ProgramFolder, S(outputPathEdit->text()));
    if (!result.Ok()) tell_(Q(result.ErrorText));
}

}  // namespace transcoda::gui
