#include "exec/instance.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "exec/app_state.h"
#include "platform/instance_mark.h"
#include "platform/process.h"

namespace transcoda {
namespace {

namespace fs = std::filesystem;

// The user's folders all lie in a temp folder of the test.
class WorkFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : kVariables) {
            const char* value = std::getenv(name);
            saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
        base = fs::temp_directory_path() / ("transcoda-instance-" + std::to_string(getpid()));
        fs::remove_all(base);
        for (const char* sub : {"run", "cache", "home", "tmp"}) fs::create_directories(base / sub);
        Set("XDG_RUNTIME_DIR", base / "run");
        Set("XDG_CACHE_HOME", base / "cache");
        Set("HOME", base / "home");
        Set("TMPDIR", base / "tmp");
        App().WorkFolder.clear();
    }
    void TearDown() override {
        fs::remove_all(base);
        App().WorkFolder.clear();
        for (const auto& [name, value] : saved) {
            if (value) setenv(name, value->c_str(), 1);
            else unsetenv(name);
        }
    }
    static constexpr const char* kVariables[] = {"XDG_RUNTIME_DIR", "XDG_CACHE_HOME", "HOME", "TMPDIR"};
    std::vector<std::pair<const char*, std::optional<std::string>>> saved;
    static void Set(const char* name, const fs::path& value) { setenv(name, value.c_str(), 1); }
    // A folder named after an instance, with a file in it.
    static void MakeInstanceFolder(const fs::path& folder) {
        fs::create_directories(folder);
        std::ofstream(folder / "tmp1234.avi") << "intermediate";
    }
    fs::path base;
};

TEST_F(WorkFolderTest, RootsFollowTheUsersFolders) {
    struct Case {
        const char* runtime;  // nullptr: not set
        const char* cache;
        const char* first;  // under base, or absolute
    };
    for (const Case& c : {Case{"/r", "/c", "/r/transcoda/"}, Case{nullptr, "/c", "/c/transcoda/"},
                          Case{"relative", "/c", "/c/transcoda/"}, Case{nullptr, nullptr, "home/.cache/transcoda/"}}) {
        if (c.runtime) setenv("XDG_RUNTIME_DIR", c.runtime, 1);
        else unsetenv("XDG_RUNTIME_DIR");
        if (c.cache) setenv("XDG_CACHE_HOME", c.cache, 1);
        else unsetenv("XDG_CACHE_HOME");
        const auto roots = WorkFolderRoots();
        ASSERT_FALSE(roots.empty());
        const std::string expected = c.first[0] == '/' ? c.first : (base / c.first).string();
        EXPECT_EQ(roots.front(), expected) << (c.runtime ? c.runtime : "-") << " " << (c.cache ? c.cache : "-");
    }
}

// Without a runtime folder and with no usable cache folder, the work folder is a new
// private one in the temp folder, never one of a fixed name there; with no temp folder
// either there is none, and a conversion is refused (dispatcher) rather than write its
// intermediates beside the program. A dead instance's temp folder goes at the next start.
TEST_F(WorkFolderTest, WithoutRuntimeOrCacheFolderTheWorkFolderIsMadeByMkdtemp) {
    unsetenv("XDG_RUNTIME_DIR");
    std::ofstream((base / "cache-file").string()) << "not a folder";
    Set("XDG_CACHE_HOME", base / "cache-file");
    const std::string prefix = "transcoda-" + std::to_string(getuid()) + "-";
    const fs::path dead = base / "tmp" / (prefix + InstanceMark{getpid(), ThisInstance().StartTime + 3}.Text() + "-Ab3dE9");
    MakeInstanceFolder(dead);
    struct Case {
        const char* tmp;  // under base
        bool made;
    };
    for (const Case& c : {Case{"tmp", true}, Case{"cache-file", false}}) {
        SCOPED_TRACE(c.tmp);
        Set("TMPDIR", base / c.tmp);
        StartInstance();
        EXPECT_EQ(WorkFolderMissing(), !c.made);
        if (!c.made) {
            EXPECT_EQ(App().WorkFolder, "");
            continue;
        }
        const std::string own = App().WorkFolder;
        const std::string start = (base / "tmp").string() + "/" + prefix + ThisInstance().Text() + "-";
        ASSERT_EQ(own.compare(0, start.size(), start), 0) << own;
        struct stat st;
        ASSERT_EQ(stat(own.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        EXPECT_FALSE(fs::exists(dead));
        EndInstance();
        EXPECT_FALSE(fs::exists(own));
    }
}

TEST_F(WorkFolderTest, StartSweepsTheFoldersOfDeadInstancesOnlyAndEndRemovesItsOwn) {
    const fs::path root = base / "run/transcoda";
    ChildProcess running;
    ASSERT_TRUE(running.Start(std::string(FAKE_TOOL) + " sleep", -1));
    const std::string live = RunningProcessMark(running.Pid()).value().Text();
    const std::string dead = InstanceMark{getpid(), ThisInstance().StartTime + 3}.Text();
    MakeInstanceFolder(root / live);
    MakeInstanceFolder(root / dead);
    MakeInstanceFolder(root / "keep-me");
    MakeInstanceFolder(base / "cache/transcoda" / dead);

    StartInstance();
    const std::string own = (root / ThisInstance().Text()).string() + "/";
    EXPECT_EQ(App().WorkFolder, own);
    struct stat st;
    ASSERT_EQ(stat(own.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_FALSE(fs::exists(root / dead));
    EXPECT_FALSE(fs::exists(base / "cache/transcoda" / dead));
    EXPECT_TRUE(fs::exists(root / live / "tmp1234.avi"));
    EXPECT_TRUE(fs::exists(root / "keep-me/tmp1234.avi"));

    std::ofstream(own + "tmp5678.avi") << "intermediate";
    EndInstance();
    EXPECT_FALSE(fs::exists(own));
    EXPECT_TRUE(fs::exists(root / live));
    running.Terminate();
    running.WaitFor(2000);
}

// A root that is a link, or not the user's own, is neither used nor swept: what lies
// there is none of this instance's business.
TEST_F(WorkFolderTest, ARootThatIsALinkIsPassedOver) {
    const std::string dead = InstanceMark{getpid(), ThisInstance().StartTime + 3}.Text();
    MakeInstanceFolder(base / "elsewhere" / dead);
    fs::create_directory_symlink(base / "elsewhere", base / "run/transcoda");

    StartInstance();
    EXPECT_EQ(App().WorkFolder, (base / "cache/transcoda").string() + "/" + ThisInstance().Text() + "/");
    EXPECT_TRUE(fs::exists(base / "elsewhere" / dead / "tmp1234.avi"));
    EXPECT_FALSE(fs::exists(base / "elsewhere" / ThisInstance().Text()));
}

}  // namespace
}  // namespace transcoda
