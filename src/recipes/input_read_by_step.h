#pragma once
// A short input read by the tool of its only step instead of by a tool of its own first.
// Reading a media file costs a tool the loading of the engine's libraries, longer than
// converting a few seconds of sound: the step's tool reads its input anyway (to plan,
// or while its engine runs) and keeps what it read in the probe cache, where the
// request finds it once the step has run. What the step wrote is checked only then, in
// full, and a request that the input refuses is refused as before, what the step wrote
// thrown away. A longer input is still read first, so that a refusal never waits for a
// long conversion.

#include <optional>
#include <string>

#include "exec/stream_report.h"
#include "recipes/format_catalogue.h"

namespace transcoda {

// Inputs of at most this many bytes are read by their step.
inline constexpr long long kInputReadByStepBytes = 16LL * 1024 * 1024;

// Whether the request of `entry` on `input` (its extension `extension`) runs one step
// only and its input is short enough to be read by that step.
bool InputReadByStep(const FormatEntry& entry, const std::string& extension, const std::string& input);

// What the probe cache of this instance holds of `input` as it is now: the report of its
// streams as a tool read it; nullopt when no tool has read the unchanged file.
std::optional<StreamReport> KeptInputReport(const std::string& input);

}  // namespace transcoda
