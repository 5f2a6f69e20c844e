#include "platform/process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/command_line.h"
#include "platform/instance_mark.h"
#include "support/process_gone.h"

namespace transcoda {
namespace {

using testing::EventuallyGone;
using testing::ProcessGone;

const std::string kTool = FAKE_TOOL;

// Runs the fake tool with `args` and returns what it printed, and its exit status.
std::string RunCapturing(const std::string& args, int* status = nullptr) {
    int fds[2];
    EXPECT_EQ(pipe2(fds, O_CLOEXEC), 0);
    ChildProcess child;
    EXPECT_TRUE(child.Start(kTool + " " + args, fds[1]));
    close(fds[1]);
    std::string out;
    char buf[4096];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) > 0) out.append(buf, static_cast<size_t>(n));
    close(fds[0]);
    EXPECT_TRUE(child.WaitFor(5000));
    if (status) *status = child.ExitStatus();
    return out;
}

TEST(ChildProcess, ExitStatusOfEveryKindOfEnd) {
    struct Case {
        std::string args;
        int status;
    } cases[] = {{"exit 0", 0}, {"exit 3", 3}, {"exit 255", 255}, {"crash", 128 + SIGSEGV}, {"nonsense", 64}};
    for (const auto& c : cases) {
        int status = -2;
        RunCapturing(c.args, &status);
        EXPECT_EQ(status, c.status) << c.args;
    }
}

TEST(ChildProcess, ArgumentsArriveExactlyAsQuoted) {
    const std::string odd[] = {"a b", "say \"hi\"", "C:\\dir\\", "", "tab\there", "é ü"};
    std::string line = "args";
    std::string expected;
    for (const auto& a : odd) {
        line += " " + Q(a);
        expected += "[" + a + "]";
    }
    EXPECT_EQ(RunCapturing(line), expected + "\n");
}

TEST(ChildProcess, InheritsEnvironmentAndFolderButNoDescriptors) {
    setenv("TRANSCODA_PROBE_VALUE", "sept", 1);
    EXPECT_EQ(RunCapturing("env TRANSCODA_PROBE_VALUE"), "env:sept\n");
    // The tool carries this instance's mark, in place of one the program inherited.
    setenv("TRANSCODA_INSTANCE", "1-2", 1);
    EXPECT_EQ(RunCapturing("env TRANSCODA_INSTANCE"), "env:" + ThisInstance().Text() + "\n");
    unsetenv("TRANSCODA_INSTANCE");
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_EQ(RunCapturing("cwd"), std::string("cwd:") + cwd + "\n");
    // A descriptor opened without close-on-exec must not reach the tool either.
    int leaky = open("/dev/null", O_RDONLY);
    ASSERT_GE(leaky, 0);
    EXPECT_EQ(RunCapturing("fds"), "fds:0\n");
    close(leaky);
}

TEST(ChildProcess, UnquotedProgramPathMayHoldBlanks) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("transcoda my tools " + std::to_string(getpid())) / "B";
    fs::create_directories(dir);
    fs::copy_file(kTool, dir / "utilitymff.exe");
    int fds[2];
    ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
    ChildProcess child;
    ASSERT_TRUE(child.Start((dir / "utilitymff.exe").string() + " args \"a b\" c", fds[1]));
    close(fds[1]);
    char buf[256] = {};
    ssize_t n = read(fds[0], buf, sizeof buf - 1);
    close(fds[0]);
    EXPECT_TRUE(child.WaitFor(5000));
    EXPECT_EQ(std::string(buf, n > 0 ? static_cast<size_t>(n) : 0), "[a b][c]\n");
    fs::remove_all(dir.parent_path());
}

TEST(ChildProcess, OutputMayGoToAStandardDescriptor) {
    // The tool's output sent to this program's own stderr, here a pipe.
    int fds[2];
    ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
    const int savedErr = dup(2);
    dup2(fds[1], 2);
    close(fds[1]);
    ChildProcess child;
    const bool started = child.Start(kTool + " args x", 2);
    dup2(savedErr, 2);
    close(savedErr);
    ASSERT_TRUE(started);
    EXPECT_TRUE(child.WaitFor(5000));
    char buf[64] = {};
    ssize_t n = read(fds[0], buf, sizeof buf - 1);
    close(fds[0]);
    EXPECT_EQ(std::string(buf, n > 0 ? static_cast<size_t>(n) : 0), "[x]\n");
}

TEST(ChildProcess, RefusesWhatCannotStart) {
    for (const char* line : {"", "   ", "/nonexistent/tool.exe -i x", "/etc/hostname"}) {
        ChildProcess child;
        EXPECT_FALSE(child.Start(line, -1)) << line;
        EXPECT_EQ(child.ExitStatus(), -1);
        EXPECT_FALSE(child.Running());
        EXPECT_TRUE(child.WaitFor(0));
    }
}

TEST(ChildProcess, TerminateEndsTheToolAndEverythingItStarted) {
    char pidFile[] = "/tmp/transcoda-pids-XXXXXX";
    int fd = mkstemp(pidFile);
    ASSERT_GE(fd, 0);
    close(fd);
    ChildProcess child;
    ASSERT_TRUE(child.Start(kTool + " hang " + pidFile, -1));
    pid_t tool = 0, grandchild = 0;
    for (int i = 0; i < 500 && grandchild == 0; ++i) {
        std::ifstream in(pidFile);
        in >> tool >> grandchild;
        if (grandchild == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_NE(grandchild, 0);
    EXPECT_EQ(tool, child.Pid());
    EXPECT_FALSE(child.WaitFor(20));
    EXPECT_TRUE(child.Running());
    EXPECT_TRUE(child.Terminate());
    EXPECT_TRUE(child.WaitFor(5000));
    EXPECT_EQ(child.ExitStatus(), 128 + SIGKILL);
    EXPECT_TRUE(EventuallyGone(grandchild));
    unlink(pidFile);
}

TEST(ChildProcess, DestructorLeavesARunningToolAlone) {
    pid_t pid;
    {
        ChildProcess child;
        ASSERT_TRUE(child.Start(kTool + " hang", -1));
        pid = child.Pid();
    }
    EXPECT_FALSE(ProcessGone(pid));
    kill(-pid, SIGKILL);
    EXPECT_TRUE(EventuallyGone(pid));
}

}  // namespace
}  // namespace transcoda
