#pragma once
// The time one conversion request has taken and the time it still needs, worked out from
// what it is fed: the request's start, its plan (each step's expected share of the work),
// each step's start and end, and how far the running step is. Times are given by the
// caller in milliseconds of a steady clock, so that a recorded run can be played again.
//
// How the time left is found:
// - the running step, once it reports progress: what is left of it at its recent pace,
//   read over the later half of the time since its first report (so the tool's start-up
//   and a slow beginning weigh less and less);
// - the steps still to come: their expected shares times the request's pace so far, in
//   milliseconds per unit of share, learnt from the steps already done and the running
//   step's projection, so a fast or slow machine or input counts for the whole request;
// - a running step that reports nothing measurable is given its share at that pace,
//   less what it has already taken.
// Nothing is said before the request has measured a small part of the whole work.

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace transcoda {

struct EstimateEvent {
    enum class Kind {
        Begin,     // the request starts
        Plan,      // its steps, with Weights
        Step,      // the next step of the plan starts
        Progress,  // the running step is Fraction done (0 to 1)
        StepEnd,   // the running step has ended
        End,       // the request has ended
    };
    Kind What = Kind::Begin;
    int64_t AtMs = 0;
    double Fraction = 0.0;
    std::vector<double> Weights;
};

class TimeEstimate {
public:
    // Part of the whole plan that must be measured before a time left is given.
    static constexpr double kMinMeasuredShare = 0.1;
    // A step's pace is read over at least this long, and this much progress.
    static constexpr int64_t kMinPaceSpanMs = 400;
    static constexpr double kMinPaceProgress = 0.01;

    void Feed(const EstimateEvent& event);

    bool Running() const { return running_; }
    int64_t ElapsedMs(int64_t nowMs) const;
    // Milliseconds still needed, or nullopt while it cannot be estimated yet.
    std::optional<int64_t> RemainingMs(int64_t nowMs) const;
    // The part of the whole plan done (0 to 1): the steps that have ended and the running
    // step's last report, each by its share; nullopt before the plan is known.
    std::optional<double> DoneShare() const;

private:
    struct Report {
        int64_t AtMs;
        double Fraction;
    };
    double Weight(int step) const;
    // The report the running step's pace is read from, to its last one; null while
    // the pace is not known.
    const Report* PaceStart() const;

    bool running_ = false;
    int64_t beginMs_ = 0;
    std::vector<double> weights_;
    int step_ = -1;  // the running (or last) step of the plan, -1 before the first
    bool stepRunning_ = false;
    int64_t stepBeginMs_ = 0;
    // The steps that have ended: their shares and the time they took.
    double doneWeight_ = 0.0;
    int64_t doneMs_ = 0;
    // The running step's progress reports, in order.
    std::vector<Report> reports_;
};

}  // namespace transcoda
