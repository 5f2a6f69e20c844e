#pragma once
// How many items of a list are converted at once: as many as asked (by default one per
// processor), but never more than the free memory can hold, nor more than there are
// items; and a list whose items feed one another, one at a time. transcoda-cli's --jobs
// and the window's list both go by these rules.

#include <string>
#include <vector>

#include "exec/app_state.h"

namespace transcoda {

// What one running item may need at its peak. The heaviest presets encode H.264 at the
// input's own size: on a 1920x1080 input the engine alone peaks at 545 MB (measured on
// presets 7 and 9; the MPEG-4, MPEG and DVD presets stay under 150 MB). The rest is the
// helper tool, the item's session in this process and a margin.
inline constexpr long long kItemMemoryBytes = 768LL << 20;

// Processors this process may run on.
int AvailableCores();
// "MemAvailable" of /proc/meminfo's text, in bytes; -1 when it is not there.
long long AvailableMemoryBytes(const std::string& meminfo);
// The same, read from /proc/meminfo now.
long long AvailableMemoryBytes();

struct ItemsAtOnce {
    int Count = 1;
    // True when the memory allowed fewer than were asked for (or than the processors).
    bool CappedByMemory = false;
};

// asked: --jobs or the window's option, 0 for one per processor; availableMemory: -1 when unknown (no memory cap).
ItemsAtOnce ChooseItemsAtOnce(int asked, int items, int cores, long long availableMemory);

// True when an item writes what another item reads (its output is that input, or its
// DVD folder holds it): such a list is converted in its order, one item at a time.
bool ItemsDependOnEachOther(const std::vector<ConversionRequest>& requests);

}  // namespace transcoda
