#pragma once

#include <string>

#include "exec/app_state.h"
#include "exec/conversion_session.h"
#include "recipes/step_outcome.h"

namespace transcoda {

// Runs one step named by its code: probes the input's duration for the progress
// display, deletes the output and creates its folder (for the DVD encodings: prepares
// the DVD folder instead), shows the step's status, and runs the tool's command line
// (the lag and segment steps take their values from `values`). Returns when the tool
// has ended or has been ended by Stop, with what became of it. Throws
// FolderCreationError when the output folder or the DVD folder cannot be created; the
// tool is then not run. Without `probeInput`, the input's duration is left to what the
// step's tool prints (its tool reads the input itself, for a request not read before).
StepOutcome RunFormatStep(ConversionSession& session, const std::string& code, const std::string& input,
                          const std::string& output, const SpecialValues& values = {}, bool probeInput = true);

// Which step a code is, and the file it writes for these paths.
StepKind StepKindOfCode(const std::string& code);
std::string StepFileOfCode(const std::string& code, const std::string& output, const std::string& tempStem);

}  // namespace transcoda
