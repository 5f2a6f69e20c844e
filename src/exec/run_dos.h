#pragma once
// Running one helper tool with its console output captured and turned into progress.

#include <functional>
#include <string>

namespace transcoda {

// Runs one command line (tool path, a blank, the arguments; the arguments split by the
// Windows rules for double-quoted arguments) and returns when the tool has ended or has
// been ended because ConversionRunning was cleared. The tool's output goes chunk by
// chunk to HandleOutputChunk. The display is reset afterwards. The exit status is left
// in App().LastExitStatus.
void RunDosInMemo(const std::string& commandLine);

// Tests replace the real runner to record the command lines a recipe makes.
// An empty function restores the real runner.
using RunDosHook = std::function<void(const std::string& commandLine)>;
void SetRunDosHook(RunDosHook hook);

}  // namespace transcoda
