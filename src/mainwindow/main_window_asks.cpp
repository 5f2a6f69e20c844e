// The boxes and dialogs that the checks before a conversion ask the user through the
// window: messages captioned with the application title, questions captioned
// "Confirmation", and the two special operations' dialogs, handed the input path.
#include "conversion/request_checks.h"
#include "dialogs/lag_dialog.h"
#include "dialogs/segment_dialog.h"
#include "exec/app_state.h"
#include "mainwindow/main_window.h"
#include "mainwindow/texts.h"
#include "mainwindow/user_dialogs.h"

using transcoda::App;
using namespace transcoda::gui;

void MainWindow::Tell(const std::string& text) { ShowMessage(QString::fromStdString(text)); }

bool MainWindow::Ask(const std::string& text) {
    return Dialogs().Question(this, kQuestionCaption, QString::fromStdString(text));
}

std::string MainWindow::AskSyncDelay(const std::string& input) {
    // The dialog gives a lag only when it is accepted with one.
    if (lagDialog_ == nullptr) lagDialog_ = new LagDialog(this);
    lagDialog_->SetAcceptedLag(transcoda::kNoSyncDelay);
    lagDialog_->SetInputPath(QString::fromStdString(input));
    Dialogs().RunModal(lagDialog_);
    return lagDialog_->AcceptedLag();
}

transcoda::ExtractionSegment MainWindow::AskSegment(const std::string& input) {
    // The dialog gives the bounds only when it is accepted with them.
    if (segmentDialog_ == nullptr) segmentDialog_ = new SegmentDialog(this);
    segmentDialog_->SetAcceptedSegment(transcoda::kNoExtractionValue, transcoda::kNoExtractionValue);
    segmentDialog_->SetInputPath(QString::fromStdString(input));
    Dialogs().RunModal(segmentDialog_);
    return {segmentDialog_->AcceptedStart(), segmentDialog_->AcceptedLength()};
}
