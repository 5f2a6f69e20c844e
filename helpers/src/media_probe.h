#pragma once
// What the tools need to know about an input before they choose the engine's options:
// its duration and the first picture and sound streams.

#include <string>

namespace helpers {

struct MediaInfo {
    bool readable = false;
    double duration = 0.0;  // seconds; 0 when unknown
    double startTime = 0.0; // timestamp of the first packet, seconds
    bool hasVideo = false;
    std::string videoCodec;
    int width = 0;
    int height = 0;
    double fps = 0.0;
    bool hasAudio = false;
    std::string audioCodec;
    int sampleRate = 0;
    int channels = 0;
};

// Reads ffprobe's default (key=value, [STREAM]/[FORMAT] sections) output; the tools
// keep their own description of a file in the same form (file_facts.h).
MediaInfo ParseProbeOutput(const std::string& text);

// "30000/1001" or "25" as a number; 0 when it cannot be read.
double ParseRate(const std::string& text);

}  // namespace helpers
