#include "mainwindow/picture_button.h"

#include <QFile>
#include <QMouseEvent>

namespace transcoda::gui {

ImageList::ImageList(QString name, int count, int width, int height) : name_(std::move(name)) {
    for (int i = 0; i < count; ++i) {
        QPixmap image;
        const QString file = QString(":/imagelists/%1/%2.png").arg(name_).arg(i);
        if (QFile::exists(file) && image.load(file) && image.size() != QSize(width, height))
            image = image.scaled(width, height);
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
    if (event->button() == Qt::LeftButton) emit MouseDown();
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit MouseUp();
}

bool SetPictureState(PictureButton* picture, const ImageList& list, int index) {
    picture->Remember(list.Name(), index);
    const QPixmap image = list.Image(index);
    if (image.isNull()) return false;
    picture->setPixmap(image);
    return true;
}

}  // namespace transcoda::gui
