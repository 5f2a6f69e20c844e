#pragma once
// A list converted several items at once on the terminal: the items run as sessions of
// this process (conversion/session_list.h), each with its own tools, intermediates,
// outcome and clean-up. This front end shows their progress on the board, tells the JSON
// records, and gathers what became of each for the summary.

#include <functional>
#include <string>
#include <vector>

#include "cli/list_board.h"
#include "conversion/conversion_job.h"

namespace transcoda {
class WorkerRoster;
}

namespace transcoda::cli {

class ProgressRecords;

struct ParallelList {
    std::vector<ConversionRequest> Requests;
    int ItemsAtOnce = 2;
    // True once the list is to stop (a stop signal came).
    std::function<bool()> Stopped = [] { return false; };
    // Hears every item's worker, so that a stop signal reaches each.
    WorkerRoster* Roster = nullptr;
    // The JSON records, when progress is told so, and each item's place among them.
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
// started from starting. Once Stopped() holds, every running item stops (its tool ends,
// what it was writing goes), no other starts, and the call returns when all of them
// have ended and cleaned up. The diagnostic log goes to the board meanwhile.
ParallelListResult RunParallelList(const ParallelList& list, ListBoard& board);

}  // namespace transcoda::cli
