#include "ffmpeg_style.h"

#include <algorithm>
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

}  // namespace

int RunFfmpegStyleTool(const std::string& toolName, const std::vector<std::string>& args) {
    FfmpegPlan plan;
    double segmentStart = 0.0, segmentLength = -1.0;
    bool segment = false;
    try {
        const FfmpegRequest request = ParseFfmpegArgs(toolName, args);
        segment = CutsSegment(request, segmentStart, segmentLength);
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
        if (segment) CutOnOutputSide(plan, segmentStart, segmentLength);
    } catch (const UsageError& e) {
        WriteAll(2, toolName + ": " + e.what() + "\n");
        return 2;
    }
    for (const auto& n : plan.notices) WriteAll(2, toolName + ": " + n + "\n");

    std::vector<std::string> argv = {"ffmpeg"};
    argv.insert(argv.end(), plan.args.begin(), plan.args.end());
    // The sound the engine reads from the tool has no command of its own to show.
    if (!plan.amr && ShowEngineInstead(argv)) return 0;

    // The sound coded to AMR-NB comes to the engine through a pipe as it is encoded.
    AmrSoundFeed amr;
    if (plan.amr && !amr.Start(plan.input, plan.amrInputOptions, plan.amrBitrate)) {
        WriteAll(2, toolName + ": the sound could not be encoded to AMR-NB\n");
        return 1;
    }

    TimeRewriter rewriter;
    if (plan.amr) rewriter.LimitTo([&amr] { return amr.SecondsWritten(); });
    WholeLines lines;
    EngineOptions eo;
    eo.out = Stream::Inherit;
    eo.err = Stream::Capture;
    auto said = [&](const std::string& text) { return plan.amr ? WithoutUnknownDurations(text) : text; };
    eo.onErr = [&](const char* d, size_t n) { WriteAll(2, rewriter.Feed(said(lines.Feed(std::string(d, n))))); };
    eo.passFd = amr.EngineEnd();
    // What the engine writes is read back with the engine's libraries, loaded meanwhile,
    // and so is an input that the request has not read yet.
    FactsInBackground inputFacts;
    const bool describeInput = ReadsInputMeanwhile(plan);
    eo.onStarted = [&] {
        amr.EngineStarted();
        if (describeInput && inputFacts.Start(plan.input)) return;
        if (!plan.output.empty()) PreloadLibav();
    };
    eo.onIdle = [&] {
        if (lines.Holding()) WriteAll(2, rewriter.Feed(said(lines.Flush())));
    };
    std::optional<ReadbackOnClose> early;
    if (!plan.output.empty()) {
        early.emplace(plan.output, inputFacts);
        eo.watchFd = early->Fd();
        eo.onWatch = [&] { early->OnEvents(); };
    }
    int rc = RunEngine(argv, eo);
    const FileFacts* written = early ? early->Finish(rc == 0) : nullptr;
    inputFacts.Join();
    amr.EngineStarted();
    WriteAll(2, rewriter.Feed(said(lines.Flush())) + rewriter.Flush());
    if (const int sound = amr.Wait(); sound != 0) {
        WriteAll(2, toolName + ": the sound could not be encoded to AMR-NB\n");
        if (rc == 0) rc = sound;
    }
    // A description of an input reports the input itself.
    if (plan.output.empty()) PrintStreamReport(FactsOf(plan.input).streams);
    else if (rc == 0) ReportWritten(toolName, plan, written ? *written : FactsOf(plan.output), segment,
                                    segmentStart, segmentLength);
    return rc;
}

}  // namespace helpers
