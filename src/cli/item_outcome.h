#pragma once
// What became of one list item converted by a converter process of its own: the item's
// process writes it into a small file named by the process that runs the list, which
// reads it once the item's process has ended.

#include <optional>
#include <string>

#include "conversion/conversion_job.h"

namespace transcoda::cli {

struct ItemOutcome {
    RequestOutcome::Result Result = RequestOutcome::Result::Failed;
    std::string Reason;
    // The failing tool's last lines, when it failed.
    std::string Details = {};
};

// Writes the outcome whole or not at all (under a temporary name, then renamed), so that
// a reader never sees half of it. False when it could not be written.
bool WriteItemOutcome(const std::string& path, const ItemOutcome& outcome);
// The outcome in the file; nullopt when there is none or it is not one.
std::optional<ItemOutcome> ReadItemOutcome(const std::string& path);

}  // namespace transcoda::cli
