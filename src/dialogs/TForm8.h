#pragma once
// Sound-lag correction dialog. The user says whether the sound comes early or late and by
// how many seconds and hundredths, may play the input with that lag applied from a chosen
// position (preview in the player B/utilitympl.exe), and confirms.
//
// How the main window uses it (the dialog is created once at start-up, after TForm1):
//     form8->SetAcceptedLag(transcoda::kNoSyncDelay);      // "-1000"
//     form8->exec();                                        // modal
//     const std::string lag = form8->AcceptedLag();
//     if (lag == kNoSyncDelay)  -> left without a value (Cancel or close box): no message
//     else if (transcoda::IsZeroLag(lag))  -> zero lag message, nothing converted
//     else                      -> start the worker with "transformOnce"
// IsZeroLag lives in recipes/sync_lag.h. The lag text is "-" (sound early) + seconds + "."
// + two-digit hundredths, e.g. "-1.25" or "2.05". The main window hands over its input
// path (SetInputPath) before it opens the dialog; Edit1 shows it each time the dialog
// becomes active. The fields keep their values from one opening to the next. Closing the
// dialog while a preview plays stops the player.

#include <QDialog>
#include <QString>
#include <memory>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class TSpinButton;

namespace transcoda {
class ChildProcess;
}

class TForm8 : public QDialog {
    Q_OBJECT
public:
    explicit TForm8(QWidget* parent = nullptr);
    // A preview still playing is ended with the dialog.
    ~TForm8() override;

    // Creation: no preview running; English texts when CurrentLanguage is "EN".
    void FormCreate();
    // The main window's input path, shown from the next activation on.
    void SetInputPath(const QString& path) { inputPath_ = path; }
    // Becoming the active window: Edit1 := the main window's input path.
    void FormActivate();

    // Preview, or Stop while a preview plays.
    void Button1Click();
    // Accept: the accepted lag := the lag text, and close.
    void Button2Click();
    // Cancel: close, the accepted lag untouched.
    void Button3Click();
    // The lag the dialog was last accepted with (kNoSyncDelay once set so before it opens).
    const std::string& AcceptedLag() const { return acceptedLag_; }
    void SetAcceptedLag(const std::string& lag) { acceptedLag_ = lag; }

    // Plays file in the player with the lag from position. Returns at once: the window
    // thread watches the player, which ends by itself or by Stop (or closing the dialog).
    void PlayPreview(const std::string& file, const std::string& lag, const std::string& position);
    // Starts one player command line and watches it; a player that cannot be started
    // ends the preview at once.
    void RunPlayer(const std::string& commandLine);

    // "-1.25", "2.05": the lag as the fields and the direction give it.
    std::string LagText() const;
    // "01:02:03": the preview position from the three position fields.
    std::string PreviewPosition() const;
    bool PlayerRunning() const { return playerRunning_; }

    // How often the window thread looks whether the player has ended by itself.
    static constexpr int kPlayerPollMs = 20;

    QLineEdit* Edit1;
    QComboBox* ComboBox1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QLineEdit* Edit5;
    QLineEdit* Edit6;
    TSpinButton* SpinButton1;
    TSpinButton* SpinButton2;
    TSpinButton* SpinButton3;
    TSpinButton* SpinButton4;
    TSpinButton* SpinButton5;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QLabel* Label9;

public slots:
    // Closing by any way (accept, cancel, close box) first stops a running preview.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void StopPreview();
    // The player has ended by itself (ended) or is to be killed; then the preview ends.
    void EndPlayer(bool ended);
    void EndPreview();
    QString PlayCaption() const;
    void ResetMainWindow();

    bool playerRunning_ = false;
    std::unique_ptr<transcoda::ChildProcess> player_;
    QTimer* playerWatch_ = nullptr;
    QString inputPath_;
    std::string acceptedLag_ = "-1000";
};
