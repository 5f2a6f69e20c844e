#include "player.h"

#include <cstdlib>

#include "engine.h"
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

int RunPlayerTool(const std::string& toolName, const std::vector<std::string>& args) {
    std::vector<std::string> argv;
    try {
        argv = TranslatePlayerArgs(args);
    } catch (const UsageError& e) {
        WriteAll(2, toolName + ": " + e.what() + "\n");
        return 2;
    }
    EngineOptions eo;
    return RunEngine(argv, eo);
}

}  // namespace helpers
