#pragma once
// The look shared by the two special-operation dialogs: fixed window centred on the
// desktop, Tahoma 13 pixels, a panel covered by the background picture, navy labels on
// it, read-only number fields with spin buttons, and plain push buttons.

#include <QString>
#include <string>

class QDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class SpinButton;

namespace transcoda {

// Fixed client size, close and minimise buttons only, dialog font, and the panel with the
// background picture picture filling it. Returns the panel on which the controls go.
QWidget* SetUpDialogWindow(QDialog* dialog, int width, int height);

enum class LabelKind { Normal, Heading, Unit };
QLabel* AddLabel(QWidget* panel, const char* name, const QString& text, int x, int y,
                 LabelKind kind = LabelKind::Normal);
// A read-only text field.
QLineEdit* AddField(QWidget* panel, const char* name, const QString& text, int x, int y, int width);
QPushButton* AddButton(QWidget* panel, const char* name, const QString& text, int x, int y, int width);
// A spin button, placed with its top-left corner at (x, y).
SpinButton* AddSpinButton(QWidget* panel, const char* name, int x, int y);

// Moves the window to the middle of the screen it is on.
void CentreOnDesktop(QWidget* window);

// Qt text <-> the program's UTF-8 texts.
inline QString QStr(const std::string& s) { return QString::fromStdString(s); }
std::string Str(const QString& s);

}  // namespace transcoda
