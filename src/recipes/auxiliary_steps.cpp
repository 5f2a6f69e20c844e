#include "recipes/auxiliary_steps.h"

#include <string_view>

#include "exec/app_state.h"
#include "exec/language.h"
#include "exec/log.h"
#include "exec/run_tool.h"
#include "platform/command_line.h"
#include "recipes/step_display.h"
#include "recipes/step_templates.h"
#include "exec/tool_names.h"

namespace transcoda {

namespace {

// Placeholders as in step_templates.h, plus {tempmp3}, {tempwma}, {size}, {target}.
constexpr std::string_view kExtractAudio720p =
    R"(-i {input} -vn -ar 44100 -ac 2 -ab 192k -f mp3 {tempmp3})";
constexpr std::string_view kExtractAudio1080p =
    R"(-i {input} -vn -ar 44100 -ac 2 -ab 256k -f mp3 {tempmp3})";
constexpr std::string_view kExtractAudioWma =
    R"(-i {input} -vn -ar 44100 -ac 2 -ab 96k -acodec wmav2 {tempwma})";
// The downscaled copy is only a stage on the way to the final encode: it keeps the
// picture at the encoder's finest usual fixed quality (quantiser 2), not at a low bit
// rate, so that the final encode starts from what the camcorder recorded.
constexpr std::string_view kPrepareIntermediate =
    R"(-i {input} -qscale 2 -s {size} -ar 44100 -ac 2 -ab 128k -y {target})";
constexpr std::string_view kMuxFinal =
    R"({tempavi} -o {output} -ovc copy -oac copy -audiofile {tempmp3})";
constexpr std::string_view kMuxIntermediate =
    R"({tempavi} -o {target} -ovc copy -oac copy -audiofile {tempwma})";

std::string CommandLine(std::string_view tool, std::string_view pattern, const std::string& input,
                        const std::string& output, const std::string& size, const std::string& target,
                        const std::string& tempStem) {
    return HelperToolPath(tool) + " " +
           ExpandTemplate(pattern, {{"input", Q(input)},
                                    {"output", Q(output)},
                                    {"size", size},
                                    {"target", Q(target)},
                                    {"tempavi", Q(tempStem + ".avi")},
                                    {"tempmp3", Q(tempStem + ".mp3")},
                                    {"tempwma", Q(tempStem + ".wma")}});
}


}  // namespace

std::string ExtractAudioTrackCommandLine(const std::string& code, const std::string& input,
                                         const std::string& tempStem) {
    std::string_view pattern;
    if (code == "720p") pattern = kExtractAudio720p;
    else if (code == "1080p") pattern = kExtractAudio1080p;
    else if (code == "hdToAudioTraitable") pattern = kExtractAudioWma;
    else return {};
    return CommandLine(utilitymff3, pattern, input, "", "", "", tempStem);
}

std::string PrepareIntermediateCommandLine(const std::string& size, const std::string& input,
                                           const std::string& intermediate) {
    return CommandLine(utilitymff3, kPrepareIntermediate, input, "", size, intermediate, "");
}

std::string MuxFinalCommandLine(const std::string& output, const std::string& tempStem) {
    return CommandLine(utilitymen, kMuxFinal, "", output, "", "", tempStem);
}

std::string MuxIntermediateCommandLine(const std::string& target, const std::string& tempStem) {
    return CommandLine(utilitymen, kMuxIntermediate, "", "", "", target, tempStem);
}

StepOutcome ExtractAudioTrack(ConversionSession& session, const std::string& code, const std::string& input) {
    const std::string stem = TempStem(session);
    ProgressDisplay& display = session.Display();
    ShowStatusText(display, Localised("Analyse...", "Analysis..."));
    DeleteFileSilently(stem + ".mp3");
    SetStepBarMaximum(display, 100);
    StepOutcome outcome{StepKind::SoundExtraction, stem + (code == "hdToAudioTraitable" ? ".wma" : ".mp3"),
                        ToolOutcome::NoStart(), {}};
    const std::string commandLine = ExtractAudioTrackCommandLine(code, input, stem);
    if (!commandLine.empty()) {
        LogPlain("Execution de la ligne de commande : [[" + commandLine + "]]");
        outcome.Tool = RunTool(session, commandLine);
    }
    EndStepDisplay(display);
    return outcome;
}

StepOutcome PrepareIntermediate(ConversionSession& session, const std::string& size, const std::string& input,
                                const std::string& intermediate) {
    ProgressDisplay& display = session.Display();
    ShowStatusText(display, Localised("Préparation/Analyse...", "Preparation/Analysis..."));
    SetStepBarMaximum(display, 100);
    const std::string commandLine = PrepareIntermediateCommandLine(size, input, intermediate);
    LogPlain("Execution de la ligne de commande : [[" + commandLine + "]]");
    StepOutcome outcome{StepKind::DownscaledCopy, intermediate, RunTool(session, commandLine), {}};
    EndStepDisplay(display);
    return outcome;
}

StepOutcome MuxFinal(ConversionSession& session, const std::string& output) {
    const std::string stem = TempStem(session);
    ProgressDisplay& display = session.Display();
    ShowStatusText(display, Localised("Finalisation...", "Finalization..."));
    SetStepBarMaximum(display, 100);
    StepOutcome outcome{StepKind::FinalJoin, output, RunTool(session, MuxFinalCommandLine(output, stem)), {}};
    DeleteFileSilently(stem + ".avi");
    DeleteFileSilently(stem + ".mp3");
    EndStepDisplay(display);
    return outcome;
}

StepOutcome MuxIntermediate(ConversionSession& session, const std::string& target) {
    ProgressDisplay& display = session.Display();
    ShowStatusText(display, Localised("Préparation mémoire...", "Memory preparation..."));
    SetStepBarMaximum(display, 100);
    const std::string commandLine = MuxIntermediateCommandLine(target, TempStem(session));
    LogPlain("Ligne console a éxécuter : [[" + commandLine + "]]");
    StepOutcome outcome{StepKind::IntermediateJoin, target, RunTool(session, commandLine), {}};
    EndStepDisplay(display);
    return outcome;
}

}  // namespace transcoda
