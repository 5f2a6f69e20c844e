// The conversion worker with the real dispatcher and a fake runner that records every
// command line and plays the tools: it writes the outputs it is told to and leaves the
// exit status it is told to.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

#include "conversion/conversion_queue.h"
#include "conversion/reason_language.h"
#include "conversion/worker.h"
#include "exec/app_state.h"
#include "exec/pending_outputs.h"
#include "exec/progress_display.h"
#include "exec/run_tool.h"
#include "platform/command_line.h"
#include "recipes/format_catalogue.h"
#include "recipes/full_disk.h"
#include "recipes/step_outcome.h"
#include "support/fake_runs.h"
#include "support/recording_window.h"

namespace transcoda {
namespace {

namespace fs = std::filesystem;
using Result = RequestOutcome::Result;

class FailingRestoreWindow : public testing::RecordingWindow {
public:
    bool RestoreConvertButton(bool forList) override {
        testing::RecordingWindow::RestoreConvertButton(forList);
        return false;
    }
};

// One request as the fake tools should treat it.
struct FakeItem {
    std::string label;
    std::string input;
    std::string output;
    int status = 0;          // exit status of every tool run that names the input
    bool writes = true;      // whether the output gets written (and read back by its tool)
    bool stopsHere = false;  // Stop pressed while its first tool runs
};

class WorkerTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("transcoda-worker-" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder / "B");
        fs::create_directories(folder / "out");
        AppState& app = App();
        app.ProgramFolder = folder.string() + "/";
        app.CurrentLanguage = "FR";
        app.DebugMode = true;
        ResetWindow();
    }
    void TearDown() override {
        App().Window = nullptr;
        App().DebugMode = false;
        fs::remove_all(folder);
    }

    std::string Out(const std::string& name) { return (folder / "out" / name).string(); }
    std::string In(const std::string& name) { return (folder / name).string(); }

    static std::string Label(int index) { return FormatLabel(index); }

    FakeItem Item(const std::string& name, int index = 3) {
        return {Label(index), In(name + ".avi"), Out(name + ".mpeg")};
    }

    // Plays the tools: a run that names an item's input ends with the item's status
    // (a probe always describes a good clip) and writes the temporary output it names.
    ToolOutcome FakeRun(ConversionSession& session, const std::string& line) {
        if (onRun) onRun(line);
        // A list of several items at once plays its items' tools side by side.
        std::lock_guard lock(fakeMutex);
        runs.push_back(line);
        counters.push_back(session.Progress.ItemCounterText);
        ToolOutcome outcome = testing::FakeSuccess(line);
        if (testing::IsProbeLine(line)) return outcome;
        bool writes = true;
        for (FakeItem& item : items) {
            if (line.find("\"" + item.input + "\"") == std::string::npos) continue;
            if (item.stopsHere) {
                item.stopsHere = false;
                session.Stop();
                return ToolOutcome::Stop();
            }
            ToolOutcome failed = item.status > 128 ? ToolOutcome::Kill(item.status - 128) : ToolOutcome::Exit(item.status);
            failed.LastLines = {"engine: " + item.output, "Conversion failed!"};
            if (item.status != 0) return failed;
            writes = item.writes;
        }
        if (!writes) outcome.Report.reset();  // the tool said nothing of a file it did not write
        for (const std::string& arg : SplitCommandLine(line))
            if (writes && IsTemporaryOutputName(arg)) std::ofstream(arg) << "media";
        return outcome;
    }

    void RunList(const std::vector<FakeItem>& list, int atOnce = 1) {
        items = list;
        ConversionQueue queue;
        for (const auto& item : list) queue.Add(item.label, item.input, item.output);
        ConversionJob job = queue.ListJob({});
        job.ItemsAtOnce = atOnce;
        Run(std::move(job));
    }
    void RunOnce(const FakeItem& item) {
        items = {item};
        request = {item.input, item.output, item.label};
        Run("transformOnce");
    }
    // A worker for the job whose session plays the tools and is drawn in the window.
    std::shared_ptr<ConversionWorker> MakeWorker(const std::string& command) {
        return MakeWorker(ConversionWorker::TakeJob(command, request));
    }
    std::shared_ptr<ConversionWorker> MakeWorker(ConversionJob job) {
        reports.clear();
        job.OnItem = [this](const ItemReport& report) {
            reports.push_back(report);
            if (report.Status.Kind == ItemStatus::State::Failed) ++failedItems;
        };
        auto made = std::make_shared<ConversionWorker>(std::move(job));
        ConversionSession& session = made->Session();
        session.SetRunToolHook([this, &session](const std::string& line) { return FakeRun(session, line); });
        if (auto* recording = dynamic_cast<testing::RecordingWindow*>(App().Window)) recording->Follow(session);
        return made;
    }
    // The body on this thread, then its ending shown as the window shows it.
    void Run(const std::string& command) { Run(ConversionWorker::TakeJob(command, request)); }
    void Run(ConversionJob job) {
        worker = MakeWorker(std::move(job));
        worker->Execute();
        ShowEnding();
    }
    void ShowEnding() { ShowWorkerEnding(*App().Window, worker->Session().Display(), worker->Ending()); }
    // Each reported row with the status it was left in, in the order the rows began;
    // every row must first have been told converting.
    std::vector<std::string> ItemEnds() {
        std::vector<std::string> ends;
        std::vector<long long> rows;
        for (const ItemReport& report : reports) {
            auto at = std::find(rows.begin(), rows.end(), report.Item);
            const std::string text = std::to_string(report.Item) + ":" + ItemStatusText(report.Status);
            if (at == rows.end()) {
                EXPECT_EQ(report.Status.Kind, ItemStatus::State::Converting) << text;
                rows.push_back(report.Item);
                ends.push_back(text);
            } else {
                ends[static_cast<size_t>(at - rows.begin())] = text;
            }
        }
        return ends;
    }

    // The items that began (told converting), in order.
    std::vector<std::string> Began() {
        std::vector<std::string> began;
        for (const std::string& end : ItemEnds()) began.push_back(end.substr(0, end.find(':')));
        return began;
    }

    // The runs that name an input.
    int RunsOf(const std::string& input) {
        int n = 0;
        for (const auto& line : runs) n += line.find("\"" + input + "\"") != std::string::npos;
        return n;
    }

    void ExpectIdle(const std::string& restored) {
        EXPECT_EQ(win->restored, restored);
        EXPECT_EQ(win->status, "Prêt");
        EXPECT_EQ(win->progress, "");
        EXPECT_EQ(win->bar, 0);
    }

    std::vector<Result> Results() {
        std::vector<Result> out;
        for (const auto& o : worker->Outcomes()) out.push_back(o.Outcome);
        return out;
    }

    fs::path folder;
    void ResetWindow() {
        win = std::make_unique<testing::RecordingWindow>();
        AttachWindow(win.get());
    }
    std::unique_ptr<testing::RecordingWindow> win;
    std::vector<FakeItem> items;
    std::vector<std::string> runs, counters;
    std::function<void(const std::string&)> onRun;
    std::mutex fakeMutex;
    std::atomic<int> failedItems{0};
    std::vector<ItemReport> reports;
    ConversionRequest request;
    std::shared_ptr<ConversionWorker> worker;
};

TEST_F(WorkerTest, ListOfThreeCountsSelectsAndConvertsEveryRow) {
    RunList({Item("a"), Item("b"), Item("c")});

    EXPECT_EQ(Began(), (std::vector<std::string>{"1", "2", "3"}));
    std::set<std::string> seen(counters.begin(), counters.end());
    EXPECT_EQ(seen, (std::set<std::string>{"(1/3)", "(2/3)", "(3/3)"}));
    // Each item's runs carry its own counter.
    for (size_t i = 0; i < runs.size(); ++i) {
        const char* expected = runs[i].find("a.avi") != std::string::npos   ? "(1/3)"
                               : runs[i].find("b.avi") != std::string::npos ? "(2/3)"
                                                                            : "(3/3)";
        EXPECT_EQ(counters[i], expected) << runs[i];
    }
    EXPECT_EQ(Results(), (std::vector<Result>{Result::Written, Result::Written, Result::Written}));
    EXPECT_EQ(ItemEnds(), (std::vector<std::string>{"1:terminé", "2:terminé", "3:terminé"}));
    EXPECT_TRUE(win->messages.empty());
    ExpectIdle("list");
    ASSERT_FALSE(win->log.empty());
    EXPECT_EQ(win->log.front(), "** 01/02/2026 à 10:11:12 -- Début d'exécution du TH pour la conversion");
    EXPECT_EQ(win->log.back(), "** 01/02/2026 à 10:11:12 -- Fin d'exécution du TH pour la conversion");
}

// A finished list run again and stopped in its second item: the first output is the
// new one, the second and third keep their earlier content, the third never starts.
TEST_F(WorkerTest, StopDuringSecondItemLeavesTheThirdUnstartedAndEarlierOutputsWhole) {
    FakeItem second = Item("b");
    second.stopsHere = true;
    FakeItem third = Item("c");
    for (const FakeItem& item : {Item("a"), second, third}) std::ofstream(item.output) << "earlier run";
    RunList({Item("a"), second, third});

    EXPECT_EQ(Began(), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(RunsOf(third.input), 0);
    EXPECT_EQ(Results(), (std::vector<Result>{Result::Written, Result::Stopped}));
    EXPECT_EQ(ItemEnds(), (std::vector<std::string>{"1:terminé", "2:arrêté"}));
    EXPECT_TRUE(win->messages.empty()) << "a stop is not a failure";
    auto contents = [](const std::string& path) {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_EQ(contents(Item("a").output), "media");
    EXPECT_EQ(contents(second.output), "earlier run");
    EXPECT_EQ(contents(third.output), "earlier run");
    ExpectIdle("list");
}

// The worker converts the request as it was when it started: the window may change its
// fields, pickers and special values meanwhile (here a thread rewriting the request it
// handed over all the time, which the thread checker watches in the checked builds).
TEST_F(WorkerTest, TheRunReadsItsOwnCopyWhateverTheWindowWritesMeanwhile) {
    FakeItem item = Item("own", 0);  // the HD recipe: several steps, each reading the request
    items = {item};
    request = {item.input, item.output, item.label};
    std::atomic<int> writes{0};
    std::atomic<bool> done{false};
    onRun = [&](const std::string&) {
        // Each run waits until the window has changed everything a few times over.
        const int target = writes.load() + 50;
        for (int i = 0; i < 2000 && writes.load() < target; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    worker = MakeWorker("transformOnce");
    worker->Start({});
    std::thread window([&] {
        for (int i = 0; !done.load(); ++i) {
            request = {"/elsewhere/in" + std::to_string(i) + ".avi", "/elsewhere/out.mpeg", Label(3),
                             {"1.25", "00:00:01", kNoExtractionValue}};
            ++writes;
            std::this_thread::yield();
        }
    });
    const bool ended = worker->WaitForEnd(30000);
    done = true;
    window.join();
    ASSERT_TRUE(ended);
    ShowEnding();
    ASSERT_GT(runs.size(), 4u);
    for (const std::string& line : runs) EXPECT_EQ(line.find("/elsewhere/"), std::string::npos) << line;
    EXPECT_EQ(Results(), std::vector<Result>{Result::Written});
    EXPECT_EQ(worker->Outcomes().front().Request.OutputPath, item.output);
    EXPECT_EQ(win->restored, "once");
}

TEST_F(WorkerTest, EmptyListReturnsToIdleAtOnce) {
    RunList({});
    EXPECT_TRUE(runs.empty());
    EXPECT_TRUE(Began().empty());
    EXPECT_TRUE(win->messages.empty());
    EXPECT_EQ(worker->Session().Progress.ItemCounterText, "");
    ExpectIdle("list");
}

TEST_F(WorkerTest, UnknownLabelIsRefusedAndTheListGoesOn) {
    FakeItem unknown = Item("b");
    unknown.label = "Video MPEG - MPEG 640x480 (4200 kbps); Audio (128kbps)";  // no leading blank
    FakeItem third = Item("c");
    RunList({Item("a"), unknown, third});

    EXPECT_EQ(RunsOf(unknown.input), 0);
    EXPECT_GT(RunsOf(third.input), 0);
    EXPECT_EQ(Results(), (std::vector<Result>{Result::Written, Result::Refused, Result::Written}));
    EXPECT_EQ(ItemEnds(), (std::vector<std::string>{"1:terminé", "2:échec : le fichier ou le format n'est pas pris en charge",
                                                    "3:terminé"}));
    ASSERT_EQ(win->messages.size(), 1u) << "only the dispatcher's own message, no failure summary";
    EXPECT_NE(win->messages[0].find("Le format cible n'est pas encore supporté"), std::string::npos);
    ExpectIdle("list");
}

// An output folder that cannot be created (its parent is a file) ends the work
// normally: message, error line, window idle, and no later item of a list.
TEST_F(WorkerTest, FolderErrorIsShownLoggedAndEndsTheWorkNormally) {
    std::ofstream(Out("plain-file")) << "x";
    // 0: the single request; else a list, that many items at once.
    for (const int atOnce : {0, 1, 2}) {
        const bool list = atOnce > 0;
        SCOPED_TRACE(atOnce);
        ResetWindow();
        runs.clear();
        FakeItem blocked = Item("b");
        blocked.output = Out("plain-file") + "/sub/b.mpeg";
        FakeItem third = Item("c");
        // Two at once: the first item's tool runs until the second has failed, so that no
        // place is free for the third before the folder error is known.
        failedItems = 0;
        onRun = [&](const std::string& line) {
            if (atOnce < 2 || line.find(Item("a").input) == std::string::npos) return;
            for (int i = 0; i < 5000 && failedItems == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        };
        if (list) RunList({Item("a"), blocked, third}, atOnce);
        else RunOnce(blocked);
        onRun = {};

        ASSERT_EQ(win->messages.size(), 1u);
        EXPECT_EQ(win->messages[0], "Impossible de créer le répertoire associé au fichier de sortie");
        bool logged = false;
        for (const auto& line : win->log)
            logged |= line == ">> 01/02/2026 à 10:11:12 -- Impossible de créer le répertoire associé au fichier de sortie";
        EXPECT_TRUE(logged);
        EXPECT_EQ(RunsOf(third.input), 0);
        EXPECT_EQ(worker->Outcomes().back().Outcome, Result::FolderError);
        if (list) {
            EXPECT_EQ(ItemEnds(), (std::vector<std::string>{
                                      "1:terminé", "2:échec : Impossible de créer le répertoire associé au fichier de sortie"}));
        }
        ExpectIdle(list ? "list" : "once");
        // The message comes once the window is idle again.
        auto calls = win->calls;
        auto restore = std::find_if(calls.begin(), calls.end(), [](auto& c) { return c.op == "restore"; });
        auto message = std::find_if(calls.begin(), calls.end(), [](auto& c) { return c.op == "message"; });
        EXPECT_LT(restore - calls.begin(), message - calls.begin());
    }
}

// A request succeeds only when its tools ended well and its output was read back; the
// message of a failure names the step and why; an old output is replaced only by a
// complete new one.
TEST_F(WorkerTest, SingleConversionReportsAFailureOnlyWhenItFailed) {
    struct Case {
        const char* name;
        int status;
        bool writes;
        bool stops;
        Result result;
        const char* says;  // part of the failure message
        bool details;      // the failing tool's last lines come with it
    } cases[] = {
        {"written", 0, true, false, Result::Written, "", false},
        {"tool failed", 1, true, false, Result::Failed, "à l'étape « conversion » (fichier \"", true},
        {"tool killed", 137, false, false, Result::Failed, "arrêté de l'extérieur par le signal 9 (SIGKILL)", true},
        {"nothing written", 0, false, false, Result::Failed, "le fichier écrit ne peut pas être relu", false},
        {"stopped", 0, false, true, Result::Stopped, "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetWindow();
        FakeItem item = Item("single");
        item.status = c.status;
        item.writes = c.writes;
        item.stopsHere = c.stops;
        std::ofstream(item.output) << "old output";
        RunOnce(item);

        EXPECT_EQ(Results(), std::vector<Result>{c.result});
        const bool failed = c.result == Result::Failed;
        ASSERT_EQ(win->messages.size(), failed ? 1u : 0u);
        if (failed) {
            EXPECT_NE(win->messages[0].find("\"" + item.input + "\" a échoué "), std::string::npos);
            EXPECT_NE(win->messages[0].find(c.says), std::string::npos) << win->messages[0];
            // Where to read more: the tool's last lines when it said something, else the
            // log, whose shortcut is named.
            EXPECT_NE(win->messages[0].find(c.details ? "dernières lignes de l'outil sont dans les détails"
                                                      : "journal de diagnostic (Ctrl+Maj+D"),
                      std::string::npos);
            EXPECT_EQ(win->details, c.details ? std::vector<std::string>{"engine: " + item.output +
                                                                         "\nConversion failed!\n"}
                                              : std::vector<std::string>{});
        }
        // Only a written output is named, with its folder, once the window is idle.
        EXPECT_EQ(win->notices, c.result == Result::Written
                                    ? std::vector<std::string>{"Fichier écrit : " + item.output + " | " + (folder / "out").string()}
                                    : std::vector<std::string>{});
        int errorLines = 0;
        for (const auto& line : win->log) errorLines += line.rfind(">> ", 0) == 0;
        EXPECT_EQ(errorLines > 0, failed);
        std::ifstream in(item.output);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), failed || c.stops ? "old output" : "media");
        ExpectIdle("once");
    }
}

TEST_F(WorkerTest, FailedListItemsAreSummedUpOnceAfterTheList) {
    // A terminal prints each item with its reason, then the tools' lines; a desktop box
    // names the items and keeps each reason, with its tool's lines, behind Details.
    // The same with two items at once: their ends come in any order, the summary keeps
    // the list's.
    struct Case {
        const char* language;
        bool box;
        int atOnce = 1;
    } cases[] = {{"FR", false}, {"EN", false}, {"FR", true}, {"EN", true}, {"FR", true, 2}, {"EN", false, 2}};
    for (const Case& c : cases) {
        const std::string language = c.language;
        SCOPED_TRACE(language + (c.box ? " box " : " terminal ") + std::to_string(c.atOnce));
        App().CurrentLanguage = language;
        ResetWindow();
        win->detailsOnDemand = c.box;
        FakeItem first = Item("a");
        first.status = 1;
        FakeItem third = Item("c");
        third.writes = false;
        RunList({first, Item("b"), third}, c.atOnce);

        EXPECT_EQ(Results(), (std::vector<Result>{Result::Failed, Result::Written, Result::Failed}));
        // Each row's status carries its own reason.
        const std::string failed = language == "EN" ? "failed " : "échec ";
        const std::vector<RequestOutcome> outcomes = worker->Outcomes();
        EXPECT_EQ(ItemEnds(), (std::vector<std::string>{"1:" + failed + outcomes[0].Reason,
                                                        std::string("2:") + (language == "EN" ? "done" : "terminé"),
                                                        "3:" + failed + outcomes[2].Reason}));
        EXPECT_NE(outcomes[0].Reason, outcomes[2].Reason);
        ASSERT_EQ(win->messages.size(), 1u);
        const std::string& summary = win->messages[0];
        EXPECT_NE(summary.find(first.input), std::string::npos);
        EXPECT_NE(summary.find(third.input), std::string::npos);
        EXPECT_EQ(summary.find(Item("b").input), std::string::npos);
        EXPECT_NE(summary.find(language == "EN" ? "failed" : "échoué"), std::string::npos);
        ASSERT_EQ(win->details.size(), 1u);
        const std::string toolLines = "engine: " + first.output + "\nConversion failed!\n";
        if (c.box) {
            // Both reasons behind Details, each under its input; the tool's lines under the
            // one whose tool said something.
            EXPECT_EQ(summary.find(outcomes[0].Reason), std::string::npos) << summary;
            const std::string& details = win->details[0];
            const std::string says = language == "EN" ? "  failed " : "  a échoué ";
            EXPECT_EQ(details.find(first.input + "\n" + says + outcomes[0].Reason + "\n    engine: "), 0u) << details;
            EXPECT_NE(details.find(third.input + "\n" + says + outcomes[2].Reason), std::string::npos) << details;
        } else {
            // The details hold the last lines of the one tool that said something, under its input.
            EXPECT_NE(summary.find(outcomes[2].Reason), std::string::npos) << summary;
            EXPECT_EQ(win->details[0], first.input + " :\n" + toolLines);
        }
        EXPECT_EQ(win->notices.size(), 1u) << "the one written item is named";
        // Shown after the display went back to idle.
        const auto& calls = win->calls;
        auto lastStatus = std::find_if(calls.rbegin(), calls.rend(), [](auto& c) { return c.op == "status"; });
        auto message = std::find_if(calls.rbegin(), calls.rend(), [](auto& c) { return c.op == "message"; });
        EXPECT_LT(message - calls.rbegin(), lastStatus - calls.rbegin());
        EXPECT_EQ(win->status, language == "EN" ? "Ready" : "Prêt");
    }
    App().CurrentLanguage = "FR";
}

TEST_F(WorkerTest, DiagnosticAndUnknownCommandsTouchOnlyWhatTheyShould) {
    // "test": deletes its test file.
    fs::create_directories(ConversionWorker::TestOutputFolder());
    const std::string testFile = ConversionWorker::TestOutputFolder() + "WMV-to-MP4mpeg4-.mp4";
    std::ofstream(testFile) << "x";
    Run("test");
    EXPECT_FALSE(fs::exists(testFile));
    EXPECT_EQ(worker->Session().Progress.ItemCounterText, "");
    EXPECT_TRUE(win->restored.empty());
    EXPECT_TRUE(runs.empty());

    // Anything else: no conversion, no restoring, but the display goes back to idle.
    ResetWindow();
    win->status = "busy";
    Run("nonsense");
    EXPECT_TRUE(runs.empty());
    EXPECT_TRUE(win->restored.empty());
    EXPECT_EQ(win->status, "Prêt");
    EXPECT_EQ(win->log.size(), 4u);
}

TEST_F(WorkerTest, RestoreFailureIsLoggedAndTheWorkStillEnds) {
    FailingRestoreWindow failing;
    AttachWindow(&failing);
    FakeItem item = Item("a");
    items = {item};
    request = {item.input, item.output, item.label};
    Run("transformOnce");
    AttachWindow(win.get());
    bool logged = false;
    for (const auto& line : failing.log)
        logged |= line == ">> 01/02/2026 à 10:11:12 -- Erreur de chargement de l'image associée à la conversion (début/arrêt) au coeur du TH";
    EXPECT_TRUE(logged);
    EXPECT_EQ(failing.status, "Prêt");
}

TEST_F(WorkerTest, StartRunsTheBodyOnAThreadOfItsOwn) {
    items = {Item("a")};
    request = {items[0].input, items[0].output, items[0].label};
    worker = MakeWorker("transformOnce");
    worker->Start({});
    EXPECT_TRUE(worker->WaitForEnd(10000));
    EXPECT_FALSE(worker->Active());
    ShowEnding();
    EXPECT_EQ(Results(), std::vector<Result>{Result::Written});
    EXPECT_EQ(win->restored, "once");
}

TEST_F(WorkerTest, ReaderDiagnosticStopsItsOwnReader) {
    Run("testThread2");
    EXPECT_TRUE(runs.empty());
    bool begun = false, ended = false;
    for (const auto& line : win->log) {
        begun |= line.find("commande=testTh2") != std::string::npos && line.find("Fin") == std::string::npos;
        ended |= line.find("Fin Exécution du TH pour la conversion, avec comme option commande=testTh2") != std::string::npos;
    }
    EXPECT_TRUE(begun);
    EXPECT_TRUE(ended);
}

// A reason kept from a run in one language reads, in the other, as that language would
// have written it; files keep their names, whatever words they hold.
TEST(ReasonLanguage, KeptReasonsReadAsTheOtherLanguageWritesThem) {
    const std::string file = "/v/le son du fichier écrit dure 1,5 s (fichier).avi";
    std::vector<std::function<std::string()>> reasons;
    for (const StepNames& step : AllStepNames())
        reasons.push_back([&file, step] { return StepFailureText({step.Step, file, {}, {}}); });
    using End = ToolOutcome::End;
    for (const auto& [ending, code] : {std::pair{End::Exited, 1}, std::pair{End::Killed, 9},
                                       std::pair{End::NotStarted, 0}, std::pair{End::Stopped, 0}}) {
        ToolOutcome tool;
        tool.Ending = ending;
        tool.Code = code;
        reasons.push_back([&file, tool] { return StepFailureText({StepKind::Conversion, file, tool, {}}); });
    }
    reasons.push_back([] { return FullDiskText(StepKind::DvdAuthoring, "/media/disque plein"); });
    const std::pair<const char*, const char*> kept[] = {
        {" avant de commencer : le fichier d'entrée ne contient que du son, et ce format de sortie demande une image",
         " before it began: the input holds only sound, and this output format needs a picture"},
        {" avant de commencer : le fichier de sortie \"/v/a.avi\" est refusé : c'est un dossier, pas un fichier",
         " before it began: the output file \"/v/a.avi\" is refused: it is a folder, not a file"},
        {" avant de commencer : le décalage demandé (12,5 s) n'est pas plus court que le son du fichier d'entrée, "
         "qui dure 3,25 s : il n'en resterait rien",
         " before it began: the lag asked for (12.5 s) is not shorter than the sound of the input, which lasts 3.25 s: "
         "none of it would be left"},
        {" à l'étape « conversion » (fichier \"/v/b.mp4\") : l'image du fichier écrit dure 2,0 s au lieu de 10,0 s",
         " at the step \"conversion\" (file \"/v/b.mp4\"): the picture of the file written lasts 2.0 s instead of "
         "10.0 s"},
        {" : le fichier ou le format n'est pas pris en charge", ": the file or the format is not supported"},
        {" : Impossible de créer le dossier /v/x", ": Impossible de créer le dossier /v/x"},
    };
    for (const auto& [french, english] : kept) reasons.push_back([&, french, english] {
        return std::string(App().English() ? english : french);
    });
    for (const auto& reason : reasons) {
        App().CurrentLanguage = "FR";
        const std::string french = reason();
        App().CurrentLanguage = "EN";
        const std::string english = reason();
        EXPECT_EQ(ReasonInLanguage(french, true), english) << french;
        EXPECT_EQ(ReasonInLanguage(english, false), french) << english;
        EXPECT_EQ(ReasonInLanguage(english, true), english);
        EXPECT_EQ(ReasonInLanguage(french, false), french);
    }
    App().CurrentLanguage = "FR";
}

}  // namespace
}  // namespace transcoda
