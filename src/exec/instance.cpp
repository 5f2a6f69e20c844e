#include "exec/instance.h"

#include <unistd.h>

#include <mutex>
#include <cstdlib>
#include <filesystem>
#include <system_error>

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

std::string TempRoot() {
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp";
    if (folder.back() != '/') folder += '/';
    return folder + "transcoda-" + std::to_string(getuid()) + "/";
}

// Removes the work folders of the instances that have ended, each after the outputs its
// instance was writing. Entries that are not named after an instance are left alone.
void SweepGoneInstances(const std::string& root) {
    // Only a folder of this user: the notes in someone else's folder name files that are
    // none of ours.
    if (!IsOwnFolder(root)) return;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(root, ec)) {
        const std::string name = entry.path().filename().string();
        const auto mark = ParseInstanceMark(name);
        if (!mark || *mark == ThisInstance() || !InstanceGone(*mark)) continue;
        if (IsOwnFolder(root + name)) SweepPendingOutputs(root + name + "/");
        DeleteTreeSilently(root + name);
    }
}

}  // namespace

std::vector<std::string> WorkFolderRoots() {
    std::vector<std::string> roots;
    if (const std::string runtime = UserRuntimeFolder(); !runtime.empty()) roots.push_back(runtime + "transcoda/");
    if (const std::string cache = UserCacheFolder(); !cache.empty()) roots.push_back(cache + "transcoda/");
    roots.push_back(TempRoot());
    return roots;
}

void StartInstance() {
    // Their tools first, so that nothing writes into a folder being removed.
    EndMarkedTools(ToolsToEnd::OfGoneInstances);
    const std::vector<std::string> roots = WorkFolderRoots();
    for (const std::string& root : roots) SweepGoneInstances(root);
    AppState& app = App();
    for (const std::string& root : roots) {
        const std::string folder = root + ThisInstance().Text() + "/";
        if (MakePrivateFolder(root) && MakePrivateFolder(folder)) {
            app.WorkFolder = folder;
            return;
        }
    }
}

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
