// The window from the keyboard and the pointer: every picture takes the focus and shows
// it, Enter and Space press it, Alt+letter presses the five big ones in both languages,
// a picture released away from itself does nothing, and Tab follows the layout.

#include <QPlainTextEdit>
#include <QTableView>

#include "gui_test_support.h"
#include "mainwindow/accelerator_mark.h"

namespace transcoda::testing {
namespace {

class KeyboardTest : public WindowTest {
protected:
    // The window shown and active, as the desktop gives it the keyboard.
    MainWindow& ShownForm(const char* language = nullptr, bool debug = false) {
        MakeForm(language, debug);
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return *form;
    }

    // What a picture did when pressed: the box or window it opened, the format it chose,
    // or the conversion it asked for (its first log line).
    std::string Effect() const {
        if (!form->isVisible()) return "closed";
        // (a conversion asked for without an input goes on to the input dialog)
        if (form->Log().diagnosticLog->toPlainText().contains(QString::fromUtf8("a demandé une conversion"))) return "convert";
        if (!dialogs.shown.empty()) return dialogs.shown.back().kind + ":" + dialogs.shown.back().caption.toStdString();
        return "format " + std::to_string(form->Presets().presetCombo->currentIndex());
    }
};

// Images and pictures of the window by name.
gui::PictureButton* Picture(MainWindow& f, const std::string& name) {
    return f.findChild<gui::PictureButton*>(QString::fromStdString(name));
}

TEST_F(KeyboardTest, PicturesTakeTheFocusShowItAndEnterOrSpacePressesThem) {
    struct Case {
        const char* picture;
        Qt::Key key;
        const char* effect;
    };
    const Case cases[] = {
        {"openPicture", Qt::Key_Return, "pick:Choisir le fichier d'entrée"},
        {"savePicture", Qt::Key_Space, "pick:Choisir le fichier de sortie"},
        {"convertStopPicture", Qt::Key_Enter, "convert"},
        {"aboutPicture", Qt::Key_Space, "modal:"},
        {"dvdShortcut", Qt::Key_Return, "format 32"},
        {"lagShortcut", Qt::Key_Space, "format 38"},
    };
    for (const Case& c : cases) {
        ShownForm(nullptr, true);
        gui::PictureButton* picture = Picture(*form, c.picture);
        ASSERT_NE(picture, nullptr) << c.picture;
        // The window gives the first picture the focus when shown: taken away first.
        form->Files().outputPathEdit->setFocus(Qt::OtherFocusReason);
        const QImage unfocused = picture->grab().toImage();
        picture->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(picture->hasFocus()) << c.picture;
        EXPECT_NE(picture->grab().toImage(), unfocused) << c.picture << ": no focus frame";
        if (c.key == Qt::Key_Space) {
            // Down while the key is held, acting only when it comes up.
            QTest::keyPress(picture, c.key);
            const bool shortcut = picture->ShownList().startsWith("shortcuts");
            EXPECT_TRUE(shortcut ? picture->ShownList() == "shortcuts_pressed" : picture->ShownIndex() == 1)
                << c.picture << " " << picture->ShownList().toStdString() << " " << picture->ShownIndex();
            EXPECT_TRUE(dialogs.shown.empty() && form->Presets().presetCombo->currentIndex() == -1) << c.picture;
            QTest::keyRelease(picture, c.key);
        } else {
            QTest::keyClick(picture, c.key);
        }
        EXPECT_EQ(Effect(), c.effect) << c.picture;
        form.reset();
        dialogs.shown.clear();
    }
}

TEST_F(KeyboardTest, AltLetterPressesTheBigPicturesAndItsLetterIsMarked) {
    struct Case {
        const char* language;
        Qt::Key key;
        const char* picture;
        const char* caption;
        const char* effect;
        const char* start = nullptr;  // the language the window starts in, when the menu then picks another
    };
    const Case cases[] = {
        {"FR", Qt::Key_F, "openPicture", "openCaption", "pick:Choisir le fichier d'entrée"},
        {"FR", Qt::Key_S, "savePicture", "saveCaption", "pick:Choisir le fichier de sortie"},
        {"FR", Qt::Key_C, "convertStopPicture", "convertCaption", "convert"},
        {"FR", Qt::Key_P, "aboutPicture", "aboutCaption", "modal:"},
        {"FR", Qt::Key_Q, "closePicture", "closeCaption", "closed"},
        {"EN", Qt::Key_F, "openPicture", "openCaption", "pick:Select the input file"},
        {"EN", Qt::Key_O, "savePicture", "saveCaption", "pick:Select the output file"},
        {"EN", Qt::Key_C, "convertStopPicture", "convertCaption", "convert"},
        {"EN", Qt::Key_A, "aboutPicture", "aboutCaption", "modal:"},
        {"EN", Qt::Key_L, "closePicture", "closeCaption", "closed"},
        {"EN", Qt::Key_O, "savePicture", "saveCaption", "pick:Select the output file", "FR"},
        {"FR", Qt::Key_P, "aboutPicture", "aboutCaption", "modal:", "EN"},
        {"FR", Qt::Key_S, "savePicture", "saveCaption", "pick:Choisir le fichier de sortie", "EN"},
    };
    for (const Case& c : cases) {
        ShownForm(c.start ? c.start : c.language, true);
        if (c.start) PickLanguage(c.language);
        // The letter is the one marked under the caption.
        const auto* caption = form->findChild<QLabel*>(c.caption);
        const auto* mark = caption->findChild<gui::AcceleratorMark*>();
        ASSERT_NE(mark, nullptr) << c.caption;
        ASSERT_GE(mark->MarkedIndex(), 0) << c.caption;
        EXPECT_EQ(caption->text().at(mark->MarkedIndex()).toUpper(), QChar('A' + (c.key - Qt::Key_A)))
            << c.language << " " << c.caption;
        // Pressed from a field that has the keyboard.
        form->Files().outputPathEdit->setFocus();
        QTest::keyClick(form->Files().outputPathEdit, c.key, Qt::AltModifier);
        EXPECT_EQ(Effect(), c.effect) << c.language << " Alt+" << char('A' + (c.key - Qt::Key_A));
        form.reset();
        dialogs.shown.clear();
    }
}

TEST_F(KeyboardTest, APictureReleasedAwayFromItselfOnlyLooksNormalAgain) {
    struct Case {
        const char* picture;
        bool backOver;  // the pointer comes back over the picture before the release
        const char* effect;
    };
    const Case cases[] = {
        {"openPicture", false, "format -1"},
        {"convertStopPicture", false, "format -1"},
        {"dvdShortcut", false, "format -1"},
        {"dvdShortcut", true, "format 32"},
        {"savePicture", true, "pick:Choisir le fichier de sortie"},
    };
    for (const Case& c : cases) {
        ShownForm();
        gui::PictureButton* picture = Picture(*form, c.picture);
        const QPoint inside(10, 10);
        const QPoint away(picture->width() + 30, picture->height() / 2);
        QTest::mousePress(picture, Qt::LeftButton, {}, inside);
        EXPECT_EQ(picture->ShownIndex(), picture->ShownList().startsWith("shortcuts") ? 11 : 1);
        QTest::mouseMove(picture, away);
        if (c.backOver) QTest::mouseMove(picture, inside);
        QTest::mouseRelease(picture, Qt::LeftButton, {}, c.backOver ? inside : away);
        EXPECT_EQ(Effect(), c.effect) << c.picture;
        if (!c.backOver) {
            // The normal look of its list, not the pressed one.
            EXPECT_TRUE(picture->ShownList() == "shortcuts_normal" || picture->ShownIndex() == 0)
                << c.picture << " " << picture->ShownList().toStdString() << " " << picture->ShownIndex();
            EXPECT_FALSE(form->Controller().Running());
        }
        form.reset();
        dialogs.shown.clear();
    }
}

TEST_F(KeyboardTest, TabFollowsTheLayoutAndReachesEveryVisibleControlOnce) {
    struct Case {
        bool listShown;
        bool debug;
        std::vector<std::string> order;  // in this order, others may stand between
    };
    const std::vector<std::string> top = {"openPicture", "savePicture", "convertStopPicture", "addToQueue", "showQueue", "aboutPicture",
                                          "closePicture", "inputPathEdit", "chooseInput", "outputPathEdit", "chooseOutput", "openOutputFolder",
                                          "presetCombo", "fullHdShortcut", "hdReadyShortcut", "mpegShortcut", "flashShortcut", "wmvShortcut",
                                          "mobileShortcut", "quickTimeShortcut", "iphoneShortcut", "playstationShortcut", "xboxShortcut", "dvdShortcut",
                                          "audioShortcut", "divxShortcut", "segmentShortcut", "lagShortcut"};
    std::vector<std::string> list = top;
    for (const char* name : {"queueView", "removeFromQueue", "clearQueue", "convertQueue", "hideQueue"}) list.push_back(name);
    std::vector<std::string> log = list;
    for (const char* name : {"copyLog", "diagnosticLog"}) log.push_back(name);
    const Case cases[] = {{false, false, top}, {true, false, list}, {true, true, log}};
    for (const Case& c : cases) {
        ShownForm(nullptr, c.debug);
        if (c.listShown) Click(form->Queue().showQueue);
        form->openPicture->setFocus(Qt::TabFocusReason);
        std::vector<std::string> reached;
        for (int i = 0; i < 100; ++i) {
            QWidget* now = QApplication::focusWidget();
            ASSERT_NE(now, nullptr);
            if (!reached.empty() && now == form->openPicture) break;
            reached.push_back(now->objectName().toStdString());
            EXPECT_TRUE(now->isVisible() && form->rect().contains(QRect(now->mapTo(form.get(), QPoint()), now->size())))
                << reached.back() << " is not in sight";
            QTest::keyClick(now, Qt::Key_Tab);
        }
        std::vector<std::string> inOrder;
        for (const std::string& name : reached)
            if (std::find(c.order.begin(), c.order.end(), name) != c.order.end()) inOrder.push_back(name);
        EXPECT_EQ(inOrder, c.order) << "list " << c.listShown << " debug " << c.debug;
        std::vector<std::string> sorted = reached;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << "a control reached twice";
        form.reset();
    }
}

}  // namespace
}  // namespace transcoda::testing
