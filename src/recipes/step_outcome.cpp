#include "recipes/step_outcome.h"

#include "exec/app_state.h"
#include "exec/language.h"

namespace transcoda {

namespace {

constexpr StepNames kNames[] = {
    {StepKind::InputReading, "lecture du fichier d'entrée", "reading of the input"},
    {StepKind::SoundExtraction, "extraction du son", "sound extraction"},
    {StepKind::PictureEncoding, "encodage de l'image", "picture encoding"},
    {StepKind::DownscaledCopy, "préparation d'une copie réduite", "downscaled copy"},
    {StepKind::FinalJoin, "assemblage de l'image et du son", "joining of picture and sound"},
    {StepKind::IntermediateJoin, "assemblage intermédiaire", "intermediate joining"},
    {StepKind::Conversion, "conversion", "conversion"},
    {StepKind::DvdEncoding, "encodage DVD", "DVD encoding"},
    {StepKind::DvdAuthoring, "création du DVD", "DVD authoring"},
    {StepKind::DvdFinalization, "finalisation du DVD", "DVD finalization"},
    {StepKind::Replacement, "mise en place du fichier de sortie", "putting the output in place"},
};

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

std::string StepName(StepKind step) {
    for (const StepNames& n : kNames)
        if (n.Step == step) return Localised(n.French, n.English);
    return {};
}

std::span<const StepNames> AllStepNames() { return kNames; }

std::string StepFailureText(const StepOutcome& step) {
    const std::string why = step.Problem.empty() ? ToolEndText(step.Tool) : step.Problem;
    if (App().English())
        return "at the step \"" + StepName(step.Step) + "\" (file " + Quoted(step.File) + "): " + why;
    return "à l'étape « " + StepName(step.Step) + " » (fichier " + Quoted(step.File) + ") : " + why;
}

}  // namespace transcoda
