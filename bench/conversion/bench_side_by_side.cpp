// Conversions in one process: N requests one after the other against the same N side
// by side, each in a session of its own, with the real helper tools. Prints the wall
// time of each way and their ratio.
//
//   bench_side_by_side [--preset N] [--count N] [--seconds S]
//
// The clip (S seconds of 640x480 MPEG-4 picture and MP3 sound, 20 by default) is made
// once; the preset is 5 (MPEG 320x240) by default, the count 2.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "conversion/worker.h"
#include "exec/app_state.h"
#include "exec/instance.h"
#include "recipes/format_catalogue.h"

namespace {

using namespace transcoda;
using Clock = std::chrono::steady_clock;

std::string MadeClip(const std::string& folder, int seconds) {
    const std::string path = folder + "/clip-" + std::to_string(seconds) + "s.avi";
    if (std::filesystem::exists(path)) return path;
    const std::string s = std::to_string(seconds);
    const std::string command =
        "ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i testsrc2=size=640x480:rate=25:duration=" + s +
        " -f lavfi -i sine=frequency=440:sample_rate=44100:duration=" + s +
        " -ac 2 -c:v mpeg4 -q:v 5 -g 25 -c:a libmp3lame -b:a 128k -f avi '" + path + ".part' && mv '" + path +
        ".part' '" + path + "'";
    return std::system(command.c_str()) == 0 ? path : std::string();
}

std::shared_ptr<ConversionWorker> Started(const std::string& input, const std::string& output, int preset) {
    const ConversionRequest request{input, output, FormatLabel(preset)};
    auto worker = std::make_shared<ConversionWorker>(ConversionWorker::TakeJob("transformOnce", request));
    worker->Start({});
    return worker;
}

// Wall time in seconds; false in `ok` when a request was not written.
double Convert(const std::string& input, const std::string& out, int preset, int count, bool sideBySide, bool& ok) {
    const auto t0 = Clock::now();
    std::vector<std::shared_ptr<ConversionWorker>> workers;
    for (int i = 0; i < count; ++i) {
        workers.push_back(Started(input, out + "/" + std::to_string(i) + ".mpeg", preset));
        if (!sideBySide) workers.back()->WaitForEnd(-1);
    }
    for (const auto& worker : workers) worker->WaitForEnd(-1);
    const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
    for (const auto& worker : workers)
        for (const RequestOutcome& outcome : worker->Outcomes())
            if (outcome.Outcome != RequestOutcome::Result::Written) {
                std::fprintf(stderr, "not written: %s\n", outcome.Reason.c_str());
                ok = false;
            }
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    int preset = 5, count = 2, seconds = 20;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--preset") preset = std::atoi(argv[i + 1]);
        else if (option == "--count") count = std::atoi(argv[i + 1]);
        else if (option == "--seconds") seconds = std::atoi(argv[i + 1]);
    }
    InstanceScope instance;
    App().ProgramFolder = BIN_DIR;
    const std::string folder = std::filesystem::temp_directory_path().string() + "/transcoda-bench-sessions";
    std::filesystem::create_directories(folder + "/out");
    const std::string input = MadeClip(folder, seconds);
    if (input.empty()) {
        std::fprintf(stderr, "could not make the clip\n");
        return 1;
    }
    bool ok = true;
    // A first run warms the caches (the tools' files, the clip) for both ways alike.
    Convert(input, folder + "/out", preset, 1, false, ok);
    const double oneAfterTheOther = Convert(input, folder + "/out", preset, count, false, ok);
    const double sideBySide = Convert(input, folder + "/out", preset, count, true, ok);
    std::printf("%d conversions of a %d s clip, preset %d, %u processors\n", count, seconds, preset,
                std::max(1u, std::thread::hardware_concurrency()));
    std::printf("  one after the other: %.2f s\n  side by side:        %.2f s (%.2fx)\n", oneAfterTheOther, sideBySide,
                sideBySide > 0 ? oneAfterTheOther / sideBySide : 0.0);
    std::filesystem::remove_all(folder + "/out");
    return ok ? 0 : 1;
}
