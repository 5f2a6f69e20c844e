#include "exec/stop_signals.h"

#include <pthread.h>
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

// Ends the program at once, leaving nothing behind that EndInstance can remove.
[[noreturn]] void EndNow(int signal) {
    EndInstance();
    std::fflush(nullptr);
    _exit(128 + signal);
}

void Watch(std::function<void(int)> onStop) {
    const sigset_t set = StopSignalSet();
    using Clock = std::chrono::steady_clock;
    Clock::time_point bound{};
    for (;;) {
        const int first = gStopSignal.load();
        int signal;
        if (first == 0) {
            signal = sigwaitinfo(&set, nullptr);
        } else {
            const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(bound - Clock::now()).count();
            if (left <= 0) EndNow(first);
            const timespec wait{static_cast<time_t>(left / 1000000000), static_cast<long>(left % 1000000000)};
            signal = sigtimedwait(&set, nullptr, &wait);
        }
        if (signal < 0) continue;  // interrupted, or the bound has come: looked at above
        if (first != 0) EndNow(first);
        gStopSignal.store(signal);
        App().ConversionRunning.store(false);
        bound = Clock::now() + std::chrono::milliseconds(kStopBoundMs);
        if (onStop) std::thread(onStop, signal).detach();
    }
}

}  // namespace

sigset_t StopSignalSet() {
    sigset_t set;
    sigemptyset(&set);
    for (int signal : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGUSR1, SIGUSR2, SIGALRM, SIGPWR}) sigaddset(&set, signal);
    return set;
}

void HoldStopSignals() {
    const sigset_t set = StopSignalSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void WatchStopSignals(std::function<void(int)> onStop) {
    static std::atomic<bool> started{false};
    if (started.exchange(true)) return;
    HoldStopSignals();
    std::thread(Watch, std::move(onStop)).detach();
}

int StopSignal() { return gStopSignal.load(); }

}  // namespace transcoda
