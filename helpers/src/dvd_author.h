#pragma once
// The DVD authoring tool: "--title -f STREAM -o DIR" adds a title made of an MPEG
// program stream to the DVD folder DIR, "-T -o DIR" writes its table of contents; both
// on dvdauthor, with PAL or NTSC found from the picture.

#include <string>
#include <vector>

#include "media_probe.h"

namespace helpers {

struct DvdRequest {
    bool title = false;  // --title / -t
    bool toc = false;    // -T
    std::string stream;  // -f
    std::string folder;  // -o
};

DvdRequest ParseDvdArgs(const std::vector<std::string>& args);

// "PAL" or "NTSC" for a picture; empty when it is neither.
std::string VideoStandard(const MediaInfo& info);

int RunDvdTool(const std::string& toolName, const std::vector<std::string>& args);

}  // namespace helpers
