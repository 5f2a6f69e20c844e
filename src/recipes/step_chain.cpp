#include "recipes/step_chain.h"

#include "exec/app_state.h"
#include "exec/ffprobe_streams.h"
#include "exec/log.h"

namespace transcoda {

StepChain& StepChain::Then(Writes writes, const std::function<StepOutcome()>& step) {
    if (failed_) return *this;
    if (!App().ConversionRunning.load()) {
        last_ = StepOutcome{last_.Step, last_.File, ToolOutcome::Stop(), {}};
        failed_ = true;
        return *this;
    }
    last_ = step();
    if (last_.Tool.Succeeded() && writes != Writes::Nothing) {
        // The tool reads back what it wrote; a tool that said nothing is read with ffprobe.
        std::optional<StreamReport> report = last_.Tool.Report;
        if (!report) report = ProbeStreamsWithFfprobe(last_.File);
        last_.Problem = CheckWritten(report.value_or(StreamReport{}), expected_, writes);
        if (!last_.Problem.empty()) LogError(" -- Vérification de \"" + last_.File + "\" : " + last_.Problem);
    }
    failed_ = !last_.Ok();
    return *this;
}

}  // namespace transcoda
