#include "ffmpeg_style.h"

#include <unistd.h>

#include <algorithm>
#include <functional>
#include <optional>

#include "amr_encoder.h"
#include "engine.h"
#include "file_facts.h"
#include "libav.h"
#include "mencoder_options.h"
#include "picture_compare.h"
#include "readback_on_close.h"
#include "segment_cut.h"
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

// The segment the first input is cut to (its -ss and -t), and whether it is cut at all.
// A still (a number of pictures asked for) is no segment: its -ss only says where the
// engine seeks, and it has no ends to compare with the source.
bool CutsSegment(const FfmpegRequest& request, double& start, double& length) {
    start = 0.0;
    length = -1.0;
    bool cut = false;
    if (request.outputOptions.Has("-frames:v")) return false;
    for (const EngineOption& o : request.inputs.front().options) {
        if (o.name == "-ss") start = std::max(0.0, ParseClock(o.value));
        else if (o.name == "-t") length = ParseClock(o.value);
        else continue;
        cut = true;
    }
    return cut;
}

// A segment whose picture is coded again is cut on the output side, from decoded frames,
// the input read from before the key frame its start needs (segment_cut.h): the engine's
// seek on a transport stream may land between key frames, and its picture would then
// start at the next one, the time before filled with that picture.
void CutOnOutputSide(FfmpegPlan& plan, double start, double length) {
    auto& a = plan.args;
    if (plan.amr || plan.output.empty() || a.empty() || a.back() != plan.output) return;
    for (size_t i = 0; i + 1 < a.size(); ++i)
        if ((a[i] == "-c:v" || a[i] == "-vcodec") && a[i + 1] == "copy") return;
    auto input = std::find(a.begin(), a.end(), "-i");
    if (input == a.end()) return;
    for (auto o = a.begin(); o < input;) {
        if ((*o == "-ss" || *o == "-t") && o + 1 < input) {
            o = a.erase(o, o + 2);
            input -= 2;
        } else {
            ++o;
        }
    }
    const double from = std::min(start, DecodeFrom(plan.input, start));
    std::vector<std::string> cut = {"-ss", PlainNumber(start - from)};
    if (length >= 0) cut.insert(cut.end(), {"-t", PlainNumber(length)});
    a.insert(a.end() - 1, cut.begin(), cut.end());
    if (from > 0) a.insert(input, {"-ss", PlainNumber(from)});
}

// An input the plan did not read is read while the engine runs, for the request (it is
// kept in the probe cache), unless an earlier tool has read the unchanged file.
bool ReadsInputMeanwhile(const FfmpegPlan& plan) {
    const transcoda::ProbeCache cache = transcoda::ProbeCache::FromEnvironment();
    return !plan.output.empty() && !plan.amr && cache.Enabled() && transcoda::IdentityOf(plan.input) &&
           !cache.Find(plan.input);
}

// The report of what was written; a segment's ends are compared with the source's
// pictures there.
void ReportWritten(const std::string& toolName, const FfmpegPlan& plan, const FileFacts& written, bool segment,
                   double segmentStart, double segmentLength) {
    transcoda::StreamReport report = written.streams;
    if (segment && report.Has(transcoda::StreamKind::Video) && FactsOf(plan.input).description.hasVideo) {
        const SegmentPictures compared = CompareSegmentPictures(plan.output, plan.input, segmentStart, segmentLength);
        WriteAll(2, toolName + ": " + DescribeComparison(compared) + "\n");
        report.Content = ContentVerdict(compared);
    }
    PrintStreamReport(report);
}

// What one run of the engine carries out: the plan, and what its written file is checked
// against.
struct PlannedRun {
    std::string toolName;
    FfmpegPlan plan;
    bool segment = false;
    double segmentStart = 0.0, segmentLength = -1.0;
};

// The plan from the input's facts, read once in the tool (or found in the probe cache).
FfmpegPlan PlanFromFacts(const FfmpegRequest& request, const FfmpegPlan& withoutFacts) {
    const FileFacts& input = FactsOf(withoutFacts.input);
    InputFacts facts;
    if (withoutFacts.needs.description) facts.description = &input.description;
    if (withoutFacts.needs.streams) facts.streams = &input.streams;
    return PlanFfmpeg(request, facts);
}

// The engine may start before the input is read (HoldsForUsualInput) when reading it
// would load the engine's libraries first: the loading then runs beside the engine.
bool StartsBeforeReading(const FfmpegPlan& withoutFacts, bool segment) {
    if (!HoldsForUsualInput(withoutFacts) || segment || EngineShownInstead()) return false;
    const transcoda::ProbeCache cache = transcoda::ProbeCache::FromEnvironment();
    return transcoda::IdentityOf(withoutFacts.input) && !(cache.Enabled() && cache.Find(withoutFacts.input));
}

void SayNotices(const PlannedRun& run) {
    for (const auto& n : run.plan.notices) WriteAll(2, run.toolName + ": " + n + "\n");
}

// The status of a run ended because the plan it started on was not the input's.
constexpr int kOtherPlan = -1;

// One run of the engine on run.plan, what it writes read back meanwhile. With `check`,
// the plan was made before the input was read: once the engine has started, check()
// says whether it holds; when it does not, the engine ends at once, nothing it said is
// passed on, what it began to write goes, and kOtherPlan is returned.
int RunPlanned(const PlannedRun& run, const std::function<bool()>& check = {}) {
    const FfmpegPlan& plan = run.plan;
    std::vector<std::string> argv = {"ffmpeg"};
    argv.insert(argv.end(), plan.args.begin(), plan.args.end());
    // The sound the engine reads from the tool has no command of its own to show.
    if (!plan.amr && ShowEngineInstead(argv)) return 0;
    if (!check) SayNotices(run);

    // The sound coded to AMR-NB comes to the engine through a pipe as it is encoded.
    AmrSoundFeed amr;
    if (plan.amr && !amr.Start(plan.input, plan.amrInputOptions, plan.amrBitrate)) {
        WriteAll(2, run.toolName + ": the sound could not be encoded to AMR-NB\n");
        return 1;
    }

    TimeRewriter rewriter;
    if (plan.amr) rewriter.LimitTo([&amr] { return amr.SecondsWritten(); });
    WholeLines lines;
    bool otherPlan = false;
    EngineOptions eo;
    eo.out = Stream::Inherit;
    eo.err = Stream::Capture;
    auto said = [&](const std::string& text) { return plan.amr ? WithoutUnknownDurations(text) : text; };
    eo.onErr = [&](const char* d, size_t n) {
        if (!otherPlan) WriteAll(2, rewriter.Feed(said(lines.Feed(std::string(d, n)))));
    };
    eo.passFd = amr.EngineEnd();
    // What the engine writes is read back with the engine's libraries, loaded meanwhile,
    // and so is an input that the request has not read yet.
    FactsInBackground inputFacts;
    const bool describeInput = !check && ReadsInputMeanwhile(plan);
    const bool existed = transcoda::IdentityOf(plan.output).has_value();
    eo.onStarted = [&] {
        amr.EngineStarted();
        if (check) return;
        if (describeInput && inputFacts.Start(plan.input)) return;
        if (!plan.output.empty()) PreloadLibav();
    };
    if (check) eo.confirm = [&] {
        otherPlan = !check();
        if (!otherPlan) SayNotices(run);
        return !otherPlan;
    };
    eo.onIdle = [&] {
        if (lines.Holding() && !otherPlan) WriteAll(2, rewriter.Feed(said(lines.Flush())));
    };
    std::optional<ReadbackOnClose> early;
    if (!plan.output.empty()) {
        early.emplace(plan.output, inputFacts);
        eo.watchFd = early->Fd();
        eo.onWatch = [&] { early->OnEvents(); };
    }
    int rc = RunEngine(argv, eo);
    const FileFacts* written = early ? early->Finish(rc == 0 && !otherPlan) : nullptr;
    inputFacts.Join();
    if (otherPlan) {
        if (!existed) unlink(plan.output.c_str());
        return kOtherPlan;
    }
    amr.EngineStarted();
    WriteAll(2, rewriter.Feed(said(lines.Flush())) + rewriter.Flush());
    if (const int sound = amr.Wait(); sound != 0) {
        WriteAll(2, run.toolName + ": the sound could not be encoded to AMR-NB\n");
        if (rc == 0) rc = sound;
    }
    // A description of an input reports the input itself.
    if (plan.output.empty()) PrintStreamReport(FactsOf(plan.input).streams);
    else if (rc == 0) ReportWritten(run.toolName, plan, written ? *written : FactsOf(plan.output), run.segment,
                                    run.segmentStart, run.segmentLength);
    return rc;
}

}  // namespace

int RunFfmpegStyleTool(const std::string& toolName, const std::vector<std::string>& args) {
    PlannedRun run{toolName, {}};
    FfmpegPlan fromFacts;
    try {
        const FfmpegRequest request = ParseFfmpegArgs(toolName, args);
        run.segment = CutsSegment(request, run.segmentStart, run.segmentLength);
        if (OnlyDescribes(request)) {
            const FileFacts& facts = FactsOf(request.input());
            WriteAll(2, facts.answer.Output);
            return facts.answer.ExitCode;
        }
        run.plan = PlanFfmpeg(request);
        // The input is looked at only when the plan depends on it; it is read once, in
        // the tool, or not at all when an earlier tool has read the unchanged file.
        if (StartsBeforeReading(run.plan, run.segment)) {
            PlannedRun guess = run;
            const int rc = RunPlanned(guess, [&] {
                fromFacts = PlanFromFacts(request, guess.plan);
                return fromFacts.args == guess.plan.args && fromFacts.notices == guess.plan.notices;
            });
            if (rc != kOtherPlan) return rc;
            run.plan = fromFacts;
        } else if (run.plan.needs.any()) {
            run.plan = PlanFromFacts(request, run.plan);
        }
        if (run.segment) CutOnOutputSide(run.plan, run.segmentStart, run.segmentLength);
    } catch (const UsageError& e) {
        WriteAll(2, toolName + ": " + e.what() + "\n");
        return 2;
    }
    return RunPlanned(run);
}

}  // namespace helpers
