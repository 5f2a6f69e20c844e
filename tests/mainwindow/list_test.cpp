// The conversion list, the two layouts and the shortcut pictures of the real window.

#include <QContextMenuEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTableWidget>
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
            form->Button7Click();
        }
    }
    std::string Cell(int column, int row) const { return form->ListCell(column, row).toStdString(); }
};

TEST_F(ListTest, FirstAdditionExpandsTheListAndFillsTheEmptyLastRow) {
    MakeForm();
    EXPECT_TRUE(form->ListHidden());
    EXPECT_EQ(form->ListRowCount(), 2);
    EXPECT_EQ(form->height(), TForm1::kCollapsedHeight - TForm1::kFrameHeight);
    EXPECT_TRUE(form->StringGrid1->isHidden());
    Queue(1);
    EXPECT_FALSE(form->ListHidden());
    EXPECT_EQ(form->height(), TForm1::kExpandedHeight - TForm1::kFrameHeight);
    EXPECT_FALSE(form->StringGrid1->isHidden());
    EXPECT_EQ(form->Label10->pos(), QPoint(5, 457));
    EXPECT_EQ(form->Label11->x(), 620);
    ASSERT_EQ(form->ListRowCount(), 3);
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
    };
    const Case cases[] = {
        {false, Switch::None, false, TForm1::kExpandedHeight},
        {true, Switch::None, true, TForm1::kExpandedDebugHeight},
        {false, Switch::Shortcut, true, TForm1::kExpandedDebugHeight},
        {false, Switch::Menu, true, TForm1::kExpandedDebugHeight},
        {true, Switch::Shortcut, false, TForm1::kExpandedHeight},
        {true, Switch::Menu, false, TForm1::kExpandedHeight},
        {false, Switch::Menu, true, TForm1::kExpandedDebugHeight, "EN"},
    };
    for (const Case c : cases) {
        SCOPED_TRACE(std::to_string(c.debugAtStart) + " " + std::to_string(static_cast<int>(c.how)));
        unsetenv("TRANSCODA_DEBUG");
        MakeForm(c.language, c.debugAtStart);
        if (c.how != Switch::None) {
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
            // A right click on the window opens its menu; its one entry is chosen.
            QString entry;
            QTimer::singleShot(0, [&] {
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                if (menu == nullptr || menu->actions().size() != 1) return;
                entry = menu->actions()[0]->text();
                menu->actions()[0]->trigger();
                menu->close();
            });
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(380, 120), form->mapToGlobal(QPoint(380, 120)));
            QApplication::sendEvent(form.get(), &event);
            EXPECT_EQ(entry, App().English() ? "Diagnostic log" : QString::fromUtf8("Journal de diagnostic"));
        }
        EXPECT_EQ(App().DebugMode, c.debug);
        EXPECT_EQ(form->windowTitle().endsWith(" - DEBUG"), c.debug);
        EXPECT_EQ(form->DebugAction->isChecked(), c.debug);
        transcoda::LogPlain("a line");
        EXPECT_EQ(form->Memo1->toPlainText().contains("a line"), c.debug);
        if (c.how != Switch::None && c.debug) {
            // Switched on, the log comes into sight at once.
            EXPECT_FALSE(form->ListHidden());
            EXPECT_EQ(form->height(), expandedHeight - TForm1::kFrameHeight);
            Click(form->Button11);
        }
        Click(form->Button11);  // already collapsed: nothing changes
        EXPECT_TRUE(form->ListHidden());
        Click(form->Button12);
        EXPECT_EQ(form->height(), expandedHeight - TForm1::kFrameHeight);
        EXPECT_FALSE(form->Button10->isHidden());
        Click(form->Button11);
        EXPECT_TRUE(form->ListHidden());
        EXPECT_EQ(form->height(), TForm1::kCollapsedHeight - TForm1::kFrameHeight);
        EXPECT_EQ(form->Label10->pos(), QPoint(5, 267));
        EXPECT_TRUE(form->Button10->isHidden());
        EXPECT_FALSE(form->Button7->isHidden());
        EXPECT_FALSE(form->Button12->isHidden());
    }
}

TEST_F(ListTest, RemoveTakesTheSelectedRowOnly) {
    MakeForm();
    Queue(3);
    // The header and the empty last row cannot be removed.
    for (int row : {0, 4}) {
        form->SelectListRow(row);
        Click(form->Button8);
        EXPECT_EQ(form->ListRowCount(), 5);
    }
    form->SelectListRow(2);
    Click(form->Button8);
    ASSERT_EQ(form->ListRowCount(), 4);
    EXPECT_EQ(Cell(2, 1), Path("out/1.mp3"));
    EXPECT_EQ(Cell(2, 2), Path("out/3.mp3"));
    EXPECT_EQ(form->SelectedListRow(), 2);  // the row that moved up
    form->SelectListRow(2);
    Click(form->Button8);
    form->SelectListRow(1);
    Click(form->Button8);
    EXPECT_EQ(form->ListRowCount(), 2);
    EXPECT_EQ(form->SelectedListRow(), 1);  // the empty row
    EXPECT_EQ(Cell(2, 1), "");
}

TEST_F(ListTest, ClearEmptiesTheListAndIgnoresAnEmptyOne) {
    MakeForm();
    Click(form->Button9);
    EXPECT_EQ(form->ListRowCount(), 2);
    Queue(3);
    Click(form->Button9);
    EXPECT_EQ(form->ListRowCount(), 2);
    EXPECT_FALSE(form->OutputInList(QString::fromStdString(Path("out/1.mp3"))));
}

TEST_F(ListTest, HeaderRowIsFrenchOnly) {
    MakeForm();
    EXPECT_EQ(Cell(0, 0), " Format ciblé");
    EXPECT_EQ(Cell(1, 0), " Fichier à convertir");
    EXPECT_EQ(Cell(2, 0), " Fichier de sortie");
    MakeForm("EN");
    for (int c = 0; c < 3; ++c) EXPECT_EQ(Cell(c, 0), "");
}

TEST_F(ListTest, DebugFillQueuesEveryFormatOnce) {
    MakeForm();
    WriteFile(Path("in/clip.avi"), "input");
    form->Edit1->setText(QString::fromStdString(Path("in/clip.avi")));
    Queue(2);
    Click(form->Button13);
    ASSERT_EQ(form->ListRowCount(), 42);
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(Cell(0, i + 1), form->ComboBox1->itemText(i).toStdString());
        EXPECT_NE(Cell(2, i + 1).find("format-rang-" + std::to_string(i)), std::string::npos) << Cell(2, i + 1);
    }
    EXPECT_EQ(Cell(2, 34), App().ProgramFolder + "MyFiles/tests/format-rang-33/");  // a DVD folder
    EXPECT_EQ(Cell(2, 35), App().ProgramFolder + "MyFiles/tests/format-rang-34.mp3");
}

struct ShortcutCase {
    int image;
    int format;
    const char* outputEnding;
};

TEST_F(ListTest, ShortcutPicturesSelectTheirFormatAndRewriteTheOutput) {
    MakeForm();
    const ShortcutCase cases[] = {
        {22, 1, "clip.avi"}, {21, 0, "clip.avi"}, {20, 3, "clip.mpeg"}, {19, 6, "clip.flv"},
        {18, 12, "clip.wmv"}, {17, 13, "clip.3gp"}, {16, 19, "clip.mov"}, {14, 26, "clip.m4v"},
        {13, 27, "clip.mp4"}, {12, 31, "clip.mp4"}, {11, 32, "clipmp4/"}, {10, 34, "clip.mp3"},
        {9, 1, "clip.avi"}, {15, 39, "clip.mkv"}, {6, 38, "clip.mkv"},
    };
    for (const ShortcutCase& c : cases) {
        SetRequest(Path("in/clip.mkv"), Path("out/clip.avi"), 5);
        if (c.image == 11) form->Edit2->setText(QString::fromStdString(Path("out/clip.mp4")));
        gui::PictureButton* picture = form->Shortcut(c.image);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->size(), QSize(44, 39));
        EXPECT_EQ(picture->y(), 228);
        QTest::mousePress(picture, Qt::LeftButton);
        EXPECT_EQ(picture->ShownList(), "FormatsBouttonsDown");
        QTest::mouseRelease(picture, Qt::LeftButton);
        EXPECT_EQ(picture->ShownList(), "FormatsBouttonsNormal");
        EXPECT_EQ(form->ComboBox1->currentIndex(), c.format) << "Image" << c.image;
        const std::string out = form->Edit2->text().toStdString();
        EXPECT_TRUE(out.ends_with(c.outputEnding)) << "Image" << c.image << ": " << out;
    }
    EXPECT_FALSE(App().ConversionRunning.load());
}

}  // namespace
}  // namespace transcoda::testing
