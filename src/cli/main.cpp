// transcoda-cli: the terminal front end over the conversion worker.

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

#include "cli/cli_options.h"
#include "cli/cli_texts.h"
#include "cli/existing_outputs.h"
#include "cli/list_board.h"
#include "cli/list_file.h"
#include "cli/parallel_list.h"
#include "cli/program_version.h"
#include "cli/progress_records.h"
#include "cli/terminal_window.h"
#include "conversion/conversion_queue.h"
#include "conversion/items_at_once.h"
#include "conversion/worker.h"
#include "conversion/worker_roster.h"
#include "conversion/worker_texts.h"
#include "exec/app_state.h"
#include "exec/instance.h"
#include "exec/progress_display.h"
#include "exec/stop_signals.h"
#include "platform/desktop_language.h"
#include "platform/program_folder.h"
#include "recipes/format_catalogue.h"
#include "recipes/output_guard.h"

using namespace transcoda;
using namespace transcoda::cli;

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

void PrintFormats() {
    for (const FormatEntry& entry : FormatCatalogue())
        std::printf("%d\t%s\n", entry.Index, std::string(entry.Label).c_str());
}

// The first output that may not be written, as its message; empty when all may.
std::string RefusedOutput(const std::vector<ConversionRequest>& requests) {
    for (const auto& request : requests) {
        std::string refusal = OutputRefusal(request.OutputPath, request.FormatLabel);
        if (!refusal.empty()) return refusal;
    }
    return {};
}

// How the command tells its progress: the form of the progress line, and the JSON
// records with each item's place among them.
struct Reporting {
    LineForm Form = LineForm::Terminal;
    ProgressRecords* Records = nullptr;
    std::vector<size_t> RecordOf;
};

// The progress line as asked, or as standard output suits: rewritten in place on a
// terminal, plain lines elsewhere.
LineForm ChosenLineForm(const CliOptions& options) {
    if (options.Progress == ProgressForm::Json) return LineForm::Silent;
    if (options.Progress == ProgressForm::Plain) return LineForm::Plain;
    return isatty(STDOUT_FILENO) != 0 ? LineForm::Terminal : LineForm::Plain;
}

// The worker on the plan's requests, in this process, its progress drawn as it comes and
// its ending shown once it has ended; its outcomes. A stop signal, before or while it
// runs, stops it.
std::vector<RequestOutcome> RunHere(const Plan& plan, TerminalWindow& window, WorkerRoster& roster,
                                    const Reporting& reporting) {
    ConversionRequest request;
    request.Special = {plan.SyncDelay, plan.ExtractionStart, plan.ExtractionLength};
    ConversionJob job;
    if (plan.AsList) {
        ConversionQueue queue;
        for (const auto& r : plan.Requests) queue.Add(r.FormatLabel, r.InputPath, r.OutputPath);
        job = queue.ListJob(request.Special);
        job.OnItem = [&window](const ItemReport& report) { window.ShowItem(report); };
        window.SetQueue(std::move(queue));
    } else {
        const SpecialValues special = request.Special;
        request = plan.Requests.front();
        request.Special = special;
        window.PrintLine(CliItemLine("", request.InputPath, request.OutputPath));
        job = ConversionWorker::TakeJob("transformOnce", request);
    }
    auto worker = std::make_shared<ConversionWorker>(std::move(job));
    ProgressDisplay& display = worker->Session().Display();
    window.SetRecords(reporting.Records, reporting.RecordOf, [&worker] { return worker->Session().Timing().Figures(); });
    display.SetObserver([&window](const DisplayChange& change) { window.ShowDisplay(change); });
    roster.Add(worker);
    if (StopSignal() != 0) worker->Session().Stop();
    worker->Start({});
    worker->WaitForEnd(-1);
    ShowWorkerEnding(window, display, worker->Ending());
    window.EndLine();
    window.SetRecords(nullptr, {}, {});
    const std::vector<RequestOutcome> outcomes = worker->Outcomes();
    // A list's items are told as they end.
    if (reporting.Records != nullptr && !plan.AsList && !outcomes.empty())
        reporting.Records->Ended(reporting.RecordOf.front(), StatusAfter(outcomes.front()));
    return outcomes;
}

// The list, several items at once, each a session of this process. The board leaves
// the terminal before the messages that end the list.
std::vector<RequestOutcome> RunInParallel(const Plan& plan, int itemsAtOnce, WorkerRoster& roster,
                                          const Reporting& reporting) {
    ParallelList list;
    list.Requests = plan.Requests;
    list.ItemsAtOnce = itemsAtOnce;
    list.Stopped = [] { return StopSignal() != 0; };
    list.Roster = &roster;
    list.Records = reporting.Records;
    list.RecordOf = reporting.RecordOf;
    ListBoard board(stdout, stderr);
    if (reporting.Records != nullptr) board.KeepOffStdout();
    const ParallelListResult result = RunParallelList(list, board);
    board.Close();
    for (const std::string& message : result.Messages) std::fprintf(stderr, "%s\n", message.c_str());
    std::fprintf(stderr, "%s", IndentedDetails(result.FailureDetails).c_str());
    return result.Outcomes;
}

// The options of the command line; the language is taken from them before any message.
// The exit status when the command ends here (a usage error, --help, --version, --formats).
std::optional<int> ReadOptions(int argc, char** argv, CliOptions& options) {
    App().CurrentLanguage = options.Language = StartLanguage();
    const std::string error = ParseArguments(std::vector<std::string>(argv + 1, argv + argc), options);
    App().CurrentLanguage = options.Language;
    if (!error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return kExitUsage;
    }
    if (options.Help) {
        std::fputs(CliUsageText().c_str(), stdout);
        return 0;
    }
    if (options.Version) {
        std::fputs(VersionText(App().ProgramFolder + "B/").c_str(), stdout);
        return 0;
    }
    if (options.ListFormats) {
        PrintFormats();
        return 0;
    }
    App().DebugMode = options.Debug;
    return std::nullopt;
}

// A shard with nothing to do: told, and no failure. With JSON progress, standard output
// carries only the list's record.
int EmptyShard(const CliOptions& options) {
    const bool json = options.Progress == ProgressForm::Json;
    std::fprintf(json ? stderr : stdout, "%s\n%s\n", CliEmptyShardText(options.ShardIndex, options.ShardCount).c_str(),
                 CliSummaryText(0, 0).c_str());
    if (json) ProgressRecords(stdout, {}).Finish(false, "");
    return 0;
}

// The plan of the requests asked, on the command line or in the list file, only this
// shard's share of them. The exit status when the command ends here (a wrong request, an
// output that may not be written, an empty shard).
std::optional<int> PlanRequests(const CliOptions& options, Plan& plan) {
    std::vector<CliJob> jobs = options.Jobs;
    std::string error;
    const bool fromFile = !options.ListFile.empty();
    if (fromFile) {
        std::string text;
        error = ReadListFile(options.ListFile, text);
        if (error.empty()) error = ParseListText(text, options.ListFile, jobs);
    }
    const bool asList = fromFile || jobs.size() > 1;
    if (error.empty() && options.ShardCount > 0) {
        jobs = SelectShard(jobs, options.ShardIndex, options.ShardCount);
        // A list shorter than the number of shards leaves some of them empty.
        if (jobs.empty()) return EmptyShard(options);
    }
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
    return std::nullopt;
}

// The place of the request writing `output` in `requests`.
size_t PlaceOfOutput(const std::vector<ConversionRequest>& requests, const std::string& output) {
    size_t place = 0;
    while (place < requests.size() && requests[place].OutputPath != output) ++place;
    return place;
}

// An output that exists already is replaced only when the user says so. Leaves
// in the plan only the requests to run and counts in kept the outputs kept as they are;
// the records hear what became of the others. The exit status when a stop signal came
// meanwhile.
std::optional<int> SortExisting(const CliOptions& options, Plan& plan, int& kept, ProgressRecords* records) {
    const ExistingOutputs existing = SortExistingOutputs(
        plan.Requests, options.Existing, TerminalReplaceQuestion([] { return StopSignal() != 0; }));
    if (StopSignal() != 0) {
        std::fprintf(stderr, "\n%s\n", CliStoppedText().c_str());
        return 128 + StopSignal();
    }
    for (const std::string& output : existing.KeptOutputs) {
        std::fprintf(stderr, "%s\n", CliKeptOutputText(output).c_str());
        if (records != nullptr) records->Kept(PlaceOfOutput(plan.Requests, output));
    }
    for (const std::string& output : existing.RefusedOutputs) {
        const std::string refusal = CliExistingOutputRefusedText(output);
        std::fprintf(stderr, "%s\n", refusal.c_str());
        if (records != nullptr)
            records->Ended(PlaceOfOutput(plan.Requests, output), {ItemStatus::State::Failed, -1, refusal});
    }
    kept = static_cast<int>(existing.KeptOutputs.size());
    plan.Requests = existing.ToRun;
    return std::nullopt;
}

// How many items of the plan run at once: several only for a list; then as asked with
// --jobs (or one per core), within the free memory.
int ItemsAtOnceFor(const Plan& plan, const CliOptions& options) {
    if (!plan.AsList) return 1;
    const ItemsAtOnce chosen = ChooseItemsAtOnce(options.JobsAtOnce, static_cast<int>(plan.Requests.size()), AvailableCores(), AvailableMemoryBytes());
    if (chosen.CappedByMemory && options.JobsAtOnce > chosen.Count)
        std::fprintf(stderr, "%s\n", CliJobsCappedText(options.JobsAtOnce, chosen.Count).c_str());
    // A list whose items feed one another keeps its order.
    return ItemsDependOnEachOther(plan.Requests) ? 1 : chosen.Count;
}

// The command's last words: stopped, or how many outputs were written out of all asked
// (on standard error when one is missing, or when standard output carries JSON records).
int EndCommand(const std::vector<RequestOutcome>& outcomes, int kept, int total, bool json) {
    // A stopped request has already removed what it was writing; the old output stays.
    if (StopSignal() != 0) {
        std::fprintf(stderr, "%s\n", CliStoppedText().c_str());
        return 128 + StopSignal();
    }
    int written = 0;
    for (const auto& outcome : outcomes)
        if (outcome.Outcome == RequestOutcome::Result::Written) ++written;
    // An output kept with -n (or by the answer No) is there as the user wants it.
    const bool whole = written + kept == total;
    std::fprintf(whole && !json ? stdout : stderr, "%s\n", CliSummaryText(written, total).c_str());
    return whole ? 0 : kExitFailed;
}

// The plan carried out, from the outputs that exist already to its summary; the exit
// status.
int ConvertPlan(const CliOptions& options, Plan& plan, WorkerRoster& roster, ProgressRecords* records) {
    const int total = static_cast<int>(plan.Requests.size());
    const std::vector<ConversionRequest> all = plan.Requests;
    int kept = 0;
    if (const auto status = SortExisting(options, plan, kept, records)) return *status;
    Reporting reporting{ChosenLineForm(options), records, {}};
    for (const ConversionRequest& request : plan.Requests) reporting.RecordOf.push_back(PlaceOfOutput(all, request.OutputPath));

    std::vector<RequestOutcome> outcomes;
    const int itemsAtOnce = ItemsAtOnceFor(plan, options);
    if (plan.Requests.empty()) {
        // Nothing left to convert.
    } else if (itemsAtOnce > 1) {
        outcomes = RunInParallel(plan, itemsAtOnce, roster, reporting);
    } else {
        TerminalWindow window(stdout, stderr);
        window.SetLineForm(reporting.Form);
        AttachWindow(&window);
        outcomes = RunHere(plan, window, roster, reporting);
        AttachWindow(nullptr);
    }
    return EndCommand(outcomes, kept, total, records != nullptr);
}

// The command line carried out, from its options to its summary; the exit status.
int RunCommand(int argc, char** argv, WorkerRoster& roster) {
    CliOptions options;
    if (const auto status = ReadOptions(argc, argv, options)) return *status;
    Plan plan;
    if (const auto status = PlanRequests(options, plan)) return *status;
    // JSON progress: every item is named before anything runs, and the list's result
    // comes last.
    std::unique_ptr<ProgressRecords> records;
    if (options.Progress == ProgressForm::Json) records = std::make_unique<ProgressRecords>(stdout, plan.Requests);
    if (records) records->Begin();
    const int status = ConvertPlan(options, plan, roster, records.get());
    if (records) records->Finish(StopSignal() != 0, CliNotStartedText());
    return status;
}

// Whatever went to standard output must have reached it: a full disk or a closed pipe
// there fails the command (a closed pipe quietly: its reader has gone).
int CheckStandardOutput(int status) {
    errno = 0;
    if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0) return status;
    if (errno != EPIPE) std::fprintf(stderr, "%s\n", CliStdoutFailedText(std::strerror(errno != 0 ? errno : EIO)).c_str());
    return status == 0 ? kExitFailed : status;
}

}  // namespace

int main(int argc, char** argv) {
    // Before anything: a stop signal from now on stops the conversion and cleans up.
    CatchStopSignals();
    std::signal(SIGPIPE, SIG_IGN);
    InstanceScope instance;
    // The signal's thread may outlive main: it shares the roster.
    const auto roster = std::make_shared<WorkerRoster>();
    WatchStopSignals([roster](int) { roster->StopAll(); });
    App().ProgramFolder = ExecutableFolder();
    return CheckStandardOutput(RunCommand(argc, argv, *roster));
}
