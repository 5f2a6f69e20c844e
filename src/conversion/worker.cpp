#include "conversion/worker.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <mutex>
#include <thread>

#include "conversion/item_counter.h"
#include "conversion/worker_texts.h"
#include "exec/log.h"
#include "exec/tool_output_reader.h"
#include "exec/progress_handler.h"
#include "exec/window_port.h"
#include "recipes/dispatcher.h"

namespace transcoda {

namespace {

// The worker's thread is detached and may still be leaving while the program ends, so
// what it touches last is never destroyed.
std::mutex& gMutex = *new std::mutex;
std::condition_variable& gEnded = *new std::condition_variable;
bool gActive = false;
std::vector<RequestOutcome>& gOutcomes = *new std::vector<RequestOutcome>;

// A message shown once the window is idle again, with the failing tools' last lines.
struct WorkerMessage {
    std::string Text;
    std::string Details = {};
};

void Record(const RequestOutcome& outcome) {
    std::lock_guard lock(gMutex);
    gOutcomes.push_back(outcome);
}

WindowPort& Window() { return *App().Window; }

// Runs one request and says what became of it. A folder that cannot be created ends
// the request with its message, which the caller shows once the window is idle again.
RequestOutcome RunRequest(const ConversionRequest& request) {
    using Result = RequestOutcome::Result;
    RequestOutcome outcome{request, Result::Refused, {}, {}};
    DispatchOutcome dispatched;
    try {
        dispatched = DispatchConversion(request);
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

// The list's requests one after the other, while the conversion runs. Failed items are
// only logged here; one summary is shown after the list.
void RunList(const ConversionJob& job, std::vector<WorkerMessage>& messages) {
    AppState& app = App();
    const std::vector<ConversionRequest>& requests = job.Requests;
    std::vector<FailedItem> failed;
    auto skipped = [&](int row) {
        const auto at = static_cast<size_t>(row - 1);
        return at < job.Skipped.size() && job.Skipped[at];
    };
    const int rows = static_cast<int>(requests.size());
    int count = 0;
    for (int row = 1; row <= rows; ++row) count += skipped(row) ? 0 : 1;
    for (int row = 1, position = 0; row <= rows; ++row) {
        if (skipped(row)) continue;
        app.ItemCounterText = ItemCounterText(++position, count);
        Window().SelectListRow(row);
        if (app.ConversionRunning) {
            const ConversionRequest& request = requests[static_cast<size_t>(row - 1)];
            ItemFollower item(job.OnItem, row);
            RequestOutcome outcome = RunRequest(request);
            item.Finished(outcome);
            Record(outcome);
            if (outcome.Outcome == RequestOutcome::Result::Failed)
                failed.push_back({request.InputPath, outcome.Reason, outcome.Details});
            if (outcome.Outcome == RequestOutcome::Result::FolderError) {
                messages.push_back({outcome.Reason});
                break;  // no later item runs after a folder error
            }
        }
        if (!app.ConversionRunning) break;
    }
    if (!failed.empty()) messages.push_back({FailedListSummaryText(failed), FailedListDetails(failed)});
}

void RestoreConvertButton(bool forList) {
    bool restored = false;
    try {
        restored = Window().RestoreConvertButton(forList);
    } catch (const std::exception&) {
        restored = false;
    }
    if (!restored)
        LogError(" -- Erreur de chargement de l'image associée à la conversion (début/arrêt) au coeur du TH");
}

// Names what this body wrote, once the window is idle again.
void ShowWrittenNotice() {
    std::vector<std::string> written;
    {
        std::lock_guard lock(gMutex);
        for (const RequestOutcome& outcome : gOutcomes)
            if (outcome.Outcome == RequestOutcome::Result::Written) written.push_back(outcome.Request.OutputPath);
    }
    if (written.empty()) return;
    Window().ShowWrittenNotice(WrittenNoticeText(written), OutputFolder(written.back()));
}

// The pipe-reader diagnostic: a reader on a fresh pipe that no tool writes to, left
// running for five seconds, then stopped. Nothing of an earlier run is touched.
void ReaderDiagnostic() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return;
    ToolOutputReader reader(fds[0]);
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

ConversionJob ConversionWorker::TakeJob() {
    AppState& app = App();
    ConversionJob job;
    job.Command = app.WorkerCommand;
    const SpecialValues special{app.SyncDelay, app.ExtractionStart, app.ExtractionLength};
    if (job.Command == "transformOnce") {
        job.Requests.push_back(app.Request);
        job.Requests.back().Special = special;
    } else if (job.Command == "transformList" && app.Window != nullptr) {
        // The grid has a header row 0, the items from row 1, and a last row without one.
        const int count = Window().ListRowCount() - 2;
        for (int row = 1; row <= count; ++row)
            job.Requests.push_back({Window().ListCell(1, row), Window().ListCell(2, row), Window().ListCell(0, row),
                                    special});
    }
    return job;
}

void ConversionWorker::Execute() { Execute(TakeJob()); }

void ConversionWorker::Execute(const ConversionJob& job) {
    AppState& app = App();
    LogEvent(" -- Début d'exécution du TH pour la conversion");
    const std::string& command = job.Command;

    if (command == "test") {
        app.ItemCounterText.clear();
        LogEvent(" -- Exécution du TH pour la conversion, avec comme option commande=test");
        std::remove((TestOutputFolder() + "WMV-to-" + "MP4mpeg4-" + ".mp4").c_str());
        app.ConversionRunning = false;
        LogEvent(" -- Fin Exécution du TH pour la conversion, avec comme option commande=test");
    } else if (command == "testThread2") {
        app.ItemCounterText.clear();
        LogEvent(" -- Exécution du TH pour la conversion, avec comme option commande=testTh2");
        ReaderDiagnostic();
        LogEvent(" -- Fin Exécution du TH pour la conversion, avec comme option commande=testTh2");
    } else {
        app.ItemCounterText.clear();
        LogEvent(" -- Exécution du TH pour la conversion, sans options de \"commande=\"");
        {
            std::lock_guard lock(gMutex);
            gOutcomes.clear();
        }
        // Messages wait until the window is idle again, so none is shown over a window
        // that still looks busy.
        std::vector<WorkerMessage> messages;
        if (command == "transformOnce") {
            if (!job.Requests.empty()) {
                RequestOutcome outcome = RunRequest(job.Requests.front());
                Record(outcome);
                if (outcome.Outcome == RequestOutcome::Result::Failed)
                    messages.push_back({ConversionFailedText(outcome.Request.InputPath, outcome.Reason,
                                                             !outcome.Details.empty()),
                                        outcome.Details});
                if (outcome.Outcome == RequestOutcome::Result::FolderError) messages.push_back({outcome.Reason});
            }
            app.ConversionRunning = false;
            RestoreConvertButton(false);
        } else if (command == "transformList") {
            RunList(job, messages);
            app.ConversionRunning = false;
            RestoreConvertButton(true);
        }
        ResetProgressDisplay();
        ShowWrittenNotice();
        for (const auto& message : messages) {
            if (message.Details.empty()) Window().ShowMessage(message.Text);
            else Window().ShowFailure(message.Text, message.Details);
        }
        LogEvent(" -- Fin Exécution du TH pour la conversion, sans options de \"commande=\"");
    }
    LogEvent(" -- Fin d'exécution du TH pour la conversion");
}

void ConversionWorker::Start() { Start(TakeJob(), {}); }

void ConversionWorker::Start(ConversionJob job, std::function<void()> onEnd) {
    {
        std::lock_guard lock(gMutex);
        gActive = true;
    }
    // The thread keeps the normal priority: on this platform a thread's priority is
    // passed on to every process it starts, and the helper tools must run at full speed.
    // The worker itself only waits (for the tools and for the window), so it takes no
    // processor time from the window either way.
    std::thread([job = std::move(job), onEnd = std::move(onEnd)] {
        try {
            Execute(job);
        } catch (...) {
            App().ConversionRunning = false;
        }
        {
            std::lock_guard lock(gMutex);
            gActive = false;
            gEnded.notify_all();
        }
        if (onEnd) onEnd();
    }).detach();
}

bool ConversionWorker::Active() {
    std::lock_guard lock(gMutex);
    return gActive;
}

bool ConversionWorker::WaitForEnd(int timeoutMs) {
    std::unique_lock lock(gMutex);
    if (timeoutMs < 0) {
        gEnded.wait(lock, [] { return !gActive; });
        return true;
    }
    return gEnded.wait_for(lock, std::chrono::milliseconds(timeoutMs), [] { return !gActive; });
}

std::vector<RequestOutcome> ConversionWorker::Outcomes() {
    std::lock_guard lock(gMutex);
    return gOutcomes;
}

}  // namespace transcoda
