#include "exec/percent_listener.h"

#include <cmath>
#include <utility>

namespace transcoda {

void PercentFollower::Follow(std::function<void(int percent)> listener) {
    std::lock_guard lock(mutex_);
    listener_ = std::move(listener);
    last_ = -1;
}

void PercentFollower::Tell(double percent) {
    const int whole = static_cast<int>(std::floor(std::fmin(std::fmax(percent, 0.0), 100.0)));
    // Tool output comes in many chunks a second: only a change reaches the listener.
    std::lock_guard lock(mutex_);
    if (!listener_ || whole == last_) return;
    last_ = whole;
    listener_(whole);
}

}  // namespace transcoda
