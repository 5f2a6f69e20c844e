#pragma once
// The mencoder-style tools: mencoder's options carried out on ffmpeg, writing the
// container that the output's extension names, with mencoder's progress lines.

#include <map>
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

// One mencoder status line, ending in a carriage return.
std::string FormatPosLine(double seconds, long frames, int percent, double fps, int remainingMinutes,
                          int estimatedMb);

// Turns ffmpeg's "-progress" key=value output into status lines.
class ProgressTranslator {
public:
    explicit ProgressTranslator(double expectedSeconds) : expected_(expectedSeconds) {}
    // Returns the status lines completed by this piece of output.
    std::string Feed(const std::string& piece);
    int LastPercent() const { return percent_; }

private:
    std::string Emit();
    double expected_;
    std::string partial_;
    std::map<std::string, std::string> block_;
    int percent_ = 0;
    double startedAt_ = -1.0;
};

int RunMencoderStyleTool(const std::string& toolName, const std::vector<std::string>& args);

}  // namespace helpers
