#include "mencoder_style.h"

#include <algorithm>
#include <functional>

#include <unistd.h>

#include "containers.h"
#include "engine.h"
#include "file_facts.h"
#include "libav.h"
#include "picture_compare.h"
#include "readback_on_close.h"
#include "segment_cut.h"
#include "stream_readback.h"
#include "usage_error.h"

namespace helpers {
namespace {

// The segment a request cuts: from -ss, lasting -endpos when that is a time.
struct Segment {
    bool cut = false;
    double start = 0.0;
    double length = -1.0;  // negative: to the end
    double End() const { return length >= 0 ? start + length : -1.0; }
};

Segment SegmentOf(const MencoderRequest& r) {
    Segment s;
    const std::string& e = r.endpos;
    const bool timed = !e.empty() && !(e.size() > 2 && e.substr(e.size() - 2) == "mb");
    s.cut = !r.start.empty() || timed;
    if (!r.start.empty()) s.start = std::max(0.0, ParseClock(r.start));
    if (timed) s.length = ParseClock(e);
    return s;
}

struct UnnamedFile {
    int fd = -1;
    ~UnnamedFile() {
        if (fd >= 0) close(fd);
    }
};

// One run of the tool: the request as read and then fitted to its segment, what its
// files hold, and the engine's plan.
struct ToolRun {
    MencoderRequest request;
    MediaInfo input, sound;
    Segment segment;
    SegmentPlan segmentPlan;
    MencoderPlan plan;
};

// How a copied picture's segment is cut (copied, smart cut or coded again), taken into
// the request; the plan's description goes to notices.
void PlanCopiedSegment(ToolRun& run, std::vector<std::string>& notices) {
    MencoderRequest& r = run.request;
    const Segment& segment = run.segment;
    if (!(segment.cut && r.ovc == "copy" && run.input.hasVideo && !r.start.empty())) return;
    const Container* c = ContainerForPath(r.output);
    if (!c) return;
    run.segmentPlan = PlanSegment(r.input, run.input.videoCodec, *c, segment.start, segment.End());
    notices.push_back(DescribeSegmentPlan(run.segmentPlan, segment.start));
    r.decodeFrom = DecodeFrom(run.segmentPlan.frames, segment.start);
    if (run.segmentPlan.way != SegmentWay::Copy) {
        r.pictureRecode = run.segmentPlan.recode;
    } else if (segment.start <= 0) {
        // A copy from the start is not cut there at all.
        r.start.clear();
        r.decodeFrom = -1;
    } else {
        // A copied picture starts on its key frame, which may lie a hair
        // before the start asked (timestamps rounded by the container).
        r.start = PlainNumber(std::min(segment.start, CopyFrom(run.segmentPlan.frames)));
    }
}

// Reads the arguments and the files and plans the engine's run; throws UsageError.
void PrepareRun(const std::vector<std::string>& args, ToolRun& run) {
    MencoderRequest& r = run.request;
    r = ParseMencoderArgs(args);
    run.input = FactsOf(r.input).description;
    if (!run.input.readable) throw UsageError("cannot read the input " + r.input);
    if (!r.audioFile.empty()) {
        run.sound = FactsOf(r.audioFile).description;
        if (!run.sound.readable) throw UsageError("cannot read the sound file " + r.audioFile);
    }
    run.segment = SegmentOf(r);
    std::vector<std::string> said;
    PlanCopiedSegment(run, said);
    run.plan = PlanMencoder(r, run.input, run.sound);
    run.plan.notices.insert(run.plan.notices.begin(), said.begin(), said.end());
}

std::vector<std::string> EngineArgv(const MencoderPlan& plan) {
    std::vector<std::string> argv = {"ffmpeg"};
    argv.insert(argv.end(), plan.args.begin(), plan.args.end());
    return argv;
}

// A smart cut copies the joined picture instead of the input's; should the joining
// fail, the picture planned already is coded again whole.
void UseJoinedPicture(const std::string& toolName, ToolRun& run, UnnamedFile& joined,
                      std::vector<std::string>& argv) {
    if (run.segmentPlan.way != SegmentWay::SmartCut) return;
    joined.fd = WriteJoinedPicture(run.request.input, run.segment.start, run.segment.End(), run.segmentPlan);
    if (joined.fd >= 0) {
        run.request.joinedPicture = kJoinedPictureInput;
        run.request.pictureRecode.clear();
        run.plan = PlanMencoder(run.request, run.input, run.sound);
        argv = EngineArgv(run.plan);
    } else {
        WriteAll(1, toolName + ": the two parts could not be made: the picture is coded again whole\n");
    }
}

// Runs the engine with its progress turned into mencoder's status lines; what it writes
// is read back from its close (`early`).
int RunWithStatusLines(const std::vector<std::string>& argv, const MencoderPlan& plan, int passFd,
                       ReadbackOnClose& early, std::function<void()> started) {
    ProgressTranslator progress(plan.expectedSeconds);
    EngineOptions eo;
    eo.out = Stream::Capture;
    eo.err = Stream::Capture;
    eo.onOut = [&](const char* d, size_t n) { WriteAll(1, progress.Feed(std::string(d, n))); };
    eo.onErr = [&](const char* d, size_t n) { WriteAll(2, d, n); };
    // What the engine writes is read back with the engine's libraries, loaded meanwhile.
    eo.onStarted = std::move(started);
    eo.passFd = passFd;
    eo.watchFd = early.Fd();
    eo.onWatch = [&early] { early.OnEvents(); };
    return RunEngine(argv, eo);
}

// The report of the written file; a segment's ends are compared with the source's
// pictures there.
void ReportWritten(const std::string& toolName, const ToolRun& run, const FileFacts& written,
                   const SourcePictures& source) {
    const std::string& output = run.plan.args.back();
    transcoda::StreamReport report = written.streams;
    if (run.segment.cut && run.input.hasVideo && report.Has(transcoda::StreamKind::Video)) {
        const SegmentPictures compared = CompareWithSource(output, run.request.input, source);
        WriteAll(1, toolName + ": " + DescribeComparison(compared) + "\n");
        report.Content = ContentVerdict(compared);
    }
    PrintStreamReport(report);
}

}  // namespace

int RunMencoderStyleTool(const std::string& toolName, const std::vector<std::string>& args) {
    ToolRun run;
    try {
        PrepareRun(args, run);
    } catch (const UsageError& e) {
        WriteAll(2, toolName + ": " + e.what() + "\n");
        return 2;
    }
    for (const auto& n : run.plan.notices) WriteAll(1, toolName + ": " + n + "\n");

    std::vector<std::string> argv = EngineArgv(run.plan);
    if (ShowEngineInstead(argv)) return 0;
    UnnamedFile joined;
    UseJoinedPicture(toolName, run, joined, argv);
    // A segment's source pictures are read while the engine runs (they do not depend on
    // what it writes), what it writes from its close; the libraries are loaded meanwhile.
    FactsInBackground sourceSide;
    SourcePictures source;
    bool sourceRead = false;
    const bool compare = run.segment.cut && run.input.hasVideo;
    ReadbackOnClose early(run.plan.args.back(), sourceSide);
    const int rc = RunWithStatusLines(argv, run.plan, joined.fd, early, [&] {
        if (compare)
            sourceRead = sourceSide.Start(
                [&] { source = ReadSourcePictures(run.request.input, run.segment.start, run.segment.length); });
        if (!sourceRead) PreloadLibav();
    });
    const FileFacts* written = early.Finish(rc == 0);
    sourceSide.Join();
    if (rc == 0 && compare && !sourceRead)
        source = ReadSourcePictures(run.request.input, run.segment.start, run.segment.length);
    WriteAll(1, rc == 0 ? "\n\nVideo stream written.\n" : "\n");
    if (rc == 0) ReportWritten(toolName, run, *written, source);
    return rc;
}

}  // namespace helpers
