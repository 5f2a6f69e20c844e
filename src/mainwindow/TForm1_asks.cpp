// The boxes and dialogs that the checks before a conversion ask the user through the
// window: messages captioned with the application title, questions captioned
// "Confirmation", and the two special operations' dialogs, handed the input path.
#include "conversion/request_checks.h"
#include "dialogs/TForm8.h"
#include "dialogs/TForm9.h"
#include "exec/app_state.h"
#include "mainwindow/TForm1.h"
#include "mainwindow/texts.h"
#include "mainwindow/user_dialogs.h"

using transcoda::App;
using namespace transcoda::gui;

void TForm1::Tell(const std::string& text) { ShowMessage(QString::fromStdString(text)); }

bool TForm1::Ask(const std::string& text) {
    return Dialogs().Question(this, kQuestionCaption, QString::fromStdString(text));
}

std::string TForm1::AskSyncDelay(const std::string& input) {
    // The dialog gives a lag only when it is accepted with one.
    if (form8_ == nullptr) form8_ = new TForm8(this);
    form8_->SetAcceptedLag(transcoda::kNoSyncDelay);
    form8_->SetInputPath(QString::fromStdString(input));
    Dialogs().RunModal(form8_);
    return form8_->AcceptedLag();
}

transcoda::ExtractionSegment TForm1::AskSegment(const std::string& input) {
    // The dialog gives the bounds only when it is accepted with them.
    if (form9_ == nullptr) form9_ = new TForm9(this);
    form9_->SetAcceptedSegment(transcoda::kNoExtractionValue, transcoda::kNoExtractionValue);
    form9_->SetInputPath(QString::fromStdString(input));
    Dialogs().RunModal(form9_);
    return {form9_->AcceptedStart(), form9_->AcceptedLength()};
}
