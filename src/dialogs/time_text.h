#pragma once
// The segment the extraction dialog gives, its positions written as clock texts
// ("hh:mm:ss", see exec/clock_text.h).

#include <string>

#include "exec/clock_text.h"

namespace transcoda {

// A segment between two positions given in hours, minutes and seconds.
struct Segment {
    bool Valid = false;      // the end lies strictly after the start
    std::string Start;       // the start position, "00:59:30"
    std::string End;         // the end position, "01:00:15"
    std::string Length;      // end minus start, "00:00:45"
};

Segment MakeSegment(int startHours, int startMinutes, int startSeconds,
                    int endHours, int endMinutes, int endSeconds);

}  // namespace transcoda
