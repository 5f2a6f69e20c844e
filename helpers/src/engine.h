#pragma once
// Running an engine program (ffmpeg, ffprobe, dvdauthor, mpv) as a child of the tool.
// The child is started directly from an argument vector (no shell), stays in the tool's
// process group, and is killed by the kernel when the tool dies (parent-death signal),
// so that a killed tool never leaves an orphan engine behind.

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace helpers {

// What becomes of one of the child's output descriptors.
enum class Stream { Inherit, Capture, Null };

struct EngineOptions {
    Stream out = Stream::Inherit;
    Stream err = Stream::Inherit;
    // Extra environment entries "NAME=value" added to the inherited environment.
    std::vector<std::string> env;
    // Called with each piece of captured output, as it arrives.
    std::function<void(const char*, size_t)> onOut;
    std::function<void(const char*, size_t)> onErr;
    // Called when the captured outputs have been silent for idleMs milliseconds.
    std::function<void()> onIdle;
    // Asked after each piece of captured output: true ends the child at once (SIGKILL).
    std::function<bool()> abandon;
    int idleMs = 100;
    // A descriptor the child receives as its descriptor 3 (-1: none).
    int passFd = -1;
    // Called in the tool once the child has been started, while it runs.
    std::function<void()> onStarted;
    // Asked after onStarted, before any of the child's output is read: false ends the
    // child at once (SIGKILL).
    std::function<bool()> confirm;
    // A descriptor watched with the child's outputs (-1: none), and what is called when
    // it is readable.
    int watchFd = -1;
    std::function<void()> onWatch;
};

// Runs argv[0] (looked up in PATH) and waits for it. Returns its exit code, 128 + signal
// number when it was killed, or 127 when it could not be started (a one-line message is
// then written to stderr).
int RunEngine(const std::vector<std::string>& argv, const EngineOptions& options);

// Runs argv and returns what it printed on stdout (stderr discarded); exitCode receives
// the status as RunEngine gives it.
std::string CaptureEngine(const std::vector<std::string>& argv, int* exitCode = nullptr);

// First thing a tool does: when it was started by an instance of the program (its mark
// is in the environment, see instance_mark.h), it dies with that instance, whatever ends
// it (SIGKILL included). The kernel signals the tool when its parent goes; a parent
// that went before that was asked for is caught by checking that the tool's parent is
// still the instance. A tool started by some other program of a running instance (a
// wrapper script, say) is left to that program.
void DieWithFrontEnd();

// Installs the handlers that end the running engine at once when the tool itself is
// asked to stop (the engine also dies with the tool in any case).
void InstallStopHandlers();

// For the benchmarks that set TRANSCODA_SHOW_ENGINE in a tool's environment: writes
// "engine: " and argv, quoted for a shell, on stdout, and returns true; the tool then
// ends without running anything. False (and nothing written) otherwise.
bool ShowEngineInstead(const std::vector<std::string>& argv);
// Whether the benchmarks asked for that (ShowEngineInstead then writes the command).
bool EngineShownInstead();

// Writes all bytes to fd, retrying on short writes; false on error.
bool WriteAll(int fd, const char* data, size_t size);
inline bool WriteAll(int fd, const std::string& s) { return WriteAll(fd, s.data(), s.size()); }

}  // namespace helpers
