#pragma once
// Running one helper tool with its console output captured and turned into progress.

#include <functional>
#include <string>

#include "exec/tool_outcome.h"

namespace transcoda {

// Runs one command line (tool path, a blank, the arguments; the arguments split by the
// Windows rules for double-quoted arguments) and returns when the tool has ended or has
// been ended because ConversionRunning was cleared. The tool's output goes chunk by
// chunk to HandleOutputChunk. The display is reset afterwards. Returns what became of
// the run, with the tool's closing report when it printed one; the exit status is also
// left in App().LastExitStatus for the diagnostics that read it.
ToolOutcome RunTool(const std::string& commandLine);

// Tests replace the real runner to record the command lines a recipe makes and to play
// the tools' part. An empty function restores the real runner.
using RunToolHook = std::function<ToolOutcome(const std::string& commandLine)>;
void SetRunToolHook(RunToolHook hook);

}  // namespace transcoda
