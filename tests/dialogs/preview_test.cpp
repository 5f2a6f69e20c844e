// The preview runs a stand-in player placed in a temporary program folder: one that
// never ends (stopped by the button or by closing the dialog), one that ends by itself,
// and none at all. The preview returns at once and the window thread watches the player.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <cerrno>
#include <csignal>
#include <fstream>
#include <functional>

#include "dialog_test_support.h"
#include "dialogs/lag_dialog.h"

namespace transcoda::testing {
namespace {

const QString kPlayFR = QString::fromUtf8("Tester la correction de la vidéo avec votre estimation du décalage");
const QString kPlayEN = QString::fromUtf8("Play the video with your estimation of the sound’s lag");

// A program folder whose B/utilitympl.exe is the given shell script body (none when
// empty). The stand-in writes its arguments, one a line, to B/args and its pid to B/pid.
class StandInPlayer {
public:
    explicit StandInPlayer(const std::string& body) {
        QDir(dir_.path()).mkpath("B");
        App().ProgramFolder = dir_.path().toStdString() + "/";
        if (body.empty()) return;
        const std::string b = App().HelperFolder();
        std::ofstream script(b + "utilitympl.exe");
        script << "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" << b << "args.tmp'\n"
               << "mv '" << b << "args.tmp' '" << b << "args'\n"
               << "echo $$ > '" << b << "pid.tmp'\nmv '" << b << "pid.tmp' '" << b << "pid'\n"
               << body << "\n";
        script.close();
        QFile::setPermissions(QString::fromStdString(b + "utilitympl.exe"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    bool Started() const { return QFile::exists(QString::fromStdString(App().HelperFolder() + "pid")); }
    pid_t Pid() const {
        std::ifstream in(App().HelperFolder() + "pid");
        pid_t pid = -1;
        in >> pid;
        return pid;
    }
    std::vector<std::string> Arguments() const {
        std::ifstream in(App().HelperFolder() + "args");
        std::vector<std::string> out;
        for (std::string line; std::getline(in, line);) out.push_back(line);
        return out;
    }

private:
    QTemporaryDir dir_;
};

// Turns the event loop until done() holds; false after 10 s, so that a broken preview
// fails instead of hanging.
bool ProcessEventsUntil(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > 10000) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

bool ProcessGone(pid_t pid) { return pid > 0 && kill(pid, 0) == -1 && errno == ESRCH; }

struct StopCase {
    const char* language;
    bool byClosing;   // close the dialog instead of pressing Stop
};

class PreviewStop : public ::testing::TestWithParam<StopCase> {};

TEST_P(PreviewStop, EndsANeverEndingPlayerAtOnce) {
    const StopCase c = GetParam();
    RecordingWindow window;
    ResetApp(window, c.language);
    StandInPlayer player("exec sleep 600");
    LagDialog dialog;
    dialog.SetInputPath("/m/a b.avi");
    dialog.show();
    dialog.directionCombo->setCurrentIndex(1);
    ClickUp(dialog.lagSecondsSpin, 1);
    ClickUp(dialog.lagHundredthsSpin, 50);
    ClickUp(dialog.previewHoursSpin, 1);
    ClickUp(dialog.previewMinutesSpin, 2);
    ClickUp(dialog.previewSecondsSpin, 3);

    dialog.playPreview->click();
    ASSERT_TRUE(ProcessEventsUntil([&] { return player.Started(); }));
    EXPECT_EQ(dialog.playPreview->text(), "Stop");
    EXPECT_TRUE(dialog.PlayerRunning());
    // The dialog goes on while the player plays; stopping it ends the player before the
    // click (or the close) returns.
    if (c.byClosing) dialog.close();
    else dialog.playPreview->click();

    EXPECT_TRUE(ProcessGone(player.Pid()));
    EXPECT_FALSE(dialog.PlayerRunning());
    EXPECT_EQ(dialog.playPreview->text(), c.language == std::string("EN") ? kPlayEN : kPlayFR);
    EXPECT_EQ(player.Arguments(), (std::vector<std::string>{"/m/a b.avi", "-ss", "01:02:03", "-delay", "1.50"}));
    EXPECT_EQ(dialog.isVisible(), !c.byClosing);
    EXPECT_EQ(dialog.AcceptedLag(), kNoSyncDelay);
    // The main window is back to idle and the log tells that the player was stopped.
    EXPECT_EQ(window.title, "Transcoda 1.0");
    EXPECT_EQ(window.status, c.language == std::string("EN") ? "Ready" : "Prêt");
    EXPECT_EQ(window.progress, "");
    EXPECT_EQ(window.bar, 0);
    ASSERT_EQ(window.log.size(), 2u);
    EXPECT_EQ(window.log[0], "Commande à exécuter : " + App().HelperFolder() +
                                 "utilitympl.exe  \"/m/a b.avi\" -ss 01:02:03 -delay 1.50");
    EXPECT_EQ(window.log[1], "--Lecteur MPLAYER a été arrété");
}

INSTANTIATE_TEST_SUITE_P(Table, PreviewStop,
                         ::testing::Values(StopCase{"FR", false}, StopCase{"EN", false},
                                           StopCase{"FR", true}, StopCase{"EN", true}));

TEST(Preview, PlayerThatEndsByItselfGivesTheButtonBack) {
    RecordingWindow window;
    ResetApp(window, "EN");
    StandInPlayer player("exit 0");
    LagDialog dialog;
    dialog.SetInputPath("/m/clip.avi");
    dialog.show();
    dialog.playPreview->click();
    ASSERT_TRUE(ProcessEventsUntil([&] { return !dialog.PlayerRunning(); }));
    EXPECT_TRUE(player.Started());
    EXPECT_EQ(player.Arguments(), std::vector<std::string>{"/m/clip.avi"});
    EXPECT_FALSE(dialog.PlayerRunning());
    EXPECT_EQ(dialog.playPreview->text(), kPlayEN);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(window.status, "Ready");
    dialog.close();
}

TEST(Preview, MissingPlayerLeavesTheDialogUsable) {
    for (const char* language : {"FR", "EN"}) {
        RecordingWindow window;
        ResetApp(window, language);
        StandInPlayer none("");
        LagDialog dialog;
        dialog.show();
        ClickUp(dialog.lagHundredthsSpin, 5);
        dialog.playPreview->click();
        EXPECT_FALSE(dialog.PlayerRunning());
        EXPECT_EQ(dialog.playPreview->text(), std::string(language) == "EN" ? kPlayEN : kPlayFR);
        ASSERT_EQ(window.log.size(), 2u) << language;
        const std::string expected = std::string(language) == "EN"
            ? "Process error, please send this error to "
            : "Erreur de processus, merci de signaler cette erreur avec votre configuration à ";
        EXPECT_EQ(window.log[1], expected + kProductWebAddress);
        EXPECT_EQ(window.title, "Transcoda 1.0");
        // Still usable: a second try behaves the same and the lag can be accepted.
        dialog.playPreview->click();
        EXPECT_EQ(window.log.size(), 4u);
        dialog.acceptLag->click();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.AcceptedLag(), "-0.05");
    }
}

TEST(Preview, NothingIsLoggedOutsideDebugMode) {
    RecordingWindow window;
    ResetApp(window, "FR", /*debug=*/false);
    StandInPlayer none("");
    LagDialog dialog;
    dialog.playPreview->click();
    EXPECT_TRUE(window.log.empty());
    EXPECT_EQ(window.status, "Prêt");
}

}  // namespace
}  // namespace transcoda::testing
