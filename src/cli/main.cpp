// transcoda-cli: the terminal front end over the conversion worker.

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli_options.h"
#include "cli/cli_texts.h"
#include "cli/item_outcome.h"
#include "cli/items_at_once.h"
#include "cli/list_board.h"
#include "cli/parallel_list.h"
#include "cli/terminal_window.h"
#include "conversion/worker.h"
#include "conversion/worker_texts.h"
#include "exec/app_state.h"
#include "exec/instance.h"
#include "exec/progress_display.h"
#include "platform/instance_mark.h"
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
// remaining steps and delete its intermediates, and the worker end; a list converted
// several items at once asks each running item to stop the same way. Tools are not
// ended by name here: other conversions may be running on the same machine.
void OnStopSignal(int signal) {
    gStopSignal = signal;
    App().ConversionRunning.store(false);
}

sigset_t StopSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
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
    // An item's process held its stop signals back until now (see BecomeListItem).
    const sigset_t stop = StopSignals();
    sigprocmask(SIG_UNBLOCK, &stop, nullptr);
}

// An item of a list converted several at once is asked to stop by the process running
// the list. Its stop signals wait until the handlers that clean up are in place, so that
// none ends it between the making of its work folder and their installation; and it
// stops the same way when that process dies, whatever kills it. False when that process
// has already gone.
bool BecomeListItem() {
    const sigset_t stop = StopSignals();
    sigprocmask(SIG_BLOCK, &stop, nullptr);
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    const char* mark = std::getenv(kInstanceVariable);
    const auto parent = mark != nullptr ? ParseInstanceMark(mark) : std::nullopt;
    return !parent || getppid() == parent->Pid;
}

bool IsListItem(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--outcome") == 0) return true;
    return false;
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

// This program's own file, started again for each item of a list converted several at
// once; empty when it cannot be told.
std::string ThisProgram() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

// The worker on the plan's requests, in this process; its outcomes.
std::vector<RequestOutcome> RunHere(const Plan& plan, TerminalWindow& window, bool listItem) {
    AppState& app = App();
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
        // The process running the list has shown the item's line already.
        if (!listItem) window.PrintLine(CliItemLine("", app.Request.InputPath, app.Request.OutputPath));
        app.WorkerCommand = "transformOnce";
    }
    // Running before the handlers exist, so that a Ctrl-C from now on is never undone.
    app.ConversionRunning = true;
    InstallStopHandlers();
    MonThread::Start();
    MonThread::WaitForEnd(-1);
    window.EndLine();
    return MonThread::Outcomes();
}

// The list, several items at once, each in a process of its own. The board leaves the
// terminal before the messages that end the list.
std::vector<RequestOutcome> RunInParallel(const Plan& plan, const CliOptions& options, int itemsAtOnce,
                                          const std::string& program) {
    ParallelList list;
    list.Requests = plan.Requests;
    list.ItemsAtOnce = itemsAtOnce;
    list.Program = program;
    list.Language = App().CurrentLanguage;
    list.Debug = options.Debug;
    list.OutcomeFolder = App().WorkFolder;
    ListBoard board(stdout, stderr);
    App().ConversionRunning = true;
    InstallStopHandlers();
    const ParallelListResult result = RunParallelList(list, board);
    App().ConversionRunning = false;
    board.Close();
    for (const std::string& message : result.Messages) std::fprintf(stderr, "%s\n", message.c_str());
    std::fprintf(stderr, "%s", IndentedDetails(result.FailureDetails).c_str());
    return result.Outcomes;
}

// An item's process tells the process running the list what became of its request; its
// failure is told there, in the summary of the list, not by itself.
void TellOutcome(const CliOptions& options, const std::vector<RequestOutcome>& outcomes,
                 const std::vector<std::string>& messages) {
    ItemOutcome told{gStopSignal != 0 ? RequestOutcome::Result::Stopped : RequestOutcome::Result::Failed, {}};
    if (!outcomes.empty()) told = {outcomes.front().Outcome, outcomes.front().Reason, outcomes.front().Details};
    for (const std::string& message : messages) {
        if (told.Result == RequestOutcome::Result::Failed &&
            message == ConversionFailedText(outcomes.front().Request.InputPath, told.Reason,
                                                    !outcomes.front().Details.empty()))
            continue;
        if (told.Result == RequestOutcome::Result::FolderError && message == told.Reason) continue;
        std::fprintf(stderr, "%s\n", message.c_str());
    }
    WriteItemOutcome(options.OutcomeFile, told);
}

}  // namespace

int main(int argc, char** argv) {
    const bool listItem = IsListItem(argc, argv);
    if (listItem && !BecomeListItem()) return 128 + SIGTERM;
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
    const bool asList = fromFile || jobs.size() > 1;
    if (error.empty() && options.ShardCount > 0) {
        jobs = SelectShard(jobs, options.ShardIndex, options.ShardCount);
        // A list shorter than the number of shards leaves some of them empty: nothing
        // to do there is no failure.
        if (jobs.empty()) {
            std::printf("%s\n%s\n", CliEmptyShardText(options.ShardIndex, options.ShardCount).c_str(),
                        CliSummaryText(0, 0).c_str());
            return 0;
        }
    }
    Plan plan;
    if (error.empty()) error = MakePlan(options, jobs, asList, plan);
    if (!error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return error == CliZeroLagText() ? kExitFailed : kExitUsage;
    }
    // An output that may not be written stops the whole command before anything runs.
    if (const std::string refusal = RefusedOutput(plan.Requests); !refusal.empty()) {
        std::fprintf(stderr, "%s\n", refusal.c_str());
        return kExitFailed;
    }

    const int total = static_cast<int>(plan.Requests.size());
    std::vector<RequestOutcome> outcomes;
    int itemsAtOnce = 1;
    const std::string program = ThisProgram();
    if (plan.AsList && !listItem && !app.WorkFolder.empty() && !program.empty()) {
        const ItemsAtOnce chosen = ChooseItemsAtOnce(options.JobsAtOnce, total, AvailableCores(), AvailableMemoryBytes());
        if (chosen.CappedByMemory && options.JobsAtOnce > chosen.Count)
            std::fprintf(stderr, "%s\n", CliJobsCappedText(options.JobsAtOnce, chosen.Count).c_str());
        // A list whose items feed one another keeps its order.
        itemsAtOnce = ItemsDependOnEachOther(plan.Requests) ? 1 : chosen.Count;
    }
    if (itemsAtOnce > 1) {
        outcomes = RunInParallel(plan, options, itemsAtOnce, program);
    } else {
        TerminalWindow window(stdout, stderr);
        if (listItem) window.HoldMessages();
        AttachWindow(&window);
        outcomes = RunHere(plan, window, listItem);
        if (listItem) {
            TellOutcome(options, outcomes, window.HeldMessages());
            if (gStopSignal != 0) return 128 + static_cast<int>(gStopSignal);
            const bool written = !outcomes.empty() && outcomes.front().Outcome == RequestOutcome::Result::Written;
            return written ? 0 : kExitFailed;
        }
    }

    // A stopped request has already removed what it was writing; the old output stays.
    if (gStopSignal != 0) {
        std::fprintf(stderr, "%s\n", CliStoppedText().c_str());
        return 128 + static_cast<int>(gStopSignal);
    }
    int written = 0;
    for (const auto& outcome : outcomes)
        if (outcome.Outcome == RequestOutcome::Result::Written) ++written;
    std::fprintf(written == total ? stdout : stderr, "%s\n", CliSummaryText(written, total).c_str());
    return written == total ? 0 : kExitFailed;
}
