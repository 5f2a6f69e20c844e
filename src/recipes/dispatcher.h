#pragma once

#include <string>

namespace transcoda {

// Runs the recipe of the preset `label` for one request: refuses an input whose
// extension is not accepted or a label outside the catalogue (with a message box),
// otherwise runs the preset's steps for the input's class and deletes the
// intermediates. Steps after a Stop are skipped where the recipe tests the running
// flag. Lets FolderCreationError through when an output folder cannot be created.
void DispatchConversion(const std::string& input, const std::string& output, const std::string& label);

}  // namespace transcoda
