// The time-left estimate against the truth: converts a real clip with the real helper
// tools, records what the estimate was fed, then plays the record again and compares the
// time left it gave at 10 %, 30 %, 50 % and 90 % of the conversion's whole time with the time
// that was really left. Also prints how long each step took and its share of the main
// encoding's time, the figures the expected shares of the steps come from.
//
//   bench_time_left [--preset N] [--input FILE] [--runs N] [--record FILE]
//   bench_time_left --replay FILE [--replay FILE ...]
//
// Without --input, a 60-second 1280x720 AVI (MPEG-4 picture, MP3 sound) is made once and
// converted with preset 0 (HD AVI 720p). --record writes the last run's record in the
// form the estimate's tests read.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "exec/app_state.h"
#include "exec/instance.h"
#include "exec/progress_display.h"
#include "exec/request_timing.h"
#include "exec/window_port.h"
#include "recipes/default_output.h"
#include "recipes/dispatcher.h"
#include "recipes/format_catalogue.h"
#include "support/estimate_trace.h"

namespace {

using namespace transcoda;
using testing::Trace;

class QuietWindow : public WindowPort {
public:
    void ShowDisplay(const DisplayChange&) override {}
    void SetActionText(const std::string&) override {}
    void ShowMessage(const std::string& text) override { std::fprintf(stderr, "message: %s\n", text.c_str()); }
    void AppendLog(const std::string&) override {}
    std::string LogStamp(const std::string& marker) override { return marker; }
    bool RestoreConvertButton(bool) override { return true; }
};

std::string MadeClip(const std::string& folder) {
    const std::string path = folder + "/hd720-60s.avi";
    if (std::filesystem::exists(path)) return path;
    const std::string command =
        "ffmpeg -hide_banner -loglevel error -nostdin -y "
        "-f lavfi -i testsrc2=size=1280x720:rate=25:duration=60 "
        "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=60 -ac 2 "
        "-c:v mpeg4 -q:v 5 -g 25 -c:a libmp3lame -b:a 128k -f avi '" + path + ".part' && mv '" + path +
        ".part' '" + path + "'";
    if (std::system(command.c_str()) != 0) return {};
    return path;
}

Trace Convert(int preset, const std::string& input, const std::string& output) {
    Trace trace;
    std::mutex mutex;
    ConversionSession session;
    session.Timing().SetTap([&](const EstimateEvent& e) {
        std::lock_guard lock(mutex);
        trace.push_back(e);
    });
    const DispatchOutcome outcome = DispatchConversion(session, {input, output, FormatLabel(preset), {}});
    session.Timing().SetTap({});
    if (outcome.Outcome != DispatchOutcome::Result::Written)
        std::fprintf(stderr, "conversion failed: %s\n%s", outcome.Reason.c_str(), outcome.Details.c_str());
    return trace;
}

void PrintSteps(const Trace& trace) {
    std::vector<double> weights;
    std::vector<int64_t> took;
    int64_t start = 0;
    for (const EstimateEvent& e : trace) {
        if (e.What == EstimateEvent::Kind::Plan) weights = e.Weights;
        if (e.What == EstimateEvent::Kind::Step) start = e.AtMs;
        if (e.What == EstimateEvent::Kind::StepEnd) took.push_back(e.AtMs - start);
    }
    int64_t longest = 1;
    for (int64_t t : took) longest = std::max(longest, t);
    std::printf("  steps (expected share, time, share of the longest step):");
    for (size_t i = 0; i < took.size(); ++i)
        std::printf(" [%.2f %lld ms %.3f]", i < weights.size() ? weights[i] : 0.0, static_cast<long long>(took[i]),
                    static_cast<double>(took[i]) / static_cast<double>(longest));
    std::printf("\n");
}

// The estimate at each point, against the truth; the worst error past the first 10 %
// (at 10 % the estimate may not be given yet: the goal starts after it).
double PrintErrors(const Trace& trace) {
    const int64_t total = testing::TraceLength(trace);
    std::printf("  whole time %lld ms\n", static_cast<long long>(total));
    double worst = 0.0;
    for (int percent : {10, 30, 50, 90}) {
        const int64_t at = total * percent / 100;
        const int64_t truth = total - at;
        const auto estimate = testing::RemainingAt(trace, at);
        if (!estimate) {
            std::printf("  at %3d %%: true time left %6lld ms, no estimate yet\n", percent,
                        static_cast<long long>(truth));
            if (percent > 10) worst = std::max(worst, 1.0);
            continue;
        }
        const double error = static_cast<double>(*estimate - truth) / static_cast<double>(truth);
        std::printf("  at %3d %%: true time left %6lld ms, estimate %6lld ms, error %+6.1f %% of the time left "
                    "(%+5.1f %% of the whole)\n",
                    percent, static_cast<long long>(truth), static_cast<long long>(*estimate), 100.0 * error,
                    100.0 * static_cast<double>(*estimate - truth) / static_cast<double>(total));
        if (percent > 10) worst = std::max(worst, std::fabs(error));
    }
    std::printf("  error at each tenth, %% of the time left:");
    for (int percent = 10; percent <= 90; percent += 10) {
        const int64_t at = total * percent / 100;
        const auto estimate = testing::RemainingAt(trace, at);
        if (estimate) std::printf(" %+.0f", 100.0 * static_cast<double>(*estimate - (total - at)) / (total - at));
        else std::printf(" -");
    }
    std::printf("\n");
    return worst;
}

}  // namespace

int main(int argc, char** argv) {
    int preset = 0;
    int runs = 3;
    std::string input;
    std::string record;
    std::vector<std::string> replays;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--preset") preset = std::atoi(argv[i + 1]);
        else if (option == "--input") input = argv[i + 1];
        else if (option == "--runs") runs = std::atoi(argv[i + 1]);
        else if (option == "--record") record = argv[i + 1];
        else if (option == "--replay") replays.push_back(argv[i + 1]);
    }
    // Records made earlier, played again without converting.
    if (!replays.empty()) {
        double worst = 0.0;
        for (const std::string& path : replays) {
            std::printf("%s\n", path.c_str());
            const Trace trace = testing::ReadTrace(path);
            PrintSteps(trace);
            worst = std::max(worst, PrintErrors(trace));
        }
        std::printf("worst error past the first 10 %%: %.1f %% of the time left\n", 100.0 * worst);
        return 0;
    }
    InstanceScope instance;
    App().ProgramFolder = BIN_DIR;
    App().CurrentLanguage = "EN";
    QuietWindow window;
    AttachWindow(&window);

    const std::string folder = std::filesystem::temp_directory_path().string() + "/transcoda-bench-time";
    std::filesystem::create_directories(folder);
    if (input.empty()) input = MadeClip(folder);
    if (input.empty()) {
        std::fprintf(stderr, "could not make the clip\n");
        return 1;
    }
    const bool dvd = FindFormat(FormatLabel(preset))->WritesDvd();
    // The preset's own name for the output, in a folder of the benchmark's.
    std::filesystem::create_directories(folder + "/out");
    const std::string output =
        dvd ? folder + "/dvd/"
            : folder + "/out/" +
                  std::filesystem::path(OutputBesideInput(FormatLabel(preset), input, "")).filename().string();

    std::printf("time-left estimate, preset %d (%s), input %s\n", preset, std::string(FormatLabel(preset)).c_str(),
                input.c_str());
    double worst = 0.0;
    Trace last;
    for (int run = 1; run <= runs; ++run) {
        std::printf("run %d\n", run);
        last = Convert(preset, input, output);
        PrintSteps(last);
        worst = std::max(worst, PrintErrors(last));
    }
    std::printf("worst error past the first 10 %%: %.1f %% of the time left (goal: 15 %%)\n", 100.0 * worst);
    if (!record.empty()) std::ofstream(record) << testing::TraceText(last);
    std::error_code ignored;
    std::filesystem::remove_all(output, ignored);
    return 0;
}
