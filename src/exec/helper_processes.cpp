#include "exec/helper_processes.h"

#include "platform/process_kill.h"

namespace transcoda {

void KillHelperProcesses() {
    static const char* const kNames[] = {"utilitymff.exe",  "utilitymffx.exe", "utilitymff3.exe",
                                         "utilitymen.exe",  "utilitymen2.exe", "utilityoth.exe"};
    for (const char* name : kNames) KillProcessByName(name);
}

}  // namespace transcoda
