#include "exec/instance.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <system_error>
#include <vector>

#include "exec/app_state.h"
#include "exec/pending_outputs.h"
#include "platform/delete_tree.h"
#include "platform/instance_mark.h"
#include "platform/instance_tools.h"
#include "platform/user_folders.h"

namespace transcoda {

namespace {

// Held while the instance ends: a second caller (the stop signals' thread giving up
// while main ends) waits until the first has removed everything.
std::mutex gEndMutex;
bool gEnded = false;
bool gNoWorkFolder = false;

// The system's temp folder, with its trailing "/".
std::string TempFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp";
    if (folder.back() != '/') folder += '/';
    return folder;
}

// In the temp folder, shared with every user, no name is fixed in advance (another user
// could make it first): each work folder is made there by mkdtemp, under
// "transcoda-<uid>-<instance mark>-" and six random characters.
std::string TempFolderPrefix() { return "transcoda-" + std::to_string(getuid()) + "-"; }

// The instance a temp-folder work folder belongs to; nullopt for any other name.
std::optional<InstanceMark> TempFolderInstance(const std::string& name) {
    const std::string prefix = TempFolderPrefix();
    if (name.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
    const auto last = name.rfind('-');
    if (last == std::string::npos || last <= prefix.size()) return std::nullopt;
    return ParseInstanceMark(std::string_view(name).substr(prefix.size(), last - prefix.size()));
}

// Removes the work folder of an instance that has ended, after the outputs its instance
// was writing: only a folder of this user, whose notes name files of ours.
void SweepGoneFolder(const std::string& folder, const std::optional<InstanceMark>& mark) {
    if (!mark || *mark == ThisInstance() || !InstanceGone(*mark)) return;
    if (!IsOwnFolder(folder)) return;
    SweepPendingOutputs(folder + "/");
    DeleteTreeSilently(folder);
}

// Removes the work folders of the instances that have ended. Entries that are not named
// after an instance are left alone.
void SweepGoneInstances(const std::string& root) {
    if (!IsOwnFolder(root)) return;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(root, ec)) {
        const std::string name = entry.path().filename().string();
        SweepGoneFolder(root + name, ParseInstanceMark(name));
    }
}

void SweepGoneTempFolders() {
    const std::string temp = TempFolder();
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(temp, ec)) {
        const std::string name = entry.path().filename().string();
        SweepGoneFolder(temp + name, TempFolderInstance(name));
    }
}

// A new private folder in the temp folder; empty when none can be made.
std::string MakeTempWorkFolder() {
    std::string pattern = TempFolder() + TempFolderPrefix() + ThisInstance().Text() + "-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (mkdtemp(name.data()) == nullptr) return {};
    return std::string(name.data()) + "/";
}

}  // namespace

std::vector<std::string> WorkFolderRoots() {
    std::vector<std::string> roots;
    if (const std::string runtime = UserRuntimeFolder(); !runtime.empty()) roots.push_back(runtime + "transcoda/");
    if (const std::string cache = UserCacheFolder(); !cache.empty()) roots.push_back(cache + "transcoda/");
    return roots;
}

void StartInstance() {
    {
        std::lock_guard lock(gEndMutex);
        gEnded = false;
    }
    // Their tools first, so that nothing writes into a folder being removed.
    EndMarkedTools(ToolsToEnd::OfGoneInstances);
    const std::vector<std::string> roots = WorkFolderRoots();
    for (const std::string& root : roots) SweepGoneInstances(root);
    SweepGoneTempFolders();
    AppState& app = App();
    app.WorkFolder.clear();
    for (const std::string& root : roots) {
        const std::string folder = root + ThisInstance().Text() + "/";
        if (MakePrivateFolder(root) && MakePrivateFolder(folder)) {
            app.WorkFolder = folder;
            break;
        }
    }
    if (app.WorkFolder.empty()) app.WorkFolder = MakeTempWorkFolder();
    gNoWorkFolder = app.WorkFolder.empty();
}

bool WorkFolderMissing() { return gNoWorkFolder; }

void EndInstance() {
    std::lock_guard lock(gEndMutex);
    if (gEnded) return;
    gEnded = true;
    EndMarkedTools(ToolsToEnd::OfThisAndGoneInstances);
    const std::string folder = App().WorkFolder;
    if (folder.empty()) return;
    SweepPendingOutputs(folder);
    DeleteTreeSilently(folder.substr(0, folder.size() - 1));
}

}  // namespace transcoda
