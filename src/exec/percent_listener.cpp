#include "exec/percent_listener.h"

#include <cmath>
#include <mutex>
#include <utility>

namespace transcoda {

namespace {

// Never destroyed: a detached worker's reader may still report while the program ends.
struct Follower {
    std::mutex mutex;
    std::function<void(int)> listener;
    int last = -1;
};

Follower& TheFollower() {
    static Follower* follower = new Follower;
    return *follower;
}

}  // namespace

void FollowPercent(std::function<void(int percent)> listener) {
    Follower& f = TheFollower();
    std::lock_guard lock(f.mutex);
    f.listener = std::move(listener);
    f.last = -1;
}

void TellPercent(double percent) {
    Follower& f = TheFollower();
    const int whole = static_cast<int>(std::floor(std::fmin(std::fmax(percent, 0.0), 100.0)));
    // Tool output comes in many chunks a second: only a change reaches the listener.
    std::lock_guard lock(f.mutex);
    if (!f.listener || whole == f.last) return;
    f.last = whole;
    f.listener(whole);
}

}  // namespace transcoda
