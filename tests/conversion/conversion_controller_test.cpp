// The conversion controller without a window: first its state machine against a worker
// whose end the test hands in by hand, then with the real worker and the real recipes
// over fake tools, the owner's thread being this test's thread.

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <fstream>
#include <future>
#include <mutex>
#include <sstream>
#include <thread>

#include "conversion/conversion_controller.h"
#include "conversion/request_texts.h"
#include "exec/app_state.h"
#include "exec/pending_outputs.h"
#include "exec/progress_display.h"
#include "exec/run_tool.h"
#include "recipes/format_catalogue.h"
#include "support/fake_runs.h"
#include "support/recording_window.h"

namespace transcoda {
namespace {

namespace fs = std::filesystem;
using State = ConversionController::State;

// The owner's thread: tasks posted from any thread wait here until the test runs them.
class OwnerThread {
public:
    ConversionController::Post Poster() {
        return [this](std::function<void()> task) {
            std::lock_guard lock(m_);
            tasks_.push_back(std::move(task));
            posted_.notify_all();
        };
    }
    // Runs the posted tasks until done() holds (also looked at between tasks, every few
    // milliseconds); false when timeoutMs ran out first.
    bool RunUntil(const std::function<bool()>& done, int timeoutMs = 20000) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::function<void()> task;
            {
                std::unique_lock lock(m_);
                if (!posted_.wait_for(lock, std::chrono::milliseconds(5), [this] { return !tasks_.empty(); })) continue;
                task = std::move(tasks_.front());
                tasks_.pop_front();
            }
            task();
        }
        return true;
    }
    void RunPosted() {
        RunUntil([this] {
            std::lock_guard lock(m_);
            return tasks_.empty();
        });
    }

private:
    std::mutex m_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> tasks_;
};

class RecordingView : public ConversionView {
public:
    void ShowConvertingLook(bool forList) override { Add(forList ? "converting-list" : "converting-one"); }
    void ShowStoppedLook() override { Add("stopped"); }
    void ShowIdleLook() override { Add("idle"); }
    bool ShowWorkDoneLook(bool forList, bool keep) override {
        Add(std::string(forList ? "done-list" : "done-one") + (keep ? "-keep" : ""));
        return true;
    }
    void ArmCloseTimer(int) override { Add("timer"); }
    void CloseWindow() override { Add("close"); }
    void ListRunBegins(const std::vector<bool>&) override { items.push_back("begins"); }
    void ShowListItem(long long item, const ItemStatus& status) override {
        items.push_back(std::to_string(item) + ":" + ItemStatusText(status));
    }
    std::string calls;
    // The list runs begun and the item statuses shown, in order.
    std::vector<std::string> items;
    // When set, each call also goes there, one entry each.
    std::vector<std::string>* transcript = nullptr;

private:
    void Add(const std::string& call) {
        calls += (calls.empty() ? "" : " ") + call;
        if (transcript) transcript->push_back(call);
    }
};

// The worker's window: the worker's ending brings the button back through the
// controller, on the owner's thread, as the desktop window does.
class OwnerWindow : public testing::RecordingWindow {
public:
    explicit OwnerWindow(ConversionController*& controller) : controller_(controller) {}
    bool RestoreConvertButton(bool forList) override {
        RecordingWindow::RestoreConvertButton(forList);
        return controller_->WorkDone(forList);
    }

private:
    ConversionController*& controller_;
};

class ControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("transcoda-controller-" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder / "B");
        fs::create_directories(folder / "out");
        App().ProgramFolder = folder.string() + "/";
        App().CurrentLanguage = "FR";
        AttachWindow(&window);
    }
    void TearDown() override {
        if (controller) {
            EXPECT_TRUE(owner.RunUntil([&] { return !controller->WorkerAlive(); }));
        }
        EXPECT_TRUE(roster.WaitForAll(20000));
        owner.RunPosted();
        AttachWindow(nullptr);
        fs::remove_all(folder);
    }

    void Make(ConversionController::Launcher launcher = ConversionController::WorkerLauncher()) {
        controller = std::make_unique<ConversionController>(view, owner.Poster(), std::move(launcher));
        controller->SetRoster(&roster);
        raw = controller.get();
    }
    std::string In(const std::string& name) const { return (folder / (name + ".avi")).string(); }
    std::string Out(const std::string& name) const { return (folder / "out" / (name + ".mpeg")).string(); }

    OwnerThread owner;
    RecordingView view;
    ConversionController* raw = nullptr;
    OwnerWindow window{raw};
    WorkerRoster roster;
    std::unique_ptr<ConversionController> controller;
    fs::path folder;
};

// Each row: the user's and the worker's moves, the state after each, Running()
// after each, what the window was told to show, and the workers started.
TEST_F(ControllerTest, StateMachine) {
    struct Row {
        const char* name;
        const char* moves;
        const char* states;
        const char* running;
        const char* shown;
        const char* started;
    };
    const Row rows[] = {
        {"one to its end", "one done end", "ConvertingOne Stopping Idle", "1 1 0", "converting-one done-one",
         "transformOnce"},
        {"stop", "one stop end", "ConvertingOne Stopping Idle", "1 0 0", "converting-one stopped", "transformOnce"},
        {"a stopped list keeps the Stop's caption", "list stop done end", "ConvertingList Stopping Stopping Idle",
         "1 0 0 0", "converting-list stopped done-list-keep", "transformList"},
        {"convert after stop waits for the stopped worker", "one stop one done end",
         "ConvertingOne Stopping StartPending StartPending ConvertingOne", "1 0 0 0 1",
         "converting-one stopped converting-one", "transformOnce transformOnce"},
        {"a list after stop", "one stop list end", "ConvertingOne Stopping StartPending ConvertingList",
         "1 0 0 1", "converting-one stopped converting-list", "transformOnce transformList"},
        {"stop drops the waiting start", "one stop one stop end",
         "ConvertingOne Stopping StartPending Stopping Idle", "1 0 0 0 0",
         "converting-one stopped converting-one stopped", "transformOnce"},
        {"checks refused while the stopped worker ends", "one stop begin cancel end",
         "ConvertingOne Stopping Preparing Stopping Idle", "1 0 0 0 0", "converting-one stopped converting-one idle",
         "transformOnce"},
        {"the stopped worker ends during the checks", "one stop begin end start",
         "ConvertingOne Stopping Preparing Preparing ConvertingOne", "1 0 0 1 1",
         "converting-one stopped converting-one", "transformOnce transformOnce"},
        {"a click after the work is done does not stop", "one done stop end", "ConvertingOne Stopping Stopping Idle",
         "1 1 1 0", "converting-one done-one", "transformOnce"},
        {"a worker gone without its end of work", "list end", "ConvertingList Idle", "1 0",
         "converting-list done-list", "transformList"},
        {"close while converting", "one close end", "ConvertingOne Closing Closed", "1 0 0",
         "converting-one stopped timer close", "transformOnce"},
        {"a stuck end cannot keep the window", "one close timeout end", "ConvertingOne Closing Closed Closed",
         "1 0 0 0", "converting-one stopped timer close", "transformOnce"},
        {"close drops the waiting start and refuses new ones", "one stop one close one end",
         "ConvertingOne Stopping StartPending Closing Closing Closed", "1 0 0 0 0 0",
         "converting-one stopped converting-one stopped timer close", "transformOnce"},
        {"close when idle", "close one", "Closed Closed", "0 0", "", ""},
        {"diagnostic only when idle", "one test stop end test end", "ConvertingOne ConvertingOne Stopping Idle Testing Idle",
         "1 1 0 0 1 0", "converting-one stopped", "transformOnce test"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        view.calls.clear();
        std::deque<std::pair<bool, std::function<void()>>> workers;  // (list, onEnd), oldest first
        std::string started;
        Make([&](std::shared_ptr<ConversionWorker> worker, std::function<void()> onEnd) {
            const ConversionJob& job = worker->Job();
            started += (started.empty() ? "" : " ") + job.Command;
            workers.emplace_back(job.Command == "transformList", std::move(onEnd));
        });
        std::string states, running;
        std::istringstream moves(row.moves);
        for (std::string move; moves >> move;) {
            if (move == "one") {
                controller->BeginOne();
                controller->StartOne({});
            } else if (move == "begin") controller->BeginOne();
            else if (move == "start") controller->StartOne({});
            else if (move == "cancel") controller->Cancel();
            else if (move == "list") controller->StartList(ConversionQueue());
            else if (move == "stop") controller->Stop();
            else if (move == "test") controller->StartDiagnostic("test");
            else if (move == "close") controller->Close();
            else if (move == "timeout") controller->CloseTimedOut();
            else if (move == "done") controller->WorkDone(workers.front().first);
            else if (move == "end") {
                auto onEnd = std::move(workers.front().second);
                workers.pop_front();
                onEnd();
                owner.RunPosted();
            }
            states += (states.empty() ? "" : " ") + std::string(ConversionController::Name(controller->Current()));
            running += (running.empty() ? "" : " ") + std::string(controller->Running() ? "1" : "0");
        }
        EXPECT_EQ(states, row.states);
        EXPECT_EQ(running, row.running);
        EXPECT_EQ(view.calls, row.shown);
        EXPECT_EQ(started, row.started);
        controller.reset();
    }
}

// The items of a list reach the window through posts, and only while their run is the
// one the window shows: those of a stopped list that come after a new list was asked
// for would land on the new list's rows.
TEST_F(ControllerTest, ItemStatusesReachTheWindowOnlyFromTheRunItShows) {
    std::vector<ConversionJob> jobs;
    std::vector<std::function<void()>> ends;
    Make([&](std::shared_ptr<ConversionWorker> worker, std::function<void()> onEnd) {
        jobs.push_back(worker->Job());
        ends.push_back(std::move(onEnd));
    });
    controller->StartList(ConversionQueue());
    ASSERT_EQ(jobs.size(), 1u);
    ASSERT_TRUE(jobs[0].OnItem);
    jobs[0].OnItem({1, {ItemStatus::State::Converting, 42}});
    EXPECT_EQ(view.items, std::vector<std::string>{"begins"}) << "shown without a post";
    owner.RunPosted();
    controller->Stop();
    jobs[0].OnItem({1, {ItemStatus::State::Stopped}});
    owner.RunPosted();
    EXPECT_EQ(view.items, (std::vector<std::string>{"begins", "1:conversion 42 %", "1:arrêté"}));

    // Stop, then a new list at once: the first worker is still ending.
    controller->StartList(ConversionQueue());
    jobs[0].OnItem({2, {ItemStatus::State::Done}});
    ends[0]();
    owner.RunPosted();
    ASSERT_EQ(jobs.size(), 2u);
    jobs[1].OnItem({2, {ItemStatus::State::Done}});
    owner.RunPosted();
    EXPECT_EQ(view.items, (std::vector<std::string>{"begins", "1:conversion 42 %", "1:arrêté", "begins", "2:terminé"}));
    // A single conversion tells no items.
    controller->Stop();
    ends[1]();
    owner.RunPosted();
    controller->BeginOne();
    controller->StartOne({});
    ASSERT_EQ(jobs.size(), 3u);
    EXPECT_FALSE(jobs[2].OnItem);
    controller->Stop();
    ends[2]();
    owner.RunPosted();
}

// The person at the window, as the checks before a single conversion meet them: each box
// and dialog is written into the same transcript as what the window is told to show.
class ScriptedAsker : public RequestAsker {
public:
    explicit ScriptedAsker(std::vector<std::string>& transcript) : transcript_(transcript) {}
    void Tell(const std::string& text) override { Add("tell:" + text); }
    bool Ask(const std::string& text) override {
        Add("ask:" + text);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text;
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::string AskSyncDelay(const std::string& input) override {
        Add("sync-dialog:" + fs::path(input).filename().string());
        return syncDelay;
    }
    ExtractionSegment AskSegment(const std::string& input) override {
        Add("segment-dialog:" + fs::path(input).filename().string());
        return segment;
    }
    std::deque<bool> answers;
    std::string syncDelay = kNoSyncDelay;
    ExtractionSegment segment;

private:
    void Add(const std::string& entry) { transcript_.push_back(entry); }
    std::vector<std::string>& transcript_;
};

// Each row: the request's preset and what is on disk, the user's answers and what the
// dialog leaves; then everything shown and asked, in order, and the special values the
// started worker was handed (nothing started when empty). The window tests hold the
// exact texts; here the order, the refusals and the values that reach the worker.
TEST_F(ControllerTest, ChecksBeforeASingleConversion) {
    enum Output { None, File, FullFolder, EmptyFolder, TheInput };
    struct Row {
        const char* name;
        int format;  // -1: no format selected
        bool inputExists;
        Output output;
        std::deque<bool> answers;
        const char* syncDelay;
        ExtractionSegment segment;
        std::vector<std::string> transcript;
        const char* started;  // "once" + the special values, or "" when nothing started
    };
    constexpr int kMpeg = 3, kDvdPal = 33, kSync = 38, kExtraction = 39;
    const std::string missing = "tell:" + MissingInputText();
    const std::string replace = "ask:" + ReplaceOutputText();
    const std::string dvdFolder = (folder / "dvd").string();
    const Row rows[] = {
        {"no format selected", -1, true, None, {}, "", {}, {"converting-one", "tell:" + UnsupportedFormatText(), "idle"}, ""},
        {"missing input", kMpeg, false, File, {}, "", {}, {"converting-one", missing, "idle"}, ""},
        {"new output", kMpeg, true, None, {}, "", {}, {"converting-one"}, "once"},
        {"existing output kept on No", kMpeg, true, File, {false}, "", {}, {"converting-one", replace, "idle"}, ""},
        {"existing output replaced on Yes", kMpeg, true, File, {true}, "", {}, {"converting-one", replace}, "once"},
        {"the output is the input", kMpeg, true, TheInput, {}, "", {}, {"converting-one", "tell:" + OutputIsInputText(), "idle"}, ""},
        {"empty DVD folder", kDvdPal, true, EmptyFolder, {}, "", {}, {"converting-one"}, "once"},
        {"full DVD folder kept on No", kDvdPal, true, FullFolder, {false}, "", {},
         {"converting-one", "ask:" + FolderNotEmptyText(dvdFolder), "idle"}, ""},
        {"full DVD folder used on Yes", kDvdPal, true, FullFolder, {true}, "", {},
         {"converting-one", "ask:" + FolderNotEmptyText(dvdFolder)}, "once"},
        {"missing input never asks about a full folder", kDvdPal, false, FullFolder, {}, "", {},
         {"converting-one", missing, "idle"}, ""},
        {"sync with a lag", kSync, true, None, {}, "-1.25", {}, {"converting-one", "sync-dialog:in.avi"}, "once -1.25"},
        {"sync left without a lag", kSync, true, None, {}, kNoSyncDelay, {}, {"converting-one", "sync-dialog:in.avi", "idle"}, ""},
        // The zero-lag message comes once the window is idle again.
        {"sync with a zero lag", kSync, true, None, {}, "-0.00", {},
         {"converting-one", "sync-dialog:in.avi", "idle", "tell:" + ZeroLagText()}, ""},
        {"extraction with a segment", kExtraction, true, None, {}, "", {"00:00:01", "00:00:02"},
         {"converting-one", "segment-dialog:in.avi"}, "once 00:00:01 00:00:02"},
        {"extraction with a start only", kExtraction, true, None, {}, "", {"00:00:01", kNoExtractionValue},
         {"converting-one", "segment-dialog:in.avi", "idle"}, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove_all(folder / "work");
        fs::remove_all(folder / "dvd");
        fs::create_directories(folder / "work");
        const std::string input = (folder / "work" / "in.avi").string();
        if (row.inputExists) std::ofstream(input) << "input";
        std::string output = (folder / "work" / "out.avi").string();
        if (row.format == kDvdPal) output = dvdFolder;
        if (row.format == kMpeg) output = (folder / "work" / "out.mpeg").string();
        if (row.output == File) std::ofstream(output) << "older";
        if (row.output == TheInput) output = input;
        if (row.output == FullFolder) {
            fs::create_directories(folder / "dvd");
            std::ofstream(folder / "dvd" / "keep.txt") << "keep";
        }
        if (row.output == EmptyFolder) fs::create_directories(folder / "dvd");

        std::vector<std::string> transcript;
        view.transcript = &transcript;
        ScriptedAsker asker(transcript);
        asker.answers = row.answers;
        asker.syncDelay = row.syncDelay;
        asker.segment = row.segment;
        std::string started;
        std::function<void()> workerEnd;
        Make([&](std::shared_ptr<ConversionWorker> worker, std::function<void()> onEnd) {
            const SpecialValues& special = worker->Job().Requests.at(0).Special;
            started = "once";
            if (row.format == kSync) started += " " + special.SyncDelay;
            if (row.format == kExtraction) started += " " + special.ExtractionStart + " " + special.ExtractionLength;
            workerEnd = std::move(onEnd);
        });
        ASSERT_TRUE(controller->BeginOne());
        controller->ConvertOne({input, output, FormatLabel(row.format)}, asker);

        EXPECT_EQ(transcript, row.transcript);
        EXPECT_EQ(started, row.started);
        EXPECT_EQ(controller->Current(), *row.started ? State::ConvertingOne : State::Idle);
        EXPECT_EQ(controller->Running(), *row.started != 0);
        const auto read = [](const std::string& path) {
            std::ifstream in(path);
            return std::string(std::istreambuf_iterator<char>(in), {});
        };
        if (row.output == File) {
            EXPECT_EQ(read(output), "older") << "the old output went before the new one";
        }
        if (row.output == FullFolder) {
            EXPECT_TRUE(fs::exists(folder / "dvd" / "keep.txt"));
        }
        if (workerEnd) workerEnd();
        owner.RunPosted();
        view.transcript = nullptr;
        controller.reset();
    }
}

// The real worker over fake tools: a tool of an input named "hang" runs until the
// conversion is stopped, any other writes its output at once.
class WorkerControllerTest : public ControllerTest {
protected:
    void SetUp() override {
        ControllerTest::SetUp();
        Make();
        controller->SetSessionSetup([this](ConversionSession& session) {
            session.SetRunToolHook([this, &session](const std::string& line) {
                if (!testing::IsProbeLine(line) && line.find("hang") != std::string::npos) {
                    ++hanging;
                    while (session.Running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
                    return ToolOutcome::Stop();
                }
                for (const std::string& arg : SplitCommandLine(line))
                    if (IsTemporaryOutputName(arg)) std::ofstream(arg) << "media";
                return testing::FakeSuccess(line);
            });
        });
    }
    void Request(const std::string& name) {
        fields = {In(name), Out(name), FormatLabel(3)};
        ASSERT_TRUE(controller->BeginOne());
        controller->StartOne(fields);
    }
    bool Idle() { return owner.RunUntil([&] { return controller->Current() == State::Idle; }); }
    // The window's fields, as the last request took them.
    ConversionRequest fields;
    std::atomic<int> hanging{0};
};

TEST_F(WorkerControllerTest, StopThenConvertAgainRunsTheNewRequestAfterTheStoppedOne) {
    Request("hang");
    ASSERT_TRUE(owner.RunUntil([&] { return hanging == 1; }));
    controller->Stop();
    Request("next");
    EXPECT_EQ(controller->Current(), State::StartPending);
    // A file picked while the start waits does not reach it.
    fields = {In("picked"), Out("picked"), FormatLabel(3)};
    ASSERT_TRUE(Idle());
    EXPECT_FALSE(fs::exists(Out("hang"))) << "the stopped request went on";
    EXPECT_TRUE(fs::exists(Out("next")));
    EXPECT_FALSE(fs::exists(Out("picked")));
    EXPECT_EQ(view.calls, "converting-one stopped converting-one done-one");
    EXPECT_FALSE(controller->Running());
}

TEST_F(WorkerControllerTest, AListIsConvertedRowByRow) {
    ConversionQueue queue;
    for (const char* name : {"a", "b", "c"}) queue.Add(FormatLabel(3), In(name), Out(name));
    controller->StartList(queue);
    EXPECT_EQ(controller->Current(), State::ConvertingList);
    ASSERT_TRUE(Idle());
    for (const char* name : {"a", "b", "c"}) EXPECT_TRUE(fs::exists(Out(name))) << name;
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(view.calls, "converting-list done-list");
    EXPECT_EQ(view.items, (std::vector<std::string>{"begins", "1:conversion", "1:terminé", "2:conversion", "2:terminé",
                                                    "3:conversion", "3:terminé"}));
}

TEST_F(WorkerControllerTest, ClosingWhileConvertingClosesAtTheWorkersEnd) {
    Request("hang");
    ASSERT_TRUE(owner.RunUntil([&] { return hanging == 1; }));
    EXPECT_FALSE(controller->Close());
    EXPECT_EQ(controller->Current(), State::Closing);
    ASSERT_TRUE(owner.RunUntil([&] { return controller->Current() == State::Closed; }));
    EXPECT_FALSE(controller->WorkerAlive());
    EXPECT_EQ(view.calls, "converting-one stopped timer close");
}

// A Stop that falls anywhere around the worker's end, over and over: whatever the order,
// the window ends idle, the flag down and no worker left.
TEST_F(WorkerControllerTest, AWorkerEndRacingAStopAlwaysEndsIdle) {
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE(round);
        view.calls.clear();
        Request("quick" + std::to_string(round));
        for (int spin = 0; spin < round * 50; ++spin) std::this_thread::yield();
        if (round % 3 == 1) owner.RunPosted();
        controller->Stop();
        ASSERT_TRUE(Idle());
        EXPECT_FALSE(controller->Running());
        EXPECT_FALSE(roster.AnyActive());
        const auto last = view.calls.substr(view.calls.rfind(' ') + 1);
        EXPECT_TRUE(last == "stopped" || last == "done-one") << view.calls;
    }
}

}  // namespace
}  // namespace transcoda
