#include "recipes/dispatcher.h"

#include <sys/stat.h>

#include <initializer_list>
#include <vector>

#include "exec/app_state.h"
#include "exec/log.h"
#include "exec/window_port.h"
#include "recipes/auxiliary_steps.h"
#include "recipes/dvd_steps.h"
#include "recipes/format_catalogue.h"
#include "recipes/format_step.h"
#include "recipes/path_rules.h"
#include "recipes/step_display.h"
#include "recipes/temp_names.h"

namespace transcoda {

namespace {

bool Running() { return App().ConversionRunning.load(); }

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

void ShowWorkerMessage(const std::string& text) {
    if (WindowPort* window = App().Window) window->ShowMessage(text);
}

// Deletes the listed intermediates when the recipe ends, also when a folder error
// ends it early, so that nothing is left behind in the helper folder.
class FinalDeletions {
public:
    explicit FinalDeletions(std::vector<std::string> paths) : paths_(std::move(paths)) {}
    ~FinalDeletions() {
        for (const std::string& path : paths_) DeleteFileSilently(path);
    }
    FinalDeletions(const FinalDeletions&) = delete;
    FinalDeletions& operator=(const FinalDeletions&) = delete;

private:
    std::vector<std::string> paths_;
};

// True when both paths name the same existing file, however they are spelt.
bool SameExistingFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    if (::stat(a.c_str(), &first) != 0 || ::stat(b.c_str(), &second) != 0) return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::string TempFile(const char* suffix) { return App().HelperFolder() + App().TempBaseName + suffix; }

void HdAviRecipe(const std::string& code, const std::string& input, const std::string& output) {
    App().TempBaseName = NewTempName();
    FinalDeletions cleanup({TempFile(".avi"), TempFile(".mp3")});
    ExtractAudioTrack(code, input);
    if (Running()) RunFormatStep(code, input, output);
    if (Running()) MuxFinal(output);
}

void CamcorderReencodeRecipe(const std::string& code, const std::string& input,
                             const std::string& output) {
    App().TempBaseName = NewTempName();
    const std::string intermediate = TempFile("-2.avi");
    FinalDeletions cleanup({TempFile(".wma"), TempFile(".avi"), intermediate});
    ExtractAudioTrack("hdToAudioTraitable", input);
    if (Running()) RunFormatStep("hdToVideoTraitable", input, output);
    if (Running()) MuxIntermediate(intermediate);
    if (Running()) RunFormatStep(code, intermediate, output);
}

void CamcorderDownscaleRecipe(const FormatEntry& entry, const std::string& input,
                              const std::string& output) {
    // Every step deletes HelperFolder + TempBaseName + ".avi" before it runs, so the
    // intermediate must bear another name.
    std::string name;
    do {
        name = NewTempName();
    } while (name == App().TempBaseName);
    const std::string intermediate = App().HelperFolder() + name + ".avi";
    FinalDeletions cleanup({intermediate});
    if (Running()) PrepareIntermediate(std::string(entry.IntermediateSize), input, intermediate);
    if (Running()) RunFormatStep(std::string(entry.MainCode), intermediate, output);
}

void RunRecipe(const FormatEntry& entry, const std::string& e, const std::string& input,
               const std::string& output) {
    AppState& app = App();
    const std::string main(entry.MainCode);
    const std::string variant(entry.VariantCode);
    switch (entry.Recipe) {
        case RecipeKind::HdAvi:
            HdAviRecipe(main, input, output);
            break;
        case RecipeKind::Mpeg:
            RunFormatStep(IsAsfFamilyExtension(e) ? variant : main, input, output);
            break;
        case RecipeKind::Audio:
            RunFormatStep(IsFlashExtension(e) ? variant : main, input, output);
            break;
        case RecipeKind::CamcorderReencode:
            if (IsCamcorderExtension(e)) {
                CamcorderReencodeRecipe(main, input, output);
            } else {
                RunFormatStep(main, input, output);
            }
            break;
        case RecipeKind::Single:
            RunFormatStep(main, input, output);
            break;
        case RecipeKind::SingleIfRunning:
            if (Running()) RunFormatStep(main, input, output);
            break;
        case RecipeKind::CamcorderDownscale:
            if (IsCamcorderExtension(e)) {
                CamcorderDownscaleRecipe(entry, input, output);
            } else if (Running()) {
                RunFormatStep(main, input, output);
            }
            break;
        case RecipeKind::DvdNtsc:
            RunDvdNtscRecipe(input, output);
            break;
        case RecipeKind::DvdPal:
            RunDvdPalRecipe(input, output);
            break;
        case RecipeKind::SyncCorrection:
            LogPlain("-- Dans le thread on va lancer la synchro avec le delai de :<" + app.SyncDelay + ">");
            if (app.SyncDelay != kNoSyncDelay && Running()) RunFormatStep(main, input, output);
            break;
        case RecipeKind::Extraction:
            LogPlain("-- Dans le thread on va lancer l'extraction avec la position de depart :<" +
                     app.ExtractionStart + "> et le endpos de <" + app.ExtractionLength + ">");
            if (app.ExtractionStart != kNoExtractionValue &&
                app.ExtractionLength != kNoExtractionValue && Running()) {
                RunFormatStep(IsCamcorderExtension(e) ? variant : main, input, output);
            }
            break;
    }
}

}  // namespace

void DispatchConversion(const std::string& input, const std::string& output, const std::string& label) {
    const std::string web = kProductWebAddress;
    const std::string e = GetLowerExtension(input);
    LogEvent(" -- L'extension du fichier à transformer est : " + Quoted(e));
    if (!IsSupportedInputExtension(e)) {
        ShowWorkerMessage(Localised(
            "L'extension du fichier source n'est pas supportée actuelement, merci de reporter ce manque à ",
            "The file's extension of the input file is not supported yet, please contact ") + web);
        LogError(" -- L'extension du fichier à transformer (" + Quoted(e) + ") n'est pas supportée.");
        return;
    }
    const FormatEntry* entry = FindFormat(label);
    if (entry == nullptr) {
        ShowWorkerMessage(Localised("Le format cible n'est pas encore supporté, merci de reporter ce manque à ",
                                    "The selected format is not supported yet, please contact ") + web);
        LogError(" -- Le format cible (" + Quoted(label) + ") n'est pas encore supportée.");
        return;
    }
    // Every recipe deletes its output before writing it: converting a file onto itself
    // would destroy the input. The request fails instead, as a tool that cannot start.
    if (SameExistingFile(input, output)) {
        LogError(" -- Le fichier de sortie est le fichier d'entrée : " + Quoted(output));
        App().LastExitStatus = -1;
        return;
    }
    RunRecipe(*entry, e, input, output);
}

}  // namespace transcoda
