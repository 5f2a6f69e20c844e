#include "exec/request_timing.h"

#include <chrono>

#include "exec/time_left_text.h"

namespace transcoda {

namespace {

using Kind = EstimateEvent::Kind;

int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

void RequestTiming::Feed(EstimateEvent event) {
    std::lock_guard lock(mutex_);
    event.AtMs = NowMs();
    estimate_.Feed(event);
    if (tap_) tap_(event);
    // A new request, step or end shows at the next look.
    if (event.What != Kind::Progress) text_.reset();
}

void RequestTiming::BeginRequest() { Feed({Kind::Begin, 0, 0.0, {}}); }
void RequestTiming::PlanSteps(const std::vector<double>& weights) { Feed({Kind::Plan, 0, 0.0, weights}); }
void RequestTiming::BeginStep() { Feed({Kind::Step, 0, 0.0, {}}); }
void RequestTiming::StepProgress(double fraction) { Feed({Kind::Progress, 0, fraction, {}}); }
void RequestTiming::EndStep() { Feed({Kind::StepEnd, 0, 0.0, {}}); }

void RequestTiming::EndRequest() {
    Feed({Kind::End, 0, 0.0, {}});
    display_.SetTimeText("");
}

std::optional<std::string> RequestTiming::TimeText() {
    std::lock_guard lock(mutex_);
    if (!estimate_.Running()) return std::nullopt;
    const int64_t now = NowMs();
    if (!text_ || now - textAtMs_ >= kTimeTextIntervalMs) {
        text_ = TimeLabelText(estimate_.ElapsedMs(now), estimate_.RemainingMs(now));
        textAtMs_ = now;
    }
    return text_;
}

std::optional<TimingFigures> RequestTiming::Figures() {
    std::lock_guard lock(mutex_);
    if (!estimate_.Running()) return std::nullopt;
    const int64_t now = NowMs();
    return TimingFigures{estimate_.ElapsedMs(now), estimate_.RemainingMs(now), estimate_.DoneShare()};
}

void RequestTiming::UpdateTimeLabel() {
    if (auto text = TimeText()) display_.SetTimeText(*text);
}

void RequestTiming::SetTap(TimingTap tap) {
    std::lock_guard lock(mutex_);
    tap_ = std::move(tap);
}

}  // namespace transcoda
