// The pieces of a list converted several items at once: how many run, what an item's
// process prints and tells, and the command line that starts it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "cli/item_outcome.h"
#include "cli/item_output.h"
#include "cli/items_at_once.h"
#include "cli/parallel_list.h"
#include "platform/command_line.h"
#include "recipes/format_catalogue.h"

namespace transcoda::cli {
namespace {

TEST(ItemsAtOnce, AskedOrOnePerProcessorWithinMemoryAndItems) {
    constexpr long long item = kItemMemoryBytes;
    struct Case {
        int asked, items, cores;
        long long memory;
        int count;
        bool capped;
    } cases[] = {
        {0, 10, 2, 64 * item, 2, false},   // one per processor by default
        {0, 10, 8, 3 * item + 1, 3, true},  // as many as the memory holds
        {0, 10, 8, item / 2, 1, true},      // always at least one
        {5, 10, 2, -1, 5, false},           // memory unknown: as asked
        {5, 3, 2, 64 * item, 3, false},     // never more than the items
        {4, 10, 2, 2 * item, 2, true},
        {0, 1, 0, -1, 1, false},
    };
    for (const auto& c : cases) {
        const ItemsAtOnce chosen = ChooseItemsAtOnce(c.asked, c.items, c.cores, c.memory);
        EXPECT_EQ(chosen.Count, c.count) << c.asked << " asked, " << c.items << " items, " << c.cores << " cores";
        EXPECT_EQ(chosen.CappedByMemory, c.capped) << c.asked << " asked, " << c.cores << " cores";
    }
    EXPECT_EQ(AvailableMemoryBytes("MemTotal:       24683520 kB\nMemFree:        22049740 kB\n"
                                   "MemAvailable:   23383516 kB\nBuffers:          123 kB\n"),
              23383516LL * 1024);
    EXPECT_EQ(AvailableMemoryBytes("MemTotal:       24683520 kB\n"), -1) << "an old kernel without the line";
}

// Items that feed one another (one writes the file, or the DVD folder, another reads)
// must keep the list's order; the others may run side by side.
TEST(ItemsAtOnce, ItemsThatFeedOneAnotherAreFound) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("transcoda-chain-" + std::to_string(getpid()));
    fs::create_directories(dir / "dvd/DVD-Disc1");
    for (const char* name : {"a.mp4", "b.avi", "dvd/DVD-Disc1/x.mpg"}) std::ofstream(dir / name) << "media";
    const std::string d = dir.string() + "/";
    const std::string avi = FormatLabel(0), dvd = FormatLabel(33), mp3 = FormatLabel(34);
    struct Case {
        std::vector<ConversionRequest> requests;
        bool depend;
    } cases[] = {
        {{{d + "a.mp4", d + "b.avi", avi}, {d + "b.avi", d + "c.mp3", mp3}}, true},      // b is written, then read
        {{{d + "b.avi", d + "c.mp3", mp3}, {d + "a.mp4", d + "./b.avi", avi}}, true},    // b is read, then written
        {{{d + "dvd/DVD-Disc1/x.mpg", d + "x.mp3", mp3}, {d + "a.mp4", d + "dvd", dvd}}, true},
        {{{d + "a.mp4", d + "a.avi", avi}, {d + "b.avi", d + "b.mp3", mp3}}, false},
        {{{d + "a.mp4", d + "a.avi", avi}, {d + "a.mp4", d + "a.mp3", mp3}}, false},      // one input read twice
    };
    for (const Case& c : cases)
        EXPECT_EQ(ItemsDependOnEachOther(c.requests), c.depend) << c.requests[0].InputPath << " " << c.requests[1].OutputPath;
    fs::remove_all(dir);
}

// The item's process draws its progress line again and again after "\r" and prints its
// messages on lines of their own; the pipe may cut its output anywhere.
TEST(ItemOutput, ProgressAndLinesWhereverTheOutputIsCut) {
    struct Case {
        std::string output;
        std::vector<std::string> lines;
        std::string progress;
    } cases[] = {
        {"\rReady\rConversion...\rConversion...  Progression : 12.35%\rConversion...  Progression : 9.00% ",
         {}, "Conversion...  Progression : 9.00%"},
        {"\rConversion...  Progression : 99.00%\n** 07/12/2026 à 13:00:00 -- log line\n\rReady    ",
         {"** 07/12/2026 à 13:00:00 -- log line"}, "Ready"},
        {"\rAnalysis...\nThe selected format is not supported yet\nsecond message\n", {"The selected format is not supported yet", "second message"},
         "Analysis..."},
        {"a last line without its end", {"a last line without its end"}, ""},
    };
    for (const auto& c : cases) {
        for (size_t cut = 0; cut <= c.output.size(); ++cut) {
            ItemOutput output;
            std::vector<std::string> lines = output.Feed(c.output.substr(0, cut));
            for (auto& line : output.Feed(c.output.substr(cut))) lines.push_back(line);
            for (auto& line : output.Finish()) lines.push_back(line);
            EXPECT_EQ(lines, c.lines) << "cut at " << cut << " of " << c.output;
            EXPECT_EQ(output.Progress(), c.progress) << "cut at " << cut << " of " << c.output;
        }
    }
}

TEST(ItemOutcome, WrittenWholeAndReadBack) {
    const std::string path =
        (std::filesystem::temp_directory_path() / ("transcoda-outcome-" + std::to_string(getpid()))).string();
    using Result = RequestOutcome::Result;
    for (const ItemOutcome& outcome : {ItemOutcome{Result::Written, ""},
                                       ItemOutcome{Result::Failed, "at the step \"picture\"\nsecond line"},
                                       ItemOutcome{Result::Failed, "at the step \"sound\"", "12\nlast line\n"},
                                       ItemOutcome{Result::FolderError, "Impossible de créer le répertoire"},
                                       ItemOutcome{Result::Refused, ""}, ItemOutcome{Result::Stopped, ""}}) {
        ASSERT_TRUE(WriteItemOutcome(path, outcome));
        const auto read = ReadItemOutcome(path);
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(read->Result, outcome.Result);
        EXPECT_EQ(read->Reason, outcome.Reason);
        EXPECT_EQ(read->Details, outcome.Details);
        EXPECT_FALSE(std::filesystem::exists(path + ".part"));
    }
    std::ofstream(path) << "half";
    EXPECT_FALSE(ReadItemOutcome(path).has_value());
    std::filesystem::remove(path);
    EXPECT_FALSE(ReadItemOutcome(path).has_value()) << "an item that ended without a word";
}

// Every text reaches the item's process exactly as it stands: labels with their leading
// blank, paths with blanks, quotes and backslashes, a DVD folder's final "/".
TEST(ParallelList, ItemCommandLineKeepsEveryArgument) {
    ParallelList list;
    list.Program = "/opt/My Tools/transcoda-cli";
    list.Language = "EN";
    list.Debug = true;
    list.Requests = {{"/in/a b.avi", "/out/a \"b\".mpeg", " Video MPEG - MPEG 640x480 (4200 kbps); Audio (128kbps)"},
                     {"/in/x\\\\", "/out/dvd folder/", " DVD PAL High Quality"}};
    for (size_t i = 0; i < list.Requests.size(); ++i) {
        const auto& request = list.Requests[i];
        const std::vector<std::string> expected = {list.Program, "--lang", "EN", "--debug", "-y", "--outcome", "/w/it em",
                                                   "-f", request.FormatLabel, request.InputPath, request.OutputPath};
        EXPECT_EQ(SplitCommandLine(ItemCommandLine(list, i, "/w/it em")), expected);
    }
}

}  // namespace
}  // namespace transcoda::cli
