#include "platform/process_kill.h"

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace transcoda {

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
        if (x != y) return false;
    }
    return true;
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string BaseName(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Real uid and state of a process from /proc/PID/status; false when it is gone.
bool ReadStatus(const std::string& dir, uid_t& realUid, char& state) {
    std::ifstream in(dir + "/status");
    if (!in) return false;
    std::string line;
    bool haveUid = false;
    state = '?';
    while (std::getline(in, line)) {
        if (line.rfind("State:", 0) == 0) {
            std::istringstream s(line.substr(6));
            s >> state;
        } else if (line.rfind("Uid:", 0) == 0) {
            std::istringstream s(line.substr(4));
            unsigned long uid = 0;
            if (s >> uid) {
                realUid = static_cast<uid_t>(uid);
                haveUid = true;
            }
        }
    }
    return haveUid;
}

// The names a process goes by: the file name of argv[0] and the kernel's short name
// (which a script started through its #! line keeps as its own file name).
bool NameMatches(const std::string& dir, const std::string& exeName) {
    std::string cmdline = ReadWhole(dir + "/cmdline");
    std::string argv0 = cmdline.substr(0, cmdline.find('\0'));
    if (!argv0.empty() && SameIgnoringCase(BaseName(argv0), exeName)) return true;
    std::string comm = ReadWhole(dir + "/comm");
    while (!comm.empty() && (comm.back() == '\n' || comm.back() == '\0')) comm.pop_back();
    // The kernel keeps at most 15 characters of the name.
    return !comm.empty() && SameIgnoringCase(comm, exeName.substr(0, 15));
}

}  // namespace

bool KillProcessByName(const std::string& exeName) {
    if (exeName.empty()) return false;
    DIR* proc = opendir("/proc");
    if (proc == nullptr) return false;
    const uid_t me = getuid();
    const pid_t self = getpid();
    bool killed = false;
    while (dirent* e = readdir(proc)) {
        char* end = nullptr;
        long pid = std::strtol(e->d_name, &end, 10);
        if (pid <= 0 || *end != '\0' || pid == self) continue;
        std::string dir = std::string("/proc/") + e->d_name;
        uid_t uid = 0;
        char state = '?';
        if (!ReadStatus(dir, uid, state) || uid != me) continue;
        if (state == 'Z' || state == 'X') continue;  // already ended, only not yet reaped
        if (!NameMatches(dir, exeName)) continue;
        // A tool that leads a process group of its own (as the tool runner starts them)
        // takes the programs it started along, so no encoder is left running.
        const pid_t target = static_cast<pid_t>(pid);
        if (getpgid(target) == target) kill(-target, SIGKILL);
        killed = kill(target, SIGKILL) == 0;
        break;
    }
    closedir(proc);
    return killed;
}

}  // namespace transcoda
