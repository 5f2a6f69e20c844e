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
    const char* edit1;  // "{P}" stands for the program folder
    const char* edit2;
    int format;
    const char* message;
};

class PreferencesStartTest : public PreferencesTest, public ::testing::WithParamInterface<StartCase> {};

TEST_P(PreferencesStartTest, WindowStartsFromTheFile) {
    const StartCase& c = GetParam();
    if (c.file) WriteFile(PrefsPath(), c.file);
    MakeForm();
    auto expand = [&](std::string s) {
        if (auto p = s.find("{P}"); p != std::string::npos) s.replace(p, 3, App().ProgramFolder);
        return s;
    };
    EXPECT_EQ(form->Edit1->text().toStdString(), expand(c.edit1));
    EXPECT_EQ(form->Edit2->text().toStdString(), expand(c.edit2));
    EXPECT_EQ(form->ComboBox1->currentIndex(), c.format);
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
        StartCase{"OnlyTheSection", "[Visual]\n", "{P}MyFiles/", "{P}MyFiles/Sans titre.mpeg", 5, nullptr},
        StartCase{"HandEditedWithOtherSections",
                  "; mine\r\n[Other]\r\nsourceFileName=/x/wrong.avi\r\n[VISUAL]\r\nSOURCEFILENAME=/a/in.avi\r\n"
                  "DestinationFileName=/a/out.avi\r\ndestinationformat=34\r\n[Last]\r\nkey=v\r\n",
                  "/a/in.avi", "/a/out.mp3", 34, nullptr},
        StartCase{"IndexOutOfRange", "[Visual]\ndestinationFileName=/a/out.avi\ndestinationFormat=40\n", "{P}MyFiles/",
                  "/a/out.avi", -1, nullptr},
        StartCase{"NoneStoredBefore", "[Visual]\ndestinationFileName=/a/out.avi\ndestinationFormat=-1\n", "{P}MyFiles/",
                  "/a/out.avi", -1, nullptr},
        StartCase{"NotAnInteger", "[Visual]\nsourceFileName=/a/in.avi\ndestinationFileName=/a/out.avi\ndestinationFormat=abc\n",
                  "/a/in.avi", "/a/out.avi", -1, "'abc' n'est pas une valeur entière correcte"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PreferencesTest, PickingFilesCreatesTheFileOnlyForTheInput) {
    MakeForm();
    // An output pick with no file writes nothing and creates nothing.
    dialogs.picks = {QString::fromStdString(Path("out/first.avi"))};
    Click(form->Image3);
    EXPECT_EQ(form->Edit2->text().toStdString(), Path("out/first.avi"));
    EXPECT_FALSE(Exists(PrefsPath()));

    dialogs.picks = {QString::fromStdString(Path("in/clip.avi"))};
    Click(form->Image2);
    EXPECT_EQ(form->Edit1->text().toStdString(), Path("in/clip.avi"));
    EXPECT_EQ(App().Request.InputPath, Path("in/clip.avi"));
    const std::string created = ReadFile(PrefsPath());
    EXPECT_NE(created.find("sourceFileName=" + Path("in/clip.avi")), std::string::npos) << created;
    EXPECT_EQ(created.find("destinationFileName"), std::string::npos) << created;

    dialogs.picks = {QString::fromStdString(Path("out/second.avi"))};
    Click(form->Button2);
    EXPECT_NE(ReadFile(PrefsPath()).find("destinationFileName=" + Path("out/second.avi")), std::string::npos);
    EXPECT_TRUE(dialogs.Texts("message").empty());
}

TEST_F(PreferencesTest, CancelledPickAppliesTheNameChosenLast) {
    MakeForm();
    form->Edit1->setText("kept");
    dialogs.picks = {""};
    Click(form->Button1);
    EXPECT_EQ(form->Edit1->text(), "kept");
    EXPECT_FALSE(Exists(PrefsPath()));
    dialogs.picks = {QString::fromStdString(Path("in/a.avi")), ""};
    Click(form->Button1);
    form->Edit1->setText("changed");
    Click(form->Button1);
    EXPECT_EQ(form->Edit1->text().toStdString(), Path("in/a.avi"));
}

TEST_F(PreferencesTest, ConfigFolderThatCannotBeMadeIsReportedAndThePickKept) {
    WriteFile(Path("plain"), "not a folder");
    setenv("XDG_CONFIG_HOME", Path("plain/config").c_str(), 1);
    MakeForm();
    dialogs.picks = {QString::fromStdString(Path("in/clip.avi"))};
    Click(form->Button1);
    EXPECT_EQ(form->Edit1->text().toStdString(), Path("in/clip.avi"));
    ASSERT_EQ(dialogs.Of("message").size(), 1u);
    EXPECT_EQ(dialogs.Of("message")[0].caption, "Transcoda 1.0");
    EXPECT_EQ(ReadFile(Path("plain")), "not a folder");
}

TEST_F(PreferencesTest, ConversionStartStoresOutputAndFormatEvenWhenRefused) {
    WriteFile(PrefsPath(), "[Other]\nx=1\n[Visual]\nsourceFileName=/a/in.avi\n");
    MakeForm();
    WriteFile(Path("in/clip.avi"), "input");
    SetRequest(Path("in/clip.avi"), Path("out/clip.avi"), -1);
    Click(form->Image4);  // refused: no format
    ASSERT_EQ(dialogs.Texts("message").size(), 1u);
    const std::string text = ReadFile(PrefsPath());
    EXPECT_NE(text.find("destinationFormat=-1"), std::string::npos) << text;
    EXPECT_NE(text.find("destinationFileName=" + Path("out/clip.avi")), std::string::npos) << text;
    EXPECT_NE(text.find("[Other]\nx=1\n"), std::string::npos) << text;
    EXPECT_NE(text.find("sourceFileName=/a/in.avi"), std::string::npos) << text;
    // The next start selects nothing.
    MakeForm();
    EXPECT_EQ(form->ComboBox1->currentIndex(), -1);
}

TEST_F(PreferencesTest, NoFileMeansNothingWrittenAtConversionStart) {
    MakeForm();
    WriteFile(Path("in/clip.avi"), "input");
    SetRequest(Path("in/clip.avi"), Path("out/clip.avi"), -1);
    Click(form->Image4);
    EXPECT_FALSE(Exists(PrefsPath()));
}

TEST_F(PreferencesTest, DroppedFileBecomesTheInputLikeAPick) {
    MakeForm();
    WriteFile(Path("in/dropped.mkv"), "input");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(Path("in/dropped.mkv")))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &drop);
    EXPECT_EQ(form->Edit1->text().toStdString(), Path("in/dropped.mkv"));
    EXPECT_EQ(App().Request.InputPath, Path("in/dropped.mkv"));
    EXPECT_NE(ReadFile(PrefsPath()).find("sourceFileName=" + Path("in/dropped.mkv")), std::string::npos);
}

}  // namespace
}  // namespace transcoda::testing
