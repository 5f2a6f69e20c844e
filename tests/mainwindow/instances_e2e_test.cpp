// The window converting beside the terminal front end: each keeps to its own tools.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>

#include "e2e_support.h"

extern char** environ;

namespace transcoda::testing {
namespace {

class InstancesTest : public WindowTest {
protected:
    static void SetUpTestSuite() { MakeClipFixtures(); }
    void TearDown() override {
        if (cli_ > 0) {
            kill(cli_, SIGKILL);
            waitpid(cli_, nullptr, 0);
        }
        WindowTest::TearDown();
    }

    // Starts transcoda-cli as a terminal user would: not as one of this program's tools.
    void StartCli(const std::vector<std::string>& args) {
        std::vector<std::string> all = {TRANSCODA_BIN_DIR "/transcoda-cli"};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& a : all) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, Path("cli.out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, Path("cli.err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_EQ(posix_spawn(&cli_, argv[0], &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
    }

    // A child of the CLI whose command line holds `part`.
    bool CliRuns(const std::string& part) {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
            const std::string name = entry.path().filename().string();
            if (name.find_first_not_of("0123456789") != std::string::npos) continue;
            const std::string stat = ReadFile(entry.path().string() + "/stat");
            const auto close = stat.rfind(')');
            if (close == std::string::npos) continue;
            int ppid = 0;
            char state = 0;
            if (std::sscanf(stat.c_str() + close + 1, " %c %d", &state, &ppid) != 2 || ppid != cli_) continue;
            std::string cmdline = ReadFile(entry.path().string() + "/cmdline");
            for (char& c : cmdline)
                if (c == '\0') c = ' ';
            if (cmdline.find(part) != std::string::npos) return true;
        }
        return false;
    }

    pid_t cli_ = -1;
};

TEST_F(InstancesTest, StartAndStopInTheWindowLeaveTheTerminalsConversionAlone) {
    const std::string clip = Path("long.avi");
    ASSERT_EQ(std::system(("ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi "
                           "-i testsrc2=size=320x240:rate=25:duration=120 -f lavfi -i sine=frequency=440:duration=120 "
                           "-c:v mpeg4 -q:v 8 -c:a libmp3lame -shortest " +
                           Sh(clip))
                              .c_str()),
              0);
    std::filesystem::create_directories(Path("out"));
    StartCli({"--lang", "EN", "-f", "0", clip, Path("out/cli.avi")});
    ASSERT_TRUE(WaitUntil([&] { return CliRuns("1280x720"); }, 60000)) << "the terminal's picture step never ran";

    // The window's own tool hangs until it is ended.
    const std::string tool = App().HelperFolder() + "utilitymff3.exe";
    std::filesystem::remove(tool);
    std::ofstream(tool) << "#!/bin/sh\necho $$ > " + Sh(Path("tool.pid")) + "\nexec sleep 30\n";
    std::filesystem::permissions(tool, std::filesystem::perms::owner_all);
    MakeForm();
    SetRequest(std::string(TRANSCODA_FIXTURE_DIR) + "/clip.avi", Path("out/clip.mp3"), 34);
    Click(form->convertStopPicture);
    ASSERT_TRUE(WaitUntil([&] { return !ReadFile(Path("tool.pid")).empty(); }, 60000));
    const pid_t windowTool = std::stoi(ReadFile(Path("tool.pid")));
    Click(form->convertStopPicture);  // Stop
    ASSERT_TRUE(WaitForIdle(10000));
    EXPECT_TRUE(WaitUntil([&] { return kill(windowTool, 0) != 0; }, 5000)) << "the window's tool was not ended";

    int status = 0;
    ASSERT_EQ(waitpid(cli_, &status, WNOHANG), 0) << "the terminal's conversion ended during the window's";
    ASSERT_TRUE(WaitUntil([&] { return waitpid(cli_, &status, WNOHANG) == cli_; }, 240000));
    cli_ = -1;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << ReadFile(Path("cli.err"));
    EXPECT_NE(ReadFile(Path("cli.out")).find("1 of 1 file(s) written."), std::string::npos) << ReadFile(Path("cli.out"));
}

}  // namespace
}  // namespace transcoda::testing
