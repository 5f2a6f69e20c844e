#pragma once
// Clock positions as the two dialogs write them: "hh:mm:ss", each part at least two digits.

#include <string>

namespace transcoda {

// The decimal text of n, with a leading "0" below 10: 5 -> "05", 24 -> "24", 300 -> "300".
std::string TwoDigitText(int n);

// hours + ":" + minutes + ":" + seconds, each written by TwoDigitText.
std::string ClockText(int hours, int minutes, int seconds);

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
