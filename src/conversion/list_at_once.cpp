#include "conversion/list_at_once.h"

#include <algorithm>
#include <chrono>
#include <optional>

#include "conversion/worker_texts.h"
#include "exec/time_left_text.h"

namespace transcoda {

namespace {

using Result = RequestOutcome::Result;
using Clock = std::chrono::steady_clock;

// The list's time left is only guessed from its part done once that part says something.
constexpr double kLeastShareForTimeLeft = 0.02;
constexpr int64_t kLeastMsForTimeLeft = 1000;

}  // namespace

ListAtOnce::ListAtOnce(ConversionSession& list, const ItemListener& onItem, std::vector<ConversionRequest> requests,
                       std::vector<long long> ids, int atOnce)
    : list_(list), onItem_(onItem), requests_(requests), ids_(std::move(ids)),
      sessions_(std::move(requests), atOnce) {}

void ListAtOnce::Started(size_t index, ConversionWorker& worker) {
    // What plays the tools in a test plays them for every item.
    if (RunToolHook hook = list_.Hook()) worker.Session().SetRunToolHook(std::move(hook));
    if (list_.TempNames) worker.Session().TempNames = list_.TempNames;
    running_[index] = &worker;
    // The row's first report (converting) is what has the window show it begun.
    followers_[index] = std::make_unique<ItemFollower>(onItem_, ids_[index], worker.Session().Percent());
}

// What the item's worker would have shown alone waits for the end of the list: its
// failure goes to the summary, its folder error and its other messages are told in the
// list's order.
void ListAtOnce::Ended(size_t index, const RequestOutcome& outcome, const WorkerEnding& ending) {
    std::vector<WorkerMessage>& messages = messages_[index];
    messages = ItemMessagesBesideSummary(outcome, ending);
    if (outcome.Outcome == Result::FolderError) messages.push_back({outcome.Reason});
    if (auto follower = followers_.find(index); follower != followers_.end()) {
        follower->second->Finished(outcome);
        followers_.erase(follower);
    }
    running_.erase(index);
    ++ended_;
}

// The list as a whole on the list's display: the items ended count whole, each running
// one for the part of its request done. The time left is the longest of the running
// items' once none waits; before, it is guessed from the part of the list done so far.
void ListAtOnce::ShowList() {
    double done = ended_;
    std::optional<int64_t> longestLeft = 0;
    for (const auto& [index, worker] : running_) {
        const auto figures = worker->Session().Timing().Figures();
        if (figures && figures->DoneShare) done += std::clamp(*figures->DoneShare, 0.0, 1.0);
        if (!figures || !figures->RemainingMs) longestLeft.reset();
        else if (longestLeft) longestLeft = std::max(*longestLeft, *figures->RemainingMs);
    }
    const size_t waiting = requests_.size() - static_cast<size_t>(ended_) - running_.size();
    const double share = requests_.empty() ? 1.0 : done / static_cast<double>(requests_.size());
    const std::string percent = ListPercentText(share * 100.0, static_cast<int>(running_.size()));
    ProgressDisplay& display = list_.Display();
    display.SetStatusText(ListDoneText(ended_, static_cast<int>(requests_.size())));
    display.SetProgressText("Progression : " + percent);
    display.SetTitle(percent);
    display.SetBarPosition(static_cast<int>(share * display.BarMaximum()));
    const int64_t elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started_).count();
    std::optional<int64_t> left;
    if (waiting == 0 && !running_.empty())
        left = longestLeft;
    else if (share >= kLeastShareForTimeLeft && elapsed >= kLeastMsForTimeLeft)
        left = static_cast<int64_t>(static_cast<double>(elapsed) * (1.0 - share) / share);
    display.SetTimeText(TimeLabelText(elapsed, left));
    display.Push();
}

ListAtOnceResult ListAtOnce::Run() {
    started_ = Clock::now();
    list_.Display().SetBarMaximum(100);
    SessionList::Events events;
    events.Started = [this](size_t index, ConversionWorker& worker) { Started(index, worker); };
    events.Ended = [this](size_t index, const RequestOutcome& outcome, const WorkerEnding& ending) {
        Ended(index, outcome, ending);
    };
    events.Tick = [this] { ShowList(); };
    // The list's own Stop is seen before each start even when it came before the run.
    events.Stopped = [this] { return !list_.Running(); };
    ListAtOnceResult result;
    result.Outcomes = sessions_.Run(events);
    list_.Display().SetTimeText("");
    list_.Display().Push();
    std::vector<FailedItem> failed;
    for (const RequestOutcome& outcome : result.Outcomes)
        if (outcome.Outcome == Result::Failed)
            failed.push_back({outcome.Request.InputPath, outcome.Reason, outcome.Details});
    for (auto& [index, messages] : messages_)
        for (WorkerMessage& message : messages) result.Messages.push_back(std::move(message));
    if (!failed.empty())
        result.Messages.push_back({FailedListSummaryText(failed), FailedListDetails(failed),
                                   FailedListShortText(failed), FailedListFullDetails(failed)});
    return result;
}

}  // namespace transcoda
