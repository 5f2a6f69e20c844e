#pragma once
// The window interface of the conversions, carried out by the main window. Nothing here
// makes another thread wait for the window: the progress display is pulled by the window
// itself on a timer; a log line, a selected row or a caption from another thread is
// queued to the window thread (log lines gathered, one task for all that wait) and the
// caller goes on at once. Only a diagnostic log that a flooding tool fills faster than
// the window can show it holds its writer back, once kLogBacklog lines wait, for at most
// kLogWaitMs (then the line is left out), so that the window keeps answering and the
// memory stays bounded. The worker's ending (the convert button, the written notice,
// the messages) is shown by the controller on the window thread, where every call runs
// at once. Once the window has begun to close, what comes from other threads is dropped,
// so that a conversion still running when the program ends can neither hang it nor touch
// a dead window.

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "exec/window_port.h"

class QObject;
class QTimer;
class MainWindow;

namespace transcoda::gui {

class QtWindowPort : public WindowPort {
public:
    // How often the window looks at the conversion's progress.
    static constexpr int kDisplayPullMs = 50;
    // A change told sooner than this after the last look waits for the timer: a tool that
    // floods its output does not keep the window busy looking.
    static constexpr int kMinPullGapMs = 16;
    static constexpr size_t kLogBacklog = 8192;
    static constexpr size_t kLogSlice = 16;  // lines appended by one task of the window
    static constexpr int kLogWaitMs = 1000;

    // The port outlives every window: a worker's log line may still arrive while the
    // program ends, after the window has gone.
    static QtWindowPort& Instance();

    // Called by the main window on the window thread.
    void Attach(MainWindow* form);
    void Detach(MainWindow* form);
    void BeginClosing();
    bool Closing() const { return closing_.load(); }
    // Where the window takes the progress display's changes from, on its own timer.
    void PullDisplayFrom(std::function<DisplayChange()> source);
    // Takes and shows what changed now, without waiting for the timer.
    void PullDisplay();
    // For any thread: have the window take the display's change soon. Never waits; one
    // request at a time is queued, whatever the number of calls.
    void PullSoon();

    void ShowDisplay(const DisplayChange& change) override;
    void SetActionText(const std::string& text) override;
    void ShowMessage(const std::string& text) override;
    void ShowFailure(const std::string& text, const std::string& details) override;
    // The failure box shows its details on demand.
    bool DetailsOnDemand() const override { return true; }
    void ShowWrittenNotice(const std::string& text, const std::string& folder) override;
    void AppendLog(const std::string& line) override;
    std::string LogStamp(const std::string& marker) override;
    bool RestoreConvertButton(bool forList) override;

private:
    QtWindowPort() = default;
    bool OnWindowThread() const;
    // Runs work with the window now on the window thread; from another thread, queued
    // there without waiting. False when it was not run (nor queued).
    bool Run(std::function<void(MainWindow&)> work);
    // Runs work with the window, on the window thread, now; false without a window.
    bool RunHere(const std::function<void(MainWindow&)>& work);
    // Runs work on the window thread while the calling thread waits; only an answer that
    // another thread needs (whether the convert picture came back) comes this way.
    bool RunAndWait(const std::function<void(MainWindow&)>& work);
    void FlushLog();

    QObject* invoker_ = nullptr;  // lives on the window thread, never deleted
    QTimer* pull_ = nullptr;      // on the invoker, ticking while a window is attached
    MainWindow* form_ = nullptr;      // read and written on the window thread only
    std::function<DisplayChange()> source_;  // window thread only
    std::atomic<bool> closing_{false};
    std::atomic<bool> pullQueued_{false};
    std::atomic<long long> lastPullMs_{0};
    std::mutex logMutex_;
    std::condition_variable logRoom_;
    std::deque<std::string> pendingLog_;
    bool flushQueued_ = false;
};

}  // namespace transcoda::gui
