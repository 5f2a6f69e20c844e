#pragma once
// How large the output of a preset will be, told before the conversion: the rates the
// preset's steps ask for (picture and sound, in kbit/s) over the input's length. Where a
// step asks for a quality instead of a rate (the H.264 presets), the picture's rate is
// taken from its size and frame rate at the bits per pixel such a quality usually
// gives; the DVD, WAV and uncompressed outputs have the rates of their formats; a sync
// correction copies the picture. An estimate, not a promise: a picture coded for a
// quality follows what it shows.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "exec/input_facts.h"

namespace transcoda {

// The output's size in bytes for the preset `label` and the input `input` (at path
// `inputPath`, whose extension chooses the variants); nullopt when it cannot be told:
// an unknown preset, an unknown length, an input without what the preset needs, or a
// segment that is chosen only when the conversion starts.
std::optional<int64_t> EstimateOutputBytes(std::string_view label, const InputFacts& input,
                                           const std::string& inputPath);

}  // namespace transcoda
