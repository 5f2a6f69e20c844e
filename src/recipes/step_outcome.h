#pragma once
// What became of one step of a recipe: which step, the file it writes, how its tool
// ended, and what is wrong with what it wrote when the tool ended well.

#include <span>
#include <string>

#include "exec/tool_outcome.h"

namespace transcoda {

enum class StepKind {
    InputReading,      // the description of the input before anything is converted
    SoundExtraction,   // ExtractAudioTrack
    PictureEncoding,   // the picture-only steps of the chained recipes
    DownscaledCopy,    // PrepareIntermediate
    FinalJoin,         // MuxFinal
    IntermediateJoin,  // MuxIntermediate
    Conversion,        // a preset's own step
    DvdEncoding,
    DvdAuthoring,
    DvdFinalization,
    Replacement,       // putting the finished result in the place of the output
};

struct StepOutcome {
    StepKind Step = StepKind::Conversion;
    std::string File;  // the file (or folder) the step writes
    ToolOutcome Tool;
    // Set when the tool ended well but what it wrote is not right (user text).
    std::string Problem;

    bool Ok() const { return Tool.Succeeded() && Problem.empty(); }
    bool Stopped() const { return Tool.Ending == ToolOutcome::End::Stopped; }
};

// The name the user reads for a step, e.g. "extraction du son" / "sound extraction".
std::string StepName(StepKind step);

// The name of each step in both languages.
struct StepNames {
    StepKind Step;
    const char* French;
    const char* English;
};
std::span<const StepNames> AllStepNames();

// Why a failed step failed, as the end of a sentence that begins "La conversion de X a
// échoué" / "The conversion of X failed": the step, its file and what went wrong.
std::string StepFailureText(const StepOutcome& step);

}  // namespace transcoda
