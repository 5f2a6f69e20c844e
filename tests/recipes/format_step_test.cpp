#include "recipes/format_step.h"

#include <gtest/gtest.h>

#include "recipe_fixture.h"
#include "recipes/folder_error.h"

namespace transcoda::testing {
namespace {

using Lines = std::vector<std::string>;

class FormatStep : public RecipeFixture {
protected:
    Lines StepLog() const {
        Lines out;
        for (const auto& line : window.log) {
            if (line.starts_with("---") || line.starts_with("Ligne console")) out.push_back(line);
        }
        return out;
    }
    static bool IsProbe(const std::string& line) { return line.find("utilitymffx.exe -i ") != std::string::npos; }
};

TEST_F(FormatStep, CreatesTheOutputFolderWithItsParentsAndRunsTheTool) {
    const std::string input = root + "in/clip.avi";
    const std::string output = root + "out/new/clip.mpeg";

    RunFormatStep(session, "mpeg480p128", input, output);

    EXPECT_TRUE(fs::is_directory(root + "out/new"));
    EXPECT_EQ(Described(input, output), (Lines{"probe IN", "probe IN", "utilitymff3.exe IN OUT"}));
    EXPECT_EQ(window.Texts("status"), (Lines{"Conversion...", "Prêt"}));
    EXPECT_EQ(window.Texts("barmax"), (Lines{"100"}));
    EXPECT_EQ(window.Texts("bar").back(), "0");
    EXPECT_EQ(window.progress, "");
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(StepLog(), (Lines{
        "--- 1 ère Extraction de durée depuis extractvideofromavhcd de <" + input + ">",
        "--- FIN de la 1ière extraction de durée depuis extractvideofromavhcd de <" + input + ">",
        "--- 2 ème Extraction de durée depuis extractvideofromavhcd de <" + input + ">",
        "--- FIN de la 2ième extraction de durée depuis extractvideofromavhcd de <" + input + ">",
        "Ligne console a éxécuter depuis extractvideofromavhcd : [[" + runs[2] + "]]",
        "--- FIN de RunTool depuis extractvideofromavhcd"}));
}

TEST_F(FormatStep, DeletesAnExistingOutputAndAStaleIntermediateBeforeTheRun) {
    const std::string output = root + "out/clip.wav";
    fs::create_directories(root + "out");
    Touch(output);
    Touch(helper + "tmp0000.avi");
    bool outputAtRun = true, staleAtRun = true;
    onRun = [&](const std::string& line) {
        if (IsProbe(line)) return;
        outputAtRun = fs::exists(output);
        staleAtRun = fs::exists(helper + "tmp0000.avi");
    };
    RunFormatStep(session, "wavehd", root + "in.avi", output);
    EXPECT_FALSE(outputAtRun);
    EXPECT_FALSE(staleAtRun);
}

TEST_F(FormatStep, ProbesOnceWhenTheFirstProbeFindsADurationAfterResettingTheProgressState) {
    session.Progress.InputDurationCs = 4000;
    session.Progress.PositionCs = 300;
    session.Progress.DurationText = "old";
    std::vector<int> durationAtProbe;
    onRun = [&](const std::string& line) {
        if (!IsProbe(line)) return;
        durationAtProbe.push_back(session.Progress.InputDurationCs);
        EXPECT_EQ(session.Progress.PositionCs, kNotProbed);
        EXPECT_EQ(session.Progress.DurationText, "");
        session.Progress.DurationText = "Duration: 00:00:03.00, start";
        session.Progress.InputDurationCs = 300;
    };
    RunFormatStep(session, "rawPcm", root + "in.avi", root + "out/x.avi");
    EXPECT_EQ(Described(root + "in.avi", root + "out/x.avi"), (Lines{"probe IN", "utilitymen2.exe IN OUT"}));
    EXPECT_EQ(durationAtProbe, (std::vector<int>{kNotProbed}));
}

TEST_F(FormatStep, StatusTextsOfEachKindOfStep) {
    struct Case {
        const char* code;
        const char* language;
        Lines statuses;
    };
    const Case cases[] = {
        {"hdToVideoTraitable", "FR", {"Conversion...", "Vérification...", "Prêt"}},
        {"hdToVideoTraitable", "EN", {"Conversion...", "Verification...", "Ready"}},
        {"DVD-authoring", "FR", {"Conversion...", "Création du DVD..", "Prêt"}},
        {"DVD-authoring", "EN", {"Conversion...", "DVD creation..", "Ready"}},
        {"DVD-finalization", "FR", {"Conversion...", "Finalisation du DVD..", "Prêt"}},
        {"DVD-finalization", "EN", {"Conversion...", "Finalization of DVD..", "Ready"}},
        {"IpodNorml", "EN", {"Conversion...", "Ready"}},
    };
    for (const Case& c : cases) {
        window.calls.clear();
        App().CurrentLanguage = c.language;
        RunFormatStep(session, c.code, root + "in.avi", root + "dvd/");
        EXPECT_EQ(window.Texts("status"), c.statuses) << c.code << " " << c.language;
    }
}

TEST_F(FormatStep, HdPictureStepsWriteTheIntermediateNotTheOutput) {
    session.TempBaseName = "tmp4321";
    for (const char* code : {"720p", "1080p", "hdToVideoTraitable"}) {
        runs.clear();
        RunFormatStep(session, code, root + "in.mts", root + "out/x.avi");
        EXPECT_EQ(Described(root + "in.mts", root + "out/x.avi"),
                  (Lines{"probe IN", "probe IN", "utilitymff3.exe IN B/T.avi"}))
            << code;
    }
}

TEST_F(FormatStep, AnOutputFolderThatCannotBeCreatedEndsTheStepBeforeTheTool) {
    Touch(root + "plainfile");
    for (const std::string& output : {std::string("clip.mpeg"), root + "plainfile/sub/clip.mpeg"}) {
        runs.clear();
        window.calls.clear();
        try {
            RunFormatStep(session, "mpeg480p128", root + "in.avi", output);
            ADD_FAILURE() << "no error for " << output;
        } catch (const FolderCreationError& error) {
            EXPECT_STREQ(error.what(), "Impossible de créer le répertoire associé au fichier de sortie");
        }
        EXPECT_EQ(Described(root + "in.avi", output), (Lines{"probe IN", "probe IN"})) << output;
        EXPECT_TRUE(window.Texts("status").empty());
    }
}

TEST_F(FormatStep, DvdEncodingCreatesTheDvdFolderWithItsParents) {
    const std::string output = root + "dvd/film/";
    RunFormatStep(session, "DVD-ntsc", root + "in.avi", output);
    EXPECT_TRUE(fs::is_directory(output + "DVD-Disc1"));
    EXPECT_EQ(Described(root + "in.avi", output),
              (Lines{"probe IN", "probe IN", "utilitymff3.exe IN OUT/DVD-Disc1/tmpvdv.mpg"}));
}

TEST_F(FormatStep, DvdEncodingClearsTheTitleFoldersOfAnExistingDvdFolderOnly) {
    const std::string output = root + "dvd/";
    const std::string disc = output + "DVD-Disc1/";
    fs::create_directories(disc + "AUDIO_TS");
    fs::create_directories(disc + "VIDEO_TS/deeper");
    Touch(disc + "VIDEO_TS/VIDEO_TS.IFO");
    Touch(disc + "keep.txt");
    Touch(disc + "tmpvdv.mpg");
    bool streamAtRun = true;
    onRun = [&](const std::string& line) {
        if (!IsProbe(line)) streamAtRun = fs::exists(disc + "tmpvdv.mpg");
    };
    RunFormatStep(session, "DVD-pal", root + "in.avi", output);
    EXPECT_FALSE(streamAtRun);
    EXPECT_FALSE(fs::exists(disc + "AUDIO_TS"));
    EXPECT_FALSE(fs::exists(disc + "VIDEO_TS"));
    EXPECT_TRUE(fs::exists(disc + "keep.txt"));
}

TEST_F(FormatStep, ADvdFolderThatCannotBeCreatedEndsTheStepBeforeTheTool) {
    fs::create_directories(root + "dvd");
    Touch(root + "dvd/DVD-Disc1");
    try {
        RunFormatStep(session, "DVD-ntsc-wmv", root + "in.wmv", root + "dvd/");
        ADD_FAILURE() << "no error";
    } catch (const FolderCreationError& error) {
        EXPECT_STREQ(error.what(), "Impossible de créer le répertoire associé au DVD");
    }
    EXPECT_EQ(runs.size(), 2u) << "only the probes";
}

TEST_F(FormatStep, AnUnknownCodeRunsNothing) {
    RunFormatStep(session, "mpeg480P128", root + "in.avi", root + "out/x.mpeg");
    EXPECT_TRUE(runs.empty());
    EXPECT_FALSE(fs::exists(root + "out"));
}

}  // namespace
}  // namespace transcoda::testing
