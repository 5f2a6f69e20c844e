#pragma once

#include <string>

namespace transcoda {

// Folder of the running executable, with a trailing "/"; "./" if it cannot be found.
std::string ExecutableFolder();

}  // namespace transcoda
