// What the window reads from and writes to its preferences file.

#include <QMimeData>

#include "gui_test_support.h"

namespace transcoda::testing {
namespace {

class PreferencesTest : public WindowTest {
protected:
    std::string Prog(const std::string& rest) const { return App().ProgramFolder + rest; }
};

struct StartCase {
    const char* name;
    const char* file;  // nullptr: no file
    const char* edit1;  // "{V}" stands for the user's videos folder
    const char* edit2;
    int format;
    const char* message;
};

class PreferencesStartTest : public PreferencesTest, public ::testing::WithParamInterface<StartCase> {};

TEST_P(PreferencesStartTest, WindowStartsFromTheFile) {
    const StartCase& c = GetParam();
    if (c.file) WriteFile(PrefsPath(), c.file);
    // The defaults lie in the user's videos folder, never beside the program.
    WriteFile(Path("config/user-dirs.dirs"), "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_VIDEOS_DIR=\"$HOME/Films à moi\"\n");
    std::string home = std::getenv("HOME");
    if (!home.ends_with('/')) home += '/';
    MakeForm();
    auto expand = [&](std::string s) {
        if (auto p = s.find("{V}"); p != std::string::npos) s.replace(p, 3, home + "Films à moi/");
        return s;
    };
    EXPECT_EQ(form->Files().inputPathEdit->text().toStdString(), expand(c.edit1));
    EXPECT_EQ(form->Files().outputPathEdit->text().toStdString(), expand(c.edit2));
    EXPECT_EQ(form->Presets().presetCombo->currentIndex(), c.format);
    std::vector<QString> expected;
    if (c.message) expected.push_back(QString::fromUtf8(c.message));
    EXPECT_EQ(dialogs.Texts("message"), expected);
    if (!c.file) {
        EXPECT_FALSE(Exists(PrefsPath()));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Window, PreferencesStartTest,
    ::testing::Values(
        StartCase{"NoFile", nullptr, "", "", -1, nullptr},
        StartCase{"OnlyTheSection", "[Visual]\n", "{V}", "{V}Sans titre.mpeg", 5, nullptr},
        StartCase{"HandEditedWithOtherSections",
                  "; mine\r\n[Other]\r\nsourceFileName=/x/wrong.avi\r\n[VISUAL]\r\nSOURCEFILENAME=/a/in.avi\r\n"
                  "DestinationFileName=/a/out.avi\r\ndestinationformat=34\r\n[Last]\r\nkey=v\r\n",
                  "/a/in.avi", "/a/out.mp3", 34, nullptr},
        StartCase{"IndexOutOfRange", "[Visual]\ndestinationFileName=/a/out.avi\ndestinationFormat=40\n", "{V}",
                  "/a/out.avi", -1, nullptr},
        StartCase{"NoneStoredBefore", "[Visual]\ndestinationFileName=/a/out.avi\ndestinationFormat=-1\n", "{V}",
                  "/a/out.avi", -1, nullptr},
        StartCase{"NotAnInteger", "[Visual]\nsourceFileName=/a/in.avi\ndestinationFileName=/a/out.avi\ndestinationFormat=abc\n",
                  "/a/in.avi", "/a/out.avi", -1, "'abc' n'est pas une valeur entière correcte"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PreferencesTest, PickingFilesCreatesTheFileOnlyForTheInput) {
    MakeForm();
    // An output pick with no file writes nothing and creates nothing.
    dialogs.picks = {QString::fromStdString(Path("out/first.avi"))};
    Click(form->savePicture);
    EXPECT_EQ(form->Files().outputPathEdit->text().toStdString(), Path("out/first.avi"));
    EXPECT_FALSE(Exists(PrefsPath()));

    dialogs.picks = {QString::fromStdString(Path("in/clip.avi"))};
    Click(form->openPicture);
    EXPECT_EQ(form->Files().inputPathEdit->text().toStdString(), Path("in/clip.avi"));
    EXPECT_EQ(form->Files().Input().toStdString(), Path("in/clip.avi"));
    const std::string created = ReadFile(PrefsPath());
    EXPECT_NE(created.find("sourceFileName=" + Path("in/clip.avi")), std::string::npos) << created;
    EXPECT_EQ(created.find("destinationFileName"), std::string::npos) << created;

    dialogs.picks = {QString::fromStdString(Path("out/second.avi"))};
    Click(form->Files().chooseOutput);
    EXPECT_NE(ReadFile(PrefsPath()).find("destinationFileName=" + Path("out/second.avi")), std::string::npos);
    EXPECT_TRUE(dialogs.Texts("message").empty());
}

TEST_F(PreferencesTest, CancelledPickAppliesTheNameChosenLast) {
    MakeForm();
    form->Files().inputPathEdit->setText("kept");
    dialogs.picks = {""};
    Click(form->Files().chooseInput);
    EXPECT_EQ(form->Files().inputPathEdit->text(), "kept");
    EXPECT_FALSE(Exists(PrefsPath()));
    dialogs.picks = {QString::fromStdString(Path("in/a.avi")), ""};
    Click(form->Files().chooseInput);
    form->Files().inputPathEdit->setText("changed");
    Click(form->Files().chooseInput);
    EXPECT_EQ(form->Files().inputPathEdit->text().toStdString(), Path("in/a.avi"));
}

TEST_F(PreferencesTest, ConfigFolderThatCannotBeMadeIsReportedAndThePickKept) {
    WriteFile(Path("plain"), "not a folder");
    setenv("XDG_CONFIG_HOME", Path("plain/config").c_str(), 1);
    MakeForm();
    dialogs.picks = {QString::fromStdString(Path("in/clip.avi"))};
    Click(form->Files().chooseInput);
    EXPECT_EQ(form->Files().inputPathEdit->text().toStdString(), Path("in/clip.avi"));
    ASSERT_EQ(dialogs.Of("message").size(), 1u);
    EXPECT_EQ(dialogs.Of("message")[0].caption, "Transcoda 1.0");
    EXPECT_EQ(ReadFile(Path("plain")), "not a folder");
}

TEST_F(PreferencesTest, ConversionStartStoresOutputAndFormatEvenWhenRefused) {
    WriteFile(PrefsPath(), "[Other]\nx=1\n[Visual]\nsourceFileName=/a/in.avi\n");
    MakeForm();
    WriteFile(Path("in/clip.avi"), "input");
    SetRequest(Path("in/clip.avi"), Path("out/clip.avi"), -1);
    Click(form->convertStopPicture);  // refused: no format
    ASSERT_EQ(dialogs.Texts("message").size(), 1u);
    const std::string text = ReadFile(PrefsPath());
    EXPECT_NE(text.find("destinationFormat=-1"), std::string::npos) << text;
    EXPECT_NE(text.find("destinationFileName=" + Path("out/clip.avi")), std::string::npos) << text;
    EXPECT_NE(text.find("[Other]\nx=1\n"), std::string::npos) << text;
    EXPECT_NE(text.find("sourceFileName=/a/in.avi"), std::string::npos) << text;
    // The next start selects nothing.
    MakeForm();
    EXPECT_EQ(form->Presets().presetCombo->currentIndex(), -1);
}

TEST_F(PreferencesTest, NoFileMeansNothingWrittenAtConversionStart) {
    MakeForm();
    WriteFile(Path("in/clip.avi"), "input");
    SetRequest(Path("in/clip.avi"), Path("out/clip.avi"), -1);
    Click(form->convertStopPicture);
    EXPECT_FALSE(Exists(PrefsPath()));
}

// A drop is a pick by other means: on the window it names the input, on the output field
// the output, always as a path.
TEST_F(PreferencesTest, DroppedItemsBecomePathsLikeAPick) {
    struct Case {
        const char* name;
        bool onOutputField;
        std::vector<std::string> items;  // local paths, or an address with "://"
        const char* expected;            // the field's text afterwards
    };
    WriteFile(PrefsPath(), "[Visual]\n");
    WriteFile(Path("in/dropped.mkv"), "input");
    std::filesystem::create_directories(Path("dvd"));
    const Case cases[] = {
        {"file on the window", false, {Path("in/dropped.mkv")}, "in/dropped.mkv"},
        {"file on the output field", true, {Path("in/dropped.mkv")}, "in/dropped.mkv"},
        {"folder on the output field", true, {Path("dvd")}, "dvd/"},
        {"two files on the output field", true, {Path("in/dropped.mkv"), Path("in/dropped.mkv")}, "typed"},
        {"address on the output field", true, {"https://example.org/clip.mkv"}, "typed"},
    };
    for (const Case& c : cases) {
        MakeForm();
        form->Files().outputPathEdit->setText("typed");
        QList<QUrl> urls;
        for (const std::string& item : c.items)
            urls << (item.find("://") != std::string::npos ? QUrl(QString::fromStdString(item))
                                                           : QUrl::fromLocalFile(QString::fromStdString(item)));
        QMimeData data;
        data.setUrls(urls);
        QWidget* target = c.onOutputField ? static_cast<QWidget*>(form->Files().outputPathEdit) : form.get();
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);

        const std::string expected = std::string(c.expected) == "typed" ? "typed" : Path(c.expected);
        QLineEdit* field = c.onOutputField ? form->Files().outputPathEdit : form->Files().inputPathEdit;
        EXPECT_EQ(field->text().toStdString(), expected) << c.name;
        EXPECT_EQ(enter.isAccepted(), expected != "typed") << c.name;
        const std::string key = c.onOutputField ? "destinationFileName=" : "sourceFileName=";
        EXPECT_EQ(ReadFile(PrefsPath()).find(key + expected) != std::string::npos, expected != "typed") << c.name;
        if (!c.onOutputField) {
            EXPECT_EQ(form->Files().Input().toStdString(), expected);
        }
    }
}

// Without a preferences file the fields start empty; the output must still land beside
// the input, never on a bare name that the conversion cannot place.
TEST_F(PreferencesTest, WithoutAFileTheOutputGoesBesideTheInput) {
    struct Case {
        const char* name;
        int format;
        const char* typed;   // the output field's text before the format is chosen
        bool formatFirst;    // the format is chosen before the input, the row then added
        const char* expected;
    };
    const Case cases[] = {
        {"input then format", 3, "", false, "in/clip.mpeg"},
        {"bare name typed", 3, "mine.avi", false, "in/mine.mpeg"},
        {"format then input, then added", 34, "", true, "in/clip.mp3"},
        {"sync correction", 38, "", false, "in/clip-synchro.avi"},
        {"extraction", 39, "", false, "in/clip-extrait.avi"},
        {"DVD", 33, "", false, "in/clipavi/"},
    };
    WriteFile(Path("in/clip.avi"), "input");
    for (const Case& c : cases) {
        std::filesystem::remove(PrefsPath());
        MakeForm();
        form->Files().outputPathEdit->setText(c.typed);
        auto chooseFormat = [&] {
            form->Presets().presetCombo->setCurrentIndex(c.format);
            form->UpdateOutputName();
        };
        if (c.formatFirst) chooseFormat();
        dialogs.picks = {QString::fromStdString(Path("in/clip.avi"))};
        Click(form->Files().chooseInput);
        if (!c.formatFirst) {
            chooseFormat();
            EXPECT_EQ(form->Files().outputPathEdit->text().toStdString(), Path(c.expected)) << c.name;
        } else {
            Click(form->Queue().addToQueue);
            EXPECT_EQ(form->Queue().Cell(2, 1).toStdString(), Path(c.expected)) << c.name;
        }
    }
}

// A new input, however it comes (a pick, a drop, a file opened with the program, a typed
// or pasted path), takes along an output named after the old input; a name the user chose
// stays. A typed path is taken only when it names a readable regular file.
TEST_F(PreferencesTest, ANewInputTakesAlongTheOutputNamedAfterTheOldOne) {
    struct Case {
        const char* name;
        const char* how;     // "pick", "drop", "open", "typed", "pasted" (a file:// address),
                             // "typed-add" (typed, then Add to the list without leaving the field)
        const char* output;  // beside the old input a/clip.avi, or elsewhere
        int format;
        const char* input;     // the new input
        const char* expected;  // the output afterwards
        const char* message;   // part of the one message shown, or nullptr
    };
    const Case cases[] = {
        {"pick, named after the old input", "pick", "a/clip.mpeg", 3, "b/film.mkv", "b/film.mpeg", nullptr},
        {"drop, a numbered free name", "drop", "a/clip (2).mpeg", 3, "b/film.mkv", "b/film.mpeg", nullptr},
        {"open, the sync correction's mark", "open", "a/clip-synchro.avi", 38, "b/film.mkv", "b/film-synchro.mkv", nullptr},
        {"typed, a DVD folder", "typed", "a/clipavi/", 33, "b/film.mkv", "b/filmmkv/", nullptr},
        {"pasted, no preset", "pasted", "a/clip.wav", -1, "b/song.flac", "b/song.wav", nullptr},
        {"pick, the new input's own name", "pick", "a/clip.mp3", 34, "b/song.mp3", "b/song (1).mp3", nullptr},
        {"pick, a name the user chose", "pick", "a/holiday.mpeg", 3, "b/film.mkv", "a/holiday.mpeg", nullptr},
        {"drop, the same stem elsewhere", "drop", "c/clip.mpeg", 3, "b/film.mkv", "c/clip.mpeg", nullptr},
        {"typed, then added to the list at once", "typed-add", "a/clip.mpeg", 3, "b/film.mkv", "b/film.mpeg", nullptr},
        {"typed, a missing file", "typed", "a/clip.mpeg", 3, "b/none.mkv", "a/clip.mpeg", "n'existe pas"},
        {"typed, a folder", "typed", "a/clip.mpeg", 3, "b/folder", "a/clip.mpeg", "n'est pas un fichier ordinaire"},
        {"open, a missing file", "open", "a/clip.mpeg", 3, "b/none.mkv", "a/clip.mpeg", "n'existe pas"},
    };
    for (const char* f : {"a/clip.avi", "b/film.mkv", "b/song.flac", "b/song.mp3"}) WriteFile(Path(f), "input");
    std::filesystem::create_directories(Path("b/folder"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(PrefsPath(), "[Visual]\n");
        MakeForm();
        SetRequest(Path("a/clip.avi"), Path(c.output), c.format);
        const QString input = QString::fromStdString(Path(c.input));
        const std::string how = c.how;
        QLineEdit* field = form->Files().inputPathEdit;
        if (how == "pick") {
            dialogs.picks = {input};
            Click(form->openPicture);
        } else if (how == "drop") {
            form->Files().TakeDroppedInput(input);
        } else if (how == "open") {
            form->OpenFiles({input});
        } else if (how == "typed-add") {
            field->selectAll();
            QTest::keyClicks(field, input);
            Click(form->Queue().addToQueue);
        } else {
            field->selectAll();
            QTest::keyClicks(field, how == "typed" ? input : QUrl::fromLocalFile(input).toString());
            QTest::keyClick(field, Qt::Key_Return);
            // Leaving the field with the same text tells nothing more.
            QTest::keyClick(field, Qt::Key_Return);
        }
        const bool taken = c.message == nullptr;
        const std::string shownInput = taken || how == "typed" ? Path(c.input) : Path("a/clip.avi");
        EXPECT_EQ(field->text().toStdString(), shownInput);
        EXPECT_EQ(form->Files().Output().toStdString(), Path(c.expected));
        const auto messages = dialogs.Texts("message");
        EXPECT_EQ(messages.size(), taken ? 0u : 1u);
        if (!taken && !messages.empty()) {
            EXPECT_TRUE(messages[0].contains(QString::fromUtf8(c.message))) << messages[0].toStdString();
        }
        const std::string prefs = ReadFile(PrefsPath());
        EXPECT_EQ(prefs.find("sourceFileName=" + Path(c.input)) != std::string::npos, taken) << prefs;
        if (std::string(c.output) != c.expected) {
            EXPECT_NE(prefs.find("destinationFileName=" + Path(c.expected)), std::string::npos) << prefs;
        }
        dialogs.shown.clear();
    }
}

}  // namespace
}  // namespace transcoda::testing
