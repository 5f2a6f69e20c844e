#pragma once

#include <string>

#include "exec/conversion_session.h"
#include "exec/tool_outcome.h"

namespace transcoda {

// Runs utilitymffx.exe -i "input" and lets the progress parser take the input's
// duration from its output (the session's Progress: InputDurationCs, DurationText). The tool, which writes no
// file, reports what it read of the input itself: the outcome's report tells whether
// the input can be read and which streams it holds, for how long. When the instance's
// probe cache already holds the answer for the unchanged file, no tool is started: the
// answer's output goes through the same parsers, and the display ends as after a run.
ToolOutcome extractDuration(ConversionSession& session, const std::string& inputPath);

}  // namespace transcoda
