#include "dialogs/lag_text.h"

#include "dialogs/time_text.h"

namespace transcoda {

std::string LagText(bool soundEarly, int seconds, int hundredths) {
    return std::string(soundEarly ? "-" : "") + std::to_string(seconds) + "." + TwoDigitText(hundredths);
}

bool IsZeroLag(const std::string& lag) {
    std::size_t i = (!lag.empty() && lag[0] == '-') ? 1 : 0;
    const std::size_t point = lag.find('.', i);
    if (point == std::string::npos || point == i || point + 1 == lag.size()) return false;
    for (std::size_t k = i; k < lag.size(); ++k) {
        if (k != point && lag[k] != '0') return false;
    }
    return true;
}

}  // namespace transcoda
