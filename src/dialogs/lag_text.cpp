#include "dialogs/lag_text.h"

#include "dialogs/time_text.h"

namespace transcoda {

std::string LagText(bool soundEarly, int seconds, int hundredths) {
    return std::string(soundEarly ? "-" : "") + std::to_string(seconds) + "." + TwoDigitText(hundredths);
}

}  // namespace transcoda
