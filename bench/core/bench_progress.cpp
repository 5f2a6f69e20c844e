// Cost of handling one chunk of tool output (parsing and the display updates it asks
// for, against a window stand-in that only keeps state).

#include <benchmark/benchmark.h>

#include <string>

#include "exec/app_state.h"
#include "exec/tool_output_reader.h"
#include "exec/conversion_session.h"
#include "exec/progress_handler.h"
#include "support/recording_window.h"

namespace {

using namespace transcoda;

using testing::StateWindow;

std::string AsChunk(const std::string& raw) { return ChunkFromBytes(raw.data(), raw.size()); }

// What an ffmpeg-style tool prints about its input before converting.
const std::string kDescription = AsChunk(
    "Input #0, avi, from '/home/user/Videos/holiday 2026.avi':\n"
    "  Metadata:\n"
    "    software        : Lavf59.27.100\n"
    "  Duration: 00:01:23.45, start: 0.000000, bitrate: 1411 kb/s\n"
    "  Stream #0:0: Video: mpeg4 (Simple Profile) (FMP4 / 0x34504D46), yuv420p, 640x480 [SAR 1:1 DAR 4:3], 25 fps, "
    "25 tbr, 25 tbn\n"
    "  Stream #0:1: Audio: mp3 (U[0][0][0] / 0x0055), 44100 Hz, stereo, fltp, 128 kb/s\n"
    "Stream mapping:\n"
    "  Stream #0:0 -> #0:0 (mpeg4 (native) -> flv1 (flv))\n"
    "  Stream #0:1 -> #0:1 (mp3 (mp3float) -> mp3 (libmp3lame))\n"
    "Press [q] to stop, [?] for help\n");
// A read that caught three status lines of an ffmpeg-style conversion.
const std::string kFfmpegStatus = AsChunk(
    "frame=  412 fps=103 q=4.6 size=    1024kB time=16.44 bitrate= 510.2kbits/s speed=4.11x    \r"
    "frame=  465 fps=103 q=5.1 size=    1152kB time=18.56 bitrate= 508.4kbits/s speed=4.12x    \r"
    "frame=  519 fps=103 q=5.0 size=    1280kB time=20.72 bitrate= 506.0kbits/s speed=4.12x    \r");
// A read that caught three status lines of a mencoder-style conversion.
const std::string kMencoderStatus = AsChunk(
    "Pos:  16.4s    411f (19%) 98.21fps Trem:   0min   5mb  A-V:0.000 [1024:128]\r"
    "Pos:  16.5s    413f (19%) 98.20fps Trem:   0min   5mb  A-V:0.000 [1024:128]\r"
    "Pos:  16.6s    416f (20%) 98.22fps Trem:   0min   5mb  A-V:0.000 [1024:128]\r");

void Prepare(StateWindow& window, ConversionSession& session) {
    App().CurrentLanguage = "FR";
    session.Display().SetObserver([&window](const DisplayChange& c) { window.ShowDisplay(c); });
    session.Progress.InputDurationCs = 8345;
    session.Progress.DurationText = "probed";
}

void BM_FfmpegStatusChunk(benchmark::State& state) {
    StateWindow window;
    ConversionSession session;
    Prepare(window, session);
    ProgressHandler handler(session);
    handler.HandleOutputChunk(kDescription);
    for (auto _ : state) handler.HandleOutputChunk(kFfmpegStatus);
    state.counters["bytes/chunk"] = static_cast<double>(kFfmpegStatus.size());
}
BENCHMARK(BM_FfmpegStatusChunk);

void BM_FfmpegDescriptionChunk(benchmark::State& state) {
    StateWindow window;
    ConversionSession session;
    Prepare(window, session);
    for (auto _ : state) {
        session.Progress.DurationText.clear();
        ProgressHandler handler(session);
        handler.HandleOutputChunk(kDescription);
    }
    state.counters["bytes/chunk"] = static_cast<double>(kDescription.size());
}
BENCHMARK(BM_FfmpegDescriptionChunk);

void BM_MencoderStatusChunk(benchmark::State& state) {
    StateWindow window;
    ConversionSession session;
    Prepare(window, session);
    ProgressHandler handler(session);
    for (auto _ : state) handler.HandleOutputChunk(kMencoderStatus);
    state.counters["bytes/chunk"] = static_cast<double>(kMencoderStatus.size());
}
BENCHMARK(BM_MencoderStatusChunk);

void BM_FullReadOfStatusLines(benchmark::State& state) {
    StateWindow window;
    ConversionSession session;
    Prepare(window, session);
    ProgressHandler handler(session);
    std::string raw;
    while (raw.size() < 4000) raw += "frame=  412 fps=103 q=4.6 size=    1024kB time=16.44 bitrate= 510.2kbits/s\r";
    raw.resize(4096);
    handler.HandleOutputChunk(kDescription);
    for (auto _ : state) handler.HandleOutputChunk(AsChunk(raw));
    state.counters["bytes/chunk"] = 4096;
}
BENCHMARK(BM_FullReadOfStatusLines);

}  // namespace

BENCHMARK_MAIN();
