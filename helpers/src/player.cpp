#include "player.h"

#include <cstdio>
#include <cstdlib>

#include "engine.h"
#include "exec/tool_names.h"
#include "mencoder_style.h"
#include "usage_error.h"

namespace helpers {

std::vector<std::string> TranslatePlayerArgs(const std::vector<std::string>& args) {
    std::string file, start;
    double delay = 0.0;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 1 && a[0] == '-') {
            if (a != "-ss" && a != "-delay") throw UsageError("unknown option " + a);
            if (i + 1 >= args.size()) throw UsageError("missing value for option " + a);
            const std::string& v = args[++i];
            if (a == "-ss") {
                if (ParseClock(v) < 0) throw UsageError("invalid value for -ss: " + v);
                start = v;
            } else {
                char* end = nullptr;
                delay = std::strtod(v.c_str(), &end);
                if (v.empty() || *end != '\0') throw UsageError("invalid value for -delay: " + v);
            }
            continue;
        }
        if (!file.empty()) throw UsageError("more than one file: " + a);
        file = a;
    }
    if (file.empty()) throw UsageError("no file to play");
    std::vector<std::string> argv = {"mpv", "--force-window=yes", "--keep-open=no", "--title=Transcoda - ${filename}"};
    if (!start.empty()) argv.push_back("--start=" + start);
    // mpv's audio delay delays the sound when positive: the opposite sign.
    if (delay != 0.0) {
        std::string lag = std::to_string(-delay);
        argv.push_back("--audio-delay=" + lag);
    }
    argv.push_back("--");
    argv.push_back(file);
    return argv;
}

std::vector<std::string> PlayerPlacementArgs(const std::string& area) {
    int width = 0, height = 0, x = 0, y = 0, used = 0;
    // Digits only around the separators, nothing left over.
    for (char c : area)
        if ((c < '0' || c > '9') && c != 'x' && c != '+') return {};
    if (std::sscanf(area.c_str(), "%dx%d+%d+%d%n", &width, &height, &x, &y, &used) != 4 ||
        used != static_cast<int>(area.size()) || width <= 0 || height <= 0)
        return {};
    return {"--geometry=+" + std::to_string(x) + "+" + std::to_string(y),
            "--autofit=" + std::to_string(width) + "x" + std::to_string(height)};
}

int RunPlayerTool(const std::string& toolName, const std::vector<std::string>& args) {
    std::vector<std::string> argv;
    try {
        argv = TranslatePlayerArgs(args);
    } catch (const UsageError& e) {
        WriteAll(2, toolName + ": " + e.what() + "\n");
        return 2;
    }
    if (const char* area = std::getenv(transcoda::kPlayerAreaVariable)) {
        const std::vector<std::string> place = PlayerPlacementArgs(area);
        argv.insert(argv.begin() + 1, place.begin(), place.end());
    }
    EngineOptions eo;
    return RunEngine(argv, eo);
}

}  // namespace helpers
