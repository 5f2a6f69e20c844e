#include "dvd_author.h"

#include <cmath>
#include <filesystem>

#include "engine.h"
#include "file_facts.h"
#include "libav.h"
#include "stream_readback.h"
#include "usage_error.h"

namespace helpers {

DvdRequest ParseDvdArgs(const std::vector<std::string>& args) {
    DvdRequest r;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--title" || a == "-t") r.title = true;
        else if (a == "-T" || a == "--toc") r.toc = true;
        else if (a == "-f" || a == "--file" || a == "-o" || a == "--output") {
            if (i + 1 >= args.size()) throw UsageError("missing value for option " + a);
            (a == "-f" || a == "--file" ? r.stream : r.folder) = args[++i];
        } else if (!a.empty() && a[0] == '-') {
            throw UsageError("unknown option " + a);
        } else {
            throw UsageError("unexpected argument " + a);
        }
    }
    if (r.folder.empty()) throw UsageError("no DVD folder (-o) given");
    if (r.title == r.toc) throw UsageError("give either --title -f STREAM or -T");
    if (r.title && r.stream.empty()) throw UsageError("no stream (-f) given for the title");
    return r;
}

std::string VideoStandard(const MediaInfo& info) {
    if (!info.hasVideo) return "";
    if (info.height == 576 || info.height == 288) return "PAL";
    if (info.height == 480 || info.height == 240) return "NTSC";
    if (std::fabs(info.fps - 25) < 0.1) return "PAL";
    if (std::fabs(info.fps - 29.97) < 0.1 || std::fabs(info.fps - 23.976) < 0.1) return "NTSC";
    return "";
}

int RunDvdTool(const std::string& toolName, const std::vector<std::string>& args) {
    DvdRequest r;
    try {
        r = ParseDvdArgs(args);
    } catch (const UsageError& e) {
        WriteAll(2, toolName + ": " + e.what() + "\n");
        return 2;
    }
    // The standard of the stream for a title; for the table of contents, that of the
    // first title already written into the folder.
    std::string source = r.title ? r.stream : r.folder + "/VIDEO_TS/VTS_01_1.VOB";
    std::string standard = VideoStandard(FactsOf(source).description);
    if (standard.empty()) {
        if (r.toc && !std::filesystem::exists(source)) {
            WriteAll(2, toolName + ": the folder " + r.folder + " holds no title yet\n");
            return 1;
        }
        WriteAll(1, toolName + ": picture standard not recognised, assuming PAL\n");
        standard = "PAL";
    }
    std::vector<std::string> argv = {"dvdauthor", "-o", r.folder};
    if (r.title) argv.insert(argv.end(), {"-t", "-f", r.stream});
    else argv.push_back("-T");
    EngineOptions eo;
    eo.env = {"VIDEO_FORMAT=" + standard};
    if (r.toc) eo.onStarted = PreloadLibav;
    const int rc = RunEngine(argv, eo);
    // With its table of contents the title is complete: read it back.
    if (rc == 0 && r.toc) PrintStreamReport(ReadDvdTitle(r.folder));
    return rc;
}

}  // namespace helpers
