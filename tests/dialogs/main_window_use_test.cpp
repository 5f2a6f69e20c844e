// The real main window opening the real special dialogs: what the user sets in them
// decides whether a conversion starts, with which message.

#include <QComboBox>
#include <QPushButton>

#include "dialog_test_support.h"
#include "dialogs/lag_dialog.h"
#include "dialogs/segment_dialog.h"
#include "gui_test_support.h"

namespace transcoda::testing {
namespace {

constexpr int kSync = 38, kExtraction = 39;

struct UseCase {
    const char* name;
    const char* language;
    int format;
    std::function<void(QDialog*)> user;   // what the user does in the dialog
    const char* syncDelay;                // left in SyncDelay, nullptr when not checked
    std::vector<std::string> messages;    // every message box, in order
};

const char* const kZeroFR = "Le délai de décalage du son indiqué est nul, aucune correction ne sera effectuée!";
const char* const kZeroEN = "The estimated sound's lag has a zero value, your video will not be corrected!";
const char* const kOrderFR =
    "La position finale doit être plus avancée dans le temps que la position de départ, merci de corriger vos positions.";

void AcceptLag(QDialog* d, int direction, int seconds, int hundredths) {
    auto* f = qobject_cast<LagDialog*>(d);
    ASSERT_NE(f, nullptr);
    f->directionCombo->setCurrentIndex(direction);
    ClickDown(f->lagSecondsSpin, 301);
    ClickDown(f->lagHundredthsSpin, 100);
    ClickUp(f->lagSecondsSpin, seconds);
    ClickUp(f->lagHundredthsSpin, hundredths);
    f->acceptLag->click();
}

const UseCase kCases[] = {
    {"SyncCancelled", "FR", kSync,
     [](QDialog* d) {
         auto* f = qobject_cast<LagDialog*>(d);
         ClickUp(f->lagSecondsSpin, 4);
         f->cancel->click();
     },
     "-1000", {}},
    {"SyncClosedByCloseBox", "EN", kSync, [](QDialog* d) { d->close(); }, "-1000", {}},
    {"ExtractionEqualPositionsThenCancel", "FR", kExtraction,
     [](QDialog* d) {
         auto* f = qobject_cast<SegmentDialog*>(d);
         ClickUp(f->startSecondsSpin, 10);
         ClickUp(f->endSecondsSpin, 10);
         f->extract->click();
         EXPECT_TRUE(f->isVisible()) << "the dialog must stay open";
         f->cancel->click();
     },
     nullptr, {kOrderFR}},
};

// A zero lag written with two zero digits, as the dialog writes hundredths: the main
// window must refuse it as a zero lag and start nothing.
const UseCase kZeroLagCases[] = {
    {"ZeroLagEarly", "FR", kSync, [](QDialog* d) { AcceptLag(d, 0, 0, 0); }, "-0.00", {kZeroFR}},
    {"ZeroLagLate", "EN", kSync, [](QDialog* d) { AcceptLag(d, 1, 0, 0); }, "0.00", {kZeroEN}},
    {"ZeroAfterClicksBack", "FR", kSync,
     [](QDialog* d) {
         auto* f = qobject_cast<LagDialog*>(d);
         ClickUp(f->lagHundredthsSpin, 3);
         ClickDown(f->lagHundredthsSpin, 3);
         f->acceptLag->click();
     },
     nullptr, {kZeroFR}},
};

class MainWindowUse : public WindowTest, public ::testing::WithParamInterface<UseCase> {};

TEST_P(MainWindowUse, StartsNothingAndSaysWhy) {
    const UseCase& c = GetParam();
    MakeForm(c.language);
    const std::string input = Path("in/clip one.avi");
    WriteFile(input, "input");
    SetRequest(input, Path("out/clip one.avi"), c.format);
    QString shownPath;
    std::string lag;
    std::pair<std::string, std::string> segment;
    dialogs.onModal = [&](QDialog* d) {
        // The modal run is the stand-in's: show the dialog so that it becomes active.
        d->show();
        shownPath = d->findChild<QLineEdit*>("inputPathField")->text();
        c.user(d);
        d->hide();
        if (auto* sync = qobject_cast<LagDialog*>(d)) lag = sync->AcceptedLag();
        if (auto* extraction = qobject_cast<SegmentDialog*>(d)) segment = {extraction->AcceptedStart(), extraction->AcceptedLength()};
    };

    Click(form->convertStopPicture);

    EXPECT_EQ(shownPath, QString::fromStdString(input));
    std::vector<std::string> messages;
    for (const QString& t : dialogs.Texts("message")) messages.push_back(t.toStdString());
    EXPECT_EQ(messages, c.messages);
    if (c.syncDelay != nullptr) {
        EXPECT_EQ(lag, c.syncDelay);
    }
    if (c.format == kExtraction) {
        EXPECT_EQ(segment.first, kNoExtractionValue);
        EXPECT_EQ(segment.second, kNoExtractionValue);
    }
    EXPECT_FALSE(form->Controller().WorkerAlive());
    EXPECT_FALSE(Exists(Path("out/clip one.avi")));
    ExpectIdleLook();
}

INSTANTIATE_TEST_SUITE_P(Table, MainWindowUse, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(ZeroLag, MainWindowUse, ::testing::ValuesIn(kZeroLagCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace transcoda::testing
