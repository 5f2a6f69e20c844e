#pragma once

#include <string>

namespace transcoda {

// Kills (SIGKILL) the first running process of the current user whose executable file
// name equals exeName, ignoring ASCII letter case, together with its process group when
// it leads one. True when one was found and killed.
bool KillProcessByName(const std::string& exeName);

}  // namespace transcoda
