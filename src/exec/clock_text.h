#pragma once
// Clock positions and lengths as a request's segment holds them and the dialogs and the
// terminal write them: "hh:mm:ss", each part at least two digits.

#include <string>

namespace transcoda {

// The decimal text of n, with a leading "0" below 10: 5 -> "05", 24 -> "24", 300 -> "300".
std::string TwoDigitText(int n);

// hours + ":" + minutes + ":" + seconds, each written by TwoDigitText.
std::string ClockText(int hours, int minutes, int seconds);

// A number of seconds as hours, minutes (below 60) and seconds (below 60): 89999 ->
// "24:59:59", 360000 -> "100:00:00".
std::string ClockText(int seconds);

}  // namespace transcoda
