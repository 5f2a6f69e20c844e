#include "conversion/worker_texts.h"

#include <algorithm>
#include <filesystem>

#include "exec/language.h"
#include "exec/output_parsers.h"

namespace transcoda {

namespace {
std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Where the user reads more of a failure.
std::string ReadMoreText(bool withDetails) {
    if (withDetails)
        return Localised("Les dernières lignes de l'outil sont dans les détails.",
                         "The tool's last lines are in the details.");
    return Localised("Activez le journal de diagnostic (Ctrl+Maj+D dans la fenêtre, --debug en ligne de commande) "
                     "pour en lire le détail.",
                     "Switch the diagnostic log on (Ctrl+Shift+D in the window, --debug on the command line) "
                     "to read the details.");
}

std::string Indented(const std::string& lines, const std::string& margin) {
    std::string out;
    for (size_t start = 0; start < lines.size();) {
        const size_t end = std::min(lines.find('\n', start), lines.size());
        out += margin + lines.substr(start, end - start) + "\n";
        start = end + 1;
    }
    return out;
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

std::string FailedListShortText(const std::vector<FailedItem>& items) {
    std::string text = Localised("Les conversions suivantes ont échoué :", "The following conversions failed:");
    bool toolSaid = false;
    for (const auto& item : items) {
        text += "\n  " + item.Input;
        toolSaid = toolSaid || !item.Details.empty();
    }
    text += "\n" + Localised("La raison de chaque échec est dans les détails.",
                             "The reason for each failure is in the details.");
    // Without the tools' lines, the log is where more is to be read.
    return toolSaid ? text : text + "\n" + ReadMoreText(false);
}

std::string FailedListFullDetails(const std::vector<FailedItem>& items) {
    std::string details;
    for (const auto& item : items) {
        if (!details.empty()) details += "\n";
        details += item.Input + "\n" + Localised("  a échoué ", "  failed ") + item.Reason + "\n";
        details += Indented(item.Details, "    ");
    }
    return details;
}

std::string ListDoneText(int done, int total) {
    const std::string of = std::to_string(done) + Localised(" sur ", " of ") + std::to_string(total);
    return of + Localised(done > 1 ? " terminés" : " terminé", " done");
}

std::string ListPercentText(double percent, int running) {
    return FormatTwoDecimals(percent) + "% (" + std::to_string(running) + Localised(" en cours)", " running)");
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
