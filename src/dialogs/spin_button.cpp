#include "dialogs/spin_button.h"

#include <QLineEdit>
#include <QToolButton>

TSpinButton::TSpinButton(QWidget* parent) : QWidget(parent) {
    // 20 x 23 pixels: the up arrow on the top half, the down arrow on the bottom half.
    setFixedSize(20, 23);
    up_ = new QToolButton(this);
    up_->setObjectName("Up");
    up_->setArrowType(Qt::UpArrow);
    up_->setGeometry(0, 0, 20, 12);
    up_->setFocusPolicy(Qt::NoFocus);
    down_ = new QToolButton(this);
    down_->setObjectName("Down");
    down_->setArrowType(Qt::DownArrow);
    down_->setGeometry(0, 12, 20, 11);
    down_->setFocusPolicy(Qt::NoFocus);
    connect(up_, &QToolButton::clicked, this, &TSpinButton::UpClick);
    connect(down_, &QToolButton::clicked, this, &TSpinButton::DownClick);
}

namespace transcoda {

int FieldValue(const QLineEdit* field) { return field->text().trimmed().toInt(); }

void StepField(QLineEdit* field, int delta, int maximum) {
    const int n = FieldValue(field);
    if (delta > 0 && n < maximum) field->setText(QString::number(n + 1));
    if (delta < 0 && n > 0) field->setText(QString::number(n - 1));
}

void ConnectSpin(TSpinButton* spin, QLineEdit* field, int maximum) {
    QObject::connect(spin, &TSpinButton::UpClick, field, [field, maximum] { StepField(field, +1, maximum); });
    QObject::connect(spin, &TSpinButton::DownClick, field, [field, maximum] { StepField(field, -1, maximum); });
}

}  // namespace transcoda
