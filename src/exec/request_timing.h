#pragma once
// The time estimate of the request the worker carries out now, fed as it goes: by the
// recipe (the request's start and end, its plan of steps, each step's start and end)
// and by the progress handler (how far the running step's tool is). The time label it
// gives goes to the window with the rest of the progress display.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "exec/time_estimate.h"

namespace transcoda {

void BeginRequestTiming();
// Each step's expected share of the request's work, in the order they will run.
void PlanRequestSteps(const std::vector<double>& weights);
void BeginTimedStep();
// The running step's tool is this far (0 to 1).
void TimedStepProgress(double fraction);
void EndTimedStep();
// Also empties the display's time label (sent with the next push).
void EndRequestTiming();

// The time label for now ("écoulé 0 min 40 s — reste 1 min 20 s"), or nullopt outside
// a request. Worked out again at most every kTimeTextIntervalMs; the last one between.
inline constexpr int kTimeTextIntervalMs = 250;
std::optional<std::string> RequestTimeText();
// Sets the display's time label to RequestTimeText() when a request runs, without
// pushing it: the caller's push carries it.
void UpdateTimeLabel();

// Tests and benchmarks record what the estimate is fed (called in order, on the feeding
// thread); an empty function stops it.
using TimingTap = std::function<void(const EstimateEvent&)>;
void SetTimingTap(TimingTap tap);

}  // namespace transcoda
