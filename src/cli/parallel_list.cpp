#include "cli/parallel_list.h"

#include <algorithm>
#include <map>
#include <mutex>

#include "cli/cli_texts.h"
#include "cli/progress_records.h"
#include "cli/terminal_window.h"
#include "conversion/item_counter.h"
#include "conversion/session_list.h"
#include "conversion/worker_texts.h"
#include "exec/app_state.h"
#include "exec/language.h"

namespace transcoda::cli {

namespace {

using Result = RequestOutcome::Result;

// The window the diagnostic log goes to while the list runs: the items' workers and
// readers write from their threads, the list's thread prints on the board.
class ListLog : public WindowPort {
public:
    std::vector<std::string> Take() {
        std::lock_guard lock(m_);
        std::vector<std::string> lines;
        lines.swap(lines_);
        return lines;
    }

    void AppendLog(const std::string& line) override { Keep(line); }
    std::string LogStamp(const std::string& marker) override { return TerminalLogStamp(marker); }
    void ShowMessage(const std::string& text) override { Keep(text); }
    void ShowDisplay(const DisplayChange&) override {}
    void SetActionText(const std::string&) override {}
    bool RestoreConvertButton(bool) override { return true; }

private:
    void Keep(const std::string& line) {
        std::lock_guard lock(m_);
        lines_.push_back(line);
    }
    std::mutex m_;
    std::vector<std::string> lines_;
};

// The progress line of one running item, as its session's display tells it.
struct ItemLine {
    std::string Status, Progress, Time;
};

class ListRun {
public:
    ListRun(const ParallelList& list, ListBoard& board) : list_(list), board_(board) {}

    ParallelListResult Run();

private:
    std::string Counter(size_t index) const {
        return ItemCounterText(static_cast<int>(index + 1), static_cast<int>(list_.Requests.size()));
    }
    size_t RecordOf(size_t index) const { return index < list_.RecordOf.size() ? list_.RecordOf[index] : index; }
    void Started(size_t index, ConversionWorker& worker);
    void Show(size_t index, ConversionWorker& worker, const DisplayChange& change);
    void Ended(size_t index, const RequestOutcome& outcome, const WorkerEnding& ending);
    void Tick(size_t total);

    const ParallelList& list_;
    ListBoard& board_;
    ListLog log_;
    std::mutex m_;
    std::map<size_t, ItemLine> lines_;  // under m_: the running items' lines
    std::vector<std::pair<size_t, FailedItem>> failed_;
    std::vector<std::string> messages_;
    int done_ = 0;
};

void ListRun::Started(size_t index, ConversionWorker& worker) {
    const ConversionRequest& request = list_.Requests[index];
    board_.PrintOut(CliItemLine(Counter(index), request.InputPath, request.OutputPath));
    board_.SetItem(static_cast<int>(index + 1), Counter(index), true);
    {
        std::lock_guard lock(m_);
        lines_[index] = {};
    }
    // The worker outlives its session's last push: the list holds it until its end.
    worker.Session().Display().SetObserver(
        [this, index, &worker](const DisplayChange& change) { Show(index, worker, change); });
}

// On the item's worker or reader thread: its line kept for the next tick, and its JSON
// record told (the records keep their own pace).
void ListRun::Show(size_t index, ConversionWorker& worker, const DisplayChange& change) {
    std::string status;
    {
        std::lock_guard lock(m_);
        ItemLine& line = lines_[index];
        if (change.StatusText) line.Status = *change.StatusText;
        if (change.ProgressText) line.Progress = *change.ProgressText;
        if (change.TimeText) line.Time = *change.TimeText;
        status = line.Status;
    }
    if (list_.Records == nullptr || status.empty() || status == ReadyText()) return;
    const std::optional<TimingFigures> figures = worker.Session().Timing().Figures();
    list_.Records->Converting(RecordOf(index), status, figures ? figures->DoneShare : std::nullopt,
                              figures ? figures->RemainingMs : std::nullopt);
}

// What the item's worker would have shown alone goes to the summary instead: its failure
// is told there, a folder error once the list has ended; any other message at once.
void ListRun::Ended(size_t index, const RequestOutcome& outcome, const WorkerEnding& ending) {
    for (const std::string& line : log_.Take()) board_.PrintErr(line);
    const ConversionRequest& request = list_.Requests[index];
    for (const WorkerMessage& message : ItemMessagesBesideSummary(outcome, ending)) board_.PrintErr(message.Text);
    if (outcome.Outcome == Result::Failed) failed_.push_back({index, {request.InputPath, outcome.Reason, outcome.Details}});
    if (outcome.Outcome == Result::FolderError) messages_.push_back(outcome.Reason);
    if (list_.Records != nullptr) list_.Records->Ended(RecordOf(index), StatusAfter(outcome));
    {
        std::lock_guard lock(m_);
        lines_.erase(index);
    }
    ++done_;
    board_.RemoveItem(static_cast<int>(index + 1));
}

void ListRun::Tick(size_t total) {
    for (const std::string& line : log_.Take()) board_.PrintErr(line);
    std::map<size_t, ItemLine> lines;
    {
        std::lock_guard lock(m_);
        lines = lines_;
    }
    for (const auto& [index, line] : lines) {
        const std::string text = ProgressLineText(line.Status, line.Progress, line.Time);
        const bool idle = text.empty() || text.starts_with(ReadyText());
        board_.SetItem(static_cast<int>(index + 1), Counter(index) + (text.empty() ? "" : " " + text), idle);
    }
    board_.SetOverall(CliListProgressText(done_, static_cast<int>(total), static_cast<int>(lines.size()),
                                          static_cast<int>(failed_.size())));
    board_.Refresh();
}

ParallelListResult ListRun::Run() {
    SessionList sessions(list_.Requests, list_.ItemsAtOnce, list_.Roster);
    SessionList::Events events;
    events.Started = [this](size_t index, ConversionWorker& worker) { Started(index, worker); };
    events.Ended = [this](size_t index, const RequestOutcome& outcome, const WorkerEnding& ending) {
        Ended(index, outcome, ending);
    };
    events.Tick = [this] { Tick(list_.Requests.size()); };
    events.Stopped = list_.Stopped;
    WindowPort* window = App().Window;
    AttachWindow(&log_);
    ParallelListResult result;
    result.Outcomes = sessions.Run(events);
    AttachWindow(window);
    for (const std::string& line : log_.Take()) board_.PrintErr(line);
    std::sort(failed_.begin(), failed_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<FailedItem> failed;
    for (const auto& [index, item] : failed_) failed.push_back(item);
    result.Messages = messages_;
    if (!failed.empty()) result.Messages.push_back(FailedListSummaryText(failed));
    result.FailureDetails = FailedListDetails(failed);
    return result;
}

}  // namespace

ParallelListResult RunParallelList(const ParallelList& list, ListBoard& board) {
    return ListRun(list, board).Run();
}

}  // namespace transcoda::cli
