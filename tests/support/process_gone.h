#pragma once
// Whether a process has ended, as the tests and benchmarks that start tools ask it.

#include <sys/types.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

namespace transcoda::testing {

// Gone, or ended and only waiting to be reaped by whoever inherited it.
inline bool ProcessGone(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    if (!stat) return true;
    std::string line;
    std::getline(stat, line);
    auto close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() && line[close + 2] == 'Z';
}

// Waits up to two seconds for the process to be gone.
inline bool EventuallyGone(pid_t pid) {
    for (int i = 0; i < 200; ++i) {
        if (ProcessGone(pid)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

}  // namespace transcoda::testing
