#include "platform/instance_tools.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "platform/instance_mark.h"

namespace transcoda {

namespace {

// Real uid of a process; nullopt when it is gone.
std::optional<uid_t> RealUid(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("Uid:", 0) != 0) continue;
        std::istringstream fields(line.substr(4));
        unsigned long uid = 0;
        if (fields >> uid) return static_cast<uid_t>(uid);
        break;
    }
    return std::nullopt;
}

int OpenPidFd(pid_t pid) {
#ifdef SYS_pidfd_open
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    return -1;
#endif
}

// A process descriptor turns readable once its process has ended.
bool StillRunning(int pidfd) {
    pollfd p{pidfd, POLLIN, 0};
    return poll(&p, 1, 0) == 0;
}

bool SignalThrough(int pidfd, pid_t pid) {
#ifdef SYS_pidfd_send_signal
    if (pidfd >= 0) return syscall(SYS_pidfd_send_signal, pidfd, SIGKILL, nullptr, 0) == 0;
#endif
    return kill(pid, SIGKILL) == 0;
}

bool ShouldEnd(const InstanceMark& mark, ToolsToEnd which) {
    if (mark == ThisInstance()) return which == ToolsToEnd::OfThisAndGoneInstances;
    return InstanceGone(mark);
}

}  // namespace

int EndMarkedTools(ToolsToEnd which) {
    DIR* proc = opendir("/proc");
    if (proc == nullptr) return 0;
    const uid_t me = getuid();
    const pid_t self = getpid();
    int ended = 0;
    while (dirent* e = readdir(proc)) {
        char* end = nullptr;
        const long number = std::strtol(e->d_name, &end, 10);
        if (number <= 0 || *end != '\0' || number == self) continue;
        const pid_t pid = static_cast<pid_t>(number);
        if (RealUid(pid) != me) continue;
        // Held from before its environment is read: once the process is seen to be still
        // running after the read, the id cannot have passed to another process meanwhile,
        // and the signal goes to this very process.
        const int pidfd = OpenPidFd(pid);
        const std::optional<InstanceMark> mark = ProcessInstanceMark(pid);
        if (mark && ShouldEnd(*mark, which) && (pidfd < 0 || StillRunning(pidfd))) {
            // Its group first, while the leader still holds the group's id.
            if (getpgid(pid) == pid) kill(-pid, SIGKILL);
            if (SignalThrough(pidfd, pid)) ++ended;
        }
        if (pidfd >= 0) close(pidfd);
    }
    closedir(proc);
    return ended;
}

}  // namespace transcoda
