#include "exec/media_description.h"

#include <charconv>
#include <sstream>

namespace transcoda {

namespace {

// The number at the front of `text` ("12.5", "25", "-90"), read the same in every
// locale (a window in a French locale would read "12.5" as 12 with strtod); `end` is
// where it stopped, nullptr when there was none.
double Number(const std::string& text, const char** end = nullptr, size_t from = 0) {
    double value = 0.0;
    const char* first = text.data() + from;
    const auto [stop, error] = std::from_chars(first, text.data() + text.size(), value);
    if (end != nullptr) *end = error == std::errc() ? stop : nullptr;
    return error == std::errc() ? value : 0.0;
}

int Whole(const std::string& text) { return static_cast<int>(Number(text)); }

}  // namespace

double ParseRate(const std::string& text) {
    const char* end = nullptr;
    const double num = Number(text, &end);
    if (end == nullptr) return 0.0;
    if (end < text.data() + text.size() && *end == '/') {
        const double den = Number(text, nullptr, static_cast<size_t>(end - text.data()) + 1);
        return den > 0 ? num / den : 0.0;
    }
    return num;
}

namespace {

// "16:15" as a number; 1 (square) for "N/A", "0:1" and anything unreadable.
double ParseSampleAspect(const std::string& text) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos) return 1.0;
    const double num = Number(text.substr(0, colon));
    const double den = Number(text.substr(colon + 1));
    return num > 0 && den > 0 ? num / den : 1.0;
}

}  // namespace

MediaInfo ParseProbeOutput(const std::string& text) {
    MediaInfo info;
    std::istringstream in(text);
    std::string line, section, type, codec;
    int width = 0, height = 0, rate = 0, channels = 0, rotation = 0;
    double avgFps = 0, rFps = 0, sar = 1;
    std::string fieldOrder;
    auto closeStream = [&] {
        if (type == "video" && !info.hasVideo && codec != "mjpeg" && codec != "png") {
            info.hasVideo = true;
            info.videoCodec = codec;
            info.width = width;
            info.height = height;
            info.fps = avgFps > 0 ? avgFps : rFps;
            info.sampleAspect = sar;
            info.rotation = rotation;
            info.fieldOrder = fieldOrder;
        } else if (type == "audio" && !info.hasAudio) {
            info.hasAudio = true;
            info.audioCodec = codec;
            info.sampleRate = rate;
            info.channels = channels;
        }
    };
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == "[STREAM]" || line == "[FORMAT]") {
            section = line;
            type.clear();
            codec.clear();
            width = height = rate = channels = rotation = 0;
            avgFps = rFps = 0;
            sar = 1;
            fieldOrder.clear();
            info.readable = true;
            continue;
        }
        if (line == "[/STREAM]") {
            closeStream();
            section.clear();
            continue;
        }
        size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (section == "[FORMAT]" && key == "duration") {
            info.duration = Number(value);
        } else if (section == "[FORMAT]" && key == "start_time") {
            info.startTime = Number(value);
        } else if (section == "[STREAM]") {
            if (key == "codec_type") type = value;
            else if (key == "codec_name") codec = value;
            else if (key == "width") width = Whole(value);
            else if (key == "height") height = Whole(value);
            else if (key == "sample_rate") rate = Whole(value);
            else if (key == "channels") channels = Whole(value);
            else if (key == "avg_frame_rate") avgFps = ParseRate(value);
            else if (key == "r_frame_rate") rFps = ParseRate(value);
            else if (key == "sample_aspect_ratio") sar = ParseSampleAspect(value);
            else if (key == "field_order") fieldOrder = value == "unknown" ? "" : value;
            else if (key == "rotation") rotation = Whole(value);
        }
    }
    return info;
}

}  // namespace transcoda
