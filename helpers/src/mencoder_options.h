#pragma once
// The options the mencoder-style tools take, one row each: its name, whether it takes a
// value, and what it sets in the request. The engine's options are chosen from the whole
// request and from what the input holds (PlanMencoder, mencoder_plan.h). Adding an
// option is adding a row here.

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace helpers {

struct MencoderRequest {
    std::string input, output, audioFile;
    std::string ovc, oac;
    std::map<std::string, std::string> xvid, x264, lavc, lame;  // sub-options
    std::vector<std::string> videoFilters;                      // "scale=640:480" ...
    std::string ofps, srate, start, endpos;
    double delay = 0.0;
    // A segment of a copied picture that starts between key frames (segment_cut.h): the
    // options that code its picture again instead of copying it, or the joined picture
    // (head coded again, rest copied) to copy instead of the input's.
    std::vector<std::string> pictureRecode;
    std::string joinedPicture;
    double decodeFrom = -1.0;  // where a picture coded again is read from; negative: 10 s before
    bool noSound = false;
};

struct MencoderOption {
    std::string_view name;
    bool takesValue;
    // Takes the option into the request; throws UsageError for a value it cannot carry
    // out. nullptr: the option is accepted and changes nothing here.
    void (*apply)(MencoderRequest& request, const std::string& value);
};

// Every option, one row each.
std::span<const MencoderOption> MencoderOptions();
const MencoderOption* FindMencoderOption(std::string_view name);

// Reads the tool's arguments; throws UsageError for an unknown option, a missing value
// or a missing file.
MencoderRequest ParseMencoderArgs(const std::vector<std::string>& args);

// "a=1:b:c=x" -> {a:1, b:"", c:x}; later keys replace earlier ones in into.
void ParseSubOptions(const std::string& text, std::map<std::string, std::string>& into);

// "01:02:03.5", "02:03", "45.5" -> seconds; -1 when unreadable.
double ParseClock(const std::string& text);

// A number as the engine reads it: no trailing zeros, no trailing point.
std::string PlainNumber(double v);

}  // namespace helpers
