#pragma once
// The options the ffmpeg-style tools take (the older ffmpeg dialect of the command lines
// the program builds), one row each: its name, whether it takes a value, where the
// engine reads it, how it becomes the engine's option, and which tools and outputs take
// it. Adding an option is adding a row here. Everything that depends on the input is
// decided later, by the planner (ffmpeg_plan.h).

#include <span>
#include <string>
#include <string_view>

namespace helpers {

// Where the engine reads an option.
enum class OptionScope {
    Global,  // once, before every input
    Input,   // on the next input when written before its "-i", otherwise on the output
    Output,  // on the output, wherever it is written
    File,    // names an input file ("-i")
};

// What a later occurrence of the same engine option does.
enum class Repeat {
    Replace,  // replaces the earlier value where it stands
    Add,      // is given as well
};

// The ffmpeg-style tools, as a set.
using ToolSet = unsigned;
inline constexpr ToolSet kUtilityMff = 1, kUtilityMffx = 2, kUtilityMff3 = 4;
inline constexpr ToolSet kEveryFfmpegTool = kUtilityMff | kUtilityMffx | kUtilityMff3;
// The tool of that file name; 0 for a name that is none of the three.
ToolSet FfmpegToolOf(std::string_view toolName);

using ValueRule = std::string (*)(const std::string& value);

struct FfmpegOption {
    std::string_view name;   // as the tool takes it
    bool takesValue;
    OptionScope scope;
    // The engine's option. Empty: nothing is given as such, the planner acts on the
    // option (see FfmpegRequest::Asked).
    std::string_view engineName;
    ValueRule value = nullptr;  // the engine's value; nullptr: the value as written
    Repeat repeat = Repeat::Replace;
    ToolSet tools = kEveryFfmpegTool;
    // Container formats (muxer names) whose files never get the option.
    std::span<const std::string_view> leftOutIn = {};
};

// Every option, one row each.
std::span<const FfmpegOption> FfmpegOptions();
// The row of an option name, or nullptr.
const FfmpegOption* FindFfmpegOption(std::string_view name);

// Value rules of the table.
// A bit rate as the engine reads it: bare numbers are kbit/s ("128" -> "128k").
std::string KbitRate(const std::string& value);
// Frame rates written as decimals, as the exact fractions ("29.97" -> "30000/1001").
std::string FrameRate(const std::string& value);
// Encoder names of older versions, as the installed engine names them.
std::string VideoEncoder(const std::string& name);
std::string AudioEncoder(const std::string& name);

// The AMR-NB encoder: the engine here has none, the tool encodes that sound itself.
inline constexpr std::string_view kAmrEncoder = "libopencore_amrnb";

}  // namespace helpers
