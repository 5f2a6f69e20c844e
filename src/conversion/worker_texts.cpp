#include "conversion/worker_texts.h"

#include "exec/language.h"

namespace transcoda {

namespace {
std::string Quoted(const std::string& text) { return "\"" + text + "\""; }
}  // namespace

std::string ConversionFailedText(const std::string& input, const std::string& reason) {
    return Localised("La conversion de " + Quoted(input) + " a échoué " + reason +
                    ". Activez le mode debug pour lire le détail dans le journal de diagnostic.",
                "The conversion of " + Quoted(input) + " failed " + reason +
                    ". Switch the debug mode on to read the details in the diagnostic log.");
}

std::string FailedListSummaryText(const std::vector<FailedItem>& items) {
    std::string text = Localised("Les conversions suivantes ont échoué :",
                            "The following conversions failed:");
    for (const auto& item : items) text += "\n  " + item.Input + "\n    " + item.Reason;
    text += "\n" + Localised("Activez le mode debug pour lire le détail dans le journal de diagnostic.",
                        "Switch the debug mode on to read the details in the diagnostic log.");
    return text;
}

std::string ConversionFailedLogLine(const std::string& input, const std::string& reason) {
    return " -- La conversion de " + Quoted(input) + " a échoué : " + reason;
}

}  // namespace transcoda
