#include "exec/stop_signals.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <thread>

#include "exec/app_state.h"
#include "exec/instance.h"

namespace transcoda {

namespace {

std::atomic<int> gStopSignal{0};
// The handler only writes the signal's number here; the watching thread reads it.
int gPipe[2] = {-1, -1};

constexpr int kStopSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGUSR1, SIGUSR2, SIGALRM, SIGPWR};

void NoteSignal(int signal) {
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t n = write(gPipe[1], &number, 1);
    errno = saved;
}

// Ends the program at once, leaving nothing behind that EndInstance can remove.
[[noreturn]] void EndNow(int signal) {
    EndInstance();
    std::fflush(nullptr);
    _exit(128 + signal);
}

// The next signal noted, waiting at most timeoutMs (negative: without limit); 0 when
// none came in time.
int NextSignal(int timeoutMs) {
    pollfd p{gPipe[0], POLLIN, 0};
    const int ready = poll(&p, 1, timeoutMs);
    if (ready <= 0) return 0;
    unsigned char number = 0;
    return read(gPipe[0], &number, 1) == 1 ? number : 0;
}

// Signals that come this soon after the first are the same event told again: the
// kernel sends a parent-death signal once for each thread of the dying parent, a closed
// terminal sends SIGHUP and then the shell sends its own. A second signal later than
// this is someone insisting.
constexpr auto kSameEvent = std::chrono::milliseconds(1000);

void Watch(std::function<void(int)> onStop) {
    using Clock = std::chrono::steady_clock;
    Clock::time_point firstAt{}, bound{};
    for (;;) {
        const int first = gStopSignal.load();
        int wait = -1;
        if (first != 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(bound - Clock::now()).count();
            if (left <= 0) EndNow(first);
            wait = static_cast<int>(left);
        }
        const int signal = NextSignal(wait);
        if (signal == 0) continue;  // interrupted, or the bound has come: looked at above
        if (first != 0) {
            if (Clock::now() - firstAt < kSameEvent) continue;
            EndNow(first);
        }
        gStopSignal.store(signal);
        firstAt = Clock::now();
        bound = firstAt + std::chrono::milliseconds(kStopBoundMs);
        if (onStop) std::thread(onStop, signal).detach();
    }
}

}  // namespace

void CatchStopSignals() {
    if (gPipe[0] >= 0) return;
    if (pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    // The reading end waits in poll; only the writing end must never block the handler.
    fcntl(gPipe[0], F_SETFL, fcntl(gPipe[0], F_GETFL) & ~O_NONBLOCK);
    struct sigaction action {};
    action.sa_handler = NoteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kStopSignals) {
        // A hang-up the program was started to ignore stays ignored: nohup asks the
        // conversion to outlive its terminal. (A shell starts a background command with
        // Ctrl-C and Ctrl-\ ignored, which says nothing of the kind: those are taken.)
        struct sigaction current {};
        if (signal == SIGHUP && sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) continue;
        sigaction(signal, &action, nullptr);
    }
}

void WatchStopSignals(std::function<void(int)> onStop) {
    static std::atomic<bool> started{false};
    CatchStopSignals();
    if (gPipe[0] < 0 || started.exchange(true)) return;
    std::thread(Watch, std::move(onStop)).detach();
}

int StopSignal() { return gStopSignal.load(); }

}  // namespace transcoda
