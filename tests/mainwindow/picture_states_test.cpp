// The picture buttons: which image of which list each mouse event shows, and what a
// release does.

#include <QEnterEvent>
#include <QPlainTextEdit>

#include "gui_test_support.h"
#include "mainwindow/qt_window_port.h"

namespace transcoda::testing {
namespace {

void Enter(QWidget* w) {
    QEnterEvent event(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(w, &event);
}
void Leave(QWidget* w) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(w, &event);
}

TEST_F(WindowTest, ConvertPictureFollowsTheMouseInBothStates) {
    struct Step {
        bool running;
        const char* event;
        const char* list;
        int index;
        const char* caption;
    };
    const Step steps[] = {
        {false, "enter", "ConvertList1", 2, "Convertir un fichier"},
        {false, "press", "ConvertList1", 1, "Convertir un fichier"},
        {false, "leave", "ConvertList1", 0, "Convertir un fichier"},
        {true, "enter", "ConvertStopList1", 2, "           Stop"},
        {true, "press", "ConvertStopList1", 1, "           Stop"},
        {true, "leave", "ConvertStopList1", 0, "           Stop"},
    };
    MakeForm(nullptr, true);
    // A list conversion whose worker does nothing until the test ends it.
    std::function<void()> endWorker;
    form->Controller().SetLauncher([&](std::shared_ptr<ConversionWorker>, std::function<void()> onEnd) { endWorker = std::move(onEnd); });
    for (const Step& s : steps) {
        if (s.running && !endWorker) Click(form->Button10);
        const std::string event = s.event;
        if (event == "enter") Enter(form->Image4);
        if (event == "leave") Leave(form->Image4);
        if (event == "press") QTest::mousePress(form->Image4, Qt::LeftButton);
        EXPECT_EQ(form->Image4->ShownList(), s.list) << s.running << " " << s.event;
        EXPECT_EQ(form->Image4->ShownIndex(), s.index) << s.running << " " << s.event;
        EXPECT_EQ(form->Label6->text(), s.caption) << s.running << " " << s.event;
        EXPECT_FALSE(form->Image4->pixmap().isNull());
    }
    // A press while running only notes that a conversion is already under way.
    EXPECT_TRUE(form->Memo1->toPlainText().endsWith(
        QString::fromUtf8(" -- Le logiciel est déjà en cours de convertir quelque chose.")));
    Click(form->Button10);
    endWorker();
    EXPECT_TRUE(WaitForIdle(5000));
}

TEST_F(WindowTest, OtherPicturesShowHoverPressAndNormalAndActOnRelease) {
    MakeForm();
    form->Edit2->setText("/films/out/DVD/");
    struct Case {
        gui::PictureButton* picture;
        const char* list;
    };
    for (const Case& c : {Case{form->Image2, "OpenList1"}, Case{form->Image3, "SaveList1"},
                          Case{form->Image5, "AboutList1"}}) {
        Enter(c.picture);
        EXPECT_EQ(c.picture->ShownIndex(), 2);
        QTest::mousePress(c.picture, Qt::LeftButton);
        EXPECT_EQ(c.picture->ShownIndex(), 1);
        QTest::mouseRelease(c.picture, Qt::LeftButton);
        EXPECT_EQ(c.picture->ShownList(), c.list);
        EXPECT_EQ(c.picture->ShownIndex(), 0);
        Leave(c.picture);
        EXPECT_EQ(c.picture->ShownIndex(), 0);
    }
    Click(form->Button6);
    // Image2 and Image3 opened their dialogs, Image5 the product page, Button6 the folder.
    std::vector<std::string> kinds;
    for (const auto& s : dialogs.shown) kinds.push_back(s.kind);
    EXPECT_EQ(kinds, (std::vector<std::string>{"pick", "pick", "open", "open"}));
    EXPECT_EQ(dialogs.Texts("open")[0], "https://transcoda.example.org/fr/");
    EXPECT_EQ(dialogs.Texts("open")[1], "file:///films/out");
}

TEST_F(WindowTest, AboutOpensTheEnglishPageInEnglish) {
    MakeForm("EN");
    Click(form->Image5);
    EXPECT_EQ(dialogs.Texts("open"), std::vector<QString>{"https://transcoda.example.org/en/"});
}

TEST_F(WindowTest, OutputFolderIsTheOneHoldingTheOutputFile) {
    MakeForm();
    form->Edit2->setText("/films/out/holiday.avi");
    Click(form->Button6);
    EXPECT_EQ(dialogs.Texts("open"), std::vector<QString>{"file:///films/out"});
}

TEST_F(WindowTest, ClosePictureClosesTheWindowAndReleasesTheWorker) {
    MakeForm();
    form->show();
    Click(form->Image7);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(gui::QtWindowPort::Instance().Closing());
}

}  // namespace
}  // namespace transcoda::testing
