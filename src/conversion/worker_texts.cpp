#include "conversion/worker_texts.h"

#include <filesystem>

#include "exec/language.h"

namespace transcoda {

namespace {
std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Where the user reads more of a failure.
std::string ReadMoreText(bool withDetails) {
    if (withDetails)
        return Localised("Les dernières lignes de l'outil sont dans les détails.",
                         "The tool's last lines are in the details.");
    return Localised("Activez le mode debug pour lire le détail dans le journal de diagnostic.",
                     "Switch the debug mode on to read the details in the diagnostic log.");
}
}  // namespace

std::string ConversionFailedText(const std::string& input, const std::string& reason, bool withDetails) {
    return Localised("La conversion de " + Quoted(input) + " a échoué " + reason + ". ",
                     "The conversion of " + Quoted(input) + " failed " + reason + ". ") +
           ReadMoreText(withDetails);
}

std::string FailedListSummaryText(const std::vector<FailedItem>& items) {
    std::string text = Localised("Les conversions suivantes ont échoué :",
                            "The following conversions failed:");
    for (const auto& item : items) text += "\n  " + item.Input + "\n    " + item.Reason;
    return text + "\n" + ReadMoreText(!FailedListDetails(items).empty());
}

std::string FailedListDetails(const std::vector<FailedItem>& items) {
    std::string details;
    for (const auto& item : items) {
        if (item.Details.empty()) continue;
        if (!details.empty()) details += "\n";
        details += item.Input + " :\n" + item.Details;
    }
    return details;
}

std::string ConversionFailedLogLine(const std::string& input, const std::string& reason) {
    return " -- La conversion de " + Quoted(input) + " a échoué : " + reason;
}

std::string WrittenNoticeText(const std::vector<std::string>& outputs) {
    if (outputs.empty()) return {};
    if (outputs.size() == 1) {
        // A DVD is written as a folder.
        if (OutputFolder(outputs.back()) == outputs.back())
            return Localised("Dossier écrit : ", "Folder written: ") + outputs.back();
        return Localised("Fichier écrit : ", "File written: ") + outputs.back();
    }
    const std::string count = std::to_string(outputs.size());
    return Localised(count + " fichiers écrits, dont le dernier : ", count + " files written, the last one: ") +
           outputs.back();
}

std::string OutputFolder(const std::string& output) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (fs::is_directory(output, error)) return output;
    return fs::path(output).parent_path().string();
}

}  // namespace transcoda
