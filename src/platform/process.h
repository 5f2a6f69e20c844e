#pragma once
// One child process started from a single command-line string, spawned directly (no
// shell) in a process group of its own, so that ending it also ends everything it
// started. Every child carries this instance's mark in its environment (see
// instance_mark.h): it is one of this instance's tools.

#include <sys/types.h>

#include <mutex>
#include <string>
#include <vector>

namespace transcoda {

// How a child is set up between its start and its program: the one place where this
// program and its helper tools start a process (ChildProcess below builds on it).
struct ProcessSetup {
    // What one of the child's descriptors becomes: one of ours, /dev/null, or left as
    // the starting process has it.
    static constexpr int kNullDevice = -1;
    static constexpr int kUnchanged = -2;

    // The program (looked up in PATH when it holds no "/") and its arguments.
    std::vector<std::string> Arguments;
    // The child's whole environment, null-terminated; none: the starting process's own.
    char* const* Environment = nullptr;
    int Input = kNullDevice;   // descriptor 0
    int Output = kUnchanged;   // descriptor 1
    int Error = kUnchanged;    // descriptor 2
    int Extra = kUnchanged;    // descriptor 3
    // No other descriptor of the starting process reaches the child.
    bool CloseOthers = false;
    // A process group of its own, so that ending the group ends all it starts.
    bool OwnGroup = false;
    // Killed when the thread that started it ends; not run when the starting process
    // has already gone by the time it would (then it exits with 127 at once).
    bool DiesWithParent = false;
    // The signals set back to their default handling; none listed: every signal. The
    // child's signal mask is empty in every case.
    std::vector<int> DefaultSignals;
};

// Starts the program of `setup` and returns its process id once the program runs, or
// -1 with *error set to the errno that kept it from starting (nothing then left behind).
pid_t StartProcess(const ProcessSetup& setup, int* error);

class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    // Reaps the child once it has ended; never kills it.
    ~ChildProcess();

    // Splits commandLine with SplitCommandLine and starts the program it names (an
    // unquoted program path may hold blanks, the longest-needed run of words that names
    // an executable file is taken, shortest first). When
    // outputFd >= 0 it becomes the child's stdout and stderr, otherwise both go to
    // /dev/null; stdin is /dev/null. Environment (with the instance's mark) and current
    // directory are inherited, no other descriptor reaches the child. False when it could not be started.
    // Each "NAME=value" of `environment` is added to the child's environment, in place
    // of an inherited entry of the same name.
    bool Start(const std::string& commandLine, int outputFd, const std::vector<std::string>& environment = {});

    // Waits at most timeoutMs (negative: without limit) and returns true as soon as the
    // child has ended (also true when it was never started).
    bool WaitFor(int timeoutMs);
    // The same, except that it also returns, false, as soon as `cancelFd` (when not
    // negative) is readable: a Stop waited for together with the child's end.
    bool WaitFor(int timeoutMs, int cancelFd);

    // Kills the child and its whole process group. True when the signal was delivered.
    bool Terminate();

    bool Running();
    // Exit code, 128 + signal number when killed by a signal, -1 when not started or
    // still unknown.
    int ExitStatus();
    pid_t Pid() const { return pid_; }

private:
    // Collects the exit status without blocking; true when the child has ended.
    bool ReapLocked();

    std::mutex m_;
    pid_t pid_ = -1;
    int pidfd_ = -1;
    bool reaped_ = false;
    int status_ = -1;
};

}  // namespace transcoda
