// The window's size: its height in each layout, the window on a small screen (a layout
// taller than the screen's free area gives up the difference from the log, and the window
// moves up so that its bottom stays on the screen), and the window made larger by the
// user (the list takes what it gains, and what lies below the list moves down).
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <algorithm>

#include "exec/app_state.h"
#include "mainwindow/diagnostic_log_part.h"
#include "mainwindow/main_window.h"
#include "mainwindow/progress_part.h"
#include "mainwindow/queue_panel.h"

using transcoda::App;

namespace {

// The log keeps at least a few lines, however short the screen.
constexpr int kSmallestLog = 64;
// Below the log, as designed.
constexpr int kLogBottomMargin = 5;
// The background picture keeps its top rows (the shortcuts' frame) and its side columns
// (the frame's rounded ends) as drawn; the rest stretches.
constexpr int kKeptTop = 272 + MainWindow::kBelowInput;
constexpr int kKeptSide = 12;
// Where the developer buttons stand, beyond the designed client width.
constexpr int kDeveloperLeft = 780;

// The designed background stretched to `size`, its kept parts as drawn.
QPixmap StretchedBackground(const QPixmap& designed, QSize size) {
    const qreal ratio = designed.devicePixelRatio();
    const QSize drawn = designed.deviceIndependentSize().toSize();
    QPixmap out(size * ratio);
    out.setDevicePixelRatio(ratio);
    out.fill(Qt::white);
    QPainter painter(&out);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const int xs[] = {0, kKeptSide, drawn.width() - kKeptSide, drawn.width()};
    const int toXs[] = {0, kKeptSide, size.width() - kKeptSide, size.width()};
    const int ys[] = {0, kKeptTop, drawn.height()};
    const int toYs[] = {0, kKeptTop, size.height()};
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 3; ++column) {
            const QRectF from(xs[column] * ratio, ys[row] * ratio, (xs[column + 1] - xs[column]) * ratio,
                              (ys[row + 1] - ys[row]) * ratio);
            const QRectF to(toXs[column], toYs[row], toXs[column + 1] - toXs[column], toYs[row + 1] - toYs[row]);
            painter.drawPixmap(to, designed, from);
        }
    return out;
}

}  // namespace

void MainWindow::FitLayout(int designedHeight) {
    // Before it is shown the window keeps its designed height: showEvent fits it then.
    const QScreen* screen = isVisible() ? this->screen() : nullptr;
    const QRect area = screen ? screen->availableGeometry() : QRect();
    // The title bar and borders as the desktop draws them, never counted below the
    // designed ones: the frame the desktop reports may come late or not at all.
    const int frame = std::max(kFrameHeight, frameGeometry().height() - height());
    int client = designedHeight - kFrameHeight;
    const int logTop = log_->DesignedTop();
    const int designedLog = kExpandedDebugHeight - kFrameHeight - logTop - kLogBottomMargin;
    // Outside the window the log area is hidden, so that Tab never leads there.
    const bool logInside = client > logTop;
    log_->SetShown(logInside);
    logHeight_ = designedLog;
    if (logInside) {
        // The layout shows the log: it shrinks as far as needed, down to a few lines.
        const int room = area.isValid() ? area.height() - frame : client;
        client = std::clamp(room, logTop + kSmallestLog + kLogBottomMargin, client);
        logHeight_ = std::min(designedLog, client - logTop - kLogBottomMargin);
    }
    layoutHeight_ = client;
    if (designedHeight <= kCollapsedHeight) {
        // Without the list there is nothing to grow.
        setFixedSize(kClientWidth, client);
    } else {
        setMinimumSize(kClientWidth, client);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        resize(kClientWidth, client);
    }
    PlaceForSize();
    if (!isVisible() || !area.isValid()) return;
    // Grown past the bottom of the free area: up, but never above its top.
    const QRect now = frameGeometry();
    const int over = now.bottom() - area.bottom();
    if (over > 0) move(x(), std::max(area.top(), y() - over));
}

void MainWindow::PlaceForSize() {
    const int wider = std::max(0, width() - kClientWidth);
    const int taller = std::max(0, height() - layoutHeight_);
    panel->resize(kClientWidth + wider, panelHeight_ + taller);
    // The picture covers the tallest layout, whose bottom the shorter one hides.
    const QSize pictured(panel->width(), std::max(panel->height(), background_.deviceIndependentSize().toSize().height()));
    if (!background_.isNull() && backgroundPicture->size() != pictured) {
        const bool designed = pictured == background_.deviceIndependentSize().toSize();
        stretchedBackground_ = designed ? QPixmap() : StretchedBackground(background_, pictured);
        backgroundPicture->setPixmap(designed ? background_ : stretchedBackground_);
    }
    backgroundPicture->resize(pictured);
    // The developer buttons stay beyond the client width.
    for (QWidget* button : {testCommand, testReader, fillQueueForTest})
        button->move(kDeveloperLeft + wider, button->y());
    queue_->Grow(wider, taller);
    progress_->Place(statusTop_ + taller, kClientWidth + wider);
    log_->Place(wider, taller, logHeight_);
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The desktop showing the window again (after it was minimised) keeps the size the
    // user gave it.
    if (event->spontaneous()) return;
    FitLayout(listHidden_ ? kCollapsedHeight : App().DebugMode ? kExpandedDebugHeight : kExpandedHeight);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceForSize();
}
