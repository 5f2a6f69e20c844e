#include "exec/conversion_session.h"

namespace transcoda {

void ConversionSession::SetRunToolHook(RunToolHook hook) {
    std::lock_guard lock(hookMutex_);
    hook_ = std::move(hook);
}

RunToolHook ConversionSession::Hook() const {
    std::lock_guard lock(hookMutex_);
    return hook_;
}

}  // namespace transcoda
