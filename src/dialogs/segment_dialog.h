#pragma once
// Segment extraction dialog: a start and an end position to the second.
//
// How the main window uses it (the dialog is created once at start-up, after LagDialog):
//     segmentDialog->SetAcceptedSegment(transcoda::kNoExtractionValue, transcoda::kNoExtractionValue);
//     segmentDialog->exec();                                             // modal
//     if both differ from "NOVALUE" -> start the worker with "transformOnce"
//     else (Cancel or close box)     -> back to idle, no message
// On acceptance AcceptedStart() holds the start ("00:59:30") and AcceptedLength() the
// length of the segment, end minus start ("00:00:45"), never the end position. An end
// that does not lie after the start is refused with a message and the dialog stays open.
// The main window hands over its input path (SetInputPath) before it opens the dialog;
// inputPathField shows it each time the dialog becomes active (InputDialog). The fields keep their values from
// one opening to the next.

#include <string>

#include "dialogs/input_dialog.h"

class QLabel;
class QLineEdit;
class QPushButton;
class SpinButton;

class SegmentDialog : public InputDialog {
    Q_OBJECT
public:
    explicit SegmentDialog(QWidget* parent = nullptr);

    // At creation: the English texts when CurrentLanguage is "EN".
    void ApplyLanguage();
    // Accept: check the positions, store the two values, close.
    void onExtractClicked();
    // Cancel: close, values untouched.
    void onCancelClicked();
    // The segment the dialog was last accepted with ("NOVALUE" each once set so before
    // it opens).
    const std::string& AcceptedStart() const { return acceptedStart_; }
    const std::string& AcceptedLength() const { return acceptedLength_; }
    void SetAcceptedSegment(const std::string& start, const std::string& length) {
        acceptedStart_ = start;
        acceptedLength_ = length;
    }

    QLineEdit* endHours;
    QLineEdit* endSeconds;
    QLineEdit* startSeconds;
    QLineEdit* startHours;
    QLineEdit* startMinutes;
    QLineEdit* endMinutes;
    SpinButton* endHoursSpin;
    SpinButton* endSecondsSpin;
    SpinButton* startSecondsSpin;
    SpinButton* startHoursSpin;
    SpinButton* startMinutesSpin;
    SpinButton* endMinutesSpin;
    QPushButton* extract;
    QPushButton* cancel;
    QLabel* startHoursUnit;
    QLabel* startMinutesUnit;
    QLabel* startSecondsUnit;
    QLabel* endHoursUnit;
    QLabel* fromLabel;
    QLabel* toLabel;
    QLabel* endMinutesUnit;
    QLabel* endSecondsUnit;
    QLabel* segmentLabel;

private:
    std::string acceptedStart_ = "NOVALUE";
    std::string acceptedLength_ = "NOVALUE";
};
