#pragma once
// The user texts of the conversion worker and of the terminal front end, each in French
// and in English; every function picks the text by CurrentLanguage ("EN" gives the
// English text, anything else the French one).

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

// Terminal front end.
std::string CliUsageText();
std::string CliUnknownIndexText(const std::string& index);
std::string CliMissingInputText(const std::string& input);
std::string CliOutputIsInputText(const std::string& path);
std::string CliNotForListText();
std::string CliDuplicateOutputText(const std::string& path);
std::string CliZeroLagText();
std::string CliBadLagText(const std::string& lag);
std::string CliLagNeededText();
std::string CliBadTimeText(const std::string& time);
std::string CliTimesNeededText();
std::string CliEndBeforeStartText();
std::string CliBadOptionText(const std::string& option);
std::string CliListFileText(const std::string& path);
std::string CliListLineText(const std::string& path, int line);
std::string CliNothingToDoText();
std::string CliStoppedText();
std::string CliSummaryText(int written, int total);
std::string CliItemLine(const std::string& counter, const std::string& input,
                        const std::string& output);

}  // namespace transcoda
