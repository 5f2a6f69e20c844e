#pragma once
// The engine's command line for an ffmpeg-style request. Every decision that depends on
// the output's container or on what the input holds is taken here, from the request and
// the description of the input, before any argument is written.

#include <string>
#include <vector>

#include "exec/stream_report.h"
#include "ffmpeg_request.h"
#include "media_probe.h"

namespace helpers {

// What is known of the first input. Each part is present only when the plan asked for
// it (FfmpegPlan::needs) and it could be read.
struct InputFacts {
    const MediaInfo* description = nullptr;           // rates, channels, picture shape, streams
    const transcoda::StreamReport* streams = nullptr; // how long each stream lasts
};

// What the plan would use about the input, were it known.
struct InputNeeds {
    bool description = false;
    bool streams = false;
    // A decision on the picture (its rate, shape or scan) is among those that need it.
    bool picture = false;
    bool any() const { return description || streams; }
};

struct FfmpegPlan {
    std::vector<std::string> args;     // the engine's arguments, program name excluded
    std::vector<std::string> notices;  // lines said on the output before the run
    std::string input;                 // first input file
    std::string output;                // output file; empty for a description of the input
    InputNeeds needs;
    // Sound to be encoded to AMR-NB while the engine runs (the engine here has no AMR
    // encoder), with the input options in amrInputOptions; the engine reads it from its
    // descriptor 3 as it is encoded.
    bool amr = false;
    int amrBitrate = 12200;
    std::vector<std::string> amrInputOptions;
};

// Where the engine reads the AMR-NB sound from.
inline constexpr const char* kAmrInput = "/proc/self/fd/3";

FfmpegPlan PlanFfmpeg(const FfmpegRequest& request, const InputFacts& input = {});

// The plan made without the input's facts (PlanFfmpeg(request)) is already the one an
// input with a usual sound gets: only decisions on the sound depend on the input (a rate
// or channels the output cannot keep, or no sound at all), none on the picture. Its engine
// may start while the input is read, the plan then made again from the facts and the two
// compared.
inline bool HoldsForUsualInput(const FfmpegPlan& withoutFacts) {
    return withoutFacts.needs.any() && !withoutFacts.needs.picture && !withoutFacts.amr;
}

}  // namespace helpers
