// Switching the diagnostic log on and off while the program runs: Ctrl+Shift+D, or the
// entry of the menu that a right click on the window opens (DiagnosticLogPart).
#include "exec/app_state.h"
#include "mainwindow/diagnostic_log_part.h"
#include "mainwindow/main_window.h"
#include "mainwindow/progress_part.h"

using transcoda::App;

namespace {
const QString kDebugMark = " - DEBUG";
}  // namespace

void MainWindow::SetDebugMode(bool on) {
    App().DebugMode = on;
    log_->ShowMode(on);
    QString caption = Caption();
    if (on && !caption.endsWith(kDebugMark)) caption += kDebugMark;
    if (!on && caption.endsWith(kDebugMark)) caption.chop(kDebugMark.size());
    progress_->SetCaption(caption);
    // The log lies below the list: shown, the list makes room for it; hidden, the
    // window gives that room back.
    if (on || !listHidden_) {
        ShowListLayout();
        listHidden_ = false;
    }
}
