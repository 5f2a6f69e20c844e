#pragma once
// What the tools need to know about an input before they choose the engine's options:
// its duration and the first picture and sound streams, read from the description the
// core reads too (exec/media_description.h).

#include "exec/media_description.h"

namespace helpers {

using transcoda::MediaInfo;
using transcoda::ParseProbeOutput;
using transcoda::ParseRate;

}  // namespace helpers
