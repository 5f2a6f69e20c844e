#include "settings/ini_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace transcoda {

namespace {

void SetError(std::string* error, const std::string& text) {
    if (error) *error = text;
}

// Holds the lock of the folder that holds a file for as long as it lives. Locking the
// folder rather than the file keeps the lock across the rename that replaces the file.
class FolderLock {
public:
    explicit FolderLock(const std::string& path) {
        const std::string folder = path.substr(0, path.find_last_of('/') + 1);
        fd_ = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd_ >= 0)
            while (flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
            }
    }
    ~FolderLock() {
        if (fd_ >= 0) close(fd_);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_ = -1;
};

}  // namespace

bool IniFileExists(const std::string& path) {
    struct stat st;
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string ReadIniString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& fallback) {
    if (!IniFileExists(path)) return fallback;
    auto text = ReadWholeFile(path);
    if (!text) return fallback;
    return IniDocument::Parse(*text).Get(section, key).value_or(fallback);
}

bool ModifyIniFile(const std::string& path, const std::function<bool(IniDocument&, std::string*)>& change,
                   std::string* error) {
    FolderLock lock(path);
    RemoveLeftReplacements(path);
    IniDocument doc;
    if (IniFileExists(path)) {
        // A file that exists but cannot be read is left alone rather than replaced by
        // one that would lose its other contents.
        std::string why;
        auto text = ReadWholeFile(path, &why);
        if (!text) {
            SetError(error, why);
            return false;
        }
        doc = IniDocument::Parse(*text);
    }
    if (!change(doc, error)) return false;
    return ReplaceFileContents(path, doc.Serialize(), error);
}

bool WriteIniStrings(const std::string& path, const std::string& section,
                     const std::vector<std::pair<std::string, std::string>>& values,
                     std::string* error) {
    return ModifyIniFile(
        path,
        [&](IniDocument& doc, std::string* why) {
            for (const auto& [key, value] : values) {
                if (!doc.Set(section, key, value)) {
                    SetError(why, "the value of " + key + " does not fit on one line");
                    return false;
                }
            }
            return true;
        },
        error);
}

}  // namespace transcoda
