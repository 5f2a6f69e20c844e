// Which outputs may be written at all, and how a finished output takes the place of the
// old one: under a hidden temporary name beside it, noted in the work folder while it is
// written, so that what a dead instance was writing can be swept.

#include "recipes/output_replacement.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "exec/pending_outputs.h"
#include "recipe_fixture.h"
#include "recipes/format_catalogue.h"
#include "recipes/output_guard.h"

namespace transcoda::testing {
namespace {

class OutputRules : public RecipeFixture {
protected:
    void SetUp() override {
        RecipeFixture::SetUp();
        work = root + "work/";
        fs::create_directories(work);
        fs::create_directories(root + "out");
    }
    void TearDown() override {
        App().WorkFolder.clear();
        RecipeFixture::TearDown();
    }
    std::string Noted() const { return Contents(work + "pending-outputs"); }
    std::string work;
};

TEST_F(OutputRules, OnlyRegularFilesOutsideTheProgramMayBeReplaced) {
    struct Case {
        std::string output;
        int preset;
        const char* refusal;  // the French reason, empty when allowed
    };
    Write(root + "out/old.mp3", "old");
    Write(helper + "utilitymff3.exe", "tool");
    Write(root + "prog/transcoda", "program");
    fs::create_directories(root + "out/folder.mp3");
    ASSERT_EQ(mkfifo((root + "out/pipe.mp3").c_str(), 0644), 0);
    App().WorkFolder = work;
    const Case cases[] = {
        {root + "out/new.mp3", 34, ""},
        {root + "out/old.mp3", 34, ""},
        {root + "out/missing/folder/new.mp3", 34, ""},
        {root + "out/" + std::string(251, 'n') + ".mp3", 34, ""},
        {root + "out/" + std::string(252, 'n') + ".mp3", 34,
         "un nom de son chemin dépasse 255 octets, la limite des systèmes de fichiers"},
        {root + "out/folder.mp3", 34, "c'est un dossier, pas un fichier"},
        {root + "out/pipe.mp3", 34, "ce n'est pas un fichier ordinaire (périphérique, tube ou autre)"},
        {"/dev/null", 34, "ce n'est pas un fichier ordinaire (périphérique, tube ou autre)"},
        {helper + "utilitymff3.exe", 34, "c'est un fichier du programme lui-même"},
        {helper + "new.mp3", 34, "c'est un fichier du programme lui-même"},
        {root + "prog/transcoda", 34, "c'est un fichier du programme lui-même"},
        {root + "prog/../prog/./new.mp3", 34, "c'est un fichier du programme lui-même"},
        {work + "x.mp3", 34, "c'est un fichier du programme lui-même"},
        {"/proc/self/exe", 34, "c'est un fichier du programme lui-même"},
        {root + "out/dvd/", 33, ""},
        {root + "out/old.mp3", 33, "ce n'est pas un dossier"},
        {root + "prog/", 33, "c'est un fichier du programme lui-même"},
    };
    for (const Case& c : cases) {
        const std::string refusal = OutputRefusal(c.output, FormatLabel(c.preset));
        const bool dvd = c.preset == 33;
        EXPECT_EQ(refusal, *c.refusal ? std::string(dvd ? "Le dossier de sortie \"" : "Le fichier de sortie \"") +
                                            c.output + "\" est refusé : " + c.refusal + "."
                                      : "")
            << c.output;
    }
    App().CurrentLanguage = "EN";
    EXPECT_EQ(OutputRefusal(root + "out/folder.mp3", FormatLabel(34)),
              "The output file \"" + root + "out/folder.mp3\" is refused: it is a folder, not a file.");
    EXPECT_EQ(Contents(root + "out/old.mp3"), "old");
    EXPECT_TRUE(fs::is_fifo(root + "out/pipe.mp3"));
}

// The new file is written beside the old one under a hidden name with the same
// extension, noted while it exists, and renamed over the old one (keeping its
// permissions, and where a link points); dropped, it leaves the old one as it was.
TEST_F(OutputRules, ANewFileTakesTheOldOnesPlaceOnlyWhenCommitted) {
    App().WorkFolder = work;
    const std::string output = root + "out/holiday.avi";
    Write(output, "old");
    ::chmod(output.c_str(), 0600);
    for (bool commit : {false, true}) {
        std::string temp;
        {
            OutputReplacement replacement(output, false);
            temp = replacement.WritePath();
            EXPECT_EQ(fs::path(temp).parent_path(), fs::path(root + "out"));
            EXPECT_TRUE(std::regex_match(fs::path(temp).filename().string(),
                                         std::regex(R"(\.holiday\.transcoda-[a-z0-9]{6}\.avi)")))
                << temp;
            EXPECT_TRUE(IsTemporaryOutputName(temp));
            EXPECT_EQ(Noted(), temp + "\n");
            Write(temp, "new");
            if (commit) {
                EXPECT_EQ(replacement.Commit(), "");
            }
        }
        EXPECT_FALSE(fs::exists(temp));
        EXPECT_FALSE(fs::exists(work + "pending-outputs"));
        EXPECT_EQ(Contents(output), commit ? "new" : "old");
    }
    EXPECT_EQ(fs::status(output).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);

    // A link to a file: the file it points to is replaced, the link stays.
    fs::create_symlink(output, root + "out/link.avi");
    {
        OutputReplacement replacement(root + "out/link.avi", false);
        Write(replacement.WritePath(), "through the link");
        EXPECT_EQ(replacement.Commit(), "");
    }
    EXPECT_TRUE(fs::is_symlink(root + "out/link.avi"));
    EXPECT_EQ(Contents(output), "through the link");
}

// What an instance that died was writing is removed by the next one, and only that:
// a noted path that is not a temporary output is left alone.
TEST_F(OutputRules, ADeadInstancesTemporaryOutputsAreSwept) {
    App().WorkFolder = work;
    auto file = std::make_unique<OutputReplacement>(root + "out/clip.mp3", false);
    auto dvd = std::make_unique<OutputReplacement>(root + "out/dvd/", true);
    Write(file->WritePath(), "half");
    fs::create_directories(dvd->WritePath() + "DVD-Disc1/VIDEO_TS");
    Write(root + "out/mine.mp3", "the user's");
    // The note as a dead instance left it, with a line that names a user's file.
    std::ofstream(work + "pending-outputs", std::ios::app) << root + "out/mine.mp3\n";
    const std::string temp = file->WritePath(), folder = dvd->WritePath();
    App().WorkFolder.clear();  // this process now plays the next instance
    SweepPendingOutputs(work);
    EXPECT_FALSE(fs::exists(temp));
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_FALSE(fs::exists(work + "pending-outputs"));
    EXPECT_EQ(Contents(root + "out/mine.mp3"), "the user's");
    file.reset();
    dvd.reset();
    EXPECT_EQ(LeftIntermediates(), std::vector<std::string>{});
}

}  // namespace
}  // namespace transcoda::testing
