#pragma once
// Running one helper tool with its console output captured and turned into progress.

#include <string>

#include "exec/conversion_session.h"
#include "exec/tool_outcome.h"

namespace transcoda {

// Runs one command line (tool path, a blank, the arguments; the arguments split by the
// Windows rules for double-quoted arguments) for `session`, and returns when the tool
// has ended, or at once when the session is stopped (the tool and what it started are
// then ended). The tool's output goes chunk by chunk to the session's progress. The
// display is reset afterwards. Returns what became of the run, with the tool's closing
// report when it printed one; the exit status is also left in the session's
// LastExitStatus for the diagnostics that read it. A session with a run hook has the
// hook play the tool's part instead.
ToolOutcome RunTool(ConversionSession& session, const std::string& commandLine);

}  // namespace transcoda
