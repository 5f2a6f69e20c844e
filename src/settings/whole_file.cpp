#include "settings/whole_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace transcoda {

namespace {

std::string Reason(int err) { return std::strerror(err); }

void SetError(std::string* error, const std::string& text) {
    if (error) *error = text;
}

// The file a replacement writes: through a symbolic link, the file it names, so that the
// link stays a link.
std::string ReplacementTarget(const std::string& path) {
    std::string target = path;
    struct stat lst;
    if (lstat(path.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
        if (char* real = realpath(path.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
    }
    return target;
}

// The temporary name of a replacement by process `pid`: target + ".new-<pid>-<n>".
std::string TemporaryPrefix(const std::string& target) { return target + ".new-"; }

// Removes the temporary files that replacements of `target` by processes now gone left
// behind (a program killed while it wrote). A live process's are its own business.
void RemoveLeftTemporaries(const std::string& target) {
    const size_t slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const std::string prefix = TemporaryPrefix(target.substr(slash == std::string::npos ? 0 : slash + 1));
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        const size_t dash = name.find('-', prefix.size());
        const std::string digits = name.substr(prefix.size(), dash == std::string::npos ? dash : dash - prefix.size());
        if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const pid_t pid = static_cast<pid_t>(std::stol(digits));
        if (pid > 0 && kill(pid, 0) != 0 && errno == ESRCH)
            unlink((slash == std::string::npos ? name : folder + name).c_str());
    }
    closedir(dir);
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        SetError(error, Reason(errno));
        return std::nullopt;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) {
        SetError(error, "read error");
        return std::nullopt;
    }
    return buffer.str();
}

bool ReplaceFileContents(const std::string& path, const std::string& contents,
                         std::string* error) {
    const std::string target = ReplacementTarget(path);
    struct stat old;
    const bool hadOld = stat(target.c_str(), &old) == 0;

    static std::atomic<unsigned> counter{0};
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = TemporaryPrefix(target) + std::to_string(getpid()) + "-" + std::to_string(counter++);
        fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        SetError(error, Reason(errno));
        return false;
    }
    auto fail = [&](int err) {
        if (fd >= 0) close(fd);
        unlink(temp.c_str());
        SetError(error, Reason(err));
        return false;
    };
    if (hadOld && fchmod(fd, old.st_mode & 07777) != 0) return fail(errno);
    size_t done = 0;
    while (done < contents.size()) {
        ssize_t n = write(fd, contents.data() + done, contents.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(errno);
        }
        done += static_cast<size_t>(n);
    }
    if (fsync(fd) != 0) return fail(errno);
    int closed = close(fd);
    fd = -1;
    if (closed != 0) return fail(errno);
    if (rename(temp.c_str(), target.c_str()) != 0) return fail(errno);

    // Make the rename itself durable; a failure here no longer endangers the data.
    std::string folder = target.substr(0, target.find_last_of('/') + 1);
    int dir = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}

void RemoveLeftReplacements(const std::string& path) { RemoveLeftTemporaries(ReplacementTarget(path)); }

}  // namespace transcoda
