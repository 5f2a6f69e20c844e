#include "mainwindow/list_gestures.h"

#include <QApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTableView>
#include <QUrl>
#include <algorithm>

namespace transcoda::gui {

ListGestures::ListGestures(QTableView* grid, Actions actions)
    : QObject(grid), grid_(grid), actions_(std::move(actions)) {
    grid_->viewport()->setAcceptDrops(true);
    grid_->installEventFilter(this);
    grid_->viewport()->installEventFilter(this);
}

int ListGestures::QueuedRows() const { return std::max(grid_->model()->rowCount() - 1, 0); }

int ListGestures::QueuedRowAt(int y) const {
    const int queued = QueuedRows();
    if (queued == 0) return 0;
    int tableRow = grid_->rowAt(y);
    if (tableRow < 0) tableRow = y < 0 ? 0 : queued - 1;
    return std::clamp(tableRow, 0, queued - 1) + 1;
}

bool ListGestures::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_) {
        if (event->type() != QEvent::KeyPress) return false;
        if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_Delete) return false;
        if (actions_.editable()) actions_.removeSelected();
        return true;
    }
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
            return MouseEvent(event);
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return DropEvent(event);
        default:
            return false;
    }
}

bool ListGestures::MouseEvent(QEvent* event) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint pos = mouse->position().toPoint();
    if (event->type() == QEvent::MouseButtonPress) {
        EndDrag();
        const int tableRow = grid_->rowAt(pos.y());
        if (mouse->button() == Qt::LeftButton && tableRow >= 0 && tableRow < QueuedRows() && actions_.editable()) {
            dragRow_ = tableRow + 1;
            pressPos_ = pos;
        }
        return false;  // the grid selects the row as usual
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        const bool dragged = dragging_;
        EndDrag();
        return dragged;
    }
    if (dragRow_ == 0) return false;
    if (!actions_.editable()) {
        EndDrag();
        return false;
    }
    if (!dragging_) {
        if ((pos - pressPos_).manhattanLength() < QApplication::startDragDistance()) return true;
        dragging_ = true;
        grid_->viewport()->setCursor(Qt::ClosedHandCursor);
    }
    const int target = QueuedRowAt(pos.y());
    if (target != dragRow_) {
        actions_.move(dragRow_, target);
        dragRow_ = target;
        movedInDrag_ = true;
    }
    return true;  // no selection by dragging
}

void ListGestures::EndDrag() {
    if (dragging_) grid_->viewport()->unsetCursor();
    dragRow_ = 0;
    dragging_ = false;
    if (movedInDrag_ && actions_.moved) actions_.moved();
    movedInDrag_ = false;
}

bool ListGestures::DropEvent(QEvent* event) {
    auto* drop = static_cast<QDropEvent*>(event);
    QStringList paths;
    for (const QUrl& url : drop->mimeData()->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    if (paths.isEmpty() || !actions_.editable()) {
        drop->ignore();
        return true;
    }
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (event->type() == QEvent::Drop) actions_.addFiles(paths);
    return true;
}

}  // namespace transcoda::gui
