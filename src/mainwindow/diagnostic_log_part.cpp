#include "mainwindow/diagnostic_log_part.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

#include "exec/app_state.h"
#include "mainwindow/texts.h"
#include "mainwindow/widget_make.h"

namespace transcoda::gui {

DiagnosticLogPart::DiagnosticLogPart(QWidget* window, std::function<void(bool)> switched)
    : QObject(window), window_(window), switched_(std::move(switched)) {}

void DiagnosticLogPart::CreateControls() {
    // The log area below the panel, inside the window only in its tallest layout.
    logLabel = MakeLabel(window_, "logLabel", "Debug : (jounal des commandes en ligne)", 4, 556, 380);
    copyLog = MakeButton(window_, "copyLog", "Séléctionner et Copier le log pour les dépannages", 392, 550, 360);
    diagnosticLog = new QPlainTextEdit(window_);
    diagnosticLog->setObjectName("diagnosticLog");
    diagnosticLog->setGeometry(2, 579, 750, 210);
    diagnosticLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    diagnosticLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Tab leaves the log for the next control; the arrows move in it.
    diagnosticLog->setTabChangesFocus(true);
    connect(copyLog, &QPushButton::clicked, this, &DiagnosticLogPart::Copy);
}

void DiagnosticLogPart::KeepDesignedPlaces() {
    designedLabel_ = logLabel->geometry();
    designedCopy_ = copyLog->geometry();
    designedLog_ = diagnosticLog->geometry();
}

void DiagnosticLogPart::CreateSwitch() {
    // Its text is given when the menu opens, in the language the window took meanwhile.
    DebugAction = new QAction(window_);
    DebugAction->setObjectName("DebugAction");
    DebugAction->setCheckable(true);
    DebugAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D));
    DebugAction->setShortcutContext(Qt::WindowShortcut);
    DebugAction->setShortcutVisibleInContextMenu(true);
    // Added to the window for its shortcut; the menu of a right click on the window
    // (outside the fields, which keep their own menus) holds it, then the window's own
    // submenus.
    window_->addAction(DebugAction);
    window_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(window_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        DebugAction->setText(Lang("Journal de diagnostic", "Diagnostic log"));
        QMenu menu(window_);
        menu.addAction(DebugAction);
        for (QMenu* submenu : submenus_) menu.addMenu(submenu);
        menu.exec(window_->mapToGlobal(at));
    });
    connect(DebugAction, &QAction::triggered, this, [this](bool on) { switched_(on); });
}

void DiagnosticLogPart::Append(const QString& line) {
    if (!App().DebugMode) return;
    diagnosticLog->appendPlainText(line);
}

void DiagnosticLogPart::Clear() { diagnosticLog->clear(); }

void DiagnosticLogPart::Copy() {
    diagnosticLog->setFocus();
    diagnosticLog->selectAll();
    QApplication::clipboard()->setText(diagnosticLog->toPlainText());
}

void DiagnosticLogPart::ShowMode(bool on) { DebugAction->setChecked(on); }

void DiagnosticLogPart::SetShown(bool shown) {
    for (QWidget* w : std::initializer_list<QWidget*>{logLabel, copyLog, diagnosticLog}) w->setVisible(shown);
}

void DiagnosticLogPart::Place(int wider, int taller, int height) {
    logLabel->setGeometry(designedLabel_.translated(0, taller));
    copyLog->setGeometry(designedCopy_.translated(0, taller));
    diagnosticLog->setGeometry(designedLog_.left(), designedLog_.top() + taller, designedLog_.width() + wider, height);
}

}  // namespace transcoda::gui
