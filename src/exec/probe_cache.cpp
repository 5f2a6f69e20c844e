#include "exec/probe_cache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <vector>

#include "exec/app_state.h"

namespace transcoda {

namespace {

constexpr std::string_view kHeader = "transcoda-probe 2\n";
// An entry larger than this is not one of ours.
constexpr size_t kMaxEntryBytes = 1 << 20;

std::string WithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

// Reads "<word> <number>\n" (or several numbers) from the front of `text`.
class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    bool Word(std::string_view word) {
        if (!text_.starts_with(word) || text_.size() <= word.size() || text_[word.size()] != ' ') return false;
        text_.remove_prefix(word.size() + 1);
        return true;
    }
    template <typename T>
    bool Number(T& value, char after) {
        const auto [end, error] = std::from_chars(text_.data(), text_.data() + text_.size(), value);
        if (error != std::errc() || end == text_.data() + text_.size() || *end != after) return false;
        text_.remove_prefix(static_cast<size_t>(end - text_.data()) + 1);
        return true;
    }
    bool Bytes(std::string& out) {
        size_t size = 0;
        if (!Number(size, '\n') || size > text_.size()) return false;
        out.assign(text_.substr(0, size));
        text_.remove_prefix(size);
        return Expect("\n");
    }
    bool Expect(std::string_view exact) {
        if (!text_.starts_with(exact)) return false;
        text_.remove_prefix(exact.size());
        return true;
    }
    bool AtEnd() const { return text_.empty(); }

private:
    std::string_view text_;
};

// Reads an entry: a regular file only, and at most kMaxEntryBytes. Opened without
// waiting and without following a link, so that a FIFO, a device or a link put in the
// folder under an entry's name can neither block the reader nor feed it without end.
bool ReadWhole(const std::string& path, std::string& text) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return false;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > static_cast<off_t>(kMaxEntryBytes)) {
        close(fd);
        return false;
    }
    char buffer[16384];
    bool ok = true;
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) {
            text.append(buffer, static_cast<size_t>(n));
            if (text.size() > kMaxEntryBytes) ok = false;
            if (!ok) break;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        ok = n == 0;
        break;
    }
    close(fd);
    return ok;
}

bool WriteWhole(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

std::optional<FileIdentity> IdentityOf(const std::string& path) {
    struct stat st;
    if (path.empty() || stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    FileIdentity id;
    id.Device = static_cast<uint64_t>(st.st_dev);
    id.Inode = static_cast<uint64_t>(st.st_ino);
    id.Size = static_cast<int64_t>(st.st_size);
    id.ModifiedNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    id.ChangedNs = static_cast<int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return id;
}

std::string FormatProbeEntry(const FileIdentity& identity, const ProbeAnswer& answer) {
    std::string text(kHeader);
    text += "identity " + std::to_string(identity.Device) + " " + std::to_string(identity.Inode) + " " +
            std::to_string(identity.Size) + " " + std::to_string(identity.ModifiedNs) + " " +
            std::to_string(identity.ChangedNs) + "\n";
    text += "exit " + std::to_string(answer.ExitCode) + "\n";
    text += "output " + std::to_string(answer.Output.size()) + "\n" + answer.Output + "\n";
    text += "description " + std::to_string(answer.Description.size()) + "\n" + answer.Description + "\n";
    return text;
}

std::optional<ProbeAnswer> ParseProbeEntry(std::string_view text, const FileIdentity& identity) {
    Reader r(text);
    FileIdentity stored;
    ProbeAnswer answer;
    if (!r.Expect(kHeader) || !r.Word("identity") || !r.Number(stored.Device, ' ') || !r.Number(stored.Inode, ' ') ||
        !r.Number(stored.Size, ' ') || !r.Number(stored.ModifiedNs, ' ') || !r.Number(stored.ChangedNs, '\n') ||
        !r.Word("exit") || !r.Number(answer.ExitCode, '\n') || !r.Word("output") || !r.Bytes(answer.Output) ||
        !r.Word("description") || !r.Bytes(answer.Description) || !r.AtEnd())
        return std::nullopt;
    // The file has changed since it was described (or the entry names another one).
    if (!(stored == identity)) return std::nullopt;
    return answer;
}

ProbeCache::ProbeCache(std::string folder) : folder_(WithSlash(std::move(folder))) {}

ProbeCache ProbeCache::OfThisInstance() {
    const std::string& work = App().WorkFolder;
    return ProbeCache(work.empty() ? std::string() : work + "probes/");
}

ProbeCache ProbeCache::FromEnvironment() {
    const char* folder = std::getenv(kProbeCacheVariable);
    // Only an absolute folder: a relative one would follow the tool's current folder.
    return ProbeCache(folder != nullptr && folder[0] == '/' ? folder : "");
}

std::string ProbeCache::EnvironmentEntry() const {
    return Enabled() ? std::string(kProbeCacheVariable) + "=" + folder_ : std::string();
}

std::string ProbeCache::EntryPath(const FileIdentity& identity) const {
    return folder_ + std::to_string(identity.Device) + "-" + std::to_string(identity.Inode);
}

std::optional<ProbeAnswer> ProbeCache::Find(const FileIdentity& identity) const {
    if (!Enabled()) return std::nullopt;
    std::string text;
    if (!ReadWhole(EntryPath(identity), text)) return std::nullopt;
    return ParseProbeEntry(text, identity);
}

std::optional<ProbeAnswer> ProbeCache::Find(const std::string& path) const {
    if (!Enabled()) return std::nullopt;
    const auto identity = IdentityOf(path);
    if (!identity) return std::nullopt;
    return Find(*identity);
}

bool ProbeCache::Store(const FileIdentity& identity, const ProbeAnswer& answer) const {
    if (!Enabled()) return false;
    // The folder is made on first use, private like the work folder that holds it.
    if (mkdir(folder_.c_str(), 0700) != 0 && errno != EEXIST) return false;
    const std::string entry = FormatProbeEntry(identity, answer);
    if (entry.size() > kMaxEntryBytes) return false;
    std::string temp = folder_ + ".entry-XXXXXX";
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back('\0');
    const int fd = mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return false;
    temp.assign(name.data());
    const bool written = WriteWhole(fd, entry);
    if (close(fd) != 0 || !written || rename(temp.c_str(), EntryPath(identity).c_str()) != 0) {
        unlink(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace transcoda
