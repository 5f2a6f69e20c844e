#include "dialogs/spin_button.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QValidator>
#include <QWheelEvent>
#include <algorithm>

SpinButton::SpinButton(QWidget* parent) : QWidget(parent) {
    // 20 x 23 pixels: the up arrow on the top half, the down arrow on the bottom half.
    setFixedSize(20, 23);
    up_ = new QToolButton(this);
    up_->setObjectName("Up");
    up_->setArrowType(Qt::UpArrow);
    up_->setGeometry(0, 0, 20, 12);
    down_ = new QToolButton(this);
    down_->setObjectName("Down");
    down_->setArrowType(Qt::DownArrow);
    down_->setGeometry(0, 12, 20, 11);
    for (QToolButton* arrow : {up_, down_}) {
        // The field beside holds the keyboard; an arrow held down steps on by itself.
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setAutoRepeat(true);
    }
    connect(up_, &QToolButton::clicked, this, &SpinButton::UpClick);
    connect(down_, &QToolButton::clicked, this, &SpinButton::DownClick);
}

namespace transcoda {

namespace {

// Digits only, never past the maximum. An empty field is let through while typing and
// reads 0 once left.
class BoundedNumber : public QValidator {
public:
    BoundedNumber(int maximum, QObject* parent) : QValidator(parent), maximum_(maximum) {}

    State validate(QString& input, int&) const override {
        if (input.isEmpty()) return Intermediate;
        if (!std::all_of(input.begin(), input.end(), [](QChar c) { return c >= '0' && c <= '9'; }))
            return Invalid;
        bool ok = false;
        const int n = input.toInt(&ok);
        return ok && n <= maximum_ ? Acceptable : Invalid;
    }
    void fixup(QString& input) const override {
        if (input.isEmpty()) input = "0";
    }

private:
    int maximum_;
};

// The Up and Down keys on the field, and the wheel on the field or its arrows: one step
// per key press (held keys repeat) and per notch of the wheel.
class StepKeys : public QObject {
public:
    StepKeys(QLineEdit* field, int maximum) : QObject(field), field_(field), maximum_(maximum) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!field_->isEnabled()) return QObject::eventFilter(watched, event);
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down) {
                StepField(field_, key == Qt::Key_Up ? +1 : -1, maximum_);
                return true;
            }
        }
        if (event->type() == QEvent::Wheel) {
            // Fine-grained wheels and touchpads send parts of a notch (120): they add up.
            wheel_ += static_cast<QWheelEvent*>(event)->angleDelta().y();
            for (; wheel_ >= 120; wheel_ -= 120) StepField(field_, +1, maximum_);
            for (; wheel_ <= -120; wheel_ += 120) StepField(field_, -1, maximum_);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QLineEdit* field_;
    int maximum_;
    int wheel_ = 0;
};

}  // namespace

int FieldValue(const QLineEdit* field) { return field->text().trimmed().toInt(); }

void StepField(QLineEdit* field, int delta, int maximum) {
    const int n = FieldValue(field);
    if (delta > 0 && n < maximum) field->setText(QString::number(n + 1));
    if (delta < 0 && n > 0) field->setText(QString::number(n - 1));
}

void ConnectSpin(SpinButton* spin, QLineEdit* field, int maximum) {
    QObject::connect(spin, &SpinButton::UpClick, field, [field, maximum] { StepField(field, +1, maximum); });
    QObject::connect(spin, &SpinButton::DownClick, field, [field, maximum] { StepField(field, -1, maximum); });
    field->setReadOnly(false);
    field->setValidator(new BoundedNumber(maximum, field));
    // Room for the designed "00" and for every digit of the maximum.
    field->setMaxLength(std::max(2, static_cast<int>(QString::number(maximum).size())));
    auto* keys = new StepKeys(field, maximum);
    field->installEventFilter(keys);
    for (QWidget* w : {static_cast<QWidget*>(spin), static_cast<QWidget*>(spin->UpButton()),
                       static_cast<QWidget*>(spin->DownButton())})
        w->installEventFilter(keys);
}

}  // namespace transcoda
