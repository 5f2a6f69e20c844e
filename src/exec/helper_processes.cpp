#include "exec/helper_processes.h"

#include "platform/instance_tools.h"

namespace transcoda {

void KillHelperProcesses() { EndMarkedTools(ToolsToEnd::OfThisAndGoneInstances); }

}  // namespace transcoda
