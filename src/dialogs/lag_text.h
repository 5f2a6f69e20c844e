#pragma once
// The sound lag as text, as the sync dialog writes it (a zero lag is recognised by
// IsZeroLag in recipes/sync_lag.h).

#include <string>

namespace transcoda {

// "-" when the sound comes early, the whole seconds in plain decimal, ".", and the
// hundredths always with two digits: 2 s 5 cs late gives "2.05", 1 s 25 cs early "-1.25".
std::string LagText(bool soundEarly, int seconds, int hundredths);

}  // namespace transcoda
