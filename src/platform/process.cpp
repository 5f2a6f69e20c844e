#include "platform/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
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
// with the given entries in place of inherited ones of the same names. A child started
// as an instance of its own gets no mark at all.
std::vector<char*> MarkedEnvironment(const std::vector<std::string>& extra, ChildKind kind) {
    static const std::string unmarked = std::string(kInstanceVariable) + "=";
    std::vector<const std::string*> added{&ThisInstanceEnvironmentEntry()};
    for (const std::string& e : extra)
        if (e.find('=') != std::string::npos) added.push_back(&e);
    auto replaced = [&](const char* entry) {
        if (kind == ChildKind::Instance && std::strncmp(entry, unmarked.c_str(), unmarked.size()) == 0) return true;
        for (const std::string* a : added) {
            const size_t nameEnd = a->find('=') + 1;
            if (std::strncmp(entry, a->c_str(), nameEnd) == 0) return true;
        }
        return false;
    };
    if (kind == ChildKind::Instance) added.erase(added.begin());
    std::vector<char*> env;
    for (char** e = environ; *e != nullptr; ++e)
        if (!replaced(*e)) env.push_back(*e);
    for (const std::string* a : added) env.push_back(const_cast<char*>(a->c_str()));
    env.push_back(nullptr);
    return env;
}

int DecodeStatus(int raw) {
    if (WIFEXITED(raw)) return WEXITSTATUS(raw);
    if (WIFSIGNALED(raw)) return 128 + WTERMSIG(raw);
    return -1;
}

}  // namespace

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

bool ChildProcess::Start(const std::string& commandLine, int outputFd, const std::vector<std::string>& environment,
                         ChildKind kind) {
    std::lock_guard lock(m_);
    if (pid_ > 0) return false;
    std::vector<std::string> args = SplitWithProgramPath(commandLine);
    if (args.empty() || args[0].empty()) return false;
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    // An output descriptor among 0-2 would be overwritten by the redirections below;
    // a copy above them keeps it.
    int ownCopy = -1;
    if (outputFd >= 0 && outputFd <= 2) {
        ownCopy = fcntl(outputFd, F_DUPFD_CLOEXEC, 3);
        if (ownCopy < 0) return false;
        outputFd = ownCopy;
    }

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attr);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (outputFd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, outputFd, 1);
        posix_spawn_file_actions_adddup2(&actions, outputFd, 2);
    } else {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
    }
    // Whatever else the program has open stays out of the tool.
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);

    // A group of its own, default signal handling and an empty signal mask, whatever
    // the front end has set for itself.
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &all);
    posix_spawnattr_setpgroup(&attr, 0);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK |
                                        POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_USEVFORK);

    pid_t pid = -1;
    std::vector<char*> env = MarkedEnvironment(environment, kind);
    int rc = posix_spawnp(&pid, argv[0], &actions, &attr, argv.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (ownCopy >= 0) close(ownCopy);
    if (rc != 0) return false;

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
