#pragma once
// Who follows the percentage of a session's running tool besides the window: the worker
// follows each list item's, for the list's status column. The listener hears each new
// whole percentage once, on the thread that reads the tool's output, and must return at
// once: it hands the figure on and never waits for the window. One listener at a time.

#include <functional>
#include <mutex>

namespace transcoda {

class PercentFollower {
public:
    // Makes listener the one that hears the percentages from now on; an empty one stops
    // the following. Each new listener hears the next percentage shown, whatever it is.
    void Follow(std::function<void(int percent)> listener);
    // A percentage the progress display shows now (0 to 100, with decimals).
    void Tell(double percent);

private:
    std::mutex mutex_;
    std::function<void(int)> listener_;
    int last_ = -1;
};

}  // namespace transcoda
