#pragma once
// The texts of the terminal front end, each in French and in English, picked by
// CurrentLanguage.

#include <string>

namespace transcoda::cli {

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
std::string CliBadJobsText(const std::string& jobs);
std::string CliBadShardText(const std::string& shard);
std::string CliBadProgressText(const std::string& form);
// "-" for an input or an output: the tools need files they can seek in.
std::string CliNoStandardStreamText();
// Standard output could not be written (a full disk, a closed pipe).
std::string CliStdoutFailedText(const std::string& reason);
std::string CliEmptyShardText(int index, int count);
std::string CliJobsCappedText(int asked, int allowed);
// The overall line under the running items of a list converted several at once.
std::string CliListProgressText(int done, int total, int running, int failed);
std::string CliListFileText(const std::string& path);
std::string CliListNotRegularText(const std::string& path);
std::string CliListTooLargeText(const std::string& path, long long megabytes);
std::string CliListLineText(const std::string& path, int line);
std::string CliNothingToDoText();
std::string CliStoppedText();
// An item of a list that never began (a folder error ended the list before it).
std::string CliNotStartedText();
// An output that exists already: the question on a terminal, the refusal elsewhere, and
// the line for one kept as it is (-n, or the answer No).
std::string CliReplaceQuestionText(const std::string& path);
std::string CliExistingOutputRefusedText(const std::string& path);
std::string CliKeptOutputText(const std::string& path);
std::string CliBothOverwriteOptionsText();
std::string CliSummaryText(int written, int total);
std::string CliItemLine(const std::string& counter, const std::string& input,
                        const std::string& output);

}  // namespace transcoda::cli
