// The window's height in each layout, and the window on a small screen: a layout taller
// than the screen's free area gives up the difference from the log, and the window moves
// up so that its bottom stays on the screen.
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <algorithm>

#include "exec/app_state.h"
#include "mainwindow/diagnostic_log_part.h"
#include "mainwindow/main_window.h"

using transcoda::App;

namespace {

// The log keeps at least a few lines, however short the screen.
constexpr int kSmallestLog = 64;
// Below the log, as designed.
constexpr int kLogBottomMargin = 5;

}  // namespace

void MainWindow::FitLayout(int designedHeight) {
    // Before it is shown the window keeps its designed height: showEvent fits it then.
    const QScreen* screen = isVisible() ? this->screen() : nullptr;
    const QRect area = screen ? screen->availableGeometry() : QRect();
    // The title bar and borders as the desktop draws them, never counted below the
    // designed ones: the frame the desktop reports may come late or not at all.
    const int frame = std::max(kFrameHeight, frameGeometry().height() - height());
    int client = designedHeight - kFrameHeight;
    QPlainTextEdit* logArea = log_->diagnosticLog;
    const int logTop = logArea->y();
    const int designedLog = kExpandedDebugHeight - kFrameHeight - logTop - kLogBottomMargin;
    // Outside the window the log area is hidden, so that Tab never leads there.
    const bool logInside = client > logTop;
    log_->SetShown(logInside);
    if (logInside) {
        // The layout shows the log: it shrinks as far as needed, down to a few lines.
        const int room = area.isValid() ? area.height() - frame : client;
        client = std::clamp(room, logTop + kSmallestLog + kLogBottomMargin, client);
        logArea->resize(logArea->width(), std::min(designedLog, client - logTop - kLogBottomMargin));
    }
    setFixedSize(kClientWidth, client);
    if (!isVisible() || !area.isValid()) return;
    // Grown past the bottom of the free area: up, but never above its top.
    const QRect now = frameGeometry();
    const int over = now.bottom() - area.bottom();
    if (over > 0) move(x(), std::max(area.top(), y() - over));
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FitLayout(listHidden_ ? kCollapsedHeight : App().DebugMode ? kExpandedDebugHeight : kExpandedHeight);
}
