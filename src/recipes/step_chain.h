#pragma once
// The steps of a recipe, one after the other: a step starts only while the conversion
// runs and every earlier step went well, and what it wrote is checked against what the
// request's output must hold before the next one may read it. The chain keeps the
// first step that failed (or was stopped), or else the last one.

#include <functional>

#include "recipes/result_check.h"
#include "recipes/step_outcome.h"

namespace transcoda {

class StepChain {
public:
    explicit StepChain(const Expectation& expected) : expected_(expected) {}

    StepChain& Then(Writes writes, const std::function<StepOutcome()>& step);

    // The step that failed, or the last one that ran.
    const StepOutcome& Result() const { return last_; }
    bool Ok() const { return !failed_; }
    const Expectation& Expected() const { return expected_; }

private:
    Expectation expected_;
    StepOutcome last_;
    bool failed_ = false;
};

}  // namespace transcoda
