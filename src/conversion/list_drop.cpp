#include "conversion/list_drop.h"

#include <algorithm>

#include "conversion/request_checks.h"
#include "conversion/request_texts.h"
#include "exec/language.h"
#include "recipes/default_output.h"
#include "recipes/format_catalogue.h"
#include "recipes/input_pin.h"
#include "recipes/output_place.h"
#include "recipes/path_rules.h"

namespace transcoda {

namespace {

// Answers no question and keeps what a refusal would have told.
class LeavingOut : public RequestAsker {
public:
    explicit LeavingOut(bool dvd) : dvd_(dvd) {}
    void Tell(const std::string& text) override { reason = text; }
    bool Ask(const std::string&) override {
        reason = dvd_ ? Localised("le dossier de sortie n'est pas vide", "the output folder is not empty")
                      : Localised("le fichier de sortie existe déjà", "the output file exists already");
        return false;
    }
    std::string AskSyncDelay(const std::string&) override { return kNoSyncDelay; }
    ExtractionSegment AskSegment(const std::string&) override { return {}; }

    std::string reason;

private:
    bool dvd_;
};

}  // namespace

DroppedFiles CheckDroppedFiles(const std::string& label, const std::vector<std::string>& inputs,
                               const std::function<bool(const std::string&)>& queued) {
    DroppedFiles result;
    LeavingOut asker(IsDvdFormat(label));
    if (!MayJoinList(label, asker)) {
        result.Refusal = asker.reason;
        return result;
    }
    if (!IsSupportedFormat(label)) {
        result.Refusal = UnsupportedFormatText();
        return result;
    }
    for (const std::string& input : inputs) {
        asker.reason.clear();
        if (!InputFileExists(input)) {
            const bool special = ExistsButIsNotRegular(input);
            result.LeftOut.push_back({input, special ? Localised("ce n'est pas un fichier ordinaire",
                                                                 "this is not a regular file")
                                                     : Localised("ce n'est pas un fichier", "this is not a file")});
            continue;
        }
        if (!IsSupportedInputExtension(GetLowerExtension(input))) {
            result.LeftOut.push_back(
                {input, Localised("ce type de fichier n'est pas pris en charge", "this kind of file is not supported")});
            continue;
        }
        // An output that a row of the list, or of this drop, already writes is taken.
        const auto taken = [&](const std::string& output) {
            const auto same = [&](const ConversionRequest& r) { return SameOutputPlace(r.OutputPath, output); };
            return queued(output) || std::any_of(result.Rows.begin(), result.Rows.end(), same);
        };
        const ConversionRequest row{input, OutputBesideInput(label, input, "", taken), label};
        if (!CheckListAddition(row, taken(row.OutputPath), asker)) {
            result.LeftOut.push_back({input, asker.reason});
            continue;
        }
        result.Rows.push_back(row);
    }
    return result;
}

std::string LeftOutFilesText(size_t added, const std::vector<LeftOutFile>& leftOut) {
    std::string text = Localised("Fichiers ajoutés à la liste : ", "Files added to the list: ") + std::to_string(added) +
                       ". " + Localised("Fichiers laissés de côté :", "Files left out:");
    for (const LeftOutFile& file : leftOut) text += "\n  " + file.Input + "\n    " + file.Reason;
    return text;
}

}  // namespace transcoda
