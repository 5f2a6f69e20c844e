// How the window looks on the desktop: Qt's own texts in the window's language, every
// layout on a 1366x768 screen, and pictures drawn for screens that scale by two. The
// last two run in ctest entries of their own, on such a screen; elsewhere they skip.

#include <QLibraryInfo>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTranslator>

#include "gui_test_support.h"
#include "mainwindow/qt_texts.h"
#include "support/clipped_texts.h"

namespace transcoda::testing {
namespace {

TEST(QtTexts, FollowTheWindowLanguage) {
    struct Case {
        const char* language;
        const char* context;
        const char* text;
        const char* shown;
    };
    const Case cases[] = {
        {"FR", "QPlatformTheme", "Cancel", "Annuler"},
        {"FR", "QFileDialog", "Look in:", "Voir dans :"},
        {"EN", "QPlatformTheme", "Cancel", "Cancel"},
    };
    for (const Case& c : cases) {
        // Each row takes the place of the catalogue before it, as a change of language does.
        EXPECT_EQ(gui::InstallQtTexts(c.language), std::string(c.language) == "FR") << c.language;
        EXPECT_EQ(QCoreApplication::translate(c.context, c.text).toStdString(), c.shown) << c.language << " " << c.text;
    }
}

class LooksTest : public WindowTest {};

TEST_F(LooksTest, EveryLayoutFitsTheScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    if (screen.width() != 1366 || screen.height() != 768) GTEST_SKIP() << "runs on a 1366x768 screen";
    struct Case {
        const char* language;
        bool debug;
        bool list;
    };
    const Case cases[] = {
        {"FR", false, false}, {"FR", false, true}, {"FR", true, false},
        {"FR", true, true},   {"EN", false, true}, {"EN", true, true},
    };
    for (const Case& c : cases) {
        unsetenv("TRANSCODA_DEBUG");  // left set by the previous row
        MakeForm(c.language, c.debug);
        form->show();
        if (c.list) Click(form->Queue().showQueue);
        QApplication::processEvents();
        const std::string what = std::string(c.language) + (c.debug ? " debug" : "") + (c.list ? " list" : "");
        // Frame included, as the desktop draws it around the window.
        EXPECT_TRUE(screen.contains(form->frameGeometry())) << what;
        EXPECT_LE(form->height() + MainWindow::kFrameHeight, screen.height()) << what;
        if (c.debug && c.list) {
            // The log is shortened, still inside the window, with room for a few lines.
            EXPECT_TRUE(form->Log().diagnosticLog->isVisible()) << what;
            EXPECT_LE(form->Log().diagnosticLog->geometry().bottom(), form->height()) << what;
            EXPECT_GE(form->Log().diagnosticLog->height(), 60) << what;
        } else {
            EXPECT_FALSE(form->Log().diagnosticLog->isVisible()) << what;
        }
        form.reset();
    }
}

TEST_F(LooksTest, NoTextIsCutInEitherLanguage) {
    for (const char* language : {"FR", "EN"}) {
        MakeForm(language, true);
        form->show();
        Click(form->Queue().showQueue);  // the list and the log in sight
        EXPECT_EQ(ClippedTexts(form.get()), std::vector<std::string>{}) << language;
        form.reset();
    }
}

TEST_F(LooksTest, PicturesAreDrawnForTheScreenAtScale2) {
    if (qGuiApp->devicePixelRatio() < 1.5) GTEST_SKIP() << "runs at QT_SCALE_FACTOR=2";
    MakeForm();
    struct Case {
        gui::PictureButton* picture;
        QSize size;
    };
    for (const Case& c : {Case{form->convertStopPicture, {96, 96}}, Case{form->openPicture, {96, 96}}, Case{form->Presets().Shortcut("dvdShortcut"), {44, 39}},
                          Case{form->Presets().Shortcut("lagShortcut"), {44, 39}}}) {
        const QPixmap shown = c.picture->pixmap();
        EXPECT_EQ(shown.devicePixelRatio(), 2.0) << c.picture->objectName().toStdString();
        EXPECT_EQ(shown.size(), c.size * 2) << c.picture->objectName().toStdString();
        EXPECT_EQ(shown.deviceIndependentSize().toSize(), c.size) << c.picture->objectName().toStdString();
    }
}

}  // namespace
}  // namespace transcoda::testing
