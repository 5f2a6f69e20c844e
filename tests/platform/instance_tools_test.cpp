#include "platform/instance_tools.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/instance_mark.h"
#include "platform/process.h"

namespace transcoda {
namespace {

namespace fs = std::filesystem;

TEST(InstanceMark, OnlyWellFormedMarksAreRead) {
    struct Case {
        const char* text;
        bool valid;
    };
    for (const Case& c : {Case{"123-456", true}, Case{"1-0", true}, Case{"0-5", false}, Case{"-1-5", false},
                          Case{"12-", false}, Case{"-12", false}, Case{"12-3x", false}, Case{"12 -3", false},
                          Case{"12", false}, Case{"", false}, Case{"99999999999999-1", false},
                          Case{"12-+3", false}}) {
        const auto mark = ParseInstanceMark(c.text);
        EXPECT_EQ(mark.has_value(), c.valid) << c.text;
        if (mark) {
            EXPECT_EQ(mark->Text(), c.text);
        }
    }
}

TEST(InstanceMark, GoneOnlyWhenSurelyEnded) {
    const InstanceMark self = ThisInstance();
    EXPECT_EQ(self.Pid, getpid());
    EXPECT_NE(self.StartTime, 0u);

    // A process that has ended but is not yet reaped.
    ChildProcess ended;
    ASSERT_TRUE(ended.Start(std::string(FAKE_TOOL) + " sleep", -1));
    const auto endedMark = RunningProcessMark(ended.Pid());
    ASSERT_TRUE(endedMark.has_value());
    EXPECT_FALSE(InstanceGone(*endedMark));
    ended.Terminate();
    for (int i = 0; i < 500 && !InstanceGone(*endedMark); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));

    struct Case {
        const char* name;
        InstanceMark mark;
        bool gone;
    };
    for (const Case& c : {Case{"this instance", self, false},
                          Case{"its id, another start", {self.Pid, self.StartTime + 1}, true},
                          Case{"no such process", {0x7ffffff0, 1}, true},
                          Case{"ended, not reaped", *endedMark, true}})
        EXPECT_EQ(InstanceGone(c.mark), c.gone) << c.name;
    EXPECT_TRUE(ended.WaitFor(5000));
}

// Which marked processes are ended, for each kind of process that may be found.
class MarkedTools : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("transcoda-marks-" + std::to_string(getpid()));
        fs::create_directories(dir);
        fs::permissions(dir, fs::perms::all);
        // A live process that is not this one: the mark of a running instance.
        ChildProcess* other = Start("env -u TRANSCODA_INSTANCE " + std::string(FAKE_TOOL) + " sleep");
        liveOther = RunningProcessMark(other->Pid()).value();
    }
    void TearDown() override {
        for (auto& p : started) {
            p->Terminate();
            p->WaitFor(2000);
        }
        fs::remove_all(dir);
    }
    ChildProcess* Start(const std::string& commandLine) {
        started.push_back(std::make_unique<ChildProcess>());
        EXPECT_TRUE(started.back()->Start(commandLine, -1));
        return started.back().get();
    }
    // The fake tool, with the given mark in place of this instance's ("": none at all).
    ChildProcess* StartMarked(const std::optional<std::string>& mark, const std::string& args) {
        std::string line = "/usr/bin/env ";
        if (!mark) {
        } else if (mark->empty()) {
            line += "-u TRANSCODA_INSTANCE ";
        } else {
            line += "TRANSCODA_INSTANCE=" + *mark + " ";
        }
        return Start(line + FAKE_TOOL + " " + args);
    }
    static bool Gone(pid_t pid) {
        for (int i = 0; i < 200; ++i) {
            std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
            std::string line;
            std::getline(stat, line);
            if (!stat || line.find(") Z") != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    static bool RunsTheFakeTool(pid_t pid) {
        std::error_code ec;
        return fs::read_symlink("/proc/" + std::to_string(pid) + "/exe", ec) == fs::path(FAKE_TOOL);
    }
    static bool StillThere(ChildProcess* p) { return !p->WaitFor(50); }

    fs::path dir;
    InstanceMark liveOther;
    std::vector<std::unique_ptr<ChildProcess>> started;
};

TEST_F(MarkedTools, EachKindOfProcessIsEndedOnlyWhenItsInstanceAllows) {
    const std::string goneMark = InstanceMark{getpid(), ThisInstance().StartTime + 7}.Text();
    struct Case {
        const char* name;
        std::optional<std::string> mark;  // nothing: this instance's own
        const char* args;
        bool endedWithOwn;   // by ToolsToEnd::OfThisAndGoneInstances
        bool endedWithGone;  // by ToolsToEnd::OfGoneInstances
    };
    const std::vector<Case> cases = {
        {"own tool", std::nullopt, "sleep", true, false},
        {"tool of an ended instance", goneMark, "sleep", true, true},
        {"tool of a running instance", liveOther.Text(), "sleep", false, false},
        {"process without a mark", "", "sleep", false, false},
        {"garbled mark", "tool", "sleep", false, false},
    };
    for (ToolsToEnd which : {ToolsToEnd::OfGoneInstances, ToolsToEnd::OfThisAndGoneInstances}) {
        const bool withOwn = which == ToolsToEnd::OfThisAndGoneInstances;
        std::vector<ChildProcess*> tools;
        for (const Case& c : cases) tools.push_back(StartMarked(c.mark, c.args));
        // Each has its environment once env has become the fake tool.
        for (ChildProcess* t : tools)
            for (int i = 0; i < 400 && !RunsTheFakeTool(t->Pid()); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EndMarkedTools(which);
        for (size_t i = 0; i < cases.size(); ++i) {
            const bool expected = withOwn ? cases[i].endedWithOwn : cases[i].endedWithGone;
            if (expected) EXPECT_TRUE(tools[i]->WaitFor(2000)) << cases[i].name << ", own too: " << withOwn;
            else EXPECT_TRUE(StillThere(tools[i])) << cases[i].name << ", own too: " << withOwn;
        }
        for (ChildProcess* t : tools) {
            t->Terminate();
            t->WaitFor(2000);
        }
    }
}

TEST_F(MarkedTools, TheToolsEnginesGoWithIt) {
    const std::string pidFile = (dir / "pids").string();
    ChildProcess* tool = StartMarked(std::nullopt, "hang " + pidFile);
    pid_t toolPid = 0, engine = 0;
    for (int i = 0; i < 400 && engine == 0; ++i) {
        std::ifstream in(pidFile);
        in >> toolPid >> engine;
        if (engine == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_NE(engine, 0);
    EXPECT_GE(EndMarkedTools(ToolsToEnd::OfThisAndGoneInstances), 1);
    EXPECT_TRUE(tool->WaitFor(2000));
    EXPECT_TRUE(Gone(engine));
}

TEST_F(MarkedTools, NeverAnotherUsersProcess) {
    if (getuid() != 0) GTEST_SKIP() << "needs to start a process as another user";
    // It carries this instance's own mark, which no other instance ends (tests run side by
    // side), and is looked at only once it runs as the other user.
    ChildProcess* other = StartMarked(std::nullopt, "asuser 65534");
    bool dropped = false;
    for (int i = 0; i < 500 && !dropped && !other->WaitFor(10); ++i) {
        std::ifstream status("/proc/" + std::to_string(other->Pid()) + "/status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("Uid:", 0) == 0) dropped = line.find("\t65534\t") != std::string::npos;
    }
    ASSERT_TRUE(dropped);
    EndMarkedTools(ToolsToEnd::OfThisAndGoneInstances);
    EXPECT_TRUE(StillThere(other));
}

}  // namespace
}  // namespace transcoda
