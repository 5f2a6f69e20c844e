#include "exec/duration_probe.h"

#include <algorithm>
#include <string_view>

#include "exec/app_state.h"
#include "exec/log.h"
#include "exec/tool_output_reader.h"
#include "exec/probe_cache.h"
#include "exec/progress_display.h"
#include "exec/progress_handler.h"
#include "exec/run_tool.h"
#include "exec/tool_names.h"
#include "platform/command_line.h"

namespace transcoda {

namespace {

// What the reader would have read at most at once.
constexpr size_t kReadSize = 4096;

// The answer a probe tool gave earlier for the same, unchanged file, handed to the
// progress parsers as the reader hands them a run's output: in reads of at most 4096
// bytes that end at a line end, each turned into a chunk the same way. The display
// then returns to idle as after a run.
ToolOutcome ReplayAnswer(ConversionSession& session, const ProbeAnswer& answer) {
    AppState& app = App();
    ProgressHandler handler(session);
    std::string_view rest = answer.Output;
    while (!rest.empty()) {
        size_t size = std::min(rest.size(), kReadSize);
        if (size < rest.size()) {
            const size_t lineEnd = rest.substr(0, size).find_last_of("\r\n");
            if (lineEnd != std::string_view::npos) size = lineEnd + 1;
        }
        const std::string chunk = ChunkFromBytes(rest.data(), size);
        rest.remove_prefix(size);
        if (app.DebugMode) LogPlain("|||" + chunk + "|||");
        handler.HandleOutputChunk(chunk);
    }
    session.Display().SetTitle(kApplicationTitle);
    session.Display().Push();
    ResetProgressDisplay(session.Display());
    return ToolOutcome::Exit(answer.ExitCode, ParseStreamReport(answer.Output));
}

}  // namespace

ToolOutcome extractDuration(ConversionSession& session, const std::string& inputPath) {
    LogPlain("$*$*$*$ Extraction de la durée du fichier en entrée");
    // The probe names no output, so its tool always ends with an error status; that
    // says nothing about the conversion, whose last real run keeps its status.
    const int conversionStatus = session.LastExitStatus;
    ToolOutcome outcome;
    if (const auto answer = ProbeCache::OfThisInstance().Find(inputPath)) {
        LogPlain("--- Réponse déjà connue pour ce fichier inchangé, sans relancer l'outil");
        outcome = ReplayAnswer(session, *answer);
    } else {
        outcome = RunTool(session, App().HelperFolder() + std::string(utilitymffx) + " -i " + Q(inputPath));
    }
    session.LastExitStatus = conversionStatus;
    LogPlain("$*$*$*$ FIN Extraction de la durée du fichier en entrée dans extractDuration");
    return outcome;
}

}  // namespace transcoda
