#pragma once
// The time estimate of the request a session carries out now, fed as it goes: by the
// recipe (the request's start and end, its plan of steps, each step's start and end)
// and by the progress handler (how far the running step's tool is). The time label it
// gives goes to the window with the rest of the session's progress display.

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "exec/progress_display.h"
#include "exec/time_estimate.h"

namespace transcoda {

// The time label for now is worked out again at most every kTimeTextIntervalMs; the
// last one in between.
inline constexpr int kTimeTextIntervalMs = 250;

// Tests and benchmarks record what the estimate is fed (called in order, on the feeding
// thread); an empty function stops it.
using TimingTap = std::function<void(const EstimateEvent&)>;

// The request's figures as they stand: the time it has taken, the time it still needs
// (nullopt while unknown) and the part of its work done (nullopt before its plan).
struct TimingFigures {
    int64_t ElapsedMs = 0;
    std::optional<int64_t> RemainingMs;
    std::optional<double> DoneShare;
};

class RequestTiming {
public:
    explicit RequestTiming(ProgressDisplay& display) : display_(display) {}

    void BeginRequest();
    // Each step's expected share of the request's work, in the order they will run.
    void PlanSteps(const std::vector<double>& weights);
    void BeginStep();
    // The running step's tool is this far (0 to 1).
    void StepProgress(double fraction);
    void EndStep();
    // Also empties the display's time label (sent with the next push).
    void EndRequest();

    // The time label for now ("écoulé 0 min 40 s — reste 1 min 20 s"), or nullopt
    // outside a request.
    std::optional<std::string> TimeText();
    // The figures for now; nullopt outside a request.
    std::optional<TimingFigures> Figures();
    // Sets the display's time label to TimeText() when a request runs, without pushing
    // it: the caller's push carries it.
    void UpdateTimeLabel();
    void SetTap(TimingTap tap);

private:
    void Feed(EstimateEvent event);

    ProgressDisplay& display_;
    std::mutex mutex_;
    TimeEstimate estimate_;
    TimingTap tap_;
    std::optional<std::string> text_;
    int64_t textAtMs_ = 0;
};

}  // namespace transcoda
