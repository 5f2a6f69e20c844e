#include "recipes/auxiliary_steps.h"

#include <gtest/gtest.h>

#include "recipe_fixture.h"

namespace transcoda::testing {
namespace {

using Lines = std::vector<std::string>;

class AuxiliarySteps : public RecipeFixture {};

TEST_F(AuxiliarySteps, StatusTextsLogLinesAndTheCommonEnding) {
    struct Case {
        const char* name;
        std::function<void()> run;
        const char* french;
        const char* english;
        const char* logPrefix;  // empty: the step writes no log line
    };
    const std::string in = root + "in.mts";
    const Case cases[] = {
        {"ExtractAudioTrack", [&] { ExtractAudioTrack(session, "1080p", in); }, "Analyse...", "Analysis...",
         "Execution de la ligne de commande : [["},
        {"PrepareIntermediate", [&] { PrepareIntermediate(session, "368x208", in, helper + "tmp9999.avi"); },
         "Préparation/Analyse...", "Preparation/Analysis...", "Execution de la ligne de commande : [["},
        {"MuxFinal", [&] { MuxFinal(session, root + "out.avi"); }, "Finalisation...", "Finalization...", ""},
        {"MuxIntermediate", [&] { MuxIntermediate(session, helper + "tmp0000-2.avi"); }, "Préparation mémoire...",
         "Memory preparation...", "Ligne console a éxécuter : [["},
    };
    for (const Case& c : cases) {
        for (const char* language : {"FR", "EN"}) {
            const bool english = std::string(language) == "EN";
            App().CurrentLanguage = language;
            window.calls.clear();
            window.log.clear();
            runs.clear();
            c.run();
            ASSERT_EQ(runs.size(), 1u) << c.name << ": no probe, one run";
            EXPECT_EQ(window.Texts("status"), (Lines{english ? c.english : c.french, english ? "Ready" : "Prêt"}))
                << c.name;
            // The display ends idle; values it already shows are not sent again.
            EXPECT_EQ(window.barMax, 100) << c.name;
            EXPECT_EQ(window.bar, 0) << c.name;
            EXPECT_EQ(window.progress, "") << c.name;
            const Lines expectedLog = *c.logPrefix ? Lines{c.logPrefix + runs[0] + "]]"} : Lines{};
            EXPECT_EQ(window.log, expectedLog) << c.name;
        }
    }
}

TEST_F(AuxiliarySteps, WhatEachStepDeletes) {
    session.TempBaseName = "tmp5555";
    auto present = [&] {
        Lines names;
        for (const char* suffix : {".avi", ".mp3", ".wma"}) {
            if (fs::exists(helper + "tmp5555" + suffix)) names.push_back(suffix);
        }
        return names;
    };
    auto touchAll = [&] {
        for (const char* suffix : {".avi", ".mp3", ".wma"}) Touch(helper + "tmp5555" + suffix);
    };
    touchAll();
    ExtractAudioTrack(session, "hdToAudioTraitable", root + "in.mts");
    EXPECT_EQ(present(), (Lines{".avi", ".wma"})) << "the MP3 goes, never the WMA";
    touchAll();
    MuxIntermediate(session, helper + "tmp5555-2.avi");
    EXPECT_EQ(present(), (Lines{".avi", ".mp3", ".wma"})) << "joining into the intermediate deletes nothing";
    session.Stop();  // also after a stopped join
    MuxFinal(session, root + "out.avi");
    EXPECT_EQ(present(), (Lines{".wma"}));
}

}  // namespace
}  // namespace transcoda::testing
