#include "exec/input_facts.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "exec/app_state.h"
#include "exec/probe_cache.h"
#include "exec/run_tool.h"
#include "exec/stream_report.h"
#include "exec/tool_names.h"
#include "platform/command_line.h"

namespace transcoda {

namespace {

// A still larger than this is not the small picture that was asked for.
constexpr off_t kMaxStillBytes = 4 << 20;

// Seconds with three decimals and a point, whatever the locale (the window runs in the
// user's, where printf could write a comma the tool would not read).
std::string Decimal(double seconds) {
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, seconds, std::chars_format::fixed, 3);
    return error == std::errc() ? std::string(text, end) : "0";
}

InputFacts FactsFromAnswer(int64_t bytes, const ProbeAnswer& answer) {
    InputFacts facts;
    facts.FileBytes = bytes;
    facts.Described = true;
    facts.Media = ParseProbeOutput(answer.Description);
    const std::optional<StreamReport> report = ParseStreamReport(answer.Output);
    if (report && report->Readable)
        facts.Seconds = std::max(report->First(StreamKind::Video), report->First(StreamKind::Audio));
    if (facts.Seconds < 0 && facts.Media.duration > 0) facts.Seconds = facts.Media.duration;
    return facts;
}

// A fresh name in the work folder for the still; empty without a work folder.
std::string FreeStillPath() {
    const std::string& work = App().WorkFolder;
    if (work.empty()) return {};
    std::string pattern = work + (work.back() == '/' ? "" : "/") + "still-XXXXXX.jpg";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkostemps(name.data(), 4, O_CLOEXEC);
    if (fd < 0) return {};
    close(fd);
    return name.data();
}

// The whole of a small regular file; empty for anything else.
std::string ReadSmallFile(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return {};
    std::string bytes;
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kMaxStillBytes) {
        bytes.resize(static_cast<size_t>(st.st_size));
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = read(fd, bytes.data() + done, bytes.size() - done);
            if (n <= 0) break;
            done += static_cast<size_t>(n);
        }
        bytes.resize(done);
    }
    close(fd);
    return bytes;
}

}  // namespace

InputFacts ReadInputFacts(ConversionSession& session, const std::string& path) {
    const std::optional<FileIdentity> identity = IdentityOf(path);
    if (!identity) return {};
    InputFacts undescribed;
    undescribed.FileBytes = identity->Size;
    const ProbeCache cache = ProbeCache::OfThisInstance();
    std::optional<ProbeAnswer> answer = cache.Find(*identity);
    if (!answer) {
        // The tool keeps its answer in the cache, where it is read: the same answer the
        // conversion's duration probe will find.
        const ToolOutcome run = RunTool(session, App().HelperFolder() + std::string(utilitymffx) + " -i " + Q(path));
        if (run.Ending != ToolOutcome::End::Exited) return undescribed;
        answer = cache.Find(path);
    }
    if (!answer) return undescribed;
    return FactsFromAnswer(identity->Size, *answer);
}

void TakeStill(ConversionSession& session, const std::string& path, InputFacts& facts, int width) {
    if (!facts.Media.hasVideo || width < 2 || !session.Running()) return;
    const std::string still = FreeStillPath();
    if (still.empty()) return;
    const ToolOutcome run = RunTool(session, StillCommandLine(path, StillSeconds(facts.Seconds), width,
                                                              StillHeight(facts.Media, width), still));
    if (run.Succeeded()) facts.Still = ReadSmallFile(still);
    unlink(still.c_str());
}

double StillSeconds(double length) { return length > 0 ? length / 10 : 0.0; }

int StillHeight(const MediaInfo& media, int width) {
    if (media.width <= 0 || media.height <= 0) return std::max(2, width / 16 * 9 / 2 * 2);
    double shown = media.width * (media.sampleAspect > 0 ? media.sampleAspect : 1.0) / media.height;
    // A picture turned a quarter is shown standing.
    if (std::abs(media.rotation) % 180 == 90) shown = 1.0 / shown;
    const int height = static_cast<int>(std::lround(width / shown / 2)) * 2;
    return std::clamp(height, 2, width * 4);
}

std::string StillCommandLine(const std::string& input, double at, int width, int height,
                             const std::string& stillPath) {
    return App().HelperFolder() + std::string(utilitymffx) + " -ss " + Decimal(at) + " -i " + Q(input) + " -an -s " + std::to_string(width) + "x" +
           std::to_string(height) + " -vframes 1 -y " + Q(stillPath);
}

}  // namespace transcoda
