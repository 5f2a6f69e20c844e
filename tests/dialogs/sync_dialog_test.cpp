// The sync dialog: lag text and preview arguments from clicks on its spin buttons, in
// both languages, and what accepting or cancelling leaves in SyncDelay.

#include <gtest/gtest.h>

#include <cstdlib>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dialog_test_support.h"
#include "dialogs/lag_dialog.h"
#include "dialogs/lag_text.h"
#include "dialogs/preview_command.h"

namespace transcoda::testing {
namespace {

struct LagCase {
    const char* language;
    int direction;                 // directionCombo entry: 0 sound early, 1 sound late
    int secondsUp, secondsDown;    // clicks on lagSecondsSpin
    int hundredthsUp, hundredthsDown;
    int hoursUp, minutesUp, secondsPosUp, secondsPosDown;
    const char* lag;
    const char* position;
    const char* arguments;         // for the file /m/My clip.avi
};

const LagCase kLagCases[] = {
    // A single-digit hundredth keeps its leading zero: 2.05 s, not 2.5 s.
    {"FR", 1, 2, 0, 5, 0, 0, 0, 0, 0, "2.05", "00:00:00", " \"/m/My clip.avi\" -delay 2.05"},
    {"EN", 1, 2, 0, 5, 0, 0, 0, 0, 0, "2.05", "00:00:00", " \"/m/My clip.avi\" -delay 2.05"},
    {"FR", 0, 1, 0, 25, 0, 0, 0, 0, 0, "-1.25", "00:00:00", " \"/m/My clip.avi\" -delay -1.25"},
    {"EN", 0, 1, 0, 25, 0, 0, 0, 0, 0, "-1.25", "00:00:00", " \"/m/My clip.avi\" -delay -1.25"},
    {"FR", 1, 2, 0, 50, 0, 0, 0, 0, 0, "2.50", "00:00:00", " \"/m/My clip.avi\" -delay 2.50"},
    // Ranges: 0..300 and 0..99, no wrap-around past either end.
    {"EN", 1, 305, 0, 104, 0, 0, 0, 0, 0, "300.99", "00:00:00", " \"/m/My clip.avi\" -delay 300.99"},
    {"FR", 0, 3, 7, 2, 9, 0, 0, 0, 0, "-0.00", "00:00:00", " \"/m/My clip.avi\""},
    {"EN", 1, 0, 1, 0, 1, 0, 0, 0, 0, "0.00", "00:00:00", " \"/m/My clip.avi\""},
    // Position: each part written with two digits, hours up to 24, minutes and seconds up to 59.
    {"EN", 1, 1, 0, 50, 0, 1, 2, 3, 0, "1.50", "01:02:03", " \"/m/My clip.avi\" -ss 01:02:03 -delay 1.50"},
    {"FR", 0, 0, 0, 0, 0, 0, 0, 5, 0, "-0.00", "00:00:05", " \"/m/My clip.avi\" -ss 00:00:05"},
    {"FR", 1, 10, 0, 0, 0, 30, 70, 65, 2, "10.00", "24:59:57", " \"/m/My clip.avi\" -ss 24:59:57 -delay 10.00"},
    {"EN", 0, 0, 0, 1, 0, 0, 0, 0, 1, "-0.01", "00:00:00", " \"/m/My clip.avi\" -delay -0.01"},
};

class LagFromClicks : public ::testing::TestWithParam<LagCase> {};

TEST_P(LagFromClicks, GivesLagTextPositionAndPlayerArguments) {
    const LagCase& c = GetParam();
    RecordingWindow window;
    ResetApp(window, c.language);
    LagDialog dialog;
    dialog.directionCombo->setCurrentIndex(c.direction);
    ClickUp(dialog.lagSecondsSpin, c.secondsUp);
    ClickDown(dialog.lagSecondsSpin, c.secondsDown);
    ClickUp(dialog.lagHundredthsSpin, c.hundredthsUp);
    ClickDown(dialog.lagHundredthsSpin, c.hundredthsDown);
    ClickUp(dialog.previewHoursSpin, c.hoursUp);
    ClickUp(dialog.previewMinutesSpin, c.minutesUp);
    ClickUp(dialog.previewSecondsSpin, c.secondsPosUp);
    ClickDown(dialog.previewSecondsSpin, c.secondsPosDown);

    EXPECT_EQ(dialog.LagText(), c.lag);
    EXPECT_EQ(dialog.PreviewPosition(), c.position);
    EXPECT_EQ(PreviewArguments("/m/My clip.avi", dialog.LagText(), dialog.PreviewPosition()), c.arguments);
    EXPECT_EQ(PreviewCommandLine("/opt/t/B/", "/m/My clip.avi", dialog.LagText(), dialog.PreviewPosition()),
              std::string("/opt/t/B/utilitympl.exe ") + c.arguments);

    dialog.acceptLag->click();
    EXPECT_EQ(dialog.AcceptedLag(), c.lag);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

INSTANTIATE_TEST_SUITE_P(Table, LagFromClicks, ::testing::ValuesIn(kLagCases));

TEST(SyncDialog, FieldsShowPlainDecimalAndStopAtTheirLimits) {
    RecordingWindow window;
    ResetApp(window, "FR");
    LagDialog dialog;
    EXPECT_EQ(dialog.previewHours->text(), "00");
    ClickDown(dialog.previewHoursSpin, 1);
    EXPECT_EQ(dialog.previewHours->text(), "00");  // a down click at 0 changes nothing
    ClickUp(dialog.previewHoursSpin, 1);
    EXPECT_EQ(dialog.previewHours->text(), "1");   // written back as plain decimal
    ClickUp(dialog.previewHoursSpin, 40);
    EXPECT_EQ(dialog.previewHours->text(), "24");
    ClickUp(dialog.previewMinutesSpin, 60);
    EXPECT_EQ(dialog.previewMinutes->text(), "59");
    ClickUp(dialog.lagSecondsSpin, 300);
    ClickUp(dialog.lagSecondsSpin, 1);
    EXPECT_EQ(dialog.lagSeconds->text(), "300");
    // The path is shown, not typed: it comes from the main window.
    EXPECT_TRUE(dialog.inputPathField->isReadOnly());
}

TEST(SyncDialog, CancelAndCloseBoxLeaveNoLag) {
    RecordingWindow window;
    ResetApp(window, "EN");
    LagDialog dialog;
    ClickUp(dialog.lagSecondsSpin, 3);
    dialog.show();
    dialog.cancel->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.AcceptedLag(), kNoSyncDelay);

    dialog.show();
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.AcceptedLag(), kNoSyncDelay);
    // The fields keep their values for the next opening.
    EXPECT_EQ(dialog.lagSeconds->text(), "3");
}

TEST(SyncDialog, TextsFollowTheLanguageAtCreation) {
    RecordingWindow window;
    ResetApp(window, "EN");
    LagDialog english;
    ASSERT_EQ(english.directionCombo->count(), 2);
    EXPECT_EQ(english.directionCombo->currentText(), " The sound arrives before the video with");
    EXPECT_EQ(english.directionCombo->itemText(1), " The sound arrives after the video with");
    EXPECT_EQ(english.playPreview->text(), QString::fromUtf8("Play the video with your estimation of the sound’s lag"));
    EXPECT_EQ(english.windowTitle(), "Correction and Synchronization of video/audio");

    ResetApp(window, "FR");
    LagDialog french;
    ASSERT_EQ(french.directionCombo->count(), 2);
    EXPECT_EQ(french.directionCombo->currentText(), QString::fromUtf8(" Par rapport à l’image, le son arrive en avance de"));
    EXPECT_EQ(french.cancel->text(), "Annuler");
    EXPECT_EQ(french.size(), QSize(626, 274));
    // The shared background picture fills the panel behind the controls.
    auto* background = french.findChild<QLabel*>("backgroundPicture");
    ASSERT_NE(background, nullptr);
    EXPECT_FALSE(background->pixmap().isNull());
    if (const char* shot = std::getenv("TRANSCODA_SCREENSHOT_DIR")) {
        french.show();
        french.grab().save(QString(shot) + "/LagDialog.png");
        french.close();
    }
}

TEST(SyncDialog, ShowsTheMainWindowsInputPath) {
    RecordingWindow window;
    ResetApp(window, "FR");
    LagDialog dialog;
    dialog.SetInputPath(QString::fromUtf8("/videos/été 2026.mts"));
    dialog.show();
    EXPECT_EQ(dialog.inputPathField->text(), QString::fromUtf8("/videos/été 2026.mts"));
    dialog.close();
}

}  // namespace
}  // namespace transcoda::testing
