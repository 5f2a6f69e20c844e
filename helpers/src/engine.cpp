#include "engine.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/instance_mark.h"
#include "platform/process.h"

extern char** environ;

namespace helpers {
namespace {

volatile sig_atomic_t g_enginePid = -1;

void StopHandler(int sig) {
    pid_t pid = g_enginePid;
    if (pid > 0) kill(pid, SIGKILL);
    signal(sig, SIG_DFL);
    raise(sig);
}

void CloseIfOpen(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

}  // namespace

void DieWithFrontEnd() {
    const char* text = std::getenv(transcoda::kInstanceVariable);
    if (text == nullptr) return;
    const auto mark = transcoda::ParseInstanceMark(text);
    if (!mark) return;
    // Asked for before the parent is looked at, so that no death falls between the two.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() == mark->Pid) return;
    if (transcoda::InstanceGone(*mark)) _exit(128 + SIGKILL);
    prctl(PR_SET_PDEATHSIG, 0);
}

bool EngineShownInstead() { return std::getenv("TRANSCODA_SHOW_ENGINE") != nullptr; }

bool ShowEngineInstead(const std::vector<std::string>& argv) {
    if (!EngineShownInstead()) return false;
    std::string line = "engine:";
    for (const std::string& a : argv) {
        const bool plain = !a.empty() && a.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                                             "0123456789-_./:=,+%@") == std::string::npos;
        std::string quoted = "'";
        for (char c : a) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        line += " " + (plain ? a : quoted + "'");
    }
    WriteAll(1, line + "\n");
    return true;
}

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

void InstallStopHandlers() {
    struct sigaction sa {};
    sa.sa_handler = StopHandler;
    sigemptyset(&sa.sa_mask);
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &sa, nullptr);
    // A closed reader must not kill the tool in the middle of a write; the write fails
    // instead and the engine's status is still reported.
    signal(SIGPIPE, SIG_IGN);
}

int RunEngine(const std::vector<std::string>& argv, const EngineOptions& options) {
    int outPipe[2] = {-1, -1}, errPipe[2] = {-1, -1};
    auto fail = [&](int error) {
        for (int* p : {outPipe, errPipe}) {
            CloseIfOpen(p[0]);
            CloseIfOpen(p[1]);
        }
        std::string msg = std::string("cannot start ") + argv[0] + ": " + strerror(error) + "\n";
        WriteAll(2, msg);
        return 127;
    };
    if (options.out == Stream::Capture && pipe2(outPipe, O_CLOEXEC) != 0) return fail(errno);
    if (options.err == Stream::Capture && pipe2(errPipe, O_CLOEXEC) != 0) return fail(errno);

    // The inherited environment with the extra entries after it; the engine stays in the
    // tool's process group and dies with the tool.
    std::vector<std::string> envStore;
    for (char** e = environ; *e; ++e) envStore.emplace_back(*e);
    for (const auto& extra : options.env) envStore.push_back(extra);
    std::vector<char*> envp;
    for (auto& e : envStore) envp.push_back(e.data());
    envp.push_back(nullptr);
    auto wire = [](Stream s, int pipeWrite) {
        if (s == Stream::Capture) return pipeWrite;
        return s == Stream::Null ? transcoda::ProcessSetup::kNullDevice : transcoda::ProcessSetup::kUnchanged;
    };
    transcoda::ProcessSetup setup;
    setup.Arguments = argv;
    setup.Environment = envp.data();
    setup.Output = wire(options.out, outPipe[1]);
    setup.Error = wire(options.err, errPipe[1]);
    if (options.passFd >= 0) setup.Extra = options.passFd;
    setup.DiesWithParent = true;
    setup.DefaultSignals = {SIGTERM, SIGINT, SIGHUP, SIGPIPE};
    int error = 0;
    const pid_t pid = transcoda::StartProcess(setup, &error);
    if (pid < 0) return fail(error);
    g_enginePid = pid;
    CloseIfOpen(outPipe[1]);
    CloseIfOpen(errPipe[1]);
    if (options.onStarted) options.onStarted();
    bool abandoned = options.confirm && !options.confirm();
    if (abandoned) kill(pid, SIGKILL);

    char buf[8192];
    while (outPipe[0] >= 0 || errPipe[0] >= 0) {
        pollfd fds[3];
        int n = 0;
        if (outPipe[0] >= 0) fds[n++] = {outPipe[0], POLLIN, 0};
        if (errPipe[0] >= 0) fds[n++] = {errPipe[0], POLLIN, 0};
        const int captured = n;
        if (options.watchFd >= 0) fds[n++] = {options.watchFd, POLLIN, 0};
        int ready = poll(fds, n, options.onIdle ? options.idleMs : -1);
        if (ready < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (ready == 0) {
            options.onIdle();
            continue;
        }
        if (n > captured && (fds[captured].revents & POLLIN) && options.onWatch) options.onWatch();
        for (int i = 0; i < captured; ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            ssize_t r = read(fds[i].fd, buf, sizeof buf);
            if (r < 0 && errno == EINTR) continue;
            bool isOut = fds[i].fd == outPipe[0];
            if (r <= 0) {
                CloseIfOpen(isOut ? outPipe[0] : errPipe[0]);
                continue;
            }
            const auto& sink = isOut ? options.onOut : options.onErr;
            if (sink) sink(buf, static_cast<size_t>(r));
            if (options.abandon && !abandoned && options.abandon()) {
                kill(pid, SIGKILL);
                abandoned = true;
            }
        }
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    g_enginePid = -1;
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return 1;
}

std::string CaptureEngine(const std::vector<std::string>& argv, int* exitCode) {
    std::string text;
    EngineOptions o;
    o.out = Stream::Capture;
    o.err = Stream::Null;
    o.onOut = [&](const char* d, size_t n) { text.append(d, n); };
    int rc = RunEngine(argv, o);
    if (exitCode) *exitCode = rc;
    return text;
}

}  // namespace helpers
