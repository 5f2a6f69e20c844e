#include "ffmpeg_options.h"

#include <cstdlib>

#include "exec/tool_names.h"

namespace helpers {
namespace {

std::string TitleTag(const std::string& v) { return "title=" + v; }
std::string ArtistTag(const std::string& v) { return "artist=" + v; }
std::string CommentTag(const std::string& v) { return "comment=" + v; }

// "key=value" with the older key names as the engine names them today.
std::string MetadataTag(const std::string& v) {
    const size_t eq = v.find('=');
    if (eq == std::string::npos) return v;
    const std::string key = v.substr(0, eq);
    return (key == "author" ? "artist" : key) + v.substr(eq);
}

// AVI files keep no source timestamps: copied, they leave a gap the players show as a
// frozen first picture.
constexpr std::string_view kAvi[] = {"avi"};

using S = OptionScope;
constexpr Repeat kAdd = Repeat::Add;

// name, takes a value, where the engine reads it, the engine's option, its value,
// repeats, tools, containers that never get it.
const FfmpegOption kOptions[] = {
    {"-i", true, S::File, "-i"},
    // Global switches.
    {"-y", false, S::Global, "-y"},
    {"-n", false, S::Global, "-n"},
    {"-copyts", false, S::Global, "-copyts", nullptr, Repeat::Replace, kEveryFfmpegTool, kAvi},
    {"-benchmark", false, S::Global, "-benchmark"},
    {"-hide_banner", false, S::Global, "-hide_banner"},
    {"-nostdin", false, S::Global, "-nostdin"},
    // Read on the input they precede.
    {"-f", true, S::Input, "-f"},
    {"-ss", true, S::Input, "-ss"},
    {"-t", true, S::Input, "-t"},
    {"-to", true, S::Input, "-to"},
    {"-itsoffset", true, S::Input, "-itsoffset"},
    // Picture.
    {"-vcodec", true, S::Output, "-c:v", VideoEncoder},
    {"-c:v", true, S::Output, "-c:v", VideoEncoder},
    {"-b", true, S::Output, "-b:v", KbitRate},
    {"-b:v", true, S::Output, "-b:v", KbitRate},
    {"-maxrate", true, S::Output, "-maxrate", KbitRate},
    {"-minrate", true, S::Output, "-minrate", KbitRate},
    {"-bufsize", true, S::Output, "-bufsize", KbitRate},
    {"-r", true, S::Output, "-r", FrameRate},
    {"-s", true, S::Output, "-s"},
    {"-aspect", true, S::Output, "-aspect"},
    {"-vtag", true, S::Output, "-tag:v"},
    {"-qscale", true, S::Output, "-q:v"},
    {"-q:v", true, S::Output, "-q:v"},
    {"-qmin", true, S::Output, "-qmin"},
    {"-qmax", true, S::Output, "-qmax"},
    {"-crf", true, S::Output, "-crf"},
    {"-g", true, S::Output, "-g"},
    {"-pix_fmt", true, S::Output, "-pix_fmt"},
    {"-vf", true, S::Output, "-vf"},
    // A number of pictures: "-vframes 1" writes one picture, a still of the input.
    {"-vframes", true, S::Output, "-frames:v"},
    {"-sameq", false, S::Output, ""},  // the planner picks the finest usual quality
    {"-vn", false, S::Output, "-vn"},
    {"-target", true, S::Output, "-target"},
    {"-threads", true, S::Output, "-threads"},
    // Sound.
    {"-acodec", true, S::Output, "-c:a", AudioEncoder},
    {"-c:a", true, S::Output, "-c:a", AudioEncoder},
    {"-ab", true, S::Output, "-b:a", KbitRate},
    {"-b:a", true, S::Output, "-b:a", KbitRate},
    {"-ar", true, S::Output, "-ar"},
    {"-ac", true, S::Output, "-ac"},
    {"-af", true, S::Output, "-af"},
    {"-an", false, S::Output, "-an"},
    // Tags.
    {"-title", true, S::Output, "-metadata", TitleTag, kAdd},
    {"-author", true, S::Output, "-metadata", ArtistTag, kAdd},
    {"-comment", true, S::Output, "-metadata", CommentTag, kAdd},
    {"-metadata", true, S::Output, "-metadata", MetadataTag, kAdd},
};

}  // namespace

ToolSet FfmpegToolOf(std::string_view toolName) {
    if (toolName == transcoda::utilitymff) return kUtilityMff;
    if (toolName == transcoda::utilitymffx) return kUtilityMffx;
    if (toolName == transcoda::utilitymff3) return kUtilityMff3;
    return 0;
}

std::span<const FfmpegOption> FfmpegOptions() { return kOptions; }

const FfmpegOption* FindFfmpegOption(std::string_view name) {
    for (const FfmpegOption& o : kOptions)
        if (o.name == name) return &o;
    return nullptr;
}

std::string KbitRate(const std::string& value) {
    if (value.empty()) return value;
    char* end = nullptr;
    std::strtod(value.c_str(), &end);
    if (end && *end == '\0') return value + "k";
    return value;
}

std::string FrameRate(const std::string& value) {
    if (value == "29.97") return "30000/1001";
    if (value == "23.976" || value == "23.98") return "24000/1001";
    if (value == "59.94") return "60000/1001";
    return value;
}

std::string VideoEncoder(const std::string& name) {
    if (name == "xvid") return "libxvid";
    if (name == "x264" || name == "h264") return "libx264";
    if (name == "flv1") return "flv";
    return name;
}

std::string AudioEncoder(const std::string& name) {
    if (name == "libamr_nb" || name == "amr_nb" || name == "libopencore_amrnb" || name == "amrnb")
        return std::string(kAmrEncoder);
    if (name == "libfaac" || name == "faac" || name == "libfdk_aac") return "aac";
    if (name == "mp3") return "libmp3lame";
    if (name == "vorbis") return "libvorbis";
    return name;
}

}  // namespace helpers
