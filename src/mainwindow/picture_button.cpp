#include "mainwindow/picture_button.h"

#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace transcoda::gui {

namespace {

// The largest scale of the screens: from 1.5 on the twice-as-large pictures are shown.
bool ScreensScaleUp() { return qGuiApp != nullptr && qGuiApp->devicePixelRatio() >= 1.5; }

QPixmap LoadPicture(const QString& file, int width, int height, qreal ratio) {
    QPixmap image;
    if (!QFile::exists(file) || !image.load(file)) return {};
    const QSize size(qRound(width * ratio), qRound(height * ratio));
    if (image.size() != size) image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image.setDevicePixelRatio(ratio);
    return image;
}

}  // namespace

ImageList::ImageList(QString name, int count, int width, int height) : name_(std::move(name)) {
    const bool twice = ScreensScaleUp();
    for (int i = 0; i < count; ++i) {
        const QString base = QString(":/imagelists/%1/%2").arg(name_).arg(i);
        QPixmap image;
        if (twice) image = LoadPicture(base + "@2x.png", width, height, 2.0);
        if (image.isNull()) image = LoadPicture(base + ".png", width, height, 1.0);
        images_.push_back(image);
    }
}

QPixmap ImageList::Image(int index) const {
    if (index < 0 || index >= Count()) return {};
    return images_[static_cast<size_t>(index)];
}

PictureButton::PictureButton(const QString& objectName, QWidget* parent) : QLabel(parent) {
    setObjectName(objectName);
    setAlignment(Qt::AlignCenter);
    setMouseTracking(true);
    // Reached by Tab like a push button, and by a click.
    setFocusPolicy(Qt::StrongFocus);
}

void PictureButton::Click() {
    emit MouseDown();
    emit MouseUp();
}

void PictureButton::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    emit MouseEnter();
}

void PictureButton::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    emit MouseLeave();
}

void PictureButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    mousePressed_ = true;
    pointerInside_ = true;
    emit MouseDown();
}

void PictureButton::mouseMoveEvent(QMouseEvent* event) {
    // While the button is held the desktop sends no enter or leave: the picture follows
    // the pointer itself, so that it shows it will not act when released outside.
    if (mousePressed_) PointerOver(rect().contains(event->position().toPoint()));
    QLabel::mouseMoveEvent(event);
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !mousePressed_) return;
    mousePressed_ = false;
    // Released away from the picture: it only returns to its normal look.
    if (!rect().contains(event->position().toPoint())) {
        PointerOver(false);
        return;
    }
    emit MouseUp();
}

void PictureButton::PointerOver(bool inside) {
    if (inside == pointerInside_) return;
    pointerInside_ = inside;
    if (inside) emit MouseEnter();
    else emit MouseLeave();
}

void PictureButton::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Space:
        // Pressed while the key is down, acts when it comes up, as a push button.
        if (!event->isAutoRepeat() && !spacePressed_) {
            spacePressed_ = true;
            emit MouseDown();
        }
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat()) Click();
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

void PictureButton::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        if (spacePressed_) {
            spacePressed_ = false;
            emit MouseUp();
        }
        return;
    }
    QLabel::keyReleaseEvent(event);
}

void PictureButton::focusOutEvent(QFocusEvent* event) {
    // The focus left while Space was held: no release will come, the press is dropped.
    if (spacePressed_) {
        spacePressed_ = false;
        emit MouseLeave();
    }
    QLabel::focusOutEvent(event);
}

void PictureButton::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) return;
    // The focus frame, over the picture: a white line under the highlight colour, seen
    // on light and dark pictures alike.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    painter.setPen(QPen(Qt::white, 3));
    painter.drawRoundedRect(frame, 6, 6);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 1.5, Qt::SolidLine));
    painter.drawRoundedRect(frame, 6, 6);
}

bool SetPictureState(PictureButton* picture, const ImageList& list, int index) {
    picture->Remember(list.Name(), index);
    const QPixmap image = list.Image(index);
    if (image.isNull()) return false;
    picture->setPixmap(image);
    return true;
}

}  // namespace transcoda::gui
