#include "exec/cancellation.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace transcoda {

Cancellation::Cancellation() { fd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK); }

Cancellation::~Cancellation() {
    if (fd_ >= 0) close(fd_);
}

void Cancellation::Cancel() {
    cancelled_.store(true);
    if (fd_ < 0) return;
    // The counter is never read back, so the descriptor stays readable from now on.
    const uint64_t one = 1;
    const ssize_t written = write(fd_, &one, sizeof one);
    (void)written;
}

}  // namespace transcoda
