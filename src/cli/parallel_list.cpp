#include "cli/parallel_list.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <optional>

#include "cli/cli_texts.h"
#include "cli/item_outcome.h"
#include "cli/item_output.h"
#include "cli/progress_records.h"
#include "conversion/item_counter.h"
#include "conversion/worker_texts.h"
#include "exec/app_state.h"
#include "exec/language.h"
#include "platform/command_line.h"
#include "platform/instance_mark.h"
#include "platform/process.h"

namespace transcoda::cli {

namespace {

using Result = RequestOutcome::Result;

struct RunningItem {
    size_t Index = 0;
    ChildProcess Process;
    int Output = -1;  // the read end of the pipe that is the process's terminal
    ItemOutput Lines;
    std::string OutcomeFile;
};

class ListRun {
public:
    ListRun(const ParallelList& list, ListBoard& board)
        : list_(list), board_(board), outcomes_(list.Requests.size()) {}

    ParallelListResult Run();

private:
    std::string Counter(size_t index) const {
        return ItemCounterText(static_cast<int>(index + 1), static_cast<int>(list_.Requests.size()));
    }
    void Start(size_t index);
    void AskToStop();
    void ReadOutputs();
    void Read(RunningItem& item);
    void Finish(RunningItem& item);
    // A whole line of an item's process: a progress record, or a line for the user.
    void Pass(size_t index, const std::string& line);
    size_t RecordOf(size_t index) const { return index < list_.RecordOf.size() ? list_.RecordOf[index] : index; }

    const ParallelList& list_;
    ListBoard& board_;
    std::vector<std::optional<RequestOutcome>> outcomes_;
    std::vector<std::unique_ptr<RunningItem>> running_;
    std::vector<std::pair<size_t, FailedItem>> failed_;
    std::vector<std::string> messages_;
    bool stopping_ = false;
    bool noMoreStarts_ = false;
    int done_ = 0;
};

void ListRun::Start(size_t index) {
    const ConversionRequest& request = list_.Requests[index];
    board_.PrintOut(CliItemLine(Counter(index), request.InputPath, request.OutputPath));
    auto item = std::make_unique<RunningItem>();
    item->Index = index;
    item->OutcomeFile = list_.OutcomeFolder + "item-" + std::to_string(index + 1) + ".outcome";
    std::remove(item->OutcomeFile.c_str());
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) == 0) {
        // An instance of its own, which knows this process by its mark: it stops and
        // cleans up when this process dies, and no other item's clean-up ends it.
        const std::vector<std::string> environment{std::string(kListVariable) + "=" + ThisInstance().Text()};
        if (item->Process.Start(ItemCommandLine(list_, index, item->OutcomeFile), fds[1], environment,
                                ChildKind::Instance)) {
            item->Output = fds[0];
            fcntl(item->Output, F_SETFL, fcntl(item->Output, F_GETFL) | O_NONBLOCK);
        } else {
            close(fds[0]);
        }
        close(fds[1]);
    }
    board_.SetItem(static_cast<int>(index + 1), Counter(index), true);
    running_.push_back(std::move(item));
}

// As a Ctrl-C on the item's own terminal would: the item's process ends its tools,
// removes what it was writing and its work folder, and ends.
void ListRun::AskToStop() {
    for (const auto& item : running_)
        if (item->Process.Running()) kill(item->Process.Pid(), SIGINT);
}

void ListRun::Read(RunningItem& item) {
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(item.Output, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
        if (n <= 0) {
            close(item.Output);
            item.Output = -1;
            break;
        }
        for (const std::string& line : item.Lines.Feed({buffer, static_cast<size_t>(n)})) Pass(item.Index, line);
    }
    const std::string& progress = item.Lines.Progress();
    const bool idle = progress.empty() || progress.starts_with(ReadyText());
    board_.SetItem(static_cast<int>(item.Index + 1), Counter(item.Index) + (progress.empty() ? "" : " " + progress), idle);
}

void ListRun::Pass(size_t index, const std::string& line) {
    if (list_.Records != nullptr && ProgressRecords::IsRecord(line)) list_.Records->Forward(RecordOf(index), line);
    else board_.PrintErr(line);
}

void ListRun::ReadOutputs() {
    std::vector<pollfd> fds;
    for (const auto& item : running_)
        if (item->Output >= 0) fds.push_back({item->Output, POLLIN, 0});
    // The stop flag is looked at as often as the tool runner looks at it.
    poll(fds.data(), fds.size(), 100);
    for (const auto& item : running_)
        if (item->Output >= 0) Read(*item);
}

void ListRun::Finish(RunningItem& item) {
    for (const std::string& line : item.Lines.Finish()) Pass(item.Index, line);
    const ConversionRequest& request = list_.Requests[item.Index];
    RequestOutcome outcome{request, Result::Failed, {}};
    const auto told = ReadItemOutcome(item.OutcomeFile);
    if (stopping_ && (!told || told->Result == Result::Stopped)) {
        outcome.Outcome = Result::Stopped;
    } else if (told && told->Result != Result::Stopped) {
        outcome.Outcome = told->Result;
        outcome.Reason = told->Reason;
    } else {
        // Ended, or stopped, by something else than this list.
        outcome.Reason = CliItemEndedText(item.Process.ExitStatus());
    }
    std::remove(item.OutcomeFile.c_str());
    if (outcome.Outcome == Result::Failed) failed_.push_back({item.Index, {request.InputPath, outcome.Reason, told ? told->Details : std::string()}});
    if (outcome.Outcome == Result::FolderError) {
        // As in a list run one item at a time: no later item starts after a folder error.
        messages_.push_back(outcome.Reason);
        noMoreStarts_ = true;
    }
    outcomes_[item.Index] = outcome;
    if (list_.Records != nullptr) list_.Records->Ended(RecordOf(item.Index), StatusAfter(outcome));
    ++done_;
    board_.RemoveItem(static_cast<int>(item.Index + 1));
}

ParallelListResult ListRun::Run() {
    const size_t total = list_.Requests.size();
    const size_t atOnce = static_cast<size_t>(std::max(1, list_.ItemsAtOnce));
    size_t next = 0;
    for (;;) {
        if (!stopping_ && list_.Stopped()) {
            stopping_ = true;
            AskToStop();
        }
        while (!stopping_ && !noMoreStarts_ && running_.size() < atOnce && next < total) Start(next++);
        if (running_.empty()) break;
        ReadOutputs();
        // An item has ended once its terminal is closed and its process is gone, which
        // follows at once: its process closes its terminal only as it ends.
        for (auto it = running_.begin(); it != running_.end();) {
            if ((*it)->Output < 0 && (*it)->Process.WaitFor(100)) {
                Finish(**it);
                it = running_.erase(it);
            } else {
                ++it;
            }
        }
        board_.SetOverall(CliListProgressText(done_, static_cast<int>(total), static_cast<int>(running_.size()),
                                              static_cast<int>(failed_.size())));
        board_.Refresh();
    }
    ParallelListResult result;
    for (const auto& outcome : outcomes_)
        if (outcome) result.Outcomes.push_back(*outcome);
    std::sort(failed_.begin(), failed_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<FailedItem> failed;
    for (const auto& [index, item] : failed_) failed.push_back(item);
    result.Messages = messages_;
    if (!failed.empty()) result.Messages.push_back(FailedListSummaryText(failed));
    result.FailureDetails = FailedListDetails(failed);
    return result;
}

}  // namespace

std::string ItemCommandLine(const ParallelList& list, size_t index, const std::string& outcomeFile) {
    const ConversionRequest& request = list.Requests[index];
    // The program's path is taken as it stands up to its closing quote; one holding a
    // quote itself goes bare, and is then found by the blanks it holds.
    const std::string program =
        list.Program.find('"') == std::string::npos ? "\"" + list.Program + "\"" : list.Program;
    // The item replaces an existing output: this process has already decided on it.
    return program + " --lang " + list.Language + (list.Debug ? " --debug" : "") +
           (list.Records != nullptr ? " --progress json" : "") + " -y --outcome " +
           Q(outcomeFile) + " -f " + Q(request.FormatLabel) + " " + Q(request.InputPath) + " " +
           Q(request.OutputPath);
}

ParallelListResult RunParallelList(const ParallelList& list, ListBoard& board) {
    return ListRun(list, board).Run();
}

}  // namespace transcoda::cli
