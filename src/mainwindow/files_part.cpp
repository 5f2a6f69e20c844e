#include "mainwindow/files_part.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QStringList>
#include <QUrl>

#include "conversion/request_checks.h"
#include "exec/app_state.h"
#include "mainwindow/desktop_open.h"
#include "mainwindow/path_drop.h"
#include "settings/preferences.h"
#include "mainwindow/texts.h"
#include "mainwindow/user_dialogs.h"
#include "mainwindow/widget_make.h"
#include "recipes/default_output.h"
#include "recipes/input_pin.h"

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
    inputPathEdit->setGeometry(138, 124, 482, 22);
    // A typed or pasted path is checked when the user presses Enter or leaves the field;
    // a file dropped on it is a drop on the window.
    connect(inputPathEdit, &QLineEdit::editingFinished, this, &FilesPart::CheckTypedInput);
    // Every text set by the program is an input taken; what the user types is not, until
    // it is checked.
    connect(inputPathEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!inputPathEdit->isModified()) appliedInput_ = text;
    });
    new PathDrop(inputPathEdit, [this](const QString& path) {
        if (QFileInfo(path).isFile()) TakeDroppedInput(path);
    });
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

void FilesPart::SetInputHooks(std::function<void(const QString&)> newInput,
                              std::function<void(const QStringList&)> severalFiles) {
    newInput_ = std::move(newInput);
    severalFiles_ = std::move(severalFiles);
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
    const QStringList picked = Dialogs().PickFiles(window_, InputDialogTitle(), QtFilter(inputFilter_),
                                                   inputDialogName_.isEmpty() ? inputPathEdit->text() : inputDialogName_);
    // Several files join the list, as a drop of several files does.
    if (picked.size() > 1) {
        if (severalFiles_) severalFiles_(picked);
        return;
    }
    // A cancelled dialog keeps the name chosen last, and that name is applied again.
    if (!picked.isEmpty()) inputDialogName_ = picked.first();
    if (!inputDialogName_.isEmpty()) ApplyInputFile(inputDialogName_);
}

void FilesPart::ApplyInputFile(const QString& path) {
    // The input the output was named after, whatever the user typed over it since.
    const QString previous = appliedInput_;
    inputPathEdit->setText(path);
    refusedTyped_.clear();
    WriteSourcePreference();
    if (newInput_ && previous != path) newInput_(previous);
}

QString FilesPart::InputRefusal(const QString& path) {
    const std::string name = S(path);
    if (ExistsButIsNotRegular(name)) return Q(NotRegularInputText(name));
    if (!InputFileExists(name))
        return Lang("Le fichier « %1 » n'existe pas.", "The file \"%1\" does not exist.").arg(path);
    if (!QFileInfo(path).isReadable())
        return Lang("Le fichier « %1 » ne peut pas être lu.", "The file \"%1\" cannot be read.").arg(path);
    return {};
}

void FilesPart::CheckTypedInput() {
    if (!inputPathEdit->isModified()) return;  // nothing typed since the last input
    QString typed = inputPathEdit->text().trimmed();
    // What a file manager puts on the clipboard: an address, or a path in quotes.
    if (typed.startsWith("file://")) typed = QUrl(typed).toLocalFile();
    if (typed.size() > 1 && (typed.front() == '\'' || typed.front() == '"') && typed.back() == typed.front())
        typed = typed.mid(1, typed.size() - 2);
    if (typed.isEmpty()) return;
    if (typed == appliedInput_) {
        inputPathEdit->setText(typed);
        return;
    }
    const QString refusal = InputRefusal(typed);
    if (refusal.isEmpty()) {
        inputDialogName_ = typed;
        ApplyInputFile(typed);
        return;
    }
    // Told once: leaving the field again with the same text says nothing more. The
    // text stays, to be corrected.
    if (typed == refusedTyped_) return;
    refusedTyped_ = typed;
    tell_(refusal);
}

void FilesPart::FollowInput(const QString& preset, const QString& previous,
                            const std::function<bool(const std::string&)>& queued) {
    const std::string followed = OutputForNewInput(S(preset), S(previous), S(inputPathEdit->text()),
                                                   S(outputPathEdit->text()), queued);
    if (Q(followed) == outputPathEdit->text()) return;
    outputPathEdit->setText(Q(followed));
    WriteDestinationPreference();
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
    OpenOnDesktop(QUrl::fromLocalFile(folder), tell_);
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
