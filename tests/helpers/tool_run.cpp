#include "tool_run.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "engine.h"
#include "exec/app_state.h"
#include "media_probe.h"
#include "platform/command_line.h"

namespace tools_test {

std::string Fixture(const std::string& name) {
    static bool made = [] {
        std::string cmd = std::string("bash ") + FIXTURE_SCRIPT + " " + FIXTURE_DIR;
        return std::system(cmd.c_str()) == 0;
    }();
    (void)made;
    return std::string(FIXTURE_DIR) + "/" + name;
}

TempFolder::TempFolder() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "tools-test-XXXXXX").string();
    path_ = mkdtemp(tmpl.data());
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void UseInstalledTools(const TempFolder& dir) {
    namespace fs = std::filesystem;
    fs::create_directories(dir / "B");
    for (const auto& e : fs::directory_iterator(HELPER_DIR)) {
        const fs::path link = fs::path(dir.path()) / "B" / e.path().filename();
        if (!fs::is_symlink(link)) fs::create_symlink(e.path(), link);
    }
    auto& app = transcoda::App();
    app.ProgramFolder = dir.path() + "/";
    app.WorkFolder.clear();
}

std::string InstalledTempStem() { return transcoda::App().IntermediateFolder() + "tmp4321"; }

namespace {

std::vector<std::string> CommandArgs(const std::string& tool, const std::string& arguments) {
    return transcoda::SplitCommandLine(std::string(HELPER_DIR) + tool + " " + arguments);
}

}  // namespace

namespace {

RunResult RunArgs(std::vector<std::string> argv, const std::function<void(const char*, size_t)>& onChunk) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return {};
    pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], 1);
        dup2(fds[1], 2);
        int devnull = open("/dev/null", O_RDONLY);
        dup2(devnull, 0);
        std::vector<char*> a;
        for (auto& s : argv) a.push_back(s.data());
        a.push_back(nullptr);
        execv(a[0], a.data());
        _exit(127);
    }
    close(fds[1]);
    RunResult r;
    char buf[4096];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) != 0) {
        if (n < 0) {
            if (errno == EINTR) continue;
            break;
        }
        r.output.append(buf, static_cast<size_t>(n));
        if (onChunk) onChunk(buf, static_cast<size_t>(n));
    }
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return r;
}

RunResult RunDeletingOutput(const std::vector<std::string>& argv, const std::string& output) {
    if (!output.empty()) unlink(output.c_str());
    return RunArgs(argv, nullptr);
}

}  // namespace

RunResult RunToolChunked(const std::string& tool, const std::string& arguments,
                         const std::function<void(const char*, size_t)>& onChunk) {
    return RunArgs(CommandArgs(tool, arguments), onChunk);
}

RunResult RunTool(const std::string& tool, const std::string& arguments, const std::string& output) {
    return RunDeletingOutput(CommandArgs(tool, arguments), output);
}

RunResult RunCommandLine(const std::string& commandLine, const std::string& output) {
    return RunDeletingOutput(transcoda::SplitCommandLine(commandLine), output);
}

pid_t StartTool(const std::string& tool, const std::string& arguments, const std::vector<std::string>& env) {
    std::vector<std::string> argv = CommandArgs(tool, arguments);
    pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        int devnull = open("/dev/null", O_RDWR);
        dup2(devnull, 0);
        dup2(devnull, 1);
        dup2(devnull, 2);
        for (const auto& e : env) putenv(const_cast<char*>(e.c_str()));
        std::vector<char*> a;
        for (auto& s : argv) a.push_back(s.data());
        a.push_back(nullptr);
        execv(a[0], a.data());
        _exit(127);
    }
    setpgid(pid, pid);
    return pid;
}

std::vector<pid_t> ChildrenOf(pid_t pid) {
    std::vector<pid_t> out;
    DIR* d = opendir("/proc");
    if (!d) return out;
    while (dirent* e = readdir(d)) {
        pid_t p = std::atoi(e->d_name);
        if (p <= 0) continue;
        std::ifstream stat("/proc/" + std::string(e->d_name) + "/stat");
        std::string line;
        if (!std::getline(stat, line)) continue;
        size_t close = line.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream rest(line.substr(close + 2));
        char state;
        pid_t ppid;
        rest >> state >> ppid;
        if (ppid == pid && state != 'Z') out.push_back(p);
    }
    closedir(d);
    return out;
}

bool Alive(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return false;
    size_t close = line.rfind(')');
    return close != std::string::npos && line.size() > close + 2 && line[close + 2] != 'Z';
}

bool GoneWithin(pid_t pid, int ms) {
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < until) {
        waitpid(pid, nullptr, WNOHANG);
        if (!Alive(pid)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

Probe ProbeFile(const std::string& path) {
    std::string text = helpers::CaptureEngine(
        {"ffprobe", "-v", "error", "-show_entries",
         "format=format_name,duration:format_tags=major_brand:stream=codec_type,codec_name,width,height,sample_rate,"
         "channels,avg_frame_rate,r_frame_rate",
         "-of", "default", path});
    helpers::MediaInfo info = helpers::ParseProbeOutput(text);
    Probe p;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("format_name=", 0) == 0) p.format = line.substr(12);
        if (line.rfind("TAG:major_brand=", 0) == 0) p.brand = line.substr(16);
    }
    if (info.hasVideo) {
        p.vcodec = info.videoCodec;
        p.width = info.width;
        p.height = info.height;
        p.fps = info.fps;
    }
    if (info.hasAudio) {
        p.acodec = info.audioCodec;
        p.rate = info.sampleRate;
        p.channels = info.channels;
    }
    p.duration = info.duration;
    return p;
}

}  // namespace tools_test
