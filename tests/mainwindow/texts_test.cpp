// The texts of both languages, the file-dialog filters, the caption and the log.

#include <QClipboard>
#include <QPlainTextEdit>
#include <QRegularExpression>

#include "exec/log.h"
#include "gui_test_support.h"
#include "mainwindow/failure_box.h"
#include "mainwindow/log_stamp.h"
#include "mainwindow/texts.h"

namespace transcoda::testing {
namespace {

struct Caption {
    const char* component;
    const char* french;
    const char* english;
};

const Caption kCaptions[] = {
    {"openCaption", "Fichier à convertir", "File to convert"},
    {"saveCaption", "Fichier de sortie", "Output File"},
    {"convertCaption", "Convertir un fichier", "Convert the file"},
    {"aboutCaption", "A propos", "About"},
    {"closeCaption", "Quitter", "Close"},
    {"inputLabel", "Fichier à convertir :", "File to convert"},
    {"outputLabel", "Fichier de sortie :", "Output File"},
    {"presetLabel", "Format ciblé :", "Format"},
    {"shortcutsLabel", "Quelques raccourcis", "Some shortcuts"},
    {"queueLabel", "Liste de fichiers à convertir :", "List of files to convert"},
    {"chooseInput", "Choisir la source...", "Select Input"},
    {"chooseOutput", "Explorer...", "Explore..."},
    {"openOutputFolder", "Ouvrir", "Open"},
    {"addToQueue", "Ajouter à la liste", "Add to list"},
    {"showQueue", "Afficher la liste", "Show list"},
    {"removeFromQueue", "Supprimer de la liste", "Remove from list"},
    {"clearQueue", "Vider la liste", "Clear list"},
    {"hideQueue", "Masquer la liste", "Hide list"},
    {"convertQueue", "Convertir la liste", "Convert the list"},
    {"statusLabel", "Prêt", "Ready"},
    {"logLabel", "Debug : (jounal des commandes en ligne)", "Debug : (jounal des commandes en ligne)"},
    {"copyLog", "Séléctionner et Copier le log pour les dépannages", "Séléctionner et Copier le log pour les dépannages"},
    {"progressLabel", "", ""},
};

QString TextOf(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
    if (auto* button = qobject_cast<QPushButton*>(w)) return button->text();
    return "?";
}

// The languages a window starts in and, when they differ, the one the user then picks in
// its Language menu.
const std::pair<const char*, const char*> kLanguageRuns[] = {{"FR", "FR"}, {"EN", "EN"}, {"FR", "EN"}, {"EN", "FR"}};

TEST_F(WindowTest, CaptionsInBothLanguages) {
    for (const auto& [start, language] : kLanguageRuns) {
        MakeForm(start);
        PickLanguage(language);
        const bool en = std::string(language) == "EN";
        for (const Caption& c : kCaptions) {
            QWidget* w = form->findChild<QWidget*>(c.component);
            ASSERT_NE(w, nullptr) << c.component;
            EXPECT_EQ(TextOf(w), QString::fromUtf8(en ? c.english : c.french))
                << start << ">" << language << " " << c.component;
        }
    }
}

TEST_F(WindowTest, HintsInBothLanguages) {
    struct Hint {
        const char* component;
        const char* french;
        const char* english;
    };
    const Hint hints[] = {
        {"chooseInput", "Cliquez ici pour choisir le fichier à convertir", "Click here to select the file to be converted"},
        {"hideQueue", "Masquez l'affichage de la liste", "Hide the current conversion list"},
        {"segmentShortcut", "Extraction de partie video/audio", "Click here to select the format for video/audio extraction"},
        {"lagShortcut", "Correction et Synchronisation vidéo/audio", "Click here to select the format for video/audio synchronization"},
        {"wmvShortcut", "WMV (Windows Media Video)", "WMV (Windows Media Video)"},
        {"divxShortcut", "", ""},
    };
    for (const auto& [start, language] : kLanguageRuns) {
        MakeForm(start);
        PickLanguage(language);
        for (const Hint& h : hints) {
            QWidget* w = form->findChild<QWidget*>(h.component);
            ASSERT_NE(w, nullptr) << h.component;
            EXPECT_EQ(w->toolTip(), QString::fromUtf8(std::string(language) == "EN" ? h.english : h.french))
                << start << ">" << language << " " << h.component;
        }
    }
}

TEST_F(WindowTest, FileDialogsUseTheExactTitlesAndFilters) {
    const std::string families =
        "|HDV, AVCHD (*.m2ts,*.m2t,*.tod,*.mts)|*.m2ts;*.m2t;*.tod;*.mts|Flash Video (*.flv, *.f4v, *.f4p)|*.flv;*.f4v;*.f4p";
    for (const auto& [start, language] : kLanguageRuns) {
        MakeForm(start);
        PickLanguage(language);
        const bool en = std::string(language) == "EN";
        const std::string input = gui::InputFilter().toStdString();
        EXPECT_TRUE(input.starts_with(std::string(en ? "All video formats" : "Toutes les vidéos") +
                                      "|*.mts;*.m2t;*.tod;*.mts;*.flv;"))
            << input;
        EXPECT_NE(input.find(families), std::string::npos);
        EXPECT_NE(input.find("|FLIC (*.flic, *.fli)|*.flic;*.fli|WebM (*.webm)|*.webm|"), std::string::npos);
        EXPECT_TRUE(input.ends_with(en ? "|All files|*" : "|Tous les fichiers|*")) << input;
        EXPECT_EQ(std::count(input.begin(), input.end(), '|'), 2 * 22 - 1);
        EXPECT_EQ(gui::OutputFilter().toStdString(), en ? "All video formats|*.*" : "Tous les formats vidéo|*.*");

        dialogs.shown.clear();
        Click(form->Files().chooseInput);
        Click(form->Files().chooseOutput);
        const auto picks = dialogs.Of("pick");
        ASSERT_EQ(picks.size(), 2u);
        EXPECT_EQ(picks[0].caption, QString::fromUtf8(en ? "Select the input file" : "Choisir le fichier d'entrée"));
        EXPECT_EQ(picks[1].caption, QString::fromUtf8(en ? "Select the output file" : "Choisir le fichier de sortie"));
        // The Qt dialog gets one entry per family, its patterns in the form Qt reads.
        const QStringList entries = picks[0].text.split(";;");
        ASSERT_EQ(entries.size(), 22);
        EXPECT_EQ(entries[1], "HDV, AVCHD (*.m2ts,*.m2t,*.tod,*.mts) (*.m2ts *.m2t *.tod *.mts)");
        EXPECT_EQ(entries[21], en ? "All files (*)" : "Tous les fichiers (*)");
        EXPECT_EQ(picks[1].text, en ? "All video formats (*.*)" : QString::fromUtf8("Tous les formats vidéo (*.*)"));
    }
}

TEST_F(WindowTest, CaptionMarksDebugMode) {
    MakeForm();
    EXPECT_TRUE(form->windowTitle().startsWith("Transcoda Media Converter 1.0"));
    EXPECT_FALSE(form->windowTitle().endsWith(" - DEBUG"));
    EXPECT_FALSE(App().DebugMode);
    EXPECT_EQ(App().CurrentLanguage, "FR");
    MakeForm(nullptr, true);
    EXPECT_TRUE(form->windowTitle().endsWith(" - DEBUG"));
    EXPECT_TRUE(App().DebugMode);
}

// The box of a failure keeps the tool's last lines behind its Details button.
TEST_F(WindowTest, FailureBoxShowsTheToolsLastLinesOnDemand) {
    for (const char* language : {"FR", "EN"}) {
        MakeForm(language);
        gui::FailureBox box(form.get(), "Transcoda 1.0", "La conversion a échoué", "engine: line 1\nengine: line 2\n");
        box.show();
        EXPECT_EQ(box.windowTitle(), "Transcoda 1.0");
        EXPECT_EQ(box.DetailsButton()->text(), App().English() ? "Details" : QString::fromUtf8("Détails"));
        EXPECT_FALSE(box.DetailsText()->isVisible());
        Click(box.DetailsButton());
        EXPECT_TRUE(box.DetailsText()->isVisible());
        EXPECT_EQ(box.DetailsText()->toPlainText(), "engine: line 1\nengine: line 2\n");
        Click(box.DetailsButton());
        EXPECT_FALSE(box.DetailsText()->isVisible());
    }
}

TEST_F(WindowTest, ApplicationTitleShowsProgressInTheWindowTitle) {
    MakeForm();
    const QString caption = form->windowTitle();
    form->SetApplicationTitle("12.35% (2/3)");
    EXPECT_EQ(form->windowTitle(), "12.35% (2/3) - " + caption);
    form->SetApplicationTitle("Transcoda 1.0");
    EXPECT_EQ(form->windowTitle(), caption);
}

TEST(LogStamp, MarkerDateAtTimeWithNothingElse) {
    const QDateTime when(QDate(2026, 2, 1), QTime(9, 8, 7));
    EXPECT_EQ(gui::LogStampText("** ", when, QLocale(QLocale::French, QLocale::France)) + " -- x",
              QString::fromUtf8("** 01/02/2026 à 09:08:07 -- x"));
    // Whatever the locale, no time zone is added after the seconds.
    for (const QLocale& locale : {QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::French, QLocale::Canada),
                                  QLocale(QLocale::English, QLocale::UnitedKingdom)}) {
        const QString stamp = gui::LogStampText("** ", when, locale);
        EXPECT_TRUE(stamp.contains("07")) << stamp.toStdString();
        EXPECT_FALSE(stamp.contains(QRegularExpression("(UTC|GMT|[A-Z]{3,4})$"))) << stamp.toStdString();
        EXPECT_TRUE(stamp.startsWith("** ")) << stamp.toStdString();
        EXPECT_TRUE(stamp.contains(QString::fromUtf8(" à "))) << stamp.toStdString();
    }
}

TEST_F(WindowTest, LogIsWrittenOnlyInDebugModeAndClearedByThePress) {
    MakeForm();
    LogEvent(" -- nothing");
    EXPECT_TRUE(form->Log().diagnosticLog->toPlainText().isEmpty());

    MakeForm(nullptr, true);
    LogEvent(" -- old line");
    LogPlain("plain");
    EXPECT_EQ(form->Log().diagnosticLog->toPlainText().split('\n').size(), 2);
    EXPECT_TRUE(form->Log().diagnosticLog->toPlainText().endsWith("\nplain"));
    SetRequest(Path("in/a.avi"), Path("out/a.mp3"), 34);
    QTest::mousePress(form->convertStopPicture, Qt::LeftButton);
    const QStringList lines = form->Log().diagnosticLog->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(QRegularExpression(QString::fromUtf8(
                    "^\\*\\* .+ à .+ -- L'utilisateur a demandé une conversion de \"[^\"]*a.avi\" vers "
                    "\"[^\"]*a.mp3\" avec le format \" Audio MP3 - MP3; Audio \\(128kbps\\)\"$"))
                    .match(lines[0])
                    .hasMatch())
        << lines[0].toStdString();
}

TEST_F(WindowTest, CopyPutsTheWholeLogOnTheClipboard) {
    MakeForm(nullptr, true);
    QApplication::clipboard()->setText("before");
    Click(form->Log().copyLog);
    EXPECT_EQ(QApplication::clipboard()->text(), "");
    LogPlain("one");
    LogPlain("two");
    Click(form->Log().copyLog);
    EXPECT_EQ(QApplication::clipboard()->text(), "one\ntwo");
}

TEST_F(WindowTest, ComponentsHaveTheirDesignedGeometry) {
    MakeForm();
    EXPECT_EQ(form->width(), 761);
    EXPECT_EQ(form->convertStopPicture->size(), QSize(96, 96));
    EXPECT_EQ(form->Log().diagnosticLog->geometry(), QRect(2, 579 + MainWindow::kBelowInput, 750, 210));
    EXPECT_EQ(form->Progress().statusLabel->x(), 620);
    EXPECT_EQ(form->Progress().statusLabel->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_GE(form->testCommand->x(), 761);
    EXPECT_GE(form->fillQueueForTest->x(), 761);
    EXPECT_EQ(form->Presets().presetCombo->count(), 40);
    EXPECT_EQ(form->Presets().presetCombo->itemText(5), " Video MPEG - MPEG 320x240 (4200 kbps); Audio (128kbps)");
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
}

}  // namespace
}  // namespace transcoda::testing
