#include "exec/time_estimate.h"

#include <algorithm>
#include <numeric>

namespace transcoda {

void TimeEstimate::Feed(const EstimateEvent& event) {
    using Kind = EstimateEvent::Kind;
    const int64_t at = event.AtMs;
    switch (event.What) {
        case Kind::Begin:
            *this = TimeEstimate{};
            running_ = true;
            beginMs_ = at;
            break;
        case Kind::Plan:
            weights_ = event.Weights;
            step_ = -1;
            stepRunning_ = false;
            doneWeight_ = 0.0;
            doneMs_ = 0;
            break;
        case Kind::Step:
            if (stepRunning_) Feed({Kind::StepEnd, at, 0.0, {}});
            ++step_;
            stepRunning_ = true;
            stepBeginMs_ = at;
            reports_.clear();
            break;
        case Kind::Progress: {
            if (!stepRunning_) break;
            const double fraction = std::clamp(event.Fraction, 0.0, 1.0);
            // A report behind the last one starts the step's pace again (another run of
            // the step's tool).
            if (!reports_.empty() && fraction < reports_.back().Fraction) reports_.clear();
            reports_.push_back({at, fraction});
            break;
        }
        case Kind::StepEnd:
            if (!stepRunning_) break;
            doneWeight_ += Weight(step_);
            doneMs_ += at - stepBeginMs_;
            stepRunning_ = false;
            break;
        case Kind::End:
            running_ = false;
            break;
    }
}

int64_t TimeEstimate::ElapsedMs(int64_t nowMs) const { return running_ ? std::max<int64_t>(0, nowMs - beginMs_) : 0; }

double TimeEstimate::Weight(int step) const {
    if (step < 0 || step >= static_cast<int>(weights_.size())) return 0.0;
    return weights_[static_cast<size_t>(step)];
}

const TimeEstimate::Report* TimeEstimate::PaceStart() const {
    if (!stepRunning_ || reports_.size() < 2) return nullptr;
    const Report& last = reports_.back();
    // The latest report at or before the middle of the time since the first one, but
    // never so late that the span gets too short to read.
    const int64_t middle = std::min(reports_.front().AtMs + (last.AtMs - reports_.front().AtMs) / 2,
                                    last.AtMs - kMinPaceSpanMs);
    const Report* start = &reports_.front();
    for (const Report& report : reports_) {
        if (report.AtMs > middle) break;
        start = &report;
    }
    if (last.AtMs - start->AtMs < kMinPaceSpanMs || last.Fraction - start->Fraction < kMinPaceProgress)
        return nullptr;
    return start;
}

std::optional<int64_t> TimeEstimate::RemainingMs(int64_t nowMs) const {
    if (!running_ || weights_.empty() || step_ < 0) return std::nullopt;
    const double total = std::accumulate(weights_.begin(), weights_.end(), 0.0);
    const double weight = stepRunning_ ? Weight(step_) : 0.0;
    const double stepElapsed = stepRunning_ ? static_cast<double>(nowMs - stepBeginMs_) : 0.0;
    const Report* paceStart = PaceStart();
    const bool pace = paceStart != nullptr;

    double stepLeft = 0.0;
    double measuredWeight = doneWeight_;
    double measuredMs = static_cast<double>(doneMs_);
    double measuredShare = doneWeight_;
    if (pace) {
        const Report& last = reports_.back();
        const double perMs = (last.Fraction - paceStart->Fraction) / static_cast<double>(last.AtMs - paceStart->AtMs);
        stepLeft = std::max(0.0, (1.0 - last.Fraction) / perMs - static_cast<double>(nowMs - last.AtMs));
        measuredWeight += weight;
        measuredMs += stepElapsed + stepLeft;
        measuredShare += weight * last.Fraction;
    }
    if (measuredWeight <= 0.0 || measuredShare < kMinMeasuredShare * total) return std::nullopt;

    // Milliseconds per unit of share, as this request has gone so far.
    const double msPerShare = measuredMs / measuredWeight;
    if (stepRunning_ && !pace) stepLeft = std::max(0.0, weight * msPerShare - stepElapsed);
    double later = 0.0;
    for (int j = step_ + 1; j < static_cast<int>(weights_.size()); ++j) later += Weight(j) * msPerShare;
    return static_cast<int64_t>(stepLeft + later + 0.5);
}

std::optional<double> TimeEstimate::DoneShare() const {
    const double total = std::accumulate(weights_.begin(), weights_.end(), 0.0);
    if (!running_ || total <= 0.0) return std::nullopt;
    const double running = stepRunning_ && !reports_.empty() ? Weight(step_) * reports_.back().Fraction : 0.0;
    return std::clamp((doneWeight_ + running) / total, 0.0, 1.0);
}

}  // namespace transcoda
