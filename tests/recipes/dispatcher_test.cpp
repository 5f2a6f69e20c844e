#include "recipes/dispatcher.h"
#include "recipes/temp_names.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <regex>
#include <set>

#include "recipe_fixture.h"
#include "exec/pending_outputs.h"
#include "exec/request_timing.h"
#include "recipes/folder_error.h"
#include "recipes/format_catalogue.h"
#include "recipes/input_read_by_step.h"

namespace transcoda::testing {
namespace {

using Lines = std::vector<std::string>;

// Every request first has its input described by the probe's tool.
Lines Read(Lines steps) {
    steps.insert(steps.begin(), "probe IN");
    return steps;
}

Lines One(const std::string& tool) { return Read({"probe IN", "probe IN", tool + " IN OUT~"}); }

Lines HdAvi() {
    return Read({"utilitymff3.exe IN B/T.mp3", "probe IN", "probe IN", "utilitymff3.exe IN B/T.avi",
                 "utilitymen.exe B/T.avi OUT~ B/T.mp3"});
}

Lines Reencode(const std::string& tool) {
    return Read({"utilitymff3.exe IN B/T.wma",
                 "probe IN",
                 "probe IN",
                 "utilitymff3.exe IN B/T.avi",
                 "utilitymen.exe B/T.avi B/T-2.avi B/T.wma",
                 "probe B/T-2.avi",
                 "probe B/T-2.avi",
                 tool + " B/T-2.avi OUT~"});
}

Lines Downscale() {
    return Read({"utilitymff3.exe IN B/L.avi", "probe B/L.avi", "probe B/L.avi", "utilitymffx.exe B/L.avi OUT~"});
}

Lines Dvd(const std::string& encoder) {
    return Read({"probe IN", "probe IN", encoder + " IN OUT/~/DVD-Disc1/tmpvdv.mpg",
                 "probe IN", "probe IN", "utilityoth.exe OUT/~/DVD-Disc1/tmpvdv.mpg OUT/~/DVD-Disc1",
                 "probe IN", "probe IN", "utilityoth.exe OUT/~/DVD-Disc1"});
}

struct RecipeCase {
    int entry;
    const char* input;  // file name of the input
    Lines runs;
};

class Dispatcher : public RecipeFixture {
protected:
    std::string OutputFor(int entry) const {
        return entry == 32 || entry == 33 ? root + "out/dvd/" : root + "out/result.out";
    }
    // Runs one request with the fake tools writing every file they name.
    DispatchOutcome Dispatch(int entry, const std::string& input) { return Dispatch(entry, input, {}, session); }
    // The same in a session of the test's own.
    DispatchOutcome Dispatch(int entry, const std::string& input, const SpecialValues&, ConversionSession& in) {
        input_ = input;
        if (!onRun) onRun = [this](const std::string& line) { CreateNamedFiles(line, input_); };
        return DispatchConversion(in, Request(input, OutputFor(entry), FormatLabel(entry), special));
    }
    std::string input_;
    SpecialValues special{"-0.25", "00:00:01", "00:00:02"};
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
    fs::create_directories(root + "out");
    // The time estimate is told of every step the recipe runs, one planned step per tool
    // run that is not a probe.
    size_t plannedSteps = 0, timedSteps = 0;
    session.Timing().SetTap([&](const EstimateEvent& e) {
        if (e.What == EstimateEvent::Kind::Plan) plannedSteps = e.Weights.size();
        if (e.What == EstimateEvent::Kind::Step) ++timedSteps;
    });
    for (const RecipeCase& c : cases) {
        runs.clear();
        plannedSteps = timedSteps = 0;
        const std::string input = root + "in dir/" + c.input;
        Write(root + "out/result.out", "old");
        // The extraction writes the two seconds asked for.
        outcomeOf = [&](const std::string& line) {
            return FakeSuccess(line, ClipReport(c.entry == 39 && !IsProbeLine(line) ? 2.0 : 3.0));
        };
        const DispatchOutcome outcome = Dispatch(c.entry, input);
        EXPECT_EQ(outcome.Outcome, DispatchOutcome::Result::Written) << c.entry << " " << outcome.Reason;
        if (c.entry != 32 && c.entry != 33) {
            EXPECT_EQ(Contents(root + "out/result.out"), "") << "replaced";
        }
        EXPECT_EQ(Described(input, OutputFor(c.entry)), c.runs) << "entry " << c.entry << " " << c.input;
        const auto toolRuns = std::count_if(c.runs.begin(), c.runs.end(), [](auto& r) { return !r.starts_with("probe"); });
        EXPECT_EQ(timedSteps, static_cast<size_t>(toolRuns)) << "entry " << c.entry << " " << c.input;
        EXPECT_EQ(plannedSteps, timedSteps) << "entry " << c.entry << " " << c.input;
        EXPECT_EQ(LeftIntermediates(), Lines{}) << "entry " << c.entry << " " << c.input;
        EXPECT_FALSE(fs::exists(root + "out/dvd/DVD-Disc1/tmpvdv.mpg"));
        covered.insert(c.entry);
    }
    session.Timing().SetTap({});
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
        EXPECT_NE(runs.at(1).find(std::string(" -s ") + size + " "), std::string::npos) << entry;
    }
    // The DVD QuickTime preset shrinks to 848x480 and then scales to 720x576 itself.
    EXPECT_NE(runs.size(), 0u);
    runs.clear();
    Dispatch(19, root + "cam.m2ts");
    EXPECT_NE(runs.back().find(" -s 720x576 "), std::string::npos);
}

TEST_F(Dispatcher, TheDownscaleIntermediateNeverTakesTheTempBaseName) {
    session.TempBaseName = "tmp1111";
    Lines names{"tmp1111", "tmp1111", "tmp2222"};
    session.TempNames = [&] {
        std::string name = names.front();
        names.erase(names.begin());
        return name;
    };
    Dispatch(27, root + "cam.mts");
    ASSERT_GT(runs.size(), 1u);
    EXPECT_NE(runs[1].find(helper + "tmp2222.avi"), std::string::npos) << runs[1];
    EXPECT_EQ(session.TempBaseName, "tmp1111");
}

TEST_F(Dispatcher, IntermediateNamesAreDrawnAgainWhileAnyOfTheirFilesExists) {
    // A stale intermediate of an earlier run must never be read as a fresh one.
    Touch(helper + "tmp1111-2.avi");
    Touch(helper + "tmp2222.mp3");
    Lines names{"tmp1111", "tmp2222", "tmp3333"};
    session.TempNames = [&] {
        std::string name = names.front();
        names.erase(names.begin());
        return name;
    };
    Dispatch(0, root + "clip.avi");
    EXPECT_EQ(session.TempBaseName, "tmp3333");
    EXPECT_TRUE(fs::exists(helper + "tmp1111-2.avi") && fs::exists(helper + "tmp2222.mp3")) << "not ours to delete";
}

TEST_F(Dispatcher, ANameHeldByOneSessionIsNotDrawnByAnotherUntilReleased) {
    // Sessions converting side by side share the work folder: both may find a name free
    // at once, and only one may take it.
    Lines names{"tmp1111", "tmp1111", "tmp2222", "tmp1111"};
    auto next = [&] {
        std::string name = names.front();
        names.erase(names.begin());
        return name;
    };
    FreeTempName first = NewFreeTempName(helper, {".avi"}, "", next);
    const FreeTempName second = NewFreeTempName(helper, {".avi"}, "", next);
    EXPECT_EQ(first.Name + " " + second.Name, "tmp1111 tmp2222");
    first.Hold.reset();
    EXPECT_EQ(NewFreeTempName(helper, {".avi"}, "", next).Name, "tmp1111");
}

struct StopCase {
    int entry;
    const char* input;
    int stopAtRun;  // the fake tool of this run (1-based) is ended by Stop; 0: stopped before
    Lines runs;
};

TEST_F(Dispatcher, StopEndsTheRecipeAtItsStepDeletesWhatItWroteAndKeepsTheOldOutput) {
    const StopCase cases[] = {
        // Stopped before the request starts: no tool runs at all.
        {0, "clip.avi", 0, {}},
        {3, "clip.wmv", 0, {}},
        {32, "clip.avi", 0, {}},
        {38, "clip.avi", 0, {}},
        // Stopped while the input is read.
        {3, "clip.avi", 1, {"probe IN"}},
        // Stopped during a step: no later step runs.
        {0, "clip.avi", 2, Read({"utilitymff3.exe IN B/T.mp3"})},
        {0, "clip.avi", 5, Read({"utilitymff3.exe IN B/T.mp3", "probe IN", "probe IN", "utilitymff3.exe IN B/T.avi"})},
        {12, "clip.m2ts", 5, Read({"utilitymff3.exe IN B/T.wma", "probe IN", "probe IN", "utilitymff3.exe IN B/T.avi"})},
        {12, "clip.m2ts", 6, Read({"utilitymff3.exe IN B/T.wma", "probe IN", "probe IN", "utilitymff3.exe IN B/T.avi",
                                   "utilitymen.exe B/T.avi B/T-2.avi B/T.wma"})},
        {25, "clip.mts", 2, Read({"utilitymff3.exe IN B/L.avi"})},
        {37, "clip.avi", 4, One("utilitymen2.exe")},
        {33, "clip.avi", 4, Read({"probe IN", "probe IN", "utilitymff3.exe IN OUT/~/DVD-Disc1/tmpvdv.mpg"})},
    };
    for (const StopCase& c : cases) {
        runs.clear();
        const std::string input = root + c.input;
        const std::string output = OutputFor(c.entry);
        fs::create_directories(root + "out/dvd/DVD-Disc1/VIDEO_TS");
        Write(root + "out/dvd/DVD-Disc1/VIDEO_TS/VIDEO_TS.IFO", "old title");
        Write(root + "out/result.out", "old title");
        ConversionSession stopping;
        PlayTools(stopping);
        if (c.stopAtRun == 0) stopping.Stop();
        onRun = [&](const std::string& line) {
            CreateNamedFiles(line, input);
            if (static_cast<int>(runs.size()) == c.stopAtRun) stopping.Stop();
        };
        EXPECT_EQ(Dispatch(c.entry, input, {}, stopping).Outcome, DispatchOutcome::Result::Stopped) << c.entry;
        EXPECT_EQ(Described(input, output), c.runs) << "entry " << c.entry << " " << c.input;
        EXPECT_EQ(LeftIntermediates(), Lines{}) << "entry " << c.entry;
        EXPECT_EQ(Contents(root + "out/result.out"), "old title") << "entry " << c.entry;
        EXPECT_EQ(Contents(root + "out/dvd/DVD-Disc1/VIDEO_TS/VIDEO_TS.IFO"), "old title") << "entry " << c.entry;
    }
}

// A step whose tool fails, is killed from outside, cannot start, or writes something
// other than what the request needs ends the recipe there: no later step runs on what
// it left, the request fails naming the step and its file, and the old output stays.
TEST_F(Dispatcher, AFailedStepEndsTheRecipeAndNamesTheStep) {
    struct Case {
        int entry;
        const char* input;
        int failAtRun;
        ToolOutcome tool;
        Lines runs;
        const char* reason;  // the French reason, with T for TempBaseName
    };
    const StreamReport shortPicture{true, {{StreamKind::Video, 0.6}}};
    const StreamReport silent{true, {{StreamKind::Video, 3.0}}};
    const Case cases[] = {
        {0, "clip.avi", 2, ToolOutcome::Exit(1), Read({"utilitymff3.exe IN B/T.mp3"}),
         "à l'étape « extraction du son » (fichier \"B/T.mp3\") : l'outil s'est terminé avec le code 1"},
        {0, "clip.avi", 5, ToolOutcome::Kill(9),
         Read({"utilitymff3.exe IN B/T.mp3", "probe IN", "probe IN", "utilitymff3.exe IN B/T.avi"}),
         "à l'étape « encodage de l'image » (fichier \"B/T.avi\") : l'outil a été arrêté de l'extérieur par le "
         "signal 9 (SIGKILL)"},
        {0, "clip.avi", 5, ToolOutcome::Exit(0, shortPicture),
         Read({"utilitymff3.exe IN B/T.mp3", "probe IN", "probe IN", "utilitymff3.exe IN B/T.avi"}),
         "à l'étape « encodage de l'image » (fichier \"B/T.avi\") : l'image du fichier écrit dure 0,6 s au "
         "lieu de 3,0 s"},
        {12, "clip.mts", 6, ToolOutcome::Exit(0, StreamReport{}),
         Read({"utilitymff3.exe IN B/T.wma", "probe IN", "probe IN", "utilitymff3.exe IN B/T.avi",
               "utilitymen.exe B/T.avi B/T-2.avi B/T.wma"}),
         "à l'étape « assemblage intermédiaire » (fichier \"B/T-2.avi\") : le fichier écrit ne peut pas être "
         "relu"},
        {3, "clip.avi", 4, ToolOutcome::Exit(0, silent), One("utilitymff3.exe"),
         "à l'étape « conversion » (fichier \"OUT~\") : le fichier écrit ne contient pas de son"},
        {32, "clip.avi", 4, ToolOutcome::NoStart(),
         Read({"probe IN", "probe IN", "utilitymff3.exe IN OUT/~/DVD-Disc1/tmpvdv.mpg"}),
         "à l'étape « encodage DVD » (fichier \"OUT/~/DVD-Disc1/tmpvdv.mpg\") : l'outil n'a pas pu être lancé"},
    };
    for (const Case& c : cases) {
        runs.clear();
        const std::string input = root + c.input;
        const std::string output = OutputFor(c.entry);
        fs::create_directories(root + "out");
        Write(root + "out/result.out", "old");
        outcomeOf = [&](const std::string& line) {
            return static_cast<int>(runs.size()) == c.failAtRun ? c.tool : FakeSuccess(line);
        };
        const DispatchOutcome outcome = Dispatch(c.entry, input);
        EXPECT_EQ(outcome.Outcome, DispatchOutcome::Result::Failed) << c.entry;
        // The reason names the file as the user's paths give it.
        std::string reason = outcome.Reason;
        const auto quote = reason.find('"');
        const auto end = reason.find('"', quote + 1);
        ASSERT_NE(end, std::string::npos) << reason;
        reason.replace(quote + 1, end - quote - 1,
                       Describe("x " + Q(reason.substr(quote + 1, end - quote - 1)), input, output).substr(2));
        EXPECT_EQ(reason, c.reason) << c.entry;
        EXPECT_EQ(Described(input, output), c.runs) << "entry " << c.entry << " " << c.input;
        EXPECT_EQ(LeftIntermediates(), Lines{}) << "entry " << c.entry;
        EXPECT_EQ(Contents(root + "out/result.out"), "old");
        // The DVD folder made for the request goes with it; the folder that held it stays.
        if (c.entry == 32) {
            EXPECT_FALSE(fs::exists(output)) << output;
        }
        EXPECT_TRUE(fs::is_directory(root + "out"));
    }
}

TEST_F(Dispatcher, RequestsThatCannotGiveATrueResultAreRefusedBeforeAnyStep) {
    struct Case {
        int entry;
        StreamReport input;
        SpecialValues special;
        const char* reason;
        const char* language = "EN";
        const char* file = "clip.avi";
    };
    // An input too long to be read by its step: it is read, and refused, before any step.
    Touch(root + "clip.avi");
    fs::resize_file(root + "clip.avi", kInputReadByStepBytes + 1);
    const StreamReport soundOnly{true, {{StreamKind::Audio, 60.0}}};
    const StreamReport briefSound{true, {{StreamKind::Video, 10.0}, {StreamKind::Audio, 0.15}}};
    const StreamReport pictureOnly{true, {{StreamKind::Video, 60.0}}};
    const char* empty = "the input holds no picture and no sound to read: its streams are empty";
    const Case cases[] = {
        {0, StreamReport{}, {}, "the input file cannot be read (unknown format or damaged file)"},
        {3, StreamReport{true, {}}, {}, "the input file cannot be read (unknown format or damaged file)"},
        // An input gone since it was put in the list is not taken for a damaged file.
        {3, StreamReport{}, {}, "the input file no longer exists (moved or deleted)", "EN", "gone.avi"},
        {0, soundOnly, {}, "the input holds only sound, and this output format needs a picture"},
        {12, soundOnly, {}, "the input holds only sound, and this output format needs a picture"},
        {32, soundOnly, {}, "the input holds only sound, and this output format needs a picture"},
        {38, soundOnly, {"-1.25"}, "the input holds only sound, and this output format needs a picture"},
        {34, pictureOnly, {}, "the input holds no sound"},
        // Streams without a single packet: no engine may be left waiting on them.
        {0, StreamReport{true, {{StreamKind::Video, -1.0}}}, {}, empty},
        {36, StreamReport{true, {{StreamKind::Video, -1.0}, {StreamKind::Audio, -1.0}}}, {}, empty},
        {39, ClipReport(60.0), {kNoSyncDelay, "00:01:00", "00:00:05"},
         "the segment to extract starts after the end of the input, which lasts 60.0 s"},
        {38, briefSound, {"0.50"},
         "the lag asked for (0.5 s) is not shorter than the sound of the input, which lasts 0.1 s: none of it "
         "would be left"},
        {38, briefSound, {"0.15"},
         "le décalage demandé (0,1 s) n'est pas plus court que le son du fichier d'entrée, qui dure 0,1 s : il "
         "n'en resterait rien", "FR"},
    };
    for (const Case& c : cases) {
        App().CurrentLanguage = c.language;
        runs.clear();
        inputReport = c.input;
        special = c.special;
        const DispatchOutcome outcome = Dispatch(c.entry, root + c.file);
        EXPECT_EQ(outcome.Outcome, DispatchOutcome::Result::Failed) << c.entry;
        EXPECT_EQ(outcome.Reason, std::string(c.language == std::string("EN") ? "before it began: "
                                                                              : "avant de commencer : ") + c.reason)
            << c.entry;
        EXPECT_EQ(runs.size(), 1u) << "only the description of the input, entry " << c.entry;
        EXPECT_FALSE(fs::exists(root + "out/result.out"));
        EXPECT_EQ(LeftIntermediates(), Lines{});
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
        const DispatchOutcome refused = DispatchConversion(session, Request(c.input, output, FormatLabel(0)));
        EXPECT_EQ(refused.Outcome, DispatchOutcome::Result::Refused);
        EXPECT_EQ(refused.Message, c.message) << c.input;
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
        EXPECT_EQ(DispatchConversion(session, Request(root + "clip.avi", root + "out.mpeg", label)).Message,
                  std::string(std::string(language) == "FR"
                            ? "Le format cible n'est pas encore supporté, merci de reporter ce manque à "
                              "transcoda.example.org"
                            : "The selected format is not supported yet, please contact transcoda.example.org"));
        EXPECT_EQ(window.log.back(),
                  ">> 01/02/2026 à 10:11:12 -- Le format cible (\"" + label + "\") n'est pas encore supportée.");
    }
    EXPECT_TRUE(runs.empty());
}

TEST_F(Dispatcher, SpecialPresetsWithoutTheirValuesOnlyLog) {
    for (const auto& [entry, special] : std::vector<std::pair<int, SpecialValues>>{
             {38, {"-1000", "00:00:01", "00:00:02"}},
             {39, {"-0.25", "NOVALUE", "00:00:02"}},
             {39, {"-0.25", "00:00:01", "NOVALUE"}}}) {
        EXPECT_EQ(DispatchConversion(session, Request(root + "clip.mts", root + "out.mpeg", FormatLabel(entry), special)).Outcome,
                  DispatchOutcome::Result::NothingToDo);
    }
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
    EXPECT_THROW(DispatchConversion(session, Request(root + "clip.avi", root + "plainfile/x.avi", FormatLabel(0))),
                 FolderCreationError);
    EXPECT_EQ(Described(root + "clip.avi", root + "plainfile/x.avi"),
              Read({"utilitymff3.exe IN B/T.mp3", "probe IN", "probe IN"}));
    EXPECT_EQ(LeftIntermediates(), Lines{});

    runs.clear();
    fs::create_directories(root + "dvd");
    Touch(root + "dvd/DVD-Disc1");
    try {
        DispatchConversion(session, Request(root + "clip.avi", root + "dvd/", FormatLabel(32)));
        ADD_FAILURE() << "no error";
    } catch (const FolderCreationError& error) {
        EXPECT_STREQ(error.what(), "Impossible de créer le répertoire associé au DVD");
    }
    EXPECT_EQ(runs.size(), 1u) << "only the description of the input";
    EXPECT_EQ(LeftIntermediates(), Lines{});
}

TEST_F(Dispatcher, ADvdOutputWithoutItsFinalSeparatorIsTakenAsTheFolder) {
    DispatchConversion(session, Request(root + "clip.avi", root + "dvd", FormatLabel(33)));
    EXPECT_TRUE(fs::is_directory(root + "dvd/DVD-Disc1"));
    EXPECT_EQ(Described(root + "clip.avi", root + "dvd/"), Dvd("utilitymff3.exe"));
}

// The finished title takes the place of the old one in "DVD-Disc1"; the folder's other
// files stay, and nothing of the temporary folder is left.
TEST_F(Dispatcher, ADvdTitleReplacesTheOldOneOnlyWhenComplete) {
    const std::string disc = root + "dvd/DVD-Disc1/";
    fs::create_directories(disc + "VIDEO_TS");
    Write(disc + "VIDEO_TS/VIDEO_TS.IFO", "old title");
    Write(disc + "notes.txt", "mine");
    onRun = [&](const std::string& line) {
        if (line.find(" -T -o ") == std::string::npos) return;
        const std::string built = SplitCommandLine(line).back() + "/";
        fs::create_directories(built + "VIDEO_TS");
        fs::create_directories(built + "AUDIO_TS");
        Write(built + "VIDEO_TS/VIDEO_TS.IFO", "new title");
    };
    EXPECT_EQ(DispatchConversion(session, Request(root + "clip.avi", root + "dvd/", FormatLabel(33))).Outcome,
              DispatchOutcome::Result::Written);
    EXPECT_EQ(Contents(disc + "VIDEO_TS/VIDEO_TS.IFO"), "new title");
    EXPECT_TRUE(fs::is_directory(disc + "AUDIO_TS"));
    EXPECT_EQ(Contents(disc + "notes.txt"), "mine");
    EXPECT_EQ(LeftIntermediates(), Lines{});
}

TEST_F(Dispatcher, AFileIsNeverConvertedOntoItself) {
    fs::create_directories(root + "v");
    Write(root + "v/clip.avi", "input");
    for (int entry : {37, 38, 0}) {
        const DispatchOutcome outcome = DispatchConversion(session, 
            Request(root + "v/clip.avi", root + "v/../v/clip.avi", FormatLabel(entry), {"-0.25"}));
        EXPECT_EQ(outcome.Outcome, DispatchOutcome::Result::Failed);
        EXPECT_EQ(outcome.Reason, "avant de commencer : le fichier de sortie serait le fichier d'entrée lui-même");
    }
    EXPECT_TRUE(runs.empty());
    EXPECT_EQ(Contents(root + "v/clip.avi"), "input");
    EXPECT_TRUE(window.messages.empty());
}

// The input is the same unchanged file from the start of a request to its end: one
// replaced or rewritten between steps, or during the last one, fails the request and
// nothing is written.
TEST_F(Dispatcher, AnInputThatChangesDuringTheRequestFailsItAndNothingIsWritten) {
    struct Case {
        const char* change;
        int atRun;  // the change is made during this run (1-based)
        Lines runs;
    };
    const Lines all = HdAvi();
    const Case cases[] = {
        {"renamed over", 2, Read({"utilitymff3.exe IN B/T.mp3"})},
        {"renamed over", 6, all},
        {"rewritten, same size, time put back", 5,
         Read({"utilitymff3.exe IN B/T.mp3", "probe IN", "probe IN", "utilitymff3.exe IN B/T.avi"})},
        {"removed", 2, Read({"utilitymff3.exe IN B/T.mp3"})},
    };
    const std::string input = root + "clip.avi";
    const std::string output = OutputFor(0);
    fs::create_directories(root + "out");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.change) + " at run " + std::to_string(c.atRun));
        runs.clear();
        Write(input, "first input");
        Write(output, "old");
        onRun = [&](const std::string& line) {
            CreateNamedFiles(line, input);
            if (static_cast<int>(runs.size()) != c.atRun) return;
            const std::string change = c.change;
            if (change == "renamed over") {
                Write(root + "other.avi", "other input");
                fs::rename(root + "other.avi", input);
            } else if (change == "removed") {
                fs::remove(input);
            } else {
                struct stat was {}, now {};
                ::stat(input.c_str(), &was);
                const auto time = fs::last_write_time(input);
                do {
                    Write(input, "other input");
                    fs::last_write_time(input, time);
                    ::stat(input.c_str(), &now);
                } while (now.st_ctim.tv_nsec == was.st_ctim.tv_nsec && now.st_ctim.tv_sec == was.st_ctim.tv_sec);
            }
        };
        for (const char* language : {"FR", "EN"}) {
            App().CurrentLanguage = language;
            if (std::string(language) == "EN") {
                // Once more in English, from the same start.
                runs.clear();
                Write(input, "first input");
            }
            const DispatchOutcome outcome = DispatchConversion(session, Request(input, output, FormatLabel(0)));
            EXPECT_EQ(outcome.Outcome, DispatchOutcome::Result::Failed);
            EXPECT_EQ(outcome.Reason, std::string(language) == "FR"
                                          ? "car le fichier d'entrée a changé pendant la conversion ; rien n'a été écrit"
                                          : "because the input file changed during the conversion; nothing was written");
            EXPECT_EQ(Described(input, output), c.runs);
            EXPECT_EQ(Contents(output), "old");
            EXPECT_EQ(LeftIntermediates(), Lines{});
        }
    }
}

// A tool that ran out of room: the reason names the output's folder, never the hidden
// temporary file, and the tool's lines are the details.
TEST_F(Dispatcher, AFullDiskIsToldWithTheOutputsFolder) {
    fs::create_directories(root + "out");
    ToolOutcome full = ToolOutcome::Exit(1);
    outcomeOf = [&](const std::string& line) {
        if (IsProbeLine(line)) return FakeSuccess(line);
        for (const std::string& arg : SplitCommandLine(line))
            if (IsTemporaryOutputName(arg)) full.LastLines = {"Error closing file " + arg + ": No space left on device"};
        return full;
    };
    App().CurrentLanguage = "EN";
    const DispatchOutcome outcome = Dispatch(3, root + "clip.avi");
    EXPECT_EQ(outcome.Reason, "at the step \"conversion\": the disk that holds the folder \"" + root +
                                  "out\" is full; make room there or choose another folder");
    EXPECT_EQ(outcome.Details, "Error closing file " + root + "out/result.out: No space left on device\n");
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
