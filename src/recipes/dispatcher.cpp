#include "recipes/dispatcher.h"


#include <cctype>
#include <optional>
#include <vector>

#include "exec/app_state.h"
#include "exec/language.h"
#include "exec/duration_probe.h"
#include "exec/ffprobe_streams.h"
#include "exec/instance.h"
#include "exec/log.h"
#include "recipes/auxiliary_steps.h"
#include "recipes/dvd_steps.h"
#include "recipes/format_catalogue.h"
#include "recipes/format_step.h"
#include "recipes/full_disk.h"
#include "recipes/input_pin.h"
#include "recipes/input_read_by_step.h"
#include "recipes/output_guard.h"
#include "recipes/output_replacement.h"
#include "recipes/path_rules.h"
#include "recipes/result_check.h"
#include "recipes/sound_alongside.h"
#include "recipes/step_chain.h"
#include "recipes/step_display.h"
#include "recipes/step_templates.h"
#include "recipes/temp_names.h"

namespace transcoda {

namespace {

using Result = DispatchOutcome::Result;

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// The folder part of `path`, without its final "/".
std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Deletes the listed intermediates when the recipe ends, also when a folder error
// ends it early, so that nothing is left behind in the intermediate folder.
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

// A fresh TempBaseName none of whose intermediates exists.
void NewTempBaseName(ConversionSession& session) {
    FreeTempName drawn =
        NewFreeTempName(App().IntermediateFolder(), {".avi", ".mp3", ".wma", "-2.avi"}, "", session.TempNames);
    session.TempBaseName = std::move(drawn.Name);
    session.TempBaseHold = std::move(drawn.Hold);
}

void HdAviRecipe(ConversionSession& session, const std::string& code, const std::string& input,
                 const std::string& output, StepChain& chain) {
    NewTempBaseName(session);
    const std::string stem = TempStem(session);
    FinalDeletions cleanup({stem + ".avi", stem + ".mp3"});
    if (session.Hook()) {
        // Tools played by a test, one at a time: the sound first, then the picture.
        chain.Then(StepKind::SoundExtraction, Writes::Sound, [&] { return ExtractAudioTrack(session, code, input); })
            .Then(StepKind::PictureEncoding, Writes::Picture,
                  [&] { return RunFormatStep(session, code, input, output); })
            .Then(StepKind::FinalJoin, Writes::Media, [&] { return MuxFinal(session, output); })
            .Run();
        return;
    }
    // What is left of the sound's run once the picture is encoded: in all but the
    // shortest inputs, it has ended by then.
    constexpr double kTakenBesideShare = 0.005;
    // The sound is extracted while the picture is encoded (sound_alongside.h), and
    // checked once both have ended; a sound that fails ends the picture's run and is
    // the request's failure.
    std::optional<SoundAlongside> sound;
    chain.Then(StepKind::PictureEncoding, Writes::Picture,
               [&] {
                   sound.emplace(session, code, input);
                   StepOutcome picture = RunFormatStep(session, code, input, output);
                   return sound->Failed() ? sound->Take() : picture;
               })
        .Then(StepKind::SoundExtraction, Writes::Sound, [&] { return sound->Take(); }, kTakenBesideShare)
        .Then(StepKind::FinalJoin, Writes::Media, [&] { return MuxFinal(session, output); })
        .Run();
}

void CamcorderReencodeRecipe(ConversionSession& session, const std::string& code, const std::string& input,
                             const std::string& output, StepChain& chain) {
    NewTempBaseName(session);
    const std::string stem = TempStem(session);
    const std::string intermediate = stem + "-2.avi";
    FinalDeletions cleanup({stem + ".wma", stem + ".avi", intermediate});
    chain.Then(StepKind::SoundExtraction, Writes::Sound,
               [&] { return ExtractAudioTrack(session, "hdToAudioTraitable", input); })
        .Then(StepKind::PictureEncoding, Writes::Picture,
              [&] { return RunFormatStep(session, "hdToVideoTraitable", input, output); })
        .Then(StepKind::IntermediateJoin, Writes::Media, [&] { return MuxIntermediate(session, intermediate); })
        .Then(StepKind::Conversion, Writes::Media, [&] { return RunFormatStep(session, code, intermediate, output); })
        .Run();
}

void CamcorderDownscaleRecipe(ConversionSession& session, const FormatEntry& entry, const std::string& input,
                              const std::string& output, StepChain& chain) {
    // Every step deletes IntermediateFolder + TempBaseName + ".avi" before it runs, so
    // the intermediate must bear another name.
    const FreeTempName name =
        NewFreeTempName(App().IntermediateFolder(), {".avi"}, session.TempBaseName, session.TempNames);
    const std::string intermediate = App().IntermediateFolder() + name.Name + ".avi";
    FinalDeletions cleanup({intermediate});
    chain.Then(StepKind::DownscaledCopy, Writes::Media,
               [&] { return PrepareIntermediate(session, std::string(entry.IntermediateSize), input, intermediate); })
        .Then(StepKind::Conversion, Writes::Media,
              [&] { return RunFormatStep(session, std::string(entry.MainCode), intermediate, output); })
        .Run();
}

void RunRecipe(ConversionSession& session, const FormatEntry& entry, const std::string& e,
               const ConversionRequest& request, const std::string& output, StepChain& chain, bool inputRead) {
    const std::string& input = request.InputPath;
    const std::string main(entry.MainCode);
    const std::string variant(entry.VariantCode);
    auto single = [&](const std::string& code) {
        chain.Then(StepKindOfCode(code), Writes::Media,
                   [&] { return RunFormatStep(session, code, input, output, request.Special, inputRead); })
            .Run();
    };
    switch (entry.Recipe) {
        case RecipeKind::HdAvi:
            HdAviRecipe(session, main, input, output, chain);
            break;
        case RecipeKind::Mpeg:
            single(IsAsfFamilyExtension(e) ? variant : main);
            break;
        case RecipeKind::Audio:
            single(IsFlashExtension(e) ? variant : main);
            break;
        case RecipeKind::CamcorderReencode:
            if (IsCamcorderExtension(e)) CamcorderReencodeRecipe(session, main, input, output, chain);
            else single(main);
            break;
        case RecipeKind::Single:
        case RecipeKind::SingleIfRunning:
        case RecipeKind::SyncCorrection:
            single(main);
            break;
        case RecipeKind::CamcorderDownscale:
            if (IsCamcorderExtension(e)) CamcorderDownscaleRecipe(session, entry, input, output, chain);
            else single(main);
            break;
        case RecipeKind::DvdNtsc:
            RunDvdNtscRecipe(session, input, output, chain);
            break;
        case RecipeKind::DvdPal:
            RunDvdPalRecipe(session, input, output, chain);
            break;
        case RecipeKind::Extraction:
            single(IsCamcorderExtension(e) ? variant : main);
            break;
    }
}

// The special presets log what they were given; without it there is nothing to do.
bool HasSpecialValues(const FormatEntry& entry, const SpecialValues& values) {
    if (entry.Recipe == RecipeKind::SyncCorrection) {
        LogPlain("-- Dans le thread on va lancer la synchro avec le delai de :<" + values.SyncDelay + ">");
        return values.SyncDelay != kNoSyncDelay;
    }
    if (entry.Recipe == RecipeKind::Extraction) {
        LogPlain("-- Dans le thread on va lancer l'extraction avec la position de depart :<" +
                 values.ExtractionStart + "> et le endpos de <" + values.ExtractionLength + ">");
        return values.ExtractionStart != kNoExtractionValue && values.ExtractionLength != kNoExtractionValue;
    }
    return true;
}

DispatchOutcome Failed(std::string reason) { return {Result::Failed, std::move(reason), {}}; }

// A failed step: why, and what its tool said last.
DispatchOutcome FailedStep(const StepOutcome& step) {
    DispatchOutcome outcome = Failed(StepFailureText(step));
    for (const std::string& line : step.Tool.LastLines) outcome.Details += line + "\n";
    return outcome;
}

// The same, for a step of the recipe that writes `temp` in the place of `output`. A full
// disk is told with the folder the user chose: the hidden temporary output (or the
// temporary DVD folder) is never named, not even in the tool's lines.
DispatchOutcome FailedStep(const StepOutcome& step, const std::string& temp, const std::string& output) {
    DispatchOutcome outcome = FailedStep(step);
    const bool temporary = step.File.starts_with(temp);
    const std::string folder = FolderOf(temporary ? output : step.File);
    if (!RanOutOfRoom(step, folder)) return outcome;
    outcome.Reason = FullDiskText(step.Step, folder);
    for (size_t at = 0; temporary && (at = outcome.Details.find(temp, at)) != std::string::npos; at += output.size())
        outcome.Details.replace(at, temp.size(), output);
    return outcome;
}

// The request is timed from its checks to its end, whichever way it ends.
class RequestTimingScope {
public:
    explicit RequestTimingScope(RequestTiming& timing) : timing_(timing) { timing_.BeginRequest(); }
    ~RequestTimingScope() { timing_.EndRequest(); }
    RequestTimingScope(const RequestTimingScope&) = delete;
    RequestTimingScope& operator=(const RequestTimingScope&) = delete;

private:
    RequestTiming& timing_;
};

// "avant de commencer : " + why, for the requests refused before any step.
DispatchOutcome RefusedBeforeStart(std::string why) {
    if (!why.empty() && why.back() == '.') why.pop_back();
    if (!why.empty()) why[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(why[0])));
    return Failed(Localised("avant de commencer : ", "before it began: ") + why);
}

// What the input holds, read by the tool of the duration probe. A request stopped
// meanwhile, or whose probe could not run, says so.
std::optional<DispatchOutcome> ReadInput(ConversionSession& session, const std::string& input,
                                         StreamReport& report) {
    StepOutcome probe{StepKind::InputReading, input, extractDuration(session, input), {}};
    if (probe.Stopped()) return DispatchOutcome{Result::Stopped, {}, {}};
    if (probe.Tool.Ending != ToolOutcome::End::Exited) return FailedStep(probe);
    std::optional<StreamReport> read = probe.Tool.Report;
    if (!read) read = ProbeStreamsWithFfprobe(input);
    report = read.value_or(StreamReport{});
    return std::nullopt;
}

// What the output must hold, from the input as it is read: a refusal, a stop or a probe
// that could not run ends the request with `ended`.
bool ExpectFromInput(ConversionSession& session, const FormatEntry& entry, const ConversionRequest& request,
                     Expectation& expected, std::optional<DispatchOutcome>& ended) {
    StreamReport read;
    if (std::optional<StreamReport> kept = KeptInputReport(request.InputPath)) read = *kept;
    else if ((ended = ReadInput(session, request.InputPath, read))) return false;
    const InputVerdict verdict = ExpectOutput(entry, request, read);
    if (!verdict.Refusal.empty()) {
        LogError(" -- " + Quoted(request.InputPath) + " : " + verdict.Refusal);
        ended = RefusedBeforeStart(verdict.Refusal);
        return false;
    }
    expected = verdict.Expected;
    return true;
}

}  // namespace

DispatchOutcome DispatchConversion(ConversionSession& session, const ConversionRequest& request) {
    const std::string web = kProductWebAddress;
    const std::string& input = request.InputPath;
    const std::string& output = request.OutputPath;
    const std::string e = GetLowerExtension(input);
    LogEvent(" -- L'extension du fichier à transformer est : " + Quoted(e));
    if (!IsSupportedInputExtension(e)) {
        const std::string message = Localised(
            "L'extension du fichier source n'est pas supportée actuelement, merci de reporter ce manque à ",
            "The file's extension of the input file is not supported yet, please contact ") + web;
        LogError(" -- L'extension du fichier à transformer (" + Quoted(e) + ") n'est pas supportée.");
        return {Result::Refused, {}, {}, message};
    }
    const FormatEntry* entry = FindFormat(request.FormatLabel);
    if (entry == nullptr) {
        const std::string message = Localised("Le format cible n'est pas encore supporté, merci de reporter ce manque à ",
                                              "The selected format is not supported yet, please contact ") + web;
        LogError(" -- Le format cible (" + Quoted(request.FormatLabel) + ") n'est pas encore supportée.");
        return {Result::Refused, {}, {}, message};
    }
    if (!HasSpecialValues(*entry, request.Special)) return {Result::NothingToDo, {}, {}};
    if (!session.Running()) return {Result::Stopped, {}, {}};
    const RequestTimingScope timing(session.Timing());

    // Without a private work folder the intermediates would have nowhere safe to go.
    if (WorkFolderMissing())
        return RefusedBeforeStart(Localised(
            "aucun dossier de travail privé n'a pu être créé (ni dans $XDG_RUNTIME_DIR, ni dans le dossier "
            "de cache de l'utilisateur, ni dans le dossier temporaire)",
            "no private work folder could be made (in $XDG_RUNTIME_DIR, in the user's cache folder or in the "
            "temporary folder)"));
    // The input as it is now is the one the whole request converts.
    if (ExistsButIsNotRegular(input)) return RefusedBeforeStart(NotRegularInputText(input));
    const InputPin pin(input);
    const bool dvd = entry->WritesDvd();
    const std::string refusal = OutputRefusal(output, request.FormatLabel);
    if (!refusal.empty()) {
        LogError(" -- " + refusal);
        return RefusedBeforeStart(refusal);
    }
    // Converting a file onto itself, or a DVD into the folder that holds it, would
    // destroy the input.
    if (OutputWouldDestroyInput(input, output, dvd)) {
        LogError(" -- Le fichier de sortie est le fichier d'entrée : " + Quoted(output));
        return RefusedBeforeStart(Localised("le fichier de sortie serait le fichier d'entrée lui-même",
                                            "the output would be the input file itself"));
    }

    // A short input of a one-step request is read by its step's tool (input_read_by_step.h).
    const bool readByStep = InputReadByStep(*entry, e, input);
    Expectation expected;
    std::optional<DispatchOutcome> ended;
    if (!readByStep && !ExpectFromInput(session, *entry, request, expected, ended)) return *ended;

    std::optional<DvdTarget> dvdTarget;  // goes after the replacement, which empties it
    if (dvd) dvdTarget.emplace(output);
    OutputReplacement replacement(dvd ? AsDvdOutputFolder(output) : output, dvd);
    StepChain chain(session, expected, &pin);
    if (readByStep)
        chain.ExpectAfterFirstStep(
            [&](Expectation& after) { return ExpectFromInput(session, *entry, request, after, ended); });
    RunRecipe(session, *entry, e, request, replacement.WritePath(), chain, !readByStep);
    if (chain.EndedByExpectation() && ended) return *ended;
    if (chain.Result().Stopped()) return {Result::Stopped, {}, {}};
    // A result made from a changed input is never put in place.
    if (chain.InputChanged() || !pin.Unchanged()) return Failed(InputChangedText());
    if (!chain.Ok())
        return FailedStep(chain.Result(), replacement.WritePath(), dvd ? AsDvdOutputFolder(output) : output);

    const std::string problem = replacement.Commit();
    if (!problem.empty()) {
        LogError(" -- " + problem);
        return Failed(StepFailureText({StepKind::Replacement, output, ToolOutcome::Exit(0), problem}));
    }
    if (dvdTarget) dvdTarget->Keep();
    return {Result::Written, {}, {}};
}

}  // namespace transcoda
