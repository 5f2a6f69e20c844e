#pragma once
// One run of the worker: what it carries out (the job, copied whole when it starts) and
// what became of each of its requests.

#include <string>
#include <vector>

#include "conversion/item_status.h"
#include "exec/app_state.h"

namespace transcoda {

// What became of one request handed to DispatchConversion.
struct RequestOutcome {
    enum class Result {
        Written,      // every step went well, the output was checked and put in place
        Failed,       // a step failed or wrote something wrong, or no true result could come
        Refused,      // nothing ran (unsupported extension or label, no lag or segment)
        Stopped,      // the session was stopped during the request
        FolderError,  // the output folder could not be created
    };
    ConversionRequest Request;
    Result Outcome = Result::Refused;
    // Failed: why, ending "La conversion de X a échoué ..."; FolderError: the message.
    std::string Reason;
    // Failed: the failing tool's last lines, one per line (may be empty).
    std::string Details = {};
};

// What one worker carries out, copied whole when it starts: the command and the
// requests (the single one, or every row of the list), special values included. Nothing
// done in the window meanwhile changes what the worker reads.
struct ConversionJob {
    std::string Command;
    std::vector<ConversionRequest> Requests;
    // For a list: the queue item of each request, at the same place; the reports name it.
    std::vector<long long> ItemIds;
    // For a list: hears each item's start, progress and end; it must not wait.
    ItemListener OnItem;
    // For a list: by place from 0, the items left as they are (already done); none is
    // counted or reported. Missing places run.
    std::vector<bool> Skipped;
    // For a list: how many items may be converted at once (the window's option); 1 runs
    // them one after the other in the worker's own session. More run as sessions of
    // their own, within the free memory, and never for items that feed one another.
    int ItemsAtOnce = 1;
};

}  // namespace transcoda
