#pragma once
// Where an output really lands: the device and inode of the nearest folder of its path
// that exists, and the rest of the path below it, once symbolic links and dots are
// resolved. Two spellings of one output (a linked folder, a bind mount, "..") give the
// same place, so that two requests never write one file. The list's duplicate check,
// the terminal front end's list and the window's list compare outputs this way.

#include <compare>
#include <cstdint>
#include <string>

namespace transcoda {

struct OutputPlace {
    uint64_t Device = 0;
    uint64_t Inode = 0;
    std::string Rest;  // the path below that folder, e.g. "clip.avi" or "new/clip.avi"
    auto operator<=>(const OutputPlace&) const = default;
};

// The place of `output` (a file, or a DVD folder with or without its final "/"); an
// output that is a link to a file lands where the link points.
OutputPlace PlaceOf(const std::string& output);

// True when `a` and `b` are one output, however each is spelt.
bool SameOutputPlace(const std::string& a, const std::string& b);

}  // namespace transcoda
