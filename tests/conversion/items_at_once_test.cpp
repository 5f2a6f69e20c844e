// The pieces of a list converted several items at once: how many run, and which must
// keep their order.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "conversion/items_at_once.h"
#include "recipes/format_catalogue.h"

namespace transcoda {
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

}  // namespace
}  // namespace transcoda
