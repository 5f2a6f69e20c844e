#include "conversion/worker.h"

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <thread>

#include "conversion/item_counter.h"
#include "conversion/items_at_once.h"
#include "conversion/list_at_once.h"
#include "conversion/worker_texts.h"
#include "exec/log.h"
#include "exec/progress_handler.h"
#include "exec/tool_output_reader.h"
#include "recipes/dispatcher.h"

namespace transcoda {

namespace {

// Runs one request and says what became of it. A folder that cannot be created ends
// the request with its message; a refusal with a message adds it to `messages`.
RequestOutcome RunRequest(ConversionSession& session, const ConversionRequest& request,
                          std::vector<WorkerMessage>& messages) {
    using Result = RequestOutcome::Result;
    RequestOutcome outcome{request, Result::Refused, {}, {}};
    DispatchOutcome dispatched;
    try {
        dispatched = DispatchConversion(session, request);
    } catch (const std::exception& error) {
        outcome.Reason = error.what();
        LogError(" -- " + outcome.Reason);
        outcome.Outcome = Result::FolderError;
        return outcome;
    }
    switch (dispatched.Outcome) {
        case DispatchOutcome::Result::Written:
            outcome.Outcome = Result::Written;
            break;
        case DispatchOutcome::Result::Refused:
        case DispatchOutcome::Result::NothingToDo:
            if (!dispatched.Message.empty()) messages.push_back({dispatched.Message});
            outcome.Outcome = Result::Refused;
            break;
        case DispatchOutcome::Result::Stopped:
            outcome.Outcome = Result::Stopped;
            break;
        case DispatchOutcome::Result::Failed:
            outcome.Outcome = Result::Failed;
            outcome.Reason = dispatched.Reason;
            outcome.Details = dispatched.Details;
            LogError(ConversionFailedLogLine(request.InputPath, outcome.Reason));
            break;
    }
    return outcome;
}

// The output-reader diagnostic: a reader on a fresh pipe that no tool writes to, left
// running for five seconds, then stopped. Nothing of an earlier run is touched.
void ReaderDiagnostic(ConversionSession& session) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return;
    ToolOutputReader reader(session, fds[0]);
    reader.Start();
    std::this_thread::sleep_for(std::chrono::milliseconds(5000));
    reader.RequestStop(false);
    reader.Join();
    close(fds[1]);
}

}  // namespace

std::string ConversionWorker::TestOutputFolder() {
    std::error_code ignored;
    return (std::filesystem::temp_directory_path(ignored) / "transcoda-test").string() + "/";
}

ConversionJob ConversionWorker::TakeJob(const std::string& command, const ConversionRequest& request) {
    ConversionJob job;
    job.Command = command;
    if (command == "transformOnce") job.Requests.push_back(request);
    return job;
}

void ConversionWorker::Record(const RequestOutcome& outcome) {
    std::lock_guard lock(mutex_);
    outcomes_.push_back(outcome);
}

void ConversionWorker::RunOnce(WorkerEnding& ending) {
    if (job_.Requests.empty()) return;
    RequestOutcome outcome = RunRequest(session_, job_.Requests.front(), ending.Messages);
    Record(outcome);
    if (outcome.Outcome == RequestOutcome::Result::Failed)
        ending.Messages.push_back(
            {ConversionFailedText(outcome.Request.InputPath, outcome.Reason, !outcome.Details.empty()),
             outcome.Details});
    if (outcome.Outcome == RequestOutcome::Result::FolderError) ending.Messages.push_back({outcome.Reason});
}

void ConversionWorker::Stop() {
    session_.Stop();
    std::lock_guard lock(mutex_);
    if (atOnce_ != nullptr) atOnce_->Stop();
}

int ConversionWorker::ListItemsAtOnce(const std::vector<ConversionRequest>& requests) const {
    if (job_.ItemsAtOnce <= 1 || requests.size() <= 1) return 1;
    // Items that feed one another keep the list's order, one at a time.
    if (ItemsDependOnEachOther(requests)) {
        LogEvent(" -- Des éléments de la liste en alimentent d'autres : un à la fois");
        return 1;
    }
    const ItemsAtOnce chosen = ChooseItemsAtOnce(job_.ItemsAtOnce, static_cast<int>(requests.size()),
                                                 AvailableCores(), AvailableMemoryBytes());
    if (chosen.CappedByMemory)
        LogEvent(" -- Mémoire libre pour " + std::to_string(chosen.Count) + " conversion(s) à la fois");
    return chosen.Count;
}

// The list's items as sessions of their own, several at once; each row hears its own.
void ConversionWorker::RunListAtOnce(WorkerEnding& ending, int atOnce) {
    std::vector<ConversionRequest> requests;
    std::vector<long long> ids;
    for (size_t at = 0; at < job_.Requests.size(); ++at) {
        if (at < job_.Skipped.size() && job_.Skipped[at]) continue;
        requests.push_back(job_.Requests[at]);
        ids.push_back(at < job_.ItemIds.size() ? job_.ItemIds[at] : static_cast<long long>(at + 1));
    }
    ListAtOnce list(session_, job_.OnItem, std::move(requests), std::move(ids), atOnce);
    {
        std::lock_guard lock(mutex_);
        atOnce_ = &list;
    }
    ListAtOnceResult result = list.Run();
    {
        std::lock_guard lock(mutex_);
        atOnce_ = nullptr;
    }
    for (const RequestOutcome& outcome : result.Outcomes) Record(outcome);
    for (WorkerMessage& message : result.Messages) ending.Messages.push_back(std::move(message));
}

// The list's requests one after the other, while the conversion runs (or several at
// once, when the job allows it). Failed items are only logged here; one summary is
// shown after the list.
void ConversionWorker::RunList(WorkerEnding& ending) {
    const std::vector<ConversionRequest>& requests = job_.Requests;
    std::vector<FailedItem> failed;
    auto skipped = [&](int row) {
        const auto at = static_cast<size_t>(row - 1);
        return at < job_.Skipped.size() && job_.Skipped[at];
    };
    const int rows = static_cast<int>(requests.size());
    std::vector<ConversionRequest> toRun;
    for (int row = 1; row <= rows; ++row)
        if (!skipped(row)) toRun.push_back(requests[static_cast<size_t>(row - 1)]);
    const int count = static_cast<int>(toRun.size());
    if (const int atOnce = ListItemsAtOnce(toRun); atOnce > 1) {
        RunListAtOnce(ending, atOnce);
        return;
    }
    for (int row = 1, position = 0; row <= rows; ++row) {
        if (skipped(row)) continue;
        session_.Progress.ItemCounterText = ItemCounterText(++position, count);
        if (session_.Running()) {
            const auto at = static_cast<size_t>(row - 1);
            const ConversionRequest& request = requests[at];
            // The item's first report (converting) is what has the front end show it.
            ItemFollower item(job_.OnItem, at < job_.ItemIds.size() ? job_.ItemIds[at] : row, session_.Percent());
            RequestOutcome outcome = RunRequest(session_, request, ending.Messages);
            item.Finished(outcome);
            Record(outcome);
            if (outcome.Outcome == RequestOutcome::Result::Failed)
                failed.push_back({request.InputPath, outcome.Reason, outcome.Details});
            if (outcome.Outcome == RequestOutcome::Result::FolderError) {
                ending.Messages.push_back({outcome.Reason});
                break;  // no later item runs after a folder error
            }
        }
        if (!session_.Running()) break;
    }
    if (!failed.empty())
        ending.Messages.push_back({FailedListSummaryText(failed), FailedListDetails(failed), FailedListShortText(failed),
                                   FailedListFullDetails(failed)});
}

void ConversionWorker::Execute() {
    LogEvent(" -- Début d'exécution du TH pour la conversion");
    const std::string& command = job_.Command;
    WorkerEnding ending;
    session_.Progress.ItemCounterText.clear();
    if (command == "test") {
        LogEvent(" -- Exécution du TH pour la conversion, avec comme option commande=test");
        std::remove((TestOutputFolder() + "WMV-to-" + "MP4mpeg4-" + ".mp4").c_str());
        LogEvent(" -- Fin Exécution du TH pour la conversion, avec comme option commande=test");
    } else if (command == "testThread2") {
        LogEvent(" -- Exécution du TH pour la conversion, avec comme option commande=testTh2");
        ReaderDiagnostic(session_);
        LogEvent(" -- Fin Exécution du TH pour la conversion, avec comme option commande=testTh2");
    } else {
        LogEvent(" -- Exécution du TH pour la conversion, sans options de \"commande=\"");
        {
            std::lock_guard lock(mutex_);
            outcomes_.clear();
        }
        if (command == "transformOnce") {
            RunOnce(ending);
            ending.RestoresButton = true;
        } else if (command == "transformList") {
            RunList(ending);
            ending.RestoresButton = true;
            ending.ForList = true;
        }
        ResetProgressDisplay(session_.Display());
        for (const RequestOutcome& outcome : Outcomes())
            if (outcome.Outcome == RequestOutcome::Result::Written) ending.Written.push_back(outcome.Request.OutputPath);
        LogEvent(" -- Fin Exécution du TH pour la conversion, sans options de \"commande=\"");
    }
    LogEvent(" -- Fin d'exécution du TH pour la conversion");
    std::lock_guard lock(mutex_);
    ending_ = std::move(ending);
}

void ConversionWorker::Start(std::function<void()> onEnd) {
    {
        std::lock_guard lock(mutex_);
        active_ = true;
    }
    // The thread keeps the normal priority: on this platform a thread's priority is
    // passed on to every process it starts, and the helper tools must run at full speed.
    // The worker itself only waits for its tools, so it takes no processor time from
    // the window either way.
    std::thread([self = shared_from_this(), onEnd = std::move(onEnd)] {
        try {
            self->Execute();
        } catch (...) {
            self->session_.Stop();
        }
        {
            std::lock_guard lock(self->mutex_);
            self->active_ = false;
            self->ended_.notify_all();
        }
        if (onEnd) onEnd();
    }).detach();
}

bool ConversionWorker::Active() const {
    std::lock_guard lock(mutex_);
    return active_;
}

bool ConversionWorker::WaitForEnd(int timeoutMs) {
    std::unique_lock lock(mutex_);
    if (timeoutMs < 0) {
        ended_.wait(lock, [this] { return !active_; });
        return true;
    }
    return ended_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return !active_; });
}

std::vector<RequestOutcome> ConversionWorker::Outcomes() const {
    std::lock_guard lock(mutex_);
    return outcomes_;
}

WorkerEnding ConversionWorker::Ending() const {
    std::lock_guard lock(mutex_);
    return ending_;
}

void ShowWorkerEnding(WindowPort& window, ProgressDisplay& display, const WorkerEnding& ending) {
    if (ending.RestoresButton) {
        bool restored = false;
        try {
            restored = window.RestoreConvertButton(ending.ForList);
        } catch (const std::exception&) {
            restored = false;
        }
        if (!restored)
            LogError(" -- Erreur de chargement de l'image associée à la conversion (début/arrêt) au coeur du TH");
    }
    const DisplayChange last = display.TakeChange();
    if (!last.Empty()) window.ShowDisplay(last);
    if (!ending.Written.empty())
        window.ShowWrittenNotice(WrittenNoticeText(ending.Written), OutputFolder(ending.Written.back()));
    for (const WorkerMessage& message : ending.Messages) {
        if (!message.ShortText.empty() && window.DetailsOnDemand())
            window.ShowFailure(message.ShortText, message.FullDetails);
        else if (message.Details.empty())
            window.ShowMessage(message.Text);
        else
            window.ShowFailure(message.Text, message.Details);
    }
}

}  // namespace transcoda
