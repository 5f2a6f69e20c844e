#include "settings/preferences.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "exec/app_state.h"
#include "platform/desktop_language.h"
#include "settings/ini_file.h"

namespace fs = std::filesystem;
using transcoda::PreferencesWrite;

namespace {

// A program folder of its own for each test, with its B folder, and a config folder of
// its own.
class PreferencesTest : public testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("preferences_test_" + std::to_string(getpid()) + "_" +
                 testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "B");
        folder_ = root_.string() + "/";
        setenv("XDG_CONFIG_HOME", (folder_ + "config").c_str(), 1);
        file_ = folder_ + "config/transcoda/applicationUserPreferences.ini";
        former_ = folder_ + "B/applicationUserPreferences.ini";
        transcoda::App().CurrentLanguage = "FR";
    }
    void TearDown() override {
        fs::permissions(root_ / "B", fs::perms::owner_all);
        fs::remove_all(root_);
        unsetenv("XDG_CONFIG_HOME");
        transcoda::App().CurrentLanguage = "FR";
    }

    void Put(const std::string& text) {
        fs::create_directories(fs::path(file_).parent_path());
        std::ofstream(file_, std::ios::binary) << text;
    }
    std::optional<std::string> Contents() const {
        if (!fs::exists(file_)) return std::nullopt;
        return transcoda::ReadWholeFile(file_);
    }

    fs::path root_;
    std::string folder_;
    std::string file_;
    std::string former_;
};

struct PlaceCase {
    const char* xdgConfigHome;  // nullptr: not set
    const char* home;           // nullptr: not set
    const char* expected;
};

TEST_F(PreferencesTest, FileLiesInTheUserConfigFolder) {
    const char* savedHome = std::getenv("HOME");
    const std::string home = savedHome ? savedHome : "";
    for (const PlaceCase& c : {
             PlaceCase{"/x/cfg", "/home/u", "/x/cfg/transcoda/applicationUserPreferences.ini"},
             PlaceCase{"/x/cfg/", "/home/u", "/x/cfg/transcoda/applicationUserPreferences.ini"},
             PlaceCase{nullptr, "/home/u", "/home/u/.config/transcoda/applicationUserPreferences.ini"},
             // A relative value does not count.
             PlaceCase{"cfg", "/home/u/", "/home/u/.config/transcoda/applicationUserPreferences.ini"},
             PlaceCase{"", "/home/u", "/home/u/.config/transcoda/applicationUserPreferences.ini"},
         }) {
        if (c.xdgConfigHome) setenv("XDG_CONFIG_HOME", c.xdgConfigHome, 1);
        else unsetenv("XDG_CONFIG_HOME");
        setenv("HOME", c.home, 1);
        EXPECT_EQ(transcoda::PreferencesFilePath("/opt/t/"), c.expected) << c.xdgConfigHome << " " << c.home;
    }
    if (savedHome) setenv("HOME", home.c_str(), 1);
    else unsetenv("HOME");
    EXPECT_EQ(transcoda::FormerPreferencesFilePath("/opt/t/"), "/opt/t/B/applicationUserPreferences.ini");
}

// A file beside the program, as earlier versions kept it, in a folder the user cannot
// write: it is copied once and never touched.
TEST_F(PreferencesTest, FormerFileIsCopiedOnceAndLeftAlone) {
    const std::string former = "[Visual]\nsourceFileName=/old/in.avi\ndestinationFormat=12\n";
    std::ofstream(former_, std::ios::binary) << former;
    fs::permissions(root_ / "B", fs::perms::owner_read | fs::perms::owner_exec);

    auto p = transcoda::ReadStartupPreferences(folder_);
    EXPECT_TRUE(p.FileFound);
    EXPECT_EQ(p.SourceFileName, "/old/in.avi");
    EXPECT_EQ(p.FormatIndex, 12);
    EXPECT_EQ(Contents(), former);

    ASSERT_TRUE(transcoda::WriteConversionStartPreferences(folder_, "/new/out.avi", 3).Ok());
    EXPECT_EQ(transcoda::ReadWholeFile(former_), former);
    // The copy is the file from now on, even when the former one changes.
    fs::permissions(root_ / "B", fs::perms::owner_all);
    std::ofstream(former_, std::ios::binary) << "[Visual]\ndestinationFormat=20\n";
    EXPECT_EQ(transcoda::ReadStartupPreferences(folder_).FormatIndex, 3);
}

struct StartCase {
    const char* name;
    std::optional<std::string> file;  // nothing: no file
    std::string source;               // "~" stands for the user's videos folder
    std::string destination;
    int format;
    std::string error;
    std::string language = "";  // the user's choice, empty for none
    int itemsAtOnce = 1;        // the window's list items converted at once
};

class StartupRead : public PreferencesTest, public testing::WithParamInterface<StartCase> {};

TEST_P(StartupRead, GivesWhatTheWindowShows) {
    const StartCase& c = GetParam();
    if (c.file) Put(*c.file);
    // The defaults lie in the user's videos folder.
    fs::create_directories(folder_ + "config");
    std::ofstream(folder_ + "config/user-dirs.dirs") << "# written by hand\nXDG_VIDEOS_DIR=\"" << folder_ << "Vidéos\"\n";
    auto expand = [&](std::string s) {
        if (!s.empty() && s[0] == '~') s = folder_ + "Vidéos/" + s.substr(1);
        return s;
    };
    transcoda::StartupPreferences p = transcoda::ReadStartupPreferences(folder_);
    EXPECT_EQ(p.FileFound, c.file.has_value());
    EXPECT_EQ(p.SourceFileName, expand(c.source));
    EXPECT_EQ(p.DestinationFileName, expand(c.destination));
    EXPECT_EQ(p.FormatIndex, c.format);
    EXPECT_EQ(p.ErrorText, c.error);
    EXPECT_EQ(p.DeriveOutputName(), c.error.empty());
    EXPECT_EQ(transcoda::ReadLanguagePreference(folder_), c.language);
    EXPECT_EQ(transcoda::ReadItemsAtOncePreference(folder_), c.itemsAtOnce);
}

const char kDefaultOut[] = "~Sans titre.avi";

INSTANTIATE_TEST_SUITE_P(
    Cases, StartupRead,
    testing::Values(
        StartCase{"NoFileNoDefaults", std::nullopt, "", "", -1, ""},
        StartCase{"EmptyFileGivesDefaults", "", "~", kDefaultOut, 5, ""},
        StartCase{"HeaderOnlyGivesDefaults", "[Visual]\n", "~", kDefaultOut, 5, ""},
        StartCase{"StoredValues",
                  "[Visual]\nsourceFileName=/v/in put.mkv\ndestinationFileName=/v/out.avi\ndestinationFormat=12\n",
                  "/v/in put.mkv", "/v/out.avi", 12, ""},
        StartCase{"EmptyValuesGiveDefaults",
                  "[Visual]\nsourceFileName=\ndestinationFileName=\ndestinationFormat=\n",
                  "~", kDefaultOut, 5, ""},
        StartCase{"FirstAndLastFormats", "[Visual]\ndestinationFormat=0\n", "~", kDefaultOut, 0, ""},
        StartCase{"LastFormat", "[Visual]\ndestinationFormat=39\n", "~", kDefaultOut, 39, ""},
        StartCase{"PastTheEndSelectsNothing", "[Visual]\ndestinationFormat=40\n", "~", kDefaultOut, -1, ""},
        StartCase{"NoSelectionStored", "[Visual]\ndestinationFormat=-1\n", "~", kDefaultOut, -1, ""},
        StartCase{"SignedFormat", "[Visual]\ndestinationFormat=+7\n", "~", kDefaultOut, 7, ""},
        StartCase{"WordIsAnError", "[Visual]\nsourceFileName=/i.avi\ndestinationFileName=/o.avi\ndestinationFormat=abc\n",
                  "/i.avi", "/o.avi", -1, "'abc' n'est pas une valeur entière correcte"},
        StartCase{"FractionIsAnError", "[Visual]\ndestinationFormat=1.5\n", "~", kDefaultOut, -1,
                  "'1.5' n'est pas une valeur entière correcte"},
        StartCase{"TrailingLettersAreAnError", "[Visual]\ndestinationFormat=12abc\n", "~", kDefaultOut, -1,
                  "'12abc' n'est pas une valeur entière correcte"},
        StartCase{"OverflowIsAnError", "[Visual]\ndestinationFormat=99999999999\n", "~", kDefaultOut, -1,
                  "'99999999999' n'est pas une valeur entière correcte"},
        StartCase{"HandEditedOddCaseAndOtherSections",
                  "; edited by hand\r\n[Window]\r\nsourceFileName=/wrong.avi\r\n\r\n[VISUAL]\r\n"
                  "  SourceFILENAME = \"/my videos/a.mov\" \r\nDESTINATIONFORMAT= 33\r\n[Other]\r\nx=1\r\n",
                  "/my videos/a.mov", kDefaultOut, 33, ""},
        StartCase{"ChosenLanguage", "[Visual]\n[Language]\nlanguage=EN\n", "~", kDefaultOut, 5, "", "EN"},
        StartCase{"UnknownLanguageIsNoChoice", "[Visual]\ndestinationFormat=2\n[Language]\nlanguage=de\n", "~", kDefaultOut, 2, ""},
        StartCase{"TwoItemsAtOnce", "[Visual]\n[Options]\nitemsAtOnce=2\n", "~", kDefaultOut, 5, "", "", 2},
        // A value that is no whole number in range is one at a time, never an error box.
        StartCase{"ItemsAtOnceNotANumber", "[Visual]\n[Options]\nitemsAtOnce=two\n", "~", kDefaultOut, 5, ""},
        StartCase{"ItemsAtOnceOutOfRange", "[Visual]\n[Options]\nitemsAtOnce=9\n", "~", kDefaultOut, 5, ""},
        StartCase{"NoItemsAtOnce", "[Visual]\n[Options]\nitemsAtOnce=0\n", "~", kDefaultOut, 5, ""}),
    [](const testing::TestParamInfo<StartCase>& i) { return std::string(i.param.name); });

// The language a front end starts in: TRANSCODA_LANGUAGE, then the user's choice, then
// the first locale variable set.
TEST(StartLanguage, AskedThenChosenThenTheDesktops) {
    struct Case {
        const char* asked;  // TRANSCODA_LANGUAGE; nullptr: unset
        const char* chosen;
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        const char* expected;
    };
    const Case cases[] = {
        {nullptr, "", nullptr, nullptr, nullptr, "FR"},
        {nullptr, "", nullptr, nullptr, "en_US.UTF-8", "EN"},
        {nullptr, "", nullptr, nullptr, "fr_CA.UTF-8", "FR"},
        {nullptr, "", nullptr, nullptr, "fr", "FR"},
        {nullptr, "", nullptr, nullptr, "C", "FR"},
        {nullptr, "", nullptr, nullptr, "C.UTF-8", "FR"},
        {nullptr, "", nullptr, nullptr, "POSIX", "FR"},
        {nullptr, "", nullptr, nullptr, "de_DE@euro", "EN"},
        {nullptr, "", nullptr, nullptr, "", "FR"},
        {nullptr, "", "en_GB.UTF-8", "fr_FR.UTF-8", "fr_FR.UTF-8", "EN"},
        {nullptr, "", "", "en_GB.UTF-8", "fr_FR.UTF-8", "EN"},
        {nullptr, "", nullptr, "fr_BE", "en_US", "FR"},
        {nullptr, "EN", nullptr, nullptr, "fr_FR.UTF-8", "EN"},
        {nullptr, "FR", nullptr, nullptr, "en_US.UTF-8", "FR"},
        {nullptr, "de", nullptr, nullptr, "en_US.UTF-8", "EN"},
        {"FR", "EN", nullptr, nullptr, "en_US.UTF-8", "FR"},
        {"EN", "FR", nullptr, nullptr, "fr_FR.UTF-8", "EN"},
        {"en", "", nullptr, nullptr, "fr_FR.UTF-8", "FR"},
    };
    auto set = [](const char* name, const char* value) {
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    };
    std::vector<std::pair<const char*, std::optional<std::string>>> before;
    for (const char* name : {"TRANSCODA_LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"})
        before.emplace_back(name, std::getenv(name) ? std::optional<std::string>(std::getenv(name)) : std::nullopt);
    for (const Case& c : cases) {
        set("TRANSCODA_LANGUAGE", c.asked);
        set("LC_ALL", c.lcAll);
        set("LC_MESSAGES", c.lcMessages);
        set("LANG", c.lang);
        EXPECT_EQ(transcoda::StartLanguage(c.chosen), c.expected)
            << (c.asked ? c.asked : "-") << " " << c.chosen << " " << (c.lcAll ? c.lcAll : "-") << " "
            << (c.lcMessages ? c.lcMessages : "-") << " " << (c.lang ? c.lang : "-");
    }
    for (const auto& [name, value] : before) set(name, value ? value->c_str() : nullptr);
}

TEST_F(PreferencesTest, InputPickCreatesTheFileThenOutputPickAddsToIt) {
    auto input = transcoda::WriteSourceFilePreference(folder_, "/v/é film.avi");
    EXPECT_EQ(input.Outcome, PreferencesWrite::Written);
    EXPECT_EQ(Contents(), "[Visual]\nsourceFileName=/v/é film.avi\n");

    auto output = transcoda::WriteDestinationFilePreference(folder_, "/v/out.flv");
    EXPECT_EQ(output.Outcome, PreferencesWrite::Written);
    EXPECT_EQ(Contents(), "[Visual]\nsourceFileName=/v/é film.avi\ndestinationFileName=/v/out.flv\n");

    auto p = transcoda::ReadStartupPreferences(folder_);
    EXPECT_EQ(p.SourceFileName, "/v/é film.avi");
    EXPECT_EQ(p.DestinationFileName, "/v/out.flv");
    EXPECT_EQ(p.FormatIndex, 5);
}

TEST_F(PreferencesTest, WritesThatNeedAnExistingFileCreateNothing) {
    EXPECT_EQ(transcoda::WriteDestinationFilePreference(folder_, "/v/out.avi").Outcome, PreferencesWrite::NoFile);
    EXPECT_EQ(transcoda::WriteConversionStartPreferences(folder_, "/v/out.avi", 3).Outcome,
              PreferencesWrite::NoFile);
    EXPECT_EQ(Contents(), std::nullopt);
    EXPECT_TRUE(fs::is_empty(root_ / "B"));
    EXPECT_FALSE(fs::exists(root_ / "config"));
}

TEST_F(PreferencesTest, ConversionStartStoresOutputThenFormat) {
    Put("[Visual]\nsourceFileName=/in.avi\n");
    auto r = transcoda::WriteConversionStartPreferences(folder_, "/out/x.mpg", 3);
    EXPECT_EQ(r.Outcome, PreferencesWrite::Written);
    EXPECT_EQ(Contents(), "[Visual]\nsourceFileName=/in.avi\ndestinationFileName=/out/x.mpg\ndestinationFormat=3\n");

    // nothing selected: "-1" is stored and the next start selects nothing, silently
    r = transcoda::WriteConversionStartPreferences(folder_, "/out/y.avi", -1);
    EXPECT_EQ(r.Outcome, PreferencesWrite::Written);
    auto p = transcoda::ReadStartupPreferences(folder_);
    EXPECT_EQ(p.DestinationFileName, "/out/y.avi");
    EXPECT_EQ(p.FormatIndex, -1);
    EXPECT_TRUE(p.ErrorText.empty());
}

TEST_F(PreferencesTest, HandEditedFileKeepsItsOtherContents) {
    const std::string before =
        "; my notes\r\n[Window]\r\nleft=10\r\n\r\n[visual]\r\nDESTINATIONFILENAME=/old.avi\r\n"
        "strange line without equals\r\n\r\n[Tail]\r\nz=9";
    Put(before);
    ASSERT_TRUE(transcoda::WriteConversionStartPreferences(folder_, "/new.avi", 20).Ok());
    ASSERT_TRUE(transcoda::WriteSourceFilePreference(folder_, "/src.avi").Ok());
    ASSERT_TRUE(transcoda::WriteItemsAtOncePreference(folder_, 2).Ok());
    EXPECT_EQ(Contents(),
              "; my notes\r\n[Window]\r\nleft=10\r\n\r\n[visual]\r\nDESTINATIONFILENAME=/new.avi\r\n"
              "strange line without equals\r\ndestinationFormat=20\r\nsourceFileName=/src.avi\r\n\r\n"
              "[Tail]\r\nz=9\r\n[Options]\r\nitemsAtOnce=2\r\n");
    EXPECT_EQ(transcoda::ReadItemsAtOncePreference(folder_), 2);
}

TEST_F(PreferencesTest, ConfigFolderThatCannotBeMadeIsReportedForTheErrorBox) {
    std::ofstream(folder_ + "config") << "a file where the config folder should be";
    file_ = folder_ + "config/transcoda/applicationUserPreferences.ini";
    for (const char* language : {"FR", "EN"}) {
        transcoda::App().CurrentLanguage = language;
        auto r = transcoda::WriteSourceFilePreference(folder_, "/v/in.avi");
        EXPECT_EQ(r.Outcome, PreferencesWrite::Failed);
        EXPECT_FALSE(r.Ok());
        EXPECT_NE(r.ErrorText.find(file_), std::string::npos) << r.ErrorText;
        EXPECT_NE(r.ErrorText.find(language == std::string("EN") ? "Unable" : "Impossible"), std::string::npos);
    }
    EXPECT_TRUE(fs::is_regular_file(folder_ + "config"));
    // the other writes find no file and do nothing
    EXPECT_EQ(transcoda::WriteDestinationFilePreference(folder_, "/o.avi").Outcome, PreferencesWrite::NoFile);
    EXPECT_EQ(transcoda::WriteConversionStartPreferences(folder_, "/o.avi", 1).Outcome, PreferencesWrite::NoFile);
    EXPECT_FALSE(transcoda::ReadStartupPreferences(folder_).FileFound);
}

TEST_F(PreferencesTest, PathThatCannotBeStoredLeavesTheFileAlone) {
    const std::string before = "[Visual]\nsourceFileName=/in.avi\n";
    Put(before);
    auto r = transcoda::WriteSourceFilePreference(folder_, "/odd\nname.avi");
    EXPECT_EQ(r.Outcome, PreferencesWrite::Failed);
    EXPECT_FALSE(r.ErrorText.empty());
    EXPECT_EQ(Contents(), before);
}

TEST_F(PreferencesTest, FullDiskDuringAWriteKeepsTheOldFile) {
    const std::string before = "[Visual]\nsourceFileName=/in.avi\ndestinationFileName=/out.avi\ndestinationFormat=4\n";
    Put(before);
    rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 20;
    setrlimit(RLIMIT_FSIZE, &small);
    auto atStart = transcoda::WriteConversionStartPreferences(folder_, "/a/much/longer/output/path.avi", 7);
    auto atPick = transcoda::WriteSourceFilePreference(folder_, "/another/input.avi");
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(atStart.Outcome, PreferencesWrite::Failed);
    EXPECT_EQ(atPick.Outcome, PreferencesWrite::Failed);
    EXPECT_EQ(Contents(), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(root_ / "config/transcoda"), fs::directory_iterator()), 1);
    EXPECT_EQ(transcoda::ReadStartupPreferences(folder_).FormatIndex, 4);
}

}  // namespace
