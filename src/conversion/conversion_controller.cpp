#include "conversion/conversion_controller.h"

#include <utility>

#include "conversion/request_texts.h"
#include "exec/app_state.h"
#include "exec/helper_processes.h"
#include "exec/log.h"

namespace transcoda {

namespace {
bool IsDiagnostic(const std::string& command) { return command == "test" || command == "testThread2"; }
}  // namespace

ConversionController::Launcher ConversionController::WorkerLauncher() {
    return [](std::shared_ptr<ConversionWorker> worker, std::function<void()> onEnd) {
        worker->Start(std::move(onEnd));
    };
}

ConversionController::ConversionController(ConversionView& view, Post post, Launcher launcher)
    : view_(view), post_(std::move(post)), launcher_(std::move(launcher)),
      self_(std::make_shared<ConversionController*>(this)) {}

ConversionController::~ConversionController() = default;

const char* ConversionController::Name(State state) {
    switch (state) {
        case State::Idle: return "Idle";
        case State::Preparing: return "Preparing";
        case State::ConvertingOne: return "ConvertingOne";
        case State::ConvertingList: return "ConvertingList";
        case State::Stopping: return "Stopping";
        case State::StartPending: return "StartPending";
        case State::Testing: return "Testing";
        case State::Closing: return "Closing";
        case State::Closed: return "Closed";
    }
    return "?";
}

bool ConversionController::ConversionUnderWay() const {
    return state_ == State::Preparing || state_ == State::ConvertingOne || state_ == State::ConvertingList ||
           state_ == State::StartPending;
}

bool ConversionController::BeginOne() {
    if (state_ != State::Idle && state_ != State::Stopping && state_ != State::Testing) return false;
    view_.ShowConvertingLook(false);
    LogEvent(" -- Le logiciel va commencer la conversion..");
    state_ = State::Preparing;
    // A stopped worker that is still ending must keep seeing its conversion stopped; the
    // flag is raised for this one when that worker has gone.
    if (!workerAlive_) running_ = true;
    return true;
}

void ConversionController::ConvertOne(ConversionRequest request, RequestAsker& asker) {
    if (state_ != State::Preparing) return;
    // A dialog turns the window's event loop: whatever happens meanwhile (the stopped
    // worker's end, a close), StartOne and Cancel act only while the checks still hold.
    switch (CheckSingleRequest(request, asker)) {
        case SingleVerdict::Start:
            StartChecked(std::move(request));
            break;
        case SingleVerdict::Refused:
            Cancel();
            break;
        case SingleVerdict::ZeroLag:
            Cancel();
            asker.Tell(ZeroLagText());
            break;
    }
}

void ConversionController::StartOne(ConversionRequest request) { StartChecked(std::move(request)); }

void ConversionController::StartChecked(ConversionRequest request) {
    if (state_ != State::Preparing) return;
    request_ = std::move(request);
    Start("transformOnce");
}

void ConversionController::Cancel() {
    if (state_ != State::Preparing) return;
    running_ = false;
    view_.ShowIdleLook();
    state_ = workerAlive_ ? State::Stopping : State::Idle;
}

void ConversionController::StartList(const ConversionQueue& queue, std::vector<bool> skipped) {
    if (state_ != State::Idle && state_ != State::Stopping && state_ != State::Testing) return;
    view_.ShowConvertingLook(true);
    LogEvent(" -- Le logiciel va commencer la conversion..");
    Start("transformList", &queue, std::move(skipped));
    LogEvent(" -- Fin de lancement à la méthode de conversion..");
}

void ConversionController::StartDiagnostic(const std::string& command) {
    if (state_ != State::Idle || !IsDiagnostic(command)) return;
    Launch(ConversionWorker::TakeJob(command, {}));
}

void ConversionController::Start(const char* command, const ConversionQueue* queue, std::vector<bool> skipped) {
    // The job is copied now: what the user changes while it waits does not reach it.
    const bool list = queue != nullptr;
    if (list) view_.ListRunBegins(skipped);
    ConversionJob job = list ? queue->ListJob(request_.Special) : ConversionWorker::TakeJob(command, request_);
    if (list) {
        job.OnItem = ItemPoster(++listRun_);
        job.Skipped = std::move(skipped);
        job.ItemsAtOnce = listItemsAtOnce_;
    }
    if (workerAlive_) {
        pending_ = std::move(job);
        state_ = State::StartPending;
        return;
    }
    Launch(std::move(job));
}

void ConversionController::Launch(ConversionJob job) {
    const bool diagnostic = IsDiagnostic(job.Command);
    // The diagnostics leave the tools alone, and the reader's one leaves the flag as it is.
    if (!diagnostic) KillHelperProcesses();
    if (job.Command != "testThread2") running_ = true;
    state_ = diagnostic ? State::Testing
                        : (job.Command == "transformList" ? State::ConvertingList : State::ConvertingOne);
    listStoppedByUser_ = false;
    workerAlive_ = true;
    worker_ = std::make_shared<ConversionWorker>(std::move(job));
    if (notifier_) worker_->Session().Display().SetNotifier(notifier_);
    if (setup_) setup_(worker_->Session());
    if (roster_ != nullptr) roster_->Add(worker_);
    std::weak_ptr<ConversionController*> self = self_;
    launcher_(worker_, [post = post_, self] {
        post([self] {
            if (auto controller = self.lock()) (*controller)->WorkerEnded();
        });
    });
}

ItemListener ConversionController::ItemPoster(int run) {
    std::weak_ptr<ConversionController*> self = self_;
    return [post = post_, self, run](const ItemReport& report) {
        post([self, run, report] {
            if (auto controller = self.lock()) (*controller)->ItemReported(run, report);
        });
    };
}

void ConversionController::ItemReported(int run, const ItemReport& report) {
    if (run == listRun_) view_.ShowListItem(report.Item, report.Status);
}

void ConversionController::Stop() {
    if (!ConversionUnderWay()) return;
    if (state_ == State::ConvertingList) listStoppedByUser_ = true;
    pending_.reset();
    view_.ShowStoppedLook();
    LogEvent(" -- Le logiciel va arréter la conversion..");
    running_ = false;
    if (worker_) worker_->Stop();
    KillHelperProcesses();
    state_ = workerAlive_ ? State::Stopping : State::Idle;
}

bool ConversionController::WorkDone(bool forList) {
    // While a new conversion is prepared or waits, the look is its own; while closing,
    // the window is going.
    if (state_ != State::ConvertingOne && state_ != State::ConvertingList && state_ != State::Stopping) return true;
    const bool loaded = view_.ShowWorkDoneLook(forList, listStoppedByUser_);
    listStoppedByUser_ = false;
    // The worker only leaves from here on: a click now starts a new conversion.
    state_ = State::Stopping;
    return loaded;
}

DisplayChange ConversionController::TakeDisplayChange() {
    return worker_ ? worker_->Session().Display().TakeChange() : DisplayChange{};
}

// What the ended worker hands back is shown now, on the owner's thread, in the order
// the user has always seen it; not while the window is going.
void ConversionController::ShowEnding() {
    if (!worker_ || state_ == State::Closing || state_ == State::Closed || App().Window == nullptr) return;
    ShowWorkerEnding(*App().Window, worker_->Session().Display(), worker_->Ending());
}

void ConversionController::WorkerEnded() {
    ShowEnding();
    workerAlive_ = false;
    switch (state_) {
        case State::ConvertingOne:
        case State::ConvertingList:
            // The worker went without saying its work was over: the window is idle all the same.
            view_.ShowWorkDoneLook(state_ == State::ConvertingList, listStoppedByUser_);
            [[fallthrough]];
        case State::Stopping:
        case State::Testing:
            running_ = false;
            listStoppedByUser_ = false;
            state_ = State::Idle;
            break;
        case State::StartPending: {
            ConversionJob job = std::move(*pending_);
            pending_.reset();
            Launch(std::move(job));
            break;
        }
        case State::Preparing:
            // The checks of the next conversion go on; the flag is theirs now.
            running_ = true;
            break;
        case State::Closing:
            EndClosing();
            break;
        case State::Idle:
        case State::Closed:
            break;
    }
}

bool ConversionController::Close() {
    if (state_ == State::Closed) return true;
    if (state_ == State::Closing) return false;
    Stop();
    pending_.reset();
    if (!workerAlive_) {
        state_ = State::Closed;
        return true;
    }
    state_ = State::Closing;
    view_.ArmCloseTimer(kCloseWaitMs);
    return false;
}

void ConversionController::CloseTimedOut() {
    if (state_ == State::Closing) EndClosing();
}

void ConversionController::EndClosing() {
    state_ = State::Closed;
    view_.CloseWindow();
}

}  // namespace transcoda
