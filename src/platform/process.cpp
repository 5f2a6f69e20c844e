#include "platform/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <pthread.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/command_line.h"
#include "platform/instance_mark.h"

extern char** environ;

namespace transcoda {

namespace {

int OpenPidFd(pid_t pid) {
#ifdef SYS_pidfd_open
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    errno = ENOSYS;
    return -1;
#endif
}

bool IsExecutableFile(const std::string& path) {
    struct stat st;
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// The arguments of a command line whose program path is not quoted. Such a path may hold
// blanks (a program folder like "/opt/My Tools/"): when the first word names no program,
// ever longer runs of words are tried, shortest first, and the first that names an
// executable file is taken as the program.
std::vector<std::string> SplitWithProgramPath(const std::string& commandLine) {
    std::vector<std::string> args = SplitCommandLine(commandLine);
    if (args.empty() || commandLine.empty() || commandLine[0] == '"' || commandLine[0] == ' ' ||
        commandLine[0] == '\t' || IsExecutableFile(args[0]))
        return args;
    for (size_t i = args[0].size(); i <= commandLine.size(); ++i) {
        if (i < commandLine.size() && commandLine[i] != ' ' && commandLine[i] != '\t') continue;
        const std::string candidate = commandLine.substr(0, i);
        if (!IsExecutableFile(candidate)) continue;
        std::vector<std::string> rest = SplitCommandLine("x" + commandLine.substr(i));
        rest[0] = candidate;
        return rest;
    }
    return args;
}

// The inherited environment with this instance's mark in place of any mark it held, so
// that the tool (and whatever it starts) is known as one of this instance's tools, and
// with the given entries in place of inherited ones of the same names.
std::vector<char*> MarkedEnvironment(const std::vector<std::string>& extra) {
    std::vector<const std::string*> added{&ThisInstanceEnvironmentEntry()};
    for (const std::string& e : extra)
        if (e.find('=') != std::string::npos) added.push_back(&e);
    auto replaced = [&](const char* entry) {
        for (const std::string* a : added) {
            const size_t nameEnd = a->find('=') + 1;
            if (std::strncmp(entry, a->c_str(), nameEnd) == 0) return true;
        }
        return false;
    };
    std::vector<char*> env;
    for (char** e = environ; *e != nullptr; ++e)
        if (!replaced(*e)) env.push_back(*e);
    for (const std::string* a : added) env.push_back(const_cast<char*>(a->c_str()));
    env.push_back(nullptr);
    return env;
}

// Puts `from` (one of ours, kNullDevice or kUnchanged) on the child's descriptor `to`.
// Runs in the child between fork and exec: system calls only.
void PlaceDescriptor(int from, int to) {
    if (from == ProcessSetup::kUnchanged) return;
    if (from == ProcessSetup::kNullDevice) {
        const int null = open("/dev/null", to == 0 ? O_RDONLY : O_WRONLY);
        if (null >= 0 && null != to) {
            dup2(null, to);
            close(null);
        }
        return;
    }
    if (from == to) fcntl(to, F_SETFD, 0);  // kept across exec
    else dup2(from, to);
}

// A descriptor of ours that sits where another is to be placed is first copied above
// them (a copy that the exec closes), so that placing one never overwrites another.
// Runs in the child.
int MovedAbove(int fd) { return fd >= 0 && fd <= 3 ? fcntl(fd, F_DUPFD_CLOEXEC, 4) : fd; }

// Closes every descriptor from `first` on but `keep`. Runs in the child.
void CloseFrom(int first, int keep) {
#ifdef SYS_close_range
    if (keep < first && syscall(SYS_close_range, first, ~0U, 0) == 0) return;
    if (keep >= first && (keep == first || syscall(SYS_close_range, first, keep - 1, 0) == 0) &&
        syscall(SYS_close_range, keep + 1, ~0U, 0) == 0)
        return;
#endif
    const long limit = sysconf(_SC_OPEN_MAX);
    for (int fd = first; fd < (limit > 0 ? limit : 1024); ++fd)
        if (fd != keep) close(fd);
}

// The paths a program name may run from: itself when it holds a "/", else the folders of
// PATH in order (an empty entry is the current folder). Worked out before the fork, so
// that the child only tries them.
std::vector<std::string> ProgramPlaces(const std::string& program) {
    if (program.find('/') != std::string::npos) return {program};
    const char* path = std::getenv("PATH");
    const std::string folders = path != nullptr ? path : "/bin:/usr/bin";
    std::vector<std::string> places;
    size_t start = 0;
    for (;;) {
        const size_t end = folders.find(':', start);
        const std::string folder = folders.substr(start, end == std::string::npos ? end : end - start);
        places.push_back(folder.empty() ? program : folder + "/" + program);
        if (end == std::string::npos) return places;
        start = end + 1;
    }
}

// Runs the first place that holds the program, as execvp does but without handing a
// file that is not a program to a shell; the reason of the failure otherwise. Runs in
// the child.
int ExecFirstPlace(char* const* places, char* const* argv, char* const* env) {
    bool denied = false;
    int error = ENOENT;
    for (char* const* place = places; *place != nullptr; ++place) {
        execve(*place, argv, env);
        error = errno;
        if (error == EACCES) denied = true;
        else if (error != ENOENT && error != ENOTDIR && error != ESTALE && error != ENODEV && error != ETIMEDOUT)
            return error;
    }
    return denied ? EACCES : error;
}

[[noreturn]] void RunChild(const ProcessSetup& setup, char* const* places, char* const* argv, char* const* env,
                           pid_t parent, int errorPipe) {
    if (setup.DiesWithParent) {
        // Asked for before the parent is looked at, so that no end falls between the two.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(127);
    }
    if (setup.OwnGroup) setpgid(0, 0);
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    if (setup.DefaultSignals.empty())
        for (int sig = 1; sig < NSIG; ++sig) sigaction(sig, &byDefault, nullptr);
    for (int sig : setup.DefaultSignals) sigaction(sig, &byDefault, nullptr);

    errorPipe = MovedAbove(errorPipe);
    const int sources[4] = {MovedAbove(setup.Input), MovedAbove(setup.Output), MovedAbove(setup.Error),
                            setup.Extra == 3 ? 3 : MovedAbove(setup.Extra)};
    for (int to = 0; to < 4; ++to) PlaceDescriptor(sources[to], to);
    if (setup.CloseOthers) CloseFrom(setup.Extra == ProcessSetup::kUnchanged ? 3 : 4, errorPipe);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    const int e = ExecFirstPlace(places, argv, env);
    if (write(errorPipe, &e, sizeof e) < 0) {
        // Nothing more to tell: the start is failed by the exit status below.
    }
    _exit(127);
}

int DecodeStatus(int raw) {
    if (WIFEXITED(raw)) return WEXITSTATUS(raw);
    if (WIFSIGNALED(raw)) return 128 + WTERMSIG(raw);
    return -1;
}

}  // namespace

pid_t StartProcess(const ProcessSetup& setup, int* error) {
    int ignored = 0;
    if (error == nullptr) error = &ignored;
    if (setup.Arguments.empty()) {
        *error = EINVAL;
        return -1;
    }
    std::vector<char*> argv;
    argv.reserve(setup.Arguments.size() + 1);
    for (const std::string& a : setup.Arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    char* const* env = setup.Environment != nullptr ? setup.Environment : environ;
    const std::vector<std::string> placeTexts = ProgramPlaces(setup.Arguments[0]);
    std::vector<char*> places;
    for (const std::string& p : placeTexts) places.push_back(const_cast<char*>(p.c_str()));
    places.push_back(nullptr);

    // The child tells why its program did not start through a pipe that its exec closes.
    int errorPipe[2];
    if (pipe2(errorPipe, O_CLOEXEC) != 0) {
        *error = errno;
        return -1;
    }
    // No handler of ours may run in the child before its program does.
    sigset_t all, before;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &before);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        close(errorPipe[0]);
        RunChild(setup, places.data(), argv.data(), env, parent, errorPipe[1]);
    }
    const int forkError = errno;
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    close(errorPipe[1]);
    if (pid < 0) {
        close(errorPipe[0]);
        *error = forkError;
        return -1;
    }
    int execError = 0;
    ssize_t got;
    do got = read(errorPipe[0], &execError, sizeof execError);
    while (got < 0 && errno == EINTR);
    close(errorPipe[0]);
    if (got != static_cast<ssize_t>(sizeof execError)) return pid;
    int raw = 0;
    while (waitpid(pid, &raw, 0) < 0 && errno == EINTR) {
    }
    *error = execError;
    return -1;
}

ChildProcess::~ChildProcess() {
    std::lock_guard lock(m_);
    if (pid_ > 0 && !ReapLocked()) {
        // Still running: let a small thread wait for it so that it leaves no zombie.
        try {
            std::thread([pid = pid_] {
                int raw = 0;
                while (waitpid(pid, &raw, 0) < 0 && errno == EINTR) {
                }
            }).detach();
        } catch (...) {
            // No thread to spare: it stays a zombie until the program ends.
        }
    }
    if (pidfd_ >= 0) close(pidfd_);
}

bool ChildProcess::Start(const std::string& commandLine, int outputFd, const std::vector<std::string>& environment) {
    std::lock_guard lock(m_);
    if (pid_ > 0) return false;
    std::vector<std::string> args = SplitWithProgramPath(commandLine);
    if (args.empty() || args[0].empty()) return false;

    ProcessSetup setup;
    setup.Arguments = std::move(args);
    std::vector<char*> env = MarkedEnvironment(environment);
    setup.Environment = env.data();
    setup.Output = outputFd >= 0 ? outputFd : ProcessSetup::kNullDevice;
    setup.Error = setup.Output;
    // Whatever else the program has open stays out of the tool; a group of its own,
    // default signal handling and an empty signal mask, whatever the front end has set.
    setup.CloseOthers = true;
    setup.OwnGroup = true;
    int error = 0;
    const pid_t pid = StartProcess(setup, &error);
    if (pid < 0) return false;

    pid_ = pid;
    reaped_ = false;
    status_ = -1;
    pidfd_ = OpenPidFd(pid);
    return true;
}

bool ChildProcess::ReapLocked() {
    if (pid_ <= 0 || reaped_) return true;
    int raw = 0;
    pid_t r;
    do {
        r = waitpid(pid_, &raw, WNOHANG);
    } while (r < 0 && errno == EINTR);
    if (r == pid_) {
        reaped_ = true;
        status_ = DecodeStatus(raw);
        return true;
    }
    if (r < 0) {  // not our child any more (ECHILD): nothing left to wait for
        reaped_ = true;
        return true;
    }
    return false;
}

bool ChildProcess::WaitFor(int timeoutMs) { return WaitFor(timeoutMs, -1); }

bool ChildProcess::WaitFor(int timeoutMs, int cancelFd) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    int pidfd;
    {
        std::lock_guard lock(m_);
        if (ReapLocked()) return true;
        pidfd = pidfd_;
    }
    for (;;) {
        int wait = -1;
        if (timeoutMs >= 0) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            wait = left > 0 ? static_cast<int>(left) : 0;
        }
        if (pidfd >= 0) {
            pollfd p[2] = {{pidfd, POLLIN, 0}, {cancelFd, POLLIN, 0}};
            int r = poll(p, cancelFd >= 0 ? 2 : 1, wait);
            if (r < 0 && errno != EINTR) return Running() == false;
            if (r > 0 && (p[1].revents & POLLIN) != 0 && (p[0].revents & POLLIN) == 0) return false;
        } else {
            // No process descriptors on this kernel: short naps until it ends.
            if (cancelFd >= 0) {
                pollfd p{cancelFd, POLLIN, 0};
                if (poll(&p, 1, wait < 0 || wait > 2 ? 2 : wait) > 0 && (p.revents & POLLIN) != 0) {
                    std::lock_guard lock(m_);
                    return ReapLocked();
                }
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(wait < 0 || wait > 2 ? 2 : wait));
            }
        }
        {
            std::lock_guard lock(m_);
            if (ReapLocked()) return true;
        }
        if (timeoutMs >= 0 && Clock::now() >= deadline) return false;
    }
}

bool ChildProcess::Terminate() {
    std::lock_guard lock(m_);
    if (pid_ <= 0) return false;
    // The group outlives its leader while a grandchild is in it; its id cannot be
    // handed to another process before the group is empty.
    bool group = kill(-pid_, SIGKILL) == 0;
    bool self = !reaped_ && kill(pid_, SIGKILL) == 0;
    return group || self;
}

bool ChildProcess::Running() {
    std::lock_guard lock(m_);
    return pid_ > 0 && !ReapLocked();
}

int ChildProcess::ExitStatus() {
    std::lock_guard lock(m_);
    ReapLocked();
    return status_;
}

}  // namespace transcoda
