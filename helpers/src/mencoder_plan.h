#pragma once
// The engine's options for a mencoder-style request: what ffmpeg is asked to do so that
// the output's container holds the picture and sound the request names, or what that
// container takes instead.

#include <string>
#include <vector>

#include "media_probe.h"
#include "mencoder_options.h"

namespace helpers {

struct MencoderPlan {
    std::vector<std::string> args;     // ffmpeg's arguments (program name excluded)
    std::vector<std::string> notices;  // said on the output before the run
    double expectedSeconds = 0.0;      // length of the result; 0 when unknown
};

// Chooses ffmpeg's options for a request, given what the input (and the separate sound
// file, if any) hold. Throws UsageError for values it cannot carry out.
MencoderPlan PlanMencoder(const MencoderRequest& r, const MediaInfo& input, const MediaInfo& audioFile);

}  // namespace helpers
