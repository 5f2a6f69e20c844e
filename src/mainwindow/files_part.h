#pragma once
// The window's input and output: the two path fields, their pickers, the button that
// opens the output's folder, a file dropped on the output field or on the window, the
// output name each preset writes, and the two paths kept in the preferences.

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QMimeData;
class QPushButton;
class QWidget;

namespace transcoda::gui {

class FilesPart : public QObject {
    Q_OBJECT
public:
    // The controls go on `panel`; the file dialogs open over `window`; `tell` shows a
    // message box.
    FilesPart(QWidget* panel, QWidget* window, std::function<void(const QString&)> tell);

    void CreateControls();
    // What the window does when the input changes (`previous` is the input before it),
    // and with several files picked at once.
    void SetInputHooks(std::function<void(const QString& previous)> newInput,
                       std::function<void(const QStringList& paths)> severalFiles);
    // The texts of the chosen language at creation: the dialogs' filters, the captions.
    void ApplyLanguage();
    void ApplyHints();

    void ChooseInputFile();
    void ChooseOutputFile();
    // Makes path the input, exactly as a pick in the input dialog does.
    void ApplyInputFile(const QString& path);
    // A path typed or pasted into the input field, checked when the user presses Enter
    // or leaves the field: an existing, readable regular file becomes the input as a
    // pick does; anything else is told, and the field keeps the text to be corrected.
    void CheckTypedInput();
    // Why `path` cannot be an input (missing, not a regular file, unreadable), in the
    // window's language; empty when it can.
    static QString InputRefusal(const QString& path);
    // Makes path the output, exactly as a pick in the output dialog does.
    void ApplyOutputFile(const QString& path);
    void OpenOutputFolder();
    // A drop on the window: one local file, which becomes the input. DropsOne says
    // whether the drag may be accepted; DroppedFile is its path when it is a regular
    // file (empty otherwise), which TakeDroppedInput makes the input.
    static bool DropsOne(const QMimeData* data);
    static QString DroppedFile(const QMimeData* data);
    void TakeDroppedInput(const QString& path);

    // The output field gets the name `preset` writes beside the input, never one that
    // `queued` says an item of the list writes.
    void UpdateOutputName(const QString& preset, const std::function<bool(const std::string&)>& queued);
    // After the input changed from `previous`: an output named after the previous input
    // follows the new one (OutputForNewInput); a name the user chose stays.
    void FollowInput(const QString& preset, const QString& previous,
                     const std::function<bool(const std::string&)>& queued);
    // The paths kept for the next start: the fields as they were read from the file.
    void Restore(const QString& input, const QString& output);

    QString Input() const;
    QString Output() const;

    QLabel *inputLabel = nullptr, *outputLabel = nullptr;
    QLineEdit *inputPathEdit = nullptr, *outputPathEdit = nullptr;
    QPushButton *chooseInput = nullptr, *chooseOutput = nullptr, *openOutputFolder = nullptr;

private:
    void WriteSourcePreference();
    void WriteDestinationPreference();

    QWidget* panel_;
    QWidget* window_;
    std::function<void(const QString&)> tell_;
    // The names the two dialogs chose last: a cancelled dialog applies them again.
    QString inputDialogName_, outputDialogName_;
    QString inputFilter_, outputFilter_;
    // The last input taken: the field's text as the program last set it (a pick, a drop,
    // a checked path, the one kept from the last run), whatever the user typed since.
    QString appliedInput_;
    // A typed path already refused: told once.
    QString refusedTyped_;
    std::function<void(const QString&)> newInput_;
    std::function<void(const QStringList&)> severalFiles_;
};

}  // namespace transcoda::gui
