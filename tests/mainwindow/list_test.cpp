// The conversion list, the two layouts and the shortcut pictures of the real window.

#include <QAbstractItemView>
#include <QCompleter>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <algorithm>

#include "exec/log.h"

#include "gui_test_support.h"

namespace transcoda::testing {
namespace {

class ListTest : public WindowTest {
protected:
    // Queues n conversions of one existing input to out/<i>.mp3.
    void Queue(int n) {
        WriteFile(Path("in/clip.avi"), "input");
        for (int i = 1; i <= n; ++i) {
            SetRequest(Path("in/clip.avi"), Path("out/" + std::to_string(i) + ".mp3"), 34);
            form->onAddToQueueClicked();
        }
    }
    std::string Cell(int column, int row) const { return form->Queue().Cell(column, row).toStdString(); }
};

TEST_F(ListTest, FirstAdditionExpandsTheListAndFillsTheEmptyLastRow) {
    MakeForm();
    EXPECT_TRUE(form->ListHidden());
    EXPECT_EQ(form->Queue().Count(), 0);
    EXPECT_EQ(form->height(), MainWindow::kCollapsedHeight - MainWindow::kFrameHeight);
    EXPECT_TRUE(form->Queue().queueView->isHidden());
    Queue(1);
    EXPECT_FALSE(form->ListHidden());
    EXPECT_EQ(form->height(), MainWindow::kExpandedHeight - MainWindow::kFrameHeight);
    EXPECT_FALSE(form->Queue().queueView->isHidden());
    EXPECT_EQ(form->Progress().progressLabel->pos(), QPoint(5, 457 + MainWindow::kBelowInput));
    EXPECT_EQ(form->Progress().statusLabel->x(), 620);
    ASSERT_EQ(form->Queue().Count(), 1);
    EXPECT_EQ(Cell(0, 1), " Audio MP3 - MP3; Audio (128kbps)");
    EXPECT_EQ(Cell(1, 1), Path("in/clip.avi"));
    EXPECT_EQ(Cell(2, 1), Path("out/1.mp3"));
    EXPECT_EQ(Cell(2, 2), "");
}

// The diagnostic log is on from the start (TRANSCODA_DEBUG), or switched while the
// program runs by Ctrl+Shift+D or by the entry of the window's menu; switched on, the
// log is written and shown below the list, and the caption says so.
TEST_F(ListTest, LayoutsFollowTheButtonsAndDebugMode) {
    enum class Switch { None, Shortcut, Menu };
    struct Case {
        bool debugAtStart;
        Switch how;
        bool debug;
        int expandedHeight;
        const char* language = "FR";
        bool grown = false;  // the window then made larger, and back
    };
    const Case cases[] = {
        {false, Switch::None, false, MainWindow::kExpandedHeight},
        {true, Switch::None, true, MainWindow::kExpandedDebugHeight},
        {false, Switch::Shortcut, true, MainWindow::kExpandedDebugHeight},
        {false, Switch::Menu, true, MainWindow::kExpandedDebugHeight},
        {true, Switch::Shortcut, false, MainWindow::kExpandedHeight},
        {true, Switch::Menu, false, MainWindow::kExpandedHeight},
        {false, Switch::Menu, true, MainWindow::kExpandedDebugHeight, "EN"},
        {false, Switch::None, false, MainWindow::kExpandedHeight, "FR", true},
        {true, Switch::None, true, MainWindow::kExpandedDebugHeight, "EN", true},
    };
    for (const Case c : cases) {
        SCOPED_TRACE(std::to_string(c.debugAtStart) + " " + std::to_string(static_cast<int>(c.how)));
        unsetenv("TRANSCODA_DEBUG");
        MakeForm(c.language, c.debugAtStart);
        if (c.how != Switch::None || c.grown) {
            form->show();
            form->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        }
        // Shown, the window is no taller than its screen (the test screen is 800 high).
        const int expandedHeight = form->isVisible()
                                       ? std::min(c.expandedHeight, form->screen()->availableGeometry().height())
                                       : c.expandedHeight;
        if (c.how == Switch::Shortcut) QTest::keyClick(form.get(), Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
        if (c.how == Switch::Menu) {
            // A right click on the window opens its menu: the switch, then the Language
            // submenu and the option's. The switch is chosen.
            QString entry;
            QMenu* submenu = nullptr;
            QMenu* option = nullptr;
            QTimer::singleShot(0, [&] {
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                if (menu == nullptr) return;
                if (menu->actions().size() != 3) {
                    menu->close();
                    return;
                }
                submenu = menu->actions()[1]->menu();
                option = menu->actions()[2]->menu();
                entry = menu->actions()[0]->text();
                menu->actions()[0]->trigger();
                menu->close();
            });
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(380, 120), form->mapToGlobal(QPoint(380, 120)));
            QApplication::sendEvent(form.get(), &event);
            EXPECT_EQ(entry, App().English() ? "Diagnostic log" : QString::fromUtf8("Journal de diagnostic"));
            EXPECT_EQ(submenu, form->Languages().Menu());
            EXPECT_EQ(option, form->ItemsAtOnceChoice().Menu());
        }
        EXPECT_EQ(App().DebugMode, c.debug);
        EXPECT_EQ(form->windowTitle().endsWith(" - DEBUG"), c.debug);
        EXPECT_EQ(form->Log().DebugAction->isChecked(), c.debug);
        transcoda::LogPlain("a line");
        EXPECT_EQ(form->Log().diagnosticLog->toPlainText().contains("a line"), c.debug);
        if (c.how != Switch::None && c.debug) {
            // Switched on, the log comes into sight at once.
            EXPECT_FALSE(form->ListHidden());
            EXPECT_EQ(form->height(), expandedHeight - MainWindow::kFrameHeight);
            Click(form->Queue().hideQueue);
        }
        Click(form->Queue().hideQueue);  // already collapsed: nothing changes
        EXPECT_TRUE(form->ListHidden());
        Click(form->Queue().showQueue);
        EXPECT_EQ(form->height(), expandedHeight - MainWindow::kFrameHeight);
        EXPECT_FALSE(form->Queue().convertQueue->isHidden());
        // The status column is in sight, at the designed size and larger.
        auto statusInSight = [&] {
            const QHeaderView* header = form->Queue().queueView->horizontalHeader();
            return header->sectionViewportPosition(3) + header->sectionSize(3) <= form->Queue().queueView->viewport()->width();
        };
        if (form->isVisible()) {
            EXPECT_TRUE(statusInSight());
        }
        if (c.grown) {
            // Made larger, the window gives the room to the list, and what lies below the
            // list moves down; it never becomes smaller than designed.
            EXPECT_EQ(form->minimumSize(), QSize(MainWindow::kClientWidth, form->height()));
            auto& list = form->Queue();
            const QRect table = list.queueView->geometry();
            const QPoint convert = list.convertQueue->pos(), hide = list.hideQueue->pos(), up = list.MoveUpButton->pos();
            const QPoint status = form->Progress().statusLabel->pos(), log = form->Log().diagnosticLog->pos();
            form->resize(form->width() + 120, form->height() + 80);
            QApplication::processEvents();
            EXPECT_EQ(list.queueView->geometry(), table.adjusted(0, 0, 120, 80));
            EXPECT_EQ(list.convertQueue->pos(), convert + QPoint(0, 80));
            EXPECT_EQ(list.hideQueue->pos(), hide + QPoint(120, 80));
            EXPECT_EQ(list.MoveUpButton->pos(), up + QPoint(120, 0));
            EXPECT_EQ(form->Progress().statusLabel->pos(), status + QPoint(120, 80));
            EXPECT_EQ(form->Progress().progressBar->width(), form->width());
            EXPECT_EQ(form->Log().diagnosticLog->pos(), log + QPoint(0, 80));
            EXPECT_EQ(form->panel->width(), form->width());
            EXPECT_GT(form->panel->height(), form->Progress().progressBar->geometry().bottom());
            EXPECT_TRUE(statusInSight());
            EXPECT_GE(form->testCommand->x(), form->width()) << "the developer buttons stay out of sight";
            form->resize(100, 100);
            QApplication::processEvents();
            EXPECT_EQ(form->size(), form->minimumSize());
            EXPECT_EQ(list.queueView->geometry(), table);
            Click(form->Queue().hideQueue);
            EXPECT_EQ(form->minimumSize(), form->maximumSize()) << "nothing to grow without the list";
            Click(form->Queue().showQueue);
        }
        Click(form->Queue().hideQueue);
        EXPECT_TRUE(form->ListHidden());
        EXPECT_EQ(form->height(), MainWindow::kCollapsedHeight - MainWindow::kFrameHeight);
        EXPECT_EQ(form->Progress().progressLabel->pos(), QPoint(5, 267 + MainWindow::kBelowInput));
        EXPECT_TRUE(form->Queue().convertQueue->isHidden());
        EXPECT_FALSE(form->Queue().addToQueue->isHidden());
        EXPECT_FALSE(form->Queue().showQueue->isHidden());
    }
}

TEST_F(ListTest, RemoveTakesTheSelectedRowOnly) {
    MakeForm();
    Queue(3);
    // The header and the empty last row cannot be removed.
    for (int row : {0, 4}) {
        form->Queue().Select(row);
        Click(form->Queue().removeFromQueue);
        EXPECT_EQ(form->Queue().Count(), 3);
    }
    form->Queue().Select(2);
    Click(form->Queue().removeFromQueue);
    ASSERT_EQ(form->Queue().Count(), 2);
    EXPECT_EQ(Cell(2, 1), Path("out/1.mp3"));
    EXPECT_EQ(Cell(2, 2), Path("out/3.mp3"));
    EXPECT_EQ(form->Queue().Selected(), 2);  // the row that moved up
    form->Queue().Select(2);
    Click(form->Queue().removeFromQueue);
    form->Queue().Select(1);
    Click(form->Queue().removeFromQueue);
    EXPECT_EQ(form->Queue().Count(), 0);
    EXPECT_EQ(form->Queue().Selected(), 1);  // the empty row
    EXPECT_EQ(Cell(2, 1), "");
}

TEST_F(ListTest, ClearEmptiesTheListAndIgnoresAnEmptyOne) {
    MakeForm();
    Click(form->Queue().clearQueue);
    EXPECT_EQ(form->Queue().Count(), 0);
    Queue(3);
    Click(form->Queue().clearQueue);
    EXPECT_EQ(form->Queue().Count(), 0);
    EXPECT_FALSE(form->Queue().OutputInList(QString::fromStdString(Path("out/1.mp3"))));
}

TEST_F(ListTest, HeaderRowSpeaksTheWindowsLanguage) {
    auto headers = [&] {
        std::vector<std::string> texts;
        for (int c = 0; c < 4; ++c)
            texts.push_back(form->Queue().queueView->model()->headerData(c, Qt::Horizontal).toString().toStdString());
        return texts;
    };
    const std::vector<std::string> french{" Format ciblé", " Fichier à convertir", " Fichier de sortie", " État"};
    const std::vector<std::string> english{" Format", " Input file", " Output file", " Status"};
    MakeForm();
    EXPECT_EQ(headers(), french);
    PickLanguage("EN");
    EXPECT_EQ(headers(), english);
    MakeForm("EN");
    EXPECT_EQ(headers(), english);
    PickLanguage("FR");
    EXPECT_EQ(headers(), french);
}

TEST_F(ListTest, DebugFillQueuesEveryFormatOnce) {
    MakeForm();
    WriteFile(Path("in/clip.avi"), "input");
    form->Files().inputPathEdit->setText(QString::fromStdString(Path("in/clip.avi")));
    Queue(2);
    Click(form->fillQueueForTest);
    ASSERT_EQ(form->Queue().Count(), 40);
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(Cell(0, i + 1), form->Presets().presetCombo->itemText(i).toStdString());
        EXPECT_NE(Cell(2, i + 1).find("format-rang-" + std::to_string(i)), std::string::npos) << Cell(2, i + 1);
    }
    EXPECT_EQ(Cell(2, 34), App().ProgramFolder + "MyFiles/tests/format-rang-33/");  // a DVD folder
    EXPECT_EQ(Cell(2, 35), App().ProgramFolder + "MyFiles/tests/format-rang-34.mp3");
}

struct ShortcutCase {
    const char* picture;  // nullptr: `typed` is typed in the preset box instead
    int format;
    const char* outputEnding;
    const char* typed = nullptr;
    Qt::Key ends = Qt::Key_Return;  // how the typing ends: Enter, or Tab to the next control
};

// A picture, or words typed in the preset box, choose a preset; a text that names none
// never becomes the chosen preset.
TEST_F(ListTest, ShortcutPicturesSelectTheirFormatAndRewriteTheOutput) {
    MakeForm();
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    const ShortcutCase cases[] = {
        {"fullHdShortcut", 1, "clip.avi"}, {"hdReadyShortcut", 0, "clip.avi"}, {"mpegShortcut", 3, "clip.mpeg"}, {"flashShortcut", 6, "clip.flv"},
        {"wmvShortcut", 12, "clip.wmv"}, {"mobileShortcut", 13, "clip.3gp"}, {"quickTimeShortcut", 19, "clip.mov"}, {"iphoneShortcut", 26, "clip.m4v"},
        {"playstationShortcut", 27, "clip.mp4"}, {"xboxShortcut", 31, "clip.mp4"}, {"dvdShortcut", 32, "clipmp4/"}, {"audioShortcut", 34, "clip.mp3"},
        {"divxShortcut", 1, "clip.avi"}, {"segmentShortcut", 39, "clip.mkv"}, {"lagShortcut", 38, "clip.mkv"},
        // Every typed word, in any letter case, anywhere in one label.
        {nullptr, 25, "clip.m4v", "ipod 640"},
        {nullptr, 35, "clip.mp3", "AUDIO mp3 256", Qt::Key_Tab},
        {nullptr, 33, "clipavi/", "dvd pal", Qt::Key_Tab},
        // Words found in several labels: they stay listed, nothing is chosen yet.
        {nullptr, 5, "clip.avi", "ipod"},
        // Found nowhere: the chosen preset's label comes back.
        {nullptr, 5, "clip.avi", "zune", Qt::Key_Tab},
        {nullptr, 5, "clip.avi", "mp3 wav"},
    };
    for (const ShortcutCase& c : cases) {
        SCOPED_TRACE(c.picture ? c.picture : c.typed);
        SetRequest(Path("in/clip.mkv"), Path("out/clip.avi"), 5);
        if (c.picture == nullptr) {
            QComboBox* box = form->Presets().presetCombo;
            // The list of the found presets took the activation when it showed.
            form->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
            box->setFocus();
            box->lineEdit()->selectAll();
            QTest::keyClicks(box, c.typed);
            // The list of the found presets, when shown, takes the keys first.
            QWidget* found = box->completer()->popup();
            QTest::keyClick(found->isVisible() ? found : static_cast<QWidget*>(box), c.ends);
            QApplication::processEvents();
            EXPECT_EQ(box->currentIndex(), c.format);
            EXPECT_EQ(form->Presets().Chosen(), box->itemText(c.format));
            // Enter on words of several labels keeps them listed, for the arrows to pick one.
            const bool listed = c.format == 5 && c.ends == Qt::Key_Return && QString(c.typed) == "ipod";
            EXPECT_EQ(box->completer()->popup()->isVisible(), listed);
            if (!listed) {
                EXPECT_EQ(box->currentText(), box->itemText(c.format)) << "a typed text never stays";
            }
            box->completer()->popup()->hide();
            box->setEditText(box->itemText(box->currentIndex()));
        } else {
            if (c.picture == std::string("dvdShortcut")) form->Files().outputPathEdit->setText(QString::fromStdString(Path("out/clip.mp4")));
            gui::PictureButton* picture = form->Presets().Shortcut(c.picture);
            ASSERT_NE(picture, nullptr);
            EXPECT_EQ(picture->size(), QSize(44, 39));
            EXPECT_EQ(picture->y(), 228 + MainWindow::kBelowInput);
            QTest::mousePress(picture, Qt::LeftButton);
            EXPECT_EQ(picture->ShownList(), "shortcuts_pressed");
            QTest::mouseRelease(picture, Qt::LeftButton);
            EXPECT_EQ(picture->ShownList(), "shortcuts_normal");
            EXPECT_EQ(form->Presets().presetCombo->currentIndex(), c.format) << c.picture;
        }
        const std::string out = form->Files().outputPathEdit->text().toStdString();
        EXPECT_TRUE(out.ends_with(c.outputEnding)) << out;
    }
    EXPECT_FALSE(form->Controller().Running());
}


// The outputs of the queued rows, by their number in out/<n>.mp3, top to bottom.
std::vector<std::string> Order(const MainWindow& form) {
    std::vector<std::string> order;
    for (int row = 1; row <= form.Queue().Count(); ++row) {
        const std::string out = form.Queue().Cell(2, row).toStdString();
        order.push_back(out.substr(out.rfind('/') + 1, out.find('.', out.rfind('/')) - out.rfind('/') - 1));
    }
    return order;
}

void SendMouse(QWidget* to, QEvent::Type type, QPoint at) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, to->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(to, &event);
}

// A row dragged by the mouse from one row's middle to a height in the grid's viewport.
void Drag(MainWindow& form, int from, int toY) {
    QWidget* viewport = form.Queue().queueView->viewport();
    const QPoint start = form.Queue().queueView->visualRect(form.Queue().queueView->model()->index(from - 1, 0)).center();
    SendMouse(viewport, QEvent::MouseButtonPress, start);
    const int step = toY > start.y() ? 5 : -5;
    for (int y = start.y() + step; step > 0 ? y < toY : y > toY; y += step)
        SendMouse(viewport, QEvent::MouseMove, QPoint(start.x(), y));
    SendMouse(viewport, QEvent::MouseMove, QPoint(start.x(), toY));
    SendMouse(viewport, QEvent::MouseButtonRelease, QPoint(start.x(), toY));
}

int RowMiddle(const MainWindow& form, int row) {
    return form.Queue().queueView->visualRect(form.Queue().queueView->model()->index(row - 1, 0)).center().y();
}

// Each gesture on a list of three rows, then the order it leaves, the row then selected,
// and what the preferences file keeps.
TEST_F(ListTest, RowsMoveByButtonsAndDraggingAndGoWithDelete) {
    struct Case {
        const char* name;
        std::function<void(MainWindow&)> gesture;
        std::vector<std::string> order;
        int selected;
    };
    auto select = [](int row, QPushButton* gui::QueuePanel::*button) {
        return [row, button](MainWindow& f) {
            f.Queue().Select(row);
            Click(f.Queue().*button);
        };
    };
    auto del = [](int row) {
        return [row](MainWindow& f) {
            f.Queue().Select(row);
            QTest::keyClick(f.Queue().queueView, Qt::Key_Delete);
        };
    };
    using F = MainWindow;
    using P = gui::QueuePanel;
    const Case cases[] = {
        {"up", select(3, &P::MoveUpButton), {"1", "3", "2"}, 2},
        {"down", select(1, &P::MoveDownButton), {"2", "1", "3"}, 2},
        {"up from the first", select(1, &P::MoveUpButton), {"1", "2", "3"}, 1},
        {"down from the last: never past the empty row", select(3, &P::MoveDownButton),
         {"1", "2", "3"}, 3},
        {"down from the empty row", select(4, &P::MoveDownButton), {"1", "2", "3"}, 4},
        {"drag the first onto the last", [](F& f) { Drag(f, 1, RowMiddle(f, 3)); }, {"2", "3", "1"}, 3},
        {"drag the last above the grid", [](F& f) { Drag(f, 3, -20); }, {"3", "1", "2"}, 1},
        {"drag the first below the empty row", [](F& f) { Drag(f, 1, RowMiddle(f, 4) + 40); }, {"2", "3", "1"}, 3},
        // Nothing moves; the grid selects as the mouse sweeps, as it always did.
        {"drag the empty row", [](F& f) { Drag(f, 4, RowMiddle(f, 1)); }, {"1", "2", "3"}, 1},
        {"Delete", del(2), {"1", "3"}, 2},
        {"Delete on the empty row", del(4), {"1", "2", "3"}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(PrefsPath(), "[Visual]\n");
        MakeForm();
        Queue(3);
        form->show();
        c.gesture(*form);
        EXPECT_EQ(Order(*form), c.order);
        EXPECT_EQ(form->Queue().Selected(), c.selected);
        // The row's status goes with it.
        for (int row = 1; row <= form->Queue().Count(); ++row)
            EXPECT_EQ(form->Queue().StatusText(row).toStdString(), "en attente");
        MakeForm();
        EXPECT_EQ(Order(*form), c.order) << "as kept in the preferences";
    }
}

// Several files dropped on the list, picked together in the input dialog or opened with
// the program join it with the selected preset, each output beside its input; those that
// may not join are named in one message.
TEST_F(ListTest, SeveralDroppedFilesJoinTheListBesideTheirInputs) {
    struct Case {
        const char* name;
        int format;
        std::vector<std::string> files;  // under in/
        std::vector<std::string> added;  // outputs, under in/
        std::vector<std::string> leftOut;
        const char* how = "drop";        // or "pick", "open"
    };
    const Case cases[] = {
        {"three good ones", 34, {"a.avi", "b.mp4", "c d.mkv"}, {"a.mp3", "b.mp3", "c d.mp3"}, {}},
        {"a duplicate, an unknown kind, a folder, an existing output", 34,
         {"a.avi", "a.mp4", "notes.txt", "folder", "old.avi"},
         {"a.mp3"},
         {"a.mp4", "notes.txt", "folder", "old.avi"}},
        {"a queued output", 34, {"queued.avi", "b.mp4"}, {"b.mp3"}, {"queued.avi"}},
        // A preset that keeps the extension: a free name beside the input, one per file.
        {"the extension kept", 37, {"a.avi", "a.avi"}, {"a (1).avi", "a (2).avi"}, {}},
        {"picked together", 34, {"a.webm", "b.flac"}, {"a.mp3", "b.mp3"}, {}, "pick"},
        {"picked together, one already queued", 34, {"queued.avi", "c d.mkv"}, {"c d.mp3"}, {"queued.avi"}, "pick"},
        {"opened with the program", 36, {"a.m4a", "b.opus", "c.oga"}, {"a.wav", "b.wav", "c.wav"}, {}, "open"},
        {"opened with the program, one missing", 34, {"a.avi", "gone.avi"}, {"a.mp3"}, {"gone.avi"}, "open"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(Path("in"));
        MakeForm();
        for (const std::string& f : c.files)
            if (f != "folder" && f != "gone.avi") WriteFile(Path("in/" + f), "input");
        std::filesystem::create_directories(Path("in/folder"));
        WriteFile(Path("in/old.mp3"), "an older file");
        SetRequest(Path("in/queued.avi"), Path("in/queued.mp3"), 34);
        const bool queue = std::string(c.name).find("queued") != std::string::npos;
        if (queue) form->onAddToQueueClicked();
        form->Presets().presetCombo->setCurrentIndex(c.format);
        dialogs.shown.clear();

        QList<QUrl> urls;
        QStringList paths;
        for (const std::string& f : c.files) {
            paths << QString::fromStdString(Path("in/" + f));
            urls << QUrl::fromLocalFile(paths.back());
        }
        const std::string how = c.how;
        if (how == "pick") {
            dialogs.picks = {paths.join('\n')};
            Click(form->openPicture);
        } else if (how == "open") {
            form->OpenFiles(paths);
        } else {
            QMimeData data;
            data.setUrls(urls);
            Click(form->Queue().showQueue);
            QWidget* viewport = form->Queue().queueView->viewport();
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(viewport, &enter);
            EXPECT_TRUE(enter.isAccepted());
            QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(viewport, &drop);
        }
        QApplication::processEvents();
        EXPECT_EQ(form->Files().Input().toStdString(), Path("in/queued.avi")) << "the input stays as it was";

        const int first = queue ? 2 : 1;
        ASSERT_EQ(form->Queue().Count(), first - 1 + static_cast<int>(c.added.size()));
        for (size_t i = 0; i < c.added.size(); ++i) {
            const int row = first + static_cast<int>(i);
            EXPECT_EQ(Cell(0, row), form->Presets().presetCombo->currentText().toStdString());
            EXPECT_EQ(Cell(2, row), Path("in/" + c.added[i]));
        }
        if (c.leftOut.empty()) {
            EXPECT_TRUE(dialogs.Of("message").empty());
            continue;
        }
        ASSERT_EQ(dialogs.Of("message").size(), 1u) << "one message for every file left out";
        const std::string message = dialogs.Of("message")[0].text.toStdString();
        for (const std::string& f : c.leftOut) EXPECT_NE(message.find(Path("in/" + f)), std::string::npos) << f;
        EXPECT_EQ(ReadFile(Path("in/old.mp3")), "an older file");
    }
}

// The list comes back at the next start with its statuses, in the window's language; a
// row that was converting when the program ended comes back stopped; the preferences of
// the section "Visual" stay as they were.
TEST_F(ListTest, TheListIsKeptWithItsStatusesBetweenRuns) {
    WriteFile(PrefsPath(), "[Visual]\n");
    MakeForm();
    WriteFile(Path("in/odd = name ;.avi"), "input");
    Queue(3);
    SetRequest(Path("in/odd = name ;.avi"), Path("out/ odd = name ;.mp3"), 34);
    form->onAddToQueueClicked();
    SetRequest(Path("in/clip.avi"), Path("out/5.mp3"), 34);
    form->onAddToQueueClicked();
    form->ListRunBegins({});
    form->ShowListItem(form->Queue().IdAt(1), {ItemStatus::State::Done});
    form->ShowListItem(form->Queue().IdAt(2),
                       {ItemStatus::State::Failed, -1, " avant de commencer : le fichier d'entrée ne contient pas de son"});
    form->ShowListItem(form->Queue().IdAt(3), {ItemStatus::State::Stopped});
    form->ShowListItem(form->Queue().IdAt(4), {ItemStatus::State::Converting, 42});
    EXPECT_EQ(form->Queue().StatusText(4).toStdString(), "conversion 42 %");
    const std::string visual = ReadFile(PrefsPath()).substr(0, ReadFile(PrefsPath()).find("[List]"));

    // The failure's reason was written in French; in English it reads as English.
    struct Case {
        const char* start;
        const char* language;  // picked in the Language menu
        std::vector<std::string> statuses;
    };
    const std::vector<std::string> french{"terminé", "échec avant de commencer : le fichier d'entrée ne contient pas de son",
                                          "arrêté", "arrêté", "en attente"};
    const std::vector<std::string> english{"done", "failed before it began: the input holds no sound", "stopped",
                                           "stopped", "waiting"};
    const Case cases[] = {{"FR", "FR", french}, {"EN", "EN", english}, {"FR", "EN", english}, {"EN", "FR", french}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.start) + ">" + c.language);
        MakeForm(c.start);
        PickLanguage(c.language);
        ASSERT_EQ(form->Queue().Count(), 5);
        EXPECT_EQ(Cell(1, 4), Path("in/odd = name ;.avi"));
        EXPECT_EQ(Cell(2, 4), Path("out/ odd = name ;.mp3"));
        EXPECT_EQ(Cell(0, 5), " Audio MP3 - MP3; Audio (128kbps)");
        for (int row = 1; row <= 5; ++row)
            EXPECT_EQ(form->Queue().StatusText(row).toStdString(), c.statuses[static_cast<size_t>(row - 1)]) << row;
        EXPECT_EQ(ReadFile(PrefsPath()).substr(0, visual.size()), visual);
    }
    // An emptied list stays empty.
    Click(form->Queue().clearQueue);
    MakeForm();
    EXPECT_EQ(form->Queue().Count(), 0);
}

// Two windows open on one list: the rows each adds stay, and a row one removes does not
// come back with the other's next write.
TEST_F(ListTest, TwoWindowsKeepEachOthersRows) {
    WriteFile(PrefsPath(), "[Visual]\n");
    WriteFile(Path("in/clip.avi"), "input");
    MakeForm();
    auto first = std::move(form);
    MakeForm();
    auto second = std::move(form);
    auto add = [&](decltype(first)& window, const std::string& name) {
        std::swap(form, window);
        SetRequest(Path("in/clip.avi"), Path("out/" + name + ".mp3"), 34);
        form->onAddToQueueClicked();
        std::swap(form, window);
    };
    add(first, "a1");
    add(first, "a2");
    add(second, "b1");
    add(second, "b2");
    first->Queue().Select(1);
    first->Queue().RemoveSelected();
    add(second, "b3");
    MakeForm();
    std::vector<std::string> rows;
    for (int row = 1; row <= form->Queue().Count(); ++row) rows.push_back(Cell(2, row));
    EXPECT_EQ(rows, (std::vector<std::string>{Path("out/a2.mp3"), Path("out/b1.mp3"), Path("out/b2.mp3"),
                                              Path("out/b3.mp3")}));
}

// Without a preferences file the list is not kept: a file made for it would give the
// next start the default paths and format instead of the empty fields.
TEST_F(ListTest, WithoutAPreferencesFileTheListIsNotKept) {
    MakeForm();
    Queue(1);
    EXPECT_FALSE(Exists(PrefsPath()));
    MakeForm();
    EXPECT_EQ(form->Queue().Count(), 0);
    EXPECT_EQ(form->Files().inputPathEdit->text(), "");
}

}  // namespace
}  // namespace transcoda::testing
