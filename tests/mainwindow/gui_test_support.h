#pragma once
// Shared pieces of the window tests: a stand-in that answers the boxes and dialogs, a
// program folder of its own per test, and helpers that drive the real window.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "conversion/worker.h"
#include "exec/app_state.h"
#include "exec/window_port.h"
#include "mainwindow/main_window.h"
#include "mainwindow/diagnostic_log_part.h"
#include "mainwindow/files_part.h"
#include "mainwindow/items_at_once_menu.h"
#include "mainwindow/language_menu.h"
#include "mainwindow/preset_picker.h"
#include "mainwindow/progress_part.h"
#include "mainwindow/queue_panel.h"
#include "mainwindow/user_dialogs.h"

// Readable texts in the failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace transcoda::testing {

// Answers every box the window shows, and keeps what it was shown.
class ScriptedDialogs : public gui::UserDialogs {
public:
    struct Shown {
        std::string kind;  // "message", "question", "pick", "modal", "open", "notify"
        QString caption;
        QString text;
        QString details = {};  // a failure's box: what its Details button shows
    };

    void Message(QWidget*, const QString& caption, const QString& text) override {
        shown.push_back({"message", caption, text});
    }
    void Failure(QWidget*, const QString& caption, const QString& text, const QString& details) override {
        shown.push_back({"message", caption, text, details});
    }
    void Notify(const QString& title, const QString& text) override { shown.push_back({"notify", title, text}); }
    bool Question(QWidget*, const QString& caption, const QString& text) override {
        shown.push_back({"question", caption, text});
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    QString PickFile(QWidget*, const QString& title, const QString& filter, const QString&, bool) override {
        shown.push_back({"pick", title, filter});
        if (picks.empty()) return {};
        const QString pick = picks.front();
        picks.pop_front();
        return pick;
    }
    // Several files are scripted as one pick, their paths separated by "\n".
    QStringList PickFiles(QWidget* parent, const QString& title, const QString& filter, const QString& start) override {
        const QString pick = PickFile(parent, title, filter, start, true);
        return pick.isEmpty() ? QStringList() : pick.split('\n');
    }
    int RunModal(QDialog* dialog) override {
        shown.push_back({"modal", {}, dialog ? dialog->objectName() : QString()});
        if (onModal) onModal(dialog);
        return 0;
    }
    bool OpenExternal(const QUrl& url) override {
        shown.push_back({"open", {}, url.toString()});
        return desktopOpens;
    }

    std::vector<Shown> Of(const std::string& kind) const {
        std::vector<Shown> out;
        for (const Shown& s : shown)
            if (s.kind == kind) out.push_back(s);
        return out;
    }
    std::vector<QString> Texts(const std::string& kind) const {
        std::vector<QString> out;
        for (const Shown& s : Of(kind)) out.push_back(s.text);
        return out;
    }

    std::vector<Shown> shown;
    std::deque<bool> answers;     // for Question, in order
    std::deque<QString> picks;    // for PickFile, in order; empty text = cancelled
    std::function<void(QDialog*)> onModal;
    bool desktopOpens = true;     // false: the desktop has nothing to open folders and pages with
};

// A program folder of its own: ProgramFolder points at it, B/ holds links to the helper
// tools of the build, the user's config folder (where the preferences live) is a folder
// of the test, and the language and debug settings are those asked for.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        root_ = dir_.path().toStdString() + "/";
        App().ProgramFolder = root_ + "prog/";
        std::filesystem::create_directories(App().HelperFolder());
        LinkHelperTools();
        setenv("XDG_CONFIG_HOME", (root_ + "config").c_str(), 1);
        gui::SetDialogs(&dialogs);
        unsetenv("TRANSCODA_LANGUAGE");
        unsetenv("TRANSCODA_DEBUG");
        // Without a language asked for, the window follows the locale: French under C.
        unsetenv("LC_ALL");
        unsetenv("LC_MESSAGES");
        setenv("LANG", "C.UTF-8", 1);
    }

    void TearDown() override {
        if (form) WaitForIdle(20000);
        form.reset();
        gui::SetDialogs(nullptr);
        unsetenv("XDG_CONFIG_HOME");
        unsetenv("TRANSCODA_LANGUAGE");
        unsetenv("TRANSCODA_DEBUG");
    }

    void LinkHelperTools() {
#ifdef TRANSCODA_BIN_DIR
        std::error_code ec;
        const std::filesystem::path tools = std::filesystem::path(TRANSCODA_BIN_DIR) / "B";
        for (const auto& entry : std::filesystem::directory_iterator(tools, ec))
            if (entry.is_regular_file())
                std::filesystem::create_symlink(entry.path(), App().HelperFolder() + entry.path().filename().string(), ec);
#endif
    }

    MainWindow& MakeForm(const char* language = nullptr, bool debug = false) {
        if (language) setenv("TRANSCODA_LANGUAGE", language, 1);
        if (debug) setenv("TRANSCODA_DEBUG", "1", 1);
        form = std::make_unique<MainWindow>();
        return *form;
    }

    // The user's pick in the window's Language menu.
    void PickLanguage(const std::string& language) {
        gui::LanguageMenu& menu = form->Languages();
        (language == "EN" ? menu.EnglishAction : menu.FrenchAction)->trigger();
    }

    std::string Path(const std::string& name) const { return root_ + name; }
    std::string PrefsPath() const { return root_ + "config/transcoda/applicationUserPreferences.ini"; }

    static void WriteFile(const std::string& path, const std::string& text) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    // Also reads files under /proc: a process that ends while its file is read gives an
    // empty or partial text, not an exception.
    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        if (in) text << in.rdbuf();
        return text.str();
    }
    static bool Exists(const std::string& path) { return std::filesystem::exists(path); }

    // A press and a release on a picture or a button, as the mouse makes them.
    static void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }

    void SetRequest(const std::string& input, const std::string& output, int formatIndex) {
        form->Files().inputPathEdit->setText(QString::fromStdString(input));
        form->Presets().presetCombo->setCurrentIndex(formatIndex);
        form->Files().outputPathEdit->setText(QString::fromStdString(output));
    }

    // Processes the window's events until done() holds; false once timeoutMs has passed.
    static bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
        QElapsedTimer timer;
        timer.start();
        while (!done()) {
            if (timer.elapsed() > timeoutMs) return false;
            QApplication::processEvents(QEventLoop::AllEvents, 10);
            QTest::qWait(2);
        }
        return true;
    }

    // Processes events until the conversion is over, the worker has ended and its end
    // has reached the window.
    bool WaitForIdle(int timeoutMs) {
        const bool idle = WaitUntil(
            [&] { return !(form && (form->Controller().Running() || form->Controller().WorkerAlive())); },
            timeoutMs);
        QApplication::processEvents();
        return idle;
    }

    // The idle look: Convert picture, its caption, the list buttons enabled.
    void ExpectIdleLook() const {
        EXPECT_FALSE(form->Controller().Running());
        EXPECT_EQ(form->convertStopPicture->ShownList(), "convert");
        EXPECT_EQ(form->convertStopPicture->ShownIndex(), 0);
        EXPECT_EQ(form->convertCaption->text(), App().English() ? "Convert the file" : "Convertir un fichier");
        for (QPushButton* b : {form->Queue().addToQueue, form->Queue().removeFromQueue, form->Queue().clearQueue, form->Queue().convertQueue})
            EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
    }

    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> form;

private:
    QTemporaryDir dir_;
    std::string root_;
};

}  // namespace transcoda::testing
