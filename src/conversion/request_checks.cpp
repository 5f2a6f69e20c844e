#include "conversion/request_checks.h"

#include <filesystem>
#include <system_error>

#include "conversion/request_texts.h"
#include "exec/log.h"
#include "recipes/format_catalogue.h"
#include "recipes/input_pin.h"
#include "recipes/output_guard.h"
#include "recipes/sync_lag.h"

namespace transcoda {

namespace {

bool IsSpecial(const std::string& label, RecipeKind kind) {
    const FormatEntry* entry = FindFormat(label);
    return entry != nullptr && entry->Recipe == kind;
}

}  // namespace

bool InputFileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

bool FolderIsUsable(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path path(folder);
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) return true;
    if (ec || !fs::is_directory(status)) return false;
    fs::directory_iterator it(path, ec);
    if (ec) return false;
    return it == fs::directory_iterator();
}

bool CheckConversionPaths(const std::string& input, const std::string& output, const std::string& label,
                          RequestAsker& asker) {
    // The input is tested first on every branch: a missing input must never lead to the
    // replacement of an existing output or to the reuse of a full DVD folder.
    if (!InputFileExists(input)) {
        // A pipe, a socket or a device is refused as such; "does not exist" is for the rest.
        asker.Tell(ExistsButIsNotRegular(input) ? NotRegularInputText(input) : MissingInputText());
        LogEvent(" -- Le fichier d'entrée n'existe pas, l'erreur est signalée à l'utilisateur");
        return false;
    }
    // Replacing the output must never destroy the input itself.
    const bool dvd = IsDvdFormat(label);
    if (OutputWouldDestroyInput(input, output, dvd)) {
        asker.Tell(dvd ? InputInDvdFolderText() : OutputIsInputText());
        LogEvent(" -- Le fichier de sortie remplacerait le fichier d'entrée, l'erreur est signalée à l'utilisateur");
        return false;
    }
    // Only a regular file is ever replaced, never a folder, a device or the program's own.
    const std::string refusal = OutputRefusal(output, label);
    if (!refusal.empty()) {
        asker.Tell(refusal);
        LogEvent(" -- " + refusal);
        return false;
    }
    if (!dvd) {
        std::error_code ec;
        if (std::filesystem::exists(output, ec)) {
            // The old file stays until the new one is complete and takes its place.
            if (asker.Ask(ReplaceOutputText())) {
                LogEvent(" -- Lancement du TH pour la conversion avec écrasement du fichier cible");
                return true;
            }
            LogEvent(" -- L'utilisateur ne souhaite pas l'écrasement du fichier cible");
            return false;
        }
        LogEvent(" -- Lancement du TH pour la conversion");
        return true;
    }
    if (FolderIsUsable(output)) {
        LogEvent(" -- Lancement du TH pour la conversion");
        return true;
    }
    LogPlain("LE dossier n'est pas vide!!!");
    if (asker.Ask(FolderNotEmptyText(output))) return true;
    LogEvent(" -- L'utilisateur ne souhaite pas l'écrasement du dossier DVD cible");
    return false;
}

SingleVerdict CheckSingleRequest(ConversionRequest& request, RequestAsker& asker) {
    // No format selected gives a label outside the catalogue.
    if (!IsSupportedFormat(request.FormatLabel)) {
        asker.Tell(UnsupportedFormatText());
        LogEvent(" -- Le format cible n'est pas pris en considération");
        return SingleVerdict::Refused;
    }
    if (!CheckConversionPaths(request.InputPath, request.OutputPath, request.FormatLabel, asker))
        return SingleVerdict::Refused;
    if (IsSpecial(request.FormatLabel, RecipeKind::Extraction)) {
        const ExtractionSegment segment = asker.AskSegment(request.InputPath);
        request.Special.ExtractionStart = segment.Start;
        request.Special.ExtractionLength = segment.Length;
        // A dialog left with one bound or none gives no segment.
        const bool whole = segment.Start != kNoExtractionValue && segment.Length != kNoExtractionValue;
        return whole ? SingleVerdict::Start : SingleVerdict::Refused;
    }
    if (IsSpecial(request.FormatLabel, RecipeKind::SyncCorrection)) {
        LogPlain("On affiche la fenetre de setting de SYNCHRO");
        const std::string delay = asker.AskSyncDelay(request.InputPath);
        request.Special.SyncDelay = delay;
        // A zero lag, whatever its sign and number of zero digits, corrects nothing; a
        // dialog left without a lag is refused silently.
        if (IsZeroLag(delay)) return SingleVerdict::ZeroLag;
        return delay == kNoSyncDelay ? SingleVerdict::Refused : SingleVerdict::Start;
    }
    return SingleVerdict::Start;
}

bool MayJoinList(const std::string& label, RequestAsker& asker) {
    if (!IsSpecial(label, RecipeKind::SyncCorrection) && !IsSpecial(label, RecipeKind::Extraction)) return true;
    asker.Tell(NotForListText());
    return false;
}

bool CheckListAddition(const ConversionRequest& request, bool outputQueued, RequestAsker& asker) {
    // An output already queued is refused before any question about it is asked.
    if (outputQueued) {
        asker.Tell(OutputInListText());
        return false;
    }
    // Answering Yes to the replace question deletes nothing: the old file is replaced only
    // when the conversion of this row has written a complete new one.
    return CheckConversionPaths(request.InputPath, request.OutputPath, request.FormatLabel, asker);
}

std::vector<bool> RowsLeftAsDone(const std::vector<ItemStatus::State>& states, RequestAsker& asker) {
    std::vector<bool> left(states.size(), false);
    int done = 0;
    for (size_t i = 0; i < states.size(); ++i) {
        left[i] = states[i] == ItemStatus::State::Done;
        done += left[i] ? 1 : 0;
    }
    if (done == 0 || asker.Ask(RedoDoneItemsText(done))) return std::vector<bool>(states.size(), false);
    return left;
}

}  // namespace transcoda
