#pragma once
// The shell the two special-operation dialogs share: the window set up with its
// background panel, the input file's row at its top, which shows the main window's input
// path each time the dialog becomes active, the place in the middle of the desktop when
// it opens, and the English texts put in place at creation.

#include <QDialog>
#include <QString>
#include <initializer_list>

class QLabel;
class QLineEdit;

class InputDialog : public QDialog {
    Q_OBJECT
public:
    // The main window's input path, shown from the next activation on.
    void SetInputPath(const QString& path) { inputPath_ = path; }
    // Becoming the active window: inputPathField := the main window's input path.
    void ShowInputPath();

    QLabel* inputLabel = nullptr;
    QLineEdit* inputPathField = nullptr;

protected:
    // A fixed dialog width x height named `name`, titled `title` (French) until the
    // English texts replace it.
    InputDialog(const char* name, const QString& title, int width, int height, QWidget* parent);

    // The panel on which the controls go.
    QWidget* Panel() const { return panel_; }
    // The input file's caption at the height labelTop and its read-only field below it.
    void AddInputRow(const QString& caption, int labelTop);

    // One caption of the English texts: a label (fitted to its new text) or a button.
    struct EnglishText {
        QWidget* widget;
        const char* text;
    };
    // In English only: the title and the captions given.
    void ApplyEnglish(const char* title, std::initializer_list<EnglishText> texts);

    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QWidget* panel_;
    QString inputPath_;
};
