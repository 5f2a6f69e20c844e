#pragma once
// A list converted several items at once. The conversion core holds one conversion per
// process (its running flag, progress state, temp names and window are program-wide), so
// each item is converted by a converter process of its own: this program started again
// for that one item, with its own work folder, tools and result, and its own Ctrl-C
// handling that ends its tools and removes what it was writing. This process starts
// them, shows their progress and gathers what became of each.

#include <functional>
#include <string>
#include <vector>

#include "cli/list_board.h"
#include "conversion/conversion_job.h"

namespace transcoda::cli {

class ProgressRecords;

struct ParallelList {
    std::vector<ConversionRequest> Requests;
    int ItemsAtOnce = 2;
    // The converter started for each item: this program.
    std::string Program;
    std::string Language = "FR";
    bool Debug = false;
    // Where the items write what became of them, with its trailing "/".
    std::string OutcomeFolder;
    // True once the list is to stop (a stop signal came).
    std::function<bool()> Stopped = [] { return false; };
    // The JSON records, when progress is told so (the items' processes then write theirs,
    // passed on under the item's number), and each item's place among them.
    ProgressRecords* Records = nullptr;
    std::vector<size_t> RecordOf = {};
};

struct ParallelListResult {
    // What became of each item that was started, in the order of the list.
    std::vector<RequestOutcome> Outcomes;
    // Shown once the list has ended: folder errors, then the failed items.
    std::vector<std::string> Messages;
    // The failed items' tools' last lines, shown after the messages.
    std::string FailureDetails;
};

// Runs the list until every item has ended. A folder error keeps the items not yet
// started from starting. Once Stopped() holds, every running item is
// asked to stop as a Ctrl-C would ask it, no other starts, and the call returns when all
// of them have ended and cleaned up.
ParallelListResult RunParallelList(const ParallelList& list, ListBoard& board);

// The command line that converts item `index` (from 0) in a process of its own, which
// writes its outcome into `outcomeFile`.
std::string ItemCommandLine(const ParallelList& list, size_t index, const std::string& outcomeFile);

}  // namespace transcoda::cli
