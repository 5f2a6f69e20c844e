#pragma once
// The ffmpeg-style tools: the option dialect of the command lines the program builds
// (older ffmpeg options) carried out by the ffmpeg installed today. The options are read
// through one table (ffmpeg_options.h) and the engine's command line is planned from
// them and from what the input holds (ffmpeg_plan.h).

#include <string>
#include <vector>

namespace helpers {

// Runs an ffmpeg-style tool; returns the exit status.
int RunFfmpegStyleTool(const std::string& toolName, const std::vector<std::string>& args);

}  // namespace helpers
