#pragma once

namespace transcoda {

// Ends the tools this instance started, and those left running by instances that have
// ended; never a tool of another running window or terminal. Called when the user
// stops a conversion and before a new one starts.
void KillHelperProcesses();

}  // namespace transcoda
