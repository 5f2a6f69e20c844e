#include "exec/tool_outcome.h"

#include <string.h>

#include "exec/app_state.h"

namespace transcoda {

std::string ToolEndText(const ToolOutcome& outcome) {
    const bool english = App().English();
    const std::string code = std::to_string(outcome.Code);
    switch (outcome.Ending) {
        case ToolOutcome::End::Exited:
            return english ? "the tool exited with status " + code : "l'outil s'est terminé avec le code " + code;
        case ToolOutcome::End::Stopped:
            return english ? "the conversion was stopped" : "la conversion a été arrêtée";
        case ToolOutcome::End::Killed: {
            const char* name = sigabbrev_np(outcome.Code);
            const std::string signal = code + (name != nullptr ? std::string(" (SIG") + name + ")" : "");
            return english ? "the tool was ended from outside by signal " + signal
                           : "l'outil a été arrêté de l'extérieur par le signal " + signal;
        }
        case ToolOutcome::End::NotStarted:
            return english ? "the tool could not be started" : "l'outil n'a pas pu être lancé";
    }
    return {};
}

}  // namespace transcoda
