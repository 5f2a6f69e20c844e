#pragma once
// mencoder's status lines, made from the engine's "-progress" output.

#include <map>
#include <string>

namespace helpers {

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

}  // namespace helpers
