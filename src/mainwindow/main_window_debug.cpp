// Switching the diagnostic log on and off while the program runs: Ctrl+Shift+D, or the
// entry of the menu that a right click on the window opens.
#include <QAction>
#include <QKeySequence>
#include <QMenu>

#include "exec/app_state.h"
#include "mainwindow/main_window.h"
#include "mainwindow/texts.h"

using transcoda::App;
using namespace transcoda::gui;

namespace {
const QString kDebugMark = " - DEBUG";
}  // namespace

void MainWindow::CreateDebugSwitch() {
    // Its text is given when the menu opens, in the language the window took meanwhile.
    DebugAction = new QAction(this);
    DebugAction->setObjectName("DebugAction");
    DebugAction->setCheckable(true);
    DebugAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D));
    DebugAction->setShortcutContext(Qt::WindowShortcut);
    DebugAction->setShortcutVisibleInContextMenu(true);
    // Added to the window for its shortcut; the menu of a right click on the window
    // (outside the fields, which keep their own menus) holds it alone.
    addAction(DebugAction);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        DebugAction->setText(Lang("Journal de diagnostic", "Diagnostic log"));
        QMenu menu(this);
        menu.addAction(DebugAction);
        menu.exec(mapToGlobal(at));
    });
    connect(DebugAction, &QAction::triggered, this, [this](bool on) { SetDebugMode(on); });
}

void MainWindow::SetDebugMode(bool on) {
    App().DebugMode = on;
    DebugAction->setChecked(on);
    if (on && !caption_.endsWith(kDebugMark)) caption_ += kDebugMark;
    if (!on && caption_.endsWith(kDebugMark)) caption_.chop(kDebugMark.size());
    SetApplicationTitle(applicationTitle_);
    // The log lies below the list: shown, the list makes room for it; hidden, the
    // window gives that room back.
    if (on || !listHidden_) {
        ShowListLayout();
        listHidden_ = false;
    }
}
