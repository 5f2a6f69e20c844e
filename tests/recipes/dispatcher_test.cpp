#include "recipes/dispatcher.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "recipe_fixture.h"
#include "recipes/folder_error.h"
#include "recipes/format_catalogue.h"

namespace transcoda::testing {
namespace {

using Lines = std::vector<std::string>;

Lines One(const std::string& tool) { return {"probe IN", "probe IN", tool + " IN OUT"}; }

Lines HdAvi() {
    return {"utilitymff3.exe IN B/T.mp3", "probe IN", "probe IN", "utilitymff3.exe IN B/T.avi",
            "utilitymen.exe B/T.avi OUT B/T.mp3"};
}

Lines Reencode(const std::string& tool) {
    return {"utilitymff3.exe IN B/T.wma",
            "probe IN",
            "probe IN",
            "utilitymff3.exe IN B/T.avi",
            "utilitymen.exe B/T.avi B/T-2.avi B/T.wma",
            "probe B/T-2.avi",
            "probe B/T-2.avi",
            tool + " B/T-2.avi OUT"};
}

Lines Downscale() {
    return {"utilitymff3.exe IN B/L.avi", "probe B/L.avi", "probe B/L.avi", "utilitymffx.exe B/L.avi OUT"};
}

Lines Dvd(const std::string& encoder) {
    return {"probe IN", "probe IN", encoder + " IN OUT/DVD-Disc1/tmpvdv.mpg",
            "probe IN", "probe IN", "utilityoth.exe OUT/DVD-Disc1/tmpvdv.mpg OUT/DVD-Disc1",
            "probe IN", "probe IN", "utilityoth.exe OUT/DVD-Disc1"};
}

struct RecipeCase {
    int entry;
    const char* input;  // file name of the input
    Lines runs;
};

class Dispatcher : public RecipeFixture {
protected:
    void SetUp() override {
        RecipeFixture::SetUp();
        App().SyncDelay = "-250";
        App().ExtractionStart = "00:00:01";
        App().ExtractionLength = "00:00:02";
    }
    std::string OutputFor(int entry) const {
        return entry == 32 || entry == 33 ? root + "out/dvd/" : root + "out/result.out";
    }
    // Runs one request with the fake tools writing every file they name.
    void Dispatch(int entry, const std::string& input) {
        input_ = input;
        if (!onRun) onRun = [this](const std::string& line) { CreateNamedFiles(line, input_); };
        DispatchConversion(input, OutputFor(entry), FormatLabel(entry));
    }
    std::string input_;
};

TEST_F(Dispatcher, EveryRecipeRunsItsStepsForEachInputClassAndLeavesNoIntermediate) {
    const RecipeCase cases[] = {
        {0, "clip.avi", HdAvi()},
        {1, "clip.MTS", HdAvi()},
        {2, "clip.avi", One("utilitymff3.exe")},
        {2, "clip.wmv", One("utilitymen.exe")},
        {3, "clip.3gp", One("utilitymen.exe")},
        {3, "clip.avi", One("utilitymff3.exe")},
        {4, "clip.ASF", One("utilitymen.exe")},
        {5, "clip.3g2", One("utilitymen.exe")},
        {5, "clip.mkv", One("utilitymff3.exe")},
        {6, "clip.avi", One("utilitymff3.exe")},
        {6, "clip.m2ts", One("utilitymff3.exe")},
        {7, "clip.avi", One("utilitymen2.exe")},
        {7, "clip.m2ts", Reencode("utilitymen2.exe")},
        {8, "clip.avi", One("utilitymff3.exe")},
        {9, "clip.flv", One("utilitymen.exe")},
        {9, "clip.tod", Reencode("utilitymen.exe")},
        {10, "clip.avi", One("utilitymff3.exe")},
        {11, "clip.avi", One("utilitymff3.exe")},
        {12, "clip.mkv", One("utilitymen2.exe")},
        {12, "clip.MTS", Reencode("utilitymen2.exe")},
        {13, "clip.avi", One("utilitymff3.exe")},
        {13, "clip.mts", One("utilitymff3.exe")},
        {14, "clip.avi", One("utilitymffx.exe")},
        {15, "clip.avi", One("utilitymffx.exe")},
        {16, "clip.avi", One("utilitymffx.exe")},
        {17, "clip.avi", One("utilitymffx.exe")},
        {18, "clip.avi", One("utilitymffx.exe")},
        {18, "clip.m2t", Downscale()},
        {19, "clip.m2ts", Downscale()},
        {20, "clip.avi", One("utilitymff3.exe")},
        {21, "clip.avi", One("utilitymff3.exe")},
        {22, "clip.avi", One("utilitymff3.exe")},
        {23, "clip.avi", One("utilitymff3.exe")},
        {24, "clip.avi", One("utilitymffx.exe")},
        {24, "clip.mts", Downscale()},
        {25, "clip.mov", One("utilitymffx.exe")},
        {25, "clip.MTS", Downscale()},
        {26, "clip.avi", One("utilitymffx.exe")},
        {26, "clip.tod", Downscale()},
        {27, "clip.avi", One("utilitymffx.exe")},
        {27, "clip.mts", Downscale()},
        {28, "clip.avi", One("utilitymffx.exe")},
        {28, "clip.mts", Downscale()},
        {29, "clip.avi", One("utilitymffx.exe")},
        {29, "clip.mts", Downscale()},
        {30, "clip.avi", One("utilitymff3.exe")},
        {30, "clip.mts", One("utilitymff3.exe")},
        {31, "clip.avi", One("utilitymffx.exe")},
        {31, "clip.mts", Downscale()},
        {32, "clip.avi", Dvd("utilitymff3.exe")},
        {32, "clip.WMV", Dvd("utilitymffx.exe")},
        {32, "clip.asf", Dvd("utilitymffx.exe")},
        {33, "clip.wmv", Dvd("utilitymff3.exe")},
        {34, "song.wav", One("utilitymff3.exe")},
        {34, "song.flv", One("utilitymff.exe")},
        {35, "song.F4V", One("utilitymff.exe")},
        {35, "song.wav", One("utilitymff3.exe")},
        {36, "song.f4p", One("utilitymff.exe")},
        {36, "clip.avi", One("utilitymff3.exe")},
        {37, "clip.avi", One("utilitymen2.exe")},
        {38, "clip.avi", One("utilitymen.exe")},
        {39, "clip.avi", One("utilitymen2.exe")},
        {39, "clip.M2TS", One("utilitymff3.exe")},
    };
    std::set<int> covered;
    for (const RecipeCase& c : cases) {
        runs.clear();
        const std::string input = root + "in dir/" + c.input;
        Dispatch(c.entry, input);
        EXPECT_EQ(Described(input, OutputFor(c.entry)), c.runs) << "entry " << c.entry << " " << c.input;
        EXPECT_EQ(LeftIntermediates(), Lines{}) << "entry " << c.entry << " " << c.input;
        EXPECT_FALSE(fs::exists(root + "out/dvd/DVD-Disc1/tmpvdv.mpg"));
        covered.insert(c.entry);
    }
    EXPECT_EQ(covered.size(), 40u);
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(Dispatcher, CamcorderDownscaleUsesTheEntrysIntermediateSize) {
    const std::pair<int, const char*> sizes[] = {{18, "848x480"}, {19, "848x480"}, {24, "320x240"},
                                                 {25, "640x480"}, {26, "640x420"}, {27, "848x480"},
                                                 {28, "368x208"}, {29, "480x272"}, {31, "848x480"}};
    for (const auto& [entry, size] : sizes) {
        runs.clear();
        Dispatch(entry, root + "cam.MTS");
        ASSERT_FALSE(runs.empty());
        EXPECT_NE(runs.front().find(std::string(" -s ") + size + " "), std::string::npos) << entry;
    }
    // The DVD QuickTime preset shrinks to 848x480 and then scales to 720x576 itself.
    EXPECT_NE(runs.size(), 0u);
    runs.clear();
    Dispatch(19, root + "cam.m2ts");
    EXPECT_NE(runs.back().find(" -s 720x576 "), std::string::npos);
}

TEST_F(Dispatcher, TheDownscaleIntermediateNeverTakesTheTempBaseName) {
    App().TempBaseName = "tmp1111";
    Lines names{"tmp1111", "tmp1111", "tmp2222"};
    SetTempNameHook([&] {
        std::string name = names.front();
        names.erase(names.begin());
        return name;
    });
    Dispatch(27, root + "cam.mts");
    ASSERT_FALSE(runs.empty());
    EXPECT_NE(runs.front().find(helper + "tmp2222.avi"), std::string::npos) << runs.front();
    EXPECT_EQ(App().TempBaseName, "tmp1111");
}

struct StopCase {
    int entry;
    const char* input;
    int stopAtRun;  // the fake tool of this run (1-based) is ended by Stop
    Lines runs;
};

TEST_F(Dispatcher, StopSkipsTheStepsThatTestTheRunningFlagAndStillDeletesIntermediates) {
    const StopCase cases[] = {
        // Stopped before the recipe starts: only the steps without the test run.
        {0, "clip.avi", 0, {"utilitymff3.exe IN B/T.mp3"}},
        {3, "clip.avi", 0, One("utilitymff3.exe")},
        {3, "clip.wmv", 0, One("utilitymen.exe")},
        {6, "clip.avi", 0, One("utilitymff3.exe")},
        {7, "clip.avi", 0, One("utilitymen2.exe")},
        {7, "clip.mts", 0, {"utilitymff3.exe IN B/T.wma"}},
        {13, "clip.avi", 0, {}},
        {18, "clip.avi", 0, {}},
        {18, "clip.mts", 0, {}},
        {32, "clip.avi", 0, {}},
        {35, "song.flv", 0, One("utilitymff.exe")},
        {37, "clip.avi", 0, One("utilitymen2.exe")},
        {38, "clip.avi", 0, {}},
        {39, "clip.avi", 0, {}},
        // Stopped during a step.
        {0, "clip.avi", 1, {"utilitymff3.exe IN B/T.mp3"}},
        {0, "clip.avi", 4, {"utilitymff3.exe IN B/T.mp3", "probe IN", "probe IN", "utilitymff3.exe IN B/T.avi"}},
        {12, "clip.m2ts", 4, {"utilitymff3.exe IN B/T.wma", "probe IN", "probe IN", "utilitymff3.exe IN B/T.avi"}},
        {12, "clip.m2ts", 5, {"utilitymff3.exe IN B/T.wma", "probe IN", "probe IN", "utilitymff3.exe IN B/T.avi",
                              "utilitymen.exe B/T.avi B/T-2.avi B/T.wma"}},
        {25, "clip.mts", 1, {"utilitymff3.exe IN B/L.avi"}},
        // The DVD steps after the encoding do not test the flag.
        {33, "clip.avi", 3, Dvd("utilitymff3.exe")},
    };
    for (const StopCase& c : cases) {
        runs.clear();
        const std::string input = root + c.input;
        const std::string output = OutputFor(c.entry);
        fs::create_directories(root + "out");
        if (c.entry != 33) Touch(output);
        App().ConversionRunning = c.stopAtRun != 0;
        onRun = [&](const std::string& line) {
            CreateNamedFiles(line, input);
            if (static_cast<int>(runs.size()) == c.stopAtRun) App().ConversionRunning = false;
        };
        Dispatch(c.entry, input);
        EXPECT_EQ(Described(input, output), c.runs) << "entry " << c.entry << " " << c.input;
        EXPECT_EQ(LeftIntermediates(), Lines{}) << "entry " << c.entry;
        EXPECT_FALSE(fs::exists(root + "out/dvd/DVD-Disc1/tmpvdv.mpg"));
        if (c.entry == 0 && c.stopAtRun == 4) {
            EXPECT_FALSE(fs::exists(output)) << "the HD output was deleted by the stopped step";
        }
    }
}

TEST_F(Dispatcher, UnsupportedInputsAreRefusedWithAMessageAndTouchNothing) {
    struct Case {
        const char* input;
        const char* language;
        const char* extension;
        const char* message;
    };
    const Case cases[] = {
        {"/in/photo.jpg", "FR", "jpg",
         "L'extension du fichier source n'est pas supportée actuelement, merci de reporter ce manque à "
         "transcoda.example.org"},
        {"/in/clip", "EN", "",
         "The file's extension of the input file is not supported yet, please contact transcoda.example.org"},
        {"", "FR", "null",
         "L'extension du fichier source n'est pas supportée actuelement, merci de reporter ce manque à "
         "transcoda.example.org"},
        {"/in.d/clip", "EN", "",
         "The file's extension of the input file is not supported yet, please contact transcoda.example.org"},
    };
    const std::string output = root + "kept.avi";
    Touch(output);
    for (const Case& c : cases) {
        window.calls.clear();
        window.log.clear();
        App().CurrentLanguage = c.language;
        DispatchConversion(c.input, output, FormatLabel(0));
        EXPECT_EQ(window.Texts("message"), Lines{c.message}) << c.input;
        const std::string e = std::string("\"") + c.extension + "\"";
        EXPECT_EQ(window.log, (Lines{"** 01/02/2026 à 10:11:12 -- L'extension du fichier à transformer est : " + e,
                                     ">> 01/02/2026 à 10:11:12 -- L'extension du fichier à transformer (" + e +
                                         ") n'est pas supportée."}));
    }
    EXPECT_TRUE(runs.empty());
    EXPECT_TRUE(fs::exists(output));
}

TEST_F(Dispatcher, UnknownLabelsAreRefusedWithAMessage) {
    const std::string label = FormatLabel(3).substr(1);
    for (const char* language : {"FR", "EN"}) {
        window.calls.clear();
        window.log.clear();
        App().CurrentLanguage = language;
        DispatchConversion(root + "clip.avi", root + "out.mpeg", label);
        EXPECT_EQ(window.Texts("message"),
                  Lines{std::string(language) == "FR"
                            ? "Le format cible n'est pas encore supporté, merci de reporter ce manque à "
                              "transcoda.example.org"
                            : "The selected format is not supported yet, please contact transcoda.example.org"});
        EXPECT_EQ(window.log.back(),
                  ">> 01/02/2026 à 10:11:12 -- Le format cible (\"" + label + "\") n'est pas encore supportée.");
    }
    EXPECT_TRUE(runs.empty());
}

TEST_F(Dispatcher, SpecialPresetsWithoutTheirValuesOnlyLog) {
    App().SyncDelay = "-1000";
    DispatchConversion(root + "clip.avi", root + "out.avi", FormatLabel(38));
    App().ExtractionStart = "NOVALUE";
    DispatchConversion(root + "clip.avi", root + "out.avi", FormatLabel(39));
    App().ExtractionStart = "00:00:01";
    App().ExtractionLength = "NOVALUE";
    DispatchConversion(root + "clip.mts", root + "out.mpeg", FormatLabel(39));
    EXPECT_TRUE(runs.empty());
    EXPECT_TRUE(window.messages.empty());
    Lines plain;
    for (const auto& line : window.log) {
        if (line.starts_with("-- ")) plain.push_back(line);
    }
    EXPECT_EQ(plain, (Lines{"-- Dans le thread on va lancer la synchro avec le delai de :<-1000>",
                            "-- Dans le thread on va lancer l'extraction avec la position de depart :<NOVALUE> et "
                            "le endpos de <00:00:02>",
                            "-- Dans le thread on va lancer l'extraction avec la position de depart :<00:00:01> et "
                            "le endpos de <NOVALUE>"}));
}

TEST_F(Dispatcher, AFolderErrorEndsTheRecipeAndStillDeletesItsIntermediates) {
    Touch(root + "plainfile");
    onRun = [&](const std::string& line) { CreateNamedFiles(line, root + "clip.avi"); };
    EXPECT_THROW(DispatchConversion(root + "clip.avi", root + "plainfile/x.avi", FormatLabel(0)),
                 FolderCreationError);
    EXPECT_EQ(Described(root + "clip.avi", root + "plainfile/x.avi"),
              (Lines{"utilitymff3.exe IN B/T.mp3", "probe IN", "probe IN"}));
    EXPECT_EQ(LeftIntermediates(), Lines{});

    runs.clear();
    fs::create_directories(root + "dvd");
    Touch(root + "dvd/DVD-Disc1");
    try {
        DispatchConversion(root + "clip.avi", root + "dvd/", FormatLabel(32));
        ADD_FAILURE() << "no error";
    } catch (const FolderCreationError& error) {
        EXPECT_STREQ(error.what(), "Impossible de créer le répertoire associé au DVD");
    }
    EXPECT_EQ(runs.size(), 2u) << "only the probes of the encoding step";
}

TEST_F(Dispatcher, ADvdOutputWithoutItsFinalSeparatorIsTakenAsTheFolder) {
    DispatchConversion(root + "clip.avi", root + "dvd", FormatLabel(33));
    EXPECT_TRUE(fs::is_directory(root + "dvd/DVD-Disc1"));
    EXPECT_EQ(Described(root + "clip.avi", root + "dvd/"), Dvd("utilitymff3.exe"));
}

TEST_F(Dispatcher, AFileIsNeverConvertedOntoItself) {
    fs::create_directories(root + "v");
    Touch(root + "v/clip.avi");
    App().LastExitStatus = 0;
    for (int entry : {37, 38, 0}) {
        DispatchConversion(root + "v/clip.avi", root + "v/../v/clip.avi", FormatLabel(entry));
    }
    EXPECT_TRUE(runs.empty());
    EXPECT_TRUE(fs::exists(root + "v/clip.avi"));
    EXPECT_EQ(App().LastExitStatus, -1);
    EXPECT_TRUE(window.messages.empty());
}

TEST(TempNames, FourFreshDigits) {
    std::set<std::string> seen;
    for (int i = 0; i < 200; ++i) {
        const std::string name = NewTempName();
        EXPECT_TRUE(std::regex_match(name, std::regex("tmp[0-9]{4}"))) << name;
        seen.insert(name);
    }
    EXPECT_GT(seen.size(), 100u);
}

}  // namespace
}  // namespace transcoda::testing
