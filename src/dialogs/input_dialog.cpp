#include "dialogs/input_dialog.h"

#include <QAbstractButton>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>

#include "dialogs/dialog_look.h"
#include "exec/app_state.h"

using namespace transcoda;

InputDialog::InputDialog(const char* name, const QString& title, int width, int height, QWidget* parent)
    : QDialog(parent) {
    setObjectName(name);
    setWindowTitle(title);
    panel_ = SetUpDialogWindow(this, width, height);
}

void InputDialog::AddInputRow(const QString& caption, int labelTop) {
    inputLabel = AddLabel(panel_, "inputLabel", caption, 16, labelTop, LabelKind::Heading);
    inputPathField = AddField(panel_, "inputPathField", QString(), 16, 29, 593);
}

void InputDialog::ApplyEnglish(const char* title, std::initializer_list<EnglishText> texts) {
    if (!App().English()) return;
    setWindowTitle(QString::fromUtf8(title));
    for (const EnglishText& t : texts) {
        if (auto* label = qobject_cast<QLabel*>(t.widget)) {
            label->setText(QString::fromUtf8(t.text));
            label->adjustSize();
        } else if (auto* button = qobject_cast<QAbstractButton*>(t.widget)) {
            button->setText(QString::fromUtf8(t.text));
        }
    }
}

void InputDialog::ShowInputPath() { inputPathField->setText(inputPath_); }

void InputDialog::showEvent(QShowEvent* event) {
    CentreOnDesktop(this);
    ShowInputPath();
    QDialog::showEvent(event);
}

void InputDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) ShowInputPath();
    QDialog::changeEvent(event);
}
