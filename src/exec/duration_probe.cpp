#include "exec/duration_probe.h"

#include "exec/app_state.h"
#include "exec/log.h"
#include "exec/run_dos.h"
#include "exec/tool_names.h"
#include "platform/command_line.h"

namespace transcoda {

ToolOutcome extractDuration(const std::string& inputPath) {
    LogPlain("$*$*$*$ Extraction de la durée du fichier en entrée");
    // The probe names no output, so its tool always ends with an error status; that
    // says nothing about the conversion, whose last real run keeps its status.
    AppState& app = App();
    const int conversionStatus = app.LastExitStatus;
    ToolOutcome outcome = RunDosInMemo(app.HelperFolder() + std::string(utilitymffx) + " -i " + Q(inputPath));
    app.LastExitStatus = conversionStatus;
    LogPlain("$*$*$*$ FIN Extraction de la durée du fichier en entrée dans extractDuration");
    return outcome;
}

}  // namespace transcoda
