#pragma once
// Everything the tools learn of a media file, from one reading of it in the tool's own
// process: the description the planners work from, how long each stream lasts (the
// report a tool prints), and the lines the engine prints when asked to describe the
// file ("-i <file>" and nothing else), so that such a description is answered without
// starting the engine. What one tool has read is kept in the instance's probe cache
// (exec/probe_cache.h) for every later tool and for the duration probe of the program,
// as long as the file does not change.

#include <functional>
#include <string>
#include <thread>

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

// Keeps facts read (ReadFileFacts) from a file whose identity was `identity` all through
// the reading, as FactsOf keeps what it reads: for this tool and in the probe cache.
const FileFacts& KeepFacts(const transcoda::FileIdentity& identity, FileFacts facts);

// Reading with the engine's libraries on a thread of its own; first of all, the facts
// of a regular file read on a thread of their own (FactsOf, so that they are kept
// in the probe cache), the engine's libraries loaded there first: a tool whose plan did
// not need its input reads it while its engine runs, for the request that has not read
// it yet. Join (or the end of the object) waits for it; FactsOf may be called only once
// it is joined. Nothing is read when the libraries cannot be loaded.
class FactsInBackground {
public:
    FactsInBackground() = default;
    ~FactsInBackground() { Join(); }
    FactsInBackground(const FactsInBackground&) = delete;
    FactsInBackground& operator=(const FactsInBackground&) = delete;

    // False when no thread could be started (or one already runs).
    bool Start(const std::string& path);
    // The same for other reading with the engine's libraries, loaded there first.
    bool Start(std::function<void()> reading);
    void Join();

private:
    std::thread thread_;
};

}  // namespace helpers
