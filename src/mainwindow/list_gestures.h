#pragma once
// What the hand and the keyboard do to the conversion list's grid: a row dragged with the
// mouse moves to where it is dropped, following the pointer row by row; the Delete key
// removes the selected row; files dropped from the desktop join the list. The grid's last
// row is the empty one that waits for the next addition: it never moves and nothing
// moves past it. Rows are numbered as the list numbers them, the first queued one 1.

#include <QObject>
#include <QPoint>
#include <QStringList>
#include <functional>

class QTableView;

namespace transcoda::gui {

class ListGestures : public QObject {
public:
    struct Actions {
        // Whether the list may be changed now (not while a conversion runs).
        std::function<bool()> editable;
        // A row follows the pointer one place at a time; once the drag ends, `moved`
        // says the order has changed (so it is kept once, not at every place).
        std::function<void(int from, int to)> move;
        std::function<void()> removeSelected;
        std::function<void(const QStringList& paths)> addFiles;
        std::function<void()> moved;
    };

    ListGestures(QTableView* grid, Actions actions);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int QueuedRows() const;
    // The queued row under the pointer's height y (in the viewport), the nearest one when
    // the pointer is above the first or below the last.
    int QueuedRowAt(int y) const;
    bool MouseEvent(QEvent* event);
    bool DropEvent(QEvent* event);
    void EndDrag();

    QTableView* grid_;
    Actions actions_;
    int dragRow_ = 0;  // the row held by the mouse, 0 for none
    QPoint pressPos_;
    bool dragging_ = false;
    bool movedInDrag_ = false;
};

}  // namespace transcoda::gui
