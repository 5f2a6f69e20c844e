#pragma once
// What a media file holds, as the tools describe it (ffprobe's default key=value form:
// [STREAM] and [FORMAT] sections): its duration and its first picture and sound streams.
// The tools choose the engine's options from it; the window shows it before a
// conversion (exec/input_facts.h).

#include <string>

namespace transcoda {

struct MediaInfo {
    bool readable = false;
    double duration = 0.0;  // seconds; 0 when unknown
    double startTime = 0.0; // timestamp of the first packet, seconds
    bool hasVideo = false;
    std::string videoCodec;
    int width = 0;
    int height = 0;
    double fps = 0.0;
    // Width over height of one stored pixel as shown (1: square, also when unknown).
    double sampleAspect = 1.0;
    // Degrees the picture is turned when shown (its display matrix); 0 when not turned.
    int rotation = 0;
    // How the picture's fields are stored: "progressive", "tt" or "tb" (top field first),
    // "bb" or "bt" (bottom field first); empty when the stream does not say.
    std::string fieldOrder;
    bool hasAudio = false;
    std::string audioCodec;
    int sampleRate = 0;
    int channels = 0;
};

// Reads ffprobe's default (key=value, [STREAM]/[FORMAT] sections) output; the tools
// keep their own description of a file in the same form (helpers' file_facts.h).
// Numbers are read without regard to the locale.
MediaInfo ParseProbeOutput(const std::string& text);

// "30000/1001" or "25" as a number; 0 when it cannot be read.
double ParseRate(const std::string& text);

}  // namespace transcoda
