#include "platform/delete_tree.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/program_folder.h"

namespace transcoda {
namespace {

namespace fs = std::filesystem;

TEST(DeleteTreeSilently, RemovesTreesAndFilesButNotWhatLinksPointTo) {
    fs::path base = fs::temp_directory_path() / ("transcoda-del-" + std::to_string(getpid()));
    fs::path tree = base / "VIDEO_TS";
    fs::path outside = base / "keep";
    fs::create_directories(tree / "deep" / "deeper");
    fs::create_directories(outside);
    std::ofstream(tree / "VTS_01_1.VOB") << "data";
    std::ofstream(tree / "deep" / "deeper" / "x") << "data";
    std::ofstream(outside / "precious") << "data";
    fs::create_directory_symlink(outside, tree / "link");
    fs::permissions(tree / "deep", fs::perms::owner_all);
    std::ofstream(base / "single.txt") << "data";

    EXPECT_TRUE(DeleteTreeSilently(tree.string()));
    EXPECT_FALSE(fs::exists(tree));
    EXPECT_TRUE(fs::exists(outside / "precious"));
    EXPECT_TRUE(DeleteTreeSilently((base / "single.txt").string()));
    EXPECT_FALSE(fs::exists(base / "single.txt"));

    for (const std::string& bad : {std::string(), (base / "missing").string(), std::string("/")})
        EXPECT_FALSE(DeleteTreeSilently(bad)) << bad;
    fs::remove_all(base);
}

TEST(ExecutableFolder, IsTheFolderOfTheRunningProgram) {
    const std::string folder = ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(fs::exists(folder + "platform_tests"));
}

}  // namespace
}  // namespace transcoda
