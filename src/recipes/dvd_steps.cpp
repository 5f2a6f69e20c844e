#include "recipes/dvd_steps.h"

#include <filesystem>
#include <system_error>

#include <cerrno>
#include <unistd.h>

#include "exec/app_state.h"
#include "platform/delete_tree.h"
#include "recipes/dvd_paths.h"
#include "recipes/folder_error.h"
#include "recipes/format_catalogue.h"
#include "recipes/format_step.h"
#include "recipes/path_rules.h"
#include "recipes/step_display.h"

namespace transcoda {

namespace {

void CreateDvdFolder(const std::string& folder) {
    std::error_code error;
    if (std::filesystem::is_directory(folder, error)) return;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder, error)) {
        throw FolderCreationError(kDvdFolderErrorText, folder);
    }
}

// rmdir removes only an empty folder: whatever the title or anyone else put in a
// folder keeps it, and its parents with it.
void RemoveEmptyFolders(const std::vector<std::string>& deepestFirst) {
    for (const std::string& folder : deepestFirst)
        if (::rmdir(folder.c_str()) != 0 && errno != ENOENT) break;
}

void RunDvdRecipe(ConversionSession& session, const std::string& encoding, const std::string& input, const std::string& output,
                  StepChain& chain) {
    chain.Then(StepKind::DvdEncoding, Writes::Media, [&] { return RunFormatStep(session, encoding, input, output); })
        .Then(StepKind::DvdAuthoring, Writes::Nothing, [&] { return RunFormatStep(session, "DVD-authoring", input, output); })
        .Then(StepKind::DvdFinalization, Writes::Media,
              [&] { return RunFormatStep(session, "DVD-finalization", input, output); })
        .Run();
    DeleteFileSilently(DvdStreamPath(output));
}

}  // namespace

std::string AsDvdOutputFolder(const std::string& output) {
    if (output.empty() || output.back() == '/') return output;
    return output + "/";
}

void PrepareDvdFolder(const std::string& output) {
    DeleteFileSilently(DvdStreamPath(output));
    const std::string folder = DvdFolderPath(output);
    std::error_code error;
    if (std::filesystem::is_directory(folder, error)) {
        DeleteTreeSilently(folder + "/AUDIO_TS");
        DeleteTreeSilently(folder + "/VIDEO_TS");
        return;
    }
    CreateDvdFolder(folder);
}

DvdTarget::DvdTarget(const std::string& output) {
    namespace fs = std::filesystem;
    const std::string folder = DvdFolderPath(AsDvdOutputFolder(output));
    // The folders missing now, from "DVD-Disc1" up to the first that exists, are the
    // ones this request makes. The path is taken as written, as the kernel resolves it.
    std::error_code error;
    for (fs::path p = fs::path(folder); !p.empty() && p != p.parent_path(); p = p.parent_path()) {
        // Anything but "not found" (a folder, a link, a path that cannot be looked at)
        // ends the walk.
        if (fs::symlink_status(p, error).type() != fs::file_type::not_found) break;
        made_.push_back(p.string());
    }
    try {
        CreateDvdFolder(folder);
    } catch (...) {
        RemoveEmptyFolders(made_);
        throw;
    }
}

DvdTarget::~DvdTarget() { RemoveEmptyFolders(made_); }

void RunDvdNtscRecipe(ConversionSession& session, const std::string& input, const std::string& output, StepChain& chain) {
    const bool windowsMedia = IsWindowsMediaExtension(GetLowerExtension(input));
    RunDvdRecipe(session, windowsMedia ? "DVD-ntsc-wmv" : "DVD-ntsc", input, AsDvdOutputFolder(output), chain);
}

void RunDvdPalRecipe(ConversionSession& session, const std::string& input, const std::string& output, StepChain& chain) {
    RunDvdRecipe(session, "DVD-pal", input, AsDvdOutputFolder(output), chain);
}

}  // namespace transcoda
