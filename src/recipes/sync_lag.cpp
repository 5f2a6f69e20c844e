#include "recipes/sync_lag.h"

namespace transcoda {

bool IsZeroLag(const std::string& lag) {
    const std::size_t start = (!lag.empty() && lag[0] == '-') ? 1 : 0;
    const std::size_t point = lag.find('.', start);
    const std::size_t end = point == std::string::npos ? lag.size() : point;
    // Digits before the point, and after it when there is one.
    if (end == start) return false;
    if (point != std::string::npos && point + 1 == lag.size()) return false;
    for (std::size_t i = start; i < lag.size(); ++i) {
        if (i != point && lag[i] != '0') return false;
    }
    return true;
}

}  // namespace transcoda
