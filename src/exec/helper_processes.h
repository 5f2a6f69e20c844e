#pragma once

namespace transcoda {

// Ends one left-over process of each helper tool name (the player excepted).
void KillHelperProcesses();

}  // namespace transcoda
