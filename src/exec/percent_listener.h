#pragma once
// Who follows the percentage of the running tool besides the window: the worker follows
// each list item's, for the list's status column. The listener hears each new whole
// percentage once, on the thread that reads the tool's output, and must return at once:
// it hands the figure on and never waits for the window. One listener at a time.

#include <functional>

namespace transcoda {

// Makes listener the one that hears the percentages from now on; an empty one stops the
// following. Each new listener hears the next percentage shown, whatever it is.
void FollowPercent(std::function<void(int percent)> listener);

// A percentage the progress display shows now (0 to 100, with decimals).
void TellPercent(double percent);

}  // namespace transcoda
