#include "exec/tool_output_reader.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>

#include "exec/app_state.h"
#include "exec/conversion_session.h"
#include "exec/log.h"
#include "exec/output_parsers.h"

namespace transcoda {

namespace {
constexpr size_t kReadSize = 4096;
// What is read after the tool has ended is bounded, so that a grandchild that keeps
// writing cannot hold the run open.
constexpr int kMaxDrainReads = 256;
// A little below normal, like the lowest thread priority of a desktop program.
constexpr int kReaderNice = 5;
// How long a read that stopped inside a line waits for the rest of it.
constexpr int kLineRestMs = 20;
// While the tool says nothing, the time label still moves on this often.
constexpr int kQuietTickMs = 1000;

bool EndsLine(char c) { return c == '\r' || c == '\n'; }

// Tools write some lines in several pieces (a label, then the value); when a read ends
// inside a line, the rest that follows at once is read into the same buffer, as long as
// it fits, so that a line is not cut into fragments that no parser recognises.
size_t CompleteLine(int fd, char* buffer, size_t have) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(kLineRestMs);
    while (have < kReadSize && !EndsLine(buffer[have - 1])) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) break;
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left)) <= 0) break;
        const ssize_t n = read(fd, buffer + have, kReadSize - have);
        if (n <= 0) break;
        have += static_cast<size_t>(n);
    }
    return have;
}
}  // namespace

std::string ChunkFromBytes(const char* data, size_t size) {
    std::string out;
    out.reserve(size + size / 8);
    for (size_t i = 0; i < size; ++i) {
        const char c = data[i];
        if (c == '\r') {
            out += "\r\n";
        } else if (c == '\n') {
            if (i == 0 || data[i - 1] != '\r') out += "\r\n";
        } else {
            out.push_back(c);
        }
    }
    return TrimControl(out);
}

ToolOutputReader::ToolOutputReader(ConversionSession& session, int readFd)
    : session_(session), readFd_(readFd), handler_(session) {
    wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    int flags = fcntl(readFd_, F_GETFL);
    if (flags >= 0) fcntl(readFd_, F_SETFL, flags | O_NONBLOCK);
}

ToolOutputReader::~ToolOutputReader() {
    if (thread_.joinable()) {
        RequestStop(false);
        thread_.join();
    }
    if (readFd_ >= 0) close(readFd_);
    if (wakeFd_ >= 0) close(wakeFd_);
}

bool ToolOutputReader::Start() {
    if (wakeFd_ < 0) return false;
    try {
        thread_ = std::thread([this] { Execute(); });
    } catch (...) {
        return false;
    }
    return true;
}

void ToolOutputReader::RequestStop(bool drain) {
    drain_.store(drain);
    stop_.store(true);
    if (wakeFd_ >= 0) {
        uint64_t one = 1;
        ssize_t r = write(wakeFd_, &one, sizeof one);
        (void)r;
    }
}

bool ToolOutputReader::Join() {
    if (!thread_.joinable()) return true;
    thread_.join();
    return true;
}

void ToolOutputReader::Execute() {
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kReaderNice);
    AppState& app = App();
    char buffer[kReadSize + 1];

    auto handle = [&](ssize_t n) {
        const size_t size = CompleteLine(readFd_, buffer, static_cast<size_t>(n));
        buffer[size] = '\0';
        tail_.append(buffer, size);
        if (tail_.size() > kTailSize) tail_.erase(0, tail_.size() - kTailSize);
        lines_.Feed(buffer, size);
        const std::string chunk = ChunkFromBytes(buffer, size);
        if (app.DebugMode) LogPlain("|||" + chunk + "|||");
        handler_.HandleOutputChunk(chunk);
    };

    bool open = true;
    // A stopped session reads no more: its tool is being ended, its last lines count
    // for nothing.
    while (open && !stop_.load() && session_.Running()) {
        pollfd fds[3] = {{readFd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}, {session_.StopFd(), POLLIN, 0}};
        int r = poll(fds, session_.StopFd() >= 0 ? 3 : 2, kQuietTickMs);
        if (r < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (r == 0) {
            session_.Timing().UpdateTimeLabel();
            session_.Display().Push();
            continue;
        }
        if (fds[0].revents != 0) {
            ssize_t n = read(readFd_, buffer, kReadSize);
            if (n > 0) {
                handle(n);
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                open = false;  // every writer has gone, or the pipe failed
            }
        }
    }
    if (open && drain_.load()) {
        for (int i = 0; i < kMaxDrainReads; ++i) {
            ssize_t n = read(readFd_, buffer, kReadSize);
            if (n <= 0) break;
            handle(n);
        }
    }
    session_.Display().SetTitle(kApplicationTitle);
    session_.Display().Push();
}

}  // namespace transcoda
