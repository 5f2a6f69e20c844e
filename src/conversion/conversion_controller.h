#pragma once
// The life of the conversions of one window, apart from its widgets: which worker runs,
// what a click on Convert or Stop means now, when a start must wait for a stopped worker,
// and when the window may close. Every method runs on the owner's thread (the window
// thread); the worker's end reaches it as a task posted to that thread, never as a call
// that waits. Nothing here waits or turns an event loop, so no click can come back into
// it half-way.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "conversion/conversion_queue.h"
#include "conversion/request_checks.h"
#include "conversion/worker.h"
#include "conversion/worker_roster.h"

namespace transcoda {

// What the controller has the window show; called on the owner's thread only.
class ConversionView {
public:
    virtual ~ConversionView() = default;
    // A conversion begins: the Stop picture and caption, the list buttons disabled. For a
    // list the list button reads "Stop conversion de la liste" and stays enabled.
    virtual void ShowConvertingLook(bool forList) = 0;
    // Stop pressed: the Convert picture and caption, every list button enabled, the list
    // button reading "Convertir la liste".
    virtual void ShowStoppedLook() = 0;
    // A start refused by a check or left in a dialog: the idle look.
    virtual void ShowIdleLook() = 0;
    // The worker's work is over. keepListCaption: the list was stopped by the user and its
    // button keeps the caption the Stop gave it. False when the picture failed to load.
    virtual bool ShowWorkDoneLook(bool forList, bool keepListCaption) = 0;
    // Closing waits at most ms for the worker's end; then the owner calls CloseTimedOut.
    virtual void ArmCloseTimer(int ms) = 0;
    // Nothing keeps the window any more: it goes now.
    virtual void CloseWindow() = 0;
    // A list run takes the items as they stand now. `skipped` (by place from 0) marks the
    // items left as they are, whose status stays.
    virtual void ListRunBegins(const std::vector<bool>& /*skipped*/) {}
    // What became of one item of the running list (by its queue id), or how far it is;
    // its first report (converting) is the moment it begins.
    virtual void ShowListItem(long long /*item*/, const ItemStatus& /*status*/) {}
};

class ConversionController {
public:
    enum class State {
        Idle,            // no worker, nothing under way
        Preparing,       // one file's checks and dialogs, before its worker starts
        ConvertingOne,   // a worker converts the single request
        ConvertingList,  // a worker converts the list
        Stopping,        // the worker is on its way out (stopped, or its work done)
        StartPending,    // a start waits for the stopped worker's end
        Testing,         // a diagnostic worker runs
        Closing,         // the window goes when the worker's end arrives
        Closed,          // the window may go
    };

    // Runs a task on the owner's thread later; callable from any thread at any time.
    using Post = std::function<void(std::function<void()>)>;
    // Starts a worker and returns at once; onEnd is called on the worker's thread once its
    // body has ended.
    using Launcher = std::function<void(std::shared_ptr<ConversionWorker> worker, std::function<void()> onEnd)>;
    // Readies each new worker's session before it starts (a test's plays the tools).
    using SessionSetup = std::function<void(ConversionSession& session)>;

    // How long closing waits for a stopped worker to end its tool, delete its
    // intermediates and go; far more than a stop takes.
    static constexpr int kCloseWaitMs = 5000;

    // The real worker (ConversionWorker).
    static Launcher WorkerLauncher();

    ConversionController(ConversionView& view, Post post, Launcher launcher = WorkerLauncher());
    ~ConversionController();
    ConversionController(const ConversionController&) = delete;
    ConversionController& operator=(const ConversionController&) = delete;
    // Another way to start the workers from now on (a test's that starts none).
    void SetLauncher(Launcher launcher) { launcher_ = std::move(launcher); }
    void SetSessionSetup(SessionSetup setup) { setup_ = std::move(setup); }
    // Where each worker started from now on is entered, for the front end's stop signal.
    void SetRoster(WorkerRoster* roster) { roster_ = roster; }
    // Told, from the worker's threads, that the display changed; it must not wait (the
    // window then takes the change: TakeDisplayChange).
    void SetDisplayNotifier(std::function<void()> notifier) { notifier_ = std::move(notifier); }
    // How many of the list's items the next list runs may convert at once (the window's
    // option; 1, the default, one after the other).
    void SetListItemsAtOnce(int count) { listItemsAtOnce_ = count; }
    int ListItemsAtOnce() const { return listItemsAtOnce_; }

    State Current() const { return state_; }
    static const char* Name(State state);
    // The converting look is shown: a click on Convert (or on the list button) means Stop.
    bool ConversionUnderWay() const;
    // A worker was started and its end has not arrived yet.
    bool WorkerAlive() const { return workerAlive_; }
    // A conversion is asked for and not stopped: raised for the checks of a new one and
    // for each worker that converts, dropped by Stop, Cancel and the worker's end.
    bool Running() const { return running_; }
    // What the current conversion's display changed since the last look; the window
    // takes it on its own timer. Empty when nothing changed or no worker was started.
    DisplayChange TakeDisplayChange();

    // Release on Convert while idle: the converting look, and the checks may begin.
    // False when nothing may start now (the window is closing).
    bool BeginOne();
    // The single request (as the window's fields gave it) goes through its checks,
    // questions and dialog; then it starts (StartOne), or the window returns to idle
    // (Cancel) before anything more is told.
    void ConvertOne(ConversionRequest request, RequestAsker& asker);
    // The checks and dialogs accepted: `request` is converted, at once or when the stopped
    // worker has ended. (ConvertOne starts the request as its checks left it, with the
    // special values its dialog gave.)
    void StartOne(ConversionRequest request);
    // The checks or a dialog refused: back to idle.
    void Cancel();
    // The list button while idle: the queue's items as they stand now are converted, but
    // for those marked in `skipped` (by place from 0; RowsLeftAsDone chooses them).
    void StartList(const ConversionQueue& queue, std::vector<bool> skipped = {});
    // The developer's diagnostics "test" and "testThread2"; only while nothing runs.
    void StartDiagnostic(const std::string& command);
    // Stop from the Convert picture or the list button.
    void Stop();
    // The worker's work is over: its ending brings the convert button back (on the
    // owner's thread). False when the picture failed to load.
    bool WorkDone(bool forList);
    // The user closes the window (and, while a conversion runs, has agreed to stop it).
    // True when the window may go now; otherwise it goes at the worker's end, or when the
    // close timer runs out.
    bool Close();
    void CloseTimedOut();

private:
    void Launch(ConversionJob job);
    void StartChecked(ConversionRequest request);
    void ShowEnding();
    void Start(const char* command, const ConversionQueue* queue = nullptr, std::vector<bool> skipped = {});
    // The job's items report to the view through posts; those of an earlier run, still
    // arriving while a new list waits to start, reach nothing.
    ItemListener ItemPoster(int run);
    void ItemReported(int run, const ItemReport& report);
    void WorkerEnded();
    void EndClosing();

    ConversionView& view_;
    Post post_;
    Launcher launcher_;
    SessionSetup setup_;
    WorkerRoster* roster_ = nullptr;
    std::function<void()> notifier_;
    State state_ = State::Idle;
    bool running_ = false;
    // The single request as the checks left it, special values included.
    ConversionRequest request_;
    // The last worker started: its session is stopped by Stop, its display looked at.
    std::shared_ptr<ConversionWorker> worker_;
    bool workerAlive_ = false;
    // The list was stopped by the user: its button keeps the Stop's caption at the end.
    bool listStoppedByUser_ = false;
    std::optional<ConversionJob> pending_;
    // The list run whose items the view shows.
    int listRun_ = 0;
    int listItemsAtOnce_ = 1;
    // Reached by the worker's end through a weak reference, so that an end posted after
    // the controller has gone finds nothing to call.
    std::shared_ptr<ConversionController*> self_;
};

}  // namespace transcoda
