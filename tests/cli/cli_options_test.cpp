// The terminal front end's command line, list file and the requests made from them.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "cli/cli_options.h"
#include "cli/cli_texts.h"
#include "exec/clock_text.h"
#include "recipes/input_pin.h"
#include "recipes/format_catalogue.h"

namespace transcoda::cli {
namespace {

namespace fs = std::filesystem;

TEST(CliArguments, WellFormedAndMalformedLines) {
    struct Case {
        std::vector<std::string> args;
        bool ok;
        size_t jobs;
        std::string lastOutput;
    } cases[] = {
        {{"-f", "3", "in.avi"}, true, 1, ""},
        {{"-f", "3", "in.avi", "out.mpeg"}, true, 1, "out.mpeg"},
        {{"-f", "3", "a.avi", "a.mpeg", "-f", "4", "b.avi", "-f", "5", "c.avi", "c.mpeg"}, true, 3, "c.mpeg"},
        {{"-f", "38", "in.avi", "--delay", "-1.25"}, true, 1, ""},
        {{"--debug", "--lang", "EN", "-f", "39", "in.avi", "o.avi", "--from", "00:00:01", "--to", "00:00:02"}, true, 1, "o.avi"},
        {{"-f", "38", "--delay", "-1.25", "in.avi", "out.avi"}, true, 1, "out.avi"},
        {{"-f", "39", "--from", "00:00:01", "--to", "00:00:02", "in.avi"}, true, 1, ""},
        {{"--list", "jobs.tsv"}, true, 0, ""},
        {{"in.avi"}, false, 0, ""},
        {{"-f", "3", "a.avi", "b.mpeg", "c.mpeg"}, false, 0, ""},
        {{"-f", "3", "-f", "4", "a.avi"}, false, 0, ""},
        {{"-f", "3"}, false, 0, ""},
        {{"-f"}, false, 0, ""},
        {{"--lang", "DE"}, false, 0, ""},
        {{"--delay"}, false, 0, ""},
        {{"--bogus"}, false, 0, ""},
        {{"--list", "jobs.tsv", "-f", "3", "a.avi"}, false, 1, ""},
        {{"--jobs", "2", "--list", "jobs.tsv", "--shard", "2/3"}, true, 0, ""},
        {{"-f", "3", "a.avi", "--jobs", "9999"}, true, 1, ""},
        {{"--jobs", "0", "--list", "jobs.tsv"}, false, 0, ""},
        {{"--jobs", "-1", "--list", "jobs.tsv"}, false, 0, ""},
        {{"--jobs", "two", "--list", "jobs.tsv"}, false, 0, ""},
        {{"--jobs", "10000", "--list", "jobs.tsv"}, false, 0, ""},
        {{"--list", "jobs.tsv", "--jobs"}, false, 0, ""},
        {{"--list", "jobs.tsv", "--shard", "0/2"}, false, 0, ""},
        {{"--list", "jobs.tsv", "--shard", "3/2"}, false, 0, ""},
        {{"--list", "jobs.tsv", "--shard", "1/0"}, false, 0, ""},
        {{"--list", "jobs.tsv", "--shard", "2"}, false, 0, ""},
        {{"--list", "jobs.tsv", "--shard", "1/2/3"}, false, 0, ""},
        {{"--list", "jobs.tsv", "--shard", "a/b"}, false, 0, ""},
        {{"--list", "jobs.tsv", "--shard", "/2"}, false, 0, ""},
        {{"--list", "jobs.tsv", "--shard"}, false, 0, ""},
        {{"-f", "3", "a.avi", "a.mpeg", "-y", "--overwrite"}, true, 1, "a.mpeg"},
        {{"-n", "-f", "3", "a.avi", "--no-overwrite"}, true, 1, ""},
        {{"-y", "-f", "3", "a.avi", "-n"}, false, 0, ""},
        // The conventions: "--opt=value", "-fN", "--" before operands that begin with "-",
        // the language in any case, -h, and an operand's place kept among the options.
        {{"--jobs=2", "--lang=en", "-f", "3", "a.avi"}, true, 1, ""},
        {{"--lang", "en", "-f3", "a.avi", "--delay=-1.25", "b.mpeg"}, true, 1, "b.mpeg"},
        {{"-f", "3", "--", "-a.avi", "-b.mpeg"}, true, 1, "-b.mpeg"},
        {{"-f", "3", "a.avi", "--", "b.mpeg", "c.mpeg"}, false, 0, ""},
        {{"-f", "3", "a.avi", "-"}, true, 1, "-"},  // refused later, with its own message
        {{"-h"}, true, 0, ""},
        {{"--version"}, true, 0, ""},
        {{"--help=3"}, false, 0, ""},
        {{"--lang=de", "-f", "3", "a.avi"}, false, 0, ""},
        {{"--progress=json", "-f", "3", "a.avi"}, true, 1, ""},
        {{"--progress", "PLAIN", "-f", "3", "a.avi"}, true, 1, ""},
        {{"--progress", "xml", "-f", "3", "a.avi"}, false, 0, ""},
        {{"-f", "3", "a.avi", "--progress"}, false, 0, ""},
    };
    for (const auto& c : cases) {
        CliOptions options;
        std::string error = ParseArguments(c.args, options);
        SCOPED_TRACE(c.args.front() + " ... " + error);
        EXPECT_EQ(error.empty(), c.ok);
        if (!c.ok) continue;
        ASSERT_EQ(options.Jobs.size(), c.jobs);
        if (c.jobs > 0) {
            EXPECT_EQ(options.Jobs.back().Output, c.lastOutput);
        }
    }
    App().CurrentLanguage = "FR";
}

TEST(CliArguments, ShardsAndJobsAreRead) {
    CliOptions options;
    ASSERT_EQ(ParseArguments({"--list", "l", "--shard", "3/4", "--jobs", "3"}, options), "");
    EXPECT_EQ(options.ShardIndex, 3);
    EXPECT_EQ(options.ShardCount, 4);
    EXPECT_EQ(options.JobsAtOnce, 3);
    EXPECT_EQ(ParseArguments({"--list", "l", "--shard", "5/4"}, options), CliBadShardText("5/4"));
    options = {};
    ASSERT_EQ(ParseArguments({"--list=l", "--shard=2/4", "--jobs=5", "--lang=en", "--progress=Json"}, options), "");
    EXPECT_EQ(options.ListFile, "l");
    EXPECT_EQ(options.ShardIndex, 2);
    EXPECT_EQ(options.JobsAtOnce, 5);
    EXPECT_EQ(options.Language, "EN");
    EXPECT_EQ(options.Progress, ProgressForm::Json);
    // A value that begins with "-" is the option's all the same.
    options = {};
    ASSERT_EQ(ParseArguments({"-f", "38", "--delay", "-1.25", "a.avi"}, options), "");
    EXPECT_EQ(options.Delay, "-1.25");
    EXPECT_EQ(ParseArguments({"--lang=en", "-x"}, options), CliBadOptionText("-x"));
    App().CurrentLanguage = "FR";
}

// Every shard count, every list length: the shards together hold each item exactly
// once, each shard in the order of the list.
TEST(CliShard, ShardsCoverEveryItemExactlyOnce) {
    for (int items = 0; items <= 9; ++items) {
        std::vector<CliJob> jobs;
        for (int i = 0; i < items; ++i) jobs.push_back({"3", std::to_string(i), ""});
        for (int count = 1; count <= 5; ++count) {
            std::vector<int> seen(static_cast<size_t>(items), 0);
            for (int index = 1; index <= count; ++index) {
                int previous = -1;
                for (const CliJob& job : SelectShard(jobs, index, count)) {
                    const int item = std::stoi(job.Input);
                    EXPECT_EQ(item % count, index - 1) << items << " items, shard " << index << "/" << count;
                    EXPECT_GT(item, previous) << "out of order";
                    previous = item;
                    ++seen[static_cast<size_t>(item)];
                }
            }
            for (int i = 0; i < items; ++i)
                EXPECT_EQ(seen[static_cast<size_t>(i)], 1) << "item " << i << " of " << items << ", " << count << " shards";
        }
    }
}

// An existing output is replaced only with -y or a Yes; without a terminal to ask, the
// item is refused; a missing output is always converted.
TEST(CliExistingOutputs, ReplacedOnlyWhenTold) {
    const fs::path folder = fs::temp_directory_path() / ("transcoda-existing-" + std::to_string(getpid()));
    fs::create_directories(folder / "full-dvd");
    std::ofstream((folder / "there.mpeg").string()) << "old";
    std::ofstream((folder / "full-dvd/file").string()) << "old";
    const std::string dvd(FormatLabel(33));
    const std::string mpeg(FormatLabel(3));
    const std::vector<ConversionRequest> requests = {{"in.avi", (folder / "there.mpeg").string(), mpeg},
                                                     {"in.avi", (folder / "new.mpeg").string(), mpeg},
                                                     {"in.avi", (folder / "full-dvd/").string(), dvd},
                                                     {"in.avi", (folder / "new-dvd/").string(), dvd}};
    struct Case {
        ExistingOutput choice;
        int answer;  // -1: no terminal, 0: No, 1: Yes
        size_t run, kept, refused;
    } cases[] = {
        {ExistingOutput::Replace, -1, 4, 0, 0}, {ExistingOutput::Keep, -1, 2, 2, 0},
        {ExistingOutput::Ask, -1, 2, 0, 2},     {ExistingOutput::Ask, 0, 2, 2, 0},
        {ExistingOutput::Ask, 1, 4, 0, 0},
    };
    for (const Case& c : cases) {
        int asked = 0;
        ReplaceQuestion ask;
        if (c.answer >= 0) ask = [&](const std::string&) { return ++asked, c.answer == 1; };
        const ExistingOutputs sorted = SortExistingOutputs(requests, c.choice, ask);
        SCOPED_TRACE(std::to_string(static_cast<int>(c.choice)) + " answer " + std::to_string(c.answer));
        EXPECT_EQ(sorted.ToRun.size(), c.run);
        EXPECT_EQ(sorted.KeptOutputs.size(), c.kept);
        EXPECT_EQ(sorted.RefusedOutputs.size(), c.refused);
        EXPECT_EQ(asked, c.choice == ExistingOutput::Ask && c.answer >= 0 ? 2 : 0);
    }
    fs::remove_all(folder);
}

TEST(CliArguments, LanguageIsTakenBeforeAnyError) {
    CliOptions options;
    std::string error = ParseArguments({"--bogus", "--lang", "EN"}, options);
    EXPECT_NE(error.find("Wrong or incomplete option"), std::string::npos);
    App().CurrentLanguage = "FR";
}

TEST(CliListFile, TabSeparatedLines) {
    std::vector<CliJob> jobs;
    EXPECT_EQ(ParseListText("# comment\n3\ta.avi\ta.mpeg\r\n\n Audio WAV - WAV; no compression\tb.mp3\n",
                            "l", jobs), "");
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[0].Format, "3");
    EXPECT_EQ(jobs[0].Output, "a.mpeg");
    EXPECT_EQ(jobs[1].Format, " Audio WAV - WAV; no compression") << "the label keeps its blank";
    EXPECT_EQ(jobs[1].Output, "");

    for (const char* bad : {"3 a.avi a.mpeg\n", "3\n", "\ta.avi\n", "3\ta\tb\tc\n"}) {
        jobs.clear();
        EXPECT_NE(ParseListText(std::string("3\tok.avi\n") + bad, "l", jobs), "") << bad;
    }
}

TEST(CliClock, PositionsAndLengths) {
    struct Case { const char* text; bool ok; int seconds; } cases[] = {
        {"00:00:00", true, 0}, {"00:01:05", true, 65}, {"1:2:3", true, 3723},
        {"24:59:59", true, 89999}, {"00:60:00", false, 0}, {"00:00:60", false, 0},
        {"00:00", false, 0}, {"aa:00:00", false, 0}, {"00:00:00:00", false, 0}, {"", false, 0},
        {"-1:00:00", false, 0},
    };
    for (const auto& c : cases) {
        int seconds = -1;
        EXPECT_EQ(ParseClock(c.text, seconds), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(seconds, c.seconds) << c.text;
        }
    }
    EXPECT_EQ(ClockText(45), "00:00:45");
    EXPECT_EQ(ClockText(89999), "24:59:59");
    EXPECT_EQ(ClockText(3600 * 100), "100:00:00");
}

TEST(CliLag, AcceptedLags) {
    for (const char* good : {"1.25", "-1.25", "2.5", "300", "-0.0", "0", "300.99"})
        EXPECT_TRUE(ValidLag(good)) << good;
    for (const char* bad : {"", "-", "1.", "1.234", "301", "abc", "1,5", "--1", ".5"})
        EXPECT_FALSE(ValidLag(bad)) << bad;
}

class CliPlan : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("transcoda-cliplan-" + std::to_string(getpid()));
        fs::create_directories(folder);
        std::ofstream(In("clip.avi")) << "x";
        std::ofstream(In("cam.MTS")) << "x";
        std::ofstream(In("taken.avi")) << "x";
        std::ofstream(In("taken (1).avi")) << "x";
        std::ofstream(In(kLongName)) << "x";
    }
    static inline const std::string kLongName = std::string(251, 'l') + ".avi";
    void TearDown() override { fs::remove_all(folder); }
    std::string In(const std::string& name) { return (folder / name).string(); }

    std::string Make(std::vector<CliJob> jobs, bool asList, CliOptions options = {}) {
        return MakePlan(options, jobs, asList, plan);
    }

    fs::path folder;
    Plan plan;
};

TEST_F(CliPlan, DerivedOutputsFollowThePreset) {
    struct Case { const char* format; const char* input; std::string output; } cases[] = {
        {"3", "clip.avi", "clip.mpeg"},
        {"25", "clip.avi", "clip.m4v"},
        {"36", "clip.avi", "clip.wav"},
        {"33", "clip.avi", "clipavi/"},
        {" Video MPEG - MPEG 640x480 (4200 kbps); Audio (128kbps)", "clip.avi", "clip.mpeg"},
        {"39", "cam.MTS", "cam.mpeg"},
        // The special operations keep the extension: their result is marked beside it.
        {"39", "clip.avi", "clip-extrait.avi"},
        {"38", "clip.avi", "clip-synchro.avi"},
        // Any other preset that keeps the extension writes beside the input, under a free name.
        {"37", "clip.avi", "clip (1).avi"},
        {"37", "taken.avi", "taken (2).avi"},
        {"37", kLongName.c_str(), std::string(247, 'l') + " (1).avi"},  // still within 255 bytes
    };
    CliOptions options;
    options.From = "00:00:01";
    options.To = "00:00:02";
    options.Delay = "-1.25";
    for (const auto& c : cases) {
        ASSERT_EQ(Make({{c.format, In(c.input), ""}}, false, options), "") << c.format;
        ASSERT_EQ(plan.Requests.size(), 1u);
        EXPECT_EQ(plan.Requests[0].OutputPath, In(c.output)) << c.format;
        EXPECT_EQ(plan.Requests[0].InputPath, In(c.input));
    }
    // An explicit DVD output is a folder even without its slash.
    ASSERT_EQ(Make({{"32", In("clip.avi"), In("disc")}}, false), "");
    EXPECT_EQ(plan.Requests[0].OutputPath, In("disc") + "/");
    EXPECT_EQ(plan.Requests[0].FormatLabel, FormatLabel(32));
}

TEST_F(CliPlan, SpecialPresetsGetTheDialogsValues) {
    CliOptions options;
    options.Delay = "-1.25";
    ASSERT_EQ(Make({{"38", In("clip.avi"), In("shifted.avi")}}, false, options), "");
    EXPECT_EQ(plan.SyncDelay, "-1.25");
    EXPECT_EQ(plan.ExtractionStart, "NOVALUE");

    options = {};
    options.From = "00:59:30";
    options.To = "01:00:15";
    ASSERT_EQ(Make({{"39", In("clip.avi"), In("cut.avi")}}, false, options), "");
    EXPECT_EQ(plan.ExtractionStart, "00:59:30");
    EXPECT_EQ(plan.ExtractionLength, "00:00:45");
    EXPECT_EQ(plan.SyncDelay, "-1000");
}

TEST_F(CliPlan, RefusedRequests) {
    CliOptions lag;
    lag.Delay = "0.0";
    CliOptions wholeSeconds;
    wholeSeconds.Delay = "-0";
    // A DVD is written into "DVD-Disc1" below its folder: an input there would be lost.
    fs::create_directories(In("DVD-Disc1"));
    fs::create_directory_symlink(folder, In("link"));
    ASSERT_EQ(::mkfifo(In("pipe.avi").c_str(), 0600), 0);
    std::ofstream(In("DVD-Disc1/film.avi")) << "x";
    CliOptions backwards;
    backwards.From = "00:00:10";
    backwards.To = "00:00:10";
    struct Case {
        const char* name;
        std::vector<CliJob> jobs;
        bool asList;
        CliOptions options;
        std::string error;
    } cases[] = {
        {"index out of range", {{"40", In("clip.avi"), ""}}, false, {}, CliUnknownIndexText("40")},
        {"negative index", {{"-3", In("clip.avi"), ""}}, false, {}, CliUnknownIndexText("-3")},
        {"label not in the catalogue", {{"Audio MP3 - MP3; Audio (128kbps)", In("clip.avi"), ""}}, false, {},
         CliUnknownIndexText("Audio MP3 - MP3; Audio (128kbps)")},
        // A list is refused as a whole, even when the unknown format comes last.
        {"unknown format late in a list", {{"3", In("clip.avi"), In("a.mpeg")}, {"99", In("clip.avi"), In("b.mpeg")}},
         true, {}, CliUnknownIndexText("99")},
        {"missing input", {{"3", In("nope.avi"), ""}}, false, {}, CliMissingInputText(In("nope.avi"))},
        {"output is the input", {{"37", In("clip.avi"), In("clip.avi")}}, false, {}, CliOutputIsInputText(In("clip.avi"))},
        {"a pipe as input", {{"3", In("pipe.avi"), ""}}, false, {}, NotRegularInputText(In("pipe.avi"))},
        {"sync in a list", {{"3", In("clip.avi"), In("a.mpeg")}, {"38", In("clip.avi"), In("b.avi")}}, true, {}, CliNotForListText()},
        {"same output twice", {{"3", In("clip.avi"), In("a.mpeg")}, {"4", In("cam.MTS"), In("a.mpeg")}}, true, {}, CliDuplicateOutputText(In("a.mpeg"))},
        {"same output through a linked folder", {{"3", In("clip.avi"), In("a.mpeg")}, {"4", In("cam.MTS"), In("link/a.mpeg")}},
         true, {}, CliDuplicateOutputText(In("link/a.mpeg"))},
        {"no lag", {{"38", In("clip.avi"), In("b.avi")}}, false, {}, CliLagNeededText()},
        {"zero lag", {{"38", In("clip.avi"), In("b.avi")}}, false, lag, CliZeroLagText()},
        {"zero lag in whole seconds", {{"38", In("clip.avi"), In("b.avi")}}, false, wholeSeconds, CliZeroLagText()},
        {"DVD into the folder of its input", {{"33", In("DVD-Disc1/film.avi"), In("")}}, false, {},
         CliOutputIsInputText(In(""))},
        {"end not after start", {{"39", In("clip.avi"), In("b.avi")}}, false, backwards, CliEndBeforeStartText()},
        {"no segment", {{"39", In("clip.avi"), In("b.avi")}}, false, {}, CliTimesNeededText()},
        {"nothing", {}, false, {}, CliNothingToDoText()},
        {"standard input", {{"3", "-", In("a.mpeg")}}, false, {}, CliNoStandardStreamText()},
        {"standard output", {{"3", In("clip.avi"), "-"}}, false, {}, CliNoStandardStreamText()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Make(c.jobs, c.asList, c.options), c.error) << c.name;
    }
}

}  // namespace
}  // namespace transcoda::cli
