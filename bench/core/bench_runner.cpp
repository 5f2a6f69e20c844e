// Tool runs end to end: what a run of a tool that exits at once costs, and how long a
// Stop takes until the tool and the process it started are both gone.

#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "exec/app_state.h"
#include "exec/progress_display.h"
#include "exec/run_tool.h"
#include "support/process_gone.h"
#include "support/recording_window.h"

namespace {

using namespace transcoda;
using Clock = std::chrono::steady_clock;

const std::string kTool = BENCH_TOOL;

using testing::StateWindow;

double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size() - 1) + 0.5));
    return v[i];
}

void BM_RunOverhead(benchmark::State& state) {
    StateWindow window;
    AttachWindow(&window);
    ConversionSession session;
    std::vector<double> ms;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        RunTool(session, kTool + " quit");
        const double elapsed = std::chrono::duration<double>(Clock::now() - t0).count();
        state.SetIterationTime(elapsed);
        ms.push_back(elapsed * 1000.0);
    }
    state.counters["median_ms"] = Percentile(ms, 0.5);
    state.counters["p99_ms"] = Percentile(ms, 0.99);
    App().Window = nullptr;
}
BENCHMARK(BM_RunOverhead)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);

void BM_StopLatency(benchmark::State& state) {
    StateWindow window;
    AttachWindow(&window);
    // The tool's child is handed to this process when the tool dies, so that its end
    // can be seen here.
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    const std::string pidFile = "/tmp/transcoda-bench-" + std::to_string(getpid());
    std::vector<double> ms;
    for (auto _ : state) {
        std::remove(pidFile.c_str());
        ConversionSession session;
        double elapsed = 0;
        std::thread stopper([&] {
            pid_t tool = 0, child = 0;
            while (child == 0) {
                std::ifstream in(pidFile);
                in >> tool >> child;
                if (child == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
            // Let it run a little, at a moment unrelated to the runner's polling.
            std::this_thread::sleep_for(std::chrono::milliseconds(30 + std::rand() % 100));
            const auto t0 = Clock::now();
            session.Stop();
            while (!testing::ProcessGone(tool) || !testing::ProcessGone(child)) {
                waitpid(child, nullptr, WNOHANG);  // the orphan is ours to reap; the tool is the runner's
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
            elapsed = std::chrono::duration<double>(Clock::now() - t0).count();
        });
        RunTool(session, kTool + " hang " + pidFile);
        stopper.join();
        state.SetIterationTime(elapsed);
        ms.push_back(elapsed * 1000.0);
    }
    std::remove(pidFile.c_str());
    state.counters["p50_ms"] = Percentile(ms, 0.5);
    state.counters["p99_ms"] = Percentile(ms, 0.99);
    App().Window = nullptr;
}
BENCHMARK(BM_StopLatency)->UseManualTime()->Iterations(50)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
