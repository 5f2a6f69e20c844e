// The preview of the sync dialog: the player runs as a child process while the window
// thread keeps turning its event loop, so that a click on Stop (or closing the dialog) is
// seen and the player is killed at once.

#include <QCoreApplication>
#include <QPushButton>

#include "dialogs/TForm8.h"
#include "dialogs/preview_command.h"
#include "exec/app_state.h"
#include "exec/language.h"
#include "exec/log.h"
#include "exec/progress_handler.h"
#include "exec/tool_names.h"
#include "platform/process.h"

using namespace transcoda;

void TForm8::PlayPreview(const std::string& file, const std::string& lag, const std::string& position) {
    const std::string tool = App().HelperFolder() + std::string(utilitympl);
    const std::string arguments = PreviewArguments(file, lag, position);
    LogPlain("Commande à exécuter : " + tool + " " + arguments);

    playerRunning_ = true;
    Button1->setText("Stop");
    RunPlayer(tool + " " + arguments);
    playerRunning_ = false;
    Button1->setText(PlayCaption());
}

void TForm8::RunPlayer(const std::string& commandLine) {
    ChildProcess player;
    // No output descriptor: the player's output goes nowhere and is not read.
    if (!player.Start(commandLine, -1)) {
        LogPlain(Localised("Erreur de processus, merci de signaler cette erreur avec votre configuration à ",
                           "Process error, please send this error to ") +
                 std::string(kProductWebAddress));
    } else {
        bool ended = false;
        for (;;) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            if (!playerRunning_) break;
            if (player.WaitFor(kPlayerWaitMs)) {
                ended = true;
                break;
            }
        }
        bool stopped = true;
        if (!ended) {
            // A player that ended on its own just before the kill needs no kill.
            if (!player.Terminate() && !player.WaitFor(0)) {
                stopped = false;
                LogPlain(Localised("Erreur processus mémoire, merci de signaler cette erreur avec votre configuration au support",
                                   "Memory process error, please send this error to the support"));
            } else if (!player.WaitFor(2000)) {
                stopped = false;
                LogPlain(Localised("Erreur de terminaison, merci de signaler cette erreur avec votre configuration à ",
                                   "Terminaison error, please send this error to ") +
                         std::string(kProductWebAddress));
            }
        }
        LogPlain(stopped ? "--Lecteur MPLAYER a été arrété" : "--Lecteur MPLAYER n'a pas été arrété!");
    }
    ResetMainWindow();
}

void TForm8::ResetMainWindow() { ResetProgressDisplay(); }
