#pragma once
// The ffmpeg-style tools: the option dialect of the command lines the program builds
// (older ffmpeg options) translated into the options of the ffmpeg installed today.

#include <string>
#include <vector>

#include "media_probe.h"

namespace helpers {

struct FfmpegPlan {
    std::vector<std::string> args;     // ffmpeg's arguments, program name excluded
    std::vector<std::string> notices;  // lines said on the output before the run
    std::string input;                 // first input file
    std::string output;                // output file; empty for a description of the input
    bool dependsOnInput = false;       // some options follow from what the input holds
    // Sound to be encoded to AMR-NB before the run (ffmpeg here has no AMR encoder),
    // with the input options in amrInputOptions; the run reads it from its descriptor 3.
    bool amr = false;
    int amrBitrate = 12200;
    std::vector<std::string> amrInputOptions;
};

// Where the engine reads the AMR-NB sound from.
inline constexpr const char* kAmrInput = "/proc/self/fd/3";

// Translates the tool's arguments; input describes the first input (frame rate, sample
// rate) when it is known. Throws UsageError for an unknown option or a missing value.
FfmpegPlan TranslateFfmpegArgs(const std::vector<std::string>& args, const MediaInfo* input = nullptr);

// A bit rate as ffmpeg reads it: bare numbers are kbit/s ("128" -> "128k").
std::string KbitRate(const std::string& value);

// Runs an ffmpeg-style tool; returns the exit status.
int RunFfmpegStyleTool(const std::string& toolName, const std::vector<std::string>& args);

}  // namespace helpers
