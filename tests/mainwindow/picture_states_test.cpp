// The picture buttons: which image of which list each mouse event shows, and what a
// release does.

#include <QEnterEvent>
#include <QPlainTextEdit>

#include "dialogs/about_dialog.h"
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
    // openPicture and savePicture opened their dialogs, aboutPicture the About window, openOutputFolder the folder.
    std::vector<std::string> kinds;
    for (const auto& s : dialogs.shown) kinds.push_back(s.kind);
    EXPECT_EQ(kinds, (std::vector<std::string>{"pick", "pick", "modal", "open"}));
    EXPECT_EQ(dialogs.Texts("modal")[0], "AboutDialog");
    EXPECT_EQ(dialogs.Texts("open")[0], "file:///films/out");
}

// About shows the program's own window: its version, its page in the window's language
// and the licences. Its link, Open and Open folder say so when the desktop has nothing to
// open them with.
TEST_F(WindowTest, AboutAndTheOpenButtonsSayWhenTheDesktopCannotOpen) {
    struct Case {
        const char* language;
        bool desktopOpens;
        const char* says;  // in the box of each failure
    } cases[] = {
        {"FR", true, ""},
        {"EN", true, ""},
        {"FR", false, "Le bureau n'a aucun"},
        {"EN", false, "The desktop has no"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.language) + (c.desktopOpens ? " opens" : " cannot open"));
        dialogs.shown.clear();
        dialogs.desktopOpens = c.desktopOpens;
        MakeForm(c.language);
        const QString page = QString("https://transcoda.example.org/%1/").arg(QString(c.language).toLower());
        QString heading, licences;
        dialogs.onModal = [&](QDialog* dialog) {
            auto* about = qobject_cast<AboutDialog*>(dialog);
            ASSERT_NE(about, nullptr);
            heading = about->heading->text();
            licences = about->licences->text();
            EXPECT_TRUE(about->webLink->text().contains(page));
            emit about->webLink->linkActivated(page);
        };
        Click(form->aboutPicture);
        EXPECT_TRUE(heading.contains("Version 1.0")) << heading.toStdString();
        for (const char* licence : {"Qt ", "LGPL version 3", "FFmpeg", "GPL version 2", "libopencore-amrnb",
                                    "Apache License 2.0", "dvdauthor", "mpv"})
            EXPECT_TRUE(licences.contains(licence)) << licence;
        form->Files().outputPathEdit->setText("/films/out/holiday.avi");
        Click(form->Files().openOutputFolder);
        form->ShowWrittenNotice("written", "/films/written");
        Click(form->Progress().OpenFolderButton);

        EXPECT_EQ(dialogs.Texts("open"), (std::vector<QString>{page, "file:///films/out", "file:///films/written"}));
        const std::vector<QString> told = dialogs.Texts("message");
        ASSERT_EQ(told.size(), c.desktopOpens ? 0u : 3u);
        if (c.desktopOpens) continue;
        for (const QString& text : told) EXPECT_TRUE(text.startsWith(QString::fromUtf8(c.says))) << text.toStdString();
        // Each names what it could not open, for the user to open it by other means.
        EXPECT_TRUE(told[0].contains(page));
        EXPECT_TRUE(told[1].contains("/films/out"));
        EXPECT_TRUE(told[2].contains("/films/written"));
    }
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
