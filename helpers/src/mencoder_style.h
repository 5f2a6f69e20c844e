#pragma once
// The mencoder-style tools: mencoder's options carried out on ffmpeg, writing the
// container that the output's extension names, with mencoder's progress lines. The
// engine's options come from mencoder_plan.h, the status lines from mencoder_progress.h.

#include <string>
#include <vector>

#include "mencoder_plan.h"
#include "mencoder_progress.h"

namespace helpers {

int RunMencoderStyleTool(const std::string& toolName, const std::vector<std::string>& args);

}  // namespace helpers
