// What the result check says of a written file as the output of a conversion of an
// input, with both read back as the tools read them (for bench/helpers/length_check.sh):
//   length_verdict PRESET INPUT WRITTEN [DELAY | FROM LENGTH]
// Prints the two stream reports and "right", "refused: why" (before any step) or
// "wrong: why"; exits with 0, 2 or 1. Also, with --cost FILE...: the time one reading
// of each file takes, in ms: its opening and the scan for its streams' ends.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "exec/app_state.h"
#include "recipes/result_check.h"
#include "stream_readback.h"

int main(int argc, char** argv) {
    using namespace transcoda;
    if (argc >= 3 && std::string(argv[1]) == "--cost") {
        // The opening (with the search for the streams, which the description needs
        // anyway) and the scan for the streams' ends, apart.
        auto since = [](std::chrono::steady_clock::time_point t) {
            return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
        };
        for (int i = 2; i < argc; ++i) {
            helpers::ReadStreams(argv[i]);  // the libraries loaded, the file in the page cache
            const auto start = std::chrono::steady_clock::now();
            const helpers::OpenedMedia media(argv[i]);
            const double open = since(start);
            const auto scanned = std::chrono::steady_clock::now();
            const StreamReport report = helpers::ScanStreams(media);
            std::printf("open %8.2f ms  scan %8.2f ms  %s  %s\n", open, since(scanned),
                        FormatStreamReport(report).c_str(), argv[i]);
        }
        return 0;
    }
    if (argc != 4 && argc != 5 && argc != 6) {
        std::fprintf(stderr, "usage: %s PRESET INPUT WRITTEN [DELAY | FROM LENGTH]\n", argv[0]);
        return 64;
    }
    App().CurrentLanguage = "EN";
    const int preset = std::atoi(argv[1]);
    ConversionRequest request{argv[2], argv[3], FormatLabel(preset)};
    if (argc == 5) request.Special.SyncDelay = argv[4];
    if (argc == 6) request.Special = {kNoSyncDelay, argv[4], argv[5]};
    const StreamReport input = helpers::ReadStreams(argv[2]);
    std::printf("input   %s\n", FormatStreamReport(input).c_str());
    const InputVerdict verdict = ExpectOutput(FormatCatalogue()[static_cast<size_t>(preset)], request, input);
    if (!verdict.Refusal.empty()) {
        std::printf("refused: %s\n", verdict.Refusal.c_str());
        return 2;
    }
    const StreamReport written = helpers::ReadStreams(argv[3]);
    std::printf("written %s\n", FormatStreamReport(written).c_str());
    const std::string problem = CheckWritten(written, verdict.Expected, Writes::Media);
    if (!problem.empty()) {
        std::printf("wrong: %s\n", problem.c_str());
        return 1;
    }
    std::printf("right\n");
    return 0;
}
