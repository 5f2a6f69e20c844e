#include "recipes/dvd_steps.h"

#include <filesystem>
#include <system_error>

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

std::string AsFolder(const std::string& output) {
    if (output.empty() || output.back() == '/') return output;
    return output + "/";
}

void RunDvdRecipe(const std::string& encoding, const std::string& input, const std::string& output) {
    if (!App().ConversionRunning) return;
    RunFormatStep(encoding, input, output);
    RunFormatStep("DVD-authoring", input, output);
    RunFormatStep("DVD-finalization", input, output);
    DeleteFileSilently(DvdStreamPath(output));
}

}  // namespace

void PrepareDvdFolder(const std::string& output) {
    DeleteFileSilently(DvdStreamPath(output));
    const std::string folder = DvdFolderPath(output);
    std::error_code error;
    if (std::filesystem::is_directory(folder, error)) {
        DeleteTreeSilently(folder + "/AUDIO_TS");
        DeleteTreeSilently(folder + "/VIDEO_TS");
        return;
    }
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder, error)) {
        throw FolderCreationError(kDvdFolderErrorText, folder);
    }
}

void RunDvdNtscRecipe(const std::string& input, const std::string& output) {
    const bool windowsMedia = IsWindowsMediaExtension(GetLowerExtension(input));
    RunDvdRecipe(windowsMedia ? "DVD-ntsc-wmv" : "DVD-ntsc", input, AsFolder(output));
}

void RunDvdPalRecipe(const std::string& input, const std::string& output) {
    RunDvdRecipe("DVD-pal", input, AsFolder(output));
}

}  // namespace transcoda
