// The extraction dialog: start and length from clicks on its spin buttons, the refusal of
// an end that does not lie after the start, and cancelling.

#include <gtest/gtest.h>

#include <cstdlib>

#include <QLineEdit>
#include <QPushButton>

#include "dialog_test_support.h"
#include "dialogs/segment_dialog.h"
#include "dialogs/time_text.h"

namespace transcoda::testing {
namespace {

struct Position { int h, m, s; };

struct SegmentCase {
    Position from, to;
    const char* start;    // expected ExtractionStart, nullptr when refused
    const char* length;   // expected ExtractionLength
};

const SegmentCase kSegments[] = {
    {{0, 59, 30}, {1, 0, 15}, "00:59:30", "00:00:45"},
    {{0, 1, 0}, {0, 1, 30}, "00:01:00", "00:00:30"},
    {{0, 0, 0}, {24, 59, 59}, "00:00:00", "24:59:59"},
    {{0, 0, 0}, {0, 0, 5}, "00:00:00", "00:00:05"},
    {{1, 2, 3}, {12, 40, 1}, "01:02:03", "11:37:58"},
    {{0, 0, 10}, {0, 0, 10}, nullptr, nullptr},   // equal positions
    {{2, 0, 0}, {1, 59, 59}, nullptr, nullptr},   // end before start
    {{24, 59, 59}, {0, 0, 0}, nullptr, nullptr},
};

void SetPositions(SegmentDialog& d, const Position& from, const Position& to) {
    ClickUp(d.startHoursSpin, from.h);
    ClickUp(d.startMinutesSpin, from.m);
    ClickUp(d.startSecondsSpin, from.s);
    ClickUp(d.endHoursSpin, to.h);
    ClickUp(d.endMinutesSpin, to.m);
    ClickUp(d.endSecondsSpin, to.s);
}

class ExtractionFromClicks : public ::testing::TestWithParam<std::tuple<SegmentCase, const char*>> {};

TEST_P(ExtractionFromClicks, StoresStartAndLengthOrRefuses) {
    const auto& [c, language] = GetParam();
    RecordingWindow window;
    ResetApp(window, language);
    SegmentDialog dialog;
    dialog.show();
    SetPositions(dialog, c.from, c.to);
    dialog.extract->click();

    if (c.start == nullptr) {
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.AcceptedStart(), kNoExtractionValue);
        EXPECT_EQ(dialog.AcceptedLength(), kNoExtractionValue);
        const std::string message = std::string(language) == "EN"
            ? "The end position must be greater then the starting position, please correct the indicated positions."
            : "La position finale doit être plus avancée dans le temps que la position de départ, merci de corriger vos positions.";
        EXPECT_EQ(window.messages, std::vector<std::string>{message});
        EXPECT_TRUE(window.log.empty());
        dialog.close();
        return;
    }
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.AcceptedStart(), c.start);
    EXPECT_EQ(dialog.AcceptedLength(), c.length);
    EXPECT_TRUE(window.messages.empty());
    const std::string end = ClockText(c.to.h, c.to.m, c.to.s);
    EXPECT_EQ(window.log, std::vector<std::string>{"Instant départ : <" + std::string(c.start) +
                                                   ">, Instant d'arivéee : <" + end + ">, Intervalle : <" +
                                                   c.length + ">"});
}

INSTANTIATE_TEST_SUITE_P(Table, ExtractionFromClicks,
                         ::testing::Combine(::testing::ValuesIn(kSegments), ::testing::Values("FR", "EN")));

TEST(ExtractionDialog, UnitsDoNotCarryAndStopAtTheirLimits) {
    RecordingWindow window;
    ResetApp(window, "FR");
    SegmentDialog dialog;
    ClickUp(dialog.startHoursSpin, 30);   // start hours
    ClickUp(dialog.startSecondsSpin, 75);   // start seconds
    ClickDown(dialog.startMinutesSpin, 2);  // start minutes below 0
    ClickUp(dialog.endMinutesSpin, 61);   // end minutes
    EXPECT_EQ(dialog.startHours->text(), "24");
    EXPECT_EQ(dialog.startSeconds->text(), "59");
    EXPECT_EQ(dialog.startMinutes->text(), "00");
    EXPECT_EQ(dialog.endMinutes->text(), "59");
    EXPECT_EQ(dialog.endHours->text(), "00");
}

TEST(ExtractionDialog, CancelAfterAnAcceptedExtractionLeavesNoValues) {
    RecordingWindow window;
    ResetApp(window, "EN");
    SegmentDialog dialog;
    dialog.show();
    SetPositions(dialog, {0, 0, 1}, {0, 0, 3});
    dialog.extract->click();
    ASSERT_EQ(dialog.AcceptedLength(), "00:00:02");

    // The main window clears both values before each opening; cancelling keeps them so,
    // by the button and by the close box, while the fields keep their positions.
    for (bool closeBox : {false, true}) {
        dialog.SetAcceptedSegment(kNoExtractionValue, kNoExtractionValue);
        dialog.show();
        if (closeBox) dialog.close();
        else dialog.cancel->click();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(dialog.AcceptedStart(), kNoExtractionValue);
        EXPECT_EQ(dialog.AcceptedLength(), kNoExtractionValue);
        EXPECT_EQ(dialog.endSeconds->text(), "3");
    }
}

TEST(ExtractionDialog, TextsFollowTheLanguageAtCreation) {
    RecordingWindow window;
    ResetApp(window, "EN");
    SegmentDialog english;
    EXPECT_EQ(english.windowTitle(), "Extract a part of a video/audio");
    EXPECT_EQ(english.extract->text(), "Make the video/audio extraction");
    ResetApp(window, "FR");
    SegmentDialog french;
    EXPECT_EQ(french.windowTitle(), "Extraction de partie video/audio");
    EXPECT_EQ(french.extract->text(), QString::fromUtf8("Effectuer l'extraction de la vidéo/audio"));
    EXPECT_EQ(french.size(), QSize(626, 242));
    if (const char* shot = std::getenv("TRANSCODA_SCREENSHOT_DIR")) {
        french.show();
        french.grab().save(QString(shot) + "/SegmentDialog.png");
        french.close();
    }
}

}  // namespace
}  // namespace transcoda::testing
