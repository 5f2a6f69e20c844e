// Program entry: the splash, in the window's language, while the windows are created, a two-second hold, the files
// the program was opened with, then the event loop until the main window closes.
#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QUrl>
#include <QThread>
#include <clocale>
#include <cstdio>
#include <unistd.h>

#include "splash_screen.h"
#include "conversion/worker_roster.h"
#include "dialogs/lag_dialog.h"
#include "dialogs/segment_dialog.h"
#include "exec/app_state.h"
#include "exec/instance.h"
#include "exec/stop_signals.h"
#include "mainwindow/main_window.h"
#include "mainwindow/qt_texts.h"
#include "platform/desktop_language.h"
#include "platform/program_folder.h"
#include "settings/preferences.h"

namespace {
// How long the splash may take to appear before the windows are created all the same.
constexpr int kSplashMappingWaitMs = 1500;

// A stop signal (the session ends, the terminal that started the window closes, kill)
// stops the conversions as Stop does: once their workers have ended, their tools are
// gone, their temporary outputs removed and the old outputs kept; then the work folder
// goes and the window ends without a question.
void EndOnStopSignal(transcoda::WorkerRoster& workers, int signal) {
    workers.StopAll();
    workers.WaitForAll(transcoda::kStopBoundMs / 2);
    transcoda::EndInstance();
    std::fflush(nullptr);
    _exit(128 + signal);
}
// The files the program is opened with ("transcoda FILE...", the desktop's "Open with"),
// as absolute paths; Qt has taken its own options out already. A "file:" address is its
// local path; after "--" every argument is a file, even one that begins with "-".
QStringList OpenedFiles(const QStringList& arguments) {
    QStringList files;
    bool optionsOver = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString argument = arguments[i];
        if (!optionsOver && argument == "--") {
            optionsOver = true;
            continue;
        }
        if (!optionsOver && argument.startsWith('-')) continue;
        if (argument.startsWith("file:")) argument = QUrl(argument).toLocalFile();
        if (!argument.isEmpty()) files << QFileInfo(argument).absoluteFilePath();
    }
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    // Before the toolkit starts any thread: the stop signals caught, the work folder, and
    // what died instances left.
    transcoda::CatchStopSignals();
    transcoda::InstanceScope instance;
    // The workers the window starts; the signal's thread, which may outlive main, shares it.
    const auto workers = std::make_shared<transcoda::WorkerRoster>();
    transcoda::WatchStopSignals([workers](int signal) { EndOnStopSignal(*workers, signal); });
    QApplication application(argc, argv);
    // Numbers in the progress texts follow the user's regional settings.
    std::setlocale(LC_ALL, "");
    transcoda::App().ProgramFolder = transcoda::ExecutableFolder();

    // The splash speaks the language the main window is about to take.
    const std::string language =
        transcoda::StartLanguage(transcoda::ReadLanguagePreference(transcoda::App().ProgramFolder));
    auto* splash = new SplashScreen(QString::fromStdString(language));
    splash->ShowPainted(kSplashMappingWaitMs);

    QApplication::setApplicationName(QString::fromUtf8(transcoda::kApplicationTitle));
    // The installed menu entry's name, by which the desktop matches the window to its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.transcoda"));
    QApplication::setWindowIcon(QIcon(":/icons/transcoda.png"));

    auto* window = new MainWindow;
    window->Controller().SetRoster(workers.get());
    // The window has fixed the language: Qt's own dialogs and boxes speak it too.
    transcoda::gui::InstallQtTexts(transcoda::App().CurrentLanguage);
    auto* lagDialog = new LagDialog(window);
    auto* segmentDialog = new SegmentDialog(window);
    window->AttachDialogs(lagDialog, segmentDialog);

    QThread::msleep(2000);
    splash->hide();
    delete splash;

    window->show();
    window->OpenFiles(OpenedFiles(QApplication::arguments()));
    const int status = QApplication::exec();

    // A conversion may still be running: its tools and work folder go now, and the
    // worker ends with the process without touching the windows being destroyed.
    if (workers->AnyActive()) {
        transcoda::EndInstance();
        std::fflush(nullptr);
        _exit(status);
    }
    delete window;
    return status;
}
