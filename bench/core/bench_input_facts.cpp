// The input's facts as the window reads them after a pick: how long the description
// (a probe run, or the probe cache) and the still take for a 1080p file, and how far the
// estimate of each preset's output size is from the real size.
//   bench_input_facts                       times, on a 60 s 1080p clip it makes
//   bench_input_facts --sizes CLIP FOLDER   estimate against the outputs in FOLDER,
//                                           named pN.ext (pN/ for a DVD) for preset N
// The helper tools are those beside this program, in B/.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "exec/app_state.h"
#include "exec/input_facts.h"
#include "platform/program_folder.h"
#include "recipes/format_catalogue.h"
#include "recipes/size_estimate.h"

namespace fs = std::filesystem;
using namespace transcoda;

namespace {

double Ms(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

std::string FreshFolder() {
    char name[] = "/tmp/transcoda-facts-XXXXXX";
    return mkdtemp(name) ? std::string(name) + "/" : std::string();
}

int Times() {
    const std::string folder = FreshFolder();
    const std::string clip = folder + "clip1080.mp4";
    const std::string make = "ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i "
                             "testsrc2=size=1920x1080:rate=25:duration=60 -f lavfi -i sine=frequency=440:duration=60 "
                             "-map 0:v -map 1:a -ac 2 -c:v libx264 -preset veryfast -g 50 -c:a aac '" + clip + "'";
    if (std::system(make.c_str()) != 0) return 1;
    constexpr int kRounds = 7;
    std::vector<double> cold, coldStill, warm, warmStill;
    for (int round = 0; round < kRounds; ++round) {
        // A work folder of its own each round: its probe cache starts empty.
        App().WorkFolder = FreshFolder();
        for (std::vector<double>* words : {&cold, &warm}) {
            ConversionSession session;
            const auto start = std::chrono::steady_clock::now();
            InputFacts facts = ReadInputFacts(session, clip);
            words->push_back(Ms(start));
            TakeStill(session, clip, facts, 128);
            (words == &cold ? coldStill : warmStill).push_back(Ms(start));
            if (facts.Still.empty() || facts.Seconds < 59) std::printf("round %d: no facts or no still\n", round);
        }
        fs::remove_all(App().WorkFolder);
    }
    std::printf("1080p 60 s clip, %d rounds, medians (min-max), load %.1f\n", kRounds, [] {
        double load[1] = {0};
        getloadavg(load, 1);
        return load[0];
    }());
    const auto line = [](const char* what, const std::vector<double>& v) {
        std::printf("  %-44s %6.0f ms (%.0f-%.0f)\n", what, Median(v), *std::min_element(v.begin(), v.end()),
                    *std::max_element(v.begin(), v.end()));
    };
    line("pick to facts, file not yet described", cold);
    line("pick to facts and still, not yet described", coldStill);
    line("pick to facts, from the probe cache", warm);
    line("pick to facts and still, from the probe cache", warmStill);
    fs::remove_all(folder);
    return 0;
}

int64_t SizeOf(const fs::path& path) {
    if (!fs::is_directory(path)) return static_cast<int64_t>(fs::file_size(path));
    int64_t total = 0;
    for (const auto& entry : fs::recursive_directory_iterator(path))
        if (entry.is_regular_file()) total += static_cast<int64_t>(entry.file_size());
    return total;
}

int Sizes(const std::string& clip, const std::string& outputs) {
    App().WorkFolder = FreshFolder();
    ConversionSession session;
    const InputFacts facts = ReadInputFacts(session, clip);
    std::printf("%-4s %-72s %12s %12s %8s\n", "", "preset", "estimate", "real", "error");
    for (const auto& entry : fs::directory_iterator(outputs)) {
        const std::string name = entry.path().filename().string();
        if (name.size() < 2 || name[0] != 'p' || !std::isdigit(static_cast<unsigned char>(name[1]))) continue;
        const int preset = std::atoi(name.c_str() + 1);
        const auto estimate = EstimateOutputBytes(FormatLabel(preset), facts, clip);
        const int64_t real = SizeOf(entry.path());
        if (!estimate || real <= 0) continue;
        std::printf("p%-3d %-72s %12lld %12lld %+7.1f%%\n", preset, FormatLabel(preset).c_str(),
                    static_cast<long long>(*estimate), static_cast<long long>(real),
                    100.0 * (static_cast<double>(*estimate) - static_cast<double>(real)) / static_cast<double>(real));
    }
    fs::remove_all(App().WorkFolder);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    App().ProgramFolder = ExecutableFolder();
    if (argc == 4 && std::string(argv[1]) == "--sizes") return Sizes(argv[2], argv[3]);
    return Times();
}
