#include "conversion/worker_roster.h"

#include <algorithm>
#include <chrono>

namespace transcoda {

void WorkerRoster::Add(std::shared_ptr<ConversionWorker> worker) {
    std::lock_guard lock(mutex_);
    std::erase_if(workers_, [](const auto& w) { return !w->Active(); });
    workers_.push_back(std::move(worker));
}

std::vector<std::shared_ptr<ConversionWorker>> WorkerRoster::Workers() const {
    std::lock_guard lock(mutex_);
    return workers_;
}

void WorkerRoster::StopAll() {
    for (const auto& worker : Workers()) worker->Stop();
}

bool WorkerRoster::WaitForAll(int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (const auto& worker : Workers()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (!worker->WaitForEnd(static_cast<int>(std::max<long long>(left, 0)))) return false;
    }
    return true;
}

bool WorkerRoster::AnyActive() const {
    const auto workers = Workers();
    return std::any_of(workers.begin(), workers.end(), [](const auto& w) { return w->Active(); });
}

}  // namespace transcoda
