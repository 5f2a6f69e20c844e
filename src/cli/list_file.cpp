#include "cli/list_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "cli/cli_texts.h"

namespace transcoda::cli {

// Opened without waiting, then looked at by what was opened.
std::string ReadListFile(const std::string& path, std::string& text) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return CliListFileText(path);
    struct stat st;
    std::string error;
    if (fstat(fd, &st) != 0) error = CliListFileText(path);
    else if (!S_ISREG(st.st_mode)) error = CliListNotRegularText(path);
    else if (st.st_size > kMaxListFileBytes) error = CliListTooLargeText(path, kMaxListFileBytes >> 20);
    char buffer[65536];
    while (error.empty()) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error = CliListFileText(path);
        if (n <= 0) break;
        text.append(buffer, static_cast<size_t>(n));
        // A file that grows while it is read is cut off at the bound all the same.
        if (static_cast<long long>(text.size()) > kMaxListFileBytes) error = CliListTooLargeText(path, kMaxListFileBytes >> 20);
    }
    close(fd);
    return error;
}

}  // namespace transcoda::cli
