#pragma once
// The box that says a conversion failed: the message, an OK button, and a "Détails" /
// "Details" button that shows or hides the failing tool's last lines below it.

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace transcoda::gui {

class FailureBox : public QDialog {
    Q_OBJECT
public:
    FailureBox(QWidget* parent, const QString& caption, const QString& text, const QString& details);

    QPushButton* DetailsButton() const { return detailsButton_; }
    QPlainTextEdit* DetailsText() const { return detailsText_; }

private:
    QPushButton* detailsButton_ = nullptr;
    QPlainTextEdit* detailsText_ = nullptr;
};

}  // namespace transcoda::gui
