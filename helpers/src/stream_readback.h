#pragma once
// Reading back, in the tool's own process and with the engine's own libraries, what a
// file holds: whether it can be read, and how long each picture and sound stream lasts
// from its first timestamp to the end of its last packet. A tool prints this as its
// last line (see exec/stream_report.h), after its engine has ended.

#include <string>

#include "exec/stream_report.h"

namespace helpers {

// The streams of one media file. Cover pictures are not streams here.
transcoda::StreamReport ReadStreams(const std::string& path);

// The streams of the first title of a DVD folder (its VIDEO_TS/VTS_01_1.VOB, 2, ...
// read as one).
transcoda::StreamReport ReadDvdTitle(const std::string& dvdFolder);

// Writes the report line to the tool's error output, on a line of its own.
void PrintStreamReport(const transcoda::StreamReport& report);

}  // namespace helpers
