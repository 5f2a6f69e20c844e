#pragma once
// Qt's own texts (the file dialogs' buttons and columns, the boxes' standard buttons, the
// fields' menus) in the window's language, from the toolkit's translation catalogues.

#include <string>

class QTranslator;

namespace transcoda::gui {

// Installs the toolkit's catalogue for language ("FR" or "EN") in the application and
// returns it; nullptr for English, which needs none, or when no catalogue is found.
QTranslator* InstallQtTexts(const std::string& language);

}  // namespace transcoda::gui
