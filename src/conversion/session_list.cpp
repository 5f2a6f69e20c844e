#include "conversion/session_list.h"

#include <algorithm>
#include <chrono>
#include <optional>

#include "conversion/worker_texts.h"

namespace transcoda {

std::vector<WorkerMessage> ItemMessagesBesideSummary(const RequestOutcome& outcome, const WorkerEnding& ending) {
    using Result = RequestOutcome::Result;
    const ConversionRequest& request = outcome.Request;
    std::vector<WorkerMessage> messages;
    for (const WorkerMessage& message : ending.Messages) {
        if (outcome.Outcome == Result::Failed &&
            message.Text == ConversionFailedText(request.InputPath, outcome.Reason, !outcome.Details.empty()))
            continue;
        if (outcome.Outcome == Result::FolderError && message.Text == outcome.Reason) continue;
        messages.push_back(message);
    }
    return messages;
}

SessionList::SessionList(std::vector<ConversionRequest> requests, int atOnce, WorkerRoster* roster)
    : requests_(std::move(requests)), atOnce_(static_cast<size_t>(std::max(1, atOnce))), roster_(roster),
      workers_(requests_.size()) {}

void SessionList::StopRunningLocked() {
    for (const auto& worker : workers_)
        if (worker) worker->Session().Stop();
}

void SessionList::Stop() {
    std::lock_guard lock(mutex_);
    stopAsked_ = true;
    StopRunningLocked();
    wake_.notify_all();
}

void SessionList::StartItem(size_t index, const Events& events) {
    auto worker = std::make_shared<ConversionWorker>(ConversionWorker::TakeJob("transformOnce", requests_[index]));
    if (events.Started) events.Started(index, *worker);
    if (roster_ != nullptr) roster_->Add(worker);
    {
        std::lock_guard lock(mutex_);
        workers_[index] = worker;
        // A Stop that came while the item was being made up reaches it too.
        if (stopAsked_) worker->Session().Stop();
    }
    worker->Start([this, index] {
        std::lock_guard lock(mutex_);
        ended_.push_back(index);
        wake_.notify_all();
    });
}

std::vector<size_t> SessionList::WaitForEnds() {
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, std::chrono::milliseconds(kTickMs), [this] { return !ended_.empty() || stopAsked_; });
    std::vector<size_t> ended;
    ended.swap(ended_);
    return ended;
}

std::vector<RequestOutcome> SessionList::Run(const Events& events) {
    using Result = RequestOutcome::Result;
    std::vector<std::optional<RequestOutcome>> outcomes(requests_.size());
    size_t next = 0, running = 0;
    bool noMoreStarts = false;
    // A stop is looked for on each tick and before each start, so that none begins once
    // it has come.
    auto stopped = [&] {
        {
            std::lock_guard lock(mutex_);
            if (stopAsked_) return true;
        }
        if (!events.Stopped || !events.Stopped()) return false;
        Stop();
        return true;
    };
    for (;;) {
        while (!stopped() && !noMoreStarts && running < atOnce_ && next < requests_.size()) {
            StartItem(next++, events);
            ++running;
        }
        if (events.Tick) events.Tick();
        if (running == 0) break;
        for (const size_t index : WaitForEnds()) {
            std::shared_ptr<ConversionWorker> worker;
            {
                std::lock_guard lock(mutex_);
                worker.swap(workers_[index]);
            }
            // The worker's thread has called its end: the body is over, WaitForEnd only
            // sees its last step.
            worker->WaitForEnd(-1);
            const std::vector<RequestOutcome> told = worker->Outcomes();
            RequestOutcome outcome{requests_[index], worker->Session().Running() ? Result::Failed : Result::Stopped, {}};
            if (!told.empty()) outcome = told.front();
            // As in a list run one item at a time: no later item starts after a folder error.
            if (outcome.Outcome == Result::FolderError) noMoreStarts = true;
            if (events.Ended) events.Ended(index, outcome, worker->Ending());
            outcomes[index] = outcome;
            --running;
        }
    }
    std::vector<RequestOutcome> result;
    for (const auto& outcome : outcomes)
        if (outcome) result.push_back(*outcome);
    return result;
}

}  // namespace transcoda
