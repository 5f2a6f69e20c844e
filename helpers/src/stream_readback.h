#pragma once
// Reading back, in the tool's own process and with the engine's own libraries, what a
// file holds: whether it can be read, and how long each picture and sound stream lasts
// from its first timestamp to the end of its last packet. A tool prints this as its
// last line (see exec/stream_report.h), after its engine has ended.

#include <string>

#include "exec/stream_report.h"

struct AVFormatContext;

namespace helpers {

// A media file opened with the engine's libraries, its streams found from a short look
// at its start. Closed when it goes.
class OpenedMedia {
public:
    explicit OpenedMedia(const std::string& path);
    ~OpenedMedia();
    OpenedMedia(const OpenedMedia&) = delete;
    OpenedMedia& operator=(const OpenedMedia&) = delete;

    // Null when the file cannot be opened or its streams cannot be found.
    AVFormatContext* Context() const { return found_ ? context_ : nullptr; }
    // The library's error code when the file could not be opened, 0 otherwise.
    int OpenError() const { return openError_; }

private:
    AVFormatContext* context_ = nullptr;
    int openError_ = 0;
    bool found_ = false;
};

// The streams of an opened file, each one's length from its first timestamp to the end
// of its own last packet: read from the last seconds of the file, going further back
// until every stream has a packet there; from the start where a seek cannot be trusted
// to keep the times; from the index for AVI (the reading position moves). Cover
// pictures are not streams here. Unreadable when `media` is.
transcoda::StreamReport ScanStreams(const OpenedMedia& media);

// The streams of one media file, read afresh (see file_facts.h for a file's streams as
// the tools know them).
transcoda::StreamReport ReadStreams(const std::string& path);

// The streams of the first title of a DVD folder (its VIDEO_TS/VTS_01_1.VOB, 2, ...
// read as one).
transcoda::StreamReport ReadDvdTitle(const std::string& dvdFolder);

// Writes the report line to the tool's error output, on a line of its own.
void PrintStreamReport(const transcoda::StreamReport& report);

}  // namespace helpers
