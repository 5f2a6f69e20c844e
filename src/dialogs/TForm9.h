#pragma once
// Segment extraction dialog: a start and an end position to the second.
//
// How the main window uses it (the dialog is created once at start-up, after TForm8):
//     form9->SetAcceptedSegment(transcoda::kNoExtractionValue, transcoda::kNoExtractionValue);
//     form9->exec();                                                     // modal
//     if both differ from "NOVALUE" -> start the worker with "transformOnce"
//     else (Cancel or close box)     -> back to idle, no message
// On acceptance AcceptedStart() holds the start ("00:59:30") and AcceptedLength() the
// length of the segment, end minus start ("00:00:45"), never the end position. An end
// that does not lie after the start is refused with a message and the dialog stays open.
// The main window hands over its input path (SetInputPath) before it opens the dialog;
// Edit1 shows it each time the dialog becomes active. The fields keep their values from
// one opening to the next.

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class TSpinButton;

class TForm9 : public QDialog {
    Q_OBJECT
public:
    explicit TForm9(QWidget* parent = nullptr);

    // Creation: English texts when CurrentLanguage is "EN".
    void FormCreate();
    // The main window's input path, shown from the next activation on.
    void SetInputPath(const QString& path) { inputPath_ = path; }
    // Becoming the active window: Edit1 := the main window's input path.
    void FormActivate();
    // Accept: check the positions, store the two values, close.
    void Button2Click();
    // Cancel: close, values untouched.
    void Button3Click();
    // The segment the dialog was last accepted with ("NOVALUE" each once set so before
    // it opens).
    const std::string& AcceptedStart() const { return acceptedStart_; }
    const std::string& AcceptedLength() const { return acceptedLength_; }
    void SetAcceptedSegment(const std::string& start, const std::string& length) {
        acceptedStart_ = start;
        acceptedLength_ = length;
    }

    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QLineEdit* Edit5;
    QLineEdit* Edit6;
    QLineEdit* Edit7;
    TSpinButton* SpinButton1;
    TSpinButton* SpinButton2;
    TSpinButton* SpinButton3;
    TSpinButton* SpinButton4;
    TSpinButton* SpinButton5;
    TSpinButton* SpinButton6;
    QPushButton* Button2;
    QPushButton* Button3;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label9;
    QLabel* Label10;
    QLabel* Label11;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString inputPath_;
    std::string acceptedStart_ = "NOVALUE";
    std::string acceptedLength_ = "NOVALUE";
};
