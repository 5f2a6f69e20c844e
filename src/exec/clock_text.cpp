#include "exec/clock_text.h"

namespace transcoda {

std::string TwoDigitText(int n) {
    if (n >= 0 && n < 10) return "0" + std::to_string(n);
    return std::to_string(n);
}

std::string ClockText(int hours, int minutes, int seconds) {
    return TwoDigitText(hours) + ":" + TwoDigitText(minutes) + ":" + TwoDigitText(seconds);
}

std::string ClockText(int seconds) { return ClockText(seconds / 3600, seconds % 3600 / 60, seconds % 60); }

}  // namespace transcoda
