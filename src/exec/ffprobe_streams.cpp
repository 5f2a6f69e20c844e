#include "exec/ffprobe_streams.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "platform/command_line.h"
#include "platform/process.h"

namespace transcoda {

namespace {

std::string FindInPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path != nullptr ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + program;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return {};
}

double Number(const std::string& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    return end != text.c_str() && value >= 0 ? value : -1.0;
}

// A bound on how long the fallback may take on a file that ffprobe reads slowly.
constexpr int kWaitMs = 20000;

}  // namespace

StreamReport ParseFfprobeStreams(const std::string& text) {
    StreamReport report;
    std::istringstream in(text);
    std::string line;
    double fileLength = -1;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto comma = line.find(',');
        if (comma == std::string::npos) {
            if (!line.empty()) fileLength = Number(line);
            continue;
        }
        const std::string type = line.substr(0, comma);
        if (type != "video" && type != "audio") continue;
        report.Streams.push_back({type == "video" ? StreamKind::Video : StreamKind::Audio,
                                  Number(line.substr(comma + 1))});
    }
    for (StreamSpan& s : report.Streams)
        if (s.Seconds < 0) s.Seconds = fileLength;
    report.Readable = !report.Streams.empty() || fileLength >= 0;
    return report;
}

std::optional<StreamReport> ProbeStreamsWithFfprobe(const std::string& path) {
    const std::string ffprobe = FindInPath("ffprobe");
    if (ffprobe.empty()) return std::nullopt;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return std::nullopt;
    ChildProcess child;
    const std::string line = Q(ffprobe) + " -v error -show_entries stream=codec_type,duration:format=duration -of csv=p=0 " + Q(path);
    if (!child.Start(line, fds[1])) {
        ::close(fds[0]);
        ::close(fds[1]);
        return std::nullopt;
    }
    ::close(fds[1]);
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n > 0) text.append(buffer, static_cast<size_t>(n));
        else if (n == 0 || errno != EINTR) break;
    }
    ::close(fds[0]);
    if (!child.WaitFor(kWaitMs)) child.Terminate();
    child.WaitFor(-1);
    if (child.ExitStatus() != 0) return StreamReport{};
    return ParseFfprobeStreams(text);
}

}  // namespace transcoda
