#include "exec/progress_display.h"

#include <algorithm>

namespace transcoda {

namespace {
constexpr int kNewBarMaximum = 100;

// Moves `value` into `change` when it differs from what was shown, and counts it shown.
template <class T>
void TakeChanged(const std::optional<T>& value, std::optional<T>& shown, std::optional<T>& change) {
    if (value && value != shown) {
        change = value;
        shown = value;
    }
}
}  // namespace

void ProgressDisplay::SetStatusText(const std::string& text) {
    std::lock_guard lock(mutex_);
    look_.StatusText = text;
}

void ProgressDisplay::SetProgressText(const std::string& text) {
    std::lock_guard lock(mutex_);
    look_.ProgressText = text;
}

void ProgressDisplay::SetTitle(const std::string& text) {
    std::lock_guard lock(mutex_);
    look_.Title = text;
}

void ProgressDisplay::SetTimeText(const std::string& text) {
    std::lock_guard lock(mutex_);
    look_.TimeText = text;
}

void ProgressDisplay::SetBarMaximum(int maximum) {
    std::lock_guard lock(mutex_);
    look_.BarMaximum = std::max(maximum, 0);
    if (look_.BarPosition && *look_.BarPosition > maximum) look_.BarPosition = *look_.BarMaximum;
}

void ProgressDisplay::SetBarPosition(int position) {
    std::lock_guard lock(mutex_);
    look_.BarPosition = std::clamp(position, 0, look_.BarMaximum.value_or(kNewBarMaximum));
}

std::string ProgressDisplay::ProgressText() const {
    std::lock_guard lock(mutex_);
    return look_.ProgressText.value_or("");
}

int ProgressDisplay::BarPosition() const {
    std::lock_guard lock(mutex_);
    return look_.BarPosition.value_or(0);
}

int ProgressDisplay::BarMaximum() const {
    std::lock_guard lock(mutex_);
    return look_.BarMaximum.value_or(kNewBarMaximum);
}

DisplayChange ProgressDisplay::TakeLocked() {
    DisplayChange change;
    TakeChanged(look_.StatusText, shown_.StatusText, change.StatusText);
    TakeChanged(look_.ProgressText, shown_.ProgressText, change.ProgressText);
    TakeChanged(look_.Title, shown_.Title, change.Title);
    TakeChanged(look_.BarMaximum, shown_.BarMaximum, change.BarMaximum);
    TakeChanged(look_.BarPosition, shown_.BarPosition, change.BarPosition);
    TakeChanged(look_.TimeText, shown_.TimeText, change.TimeText);
    return change;
}

void ProgressDisplay::Push() {
    std::function<void(const DisplayChange&)> observer;
    std::function<void()> notifier;
    DisplayChange change;
    {
        // Both are called outside the lock: they may themselves look at the display.
        std::lock_guard lock(mutex_);
        if (observer_) {
            observer = observer_;
            change = TakeLocked();
        } else if (notifier_ && look_ != shown_) {
            notifier = notifier_;
        }
    }
    if (observer && !change.Empty()) observer(change);
    if (notifier) notifier();
}

DisplayChange ProgressDisplay::TakeChange() {
    std::lock_guard lock(mutex_);
    return TakeLocked();
}

void ProgressDisplay::SetObserver(std::function<void(const DisplayChange&)> observer) {
    std::lock_guard lock(mutex_);
    observer_ = std::move(observer);
    // The new observer has been shown nothing yet.
    shown_ = {};
}

void ProgressDisplay::SetNotifier(std::function<void()> notifier) {
    std::lock_guard lock(mutex_);
    notifier_ = std::move(notifier);
}

void ProgressDisplay::Reset() {
    std::lock_guard lock(mutex_);
    look_ = {};
    shown_ = {};
}

}  // namespace transcoda
