#pragma once
// What the window shows of an input before it is converted: its size on disk, its
// length, its first picture and sound, and a small still taken at about a tenth of its
// length. Read through the helper tools, as a conversion reads its input: the
// description comes from the instance's probe cache when it holds the unchanged file
// (one description per file), else from one run of the probe tool, which keeps its
// answer there for the conversion that follows; the still is one run of an
// ffmpeg-style tool writing one picture.

#include <cstdint>
#include <string>

#include "exec/conversion_session.h"
#include "exec/media_description.h"

namespace transcoda {

struct InputFacts {
    // The file's size in bytes; -1 when it is not a regular file (missing, a folder ...).
    int64_t FileBytes = -1;
    // Whether the tools described the file (readable or not); false when the reading
    // was stopped or the tool could not run.
    bool Described = false;
    // What the tools read of it; Media.readable is false when they could not read it.
    MediaInfo Media;
    // The length: the longer of the first picture and the first sound (the streams a
    // conversion takes), else the container's; negative when unknown.
    double Seconds = -1.0;
    // A JPEG picture of the input at about a tenth of its length; empty when none.
    std::string Still;
};

// The description of `path` and its length, from the probe cache or one probe run for
// `session`; a Stop of the session ends the run at once and leaves the facts unread.
InputFacts ReadInputFacts(ConversionSession& session, const std::string& path);

// Takes the still of `path` (whose facts are `facts`) `width` pixels wide, as high as
// its picture is shown, into facts.Still. Nothing without a picture or a work folder.
void TakeStill(ConversionSession& session, const std::string& path, InputFacts& facts, int width);

// Where the still is taken: a tenth of the length; the start when the length is unknown.
double StillSeconds(double length);
// The still's height for `width`: the picture as shown (its pixels' shape and its turn
// counted), an even number, at least 2.
int StillHeight(const MediaInfo& media, int width);
// The command line of the still: the ffmpeg-style tool seeks to `at` and writes one
// picture of width x height, without sound, over `stillPath`.
std::string StillCommandLine(const std::string& input, double at, int width, int height,
                             const std::string& stillPath);

}  // namespace transcoda
