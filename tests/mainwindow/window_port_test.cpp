// The conversions' window interface: calls from other threads are carried out on the
// window thread without the caller waiting (but for the list's rows, which it needs), and
// are dropped once the window closes.

#include <QProgressBar>
#include <QUrl>
#include <QThread>
#include <future>
#include <thread>

#include "gui_test_support.h"
#include "mainwindow/qt_window_port.h"

namespace transcoda::testing {
namespace {

// Runs work on a thread of its own while this thread keeps the event loop going.
template <class Work>
void OnOtherThread(Work work) {
    auto done = std::async(std::launch::async, work);
    while (done.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    done.get();
}

TEST_F(WindowTest, CallsFromAnotherThreadRunOnTheWindowThreadInTheirOrder) {
    MakeForm();
    WindowPort& port = *App().Window;
    QThread* windowThread = QThread::currentThread();
    std::vector<std::string> seen;
    OnOtherThread([&] {
        EXPECT_NE(QThread::currentThread(), windowThread);
        port.ShowDisplay({.StatusText = "Conversion...",
                          .ProgressText = "Progression : 12.35% (2/3)",
                          .Title = "12.35% (2/3)",
                          .BarMaximum = 100,
                          .BarPosition = 40});
        port.ShowDisplay({.BarPosition = 250});  // beyond the end: shown as the end
        port.ShowDisplay({.TimeText = "écoulé 0 min 40 s — reste 1 min 20 s"});
        port.ShowMessage("from the worker");
        port.ShowFailure("failed", "engine: last line\n");
        seen.push_back(std::to_string(port.RestoreConvertButton(false)));
    });
    QApplication::processEvents();
    seen.push_back(std::to_string(form->Progress().progressBar->value()));
    seen.push_back(form->Progress().TimeLabel->text().toStdString());
    EXPECT_EQ(seen, (std::vector<std::string>{"1", "100", "écoulé 0 min 40 s — reste 1 min 20 s"}));
    EXPECT_EQ(form->Progress().statusLabel->text(), "Conversion...");
    EXPECT_EQ(form->Progress().progressLabel->text(), "Progression : 12.35% (2/3)");
    EXPECT_TRUE(form->windowTitle().startsWith("12.35% (2/3) - "));
    ASSERT_EQ(dialogs.Of("message").size(), 2u);
    EXPECT_EQ(dialogs.Of("message")[0].caption, "12.35% (2/3)");
    EXPECT_EQ(dialogs.Of("message")[1].details, "engine: last line\n");
}

// The end of a written conversion: the time label names the file, the button beside it
// opens its folder, and the desktop is told only when the window is not the active one;
// the next conversion's time takes the notice's place.
TEST_F(WindowTest, WrittenFileIsNamedWithItsFolderAndToldToTheDesktopWhenTheWindowIsNotActive) {
    for (const bool active : {false, true}) {
        SCOPED_TRACE(active ? "active" : "not active");
        MakeForm(active ? "EN" : "FR");
        dialogs.shown.clear();
        if (active) {
            form->show();
            form->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        }
        const std::string folder = Path("out folder");
        OnOtherThread([&] {
            App().Window->ShowWrittenNotice("Fichier écrit : " + folder + "/clip.avi", folder);
        });
        QApplication::processEvents();
        EXPECT_EQ(form->Progress().TimeLabel->toolTip().toStdString(), "Fichier écrit : " + folder + "/clip.avi");
        EXPECT_TRUE(form->Progress().TimeLabel->text().endsWith("clip.avi"));
        ASSERT_TRUE(form->Progress().OpenFolderButton->isVisibleTo(form.get()));
        EXPECT_EQ(form->Progress().OpenFolderButton->text(), active ? "Open folder" : "Ouvrir le dossier");
        Click(form->Progress().OpenFolderButton);
        ASSERT_EQ(dialogs.Texts("open").size(), 1u);
        EXPECT_EQ(dialogs.Texts("open")[0], QUrl::fromLocalFile(QString::fromStdString(folder)).toString());
        EXPECT_EQ(dialogs.Of("notify").size(), active ? 0u : 1u);

        App().Window->ShowDisplay({.TimeText = "écoulé 0 min 00 s"});
        EXPECT_EQ(form->Progress().TimeLabel->text(), QString::fromUtf8("écoulé 0 min 00 s"));
        EXPECT_FALSE(form->Progress().OpenFolderButton->isVisibleTo(form.get()));
        EXPECT_TRUE(form->WrittenFolder().isEmpty());
    }
}

TEST_F(WindowTest, ListJobTakesTheItemsAndTheirReportsSelectTheirRows) {
    MakeForm();
    WriteFile(Path("in/a.avi"), "a");
    SetRequest(Path("in/a.avi"), Path("out/a.mp3"), 34);
    form->onAddToQueueClicked();
    SetRequest(Path("in/a.avi"), Path("out/b.wav"), 36);
    form->onAddToQueueClicked();
    const ConversionJob job = form->Queue().Items().ListJob({});
    std::vector<std::string> cells;
    for (const ConversionRequest& request : job.Requests) {
        for (const std::string& cell : {request.FormatLabel, request.InputPath, request.OutputPath}) cells.push_back(cell);
    }
    for (long long item : job.ItemIds) form->ShowListItem(item, {ItemStatus::State::Converting});
    EXPECT_EQ(cells, (std::vector<std::string>{" Audio MP3 - MP3; Audio (128kbps)", Path("in/a.avi"), Path("out/a.mp3"),
                                               " Audio WAV - WAV; no compression", Path("in/a.avi"), Path("out/b.wav")}));
    EXPECT_EQ(form->Queue().Selected(), 2);
}

TEST_F(WindowTest, AfterClosingBeginsOtherThreadsNoLongerWait) {
    MakeForm();
    gui::QtWindowPort::Instance().BeginClosing();
    // This thread processes no events now: a call that waited for it would never return.
    auto call = std::async(std::launch::async, [] {
        App().Window->ShowDisplay({.StatusText = "late"});
        App().Window->AppendLog("late");
        return App().Window->RestoreConvertButton(false);
    });
    ASSERT_EQ(call.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    call.get();
    QApplication::processEvents();
    EXPECT_NE(form->Progress().statusLabel->text(), "late");
}

TEST_F(WindowTest, CallsOnTheWindowThreadRunAtOnce) {
    MakeForm();
    App().Window->ShowDisplay({.ProgressText = "direct"});
    EXPECT_EQ(form->Progress().progressLabel->text(), "direct");
}

}  // namespace
}  // namespace transcoda::testing
