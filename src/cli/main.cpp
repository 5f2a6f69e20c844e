// transcoda-cli: the terminal front end over the conversion worker.

#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "cli/cli_options.h"
#include "cli/cli_texts.h"
#include "cli/terminal_window.h"
#include "conversion/worker.h"
#include "exec/app_state.h"
#include "exec/instance.h"
#include "exec/progress_display.h"
#include "platform/program_folder.h"
#include "recipes/format_catalogue.h"
#include "recipes/output_guard.h"

using namespace transcoda;
using namespace transcoda::cli;

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

volatile std::sig_atomic_t gStopSignal = 0;
static_assert(std::atomic<bool>::is_always_lock_free);

// Ctrl-C is the Stop of the window: clearing ConversionRunning makes the process runner
// end the running tool (with its whole process group) within 100 ms, the recipe skip its
// remaining steps and delete its intermediates, and the worker end. Tools are not ended
// by name here: other conversions may be running on the same machine.
void OnStopSignal(int signal) {
    gStopSignal = signal;
    App().ConversionRunning.store(false);
}

void InstallStopHandlers() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    // A second Ctrl-C ends the program the usual way, should the stop ever hang.
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

void PrintFormats() {
    for (const FormatEntry& entry : FormatCatalogue())
        std::printf("%d\t%s\n", entry.Index, std::string(entry.Label).c_str());
}

bool ReadFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return true;
}

// The first output that may not be written, as its message; empty when all may.
std::string RefusedOutput(const std::vector<ConversionRequest>& requests) {
    for (const auto& request : requests) {
        std::string refusal = OutputRefusal(request.OutputPath, request.FormatLabel);
        if (!refusal.empty()) return refusal;
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    InstanceScope instance;
    AppState& app = App();
    app.ProgramFolder = ExecutableFolder();

    CliOptions options;
    std::string error = ParseArguments(std::vector<std::string>(argv + 1, argv + argc), options);
    app.CurrentLanguage = options.Language;
    if (!error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return kExitUsage;
    }
    if (options.Help) {
        std::fputs(CliUsageText().c_str(), stdout);
        return 0;
    }
    if (options.ListFormats) {
        PrintFormats();
        return 0;
    }
    app.DebugMode = options.Debug;

    std::vector<CliJob> jobs = options.Jobs;
    const bool fromFile = !options.ListFile.empty();
    if (fromFile) {
        std::string text;
        if (!ReadFile(options.ListFile, text)) error = CliListFileText(options.ListFile);
        else error = ParseListText(text, options.ListFile, jobs);
    }
    Plan plan;
    if (error.empty()) error = MakePlan(options, jobs, fromFile || jobs.size() > 1, plan);
    if (!error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return error == CliZeroLagText() ? kExitFailed : kExitUsage;
    }
    // An output that may not be written stops the whole command before anything runs.
    if (const std::string refusal = RefusedOutput(plan.Requests); !refusal.empty()) {
        std::fprintf(stderr, "%s\n", refusal.c_str());
        return kExitFailed;
    }

    TerminalWindow window(stdout, stderr);
    AttachWindow(&window);
    app.SyncDelay = plan.SyncDelay;
    app.ExtractionStart = plan.ExtractionStart;
    app.ExtractionLength = plan.ExtractionLength;
    if (plan.AsList) {
        std::vector<std::array<std::string, 3>> rows;
        for (const auto& r : plan.Requests) rows.push_back({r.FormatLabel, r.InputPath, r.OutputPath});
        window.SetRows(std::move(rows));
        app.WorkerCommand = "transformList";
    } else {
        app.Request = plan.Requests.front();
        window.PrintLine(CliItemLine("", app.Request.InputPath, app.Request.OutputPath));
        app.WorkerCommand = "transformOnce";
    }

    // Running before the handlers exist, so that a Ctrl-C from now on is never undone.
    app.ConversionRunning = true;
    InstallStopHandlers();
    MonThread::Start();
    MonThread::WaitForEnd(-1);
    window.EndLine();

    // A stopped request has already removed what it was writing; the old output stays.
    const auto outcomes = MonThread::Outcomes();
    if (gStopSignal != 0) {
        std::fprintf(stderr, "%s\n", CliStoppedText().c_str());
        return 128 + static_cast<int>(gStopSignal);
    }
    int written = 0;
    for (const auto& outcome : outcomes)
        if (outcome.Outcome == RequestOutcome::Result::Written) ++written;
    const int total = static_cast<int>(plan.Requests.size());
    std::fprintf(written == total ? stdout : stderr, "%s\n", CliSummaryText(written, total).c_str());
    return written == total ? 0 : kExitFailed;
}
