#pragma once
// The user texts of the conversion worker, each in French and in English; every
// function picks the text by CurrentLanguage ("EN" gives the English text, anything else
// the French one).

#include <string>
#include <vector>

namespace transcoda {

// One request that failed; `reason` ends the sentence "La conversion de X a échoué" /
// "The conversion of X failed" (the failed step and its file, or why it could not begin).
std::string ConversionFailedText(const std::string& input, const std::string& reason);
// One message listing every failed item of a list with its reason.
struct FailedItem {
    std::string Input;
    std::string Reason;
};
std::string FailedListSummaryText(const std::vector<FailedItem>& items);
// Log line for a failed request (the reason in the current language).
std::string ConversionFailedLogLine(const std::string& input, const std::string& reason);

}  // namespace transcoda
