#include "cli/existing_outputs.h"

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>

#include "cli/cli_texts.h"
#include "conversion/request_checks.h"
#include "recipes/format_catalogue.h"

namespace transcoda::cli {

bool OutputExists(const ConversionRequest& request) {
    if (IsDvdFormat(request.FormatLabel)) return !FolderIsUsable(request.OutputPath);
    struct stat st;
    return lstat(request.OutputPath.c_str(), &st) == 0;
}

ExistingOutputs SortExistingOutputs(const std::vector<ConversionRequest>& requests, ExistingOutput choice,
                                    const ReplaceQuestion& ask) {
    ExistingOutputs sorted;
    for (const ConversionRequest& request : requests) {
        bool run = choice == ExistingOutput::Replace || !OutputExists(request);
        if (!run && choice == ExistingOutput::Ask && !ask) {
            sorted.RefusedOutputs.push_back(request.OutputPath);
            continue;
        }
        if (!run && choice == ExistingOutput::Ask) run = ask(request.OutputPath);
        if (run) sorted.ToRun.push_back(request);
        else sorted.KeptOutputs.push_back(request.OutputPath);
    }
    return sorted;
}

ReplaceQuestion TerminalReplaceQuestion(std::function<bool()> stopped) {
    if (!isatty(STDIN_FILENO)) return {};
    return [stopped = std::move(stopped)](const std::string& output) {
        std::fprintf(stderr, "%s ", CliReplaceQuestionText(output).c_str());
        std::fflush(stderr);
        std::string answer;
        for (;;) {
            // Waited for in short turns, so that a stop signal is seen at once.
            if (stopped()) return false;
            pollfd p{STDIN_FILENO, POLLIN, 0};
            const int ready = poll(&p, 1, 100);
            if (ready < 0 && errno != EINTR) return false;
            if (ready <= 0) continue;
            char c;
            const ssize_t n = read(STDIN_FILENO, &c, 1);
            if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
            if (n <= 0 || c == '\n') break;
            answer += c;
        }
        const char first = answer.empty() ? 'n' : static_cast<char>(std::tolower(static_cast<unsigned char>(answer[0])));
        return first == 'y' || first == 'o';
    };
}

}  // namespace transcoda::cli
