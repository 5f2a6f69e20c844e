#include "exec/pending_outputs.h"

namespace transcoda {

void SweepPendingOutputs(const std::string& /*deadWorkFolder*/) {}

}  // namespace transcoda
