#include "mainwindow/path_drop.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace transcoda::gui {

namespace {

// The local path that the dragged data names, or an empty text when it names none or
// more than one.
QString DroppedPath(const QMimeData* data) {
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile()) return {};
    QString path = urls.first().toLocalFile();
    if (path.isEmpty()) return {};
    if (QFileInfo(path).isDir() && !path.endsWith('/')) path += '/';
    return path;
}

}  // namespace

PathDrop::PathDrop(QWidget* field, std::function<void(const QString&)> apply)
    : QObject(field), apply_(std::move(apply)) {
    field->setAcceptDrops(true);
    field->installEventFilter(this);
}

bool PathDrop::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    auto* drop = static_cast<QDropEvent*>(event);
    if (!drop->mimeData()->hasUrls()) return false;  // typed text dragged in: the field's own
    const QString path = DroppedPath(drop->mimeData());
    if (path.isEmpty()) {
        drop->ignore();
        return true;
    }
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop) apply_(path);
    return true;
}

}  // namespace transcoda::gui
