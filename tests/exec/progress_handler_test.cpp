#include "exec/progress_handler.h"

#include <gtest/gtest.h>

#include <optional>

#include "exec/app_state.h"
#include "exec/conversion_session.h"
#include "exec/progress_display.h"
#include "support/recording_window.h"

namespace transcoda {
namespace {

using testing::RecordingWindow;

class ProgressHandling : public ::testing::Test {
protected:
    void SetUp() override {
        AttachWindow(&window);
        window.Follow(session);
        App().CurrentLanguage = "FR";
    }
    void TearDown() override { App().Window = nullptr; }

    RecordingWindow window;
    ConversionSession session;
    ProgressHandler handler{session};
};

constexpr const char* kDurationLine = "Duration: 00:01:40.00, start: 0.000000, bitrate: 1411 kb/s";

TEST_F(ProgressHandling, TimeBranchAgainstTheDurationOfTheSameRun) {
    handler.HandleOutputChunk(kDurationLine);
    EXPECT_EQ(handler.RunDuration, 10000);
    EXPECT_EQ(session.Progress.InputDurationCs, 10000);
    EXPECT_EQ(session.Progress.DurationText, kDurationLine);
    handler.HandleOutputChunk("frame= 1234 fps= 25 q=2.0 size= 1234kB time=49.36 bitrate= 204.8kbits/s");
    EXPECT_EQ(window.progress, "Progression : 49.36% ");
    EXPECT_EQ(window.title, "49.36% ");
    EXPECT_EQ(window.bar, 49);
    // What the tool says after, in turn: the percentage shown and the bar never go back
    // (a negative start time, a time past the duration held at 99 % after 99.92 %).
    const struct {
        const char* chunk;
        const char* progress;
        int bar;
        int listed;  // the whole percentage the list's row hears last
    } after[] = {
        {"time=-0.05 bitrate= 1", "Progression : 49.36% ", 49, 49},
        {"time=99.92 bitrate= 1", "Progression : 99.92% ", 99, 99},
        {"time=100.05 bitrate= 1", "Progression : 99.92% ", 100, 99},
        {"time=120.00 bitrate= 1", "Progression : 99.92% ", 100, 99},
    };
    int listed = -1;
    session.Percent().Follow([&](int percent) { listed = percent; });
    for (const auto& c : after) {
        handler.HandleOutputChunk(c.chunk);
        EXPECT_EQ(window.progress, c.progress) << c.chunk;
        EXPECT_EQ(window.bar, c.bar) << c.chunk;
        EXPECT_EQ(listed, c.listed) << c.chunk;
    }
    session.Percent().Follow({});
}

// In a request of several steps the percentage shown is the request's: each step's
// runs by its expected share, so the next step, or a step's tool run again, starts
// where the last one ended instead of at 0 %.
TEST_F(ProgressHandling, RequestOfSeveralStepsShowsItsOwnPercentage) {
    RequestTiming& timing = session.Timing();
    timing.BeginRequest();
    timing.PlanSteps({0.25, 1.0, 0.0});
    const struct {
        bool newStep;     // the chunk's run is the next step's first
        bool newRun;      // the chunk comes from a new tool run
        const char* chunk;
        const char* progress;
        int bar;
    } cases[] = {
        {true, true, "time=50.00 bitrate= 1", "Progression : 10.00% ", 10},
        {false, false, "time=100.00 bitrate= 1", "Progression : 20.00% ", 20},
        {true, true, "time=0.00 bitrate= 1", "Progression : 20.00% ", 20},
        {false, false, "time=50.00 bitrate= 1", "Progression : 60.00% ", 60},
        {false, true, "time=10.00 bitrate= 1", "Progression : 60.00% ", 60},  // the step's tool again
        {false, false, "time=100.00 bitrate= 1", "Progression : 100.00% ", 100},
    };
    std::optional<ProgressHandler> run;
    for (const auto& c : cases) {
        if (c.newStep) timing.BeginStep();
        if (c.newRun) {
            run.emplace(session);
            run->HandleOutputChunk(kDurationLine);
        }
        run->HandleOutputChunk(c.chunk);
        EXPECT_EQ(window.progress, c.progress) << c.chunk;
        EXPECT_EQ(window.bar, c.bar) << c.chunk;
    }
    timing.EndRequest();
}

TEST_F(ProgressHandling, ItemCounterFollowsThePercentage) {
    session.Progress.ItemCounterText = "(2/3)";
    handler.HandleOutputChunk("Duration: 00:01:21.00, start: 0");
    handler.HandleOutputChunk("time=10.00 bitrate= 1");
    EXPECT_EQ(window.progress, "Progression : 12.35% (2/3)");
    EXPECT_EQ(window.title, "12.35% (2/3)");
    EXPECT_EQ(window.bar, 12);
}

// The core keeps what the window shows: each chunk reaches the window in at most one
// call, holding only what changed, and a chunk that changes nothing costs no call.
TEST_F(ProgressHandling, EachChunkIsOneCallWithOnlyItsChanges) {
    const struct {
        const char* chunk;
        int calls;        // window calls for this chunk
        size_t fields;    // display fields it carried
    } cases[] = {
        {kDurationLine, 1, 1},                        // nothing recognised: the bar moves on
        {"time=10.00 bitrate= 1", 1, 3},              // text, title and bar together
        {"time=10.00 bitrate= 1", 0, 0},              // the same again: nothing to send
        {"time=10.50 bitrate= 1", 1, 2},              // new texts, the bar stays at 10
        {"Stream #0:0: Video: mpeg4", 0, 0},          // a percentage is shown: the bar stays
    };
    for (const auto& c : cases) {
        const int callsBefore = window.displayCalls;
        const size_t fieldsBefore = window.calls.size();
        handler.HandleOutputChunk(c.chunk);
        EXPECT_EQ(window.displayCalls - callsBefore, c.calls) << c.chunk;
        EXPECT_EQ(window.calls.size() - fieldsBefore, c.fields) << c.chunk;
    }
    EXPECT_EQ(window.progress, "Progression : 10.50% ");
    // A window that follows afresh is sent the next values whatever they are.
    testing::RecordingWindow fresh;
    fresh.Follow(session);
    ResetProgressDisplay(session.Display());
    EXPECT_EQ(fresh.displayCalls, 1);
    EXPECT_EQ(fresh.Texts("bar"), std::vector<std::string>{"0"});
    EXPECT_EQ(fresh.Texts("progress"), std::vector<std::string>{""});
    window.Follow(session);
}

TEST_F(ProgressHandling, DurationIsTakenFromTheFirstChunkThatHasOne) {
    const struct {
        const char* first;
        const char* second;
        int32_t duration;
        bool kept;
    } cases[] = {
        {"fake version 1.0 Copyright", "  Duration: 00:01:23.45, start: 0.000000, bitrate: 1411 kb/s", 8345, true},
        {"Duration: 00:00:00.00, start: 0.000000", "nothing", -1, false},
        {"Duration: N/A, start: 0.000000, bitrate: N/A", "nothing", -1, false},
    };
    for (const auto& c : cases) {
        ConversionSession session;
        window.Follow(session);
        ProgressHandler fresh{session};
        fresh.HandleOutputChunk(c.first);
        fresh.HandleOutputChunk(c.second);
        EXPECT_EQ(session.Progress.InputDurationCs, c.duration) << c.first;
        EXPECT_EQ(session.Progress.DurationText.empty(), !c.kept) << c.first;
        EXPECT_EQ(fresh.RunDuration, c.kept ? c.duration : -2) << c.first;
    }
    // Once found, a later duration line does not replace it.
    handler.HandleOutputChunk(cases[0].second);
    handler.HandleOutputChunk("Duration: 00:00:10.00, x");
    EXPECT_EQ(session.Progress.InputDurationCs, 8345);
    EXPECT_EQ(handler.RunDuration, 8345);
}

TEST_F(ProgressHandling, PercentageBranchOfMencoderStyleTools) {
    const struct {
        const char* language;
        int32_t inputDuration;
        const char* chunk;
        const char* progress;
        int before;
        int bar;
    } cases[] = {
        {"FR", -1, "Pos:   1.2s     30f (10%) 25.00fps Trem:   0min   0mb  A-V:0.000 [0:0]", "Progression : 10.00% ", 0, 10},
        {"FR", -1, "Pos:  12.0s    300f (100%) 25.00fps", "Progression : 99.00% ", 0, 99},
        {"FR", -1, "Pos:   1.2s     30f ( 0%)", "Progression : 1 secondes traitées ", 0, 1},
        {"EN", -1, "Pos:   1.2s     30f ( 0%)", "Progression : 1 seconds processed ", 7, 1},
        {"FR", 1000, "Pos:   1.2s     30f ( 0%)", "Progression : 12.00% ", 0, 12},
        // A position that rounds to bar 0 still shows the bar moving.
        {"FR", 100000, "Pos:   0.1s      3f ( 0%)", "Progression : 0.01% ", 50, 1},
        {"FR", 100000, "Pos:   0.1s      3f ( 0%)", "Progression : 0.01% ", 0, 0},
        {"FR", 100, "Pos:   5.0s    125f ( 0%)", "Progression : 99.00% ", 0, 100},
    };
    for (const auto& c : cases) {
        ConversionSession session;
        window.Follow(session);
        session.Display().SetBarPosition(c.before);
        App().CurrentLanguage = c.language;
        session.Progress.InputDurationCs = c.inputDuration;
        session.Progress.DurationText = c.inputDuration > 0 ? "probed" : "";
        ProgressHandler fresh{session};
        fresh.HandleOutputChunk(c.chunk);
        EXPECT_EQ(window.progress, c.progress) << c.chunk;
        EXPECT_EQ(window.bar, c.bar) << c.chunk;
    }
}

TEST_F(ProgressHandling, UnrecognisedOutputMovesTheBarAsAnActivityIndicator) {
    const struct {
        const char* caption;
        int before;
        int after;
    } cases[] = {
        {"", 5, 6},
        {"", 100, 1},
        {"Progression : 1 secondes traitées ", 40, 1},
        {"Progression : 40.00% ", 40, 40},
    };
    for (const auto& c : cases) {
        session.Display().SetProgressText(c.caption);
        session.Display().SetBarPosition(c.before);
        handler.HandleOutputChunk("Stream #0:0: Video: mpeg4, yuv420p, 320x240");
        EXPECT_EQ(window.bar, c.after) << c.caption << " " << c.before;
    }
    // A time field that does not read as a number falls through the same way, and so
    // does the first half of a status line split between two reads.
    session.Display().SetProgressText("");
    session.Display().SetBarPosition(5);
    handler.HandleOutputChunk("Duration: 00:01:40.00, start: 0");
    handler.HandleOutputChunk("time=49.36  bitrate= 1");
    handler.HandleOutputChunk("frame= 1234 fps= 25 time=49.");
    EXPECT_EQ(window.bar, 8);
    EXPECT_EQ(window.progress, "");
}

TEST_F(ProgressHandling, ApplyReaderBarKeepsAStartedBarOnZero) {
    const struct {
        int bar;
        int request;
        int result;
    } cases[] = {{40, 0, 40}, {0, 0, 0}, {100, 0, 0}, {40, 70, 70}, {40, 250, 100}, {40, -5, 0}};
    for (const auto& c : cases) {
        session.Display().SetBarPosition(c.bar);
        ApplyReaderBar(session.Display(), c.request);
        EXPECT_EQ(window.bar, c.result) << c.bar << " " << c.request;
    }
}

TEST_F(ProgressHandling, ResetShowsTheIdleLookInTheUserLanguage) {
    for (const char* language : {"FR", "EN"}) {
        App().CurrentLanguage = language;
        session.Display().SetProgressText("Progression : 5.00% ");
        session.Display().SetBarPosition(5);
        ResetProgressDisplay(session.Display());
        EXPECT_EQ(window.title, "Transcoda 1.0");
        EXPECT_EQ(window.bar, 0);
        EXPECT_EQ(window.status, std::string(language) == "EN" ? "Ready" : "Prêt");
        EXPECT_EQ(window.progress, "");
    }
}

}  // namespace
}  // namespace transcoda
