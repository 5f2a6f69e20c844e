#include "readback_on_close.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>

#include "libav.h"

namespace helpers {

namespace {

constexpr uint32_t kTouches =
    IN_CLOSE_WRITE | IN_MODIFY | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr int kMostReads = 64;

}  // namespace

ReadbackOnClose::ReadbackOnClose(std::string path, FactsInBackground& before)
    : path_(std::move(path)), before_(before) {
    const size_t slash = path_.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path_.substr(0, slash));
    name_ = slash == std::string::npos ? path_ : path_.substr(slash + 1);
    if (name_.empty()) return;
    fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0) return;
    if (inotify_add_watch(fd_, folder.c_str(), kTouches) < 0) {
        close(fd_);
        fd_ = -1;
    }
}

ReadbackOnClose::~ReadbackOnClose() {
    if (thread_.joinable()) thread_.join();
    if (fd_ >= 0) close(fd_);
}

bool ReadbackOnClose::Drain() {
    alignas(inotify_event) char buffer[8192];
    ssize_t n;
    while ((n = read(fd_, buffer, sizeof buffer)) < 0 && errno == EINTR) {
    }
    if (n <= 0) return false;
    for (ssize_t at = 0; at < n;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        // Lost events may have named the file.
        if (event->mask & IN_Q_OVERFLOW) {
            touchedAfter_ = true;
            continue;
        }
        if (event->len == 0 || name_ != event->name) continue;
        if (started_) {
            touchedAfter_ = true;
        } else if (event->mask & IN_CLOSE_WRITE) {
            identity_ = transcoda::IdentityOf(path_);
            if (!identity_) continue;
            started_ = true;
            try {
                thread_ = std::thread([this] {
                    before_.Join();
                    read_ = LibavAvailable();
                    if (read_) facts_ = ReadFileFacts(path_);
                });
            } catch (...) {
                started_ = false;
            }
        }
    }
    return true;
}

void ReadbackOnClose::OnEvents() {
    // One read at a time, so that a folder written without end (another program's file)
    // never holds the engine's outputs back.
    if (fd_ >= 0) Drain();
}

const FileFacts* ReadbackOnClose::Finish(bool written) {
    // The events queued when the engine ended, but never more than a bounded number
    // of reads: past it, the file counts as touched.
    int reads = 0;
    while (fd_ >= 0 && Drain())
        if (++reads == kMostReads) {
            touchedAfter_ = true;
            break;
        }
    if (thread_.joinable()) thread_.join();
    if (!written) return nullptr;
    if (started_ && read_ && !touchedAfter_ && identity_ && transcoda::IdentityOf(path_) == identity_)
        return &KeepFacts(*identity_, std::move(facts_));
    return &FactsOf(path_);
}

}  // namespace helpers
