#include "exec/request_timing.h"

#include <chrono>
#include <mutex>

#include "exec/progress_display.h"
#include "exec/time_left_text.h"

namespace transcoda {

namespace {

using Kind = EstimateEvent::Kind;

struct Timing {
    std::mutex mutex;
    TimeEstimate estimate;
    TimingTap tap;
    std::optional<std::string> text;
    int64_t textAtMs = 0;
};

// Never destroyed: a detached worker may still report while the program ends.
Timing& State() {
    static Timing* timing = new Timing;
    return *timing;
}

int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void Feed(EstimateEvent event) {
    Timing& timing = State();
    std::lock_guard lock(timing.mutex);
    event.AtMs = NowMs();
    timing.estimate.Feed(event);
    if (timing.tap) timing.tap(event);
    // A new request, step or end shows at the next look.
    if (event.What != Kind::Progress) timing.text.reset();
}

}  // namespace

void BeginRequestTiming() { Feed({Kind::Begin, 0, 0.0, {}}); }
void PlanRequestSteps(const std::vector<double>& weights) { Feed({Kind::Plan, 0, 0.0, weights}); }
void BeginTimedStep() { Feed({Kind::Step, 0, 0.0, {}}); }
void TimedStepProgress(double fraction) { Feed({Kind::Progress, 0, fraction, {}}); }
void EndTimedStep() { Feed({Kind::StepEnd, 0, 0.0, {}}); }

void EndRequestTiming() {
    Feed({Kind::End, 0, 0.0, {}});
    Display().SetTimeText("");
}

std::optional<std::string> RequestTimeText() {
    Timing& timing = State();
    std::lock_guard lock(timing.mutex);
    if (!timing.estimate.Running()) return std::nullopt;
    const int64_t now = NowMs();
    if (!timing.text || now - timing.textAtMs >= kTimeTextIntervalMs) {
        timing.text = TimeLabelText(timing.estimate.ElapsedMs(now), timing.estimate.RemainingMs(now));
        timing.textAtMs = now;
    }
    return timing.text;
}

void UpdateTimeLabel() {
    if (auto text = RequestTimeText()) Display().SetTimeText(*text);
}

void SetTimingTap(TimingTap tap) {
    Timing& timing = State();
    std::lock_guard lock(timing.mutex);
    timing.tap = std::move(tap);
}

}  // namespace transcoda
