#pragma once
// The progress part of the window as the core shows it: the status (statusLabel), the
// progress text (progressLabel), the program's title, the bar (progressBar) and the time label. The core keeps
// these values itself and never reads them back from the window: the setters change the
// look, and Push sends the window, in one blocking call, only the values that differ
// from what it shows. The worker, the pipe reader and the recipes change the display
// only through here.

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

    // The look as it stands, pushed or not yet.
    std::string ProgressText() const;
    int BarPosition() const;
    int BarMaximum() const;

    // Sends App().Window each value set since the last push that differs from what the
    // window shows; no call at all when nothing changed or no window is attached.
    void Push();
    // The look of a window just made (empty progress text, bar 0 of 100), with nothing
    // known to be shown yet: the next value set of each kind is sent whatever it is.
    void Reset();

private:
    mutable std::mutex mutex_;
    DisplayChange look_;   // every value set since the last reset
    DisplayChange shown_;  // what the window has been sent
};

// The one display of the program.
ProgressDisplay& Display();

// Makes `window` the one the core reports to (null: none), showing the look of a window
// just made. Front ends call it when their window (or terminal) is ready.
void AttachWindow(WindowPort* window);

}  // namespace transcoda
