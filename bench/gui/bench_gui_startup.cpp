// Time from the end of the splash hold to the main window's first paint: the windows are
// created as at start-up, the splash is hidden, the main window shown, and the clock runs
// until its first paint event.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "dialogs/TForm8.h"
#include "dialogs/TForm9.h"
#include "exec/app_state.h"
#include "mainwindow/TForm1.h"

namespace {

class FirstPaint : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted = true;
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    transcoda::App().ProgramFolder = "/nonexistent/";
    setenv("XDG_CONFIG_HOME", "/nonexistent/", 1);
    const int runs = 10;
    std::vector<double> firstPaint, creation;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        auto* form1 = new TForm1;
        auto* form8 = new TForm8(form1);
        auto* form9 = new TForm9(form1);
        form1->AttachDialogs(form8, form9);
        creation.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);

        FirstPaint watcher;
        form1->installEventFilter(&watcher);
        clock.restart();  // the end of the hold
        form1->show();
        while (!watcher.painted) QApplication::processEvents(QEventLoop::AllEvents, 1);
        firstPaint.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        delete form1;
    }
    auto report = [](const char* what, std::vector<double> v) {
        std::sort(v.begin(), v.end());
        std::printf("%-42s min %.2f ms, median %.2f ms, max %.2f ms (%zu runs)\n", what, v.front(),
                    v[v.size() / 2], v.back(), v.size());
    };
    std::printf("first run: creation %.2f ms, first paint %.2f ms\n", creation[0], firstPaint[0]);
    report("windows created (TForm1, TForm8, TForm9):", creation);
    report("end of splash hold to first paint:", firstPaint);
    return 0;
}
