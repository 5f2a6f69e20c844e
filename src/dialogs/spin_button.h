#pragma once
// A pair of small up and down arrows beside a number field; each click asks to add or
// take away one, and an arrow held down repeats. The field itself is changed by the
// dialog (StepField), and also takes typing, the arrow keys and the mouse wheel.

#include <QWidget>

class QLineEdit;
class QToolButton;

class SpinButton : public QWidget {
    Q_OBJECT
public:
    explicit SpinButton(QWidget* parent = nullptr);

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

// Ties a spin button to its field and range. The field then takes typing (digits only,
// never past maximum: a key that would leave the range is refused, an emptied field
// reads 0 when left), the Up and Down keys and the wheel over the field or the arrows,
// each a step as the arrows make it.
void ConnectSpin(SpinButton* spin, QLineEdit* field, int maximum);

// The number a field shows (0 when it shows none).
int FieldValue(const QLineEdit* field);

}  // namespace transcoda
