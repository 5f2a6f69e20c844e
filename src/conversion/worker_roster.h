#pragma once
// The workers a front end has started, for what must reach all of them from any thread:
// a stop signal stops every one and waits for their ends, and the program's end asks
// whether one is still running. Owned by the front end's main and handed to whoever
// starts workers; it holds no worker past its end longer than the next start.

#include <memory>
#include <mutex>
#include <vector>

#include "conversion/worker.h"

namespace transcoda {

class WorkerRoster {
public:
    void Add(std::shared_ptr<ConversionWorker> worker);
    // Stops every worker (ConversionWorker::Stop): its tools end at once, no later step,
    // nor item of a list converting several at once, starts.
    void StopAll();
    // Waits until no worker is active; false when timeoutMs ran out first.
    bool WaitForAll(int timeoutMs);
    bool AnyActive() const;

private:
    std::vector<std::shared_ptr<ConversionWorker>> Workers() const;

    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<ConversionWorker>> workers_;
};

}  // namespace transcoda
