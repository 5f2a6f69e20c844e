// The longest stall of the window's event loop while a tool floods its output: a timer
// ticks every millisecond on the window thread while a worker thread runs the flooding
// tool through the real runner, whose progress goes to the real window. Measured with
// the log off and with the log on (every output block then becomes a log line).
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include "exec/app_state.h"
#include "exec/run_tool.h"
#include "mainwindow/diagnostic_log_part.h"
#include "mainwindow/main_window.h"
#include "mainwindow/qt_window_port.h"

namespace {

void Measure(MainWindow& form, double seconds, bool debug) {
    transcoda::App().DebugMode = debug;
    form.Log().diagnosticLog->clear();
    std::vector<double> gaps;
    QElapsedTimer clock;
    clock.start();
    qint64 last = clock.nsecsElapsed();
    QTimer ticker;
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        gaps.push_back(static_cast<double>(now - last) / 1e6);
        last = now;
    });
    ticker.start();

    std::atomic<bool> done{false};
    // The window takes this session's display on its own timer and when told that it
    // changed, as it takes a conversion's.
    transcoda::ConversionSession session;
    transcoda::gui::QtWindowPort::Instance().PullDisplayFrom([&session] { return session.Display().TakeChange(); });
    session.Display().SetNotifier([] { transcoda::gui::QtWindowPort::Instance().PullSoon(); });
    QElapsedTimer runClock;
    runClock.start();
    std::thread worker([&] {
        transcoda::RunTool(session, std::string(FLOOD_TOOL) + " " + std::to_string(seconds));
        done = true;
    });
    while (!done) QApplication::processEvents(QEventLoop::AllEvents, 5);
    worker.join();
    // What the reader logged last reaches the log before it is counted.
    QApplication::processEvents();
    transcoda::gui::QtWindowPort::Instance().PullDisplayFrom({});
    const double runMs = static_cast<double>(runClock.nsecsElapsed()) / 1e6;
    ticker.stop();

    std::sort(gaps.begin(), gaps.end());
    const double worst = gaps.empty() ? 0 : gaps.back();
    std::printf("log %s: flooding tool for %.1f s, run took %.0f ms, %d log lines\n", debug ? "on " : "off", seconds,
                runMs, form.Log().diagnosticLog->blockCount() - (form.Log().diagnosticLog->toPlainText().isEmpty() ? 1 : 0));
    std::printf("  timer ticks %zu, median gap %.2f ms, 99th percentile %.2f ms, longest stall %.2f ms "
                "(goal: <= 50 ms) %s\n",
                gaps.size(), gaps.empty() ? 0 : gaps[gaps.size() / 2],
                gaps.empty() ? 0 : gaps[gaps.size() * 99 / 100], worst, worst <= 50 ? "OK" : "ABOVE GOAL");
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    transcoda::App().ProgramFolder = "/nonexistent/";
    setenv("XDG_CONFIG_HOME", "/nonexistent/", 1);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 3.0;

    MainWindow form;
    form.show();
    QApplication::processEvents();
    Measure(form, seconds, false);
    Measure(form, seconds, true);
    return 0;
}
