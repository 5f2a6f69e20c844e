#pragma once
// Sound-lag correction dialog. The user says whether the sound comes early or late and by
// how many seconds and hundredths, may play the input with that lag applied from a chosen
// position (preview in the player B/utilitympl.exe), and confirms.
//
// How the main window uses it (the dialog is created once at start-up, after MainWindow):
//     lagDialog->SetAcceptedLag(transcoda::kNoSyncDelay);  // "-1000"
//     lagDialog->exec();                                    // modal
//     const std::string lag = lagDialog->AcceptedLag();
//     if (lag == kNoSyncDelay)  -> left without a value (Cancel or close box): no message
//     else if (transcoda::IsZeroLag(lag))  -> zero lag message, nothing converted
//     else                      -> start the worker with "transformOnce"
// IsZeroLag lives in recipes/sync_lag.h. The lag text is "-" (sound early) + seconds + "."
// + two-digit hundredths, e.g. "-1.25" or "2.05". The main window hands over its input
// path (SetInputPath) before it opens the dialog; inputPathField shows it each time the dialog
// becomes active (InputDialog). The fields keep their values from one opening to the next. Closing the
// dialog while a preview plays stops the player.

#include <QString>
#include <memory>
#include <string>

#include "dialogs/input_dialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class SpinButton;

namespace transcoda {
class ChildProcess;
}

class LagDialog : public InputDialog {
    Q_OBJECT
public:
    explicit LagDialog(QWidget* parent = nullptr);
    // A preview still playing is ended with the dialog.
    ~LagDialog() override;

    // At creation: the English texts when CurrentLanguage is "EN".
    void ApplyLanguage();

    // Preview, or Stop while a preview plays.
    void onPlayPreviewClicked();
    // Accept: the accepted lag := the lag text, and close.
    void onAcceptClicked();
    // Cancel: close, the accepted lag untouched.
    void onCancelClicked();
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

    QComboBox* directionCombo;
    QLineEdit* lagSeconds;
    QLineEdit* lagHundredths;
    QLineEdit* previewSeconds;
    QLineEdit* previewHours;
    QLineEdit* previewMinutes;
    SpinButton* lagSecondsSpin;
    SpinButton* lagHundredthsSpin;
    SpinButton* previewSecondsSpin;
    SpinButton* previewHoursSpin;
    SpinButton* previewMinutesSpin;
    QPushButton* playPreview;
    QPushButton* acceptLag;
    QPushButton* cancel;
    QLabel* lagLabel;
    QLabel* secondsUnit;
    QLabel* decimalComma;
    QLabel* previewLabel;
    QLabel* hoursUnit;
    QLabel* minutesUnit;
    QLabel* previewSecondsUnit;
    QLabel* hundredthsUnit;

public slots:
    // Closing by any way (accept, cancel, close box) first stops a running preview.
    void done(int result) override;

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
    std::string acceptedLag_ = "-1000";
};
