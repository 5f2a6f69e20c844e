#include "mainwindow/window_thread_post.h"

#include <QMetaObject>
#include <QObject>
#include <utility>

namespace transcoda::gui {

ConversionController::Post PostToWindowThread() {
    // Lives on the window thread and is never deleted: a worker may post its end while
    // the program is ending. A task whose controller has gone finds nothing to do.
    static QObject* const target = new QObject;
    return [target = target](std::function<void()> task) {
        QMetaObject::invokeMethod(target, std::move(task), Qt::QueuedConnection);
    };
}

}  // namespace transcoda::gui
