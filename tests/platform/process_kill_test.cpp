#include "platform/process_kill.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/process.h"

namespace transcoda {
namespace {

namespace fs = std::filesystem;

bool Ended(ChildProcess& p) {
    for (int i = 0; i < 100; ++i)
        if (p.WaitFor(20)) return true;
    return false;
}

// Copies of the fake tool under names no other program on the machine uses, so the
// tests never end someone else's process.
class KillByName : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("transcoda-kill-" + std::to_string(getpid()));
        fs::create_directories(dir);
        unique = "tckill" + std::to_string(getpid()) + ".exe";
    }
    void TearDown() override {
        for (auto& p : started) {
            p->Terminate();
            p->WaitFor(2000);
        }
        fs::remove_all(dir);
    }
    ChildProcess* Launch(const std::string& fileName, const std::string& args) {
        fs::path exe = dir / fileName;
        if (!fs::exists(exe)) fs::copy_file(FAKE_TOOL, exe);
        started.push_back(std::make_unique<ChildProcess>());
        EXPECT_TRUE(started.back()->Start(exe.string() + " " + args, -1));
        return started.back().get();
    }
    fs::path dir;
    std::string unique;
    std::vector<std::unique_ptr<ChildProcess>> started;
};

TEST_F(KillByName, EndsOnlyTheFirstOfTwoNamesakes) {
    ChildProcess* first = Launch(unique, "sleep");
    ChildProcess* second = Launch(unique, "sleep");
    EXPECT_TRUE(KillProcessByName(unique));
    for (int i = 0; i < 200 && first->Running() && second->Running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(first->Running() + second->Running(), 1);
    EXPECT_TRUE(KillProcessByName(unique));
    EXPECT_TRUE(Ended(*first));
    EXPECT_TRUE(Ended(*second));
    EXPECT_FALSE(KillProcessByName(unique));
}

TEST_F(KillByName, IgnoresLetterCase) {
    std::string upper = unique;
    for (char& c : upper) c = static_cast<char>(toupper(c));
    ChildProcess* p = Launch(upper, "sleep");
    EXPECT_TRUE(KillProcessByName(unique));
    EXPECT_TRUE(Ended(*p));
}

TEST_F(KillByName, TakesAlongWhatTheToolStarted) {
    const std::string pidFile = (dir / "pids").string();
    ChildProcess* tool = Launch(unique, "hang " + pidFile);
    pid_t toolPid = 0, child = 0;
    for (int i = 0; i < 400 && child == 0; ++i) {
        std::ifstream in(pidFile);
        in >> toolPid >> child;
        if (child == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_NE(child, 0);
    EXPECT_TRUE(KillProcessByName(unique));
    EXPECT_TRUE(Ended(*tool));
    bool childGone = false;
    for (int i = 0; i < 200 && !childGone; ++i) {
        std::ifstream stat("/proc/" + std::to_string(child) + "/stat");
        std::string line;
        std::getline(stat, line);
        childGone = !stat || line.find(") Z") != std::string::npos;
        if (!childGone) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(childGone);
}

TEST_F(KillByName, NoMatchGivesFalse) {
    EXPECT_FALSE(KillProcessByName(""));
    EXPECT_FALSE(KillProcessByName(unique));
}

TEST_F(KillByName, NeverTouchesAnotherUsersProcess) {
    if (getuid() != 0) GTEST_SKIP() << "needs to start a process as another user";
    fs::permissions(dir, fs::perms::all);
    ChildProcess* other = Launch(unique, "asuser 65534");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_TRUE(other->Running());
    EXPECT_FALSE(KillProcessByName(unique));
    EXPECT_TRUE(other->Running());
}

}  // namespace
}  // namespace transcoda
