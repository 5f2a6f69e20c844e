#include "settings/ini_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using transcoda::IniDocument;

namespace {

struct GetCase {
    const char* name;
    const char* text;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

class IniGet : public testing::TestWithParam<GetCase> {};

TEST_P(IniGet, FindsValuesAsProfileFilesDo) {
    const GetCase& c = GetParam();
    EXPECT_EQ(IniDocument::Parse(c.text).Get(c.section, c.key), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lookups, IniGet,
    testing::Values(
        GetCase{"Plain", "[Visual]\nsourceFileName=/a/b.avi\n", "Visual", "sourceFileName", "/a/b.avi"},
        GetCase{"NamesIgnoreCase", "[vIsUaL]\nSOURCEFILENAME=x\n", "Visual", "sourceFileName", "x"},
        GetCase{"BlanksAroundTrimmed", "  [ Visual ]  \n  key  =  two words  \n", "Visual", "key", "two words"},
        GetCase{"QuotesStripped", "[Visual]\nkey=\"/a b/c.avi\"\n", "Visual", "key", "/a b/c.avi"},
        GetCase{"UnmatchedQuoteKept", "[Visual]\nkey=\"abc\n", "Visual", "key", "\"abc"},
        GetCase{"EqualsInValue", "[Visual]\nkey=a=b\n", "Visual", "key", "a=b"},
        GetCase{"EmptyValueIsPresent", "[Visual]\nkey=\n", "Visual", "key", ""},
        GetCase{"OtherSectionIgnored", "[Other]\nkey=1\n[Visual]\nx=2\n", "Visual", "key", std::nullopt},
        GetCase{"KeyBeforeAnySection", "key=1\n[Visual]\n", "Visual", "key", std::nullopt},
        GetCase{"MissingSection", "[Other]\nkey=1\n", "Visual", "key", std::nullopt},
        GetCase{"CommentIsNotAKey", "[Visual]\n;key=1\n", "Visual", "key", std::nullopt},
        GetCase{"FirstOfDuplicates", "[Visual]\nkey=1\nkey=2\n", "Visual", "key", "1"},
        GetCase{"RepeatedSectionSearched", "[Visual]\na=1\n[Other]\nkey=x\n[VISUAL]\nkey=2\n", "Visual", "key", "2"},
        GetCase{"WindowsLineEnds", "[Visual]\r\nkey=C:/x.avi\r\nother=1\r\n", "Visual", "key", "C:/x.avi"},
        GetCase{"ByteOrderMark", "\xEF\xBB\xBF[Visual]\nkey=1\n", "Visual", "key", "1"},
        GetCase{"NoFinalLineEnd", "[Visual]\nkey=last", "Visual", "key", "last"},
        GetCase{"GarbageLinesSkipped", "[Visual]\nnot a key\n=nokey\nkey=1\n", "Visual", "key", "1"}),
    [](const testing::TestParamInfo<GetCase>& i) { return std::string(i.param.name); });

struct SetCase {
    const char* name;
    const char* before;
    const char* key;
    const char* value;
    const char* after;
};

class IniSet : public testing::TestWithParam<SetCase> {};

TEST_P(IniSet, ChangesOnlyWhatItMust) {
    const SetCase& c = GetParam();
    IniDocument doc = IniDocument::Parse(c.before);
    ASSERT_TRUE(doc.Set("Visual", c.key, c.value));
    EXPECT_EQ(doc.Serialize(), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Writes, IniSet,
    testing::Values(
        SetCase{"EmptyFile", "", "k", "v", "[Visual]\nk=v\n"},
        SetCase{"ReplaceKeepsEverythingElse",
                "; hand notes\n[Other]\nk=keep\n\n[visual]\nK = old\nnoise line\n",
                "k", "new", "; hand notes\n[Other]\nk=keep\n\n[visual]\nK =new\nnoise line\n"},
        SetCase{"AddAfterLastEntryBeforeBlanks", "[Visual]\na=1\n\n[Other]\nb=2\n", "k", "v",
                "[Visual]\na=1\nk=v\n\n[Other]\nb=2\n"},
        SetCase{"AddToEmptySection", "[Visual]\n[Other]\n", "k", "v", "[Visual]\nk=v\n[Other]\n"},
        SetCase{"AddSectionAfterUnterminatedLine", "[Other]\nb=2", "k", "v", "[Other]\nb=2\n[Visual]\nk=v\n"},
        SetCase{"KeepsWindowsLineEnds", "[Visual]\r\na=1\r\n", "k", "v", "[Visual]\r\na=1\r\nk=v\r\n"},
        SetCase{"KeepsByteOrderMark", "\xEF\xBB\xBF[Visual]\na=1\n", "a", "2", "\xEF\xBB\xBF[Visual]\na=2\n"},
        SetCase{"EdgeBlanksQuoted", "[Visual]\n", "k", " x ", "[Visual]\nk=\" x \"\n"},
        SetCase{"QuotedValueQuotedAgain", "[Visual]\n", "k", "\"q\"", "[Visual]\nk=\"\"q\"\"\n"}),
    [](const testing::TestParamInfo<SetCase>& i) { return std::string(i.param.name); });

// A whole section replaced at once, as the kept conversion list is: the rest of the file
// stays as it was, byte for byte.
class IniReplaceSection : public testing::TestWithParam<SetCase> {};

TEST_P(IniReplaceSection, ReplacesOnlyThatSection) {
    const SetCase& c = GetParam();
    IniDocument doc = IniDocument::Parse(c.before);
    ASSERT_TRUE(doc.ReplaceSection("List", {{c.key, c.value}}));
    EXPECT_EQ(doc.Serialize(), c.after);
    EXPECT_EQ(IniDocument::Parse(doc.Serialize()).Entries("list"),
              (std::vector<std::pair<std::string, std::string>>{{c.key, c.value}}));
}

INSTANTIATE_TEST_SUITE_P(
    Writes, IniReplaceSection,
    testing::Values(
        SetCase{"Appended", "[Visual]\na=1\n", "x", "1", "[Visual]\na=1\n[List]\nx=1\n"},
        SetCase{"AfterUnterminatedLine", "[Visual]\na=1", "x", "1", "[Visual]\na=1\n[List]\nx=1\n"},
        SetCase{"WhereItStood", "[List]\nold=1\n; note\n[Visual]\na=1\n", "x", "1", "[List]\nx=1\n[Visual]\na=1\n"},
        SetCase{"TwoOfTheNameBecomeOne", "[list]\no=1\n[Visual]\na=1\n[LIST]\np=2\n", "x", "1",
                "[List]\nx=1\n[Visual]\na=1\n"},
        SetCase{"KeepsWindowsLineEnds", "[Visual]\r\na=1\r\n", "x", "1", "[Visual]\r\na=1\r\n[List]\r\nx=1\r\n"},
        SetCase{"EdgeBlanksQuoted", "", "x", " Audio ", "[List]\nx=\" Audio \"\n"}),
    [](const testing::TestParamInfo<SetCase>& i) { return std::string(i.param.name); });

TEST(IniDocumentTest, ValuesReadBackExactlyAsWritten) {
    for (std::string value : {"/home/é à/Sans titre.avi", " lead", "trail ", "\"quoted\"", "'single'",
                              "a=b;c", "[x]", "", "\"", "-1"}) {
        IniDocument doc = IniDocument::Parse("[Visual]\nk=old\n");
        ASSERT_TRUE(doc.Set("Visual", "k", value)) << value;
        EXPECT_EQ(IniDocument::Parse(doc.Serialize()).Get("VISUAL", "K"), value) << value;
    }
}

TEST(IniDocumentTest, RefusesWhatCannotStandOnOneLine) {
    const std::string text = "[Visual]\nk=old\n";
    IniDocument doc = IniDocument::Parse(text);
    EXPECT_FALSE(doc.Set("Visual", "k", "two\nlines"));
    EXPECT_FALSE(doc.Set("Visual", "k", "cr\r"));
    EXPECT_FALSE(doc.Set("Visual", "a=b", "v"));
    EXPECT_FALSE(doc.Set("Vis]ual", "k", "v"));
    EXPECT_FALSE(doc.Set("Visual", " ", "v"));
    EXPECT_EQ(doc.Serialize(), text);
}

// Lowers the largest size a file of this process may grow to, as a full disk would stop
// a write; the signal that comes with it is ignored so the write fails with an error.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lower = saved_;
        lower.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

class IniFileOnDisk : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("ini_file_test_" + std::to_string(getpid()) + "_" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        path_ = (dir_ / "settings.ini").string();
    }
    void TearDown() override { fs::remove_all(dir_); }

    static void Put(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string Get(const std::string& path) {
        return transcoda::ReadWholeFile(path).value_or("<unreadable>");
    }
    size_t EntriesInFolder() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }

    fs::path dir_;
    std::string path_;
};

TEST_F(IniFileOnDisk, InterruptedWriteLeavesTheOldFileWhole) {
    const std::string old = "[Visual]\nsourceFileName=/old/input.avi\n[Mine]\nkeep=1\n";
    Put(path_, old);
    std::string error;
    bool ok;
    {
        FileSizeLimit limit(16);  // the new contents are longer than this
        ok = transcoda::WriteIniStrings(path_, "Visual", {{"sourceFileName", std::string(200, 'x')}}, &error);
    }
    EXPECT_FALSE(ok);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(Get(path_), old);
    EXPECT_EQ(EntriesInFolder(), 1u) << "the temporary file was left behind";
}

// A program killed while it replaced the file leaves its temporary file; the next write
// removes it, and never one of a program still running.
TEST_F(IniFileOnDisk, TemporariesOfProgramsGoneAreRemovedByTheNextWrite) {
    Put(path_, "[Visual]\n");
    const pid_t gone = fork();
    if (gone == 0) _exit(0);
    ASSERT_GT(gone, 0);
    waitpid(gone, nullptr, 0);
    const std::string left = path_ + ".new-" + std::to_string(gone) + "-0";
    const std::string running = path_ + ".new-" + std::to_string(getpid()) + "-99";
    Put(left, "half");
    Put(running, "being written");
    ASSERT_TRUE(transcoda::WriteIniStrings(path_, "Visual", {{"k", "v"}}));
    EXPECT_FALSE(fs::exists(left));
    EXPECT_TRUE(fs::exists(running));
    fs::remove(running);
}

TEST_F(IniFileOnDisk, ReplacementKeepsPermissionsAndLinks) {
    Put(path_, "[Visual]\n");
    chmod(path_.c_str(), 0640);
    const std::string link = (dir_ / "link.ini").string();
    fs::create_symlink(path_, link);

    ASSERT_TRUE(transcoda::WriteIniStrings(link, "Visual", {{"k", "v"}}));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Get(path_), "[Visual]\nk=v\n");
    struct stat st;
    ASSERT_EQ(stat(path_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(IniFileOnDisk, MissingFolderFailsWithoutCreatingAnything) {
    const std::string inMissing = (dir_ / "B" / "settings.ini").string();
    std::string error;
    EXPECT_FALSE(transcoda::WriteIniStrings(inMissing, "Visual", {{"k", "v"}}, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(fs::exists(dir_ / "B"));
    EXPECT_EQ(EntriesInFolder(), 0u);
}

TEST_F(IniFileOnDisk, ReadsFallBackWhenNothingIsThere) {
    EXPECT_EQ(transcoda::ReadIniString(path_, "Visual", "k", "dflt"), "dflt");
    fs::create_directory(path_);  // a folder by that name is not a file
    EXPECT_FALSE(transcoda::IniFileExists(path_));
    EXPECT_EQ(transcoda::ReadIniString(path_, "Visual", "k", "dflt"), "dflt");
    EXPECT_FALSE(transcoda::WriteIniStrings(path_, "Visual", {{"k", "v"}}));
    EXPECT_TRUE(fs::is_directory(path_));
}

TEST_F(IniFileOnDisk, KeysOfOneWriteLandTogetherInOrder) {
    Put(path_, "[Visual]\r\nb=old\r\n");
    ASSERT_TRUE(transcoda::WriteIniStrings(path_, "Visual", {{"a", "1"}, {"B", "2"}, {"c", "3"}}));
    EXPECT_EQ(Get(path_), "[Visual]\r\nb=2\r\na=1\r\nc=3\r\n");
    // one bad value refuses the whole write
    EXPECT_FALSE(transcoda::WriteIniStrings(path_, "Visual", {{"a", "ok"}, {"c", "bad\nvalue"}}));
    EXPECT_EQ(Get(path_), "[Visual]\r\nb=2\r\na=1\r\nc=3\r\n");
}

}  // namespace
