#pragma once
// A pair of small up and down arrows beside a read-only number field; each click asks to
// add or take away one. The field itself is changed by the dialog (StepField).

#include <QWidget>

class QLineEdit;
class QToolButton;

class TSpinButton : public QWidget {
    Q_OBJECT
public:
    explicit TSpinButton(QWidget* parent = nullptr);

    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

signals:
    void UpClick();
    void DownClick();

private:
    QToolButton* up_;
    QToolButton* down_;
};

namespace transcoda {

// Adds delta (+1 or -1) to the number shown in field, only while the result stays within
// 0..maximum (no wrap-around), and writes it back in plain decimal ("00" becomes "1").
void StepField(QLineEdit* field, int delta, int maximum);

// Ties a spin button to its field and range.
void ConnectSpin(TSpinButton* spin, QLineEdit* field, int maximum);

// The number a field shows (0 when it shows none).
int FieldValue(const QLineEdit* field);

}  // namespace transcoda
