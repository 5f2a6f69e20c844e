#include "recipes/format_step.h"

#include <filesystem>
#include <system_error>

#include "exec/app_state.h"
#include "exec/language.h"
#include "exec/duration_probe.h"
#include "exec/log.h"
#include "exec/run_tool.h"
#include "recipes/dvd_paths.h"
#include "recipes/dvd_steps.h"
#include "recipes/folder_error.h"
#include "recipes/step_display.h"
#include "recipes/step_templates.h"

namespace transcoda {

namespace {

bool IsDvdEncoding(const std::string& code) {
    return code == "DVD-ntsc" || code == "DVD-pal" || code == "DVD-ntsc-wmv";
}

void ProbeDuration(ConversionSession& session, const std::string& input, const char* begin, const char* end) {
    LogPlain(std::string(begin) + input + ">");
    extractDuration(session, input);
    LogPlain(std::string(end) + input + ">");
}

// Deletes the output file and makes sure that its folder exists.
void PrepareOutput(const std::string& output) {
    DeleteFileSilently(output);
    const std::string::size_type slash = output.find_last_of('/');
    // A path without a folder part cannot have its folder created.
    if (slash == std::string::npos) throw FolderCreationError(kOutputFolderErrorText, "");
    const std::string folder = output.substr(0, slash + 1);
    std::error_code error;
    if (std::filesystem::is_directory(folder, error)) return;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder, error)) {
        throw FolderCreationError(kOutputFolderErrorText, folder);
    }
}

bool IsPictureOnly(const std::string& code) {
    return code == "720p" || code == "1080p" || code == "hdToVideoTraitable";
}

}  // namespace

StepKind StepKindOfCode(const std::string& code) {
    if (IsPictureOnly(code)) return StepKind::PictureEncoding;
    if (IsDvdEncoding(code)) return StepKind::DvdEncoding;
    if (code == "DVD-authoring") return StepKind::DvdAuthoring;
    if (code == "DVD-finalization") return StepKind::DvdFinalization;
    return StepKind::Conversion;
}

std::string StepFileOfCode(const std::string& code, const std::string& output, const std::string& tempStem) {
    if (IsPictureOnly(code)) return tempStem + ".avi";
    if (IsDvdEncoding(code)) return DvdStreamPath(output);
    if (code == "DVD-authoring" || code == "DVD-finalization") return DvdFolderPath(output);
    return output;
}

StepOutcome RunFormatStep(ConversionSession& session, const std::string& code, const std::string& input,
                          const std::string& output, const SpecialValues& values, bool probeInput) {
    ProgressState& app = session.Progress;
    ProgressDisplay& display = session.Display();
    const std::string stem = TempStem(session);
    StepOutcome outcome{StepKindOfCode(code), StepFileOfCode(code, output, stem), ToolOutcome::NoStart(), {}};
    const StepTemplate* step = FindStepTemplate(code);
    if (step == nullptr) {
        LogError(" -- Code d'étape inconnu : \"" + code + "\"");
        return outcome;
    }

    app.InputDurationCs = kNotProbed;
    app.PositionCs = kNotProbed;
    app.DurationText.clear();
    if (probeInput)
        ProbeDuration(session, input, "--- 1 ère Extraction de durée depuis extractvideofromavhcd de <",
                      "--- FIN de la 1ière extraction de durée depuis extractvideofromavhcd de <");
    if (probeInput && app.DurationText.empty()) {
        ProbeDuration(session, input, "--- 2 ème Extraction de durée depuis extractvideofromavhcd de <",
                      "--- FIN de la 2ième extraction de durée depuis extractvideofromavhcd de <");
    }

    if (!IsDvdEncoding(code)) PrepareOutput(output);

    ShowStatusText(display, "Conversion...");
    if (code == "DVD-authoring") {
        ShowStatusText(display, Localised("Création du DVD..", "DVD creation.."));
    } else if (code == "DVD-finalization") {
        ShowStatusText(display, Localised("Finalisation du DVD..", "Finalization of DVD.."));
    }

    // The steps that write this intermediate must never meet a stale copy.
    DeleteFileSilently(stem + ".avi");
    SetStepBarMaximum(display, 100);

    if (code == "hdToVideoTraitable") ShowStatusText(display, Localised("Vérification...", "Verification..."));
    if (IsDvdEncoding(code)) PrepareDvdFolder(output);

    const std::string commandLine = FormatStepCommandLine(code, input, output, values, stem);
    LogPlain("Ligne console a éxécuter depuis extractvideofromavhcd : [[" + commandLine + "]]");
    outcome.Tool = RunTool(session, commandLine);
    LogPlain("--- FIN de RunTool depuis extractvideofromavhcd");

    EndStepDisplay(display);
    return outcome;
}

}  // namespace transcoda
