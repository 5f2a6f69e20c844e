#include "recipes/path_rules.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "recipes/default_output.h"
#include "recipes/format_catalogue.h"

namespace transcoda {
namespace {

struct OutputCase {
    int entry;
    std::string input;
    std::string output;
    std::string expected;
};

class UpdateOutputNameTest : public ::testing::TestWithParam<OutputCase> {};

TEST_P(UpdateOutputNameTest, RewritesTheOutputForThePreset) {
    const OutputCase& c = GetParam();
    EXPECT_EQ(UpdateOutputName(FormatLabel(c.entry), c.input, c.output), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, UpdateOutputNameTest,
    ::testing::Values(
        OutputCase{2, "/d/in.avi", "/c/Videos/film.avi", "/c/Videos/film.mpeg"},
        OutputCase{13, "/d/in.avi", "/c/Videos/film.avi", "/c/Videos/film.3gp"},
        OutputCase{34, "/d/in.avi", "/c/Videos/film", "/c/Videos/film.mp3"},
        OutputCase{36, "/d/in.avi", "/c/Videos/", "/c/Videos/Sans titre.wav"},
        OutputCase{36, "/d/in.avi", "", "Sans titre.wav"},
        OutputCase{36, "/d/in.avi", ".", "Sans titre.wav"},
        OutputCase{36, "/d/in.avi", "/c/Videos/film.", "/c/Videos/film.wav"},
        OutputCase{36, "/d/in.avi", "  /c/Videos/film.avi \t", "/c/Videos/film.wav"},
        // A dot in a folder name is not an extension.
        OutputCase{37, "/d/in.avi", "/c/my.videos/film", "/c/my.videos/film.avi"},
        OutputCase{37, "/d/in.avi", "/c/my.videos/film.mkv", "/c/my.videos/film.avi"},
        OutputCase{33, "/d/in.avi", "/c/Videos/film.avi", "/c/Videos/filmavi/"},
        OutputCase{32, "/d/in.avi", "/c/Videos/DVD/", "/c/Videos/DVD/"},
        OutputCase{33, "/d/in.avi", "/c/my.videos/film.avi", "/c/my.videos/filmavi/"},
        OutputCase{32, "/d/in.avi", "/c/Videos/DVD", "/c/Videos/DVD/"},
        OutputCase{38, "/d/clip.MOV", "/c/out/clip.avi", "/c/out/clip.mov"},
        OutputCase{38, "", "/c/out/clip.avi", "/c/out/clip.null"},
        OutputCase{39, "/e/cam/00001.MTS", "/c/out/clip.avi", "/c/out/clip.mpeg"},
        OutputCase{39, "/e/x.vob", "/c/out/clip.avi", "/c/out/clip.vob"}));

TEST(UpdateOutputName, LabelOutsideTheCatalogueLeavesTheOutputAlone) {
    const std::string withoutBlank = FormatLabel(2).substr(1);
    EXPECT_EQ(UpdateOutputName(withoutBlank, "/d/in.avi", " /c/film.avi"), " /c/film.avi");
    EXPECT_EQ(UpdateOutputName("", "/d/in.avi", "/c/film.avi"), "/c/film.avi");
}

TEST(UpdateOutputName, SwitchingPresetsNeverAccumulatesExtensions) {
    std::string output = "/c/Videos/film.avi";
    for (int round = 0; round < 3; ++round) {
        for (int entry : {2, 13, 34, 0, 25, 36}) {
            output = UpdateOutputName(FormatLabel(entry), "/d/in.avi", output);
        }
    }
    EXPECT_EQ(output, "/c/Videos/film.wav");
}

TEST(MakeFolderPath, ShortOrDotOnlyPathsGiveTheDefaultFolder) {
    const char* home = std::getenv("HOME");
    const std::string saved = home != nullptr ? home : "";
    setenv("HOME", "/home/someone", 1);
    for (const std::string path : {"", "x", "/", "...", " . ", "."}) {
        EXPECT_EQ(MakeFolderPath(path), "/home/someone/Sans titre/") << '"' << path << '"';
    }
    setenv("HOME", "/home/other/", 1);
    EXPECT_EQ(DefaultDvdFolder(), "/home/other/Sans titre/");
    setenv("HOME", saved.c_str(), 1);
}

// Which names count as made from the old input, and so follow a new one (the window's
// table drives the same rule through picks, drops and typed paths).
TEST(OutputForNewInput, OnlyANameMadeFromTheOldInputFollows) {
    const OutputCase cases[] = {
        {3, "/old/clip.avi", "", "/new/film.mpeg"},
        {3, "/old/clip.avi", "clip.mpeg", "/new/film.mpeg"},          // a bare name lies beside the input
        {3, "/old/clip.avi", "/old/clip", "/new/film.mpeg"},          // no extension
        {3, "/old/clip.avi", "/old/clip.en.mpeg", "/old/clip.en.mpeg"},
        {3, "/old/clip.avi", "/old/clips.mpeg", "/old/clips.mpeg"},
        {3, "/old/clip.avi", "/old/clip (x).mpeg", "/old/clip (x).mpeg"},
        {3, "/old/clip.avi", "/old/clip ().mpeg", "/old/clip ().mpeg"},
        {3, "/old/clip.avi", "/old/sub/clip.mpeg", "/old/sub/clip.mpeg"},
        {3, "/old/", "/old/Sans titre.mpeg", "/new/film.mpeg"},    // the placeholder of an empty name
        {3, "", "/old/clip.mpeg", "/old/clip.mpeg"},                 // nothing to compare with
        {39, "/old/clip.avi", "/old/clip-extrait.avi", "/new/film-extrait.mkv"},
        {-1, "/old/clip.avi", "/old/clip.wav", "/new/film.wav"},     // no preset: the extension it had
        {-1, "/old/clip.avi", "", ""},                               // left for a preset to name
    };
    for (const OutputCase& c : cases) {
        EXPECT_EQ(OutputForNewInput(FormatLabel(c.entry), c.input, "/new/film.mkv", c.output), c.expected)
            << '"' << c.output << "\" after \"" << c.input << '"';
    }
    EXPECT_EQ(OutputForNewInput(FormatLabel(3), "/old/clip.avi", "", "/old/clip.mpeg"), "/old/clip.mpeg")
        << "no new input: nothing to follow";
}

TEST(GetLowerExtension, ReadsTheLastComponentOnly) {
    const std::pair<std::string, std::string> cases[] = {
        {"/c/a.b/file", ""},          // a dot in a folder counts for nothing
        {"/c/a.b/file.Avi", "avi"},
        {"  /c/CLIP.M2TS \r\n", "m2ts"},
        {"clip", ""},
        {"", "null"},
        {" \t ", "null"},
        {"/c/film.", ""},
        {"/c/archive.tar.GZ", "gz"},
        {"/c/.hidden", "hidden"},
    };
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(GetLowerExtension(path), expected) << '"' << path << '"';
    }
}

}  // namespace
}  // namespace transcoda
