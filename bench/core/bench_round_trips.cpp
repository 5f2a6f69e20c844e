// Window round trips per chunk of tool output: recorded output of the helper tools,
// split as the reader sees it when a tool writes one line at a time, goes through the
// progress handler, and every call of the window interface counts as one trip to the
// window thread. Prints the figures for ffmpeg-style status lines, mencoder-style
// status lines and output that neither kind of line is found in (DVD authoring).
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "exec/app_state.h"
#include "exec/conversion_session.h"
#include "exec/tool_output_reader.h"
#include "exec/progress_display.h"
#include "exec/progress_handler.h"
#include "exec/window_port.h"

namespace {

using namespace transcoda;

class CountingWindow : public WindowPort {
public:
    void ShowDisplay(const DisplayChange&) override { ++trips; }
    void SetActionText(const std::string&) override { ++trips; }
    void ShowMessage(const std::string&) override { ++trips; }
    void AppendLog(const std::string&) override { ++trips; }
    std::string LogStamp(const std::string& marker) override { return marker; }
    bool RestoreConvertButton(bool) override { ++trips; return true; }
    long trips = 0;
};

std::vector<std::string> Chunks(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    std::vector<std::string> out;
    std::string line;
    for (char c : all.str()) {
        line.push_back(c);
        if (c != '\r' && c != '\n') continue;
        std::string chunk = ChunkFromBytes(line.data(), line.size());
        if (!chunk.empty()) out.push_back(chunk);
        line.clear();
    }
    if (!line.empty()) out.push_back(ChunkFromBytes(line.data(), line.size()));
    return out;
}

// `probed`: the duration the probe found before the run, as the mencoder-style recipes have it.
void Run(const char* name, const std::string& path, int32_t probed) {
    CountingWindow window;
    AttachWindow(&window);
    App().CurrentLanguage = "FR";
    ConversionSession session;
    // What a front end that is told each change (the terminal) would be told.
    long changes = 0;
    session.Display().SetObserver([&changes](const DisplayChange&) { ++changes; });
    session.Progress.InputDurationCs = probed;
    session.Progress.DurationText = probed > 0 ? "probed" : "";
    const std::vector<std::string> chunks = Chunks(path);
    if (chunks.empty()) {
        std::printf("%s: no recorded output in %s\n", name, path.c_str());
        return;
    }
    ProgressHandler handler(session);
    for (const auto& c : chunks) handler.HandleOutputChunk(c);
    // The window is never called by the reader: it takes the display on its own timer.
    std::printf("%-36s %4zu chunks %5ld window round trips  %.2f per chunk (goal: <= 2); %5ld display changes\n",
                name, chunks.size(), window.trips, static_cast<double>(window.trips) / static_cast<double>(chunks.size()),
                changes);
    AttachWindow(nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string dir = argc > 1 ? argv[1] : RECORDED_DIR;
    Run("ffmpeg-style conversion", dir + "/ffmpeg_style.txt", kNotProbed);
    Run("mencoder-style conversion", dir + "/mencoder_style.txt", 30000);
    Run("unrecognised output (DVD authoring)", dir + "/unrecognised.txt", kNotProbed);
    return 0;
}
