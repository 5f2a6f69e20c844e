#include "exec/probe_cache.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace transcoda {
namespace {

namespace fs = std::filesystem;

class ProbeCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("transcoda-probes-" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string Write(const std::string& name, const std::string& content) {
        const std::string path = (folder / name).string();
        std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
        return path;
    }
    size_t Entries() const {
        size_t n = 0;
        for (const auto& e : fs::directory_iterator(folder / "probes")) n += e.is_regular_file() ? 1 : 0;
        return n;
    }

    fs::path folder;
};

ProbeAnswer Answer(const std::string& output) { return {1, output, "[FORMAT]\nduration=3.000000\n[/FORMAT]\n"}; }

TEST_F(ProbeCacheTest, AnswersOnlyForTheUnchangedFile) {
    struct Row {
        const char* change;
        std::function<void(const std::string& path, const std::string& entry)> apply;
        bool found;
    };
    const Row rows[] = {
        {"none", [](const std::string&, const std::string&) {}, true},
        {"grown by one byte", [](const std::string& p, const std::string&) { std::ofstream(p, std::ios::app) << "x"; },
         false},
        {"modification time moved, same size",
         [](const std::string& p, const std::string&) {
             fs::last_write_time(p, fs::last_write_time(p) - std::chrono::seconds(5));
         },
         false},
        {"rewritten in place, same size, modification time put back",
         [](const std::string& p, const std::string&) {
             const auto before = fs::last_write_time(p);
             // The change time has a clock tick's resolution: wait for it to move.
             struct stat was {}, now {};
             ::stat(p.c_str(), &was);
             do {
                 std::ofstream(p, std::ios::binary | std::ios::trunc) << "other bytes";
                 fs::last_write_time(p, before);
                 ::stat(p.c_str(), &now);
             } while (now.st_ctim.tv_sec == was.st_ctim.tv_sec && now.st_ctim.tv_nsec == was.st_ctim.tv_nsec);
         },
         false},
        {"replaced by a new file under the same name",
         [this](const std::string& p, const std::string&) {
             const std::string other = Write("other", "media bytes");
             fs::rename(other, p);
         },
         false},
        {"entry cut short", [](const std::string&, const std::string& e) { fs::resize_file(e, fs::file_size(e) / 2); },
         false},
        {"entry of another kind", [](const std::string&, const std::string& e) { std::ofstream(e) << "hello\n"; },
         false},
        // Opened plainly, a FIFO without a writer would block the reader for ever.
        {"entry replaced by a FIFO",
         [](const std::string&, const std::string& e) {
             fs::remove(e);
             ASSERT_EQ(mkfifo(e.c_str(), 0600), 0);
         },
         false},
    };
    const ProbeCache cache((folder / "probes").string());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.change);
        const std::string path = Write("clip.avi", "media bytes");
        const auto identity = IdentityOf(path);
        ASSERT_TRUE(identity);
        ASSERT_TRUE(cache.Store(*identity, Answer("Duration: 00:00:03.00, start: 0.000000\n")));
        const std::string entry = cache.Folder() + std::to_string(identity->Device) + "-" + std::to_string(identity->Inode);
        ASSERT_TRUE(fs::exists(entry));
        row.apply(path, entry);
        const auto found = cache.Find(path);
        EXPECT_EQ(found.has_value(), row.found);
        if (found) {
            EXPECT_EQ(found->Output, "Duration: 00:00:03.00, start: 0.000000\n");
        }
    }
}

TEST_F(ProbeCacheTest, OneEntryPerFileHoldingTheLatestAnswerByteForByte) {
    const ProbeCache cache(folder.string() + "/probes");
    const std::string a = Write("a.mp4", "first");
    const std::string b = Write("b.mp4", "other");
    ASSERT_TRUE(cache.Store(*IdentityOf(a), Answer("old answer\n")));
    std::ofstream(a, std::ios::app) << " and more";
    // Every byte a tool may print: blanks, carriage returns, a zero, high bytes, and
    // no line end at the close.
    const std::string odd("Input #0\r\n  Duration: 00:00:01.00,\0\xff\xfe end", 37);
    ProbeAnswer latest = Answer(odd);
    latest.ExitCode = 255;
    ASSERT_TRUE(cache.Store(*IdentityOf(a), latest));
    ASSERT_TRUE(cache.Store(*IdentityOf(b), Answer("b\n")));

    EXPECT_EQ(Entries(), 2u);
    const auto found = cache.Find(a);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->Output, odd);
    EXPECT_EQ(found->ExitCode, 255);
    EXPECT_EQ(found->Description, latest.Description);
}

TEST_F(ProbeCacheTest, NoFolderNoCacheAndOnlyRegularFilesHaveAnIdentity) {
    const ProbeCache none("");
    const std::string clip = Write("clip.avi", "x");
    EXPECT_FALSE(none.Store(*IdentityOf(clip), Answer("a\n")));
    EXPECT_FALSE(none.Find(clip));
    EXPECT_EQ(none.EnvironmentEntry(), "");
    EXPECT_FALSE(IdentityOf(folder.string()));
    EXPECT_FALSE(IdentityOf((folder / "missing.avi").string()));
    EXPECT_FALSE(IdentityOf("/dev/null"));
}

}  // namespace
}  // namespace transcoda
