#pragma once
// The progress part of the window as one conversion shows it: the status (statusLabel),
// the progress text (progressLabel), the program's title, the bar (progressBar) and the
// time label. The session keeps these values itself, behind a lock, and never reads them
// back from the window. The worker, the output reader and the recipes only set them; the
// window takes what changed when it looks (TakeChange, on its own timer), so that no
// thread ever waits for the window. A front end on the same thread as its output (the
// terminal, a test's recording window) is told each change at the push instead.

#include <functional>
#include <mutex>
#include <string>

#include "exec/window_port.h"

namespace transcoda {

class ProgressDisplay {
public:
    void SetStatusText(const std::string& text);
    void SetProgressText(const std::string& text);
    void SetTitle(const std::string& text);
    // The time label of the running request (exec/request_timing.h).
    void SetTimeText(const std::string& text);
    // The bar keeps its position within 0..maximum, as a bar control does.
    void SetBarMaximum(int maximum);
    void SetBarPosition(int position);

    // The look as it stands, shown or not yet.
    std::string ProgressText() const;
    int BarPosition() const;
    int BarMaximum() const;

    // The end of a change: an observer, when there is one, is told each value set since
    // the last push that differs from what it was told, in one call; otherwise the
    // change waits for TakeChange, and the notifier, when there is one, is told that
    // something waits (it must return at once; the window takes the change later).
    void Push();
    // Each value set since the last take (or push) that differs from what was taken;
    // empty when nothing changed. Any thread; never waits for the setters for long.
    DisplayChange TakeChange();
    // Makes `observer` the one told at each push (an empty one: none, the window pulls);
    // it is told the next value set of each kind whatever it is.
    void SetObserver(std::function<void(const DisplayChange&)> observer);
    void SetNotifier(std::function<void()> notifier);
    // The look of a window just made (empty progress text, bar 0 of 100), with nothing
    // known to be shown yet: the next value set of each kind is taken whatever it is.
    void Reset();

private:
    DisplayChange TakeLocked();

    mutable std::mutex mutex_;
    DisplayChange look_;   // every value set since the last reset
    DisplayChange shown_;  // what has been taken
    std::function<void(const DisplayChange&)> observer_;
    std::function<void()> notifier_;
};

}  // namespace transcoda
