#pragma once
// The window's list converted several items at once, inside the list's worker: the items
// run as sessions of their own (session_list.h), as transcoda-cli's --jobs runs them, and
// each row hears its own item's start, percentage and end. The list's own session runs
// no tool: its display shows the list as a whole (the part of its work done, how many
// items run and how many have ended, the time taken and left), which the window takes as
// it takes a single conversion's. What the user is told at the end is what the list run
// one item at a time tells: the items' messages and the summary of the failed ones, in
// the list's order.

#include <chrono>
#include <cstddef>
#include <map>
#include <memory>
#include <vector>

#include "conversion/conversion_job.h"
#include "conversion/session_list.h"
#include "conversion/worker.h"

namespace transcoda {

struct ListAtOnceResult {
    // What became of each item started, in the list's order.
    std::vector<RequestOutcome> Outcomes;
    // Each item's messages (a refusal, a folder error), then the failed items' summary.
    std::vector<WorkerMessage> Messages;
};

class ListAtOnce {
public:
    // `list`: the worker's own session (its Stop stops the list, its display shows the
    // list); `requests` and `ids`: the items to run, in order, and their queue ids.
    ListAtOnce(ConversionSession& list, const ItemListener& onItem, std::vector<ConversionRequest> requests,
               std::vector<long long> ids, int atOnce);
    ListAtOnce(const ListAtOnce&) = delete;
    ListAtOnce& operator=(const ListAtOnce&) = delete;

    // On the worker's thread, until every item started has ended.
    ListAtOnceResult Run();
    // Every running item stops (its tool ends, what it was writing goes), none starts.
    // Any thread.
    void Stop() { sessions_.Stop(); }

private:
    void Started(size_t index, ConversionWorker& worker);
    void Ended(size_t index, const RequestOutcome& outcome, const WorkerEnding& ending);
    void ShowList();

    ConversionSession& list_;
    const ItemListener& onItem_;
    const std::vector<ConversionRequest> requests_;
    const std::vector<long long> ids_;
    SessionList sessions_;
    // On the list's thread only: the running items' workers and followers, and what
    // the ended ones have the user see, by index.
    std::map<size_t, ConversionWorker*> running_;
    std::map<size_t, std::unique_ptr<ItemFollower>> followers_;
    std::map<size_t, std::vector<WorkerMessage>> messages_;
    int ended_ = 0;
    std::chrono::steady_clock::time_point started_;
};

}  // namespace transcoda
