#include "exec/duration_probe.h"

#include "exec/app_state.h"
#include "exec/log.h"
#include "exec/run_dos.h"
#include "platform/command_line.h"

namespace transcoda {

void extractDuration(const std::string& inputPath) {
    LogPlain("$*$*$*$ Extraction de la durée du fichier en entrée");
    RunDosInMemo(App().HelperFolder() + "utilitymffx.exe -i " + Q(inputPath));
    LogPlain("$*$*$*$ FIN Extraction de la durée du fichier en entrée dans extractDuration");
}

}  // namespace transcoda
