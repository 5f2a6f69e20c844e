// Conversions side by side in one process, each in a session of its own, with the real
// helper tools on generated clips: all of them run at once, each writes its own output,
// and a Stop reaches only the session it is given; a list run as such sessions, a few at
// once, and stopped. Skipped where the tools are not built
// (a core-only build finds them through TRANSCODA_HELPER_TOOLS).

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "conversion/session_list.h"
#include "conversion/worker.h"
#include "exec/app_state.h"
#include "recipes/format_catalogue.h"

namespace transcoda {
namespace {

namespace fs = std::filesystem;

std::string HelperTools() {
    const char* given = std::getenv("TRANSCODA_HELPER_TOOLS");
    const fs::path dir = given != nullptr && *given != '\0' ? fs::path(given) : fs::path(HELPER_DIR);
    std::error_code ec;
    return fs::exists(dir / "utilitymff.exe", ec) ? dir.string() : std::string();
}

TEST(SideBySide, SessionsConvertAtOnceAndAStopReachesOnlyItsOwn) {
    const std::string tools = HelperTools();
    if (tools.empty()) GTEST_SKIP() << "the helper tools are not built";
    const fs::path root = fs::temp_directory_path() / ("transcoda-side-" + std::to_string(getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "B");
    fs::create_directories(root / "work");
    fs::create_directories(root / "out");
    for (const auto& tool : fs::directory_iterator(tools)) fs::create_symlink(tool.path(), root / "B" / tool.path().filename());
    const std::string fixtures = FIXTURE_DIR;
    ASSERT_EQ(std::system(("bash '" FIXTURES_SCRIPT "' '" + fixtures + "' >/dev/null").c_str()), 0);
    App().ProgramFolder = root.string() + "/";
    App().WorkFolder = (root / "work").string() + "/";

    // Two conversions of the same clip, and a third whose session is stopped at once;
    // the program folder holds no output.
    auto start = [&](const std::string& name) {
        const ConversionRequest request{fixtures + "/clip.avi", (root / "out" / name).string(), FormatLabel(5)};
        auto worker = std::make_shared<ConversionWorker>(ConversionWorker::TakeJob("transformOnce", request));
        worker->Start({});
        return worker;
    };
    auto first = start("first.mpeg");
    auto second = start("second.mpeg");
    auto stopped = start("stopped.mpeg");
    stopped->Session().Stop();
    for (const auto& worker : {first, second, stopped}) ASSERT_TRUE(worker->WaitForEnd(120000));

    using Result = RequestOutcome::Result;
    for (const auto& [worker, name] : {std::pair{first, "first.mpeg"}, std::pair{second, "second.mpeg"}}) {
        ASSERT_EQ(worker->Outcomes().size(), 1u) << name;
        EXPECT_EQ(worker->Outcomes()[0].Outcome, Result::Written) << name << ": " << worker->Outcomes()[0].Reason;
        EXPECT_EQ(worker->Ending().Written, std::vector<std::string>{(root / "out" / name).string()});
    }
    ASSERT_EQ(stopped->Outcomes().size(), 1u);
    EXPECT_EQ(stopped->Outcomes()[0].Outcome, Result::Stopped);
    EXPECT_FALSE(fs::exists(root / "out" / "stopped.mpeg"));
    App().WorkFolder.clear();
    App().ProgramFolder.clear();
    fs::remove_all(root);
}

// A list of sessions, at most two at once: every item written; then a Stop that comes
// as the second item is being made up stops it and the first, and no third starts.
TEST(SideBySide, AListRunsAtMostNSessionsAtOnceAndAStopEndsThemAll) {
    const std::string tools = HelperTools();
    if (tools.empty()) GTEST_SKIP() << "the helper tools are not built";
    const fs::path root = fs::temp_directory_path() / ("transcoda-list-" + std::to_string(getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "work");
    fs::create_directories(root / "out");
    fs::create_symlink(tools, root / "B");
    const std::string fixtures = FIXTURE_DIR;
    ASSERT_EQ(std::system(("bash '" FIXTURES_SCRIPT "' '" + fixtures + "' >/dev/null").c_str()), 0);
    App().ProgramFolder = root.string() + "/";
    App().WorkFolder = (root / "work").string() + "/";
    auto requests = [&](const std::string& stem, int count) {
        std::vector<ConversionRequest> list;
        for (int i = 1; i <= count; ++i)
            list.push_back({fixtures + "/clip.avi", (root / "out" / (stem + std::to_string(i) + ".mp3")).string(),
                            FormatLabel(34)});
        return list;
    };
    using Result = RequestOutcome::Result;

    SessionList whole(requests("a", 4), 2);
    size_t running = 0, most = 0;
    SessionList::Events events;
    events.Started = [&](size_t, ConversionWorker&) { most = std::max(most, ++running); };
    events.Ended = [&](size_t, const RequestOutcome&, const WorkerEnding&) { --running; };
    const auto written = whole.Run(events);
    ASSERT_EQ(written.size(), 4u);
    for (const auto& outcome : written) EXPECT_EQ(outcome.Outcome, Result::Written) << outcome.Reason;
    EXPECT_EQ(most, 2u);

    SessionList stopped(requests("s", 3), 2);
    events.Started = [&](size_t index, ConversionWorker&) {
        if (index == 1) stopped.Stop();
    };
    events.Ended = {};
    const auto ends = stopped.Run(events);
    ASSERT_EQ(ends.size(), 2u) << "the third item started";
    EXPECT_NE(ends[0].Outcome, Result::Failed) << ends[0].Reason;  // written, when it ended first
    EXPECT_EQ(ends[1].Outcome, Result::Stopped);
    EXPECT_FALSE(fs::exists(root / "out" / "s2.mp3"));
    App().WorkFolder.clear();
    App().ProgramFolder.clear();
    fs::remove_all(root);
}

}  // namespace
}  // namespace transcoda
