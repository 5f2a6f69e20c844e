#pragma once
// Whether a DVD output folder may be written without losing anything.

#include <string>

namespace transcoda::gui {

// True when the folder does not exist, or exists and is an empty folder. False for a
// folder with anything in it, for a path that names a file, and for a folder that
// cannot be listed.
bool FolderIsUsable(const std::string& folder);

}  // namespace transcoda::gui
