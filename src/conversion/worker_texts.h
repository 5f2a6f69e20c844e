#pragma once
// The user texts of the conversion worker, each in French and in English; every
// function picks the text by CurrentLanguage ("EN" gives the English text, anything else
// the French one).

#include <string>
#include <vector>

namespace transcoda {

// One request that failed; `reason` ends the sentence "La conversion de X a échoué" /
// "The conversion of X failed" (the failed step and its file, or why it could not begin).
// The message ends by saying where more is to be read: the details that come with it
// when the tool said something, else the diagnostic log.
std::string ConversionFailedText(const std::string& input, const std::string& reason, bool withDetails);
// One message listing every failed item of a list with its reason, and the details of
// the message: each item's tool's last lines under its input.
struct FailedItem {
    std::string Input;
    std::string Reason;
    std::string Details = {};
};
std::string FailedListSummaryText(const std::vector<FailedItem>& items);
std::string FailedListDetails(const std::vector<FailedItem>& items);
// The same summary for a box whose details wait behind a button: the text names each
// failed item; the details give each one with its reason, then its tool's last lines.
std::string FailedListShortText(const std::vector<FailedItem>& items);
std::string FailedListFullDetails(const std::vector<FailedItem>& items);
// The notice of a conversion's end that wrote its outputs: "Fichier écrit : X" /
// "File written: X" ("Dossier écrit : X" / "Folder written: X" for a DVD), or for
// several "3 fichiers écrits, dont le dernier : X" / "3 files written, the last one: X".
std::string WrittenNoticeText(const std::vector<std::string>& outputs);
// The folder that holds an output: the output itself when it is a folder (a DVD),
// else the folder it is in.
std::string OutputFolder(const std::string& output);
// The progress part while a list converts several items at once, the list as a whole:
// the status "3 sur 10 terminés" / "3 of 10 done"; the progress text
// "Progression : 37.50% (2 en cours)" / "Progression : 37.50% (2 running)", its part
// after "Progression : " the program's title.
std::string ListDoneText(int done, int total);
std::string ListPercentText(double percent, int running);
// Log line for a failed request (the reason in the current language).
std::string ConversionFailedLogLine(const std::string& input, const std::string& reason);

}  // namespace transcoda
