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
        {false, "enter", "convert", 2, "Convertir un fichier"},
        {false, "press", "convert", 1, "Convertir un fichier"},
        {false, "leave", "convert", 0, "Convertir un fichier"},
        {true, "enter", "stop", 2, "           Stop"},
        {true, "press", "stop", 1, "           Stop"},
        {true, "leave", "stop", 0, "           Stop"},
    };
    MakeForm(nullptr, true);
    // A list conversion whose worker does nothing until the test ends it.
    std::function<void()> endWorker;
    form->Controller().SetLauncher([&](std::shared_ptr<ConversionWorker>, std::function<void()> onEnd) { endWorker = std::move(onEnd); });
    for (const Step& s : steps) {
        if (s.running && !endWorker) Click(form->Queue().convertQueue);
        const std::string event = s.event;
        if (event == "enter") Enter(form->convertStopPicture);
        if (event == "leave") Leave(form->convertStopPicture);
        if (event == "press") QTest::mousePress(form->convertStopPicture, Qt::LeftButton);
        EXPECT_EQ(form->convertStopPicture->ShownList(), s.list) << s.running << " " << s.event;
        EXPECT_EQ(form->convertStopPicture->ShownIndex(), s.index) << s.running << " " << s.event;
        EXPECT_EQ(form->convertCaption->text(), s.caption) << s.running << " " << s.event;
        EXPECT_FALSE(form->convertStopPicture->pixmap().isNull());
    }
    // A press while running only notes that a conversion is already under way.
    EXPECT_TRUE(form->Log().diagnosticLog->toPlainText().endsWith(
        QString::fromUtf8(" -- Le logiciel est déjà en cours de convertir quelque chose.")));
    Click(form->Queue().convertQueue);
    endWorker();
    EXPECT_TRUE(WaitForIdle(5000));
}

TEST_F(WindowTest, OtherPicturesShowHoverPressAndNormalAndActOnRelease) {
    MakeForm();
    form->Files().outputPathEdit->setText("/films/out/DVD/");
    struct Case {
        gui::PictureButton* picture;
        const char* list;
    };
    for (const Case& c : {Case{form->openPicture, "open"}, Case{form->savePicture, "save"},
                          Case{form->aboutPicture, "about"}}) {
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
    Click(form->Files().openOutputFolder);
    // openPicture and savePicture opened their dialogs, aboutPicture the product page, openOutputFolder the folder.
    std::vector<std::string> kinds;
    for (const auto& s : dialogs.shown) kinds.push_back(s.kind);
    EXPECT_EQ(kinds, (std::vector<std::string>{"pick", "pick", "open", "open"}));
    EXPECT_EQ(dialogs.Texts("open")[0], "https://transcoda.example.org/fr/");
    EXPECT_EQ(dialogs.Texts("open")[1], "file:///films/out");
}

TEST_F(WindowTest, AboutOpensTheEnglishPageInEnglish) {
    MakeForm("EN");
    Click(form->aboutPicture);
    EXPECT_EQ(dialogs.Texts("open"), std::vector<QString>{"https://transcoda.example.org/en/"});
}

TEST_F(WindowTest, OutputFolderIsTheOneHoldingTheOutputFile) {
    MakeForm();
    form->Files().outputPathEdit->setText("/films/out/holiday.avi");
    Click(form->Files().openOutputFolder);
    EXPECT_EQ(dialogs.Texts("open"), std::vector<QString>{"file:///films/out"});
}

TEST_F(WindowTest, ClosePictureClosesTheWindowAndReleasesTheWorker) {
    MakeForm();
    form->show();
    Click(form->closePicture);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(gui::QtWindowPort::Instance().Closing());
}

}  // namespace
}  // namespace transcoda::testing
