#include "cli/program_version.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "exec/language.h"
#include "exec/tool_names.h"
#include "platform/command_line.h"
#include "platform/process.h"

namespace transcoda::cli {

namespace {

constexpr int kAnswerMs = 10000;

// What the tool prints for "--version", its first line; empty when it cannot tell.
std::string AskTool(const std::string& path) {
    if (access(path.c_str(), X_OK) != 0) return {};
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return {};
    ChildProcess tool;
    const bool started = tool.Start(Q(path) + " --version", fds[1]);
    close(fds[1]);
    std::string text;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kAnswerMs);
    while (started) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        pollfd fd{fds[0], POLLIN, 0};
        if (left.count() <= 0 || poll(&fd, 1, static_cast<int>(left.count())) == 0) break;
        char buffer[512];
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        text.append(buffer, static_cast<size_t>(n));
    }
    close(fds[0]);
    // A tool that has not ended in time is ended with what it started.
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    if (started && !tool.WaitFor(static_cast<int>(std::max<long long>(left.count(), 0)))) {
        tool.Terminate();
        tool.WaitFor(-1);
        return {};
    }
    if (!started || tool.ExitStatus() != 0) return {};
    return text.substr(0, text.find('\n'));
}

}  // namespace

std::string VersionText(const std::string& helperFolder) {
    std::string text = std::string("transcoda-cli ") + TRANSCODA_VERSION + "\n";
    for (const std::string_view tool : {utilitymff, utilitympl, utilityoth}) {
        const std::string name(tool);
        const std::string answer = AskTool(helperFolder + name);
        text += (answer.empty() ? Localised("moteur inconnu (outil absent ou muet)", "engine unknown (tool missing or silent)")
                                : answer) +
                " (" + name + ")\n";
    }
    return text;
}

}  // namespace transcoda::cli
