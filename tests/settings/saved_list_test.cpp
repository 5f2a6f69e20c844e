#include "settings/saved_list.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "exec/app_state.h"

namespace fs = std::filesystem;
using transcoda::ItemStatus;
using transcoda::SavedListRow;

namespace {

using Rows = std::vector<SavedListRow>;

// "a b:d c:f" -> rows writing a, b and c: a waiting, b done, c failed. "x=2" reads input 2.
Rows RowsOf(const std::string& text) {
    Rows rows;
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        ItemStatus status;
        const auto colon = word.find(':');
        if (colon != std::string::npos) {
            const char state = word[colon + 1];
            status.Kind = state == 'd' ? ItemStatus::State::Done : ItemStatus::State::Failed;
            if (state == 'f') status.Reason = " : why";
            word.erase(colon);
        }
        std::string input = "in";
        if (const auto eq = word.find('='); eq != std::string::npos) {
            input += word.substr(eq + 1);
            word.erase(eq);
        }
        rows.push_back({"preset", input, word, status});
    }
    return rows;
}

std::string TextOf(const Rows& rows) {
    std::string text;
    for (const SavedListRow& row : rows) {
        text += (text.empty() ? "" : " ") + row.OutputPath;
        if (row.InputPath != "in") text += "=" + row.InputPath.substr(2);
        if (row.Status.Kind == ItemStatus::State::Done) text += ":d";
        if (row.Status.Kind == ItemStatus::State::Failed) text += ":f";
    }
    return text;
}

// One window writes `mine`, having last seen `base`, over a file that holds `theirs`.
TEST(SavedListMerge, AWriteAppliesOnlyWhatItsWindowChanged) {
    struct Case {
        const char* what;
        const char* base;
        const char* mine;
        const char* theirs;
        const char* merged;
    };
    const Case cases[] = {
        {"added on both sides", "a", "a x", "a y", "a y x"},
        {"added to an empty list on both sides", "", "x", "y", "y x"},
        {"added first here", "a", "x a", "a y", "x a y"},
        {"removed here", "a b", "a", "a b y", "a y"},
        {"removed there", "a b", "a b", "a", "a"},
        {"removed there, its status changed here", "a b", "a b:d", "a", "a"},
        {"status changed there", "a b", "a b", "a b:d", "a b:d"},
        {"status changed here", "a b:d", "a:f b:d", "a b y", "a:f b y"},
        {"status changed on both sides: this window's write wins", "a", "a:d", "a:f", "a:d"},
        {"moved here", "a b c", "c a b", "a y b c", "c y a b"},
        {"moved there", "a b c", "a b c", "c b a", "c b a"},
        {"one output added on both sides is kept once", "a", "a x=1", "a x=2", "a x=1"},
        {"everything removed here", "a b", "", "a b y", "y"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextOf(transcoda::MergeSavedList(RowsOf(c.base), RowsOf(c.mine), RowsOf(c.theirs))), c.merged)
            << c.what;
}

class SavedListFile : public testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("saved_list_test_" + std::to_string(getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "config/transcoda");
        folder_ = root_.string() + "/";
        setenv("XDG_CONFIG_HOME", (folder_ + "config").c_str(), 1);
        std::ofstream(folder_ + "config/transcoda/applicationUserPreferences.ini") << "[Visual]\n";
    }
    void TearDown() override {
        fs::remove_all(root_);
        unsetenv("XDG_CONFIG_HOME");
    }
    fs::path root_;
    std::string folder_;
};

// Two windows add rows at the same moment, each writing after each row: every row of
// both stays, each window's rows in its order; a row removed by one does not come back
// with the other's next write.
TEST_F(SavedListFile, TwoWindowsWritingAtOnceKeepEachOthersRows) {
    constexpr int kRows = 40;
    auto window = [&](const std::string& name, Rows* held, Rows* base) {
        for (int i = 0; i < kRows; ++i) {
            held->push_back({"preset", "in", name + std::to_string(i), {}});
            ASSERT_TRUE(transcoda::WriteSavedList(folder_, *held, base).Ok());
        }
    };
    Rows heldA, baseA, heldB, baseB;
    std::thread a(window, "a", &heldA, &baseA);
    std::thread b(window, "b", &heldB, &baseB);
    a.join();
    b.join();
    const Rows kept = transcoda::ReadSavedList(folder_);
    ASSERT_EQ(kept.size(), 2u * kRows);
    for (const Rows* held : {&heldA, &heldB}) {
        Rows own;
        for (const SavedListRow& row : kept)
            if (row.OutputPath[0] == held->front().OutputPath[0]) own.push_back(row);
        EXPECT_EQ(own, *held);
    }

    heldA.erase(heldA.begin());
    ASSERT_TRUE(transcoda::WriteSavedList(folder_, heldA, &baseA).Ok());
    heldB.push_back({"preset", "in", "b-last", {}});
    ASSERT_TRUE(transcoda::WriteSavedList(folder_, heldB, &baseB).Ok());
    const Rows after = transcoda::ReadSavedList(folder_);
    EXPECT_EQ(after.size(), 2u * kRows);
    for (const SavedListRow& row : after) EXPECT_NE(row.OutputPath, "a0");
    EXPECT_EQ(after.back().OutputPath, "b-last");
}

}  // namespace
