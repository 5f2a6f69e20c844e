#pragma once
// A step that failed because its disk is full is told as such, in the user's words and
// naming the folder the user chose, never the hidden temporary name written there; the
// tool's own lines still go to the failure's details.

#include <string>

#include "recipes/step_outcome.h"

namespace transcoda {

// True when the failed `step` ran out of room: its tool said so ("No space left on
// device", "Disk quota exceeded"), or the file system holding `folder` has less than
// kFullDiskBytes left for the user.
bool RanOutOfRoom(const StepOutcome& step, const std::string& folder);

// The room under which a disk counts as full once a step has failed there.
inline constexpr unsigned long long kFullDiskBytes = 1 << 20;

// Why the step failed, as the end of "The conversion of X failed": the step and
// `folder`, e.g. at the step "conversion": the disk that holds the folder "/v" is full.
std::string FullDiskText(StepKind step, const std::string& folder);

}  // namespace transcoda
