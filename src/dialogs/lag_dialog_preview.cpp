// The preview of the sync dialog: the player runs as a child process while the window
// thread goes on with its own event loop; a timer looks every few milliseconds whether
// the player has ended by itself, and a click on Stop (or closing the dialog) kills it at
// once. Nothing here waits for the player, so no click can come back into a preview
// half-way.

#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "dialogs/lag_dialog.h"
#include "dialogs/player_place.h"
#include "dialogs/preview_command.h"
#include "exec/app_state.h"
#include "exec/language.h"
#include "exec/log.h"
#include "exec/progress_handler.h"
#include "exec/tool_names.h"
#include "platform/process.h"

using namespace transcoda;

namespace {

// How long a killed player may take to be gone before the kill counts as failed.
constexpr int kKilledPlayerWaitMs = 2000;

}  // namespace

LagDialog::~LagDialog() {
    if (player_ && player_->Terminate()) player_->WaitFor(kKilledPlayerWaitMs);
}

void LagDialog::PlayPreview(const std::string& file, const std::string& lag, const std::string& position) {
    const std::string tool = App().HelperFolder() + std::string(utilitympl);
    const std::string arguments = PreviewArguments(file, lag, position);
    LogPlain("Commande à exécuter : " + tool + " " + arguments);

    playerRunning_ = true;
    playPreview->setText("Stop");
    RunPlayer(tool + " " + arguments);
}

void LagDialog::RunPlayer(const std::string& commandLine) {
    player_ = std::make_unique<ChildProcess>();
    // The player opens beside the dialog; its command line stays as it is, the place
    // goes through its environment.
    std::vector<std::string> environment;
    if (QScreen* screen = this->screen()) {
        const std::string area = PlayerAreaText(PlayerArea(frameGeometry(), screen->availableGeometry()));
        if (!area.empty()) environment.push_back(std::string(kPlayerAreaVariable) + "=" + area);
    }
    // No output descriptor: the player's output goes nowhere and is not read.
    if (!player_->Start(commandLine, -1, environment)) {
        player_.reset();
        LogPlain(Localised("Erreur de processus, merci de signaler cette erreur avec votre configuration à ",
                           "Process error, please send this error to ") +
                 std::string(kProductWebAddress));
        EndPreview();
        return;
    }
    playerWatch_->start(kPlayerPollMs);
}

void LagDialog::EndPlayer(bool ended) {
    playerWatch_->stop();
    bool stopped = true;
    if (!ended) {
        // A player that ended on its own just before the kill needs no kill.
        if (!player_->Terminate() && !player_->WaitFor(0)) {
            stopped = false;
            LogPlain(Localised("Erreur processus mémoire, merci de signaler cette erreur avec votre configuration au support",
                               "Memory process error, please send this error to the support"));
        } else if (!player_->WaitFor(kKilledPlayerWaitMs)) {
            stopped = false;
            LogPlain(Localised("Erreur de terminaison, merci de signaler cette erreur avec votre configuration à ",
                               "Terminaison error, please send this error to ") +
                     std::string(kProductWebAddress));
        }
    }
    player_.reset();
    LogPlain(stopped ? "--Lecteur MPLAYER a été arrété" : "--Lecteur MPLAYER n'a pas été arrété!");
    EndPreview();
}

void LagDialog::EndPreview() {
    ResetMainWindow();
    playerRunning_ = false;
    playPreview->setText(PlayCaption());
}

void LagDialog::ResetMainWindow() {
    if (transcoda::WindowPort* window = App().Window) window->ShowDisplay(transcoda::IdleLook());
}
