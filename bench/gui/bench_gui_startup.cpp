// Time from the end of the splash hold to the main window's first paint: the windows are
// created as at start-up, the splash is hidden, the main window shown, and the clock runs
// until its first paint event. Measured twice: with no preferences file, and with a saved
// conversion list of 200 rows that the window restores as it is created.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QEvent>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "dialogs/lag_dialog.h"
#include "dialogs/segment_dialog.h"
#include "exec/app_state.h"
#include "mainwindow/main_window.h"
#include "mainwindow/queue_panel.h"
#include "settings/saved_list.h"

namespace {

class FirstPaint : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted = true;
        return QObject::eventFilter(watched, event);
    }
};

struct Figures {
    std::vector<double> creation, firstPaint, total;
    int rows = 0;  // the rows the last window restored
};

Figures Measure(int runs) {
    Figures f;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        auto* window = new MainWindow;
        auto* lagDialog = new LagDialog(window);
        auto* segmentDialog = new SegmentDialog(window);
        window->AttachDialogs(lagDialog, segmentDialog);
        f.creation.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);

        FirstPaint watcher;
        window->installEventFilter(&watcher);
        clock.restart();  // the end of the hold
        window->show();
        while (!watcher.painted) QApplication::processEvents(QEventLoop::AllEvents, 1);
        f.firstPaint.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        f.total.push_back(f.creation.back() + f.firstPaint.back());
        f.rows = window->Queue().Count();
        delete window;
    }
    return f;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void Report(const char* what, std::vector<double> v) {
    std::sort(v.begin(), v.end());
    std::printf("%-48s min %.2f ms, median %.2f ms, max %.2f ms (%zu runs)\n", what, v.front(), v[v.size() / 2],
                v.back(), v.size());
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    transcoda::App().ProgramFolder = "/nonexistent/";
    const int runs = 10;

    setenv("XDG_CONFIG_HOME", "/nonexistent/", 1);
    // The very first window also pays for loading fonts and styles: it is reported alone
    // and kept out of the comparison.
    const Figures first = Measure(1);
    std::printf("first run: creation %.2f ms, first paint %.2f ms\n", first.creation[0], first.firstPaint[0]);
    const Figures empty = Measure(runs);
    Report("windows created (MainWindow, LagDialog, SegmentDialog):", empty.creation);
    Report("end of splash hold to first paint:", empty.firstPaint);
    Report("creation to first paint:", empty.total);

    QTemporaryDir config;
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    std::vector<transcoda::SavedListRow> rows;
    for (int i = 1; i <= 200; ++i) {
        const std::string n = std::to_string(i);
        transcoda::ItemStatus status;
        if (i % 3 == 1) status = {transcoda::ItemStatus::State::Done};
        if (i % 7 == 0) status = {transcoda::ItemStatus::State::Failed, -1, " : la conversion de l'élément " + n + " a échoué"};
        rows.push_back({" Audio MP3 - MP3; Audio (128kbps)", "/home/user/Vidéos/clip-" + n + ".mp4",
                        "/home/user/Vidéos/clip-" + n + ".mp3", status});
    }
    // The list goes into the preferences file the first pick of an input made.
    const std::string prefs = transcoda::PreferencesFilePath(transcoda::App().ProgramFolder);
    QDir().mkpath(QFileInfo(QString::fromStdString(prefs)).path());
    std::ofstream(prefs) << "[Visual]\n";
    if (!transcoda::WriteSavedList(transcoda::App().ProgramFolder, rows).Ok()) {
        std::fprintf(stderr, "bench_gui_startup: cannot write the saved list\n");
        return 1;
    }
    const Figures saved = Measure(runs);
    if (saved.rows != 200) {
        std::fprintf(stderr, "bench_gui_startup: the window restored %d rows, not 200\n", saved.rows);
        return 1;
    }
    Report("saved list of 200 rows: windows created:", saved.creation);
    Report("saved list of 200 rows: end of hold to first paint:", saved.firstPaint);
    Report("saved list of 200 rows: creation to first paint:", saved.total);
    std::printf("200 saved rows add %.2f ms to creation and first paint (median; goal <= 100 ms)\n",
                Median(saved.total) - Median(empty.total));
    return 0;
}
