#include "recipes/step_chain.h"

#include "exec/app_state.h"
#include "exec/ffprobe_streams.h"
#include "exec/log.h"
#include "exec/request_timing.h"
#include "recipes/step_weights.h"

namespace transcoda {

StepChain& StepChain::Then(StepKind kind, Writes writes, std::function<StepOutcome()> step, double share) {
    planned_.push_back({kind, writes, std::move(step), share});
    return *this;
}

void StepChain::Run() {
    std::vector<double> shares;
    for (const Planned& planned : planned_)
        shares.push_back(planned.Share >= 0.0 ? planned.Share : ExpectedShare(planned.Kind));
    session_.Timing().PlanSteps(shares);
    for (const Planned& planned : planned_) {
        if (failed_) break;
        session_.Timing().BeginStep();
        RunOne(planned);
        session_.Timing().EndStep();
    }
    planned_.clear();
}

void StepChain::RunOne(const Planned& planned) {
    if (!session_.Running()) {
        last_ = StepOutcome{last_.Step, last_.File, ToolOutcome::Stop(), {}};
        failed_ = true;
        return;
    }
    if (pin_ != nullptr && !pin_->Unchanged()) {
        LogError(" -- Le fichier d'entrée a changé pendant la conversion");
        inputChanged_ = failed_ = true;
        return;
    }
    last_ = planned.Step();
    if (deferred_ && !last_.Stopped()) {
        const auto read = std::move(deferred_);
        deferred_ = nullptr;
        if (!read(expected_)) {
            endedByExpectation_ = failed_ = true;
            return;
        }
    }
    if (last_.Tool.Succeeded() && planned.What != Writes::Nothing) {
        // The tool reads back what it wrote; a tool that said nothing is read with ffprobe.
        std::optional<StreamReport> report = last_.Tool.Report;
        if (!report) report = ProbeStreamsWithFfprobe(last_.File);
        last_.Problem = CheckWritten(report.value_or(StreamReport{}), expected_, planned.What);
        if (!last_.Problem.empty()) LogError(" -- Vérification de \"" + last_.File + "\" : " + last_.Problem);
    }
    failed_ = !last_.Ok();
}

}  // namespace transcoda
