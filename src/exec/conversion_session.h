#pragma once
// Everything one conversion needs while it runs, owned by one object: its Stop (a file
// descriptor that the tool runner and the output reader poll with the tool's pipe and
// process), its progress display and texts, its time estimate, who follows its
// percentage, the state of its progress parsing, the stem of its temporary names, its
// last tool's exit status and, for tests, what plays the tools' part. Several sessions
// may run side by side in one process, each with its own tools; none shares a value
// with another.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "exec/cancellation.h"
#include "exec/percent_listener.h"
#include "exec/progress_display.h"
#include "exec/request_timing.h"
#include "exec/tool_outcome.h"
#include "platform/process.h"

namespace transcoda {

inline constexpr int32_t kNotProbed = -100;

// What the progress parsing has learnt of the request so far, in hundredths of a
// second. The worker resets it before each step's probe and the output reader fills it;
// they never run at the same time (the reader starts and ends within each tool run).
struct ProgressState {
    int32_t InputDurationCs = kNotProbed;
    int32_t PositionCs = kNotProbed;
    // The output chunk that gave the input's duration; empty until one did.
    std::string DurationText;
    // "(i/n)" while a list is converted, empty otherwise.
    std::string ItemCounterText;
};

// Tests play the tools' part: the command line a recipe made in, what became of the
// run out. An empty function lets the real tools run.
using RunToolHook = std::function<ToolOutcome(const std::string& commandLine)>;

class ConversionSession {
public:
    ConversionSession() = default;
    ConversionSession(const ConversionSession&) = delete;
    ConversionSession& operator=(const ConversionSession&) = delete;

    // Stop: the running tool ends at once, no later step starts. Any thread.
    void Stop() { stop_.Cancel(); }
    bool Running() const { return !stop_.Cancelled(); }
    // Readable once stopped, for a wait to poll with what it waits for.
    int StopFd() const { return stop_.Fd(); }

    // Ends the tool this session runs now, and at once any it starts until ResumeRuns,
    // without stopping the session: a run of the same request beside this session's own
    // has failed, so what this one does is wasted. Any thread.
    void AbandonRuns();
    void ResumeRuns();
    // The tool runner's side: the child it runs now (null once it has ended). False, and
    // the child is ended, when runs are abandoned.
    bool AttachRun(ChildProcess* child);

    ProgressDisplay& Display() { return display_; }
    RequestTiming& Timing() { return timing_; }
    PercentFollower& Percent() { return percent_; }

    void SetRunToolHook(RunToolHook hook);
    RunToolHook Hook() const;

    ProgressState Progress;
    // "tmp" + four digits, the stem of the intermediates of the current recipe.
    std::string TempBaseName;
    // Keeps TempBaseName this session's, among the sessions of the process, while the
    // session has it (recipes/temp_names.h).
    std::shared_ptr<const void> TempBaseHold;
    // Tests force the names drawn for TempBaseName; empty: random names.
    std::function<std::string()> TempNames;
    // Exit status of the last tool run: the code it exited with, 128 + signal when it
    // was killed, -1 when it could not be started. Kept for the diagnostics that show
    // it; the outcome of a conversion is decided from what each run returns.
    std::atomic<int> LastExitStatus{0};

private:
    Cancellation stop_;
    std::mutex runMutex_;
    ChildProcess* run_ = nullptr;
    bool runsAbandoned_ = false;
    ProgressDisplay display_;
    RequestTiming timing_{display_};
    PercentFollower percent_;
    mutable std::mutex hookMutex_;
    RunToolHook hook_;
};

}  // namespace transcoda
