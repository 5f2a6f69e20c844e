#pragma once
// A list converted several items at once in this process. Each item is a worker of its
// own ("transformOnce") in a session of its own: its own tools, intermediates, outcome
// and clean-up, its own Stop and progress display. At most `atOnce` run at once; what
// they share is the program's values and the instance's work folder (the probe cache,
// the intermediates' names held apart, the notes of the outputs being written).
//
// Run() is called on one thread (the list's), which every event reaches; the workers
// run on threads of their own and only wake it. Stop() may come from any thread.

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "conversion/worker.h"
#include "conversion/worker_roster.h"

namespace transcoda {

// What an item's worker would have the user see alone, less what a list tells in its own
// way: the item's failure (in the list's summary of failed items) and its folder error
// (once the list has ended).
std::vector<WorkerMessage> ItemMessagesBesideSummary(const RequestOutcome& outcome, const WorkerEnding& ending);

class SessionList {
public:
    // How often, at most, the list's thread wakes with nothing ended (its tick).
    static constexpr int kTickMs = 100;

    struct Events {
        // Item `index` (from 0) begins: its worker, not yet started (its session's display
        // may be followed from here).
        std::function<void(size_t index, ConversionWorker& worker)> Started;
        // Item `index` has ended: what became of it, and what its worker has the user see.
        std::function<void(size_t index, const RequestOutcome& outcome, const WorkerEnding& ending)> Ended;
        // At least every kTickMs while the list runs, and after each start and end.
        std::function<void()> Tick;
        // Looked at on each tick: true once the list is to stop (a stop signal came).
        std::function<bool()> Stopped;
    };

    // `roster`, when given, hears every worker started, so that a stop signal reaches it.
    SessionList(std::vector<ConversionRequest> requests, int atOnce, WorkerRoster* roster = nullptr);
    SessionList(const SessionList&) = delete;
    SessionList& operator=(const SessionList&) = delete;

    // Runs the list until every item started has ended. A folder error keeps the items
    // not yet started from starting, as a stop does. What became of each item started,
    // in the list's order.
    std::vector<RequestOutcome> Run(const Events& events);
    // Stops every running item (its tool ends at once, what it was writing goes) and
    // starts no other. Any thread.
    void Stop();

private:
    void StartItem(size_t index, const Events& events);
    void StopRunningLocked();
    // Waits for an item's end, a Stop or the next tick; the indices of the items ended.
    std::vector<size_t> WaitForEnds();

    const std::vector<ConversionRequest> requests_;
    const size_t atOnce_;
    WorkerRoster* roster_;
    std::mutex mutex_;
    std::condition_variable wake_;
    // Under the mutex: the running items' workers by index, the items ended but not yet
    // told, and whether Stop was asked.
    std::vector<std::shared_ptr<ConversionWorker>> workers_;
    std::vector<size_t> ended_;
    bool stopAsked_ = false;
};

}  // namespace transcoda
