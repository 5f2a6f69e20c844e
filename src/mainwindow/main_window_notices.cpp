// What the worker and the pipe reader have the window show (through QtWindowPort), handed
// to the part that shows it: the progress, the title, the time label and the notice of a
// written file, the diagnostic log.
#include "mainwindow/diagnostic_log_part.h"
#include "mainwindow/main_window.h"
#include "mainwindow/progress_part.h"

void MainWindow::ShowDisplay(const transcoda::DisplayChange& change) { progress_->Show(change); }

void MainWindow::SetApplicationTitle(const QString& text) { progress_->SetApplicationTitle(text); }

QString MainWindow::ApplicationTitle() const { return progress_->ApplicationTitle(); }

QString MainWindow::Caption() const { return progress_->Caption(); }

void MainWindow::ShowTimeText(const QString& text) { progress_->ShowTimeText(text); }

void MainWindow::ShowWrittenNotice(const QString& text, const QString& folder) {
    progress_->ShowWrittenNotice(text, folder);
}

QString MainWindow::WrittenFolder() const { return progress_->WrittenFolder(); }

void MainWindow::AppendLog(const QString& line) { log_->Append(line); }
