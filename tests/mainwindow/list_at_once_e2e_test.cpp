// The window's list converted two items at once, by the real worker and helper tools:
// each row shows its own item, and the list ends as it ends one item at a time.

#include <QAbstractItemModel>
#include <QTableView>

#include <csignal>
#include <cstdio>

#include "e2e_support.h"
#include "support/process_gone.h"

namespace transcoda::testing {
namespace {

double ProbeDuration(const std::string& file) {
    std::string out;
    FILE* pipe = popen(("ffprobe -v error -show_entries format=duration -of csv=p=0 " + Sh(file) + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) return -1;
    char buffer[256];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    pclose(pipe);
    return out.empty() ? -1 : std::stod(out);
}

class ListAtOnceTest : public RealToolsWindowTest {
protected:
    // A new window whose option, picked in its menu, converts `atOnce` items at once (on
    // a machine of fewer processors, whose menu does not offer it, chosen all the same).
    void MakeFormConverting(int atOnce) {
        MakeForm();
        if (QAction* entry = form->ItemsAtOnceChoice().Entry(atOnce)) entry->trigger();
        else form->SetItemsAtOnce(atOnce);
        ASSERT_EQ(form->Controller().ListItemsAtOnce(), atOnce);
    }
    void Queue(const std::string& input, const std::string& output, int format) {
        SetRequest(input, output, format);
        Click(form->Queue().addToQueue);
    }
    std::vector<std::string> Statuses() const {
        std::vector<std::string> out;
        for (int row = 1; row <= form->Queue().Count(); ++row) out.push_back(form->Queue().StatusText(row).toStdString());
        return out;
    }
    // The most rows the status column showed converting at one time, from now on.
    void CountConvertingRows() {
        mostConverting = 0;
        progressSeen.clear();
        QObject::connect(form->Queue().queueView->model(), &QAbstractItemModel::dataChanged, form.get(), [this] {
            int converting = 0;
            for (const std::string& status : Statuses()) converting += status.starts_with("conversion") ? 1 : 0;
            mostConverting = std::max(mostConverting, converting);
            progressSeen.push_back(form->Progress().progressLabel->text().toStdString());
        });
    }

    int mostConverting = 0;
    std::vector<std::string> progressSeen;
};

// One list converted one item at a time, then two at once: the statuses, the summary of
// the failed item (with its reason behind Details) and the written notice are the same;
// two rows were converting together only in the second run, never more.
TEST_F(ListAtOnceTest, TwoAtOnceEndsAsOneAtATimeWithTheFailedItemAlone) {
    struct Seen {
        std::vector<std::string> statuses, messages, details;
        std::string notice;
    };
    std::vector<Seen> runs;
    for (const int atOnce : {1, 2}) {
        SCOPED_TRACE(atOnce);
        std::filesystem::remove_all(Path("out"));
        std::filesystem::remove(PrefsPath());
        MakeFormConverting(atOnce);
        Queue(Fixture("clip.avi"), Path("out/one.mp3"), 34);
        Queue(Fixture("clip.wav"), Path("out/two.mpeg"), 3);  // sound only, for a picture format
        Queue(Fixture("clip.mp4"), Path("out/three.wav"), 36);
        Queue(Fixture("clip.avi"), Path("out/four.mp3"), 35);
        CountConvertingRows();
        dialogs.shown.clear();
        Click(form->Queue().convertQueue);
        form->ItemsAtOnceChoice().ShowChoice();
        EXPECT_FALSE(form->ItemsAtOnceChoice().Entry(1)->isEnabled()) << "the option is greyed while the list runs";
        ASSERT_TRUE(WaitForIdle(180000));

        EXPECT_EQ(mostConverting, atOnce);
        // The progress part shows the list as a whole while items run side by side.
        for (const std::string& text : progressSeen) {
            if (atOnce == 2 && !text.empty()) {
                EXPECT_TRUE(text.ends_with(" en cours)")) << text;
            }
        }
        for (const char* out : {"out/one.mp3", "out/three.wav", "out/four.mp3"})
            EXPECT_NEAR(ProbeDuration(Path(out)), 3.0, 0.3) << out;
        EXPECT_FALSE(Exists(Path("out/two.mpeg")));
        Seen seen{Statuses(), {}, {}, form->Progress().TimeLabel->toolTip().toStdString()};
        for (const auto& shown : dialogs.Of("message")) {
            seen.messages.push_back(shown.text.toStdString());
            seen.details.push_back(shown.details.toStdString());
        }
        EXPECT_EQ(seen.statuses[0], "terminé");
        EXPECT_TRUE(seen.statuses[1].starts_with("échec ")) << seen.statuses[1];
        EXPECT_EQ(seen.statuses[2], "terminé");
        EXPECT_EQ(seen.statuses[3], "terminé");
        ASSERT_EQ(seen.messages.size(), 1u) << "one summary after the list";
        runs.push_back(seen);
    }
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[1].statuses, runs[0].statuses);
    EXPECT_EQ(runs[1].messages, runs[0].messages);
    EXPECT_EQ(runs[1].details, runs[0].details);
    EXPECT_EQ(runs[1].notice, runs[0].notice);
    EXPECT_EQ(runs[1].notice, "3 fichiers écrits, dont le dernier : " + Path("out/four.mp3"));
}

// Replaces the conversion tool by one that starts writing its output, notes its process
// id and hangs.
void InstallHangingTool(const std::string& pidFile) {
    const std::string tool = App().HelperFolder() + "utilitymff3.exe";
    std::filesystem::remove(tool);
    std::ofstream(tool) << "#!/bin/sh\nfor last; do :; done\ncase \"$last\" in */out/*) echo partial > \"$last\";; esac\n"
                           "echo $$ >> " + Sh(pidFile) + "\nexec sleep 30\n";
    std::filesystem::permissions(tool, std::filesystem::perms::owner_all);
}

std::vector<pid_t> Pids(const std::string& pidFile) {
    std::vector<pid_t> pids;
    std::ifstream in(pidFile);
    for (pid_t pid; in >> pid;) pids.push_back(pid);
    return pids;
}

// Stop, or closing the window, while two items run: both tools end, what they were
// writing goes, and the third item never starts.
TEST_F(ListAtOnceTest, StopOrClosingWhileTwoRunLeavesNoToolAndNoPartialFile) {
    for (const bool closing : {false, true}) {
        SCOPED_TRACE(closing ? "closing" : "Stop");
        const std::string pidFile = Path("tools.pid");
        std::filesystem::remove(pidFile);
        std::filesystem::remove_all(Path("out"));
        InstallHangingTool(pidFile);
        MakeFormConverting(2);
        form->show();
        for (const char* out : {"out/a.mp3", "out/b.mp3", "out/c.mp3"}) Queue(Fixture("clip.avi"), Path(out), 34);
        std::filesystem::create_directories(Path("out"));
        Click(form->Queue().convertQueue);
        ASSERT_TRUE(WaitUntil([&] { return Pids(pidFile).size() == 2; }, 60000));
        ASSERT_TRUE(WaitUntil([&] { return Statuses()[0].starts_with("conversion") && Statuses()[1].starts_with("conversion"); }, 10000));
        if (closing) {
            dialogs.answers = {true};
            form->close();
            ASSERT_TRUE(WaitUntil([&] { return !form->isVisible(); }, 10000));
            EXPECT_FALSE(form->Controller().WorkerAlive()) << "the window went before the list ended";
        } else {
            Click(form->Queue().convertQueue);
            ASSERT_TRUE(WaitForIdle(10000));
            QApplication::processEvents();
            EXPECT_EQ(Statuses(), (std::vector<std::string>{"arrêté", "arrêté", "en attente"}));
        }
        const std::vector<pid_t> pids = Pids(pidFile);
        EXPECT_EQ(pids.size(), 2u) << "an item started after the stop";
        for (const pid_t pid : pids) {
            EXPECT_TRUE(EventuallyGone(pid)) << "a tool was left running";
            if (!ProcessGone(pid)) kill(pid, SIGKILL);
        }
        std::vector<std::string> left;
        for (const auto& entry : std::filesystem::directory_iterator(Path("out"))) left.push_back(entry.path().string());
        EXPECT_EQ(left, std::vector<std::string>{}) << "a partial output was left";
    }
}

}  // namespace
}  // namespace transcoda::testing
