#include "ffmpeg_style.h"

#include "amr_encoder.h"
#include "engine.h"
#include "file_facts.h"
#include "libav.h"
#include "ffmpeg_plan.h"
#include "ffmpeg_request.h"
#include "stream_readback.h"
#include "time_rewriter.h"
#include "usage_error.h"
#include "whole_lines.h"

namespace helpers {

namespace {

// "-i <file>" alone asks only for the engine's description of the file, which the tool
// gives itself, without starting the engine.
bool OnlyDescribes(const FfmpegRequest& request) {
    return request.output.empty() && request.inputs.size() == 1 && request.inputs.front().options.empty();
}

}  // namespace

int RunFfmpegStyleTool(const std::string& toolName, const std::vector<std::string>& args) {
    FfmpegPlan plan;
    try {
        const FfmpegRequest request = ParseFfmpegArgs(toolName, args);
        if (OnlyDescribes(request)) {
            const FileFacts& facts = FactsOf(request.input());
            WriteAll(2, facts.answer.Output);
            return facts.answer.ExitCode;
        }
        plan = PlanFfmpeg(request);
        // The input is looked at only when the plan depends on it; it is read once, in
        // the tool, or not at all when an earlier tool has read the unchanged file.
        if (plan.needs.any()) {
            const FileFacts& input = FactsOf(plan.input);
            InputFacts facts;
            if (plan.needs.description) facts.description = &input.description;
            if (plan.needs.streams) facts.streams = &input.streams;
            plan = PlanFfmpeg(request, facts);
        }
    } catch (const UsageError& e) {
        WriteAll(2, toolName + ": " + e.what() + "\n");
        return 2;
    }
    for (const auto& n : plan.notices) WriteAll(2, toolName + ": " + n + "\n");

    std::vector<std::string> argv = {"ffmpeg"};
    argv.insert(argv.end(), plan.args.begin(), plan.args.end());
    // The sound the engine reads from the tool has no command of its own to show.
    if (!plan.amr && ShowEngineInstead(argv)) return 0;

    AmrWriter amr;
    if (plan.amr) {
        int rc = amr.OpenUnnamed(plan.amrBitrate) ? EncodeAmrFromMedia(plan.input, plan.amrInputOptions, amr) : 1;
        if (rc != 0) {
            WriteAll(2, toolName + ": the sound could not be encoded to AMR-NB\n");
            return rc;
        }
    }

    TimeRewriter rewriter;
    WholeLines lines;
    EngineOptions eo;
    eo.out = Stream::Inherit;
    eo.err = Stream::Capture;
    eo.onErr = [&](const char* d, size_t n) { WriteAll(2, rewriter.Feed(lines.Feed(std::string(d, n)))); };
    eo.passFd = amr.Descriptor();
    // What the engine writes is read back with the engine's libraries, loaded meanwhile.
    if (!plan.output.empty()) eo.onStarted = PreloadLibav;
    eo.onIdle = [&] {
        if (lines.Holding()) WriteAll(2, rewriter.Feed(lines.Flush()));
    };
    int rc = RunEngine(argv, eo);
    WriteAll(2, rewriter.Feed(lines.Flush()) + rewriter.Flush());
    // What was written is read back once the engine has ended; a description of an
    // input reports the input itself.
    if (plan.output.empty()) PrintStreamReport(FactsOf(plan.input).streams);
    else if (rc == 0) PrintStreamReport(FactsOf(plan.output).streams);
    return rc;
}

}  // namespace helpers
