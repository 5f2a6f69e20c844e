#pragma once
// Everything the tools learn of a media file, from one reading of it in the tool's own
// process: the description the planners work from, how long each stream lasts (the
// report a tool prints), and the lines the engine prints when asked to describe the
// file ("-i <file>" and nothing else), so that such a description is answered without
// starting the engine. What one tool has read is kept in the instance's probe cache
// (exec/probe_cache.h) for every later tool and for the duration probe of the program,
// as long as the file does not change.

#include <string>

#include "exec/probe_cache.h"
#include "exec/stream_report.h"
#include "media_probe.h"

namespace helpers {

struct FileFacts {
    MediaInfo description;
    transcoda::StreamReport streams;
    // What the engine prints for "-i <file>" and its exit status, followed by the
    // report line of the streams.
    transcoda::ProbeAnswer answer;
};

// Reads the file now, without the cache.
FileFacts ReadFileFacts(const std::string& path);

// The facts of the file as it is now: those this tool has already read, else those the
// probe cache holds for the unchanged file, else read now (and kept in the cache).
const FileFacts& FactsOf(const std::string& path);

}  // namespace helpers
