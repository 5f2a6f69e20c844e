#include "dialogs/time_text.h"

namespace transcoda {

Segment MakeSegment(int startHours, int startMinutes, int startSeconds,
                    int endHours, int endMinutes, int endSeconds) {
    Segment s;
    s.Start = ClockText(startHours, startMinutes, startSeconds);
    s.End = ClockText(endHours, endMinutes, endSeconds);
    const int start = startHours * 3600 + startMinutes * 60 + startSeconds;
    const int end = endHours * 3600 + endMinutes * 60 + endSeconds;
    if (start >= end) return s;
    const int length = end - start;
    s.Valid = true;
    s.Length = ClockText(length / 3600, (length % 3600) / 60, length % 60);
    return s;
}

}  // namespace transcoda
