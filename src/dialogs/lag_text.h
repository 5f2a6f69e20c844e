#pragma once
// The sound lag as text: how the sync dialog writes it and how a zero lag is recognised.

#include <string>

namespace transcoda {

// "-" when the sound comes early, the whole seconds in plain decimal, ".", and the
// hundredths always with two digits: 2 s 5 cs late gives "2.05", 1 s 25 cs early "-1.25".
std::string LagText(bool soundEarly, int seconds, int hundredths);

// True for a lag of zero seconds whatever its sign and the number of zero digits after
// the point: "0.0", "-0.0", "0.00", "-0.00". The main window refuses such a lag and the
// preview plays without shifting the sound.
bool IsZeroLag(const std::string& lag);

}  // namespace transcoda
