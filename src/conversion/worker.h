#pragma once
// The conversion worker: one job ("transformOnce", "transformList", "test",
// "testThread2") carried out in a session of its own, on a thread of its own or on the
// caller's. The worker never waits for the window: what the user must see at its end
// (the convert button back, the written notice, the messages) is handed back as its
// ending, which the front end shows once the worker has ended.

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "conversion/conversion_job.h"
#include "exec/conversion_session.h"
#include "exec/window_port.h"

namespace transcoda {

class ListAtOnce;

// A message for the user, with the failing tools' last lines when there are some.
struct WorkerMessage {
    std::string Text;
    std::string Details = {};
    // The same message for a front end whose details wait behind a button: a short text,
    // the rest in the details (empty: Text and Details serve there too).
    std::string ShortText = {};
    std::string FullDetails = {};
};

// What the user sees once a conversion has ended, in this order: the convert button
// back (for the two conversion commands), the idle display, the outputs written named,
// then each message.
struct WorkerEnding {
    bool RestoresButton = false;
    bool ForList = false;
    std::vector<std::string> Written;
    std::vector<WorkerMessage> Messages;
};

class ConversionWorker : public std::enable_shared_from_this<ConversionWorker> {
public:
    explicit ConversionWorker(ConversionJob job) : job_(std::move(job)) {}
    ConversionWorker(const ConversionWorker&) = delete;
    ConversionWorker& operator=(const ConversionWorker&) = delete;

    // The job for `command`: for "transformOnce" the single request (a list's job comes
    // from its queue: ConversionQueue::ListJob).
    static ConversionJob TakeJob(const std::string& command, const ConversionRequest& request);

    ConversionSession& Session() { return session_; }
    // Stops the worker's session and, for a list converting several items at once,
    // every running item, at once (before a caller ends this instance's tools, so that
    // each item sees itself stopped, not killed). Any thread.
    void Stop();
    const ConversionJob& Job() const { return job_; }

    // The worker's body on the calling thread.
    void Execute();
    // The body on a thread of its own; returns at once. onEnd, when given, is called on
    // that thread once the body has ended and Active() is false. The worker is kept
    // alive by its thread until then (it must be held by a shared_ptr).
    void Start(std::function<void()> onEnd);
    // True from Start until the body has ended.
    bool Active() const;
    // Waits until the body started by Start has ended; false when timeoutMs (negative:
    // no limit) ran out first.
    bool WaitForEnd(int timeoutMs);

    // The requests converted, in order, and what the user is to see; read once the body
    // has ended.
    std::vector<RequestOutcome> Outcomes() const;
    WorkerEnding Ending() const;

    // The folder whose test file the "test" command deletes (under the system's
    // temporary folder), with a trailing "/".
    static std::string TestOutputFolder();

private:
    void Record(const RequestOutcome& outcome);
    void RunOnce(WorkerEnding& ending);
    void RunList(WorkerEnding& ending);
    // How many of the list's items `requests` run at once (1: one after the other).
    int ListItemsAtOnce(const std::vector<ConversionRequest>& requests) const;
    void RunListAtOnce(WorkerEnding& ending, int atOnce);

    ConversionJob job_;
    ConversionSession session_;
    mutable std::mutex mutex_;
    std::condition_variable ended_;
    bool active_ = false;
    std::vector<RequestOutcome> outcomes_;
    WorkerEnding ending_;
    // Under the mutex: the list converting several items at once, while it runs.
    ListAtOnce* atOnce_ = nullptr;
};

// Shows a worker's ending in `window`, in its order: the convert button back, the
// display's last change (the idle look), the written notice, then each message (a
// failure with its details). Called on the window's thread once the worker has ended.
void ShowWorkerEnding(WindowPort& window, ProgressDisplay& display, const WorkerEnding& ending);

}  // namespace transcoda
