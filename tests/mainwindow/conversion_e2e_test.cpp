// Whole conversions started from the real window with the mouse, run by the real worker
// and helper tools, and followed on the window until it is idle again.

#include <QPlainTextEdit>
#include <QProgressBar>
#include <QItemSelectionModel>
#include <QTableView>
#include <sys/stat.h>

#include <csignal>
#include <cstdio>
#include <mutex>

#include "exec/progress_display.h"
#include "e2e_support.h"
#include "mainwindow/facts_part.h"
#include "mainwindow/qt_window_port.h"

namespace transcoda::testing {
namespace {

std::string Capture(const std::string& command) {
    std::string out;
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) return out;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    pclose(pipe);
    return out;
}

// Duration in seconds and codec of the first stream, as ffprobe reads them.
double ProbeDuration(const std::string& file) {
    const std::string text = Capture("ffprobe -v error -show_entries format=duration -of csv=p=0 " + Sh(file));
    return text.empty() ? -1 : std::stod(text);
}
std::string ProbeCodec(const std::string& file) {
    std::string s = Capture("ffprobe -v error -show_entries stream=codec_name -of csv=p=0 " + Sh(file));
    return s.substr(0, s.find('\n'));
}

// Forwards every call to the window's port and keeps the ones the tests follow.
class WatchingPort : public WindowPort {
public:
    explicit WatchingPort(WindowPort& inner) : inner_(inner) {}
    void ShowDisplay(const DisplayChange& c) override {
        if (c.StatusText) Keep("status", *c.StatusText);
        if (c.ProgressText) Keep("progress", *c.ProgressText);
        if (c.Title) Keep("title", *c.Title);
        if (c.BarPosition) Keep("bar", std::to_string(*c.BarPosition));
        if (c.TimeText) Keep("time", *c.TimeText);
        inner_.ShowDisplay(c);
    }
    void ShowFailure(const std::string& t, const std::string& d) override { Keep("message", t); inner_.ShowFailure(t, d); }
    bool DetailsOnDemand() const override { return inner_.DetailsOnDemand(); }
    void ShowWrittenNotice(const std::string& t, const std::string& f) override {
        Keep("notice", t);
        inner_.ShowWrittenNotice(t, f);
    }
    void SetActionText(const std::string& t) override { inner_.SetActionText(t); }
    void ShowMessage(const std::string& t) override { Keep("message", t); inner_.ShowMessage(t); }
    void AppendLog(const std::string& l) override { inner_.AppendLog(l); }
    std::string LogStamp(const std::string& m) override { return inner_.LogStamp(m); }
    bool RestoreConvertButton(bool l) override { Keep("restore", l ? "list" : "once"); return inner_.RestoreConvertButton(l); }

    std::vector<std::string> Texts(const std::string& op) {
        std::lock_guard lock(m_);
        std::vector<std::string> out;
        for (const auto& [o, t] : calls_)
            if (o == op) out.push_back(t);
        return out;
    }
    // The list's row selected as the run reaches it, from 1.
    void Selected(int row) { Keep("select", std::to_string(row)); }
    bool Saw(const std::string& op, const std::string& part) {
        for (const std::string& t : Texts(op))
            if (t.find(part) != std::string::npos) return true;
        return false;
    }

private:
    void Keep(const char* op, const std::string& t) {
        std::lock_guard lock(m_);
        calls_.emplace_back(op, t);
    }
    WindowPort& inner_;
    std::mutex m_;
    std::vector<std::pair<std::string, std::string>> calls_;
};

class ConversionTest : public RealToolsWindowTest {
protected:
    void TearDown() override {
        WindowTest::TearDown();
        App().Window = nullptr;
    }

    void Watch() {
        QObject::disconnect(selectionWatch);
        watch = std::make_unique<WatchingPort>(gui::QtWindowPort::Instance());
        AttachWindow(watch.get());
        selectionWatch = QObject::connect(form->Queue().queueView->selectionModel(), &QItemSelectionModel::currentRowChanged,
                                          form.get(), [w = watch.get()](const QModelIndex& current) {
                                              if (current.isValid()) w->Selected(current.row() + 1);
                                          });
    }

    void ExpectIdleDisplay() {
        ExpectIdleLook();
        EXPECT_EQ(form->Progress().statusLabel->text(), App().English() ? "Ready" : QString::fromUtf8("Prêt"));
        EXPECT_EQ(form->Progress().progressLabel->text(), "");
        EXPECT_EQ(form->Progress().progressBar->value(), 0);
        EXPECT_EQ(form->windowTitle(), form->Caption());
    }

    void Queue(const std::string& input, const std::string& output, int format) {
        SetRequest(input, output, format);
        Click(form->Queue().addToQueue);
    }

    std::unique_ptr<WatchingPort> watch;
    QMetaObject::Connection selectionWatch;
};

TEST_F(ConversionTest, SingleConversionFromTheReleaseBackToIdle) {
    MakeForm();
    Watch();
    const std::string output = Path("out/clip.mp3");
    WriteFile(output, "an older file");
    SetRequest(Fixture("clip.avi"), output, 34);
    dialogs.answers = {true};  // replace the older file

    Click(form->convertStopPicture);
    // Running look at once: the Stop picture, its caption, the list button disabled.
    EXPECT_TRUE(form->Controller().Running());
    EXPECT_EQ(form->convertStopPicture->ShownList(), "stop");
    EXPECT_EQ(form->convertCaption->text(), "           Stop");
    EXPECT_FALSE(form->Queue().convertQueue->isEnabled());
    EXPECT_FALSE(form->Queue().addToQueue->isEnabled());

    ASSERT_TRUE(WaitForIdle(120000));
    ExpectIdleDisplay();
    EXPECT_TRUE(watch->Saw("progress", "Progression : ")) << "no progress was shown";
    EXPECT_TRUE(watch->Saw("title", "%"));
    EXPECT_EQ(watch->Texts("restore"), std::vector<std::string>{"once"});
    EXPECT_EQ(ProbeCodec(output), "mp3");
    EXPECT_NEAR(ProbeDuration(output), 3.0, 0.3);
    // DebugMode is off: the whole conversion left the log empty.
    EXPECT_TRUE(form->Log().diagnosticLog->toPlainText().isEmpty());
    EXPECT_TRUE(dialogs.Of("message").empty());
    // The time taken was shown while it ran; at the end the written file is named, the
    // folder is a click away, and the desktop is told (the window is not the active one).
    EXPECT_TRUE(watch->Saw("time", "écoulé 0 min ")) << "no time was shown";
    EXPECT_EQ(watch->Texts("notice"), std::vector<std::string>{"Fichier écrit : " + output});
    EXPECT_EQ(form->Progress().TimeLabel->toolTip().toStdString(), "Fichier écrit : " + output);
    EXPECT_EQ(form->WrittenFolder().toStdString(), Path("out"));
    EXPECT_TRUE(form->Progress().OpenFolderButton->isVisibleTo(form.get()));
    ASSERT_EQ(dialogs.Of("notify").size(), 1u);
    EXPECT_EQ(dialogs.Of("notify")[0].text.toStdString(), "Fichier écrit : " + output);
}

TEST_F(ConversionTest, ListOfThreeCountsItemsAndSelectsEachRow) {
    MakeForm(nullptr, true);
    Watch();
    Queue(Fixture("clip.avi"), Path("out/one.mp3"), 34);
    Queue(Fixture("clip.mp4"), Path("out/two.wav"), 36);
    Queue(Fixture("clip.wav"), Path("out/three.mp3"), 35);
    ASSERT_EQ(form->Queue().Count(), 3);

    Click(form->Queue().convertQueue);
    EXPECT_EQ(form->Queue().convertQueue->text(), "Stop conversion de la liste");
    EXPECT_TRUE(form->Queue().convertQueue->isEnabled());
    EXPECT_FALSE(form->Queue().addToQueue->isEnabled());
    ASSERT_TRUE(WaitForIdle(180000));

    EXPECT_EQ(watch->Texts("select"), (std::vector<std::string>{"1", "2", "3"}));
    // The window shows the progress as it finds it on its timer: each progress it shows
    // carries its item's counter, "Progression : 12.35% (2/3)" (a short item may pass
    // between two looks).
    int counted = 0;
    for (const std::string& text : watch->Texts("progress")) {
        if (!text.starts_with("Progression : ")) continue;
        const bool withCounter = text.ends_with("(1/3)") || text.ends_with("(2/3)") || text.ends_with("(3/3)");
        EXPECT_TRUE(withCounter) << text;
        counted += withCounter;
    }
    EXPECT_GT(counted, 0);
    for (const char* out : {"out/one.mp3", "out/two.wav", "out/three.mp3"})
        EXPECT_NEAR(ProbeDuration(Path(out)), 3.0, 0.3) << out;
    ExpectIdleDisplay();
    EXPECT_EQ(watch->Texts("notice"),
              std::vector<std::string>{"3 fichiers écrits, dont le dernier : " + Path("out/three.mp3")});
    EXPECT_EQ(form->Queue().convertQueue->text(), "Convertir la liste");
    // In DebugMode the log tells the story of the run.
    EXPECT_TRUE(form->Log().diagnosticLog->toPlainText().contains(QString::fromUtf8("Le logiciel va commencer la conversion..")));
}

// Each row shows how its item ended, the failed one with its reason; the rows cannot be
// edited while the list runs, and the statuses come back at the next start.
TEST_F(ConversionTest, TheStatusColumnFollowsAListWithOneFailingRow) {
    WriteFile(PrefsPath(), "[Visual]\n");
    MakeForm("EN");
    Watch();
    Queue(Fixture("clip.avi"), Path("out/one.mp3"), 34);
    Queue(Fixture("clip.wav"), Path("out/two.mpeg"), 3);  // sound only, for a picture format
    Queue(Fixture("clip.wav"), Path("out/three.mp3"), 34);
    ASSERT_EQ(form->Queue().Count(), 3);
    auto statuses = [&] {
        std::vector<std::string> out;
        for (int row = 1; row <= 3; ++row) out.push_back(form->Queue().StatusText(row).toStdString());
        return out;
    };
    EXPECT_EQ(statuses(), (std::vector<std::string>{"waiting", "waiting", "waiting"}));

    Click(form->Queue().convertQueue);
    EXPECT_FALSE(form->Queue().MoveUpButton->isEnabled());
    EXPECT_FALSE(form->Queue().MoveDownButton->isEnabled());
    form->Queue().Select(3);
    QTest::keyClick(form->Queue().queueView, Qt::Key_Delete);
    EXPECT_EQ(form->Queue().Count(), 3) << "Delete while the list runs";
    ASSERT_TRUE(WaitForIdle(180000));

    const std::vector<std::string> after = statuses();
    EXPECT_EQ(after[0], "done");
    EXPECT_TRUE(after[1].starts_with("failed ")) << after[1];
    EXPECT_NE(after[1].find("failed before it began"), std::string::npos) << after[1];
    EXPECT_EQ(after[2], "done");
    EXPECT_TRUE(form->Queue().MoveUpButton->isEnabled());
    ASSERT_EQ(dialogs.Of("message").size(), 1u) << "one summary after the list";
    // The box names the failed item; its reason waits behind Details.
    const auto summary = dialogs.Of("message")[0];
    EXPECT_TRUE(summary.text.contains("two.mpeg") || summary.text.contains("clip.wav")) << summary.text.toStdString();
    EXPECT_TRUE(summary.details.contains("failed before it began")) << summary.details.toStdString();

    MakeForm("EN");
    EXPECT_EQ(statuses(), after);

    // The list again: the rows done are left as they are when the user says No, and
    // converted again, their files replaced, only on Yes.
    auto inode = [&](const char* out) {
        struct stat st {};
        return ::stat(Path(out).c_str(), &st) == 0 ? st.st_ino : 0;
    };
    const auto first = inode("out/one.mp3"), third = inode("out/three.mp3");
    for (const bool again : {false, true}) {
        SCOPED_TRACE(again ? "Yes" : "No");
        Watch();
        dialogs.shown.clear();
        dialogs.answers = {again};
        Click(form->Queue().convertQueue);
        ASSERT_TRUE(WaitForIdle(180000));
        ASSERT_EQ(dialogs.Texts("question").size(), 1u);
        EXPECT_TRUE(dialogs.Texts("question")[0].startsWith("2 items of the list are already converted."));
        EXPECT_EQ(watch->Texts("select"), again ? (std::vector<std::string>{"1", "2", "3"})
                                                : std::vector<std::string>{"2"});
        EXPECT_EQ(statuses()[0], "done");
        EXPECT_EQ(statuses()[2], "done");
        EXPECT_EQ(inode("out/one.mp3") != first, again);
        EXPECT_EQ(inode("out/three.mp3") != third, again);
    }
}

// In English, to see that the list button keeps the caption of the Stop.
TEST_F(ConversionTest, StopDuringTheSecondItemLeavesTheThirdUnconverted) {
    MakeForm("EN");
    Watch();
    // The second item is a longer clip made larger, so that it is still running when
    // the stop arrives.
    const std::string longClip = Path("in/long.mkv");
    std::filesystem::create_directories(Path("in"));
    ASSERT_EQ(std::system(("ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i testsrc2=size=320x240:rate=25"
                           " -f lavfi -i sine=frequency=440 -t 40 -c:v libx264 -preset ultrafast -c:a aac " +
                           Sh(longClip))
                              .c_str()),
              0);
    // The list ran before: its outputs are there, and the user agrees to replace them.
    for (const char* out : {"out/one.mp3", "out/two.avi", "out/three.mp3"}) WriteFile(Path(out), "earlier run");
    dialogs.answers = {true, true, true};
    Queue(Fixture("clip.avi"), Path("out/one.mp3"), 34);
    Queue(longClip, Path("out/two.avi"), 1);
    Queue(Fixture("clip.avi"), Path("out/three.mp3"), 34);

    Click(form->Queue().convertQueue);
    ASSERT_TRUE(WaitUntil([&] { return watch->Saw("select", "2") && watch->Saw("progress", "(2/3)"); }, 120000));
    Click(form->Queue().convertQueue);  // Stop
    EXPECT_FALSE(form->Controller().Running());
    EXPECT_EQ(form->Queue().convertQueue->text(), "Convertir la liste");
    ASSERT_TRUE(WaitForIdle(60000));

    // The first is the new one; the stopped one and the unstarted one are as they were.
    EXPECT_NEAR(ProbeDuration(Path("out/one.mp3")), 3.0, 0.3);
    EXPECT_EQ(ReadFile(Path("out/two.avi")), "earlier run");
    EXPECT_EQ(ReadFile(Path("out/three.mp3")), "earlier run");
    EXPECT_FALSE(watch->Saw("select", "3"));
    ExpectIdleDisplay();
    EXPECT_EQ(form->Queue().convertQueue->text(), "Convertir la liste");

    // The next list conversion that ends by itself gives the English caption back.
    Click(form->Queue().clearQueue);
    Click(form->Queue().convertQueue);
    ASSERT_TRUE(WaitForIdle(10000));
    EXPECT_EQ(form->Queue().convertQueue->text(), "Convert the list");
}

TEST_F(ConversionTest, EmptyListGoesToStopAndBackToIdleAtOnce) {
    MakeForm();
    Watch();
    Click(form->Queue().convertQueue);
    ASSERT_TRUE(WaitForIdle(10000));
    ExpectIdleDisplay();
    EXPECT_EQ(form->Queue().convertQueue->text(), "Convertir la liste");
    EXPECT_EQ(watch->Texts("restore"), std::vector<std::string>{"list"});
    EXPECT_TRUE(watch->Texts("select").empty());
}

// Replaces the conversion tool by one that hangs: it notes its process id and sleeps.
// Returns the file that receives the id.
std::string InstallHangingTool(const std::string& pidFile) {
    const std::string tool = App().HelperFolder() + "utilitymff3.exe";
    std::filesystem::remove(tool);
    std::ofstream(tool) << "#!/bin/sh\necho $$ > " + Sh(pidFile) + "\nexec sleep 30\n";
    std::filesystem::permissions(tool, std::filesystem::perms::owner_all);
    return pidFile;
}

TEST_F(ConversionTest, SecondReleaseStopsTheRunningConversion) {
    const std::string pidFile = InstallHangingTool(Path("tool.pid"));
    MakeForm();
    Watch();
    WriteFile(Path("out/clip.mp3"), "an older file");
    dialogs.answers = {true};
    SetRequest(Fixture("clip.avi"), Path("out/clip.mp3"), 34);
    Click(form->convertStopPicture);
    ASSERT_TRUE(WaitUntil([&] { return !ReadFile(pidFile).empty(); }, 60000));
    const pid_t pid = std::stoi(ReadFile(pidFile));

    Click(form->convertStopPicture);  // Stop
    EXPECT_FALSE(form->Controller().Running());
    ExpectIdleLook();
    EXPECT_EQ(form->Queue().convertQueue->text(), "Convertir la liste");
    ASSERT_TRUE(WaitForIdle(10000));
    ExpectIdleDisplay();
    // The hanging tool was ended, not left behind, and the older file is whole.
    EXPECT_TRUE(WaitUntil([&] { return kill(pid, 0) != 0; }, 5000));
    EXPECT_EQ(ReadFile(Path("out/clip.mp3")), "an older file");
    EXPECT_TRUE(dialogs.Of("message").empty()) << "a stop is not a failure";
}

// An intermediate step killed from outside (here the sound extraction that the HD AVI
// recipe runs beside its picture): the picture's run, which would hang for a minute, is
// ended at once, no later step runs, the message names the step and the signal, and the
// file the conversion was to replace is whole.
TEST_F(ConversionTest, AStepKilledFromOutsideFailsTheConversionAndNamesTheStep) {
    const std::string pidFile = Path("tool.pid");
    const std::string tool = App().HelperFolder() + "utilitymff3.exe";
    std::filesystem::remove(tool);
    std::ofstream(tool) << "#!/bin/sh\nfor last; do :; done\ncase \"$last\" in *.mp3) echo $$ > " + Sh(pidFile) +
                               ";; esac\nexec sleep 60\n";
    std::filesystem::permissions(tool, std::filesystem::perms::owner_all);
    MakeForm();
    Watch();
    const std::string output = Path("out/clip.avi");
    WriteFile(output, "an older file");
    dialogs.answers = {true};
    SetRequest(Fixture("clip.mp4"), output, 0);
    Click(form->convertStopPicture);
    ASSERT_TRUE(WaitUntil([&] { return !ReadFile(pidFile).empty(); }, 60000));
    const pid_t pid = std::stoi(ReadFile(pidFile));
    std::filesystem::remove(pidFile);
    ASSERT_EQ(kill(pid, SIGKILL), 0);
    ASSERT_TRUE(WaitForIdle(30000));
    ExpectIdleDisplay();
    EXPECT_FALSE(Exists(pidFile)) << "a later step ran";
    ASSERT_EQ(dialogs.Of("message").size(), 1u);
    const std::string message = dialogs.Of("message")[0].text.toStdString();
    EXPECT_NE(message.find("a échoué à l'étape « extraction du son » (fichier \""), std::string::npos) << message;
    EXPECT_NE(message.find("arrêté de l'extérieur par le signal 9 (SIGKILL)"), std::string::npos) << message;
    EXPECT_EQ(ReadFile(output), "an older file");
}

// A conversion whose tool fails says which step failed and keeps the file it was to
// replace; one that would be untrue is refused before any step, in the user's language.
TEST_F(ConversionTest, AFailedConversionSaysWhichStepFailedAndKeepsTheOldFile) {
    struct Case {
        const char* language;
        std::string input;
        int format;
        bool failingTool;
        std::string says;
        std::string details;  // what the box's Details button shows
    };
    const Case cases[] = {
        {"FR", Fixture("clip.avi"), 34, true,
         "a échoué à l'étape « conversion » (fichier \"" + Path("out/.clip.transcoda-"),
         "engine: frame=  10\nengine: cannot write the output\n"},
        {"EN", Fixture("clip.wav"), 3, false,
         "failed before it began: the input holds only sound, and this output format needs a picture.", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        if (c.failingTool) {
            // A tool that says a few things (its status line rewritten in place) and fails.
            const std::string tool = App().HelperFolder() + "utilitymff3.exe";
            std::filesystem::remove(tool);
            std::ofstream(tool) << "#!/bin/sh\nprintf 'engine: frame=   1\\rengine: frame=  10\\n' >&2\n"
                                   "echo 'engine: cannot write the output' >&2\nexit 3\n";
            std::filesystem::permissions(tool, std::filesystem::perms::owner_all);
        }
        MakeForm(c.language);
        Watch();
        const std::string output = Path(c.format == 34 ? "out/clip.mp3" : "out/clip.mpeg");
        WriteFile(output, "an older file");
        dialogs.answers = {true};
        SetRequest(c.input, output, c.format);
        Click(form->convertStopPicture);
        ASSERT_TRUE(WaitForIdle(60000));
        ExpectIdleDisplay();
        ASSERT_EQ(dialogs.Of("message").size(), 1u);
        const std::string message = dialogs.Of("message")[0].text.toStdString();
        EXPECT_NE(message.find(c.says), std::string::npos) << message;
        EXPECT_EQ(dialogs.Of("message")[0].details.toStdString(), c.details);
        EXPECT_EQ(ReadFile(output), "an older file");
        EXPECT_TRUE(watch->Texts("notice").empty()) << "nothing was written";
        dialogs.shown.clear();
    }
}

TEST_F(ConversionTest, ConvertRightAfterStopWaitsForTheStoppedWorker) {
    const std::string pidFile = InstallHangingTool(Path("tool.pid"));
    MakeForm();
    Watch();
    SetRequest(Fixture("clip.avi"), Path("out/clip.mp3"), 34);
    Click(form->convertStopPicture);
    ASSERT_TRUE(WaitUntil([&] { return !ReadFile(pidFile).empty(); }, 60000));
    const std::string first = ReadFile(pidFile);
    std::filesystem::remove(pidFile);

    Click(form->convertStopPicture);  // Stop
    Click(form->convertStopPicture);  // and convert again at once
    // The stopped worker's end must not undo the new start: the new tool runs only once
    // that end has been taken, and nothing it left queued for the window changes that.
    ASSERT_TRUE(WaitUntil([&] { return !ReadFile(pidFile).empty(); }, 60000));
    ASSERT_TRUE(WaitUntil([&] { return form->Controller().Current() == ConversionController::State::ConvertingOne; },
                          10000));
    QCoreApplication::sendPostedEvents();
    QApplication::processEvents();
    EXPECT_EQ(form->Controller().Current(), ConversionController::State::ConvertingOne);
    EXPECT_TRUE(form->Controller().Running());
    EXPECT_TRUE(form->Controller().WorkerAlive());
    EXPECT_EQ(form->convertStopPicture->ShownList(), "stop");
    EXPECT_NE(ReadFile(pidFile), first);

    Click(form->convertStopPicture);
    ASSERT_TRUE(WaitForIdle(10000));
    ExpectIdleDisplay();
}

// Replaces the picture step of the HD AVI recipe by one that hangs: the sound step before
// it still runs the real tool and leaves its intermediate. Returns the file that receives
// the hanging tool's process id.
std::string InstallHangingPictureStep(const std::string& pidFile) {
    const std::string tool = App().HelperFolder() + "utilitymff3.exe";
    const std::string real = std::string(TRANSCODA_BIN_DIR) + "/B/utilitymff3.exe";
    std::filesystem::remove(tool);
    std::ofstream(tool) << "#!/bin/sh\nfor last; do :; done\ncase \"$last\" in *.mp3) exec " + Sh(real) +
                               " \"$@\";; esac\necho $$ > " + Sh(pidFile) + "\nexec sleep 30\n";
    std::filesystem::permissions(tool, std::filesystem::perms::owner_all);
    return pidFile;
}

// Intermediates of the running recipe in the folder where the recipes keep them.
std::vector<std::string> Intermediates() {
    std::vector<std::string> found;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(App().IntermediateFolder(), ec))
        if (entry.path().filename().string().starts_with("tmp")) found.push_back(entry.path().string());
    return found;
}

// Closing while a conversion runs asks first. No keeps the window and the conversion;
// Yes stops it as Stop does, and the window goes only once the tool is ended, the
// intermediates are deleted and the worker is gone; the window thread meanwhile goes on.
TEST_F(ConversionTest, ClosingDuringAConversionAsksAndStopsItOnYes) {
    struct Case {
        const char* language;
        bool withThePicture;  // the Close picture, else the title bar's close
        const char* question;
    };
    const Case cases[] = {
        {"FR", false, "Une conversion est en cours, voulez vous l'arrêter et quitter?"},
        {"EN", true, "A conversion is in progress, do you want to stop it and quit?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        const std::string pidFile = InstallHangingPictureStep(Path("tool.pid"));
        std::filesystem::remove(pidFile);
        MakeForm(c.language);
        Watch();
        form->show();
        SetRequest(Fixture("clip.avi"), Path("out/clip.avi"), 0);
        Click(form->convertStopPicture);
        ASSERT_TRUE(WaitUntil([&] { return !ReadFile(pidFile).empty(); }, 60000));
        const pid_t pid = std::stoi(ReadFile(pidFile));
        // The sound is extracted beside the picture: its intermediate comes when it does.
        EXPECT_TRUE(WaitUntil([&] { return !Intermediates().empty(); }, 10000)) << "the sound step left no intermediate";
        auto closeWindow = [&] {
            if (c.withThePicture) Click(form->closePicture);
            else form->close();
        };

        dialogs.answers = {false};
        dialogs.shown.clear();
        closeWindow();
        EXPECT_EQ(dialogs.Texts("question"), std::vector<QString>{QString::fromUtf8(c.question)});
        EXPECT_TRUE(form->isVisible());
        EXPECT_TRUE(form->Controller().Running());
        EXPECT_EQ(kill(pid, 0), 0) << "the running tool was stopped";

        dialogs.answers = {true};
        closeWindow();
        ASSERT_TRUE(WaitUntil([&] { return !form->isVisible(); }, 10000));
        EXPECT_EQ(dialogs.Of("question").size(), 2u) << "asked again while closing";
        EXPECT_FALSE(form->Controller().WorkerAlive()) << "the window went before the conversion ended";
        EXPECT_FALSE(form->Controller().Running());
        EXPECT_TRUE(WaitUntil([&] { return kill(pid, 0) != 0; }, 5000)) << "the tool was left running";
        EXPECT_EQ(Intermediates(), std::vector<std::string>{});
        if (kill(pid, 0) == 0) kill(pid, SIGKILL);
    }
}

// A pick shows the input's facts under the field, read by the helper tools through the
// probe cache, and the estimate of the chosen preset; a newer pick replaces an older one
// whose reading is under way.
TEST_F(ConversionTest, APickShowsTheInputsFactsAndTheEstimate) {
    struct Row {
        const char* input;
        int preset;
        std::vector<const char*> words;  // in the facts' text
        bool still;
    };
    const Row rows[] = {
        {"clip.mp4", 34, {"0 min 03 s", "H.264 320 × 240 à 25 im/s", "son AAC 48 kHz stéréo",
                          "Taille estimée après conversion : environ 48,0 Ko"}, true},
        {"clip.mp3", 36, {"pas d'image", "son MP3 44,1 kHz stéréo", "environ 5", " Ko"}, false},
        {"clip-silent.avi", 34, {"MPEG-4 320 × 240", "pas de son"}, true},
        {"missing.mp4", 0, {"Fichier introuvable"}, false},
    };
    App().WorkFolder = Path("work/");
    std::filesystem::create_directories(App().WorkFolder);
    MakeForm();
    QString arrived;
    QObject::connect(&form->Facts(), &gui::FactsPart::Arrived, [&](const QString& path) { arrived = path; });
    for (const Row& row : rows) {
        const QString input = QString::fromStdString(Fixture(row.input));
        // An older pick still being read is replaced.
        form->Files().inputPathEdit->setText(QString::fromStdString(Fixture("clip.mkv")));
        form->Presets().presetCombo->setCurrentIndex(row.preset);
        form->Files().inputPathEdit->setText(input);
        ASSERT_TRUE(WaitUntil([&] { return arrived == input; }, 30000)) << row.input;
        EXPECT_EQ(form->Facts().ShownPath(), input);
        const QString text = form->Facts().factsLabel->text();
        for (const char* word : row.words) EXPECT_TRUE(text.contains(QString::fromUtf8(word))) << text.toStdString();
        EXPECT_EQ(!form->Facts().stillPicture->pixmap().isNull(), row.still) << row.input;
    }
    // Once the window has gone, so have the stills, those of the readings replaced
    // included; the descriptions stay in the probe cache.
    form.reset();
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(App().WorkFolder))
        left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"probes"});
    App().WorkFolder.clear();
}

}  // namespace
}  // namespace transcoda::testing
