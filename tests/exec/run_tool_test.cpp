#include "exec/run_tool.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>

#include "tool_run_support.h"

namespace transcoda {
namespace {

using testing::kFakeTool;

class RunToolTest : public testing::ToolRun {};

TEST_F(RunToolTest, MissingToolResetsTheDisplayAndLogsOnlyInDebugMode) {
    for (const char* language : {"FR", "EN"}) {
        for (bool debug : {false, true}) {
            SetUp();
            App().CurrentLanguage = language;
            App().DebugMode = debug;
            ShowBusy("Progression : 3.00% ", 3);
            ToolOutcome outcome;
            ASSERT_TRUE(ReturnsWithin(5, [&] { outcome = RunTool(session, "/nonexistent/B/utilitymff.exe -i \"x.avi\""); }));
            ExpectIdleDisplay();
            EXPECT_EQ(session.LastExitStatus, -1);
            EXPECT_EQ(outcome.Ending, ToolOutcome::End::NotStarted);
            const bool english = std::string(language) == "EN";
            if (debug) {
                ASSERT_EQ(window.log.size(), 1u);
                EXPECT_EQ(window.log[0], std::string(english ? "Process error, please send this error to "
                                                             : "Erreur de processus, merci de signaler cette erreur "
                                                               "avec votre configuration à ") +
                                             kProductWebAddress);
            } else {
                EXPECT_TRUE(window.log.empty());
            }
            window.calls.clear();
            window.log.clear();
        }
    }
}

TEST_F(RunToolTest, OutputBecomesProgressAndTheExitStatusIsKept) {
    App().DebugMode = true;
    const ToolOutcome outcome = RunTool(session, 
        kFakeTool +
        " say \"Duration: 00:01:40.00, start: 0.000000, bitrate: 1 kb/s\\n\""
        " \"frame= 10 time=25.00 bitrate= 1\\r\" \"frame= 20 time=49.36 bitrate= 1\\r\"");
    // Its last lines as a terminal shows them: the rewritten status line once.
    EXPECT_EQ(outcome.LastLines, (std::vector<std::string>{"Duration: 00:01:40.00, start: 0.000000, bitrate: 1 kb/s",
                                                           "frame= 20 time=49.36 bitrate= 1"}));
    const auto shown = window.Texts("progress");
    EXPECT_NE(std::find(shown.begin(), shown.end(), "Progression : 49.36% "), shown.end());
    EXPECT_EQ(session.Progress.InputDurationCs, 10000);
    EXPECT_EQ(session.LastExitStatus, 0);
    ExpectIdleDisplay();
    // Raw chunks between bars, then the reader's two end lines, in that order.
    ASSERT_GE(window.log.size(), 3u);
    EXPECT_EQ(window.log.front().substr(0, 13), "|||Duration: ");
    EXPECT_EQ(window.log[window.log.size() - 2], "--TH2 a été arrété dans rundos");
    EXPECT_EQ(window.log.back(), "--TH2 a été !!VRAIMENT!! arrété dans rundos");
}

// Every run ends the same way for the display, and says by value how the tool ended.
TEST_F(RunToolTest, FailingToolsEndLikeSuccessfulOnesAndSayHow) {
    using End = ToolOutcome::End;
    const struct {
        const char* args;
        int status;
        End ending;
        int code;
    } cases[] = {{"exit 0", 0, End::Exited, 0},
                 {"exit 2", 2, End::Exited, 2},
                 {"crash", 128 + SIGSEGV, End::Killed, SIGSEGV},
                 {"binary", 0, End::Exited, 0}};
    for (const auto& c : cases) {
        ShowBusy("x", 5);
        window.calls.clear();
        const ToolOutcome outcome = RunTool(session, kFakeTool + " " + c.args);
        EXPECT_EQ(session.LastExitStatus, c.status) << c.args;
        EXPECT_EQ(outcome.Ending, c.ending) << c.args;
        EXPECT_EQ(outcome.Code, c.code) << c.args;
        EXPECT_FALSE(outcome.Report.has_value()) << c.args;
        ExpectIdleDisplay();
        // A tool that prints nothing leaves label and bar alone until the reset.
        if (std::string(c.args) != "binary") {
            EXPECT_EQ(window.Texts("progress"), std::vector<std::string>{""}) << c.args;
            EXPECT_EQ(window.Texts("bar"), std::vector<std::string>{"0"}) << c.args;
        }
    }
}

TEST_F(RunToolTest, StopEndsTheToolAndItsChildren) {
    const std::string pidFile = testing::TempPidFile();
    std::thread stopper([&] {
        testing::ReadPids(pidFile);
        session.Stop();
    });
    ToolOutcome outcome;
    ASSERT_TRUE(ReturnsWithin(5, [&] { outcome = RunTool(session, kFakeTool + " hang " + pidFile); }));
    stopper.join();
    EXPECT_EQ(outcome.Ending, ToolOutcome::End::Stopped);
    const auto [tool, child] = testing::ReadPids(pidFile);
    EXPECT_TRUE(testing::EventuallyGone(tool));
    EXPECT_TRUE(testing::EventuallyGone(child));
    EXPECT_EQ(session.LastExitStatus, 128 + SIGKILL);
    ExpectIdleDisplay();
    unlink(pidFile.c_str());
}

TEST_F(RunToolTest, AlreadyStoppedRunEndsAfterTheFirstWait) {
    session.Stop();
    ASSERT_TRUE(ReturnsWithin(5, [&] { RunTool(session, kFakeTool + " hang"); }));
    EXPECT_EQ(session.LastExitStatus, 128 + SIGKILL);
    ExpectIdleDisplay();
}

TEST_F(RunToolTest, GrandchildHoldingThePipeDoesNotHoldTheRun) {
    const std::string pidFile = testing::TempPidFile();
    ASSERT_TRUE(ReturnsWithin(5, [&] { RunTool(session, kFakeTool + " orphan " + pidFile); }));
    // The tool's own last line was still read.
    EXPECT_EQ(session.Progress.InputDurationCs, 1000);
    ExpectIdleDisplay();
    const auto [tool, child] = testing::ReadPids(pidFile);
    ASSERT_NE(child, 0);
    kill(child, SIGKILL);
    unlink(pidFile.c_str());
}

// Counts what the reader hands over without keeping it, so memory stays flat.
class CountingWindow : public testing::StateWindow {
public:
    void AppendLog(const std::string& line) override {
        if (line.rfind("|||", 0) == 0) bytes += static_cast<long long>(line.size()) - 6;
    }
    std::atomic<long long> bytes{0};
};

long PeakKilobytes() {
    std::ifstream in("/proc/self/status");
    std::string key;
    long value = 0;
    while (in >> key) {
        if (key == "VmHWM:") {
            in >> value;
            return value;
        }
    }
    return 0;
}

TEST_F(RunToolTest, FloodOfOutputIsReadWholeInBoundedMemory) {
    CountingWindow counting;
    AttachWindow(&counting);
    App().DebugMode = true;  // every chunk goes to the log, where it is counted
    const long before = PeakKilobytes();
    // The checked builds run many times slower; a smaller flood still fills the pipe
    // thousands of times over.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    const long long megabytes = 8;
#else
    const long long megabytes = 100;
#endif
    RunTool(session, kFakeTool + " flood " + std::to_string(megabytes));
    EXPECT_EQ(counting.bytes.load(), megabytes * 1024 * 1024);
    EXPECT_EQ(session.LastExitStatus, 0);
    // The address checker keeps freed memory aside for a while, so only a plain build
    // shows the reader's own footprint.
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_LT(PeakKilobytes() - before, 32 * 1024);
#else
    (void)before;
#endif
    AttachWindow(&window);
}

TEST_F(RunToolTest, HookReplacesTheRunner) {
    std::vector<std::string> lines;
    session.SetRunToolHook([&](const std::string& line) {
        lines.push_back(line);
        return ToolOutcome::Exit(3);
    });
    const ToolOutcome outcome = RunTool(session, "/nowhere/B/utilitymff.exe -i \"a b.avi\"");
    session.SetRunToolHook(nullptr);
    EXPECT_EQ(lines, std::vector<std::string>{"/nowhere/B/utilitymff.exe -i \"a b.avi\""});
    EXPECT_EQ(outcome.Code, 3);
    EXPECT_TRUE(window.calls.empty());
}

// The tool's closing line says what it read back of the file it wrote: only a line of
// its own, the last one, counts; a tool killed from outside reports nothing.
TEST_F(RunToolTest, TheToolsClosingReportComesWithTheOutcome) {
    struct Case {
        const char* say;
        bool found;
        bool readable;
        size_t streams;
        double audio;
    } cases[] = {
        {R"("frame= 1 time=00:00:01.00 bitrate= 1\r" "transcoda-streams: readable video=3.000 audio=2.980\n")", true,
         true, 2, 2.98},
        {R"("transcoda-streams: readable audio=1.000\n" "transcoda-streams: unreadable\n")", true, false, 0, -1},
        {R"("  title : transcoda-streams: readable video=9.000\n")", false, false, 0, -1},
        {R"("transcoda-streams: readable video=3,000\n")", false, false, 0, -1},
    };
    for (const Case& c : cases) {
        const ToolOutcome outcome = RunTool(session, kFakeTool + " say " + c.say);
        ASSERT_EQ(outcome.Report.has_value(), c.found) << c.say;
        if (!c.found) continue;
        EXPECT_EQ(outcome.Report->Readable, c.readable) << c.say;
        EXPECT_EQ(outcome.Report->Streams.size(), c.streams) << c.say;
        EXPECT_DOUBLE_EQ(outcome.Report->Longest(StreamKind::Audio), c.audio) << c.say;
    }
}

}  // namespace
}  // namespace transcoda
