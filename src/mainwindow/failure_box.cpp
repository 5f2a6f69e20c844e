#include "mainwindow/failure_box.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "mainwindow/texts.h"

namespace transcoda::gui {

FailureBox::FailureBox(QWidget* parent, const QString& caption, const QString& text, const QString& details)
    : QDialog(parent) {
    setObjectName("FailureBox");
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    auto* message = new QLabel(text, this);
    message->setObjectName("FailureText");
    message->setWordWrap(true);
    message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    message->setMinimumWidth(420);
    layout->addWidget(message);

    detailsText_ = new QPlainTextEdit(details, this);
    detailsText_->setObjectName("FailureDetails");
    detailsText_->setReadOnly(true);
    detailsText_->setLineWrapMode(QPlainTextEdit::NoWrap);
    detailsText_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    detailsText_->setMinimumSize(560, 240);
    detailsText_->hide();
    layout->addWidget(detailsText_);

    auto* buttons = new QDialogButtonBox(this);
    detailsButton_ = buttons->addButton(Lang("Détails", "Details"), QDialogButtonBox::ActionRole);
    detailsButton_->setObjectName("DetailsButton");
    detailsButton_->setCheckable(true);
    detailsButton_->setAutoDefault(false);
    QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setDefault(true);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(detailsButton_, &QPushButton::toggled, detailsText_, &QWidget::setVisible);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

}  // namespace transcoda::gui
