#pragma once

#include <string>

namespace transcoda {

// Removes the file or folder `path` with everything in it, asking nothing. Symbolic
// links are removed, never followed. True when the deletion succeeded; false for an
// empty path, the root folder, or a path that does not exist.
bool DeleteTreeSilently(const std::string& path);

}  // namespace transcoda
