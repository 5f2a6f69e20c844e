#pragma once
// The Stop of one conversion as a file descriptor: an eventfd that becomes readable once
// the conversion is stopped and stays so. Whoever waits on a tool or its output polls it
// together with what it waits for, so that a Stop is seen at once, not at the next tick.

#include <atomic>

namespace transcoda {

class Cancellation {
public:
    Cancellation();
    Cancellation(const Cancellation&) = delete;
    Cancellation& operator=(const Cancellation&) = delete;
    ~Cancellation();

    // Stops the conversion; any thread, any number of times.
    void Cancel();
    bool Cancelled() const { return cancelled_.load(); }
    // Readable once Cancel has been called; -1 when no descriptor could be made (then
    // only Cancelled() tells, and the waits look at it at their own pace).
    int Fd() const { return fd_; }

private:
    int fd_ = -1;
    std::atomic<bool> cancelled_{false};
};

}  // namespace transcoda
