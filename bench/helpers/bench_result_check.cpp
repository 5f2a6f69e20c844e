// The result check of a conversion: the tool that wrote the output reads it back in its
// own process with the engine's libraries once its engine has ended. Measured here on
// 60-second clips of each kind of file the presets write (goal: at most 10 ms a
// conversion; a separate ffprobe run costs some 65 ms, nearly all of it loading
// libraries), next to such an ffprobe run. Also: what the temporary name, its note and
// the final rename add to one conversion, beside writing the same file in place.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "exec/app_state.h"
#include "recipes/output_replacement.h"
#include "stream_readback.h"

namespace {

namespace fs = std::filesystem;

struct Clip {
    const char* name;
    const char* options;  // ffmpeg output options for a 60 s clip
};

// What the presets write, at their own sizes and rates.
const Clip kClips[] = {
    {"hd.avi", "-s 1280x720 -c:v mpeg4 -b:v 4500k -c:a libmp3lame -b:a 192k"},
    {"mpeg.mpeg", "-s 640x480 -c:v mpeg1video -b:v 4200k -c:a mp2 -b:a 128k -f mpeg"},
    {"flash.flv", "-s 352x288 -c:v flv1 -b:v 920k -c:a libmp3lame -ar 22050 -b:a 64k"},
    {"windows.wmv", "-c:v wmv2 -b:v 800k -c:a wmav2 -b:a 96k"},
    {"device.mp4", "-s 640x480 -c:v libx264 -preset ultrafast -c:a aac -b:a 128k"},
    {"phone.3gp", "-s 176x144 -c:v h263 -r 15 -c:a aac -ar 32000 -ac 1"},
    {"dvd.vob", "-target pal-dvd"},
    {"song.mp3", "-vn -c:a libmp3lame -b:a 128k"},
    {"song.wav", "-vn -c:a pcm_s16le"},
};

std::string Folder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/transcoda-bench-check-XXXXXX";
        return std::string(mkdtemp(pattern));
    }();
    return folder;
}

std::string Made(const Clip& clip) {
    const std::string path = Folder() + "/" + clip.name;
    if (!fs::exists(path)) {
        const std::string command =
            "ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i testsrc2=size=640x360:rate=25:duration=60 "
            "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=60 " + std::string(clip.options) + " '" +
            path + "'";
        if (std::system(command.c_str()) != 0) return {};
    }
    return path;
}

void BM_ResultCheckInTheTool(benchmark::State& state) {
    const Clip& clip = kClips[state.range(0)];
    const std::string path = Made(clip);
    state.SetLabel(clip.name);
    if (path.empty()) {
        state.SkipWithError("the clip could not be made");
        return;
    }
    size_t streams = 0;
    for (auto _ : state) {
        const transcoda::StreamReport report = helpers::ReadStreams(path);
        streams = report.Streams.size();
        benchmark::DoNotOptimize(streams);
    }
    state.counters["streams"] = static_cast<double>(streams);
}
BENCHMARK(BM_ResultCheckInTheTool)->DenseRange(0, std::size(kClips) - 1)->Unit(benchmark::kMillisecond);

// The same file read by a separate ffprobe run, for comparison.
void BM_SeparateFfprobeRun(benchmark::State& state) {
    const std::string path = Made(kClips[0]);
    for (auto _ : state) {
        const int status = std::system(("ffprobe -v error -show_entries stream=codec_type,duration -of csv=p=0 '" +
                                        path + "' >/dev/null 2>&1").c_str());
        benchmark::DoNotOptimize(status);
    }
}
BENCHMARK(BM_SeparateFfprobeRun)->Unit(benchmark::kMillisecond)->Iterations(20);

// Writing a finished output of 1 MB over an older one: in place, or under the temporary
// name with its note in the work folder and the rename that puts it in place.
void WriteMegabyte(const std::string& path) {
    static const std::vector<char> block(1 << 20, 'x');
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return;
    if (::write(fd, block.data(), block.size()) < 0) std::perror("write");
    ::close(fd);
}

void BM_WriteInPlace(benchmark::State& state) {
    const std::string output = Folder() + "/in-place.avi";
    for (auto _ : state) {
        ::unlink(output.c_str());
        WriteMegabyte(output);
    }
}
BENCHMARK(BM_WriteInPlace)->Unit(benchmark::kMicrosecond);

void BM_WriteUnderTemporaryNameAndRename(benchmark::State& state) {
    const std::string output = Folder() + "/replaced.avi";
    fs::create_directories(Folder() + "/work");
    transcoda::App().WorkFolder = Folder() + "/work/";
    WriteMegabyte(output);
    for (auto _ : state) {
        transcoda::OutputReplacement replacement(output, false);
        WriteMegabyte(replacement.WritePath());
        if (!replacement.Commit().empty()) state.SkipWithError("the rename failed");
    }
    transcoda::App().WorkFolder.clear();
}
BENCHMARK(BM_WriteUnderTemporaryNameAndRename)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    fs::remove_all(Folder(), ignored);
    return 0;
}
