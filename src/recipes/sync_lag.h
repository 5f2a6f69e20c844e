#pragma once
// The sound lag of the sync correction, as text: optional "-" (sound early), whole
// seconds, optionally "." and hundredths.

#include <string>

namespace transcoda {

// True for a lag of zero seconds, whatever its sign and its number of zero digits:
// "0", "-0", "0.0", "-0.00" ... Such a lag corrects nothing: the window and the terminal
// refuse it, and the preview plays without shifting the sound. A text that is not a
// number ("", "-", ".", "0.", "-.0") is no lag at all, so not a zero one.
bool IsZeroLag(const std::string& lag);

}  // namespace transcoda
