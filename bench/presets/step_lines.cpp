// The tool command lines of the recipes' steps, split into arguments as the process
// runner splits them, for the benchmark of the presets: the benchmark runs each step's
// tool exactly as a conversion would, beside the engine commands the tool runs.
//
// Usage: presets_step_lines PROGRAM_FOLDER INTERMEDIATE_FOLDER < requests
// One request per line, fields separated by tabs:
//   step CODE INPUT OUTPUT [LAG START LENGTH]   a step code (RunFormatStep)
//   sound CODE INPUT                            the sound extraction (ExtractAudioTrack)
//   downscale SIZE INPUT TARGET                 the small intermediate (PrepareIntermediate)
//   join OUTPUT                                 the final join (MuxFinal)
//   join-intermediate TARGET                    the camcorder join (MuxIntermediate)
//   split LINE                                  any command line, as logged by a conversion
//   codes INDEX                                 the main and the variant step code of a preset
// One line per request on standard output: the arguments separated by "\x1f" (empty for
// an unknown request). The intermediates' stem is "tmpbench".

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "exec/app_state.h"
#include "platform/command_line.h"
#include "recipes/auxiliary_steps.h"
#include "recipes/format_catalogue.h"
#include "recipes/step_templates.h"

using namespace transcoda;

namespace {

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
        fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    fields.resize(7);
    return fields;
}

std::string CommandLine(const std::vector<std::string>& f) {
    const std::string stem = App().IntermediateFolder() + "tmpbench";
    if (f[0] == "step") {
        SpecialValues values;
        if (!f[4].empty()) values = {f[4], f[5], f[6]};
        return FormatStepCommandLine(f[1], f[2], f[3], values, stem);
    }
    if (f[0] == "sound") return ExtractAudioTrackCommandLine(f[1], f[2], stem);
    if (f[0] == "downscale") return PrepareIntermediateCommandLine(f[1], f[2], f[3]);
    if (f[0] == "join") return MuxFinalCommandLine(f[1], stem);
    if (f[0] == "join-intermediate") return MuxIntermediateCommandLine(f[1], stem);
    if (f[0] == "split") return f[1];
    if (f[0] == "codes") {
        const FormatEntry* entry = FindFormat(FormatLabel(std::atoi(f[1].c_str())));
        return entry == nullptr ? "" : "\"" + std::string(entry->MainCode) + "\" \"" + std::string(entry->VariantCode) + "\"";
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: presets_step_lines PROGRAM_FOLDER INTERMEDIATE_FOLDER < requests\n";
        return 2;
    }
    AppState& app = App();
    app.ProgramFolder = std::string(argv[1]) + "/";
    app.WorkFolder = std::string(argv[2]) + "/";
    std::string line;
    while (std::getline(std::cin, line)) {
        std::string joined;
        const std::string commandLine = CommandLine(Fields(line));
        for (const std::string& arg : commandLine.empty() ? std::vector<std::string>{} : SplitCommandLine(commandLine))
            joined += (joined.empty() ? "" : "\x1f") + arg;
        std::cout << joined << '\n';
    }
    return 0;
}
