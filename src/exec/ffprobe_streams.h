#pragma once
// Reading a written file's streams with ffprobe, for a tool run that ended well without
// printing its own report of what it wrote.

#include <optional>
#include <string>

#include "exec/stream_report.h"

namespace transcoda {

// The picture and sound streams of `path` and their lengths as ffprobe gives them (a
// stream without its own length takes the file's); an unreadable report when ffprobe
// cannot read the file; nullopt when ffprobe cannot be run.
std::optional<StreamReport> ProbeStreamsWithFfprobe(const std::string& path);

// Reads ffprobe's "-of csv=p=0" lines of stream=codec_type,duration followed by the
// format=duration line.
StreamReport ParseFfprobeStreams(const std::string& text);

}  // namespace transcoda
