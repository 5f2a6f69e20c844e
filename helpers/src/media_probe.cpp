#include "media_probe.h"

#include <cstdlib>
#include <sstream>


namespace helpers {

double ParseRate(const std::string& text) {
    char* end = nullptr;
    double num = std::strtod(text.c_str(), &end);
    if (end == text.c_str()) return 0.0;
    if (*end == '/') {
        double den = std::strtod(end + 1, nullptr);
        return den > 0 ? num / den : 0.0;
    }
    return num;
}

namespace {

// "16:15" as a number; 1 (square) for "N/A", "0:1" and anything unreadable.
double ParseSampleAspect(const std::string& text) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos) return 1.0;
    const double num = std::atof(text.substr(0, colon).c_str());
    const double den = std::atof(text.substr(colon + 1).c_str());
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
            info.duration = std::atof(value.c_str());
        } else if (section == "[FORMAT]" && key == "start_time") {
            info.startTime = std::atof(value.c_str());
        } else if (section == "[STREAM]") {
            if (key == "codec_type") type = value;
            else if (key == "codec_name") codec = value;
            else if (key == "width") width = std::atoi(value.c_str());
            else if (key == "height") height = std::atoi(value.c_str());
            else if (key == "sample_rate") rate = std::atoi(value.c_str());
            else if (key == "channels") channels = std::atoi(value.c_str());
            else if (key == "avg_frame_rate") avgFps = ParseRate(value);
            else if (key == "r_frame_rate") rFps = ParseRate(value);
            else if (key == "sample_aspect_ratio") sar = ParseSampleAspect(value);
            else if (key == "field_order") fieldOrder = value == "unknown" ? "" : value;
            else if (key == "rotation") rotation = std::atoi(value.c_str());
        }
    }
    return info;
}

}  // namespace helpers
