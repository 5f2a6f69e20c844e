#include "mainwindow/accelerator_mark.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>

namespace transcoda::gui {

AcceleratorMark::AcceleratorMark(QLabel* caption, QChar letter)
    : QWidget(caption), caption_(caption), letter_(letter.toLower()) {
    setObjectName(caption->objectName() + "Accelerator");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(caption->rect());
    caption->installEventFilter(this);
}

int AcceleratorMark::MarkedIndex() const {
    const QString text = caption_->text();
    for (int i = 0; i < text.size(); ++i)
        if (text.at(i).toLower() == letter_) return i;
    return -1;
}

void AcceleratorMark::SetLetter(QChar letter) {
    letter_ = letter.toLower();
    update();
}

bool AcceleratorMark::eventFilter(QObject* watched, QEvent* event) {
    if (watched == caption_ && event->type() == QEvent::Resize) setGeometry(caption_->rect());
    return QWidget::eventFilter(watched, event);
}

void AcceleratorMark::paintEvent(QPaintEvent*) {
    const int index = MarkedIndex();
    if (index < 0) return;
    // The caption's text is laid out as the label lays it out: one line, aligned in its
    // contents rectangle.
    const QString text = caption_->text();
    const QFontMetrics metrics = caption_->fontMetrics();
    const QRect contents = caption_->contentsRect();
    const Qt::Alignment align = caption_->alignment();
    const int textWidth = metrics.horizontalAdvance(text);
    int left = contents.left();
    if (align & Qt::AlignHCenter) left += (contents.width() - textWidth) / 2;
    else if (align & Qt::AlignRight) left = contents.right() + 1 - textWidth;
    int top = contents.top();
    if (align & Qt::AlignVCenter) top += (contents.height() - metrics.height()) / 2;
    else if (align & Qt::AlignBottom) top = contents.bottom() + 1 - metrics.height();
    const int x = left + metrics.horizontalAdvance(text.left(index));
    const int y = top + metrics.ascent() + metrics.underlinePos();
    QPainter painter(this);
    painter.setPen(QPen(caption_->palette().color(QPalette::WindowText), std::max(1, metrics.lineWidth())));
    painter.drawLine(x, y, x + metrics.horizontalAdvance(text.at(index)) - 1, y);
}

}  // namespace transcoda::gui
