#include "platform/instance_mark.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <fstream>
#include <sstream>

namespace transcoda {

namespace {

enum class ProcessState { Live, Gone, Unknown };

// State and start time from /proc/<pid>/stat. The name in parentheses may hold blanks
// and parentheses of its own, so the fields are counted from the last ")".
ProcessState ReadProcessStat(pid_t pid, unsigned long long& startTime) {
    const std::string path = "/proc/" + std::to_string(pid) + "/stat";
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT || errno == ESRCH ? ProcessState::Gone : ProcessState::Unknown;
    char buffer[1024];
    ssize_t n;
    do n = read(fd, buffer, sizeof buffer);
    while (n < 0 && errno == EINTR);
    const int readError = errno;
    close(fd);
    // A process that ends between the open and the read leaves nothing to read.
    if (n < 0) return readError == ESRCH ? ProcessState::Gone : ProcessState::Unknown;
    const std::string line(buffer, static_cast<size_t>(n));
    const auto close = line.rfind(')');
    if (close == std::string::npos) return ProcessState::Unknown;
    std::istringstream fields(line.substr(close + 1));
    std::string state, skipped;
    fields >> state;
    // Fields 4 to 21, then the start time (field 22).
    for (int i = 4; i <= 21; ++i) fields >> skipped;
    if (!(fields >> startTime)) return ProcessState::Unknown;
    // A process that has ended but is not yet reaped is gone all the same.
    return state == "Z" || state == "X" ? ProcessState::Gone : ProcessState::Live;
}

template <typename T>
bool WholeNumber(std::string_view text, T& value) {
    if (text.empty() || text[0] < '0' || text[0] > '9') return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::string InstanceMark::Text() const { return std::to_string(Pid) + "-" + std::to_string(StartTime); }

std::optional<InstanceMark> ParseInstanceMark(std::string_view text) {
    const auto dash = text.find('-');
    if (dash == std::string_view::npos) return std::nullopt;
    InstanceMark mark;
    if (!WholeNumber(text.substr(0, dash), mark.Pid) || mark.Pid <= 0) return std::nullopt;
    if (!WholeNumber(text.substr(dash + 1), mark.StartTime)) return std::nullopt;
    return mark;
}

std::optional<InstanceMark> RunningProcessMark(pid_t pid) {
    InstanceMark mark;
    mark.Pid = pid;
    if (ReadProcessStat(pid, mark.StartTime) != ProcessState::Live) return std::nullopt;
    return mark;
}

const InstanceMark& ThisInstance() {
    static const InstanceMark mark = RunningProcessMark(getpid()).value_or(InstanceMark{getpid(), 0});
    return mark;
}

const std::string& ThisInstanceEnvironmentEntry() {
    static const std::string entry = std::string(kInstanceVariable) + "=" + ThisInstance().Text();
    return entry;
}

std::optional<InstanceMark> ProcessInstanceMark(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/environ", std::ios::binary);
    if (!in) return std::nullopt;
    const std::string prefix = std::string(kInstanceVariable) + "=";
    std::string entry;
    while (std::getline(in, entry, '\0'))
        if (entry.compare(0, prefix.size(), prefix) == 0) return ParseInstanceMark(entry.substr(prefix.size()));
    return std::nullopt;
}

bool InstanceGone(const InstanceMark& mark) {
    unsigned long long startTime = 0;
    switch (ReadProcessStat(mark.Pid, startTime)) {
        case ProcessState::Gone: return true;
        case ProcessState::Live: return startTime != mark.StartTime;
        case ProcessState::Unknown: return false;
    }
    return false;
}

}  // namespace transcoda
