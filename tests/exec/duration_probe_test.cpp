#include "exec/duration_probe.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "exec/probe_cache.h"
#include "exec/run_tool.h"
#include "platform/command_line.h"
#include "platform/program_folder.h"
#include "tool_run_support.h"

namespace transcoda {
namespace {

namespace fs = std::filesystem;

class DurationProbe : public testing::ToolRun {
protected:
    void SetUp() override {
        testing::ToolRun::SetUp();
        folder = fs::temp_directory_path() / ("transcoda probe " + std::to_string(getpid()));
        fs::create_directories(folder / "B");
        App().ProgramFolder = folder.string() + "/";
    }
    void TearDown() override {
        fs::remove_all(folder);
        App().ProgramFolder.clear();
        App().WorkFolder.clear();
        testing::ToolRun::TearDown();
    }
    fs::path folder;
};

TEST_F(DurationProbe, CommandLineQuotesTheInputOnly) {
    std::string seen;
    session.SetRunToolHook([&](const std::string& line) {
        seen = line;
        return ToolOutcome::Exit(1);
    });
    extractDuration(session, "/films/my film.avi");
    session.SetRunToolHook(nullptr);
    EXPECT_EQ(seen, App().ProgramFolder + "B/utilitymffx.exe -i \"/films/my film.avi\"");
}

TEST_F(DurationProbe, TakesTheDurationFromTheChunkAfterTheBanner) {
    fs::copy_file(testing::kFakeTool, folder / "B" / "utilitymffx.exe");
    App().DebugMode = true;
    session.LastExitStatus = 0;
    extractDuration(session, "/films/my film.avi");
    EXPECT_EQ(session.Progress.InputDurationCs, 8345);
    EXPECT_EQ(session.LastExitStatus, 0);  // the probe's own error status is not the conversion's
    EXPECT_NE(session.Progress.DurationText.find("Duration: 00:01:23.45"), std::string::npos);
    EXPECT_NE(session.Progress.DurationText.find("from '/films/my film.avi'"), std::string::npos);
    EXPECT_EQ(window.log.front(), "$*$*$*$ Extraction de la durée du fichier en entrée");
    EXPECT_EQ(window.log.back(), "$*$*$*$ FIN Extraction de la durée du fichier en entrée dans extractDuration");
    ExpectIdleDisplay();
}

TEST_F(DurationProbe, MissingProbeToolLeavesNothingFound) {
    extractDuration(session, "/films/a.avi");
    EXPECT_EQ(session.Progress.InputDurationCs, kNotProbed);
    EXPECT_TRUE(session.Progress.DurationText.empty());
    ExpectIdleDisplay();
}

TEST_F(DurationProbe, ReadsTheDurationOfARealClip) {
    if (system("command -v ffmpeg >/dev/null 2>&1") != 0) GTEST_SKIP() << "ffmpeg missing";
    const fs::path clip = folder / "clip with blanks.wav";
    const std::string make = "ffmpeg -v quiet -y -f lavfi -i anullsrc=r=8000:cl=mono -t 2.5 \"" + clip.string() + "\"";
    ASSERT_EQ(system(make.c_str()), 0);
    fs::create_symlink("/usr/bin/ffmpeg", folder / "B" / "utilitymffx.exe");
    App().DebugMode = true;
    extractDuration(session, clip.string());
    EXPECT_EQ(session.Progress.InputDurationCs, 250) << ::testing::PrintToString(window.log);
    EXPECT_FALSE(session.Progress.DurationText.empty());
}

// With the helper tools the build installs beside the test programs (full builds only).
TEST_F(DurationProbe, ProbeAndConversionWithTheInstalledHelpers) {
    const std::string helpers = ExecutableFolder() + "B/";
    if (!fs::exists(helpers + "utilitymffx.exe") || system("command -v ffmpeg >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "helper tools not built";
    const fs::path clip = folder / "clip.avi";
    const std::string make = "ffmpeg -v quiet -y -f lavfi -i testsrc=size=96x64:rate=25 -f lavfi -i sine -t 2 \"" +
                             clip.string() + "\"";
    ASSERT_EQ(system(make.c_str()), 0);
    App().ProgramFolder = ExecutableFolder();
    extractDuration(session, clip.string());
    EXPECT_NEAR(session.Progress.InputDurationCs, 200, 10);

    session.Progress.InputDurationCs = kNotProbed;
    session.Progress.DurationText.clear();
    RunTool(session, helpers + "utilitymff.exe -i " + Q(clip.string()) + " -y " + Q((folder / "out.flv").string()));
    EXPECT_EQ(session.LastExitStatus, 0);
    EXPECT_NEAR(session.Progress.InputDurationCs, 200, 10);
    const auto shown = window.Texts("progress");
    EXPECT_TRUE(std::any_of(shown.begin(), shown.end(),
                            [](const std::string& t) { return t.rfind("Progression : ", 0) == 0 && t.find('%') != std::string::npos; }))
        << ::testing::PrintToString(shown);
    EXPECT_TRUE(fs::exists(folder / "out.flv"));
    ExpectIdleDisplay();
}


// The second probe of an unchanged file starts no tool: the answer the tool left in the
// instance's cache goes through the same parsers. A changed file is probed again.
TEST_F(DurationProbe, TheToolsAnswerIsKeptForTheUnchangedFile) {
    const std::string helpers = ExecutableFolder() + "B/";
    if (!fs::exists(helpers + "utilitymffx.exe") || system("command -v ffmpeg >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "helper tools not built";
    const fs::path clip = folder / "clip.mkv";
    auto make = [&](int seconds) {
        const std::string line = "ffmpeg -v quiet -y -f lavfi -i testsrc=size=96x64:rate=25 -f lavfi -i sine -t " +
                                  std::to_string(seconds) + " \"" + clip.string() + "\"";
        ASSERT_EQ(system(line.c_str()), 0);
    };
    make(2);
    fs::create_directories(folder / "work");
    App().ProgramFolder = ExecutableFolder();
    App().WorkFolder = (folder / "work").string() + "/";
    App().DebugMode = true;
    struct Probe {
        bool toolRan;
        int32_t duration;
        std::string text, report;
    };
    auto probe = [&] {
        window.log.clear();
        session.Progress.InputDurationCs = kNotProbed;
        session.Progress.DurationText.clear();
        const ToolOutcome outcome = extractDuration(session, clip.string());
        const bool ran = std::any_of(window.log.begin(), window.log.end(),
                                     [](const std::string& l) { return l.rfind("--TH2", 0) == 0; });
        return Probe{ran, session.Progress.InputDurationCs, session.Progress.DurationText,
                     outcome.Report ? FormatStreamReport(*outcome.Report) : "none"};
    };

    const Probe first = probe();
    const Probe second = probe();
    EXPECT_TRUE(first.toolRan);
    EXPECT_FALSE(second.toolRan) << ::testing::PrintToString(window.log);
    EXPECT_NEAR(first.duration, 200, 10);
    EXPECT_EQ(second.duration, first.duration);
    EXPECT_EQ(second.text, first.text);
    EXPECT_EQ(second.report, first.report);
    EXPECT_NE(first.report.find("readable video="), std::string::npos) << first.report;
    ExpectIdleDisplay();

    make(3);
    const Probe changed = probe();
    EXPECT_TRUE(changed.toolRan);
    EXPECT_NEAR(changed.duration, 300, 10);
    size_t entries = 0;
    for (const auto& e : fs::directory_iterator(folder / "work" / "probes")) entries += e.is_regular_file();
    EXPECT_EQ(entries, 1u);
}

}  // namespace
}  // namespace transcoda
