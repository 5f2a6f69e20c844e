#pragma once
// Shared set-up for the tests that run real processes through the tool runner.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <future>
#include <string>
#include <thread>

#include "exec/app_state.h"
#include "exec/conversion_session.h"
#include "support/process_gone.h"
#include "support/recording_window.h"

namespace transcoda::testing {

inline const std::string kFakeTool = FAKE_TOOL;

class ToolRun : public ::testing::Test {
protected:
    void SetUp() override {
        AppState& app = App();
        AttachWindow(&window);
        window.Follow(session);
        app.CurrentLanguage = "FR";
        app.DebugMode = false;
    }
    void TearDown() override {
        App().Window = nullptr;
        App().DebugMode = false;
    }

    // Runs `fn` on another thread and fails the test if it does not return in time,
    // so that a hang shows as a failure rather than a stuck test.
    template <class Fn>
    bool ReturnsWithin(int seconds, Fn fn) {
        auto done = std::async(std::launch::async, fn);
        if (done.wait_for(std::chrono::seconds(seconds)) == std::future_status::ready) return true;
        ADD_FAILURE() << "still running after " << seconds << " s";
        session.Stop();  // let it end before the future is destroyed
        return false;
    }

    // A display under way, as a run leaves it before its reset.
    void ShowBusy(const std::string& progress, int bar) {
        session.Display().SetProgressText(progress);
        session.Display().SetBarPosition(bar);
        session.Display().Push();
    }

    void ExpectIdleDisplay() {
        EXPECT_EQ(window.title, "Transcoda 1.0");
        EXPECT_EQ(window.bar, 0);
        EXPECT_EQ(window.status, App().English() ? "Ready" : "Prêt");
        EXPECT_EQ(window.progress, "");
    }

    RecordingWindow window;
    ConversionSession session;
};

// The two pids a "hang" or "orphan" fake tool writes, once they are there.
inline std::pair<pid_t, pid_t> ReadPids(const std::string& file) {
    pid_t tool = 0, child = 0;
    for (int i = 0; i < 400 && child == 0; ++i) {
        std::ifstream in(file);
        in >> tool >> child;
        if (child == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return {tool, child};
}

inline std::string TempPidFile() {
    char name[] = "/tmp/transcoda-run-XXXXXX";
    int fd = mkstemp(name);
    if (fd >= 0) close(fd);
    return name;
}

}  // namespace transcoda::testing
