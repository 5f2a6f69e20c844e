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

void ConversionSession::AbandonRuns() {
    std::lock_guard lock(runMutex_);
    runsAbandoned_ = true;
    if (run_ != nullptr) run_->Terminate();
}

void ConversionSession::ResumeRuns() {
    std::lock_guard lock(runMutex_);
    runsAbandoned_ = false;
}

bool ConversionSession::AttachRun(ChildProcess* child) {
    std::lock_guard lock(runMutex_);
    run_ = child;
    if (child == nullptr || !runsAbandoned_) return true;
    child->Terminate();
    return false;
}

}  // namespace transcoda
