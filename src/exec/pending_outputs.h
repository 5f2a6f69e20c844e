#pragma once
// Outputs being written under a temporary name beside their final name. Each one is
// noted in the instance's work folder while it is written, so that the files of an
// instance that died can still be removed by the next instance that starts.

#include <string>

namespace transcoda {

// Removes the temporary outputs noted in the work folder of an instance that is gone.
void SweepPendingOutputs(const std::string& deadWorkFolder);

}  // namespace transcoda
