// (Not named bench_*: "make bench" runs those without arguments.)
// Prints every tool run a recipe may make, one a line: a name, the command line exactly
// as the recipes build it, and the file (or folder) it writes, separated by tabs. The
// step benchmark runs each of them against the engine command its tool carries out.
//   step_command_lines PROGRAM_FOLDER WORK_FOLDER INPUT OUTPUT_FOLDER
// Both folders end with "/". The DVD authoring steps, whose engine is not ffmpeg, are
// left out.

#include <cstdio>
#include <string>

#include "exec/app_state.h"
#include "recipes/auxiliary_steps.h"
#include "recipes/format_catalogue.h"
#include "recipes/format_step.h"
#include "recipes/step_templates.h"

namespace {

using namespace transcoda;

// The extension of what a step writes, from the preset that runs it.
std::string ExtensionOf(std::string_view code) {
    for (const FormatEntry& entry : FormatCatalogue()) {
        if (entry.MainCode != code && entry.VariantCode != code) continue;
        if (entry.Output == OutputRule::FixedExtension) return std::string(entry.Extension);
        if (entry.Output == OutputRule::ExtractionExtension && code == entry.VariantCode) return "mpeg";
        return "mp4";  // the input's own extension
    }
    return "avi";  // the picture-only steps write their AVI intermediate
}

void Print(const std::string& name, const std::string& line, const std::string& written) {
    std::printf("%s\t%s\t%s\n", name.c_str(), line.c_str(), written.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s PROGRAM_FOLDER WORK_FOLDER INPUT OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    AppState& app = App();
    app.ProgramFolder = argv[1];
    app.WorkFolder = argv[2];
    const std::string input = argv[3];
    const std::string out = argv[4];
    const SpecialValues values{"0.40", "00:00:10", "00:00:20"};
    const std::string tmp = app.IntermediateFolder() + "tmp1234";

    // The sound intermediates first: the joins read them.
    Print("ExtractAudioTrack 720p", ExtractAudioTrackCommandLine("720p", input, tmp), tmp + ".mp3");
    Print("ExtractAudioTrack wma", ExtractAudioTrackCommandLine("hdToAudioTraitable", input, tmp), tmp + ".wma");
    for (const StepTemplate& step : StepTemplates()) {
        const std::string code(step.Code);
        if (code == "DVD-authoring" || code == "DVD-finalization") continue;
        const bool dvd = code.rfind("DVD-", 0) == 0;
        const std::string output = dvd ? out + code + "/" : out + code + "." + ExtensionOf(code);
        Print(code, FormatStepCommandLine(code, input, output, values, tmp), StepFileOfCode(code, output, tmp));
    }
    Print("PrepareIntermediate", PrepareIntermediateCommandLine("848x480", input, out + "intermediate.avi"),
          out + "intermediate.avi");
    Print("MuxFinal", MuxFinalCommandLine(out + "joined.avi", tmp), out + "joined.avi");
    Print("MuxIntermediate", MuxIntermediateCommandLine(tmp + "-2.avi", tmp), tmp + "-2.avi");
    return 0;
}
