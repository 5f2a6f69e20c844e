#pragma once
// The steps of a recipe, planned first and then run one after the other: a step starts
// only while the conversion runs and every earlier step went well, and what it wrote is
// checked against what the request's output must hold before the next one may read it.
// The chain keeps the first step that failed (or was stopped), or else the last one.
// The plan (each step's expected share of the work, in order) is handed to the time
// estimate before the first step runs, and each step's start and end after it. With an input pin, no step
// starts once the input has changed.

#include <functional>

#include "exec/conversion_session.h"
#include <vector>

#include "recipes/input_pin.h"
#include "recipes/result_check.h"
#include "recipes/step_outcome.h"

namespace transcoda {

class StepChain {
public:
    StepChain(ConversionSession& session, const Expectation& expected, const InputPin* pin = nullptr)
        : session_(session), expected_(expected), pin_(pin) {}

    // Adds a step to the plan; nothing runs yet. `share`, when given, is the step's
    // expected share of the work in place of its kind's (a step whose tool ran beside an
    // earlier one costs next to nothing of its own).
    StepChain& Then(StepKind kind, Writes writes, std::function<StepOutcome()> step, double share = -1.0);
    // Runs the planned steps; the functions they hold may refer to the caller's locals,
    // which must live until it returns.
    void Run();
    // For a request whose input is read by its first step's tool: `read` is called once,
    // right after that step has run (unless it was stopped) and before what it wrote is
    // checked, and sets what the output must hold; false ends the chain there, the
    // caller knowing why.
    void ExpectAfterFirstStep(std::function<bool(Expectation&)> read) { deferred_ = std::move(read); }
    // True when the chain ended because `read` said so.
    bool EndedByExpectation() const { return endedByExpectation_; }

    // The step that failed, or the last one that ran.
    const StepOutcome& Result() const { return last_; }
    bool Ok() const { return !failed_; }
    // True when the chain ended because the pinned input had changed before a step.
    bool InputChanged() const { return inputChanged_; }
    const Expectation& Expected() const { return expected_; }

private:
    struct Planned {
        StepKind Kind;
        Writes What;
        std::function<StepOutcome()> Step;
        double Share;
    };
    void RunOne(const Planned& planned);

    ConversionSession& session_;
    Expectation expected_;
    const InputPin* pin_;
    std::vector<Planned> planned_;
    StepOutcome last_;
    bool failed_ = false;
    bool inputChanged_ = false;
    std::function<bool(Expectation&)> deferred_;
    bool endedByExpectation_ = false;
};

}  // namespace transcoda
