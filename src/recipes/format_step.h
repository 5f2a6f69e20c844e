#pragma once

#include <string>

namespace transcoda {

// Runs one step named by its code: probes the input's duration for the progress
// display, deletes the output and creates its folder (for the DVD encodings: prepares
// the DVD folder instead), shows the step's status, and runs the tool's command line.
// Returns when the tool has ended or has been ended by Stop. Throws FolderCreationError
// when the output folder or the DVD folder cannot be created; the tool is then not run.
void RunFormatStep(const std::string& code, const std::string& input, const std::string& output);

}  // namespace transcoda
