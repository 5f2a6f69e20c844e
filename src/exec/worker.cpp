#include "exec/worker.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <mutex>
#include <thread>

#include "exec/item_counter.h"
#include "exec/log.h"
#include "exec/pipe_reader.h"
#include "exec/window_port.h"
#include "exec/worker_texts.h"
#include "recipes/dispatcher.h"
#include "recipes/format_catalogue.h"

namespace transcoda {

namespace {

// LastExitStatus before a request: tells "no tool ran" apart from any real status.
constexpr int kNoToolRan = INT_MIN;

// The worker's thread is detached and may still be leaving while the program ends, so
// what it touches last is never destroyed.
std::mutex& gMutex = *new std::mutex;
std::condition_variable& gEnded = *new std::condition_variable;
bool gActive = false;
std::vector<RequestOutcome>& gOutcomes = *new std::vector<RequestOutcome>;

void Record(const RequestOutcome& outcome) {
    std::lock_guard lock(gMutex);
    gOutcomes.push_back(outcome);
}

WindowPort& Window() { return *App().Window; }

std::string ReadyText() { return App().English() ? "Ready" : "Prêt"; }

bool IsDvd(const std::string& label) {
    const FormatEntry* entry = FindFormat(label);
    return entry != nullptr &&
           (entry->Recipe == RecipeKind::DvdNtsc || entry->Recipe == RecipeKind::DvdPal);
}

// Runs one request and says what became of it. A folder that cannot be created ends
// the request with its message, which the caller shows once the window is idle again.
RequestOutcome RunRequest(const ConversionRequest& request, std::string& folderMessage) {
    AppState& app = App();
    RequestOutcome outcome{request, RequestOutcome::Result::Refused, 0};
    app.LastExitStatus = kNoToolRan;
    try {
        DispatchConversion(request.InputPath, request.OutputPath, request.FormatLabel);
    } catch (const std::exception& error) {
        folderMessage = error.what();
        LogError(" -- " + folderMessage);
        outcome.Outcome = RequestOutcome::Result::FolderError;
        outcome.ExitStatus = app.LastExitStatus == kNoToolRan ? 0 : app.LastExitStatus.load();
        return outcome;
    }
    const int status = app.LastExitStatus;
    outcome.ExitStatus = status == kNoToolRan ? 0 : status;
    if (!app.ConversionRunning) {
        outcome.Outcome = RequestOutcome::Result::Stopped;
    } else if (status == kNoToolRan) {
        // The dispatcher refused the request and said so itself, or there was nothing
        // to do (no lag, no segment).
        outcome.Outcome = RequestOutcome::Result::Refused;
    } else if (status != 0 || !FinalOutputWritten(request)) {
        outcome.Outcome = RequestOutcome::Result::Failed;
        LogError(ConversionFailedLogLine(request.InputPath, status));
    } else {
        outcome.Outcome = RequestOutcome::Result::Written;
    }
    return outcome;
}

// The rows 1 .. RowCount-2 of the list, one after the other, while the conversion runs.
// Failed items are only logged here; one summary is shown after the list.
void RunList(std::vector<std::string>& messages) {
    AppState& app = App();
    std::vector<std::string> failed;
    const int count = Window().ListRowCount() - 2;
    for (int row = 1; row <= count; ++row) {
        app.ItemCounterText = ItemCounterText(row, Window().ListRowCount() - 2);
        Window().SelectListRow(row);
        if (app.ConversionRunning) {
            ConversionRequest request{Window().ListCell(1, row), Window().ListCell(2, row),
                                      Window().ListCell(0, row)};
            std::string folderMessage;
            RequestOutcome outcome = RunRequest(request, folderMessage);
            Record(outcome);
            if (outcome.Outcome == RequestOutcome::Result::Failed)
                failed.push_back(request.InputPath);
            if (outcome.Outcome == RequestOutcome::Result::FolderError) {
                messages.push_back(folderMessage);
                break;  // no later item runs after a folder error
            }
        }
        if (!app.ConversionRunning) break;
    }
    if (!failed.empty()) messages.push_back(FailedListSummaryText(failed));
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

// The pipe-reader diagnostic: a reader on a fresh pipe that no tool writes to, left
// running for five seconds, then stopped. Nothing of an earlier run is touched.
void ReaderDiagnostic() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return;
    TStoReadPipeThread reader(fds[0]);
    reader.Start();
    std::this_thread::sleep_for(std::chrono::milliseconds(5000));
    reader.RequestStop(false);
    reader.Join();
    close(fds[1]);
}

}  // namespace

bool FinalOutputWritten(const ConversionRequest& request) {
    std::string path = request.OutputPath;
    if (IsDvd(request.FormatLabel)) path += "DVD-Disc1/VIDEO_TS/VIDEO_TS.IFO";
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0;
}

std::string MonThread::TestOutputFolder() {
    std::error_code ignored;
    return (std::filesystem::temp_directory_path(ignored) / "transcoda-test").string() + "/";
}

void MonThread::Execute() {
    AppState& app = App();
    LogEvent(" -- Début d'exécution du TH pour la conversion");
    const std::string command = app.WorkerCommand;

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
        std::vector<std::string> messages;
        if (command == "transformOnce") {
            std::string folderMessage;
            RequestOutcome outcome = RunRequest(app.Request, folderMessage);
            Record(outcome);
            if (outcome.Outcome == RequestOutcome::Result::Failed)
                messages.push_back(ConversionFailedText(outcome.Request.InputPath));
            if (outcome.Outcome == RequestOutcome::Result::FolderError)
                messages.push_back(folderMessage);
            app.ConversionRunning = false;
            RestoreConvertButton(false);
        } else if (command == "transformList") {
            RunList(messages);
            app.ConversionRunning = false;
            RestoreConvertButton(true);
        }
        Window().SetBarPosition(0);
        Window().SetStatusText(ReadyText());
        Window().SetProgressText("");
        for (const auto& message : messages) Window().ShowMessage(message);
        LogEvent(" -- Fin Exécution du TH pour la conversion, sans options de \"commande=\"");
    }
    LogEvent(" -- Fin d'exécution du TH pour la conversion");
}

void MonThread::Start() {
    {
        std::lock_guard lock(gMutex);
        gActive = true;
    }
    // The thread keeps the normal priority: on this platform a thread's priority is
    // passed on to every process it starts, and the helper tools must run at full speed.
    // The worker itself only waits (for the tools and for the window), so it takes no
    // processor time from the window either way.
    std::thread([] {
        try {
            Execute();
        } catch (...) {
            App().ConversionRunning = false;
        }
        std::lock_guard lock(gMutex);
        gActive = false;
        gEnded.notify_all();
    }).detach();
}

bool MonThread::Active() {
    std::lock_guard lock(gMutex);
    return gActive;
}

bool MonThread::WaitForEnd(int timeoutMs) {
    std::unique_lock lock(gMutex);
    if (timeoutMs < 0) {
        gEnded.wait(lock, [] { return !gActive; });
        return true;
    }
    return gEnded.wait_for(lock, std::chrono::milliseconds(timeoutMs), [] { return !gActive; });
}

std::vector<RequestOutcome> MonThread::Outcomes() {
    std::lock_guard lock(gMutex);
    return gOutcomes;
}

}  // namespace transcoda
