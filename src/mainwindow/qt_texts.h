#pragma once
// Qt's own texts (the file dialogs' buttons and columns, the boxes' standard buttons, the
// fields' menus) in the window's language, from the toolkit's translation catalogues.

#include <string>

namespace transcoda::gui {

// Installs the toolkit's catalogue for language ("FR" or "EN") in the application, in
// the place of the one installed before; true when one is installed, false for English,
// which needs none, or when no catalogue is found.
bool InstallQtTexts(const std::string& language);

}  // namespace transcoda::gui
