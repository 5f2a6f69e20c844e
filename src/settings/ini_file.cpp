#include "settings/ini_file.h"

#include <fcntl.h>
#include <dirent.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace transcoda {

namespace {

const char kBom[] = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x < 128 && y < 128) {
            if (std::tolower(x) != std::tolower(y)) return false;
        } else if (x != y) {
            return false;
        }
    }
    return true;
}

// The section name of a "[name]" line, or nothing for any other line.
std::optional<std::string> SectionName(const std::string& line) {
    std::string t = Trim(line);
    if (t.empty() || t[0] != '[') return std::nullopt;
    size_t close = t.find(']');
    if (close == std::string::npos) return std::nullopt;
    return Trim(t.substr(1, close - 1));
}

bool IsComment(const std::string& line) {
    std::string t = Trim(line);
    return !t.empty() && t[0] == ';';
}

// The key name of a "key=value" line (blanks around it removed), or nothing.
std::optional<std::string> KeyName(const std::string& line) {
    if (IsComment(line) || SectionName(line)) return std::nullopt;
    size_t eq = line.find('=');
    if (eq == std::string::npos) return std::nullopt;
    std::string key = Trim(line.substr(0, eq));
    if (key.empty()) return std::nullopt;
    return key;
}

std::string ValueOf(const std::string& line) {
    std::string v = Trim(line.substr(line.find('=') + 1));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return v;
}

// The value as it must stand in the file to read back unchanged: values with blanks at
// either end, or already wrapped in quotes, are wrapped in one more pair of quotes.
std::string StoredValue(const std::string& value) {
    bool edgeBlank = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()));
    bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                  value.back() == value.front();
    return (edgeBlank || quoted) ? "\"" + value + "\"" : value;
}

bool OneLine(const std::string& s) { return s.find_first_of("\r\n") == std::string::npos; }

// A section, key and value (names already trimmed) that read back as they were written.
bool Storable(const std::string& sec, const std::string& name, const std::string& value) {
    return !sec.empty() && !name.empty() && OneLine(sec) && OneLine(name) && OneLine(value) &&
           sec.find(']') == std::string::npos && name.find('=') == std::string::npos && name[0] != '[' &&
           name[0] != ';';
}

std::string Reason(int err) { return std::strerror(err); }

void SetError(std::string* error, const std::string& text) {
    if (error) *error = text;
}

}  // namespace

IniDocument IniDocument::Parse(const std::string& input) {
    IniDocument doc;
    std::string text = input;
    if (text.compare(0, 3, kBom) == 0) {
        doc.bom_ = kBom;
        text.erase(0, 3);
    }
    bool styleKnown = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t nl = text.find('\n', pos);
        Line line;
        if (nl == std::string::npos) {
            line.text = text.substr(pos);
            pos = text.size();
        } else {
            line.text = text.substr(pos, nl - pos);
            line.end = "\n";
            if (!line.text.empty() && line.text.back() == '\r') {
                line.text.pop_back();
                line.end = "\r\n";
            }
            pos = nl + 1;
            if (!styleKnown) {
                doc.newline_ = line.end;
                styleKnown = true;
            }
        }
        doc.lines_.push_back(std::move(line));
    }
    return doc;
}

std::string IniDocument::Serialize() const {
    std::string out = bom_;
    for (const Line& l : lines_) out += l.text + l.end;
    return out;
}

int IniDocument::FindSection(const std::string& section) const {
    for (size_t i = 0; i < lines_.size(); ++i) {
        auto name = SectionName(lines_[i].text);
        if (name && SameName(*name, section)) return static_cast<int>(i);
    }
    return -1;
}

// The first line holding key inside any section named like sectionLine's, searched in
// file order from sectionLine on.
int IniDocument::FindKey(int sectionLine, const std::string& key) const {
    std::string section = *SectionName(lines_[sectionLine].text);
    bool inside = true;
    for (size_t i = sectionLine + 1; i < lines_.size(); ++i) {
        if (auto name = SectionName(lines_[i].text)) {
            inside = SameName(*name, section);
            continue;
        }
        if (!inside) continue;
        auto k = KeyName(lines_[i].text);
        if (k && SameName(*k, key)) return static_cast<int>(i);
    }
    return -1;
}

std::optional<std::string> IniDocument::Get(const std::string& section,
                                            const std::string& key) const {
    int s = FindSection(section);
    if (s < 0) return std::nullopt;
    int k = FindKey(s, key);
    if (k < 0) return std::nullopt;
    return ValueOf(lines_[k].text);
}

bool IniDocument::Set(const std::string& section, const std::string& key,
                      const std::string& value) {
    std::string sec = Trim(section), name = Trim(key);
    if (!Storable(sec, name, value)) return false;
    const std::string stored = StoredValue(value);

    int s = FindSection(sec);
    if (s >= 0) {
        int k = FindKey(s, name);
        if (k >= 0) {
            std::string& text = lines_[k].text;
            text = text.substr(0, text.find('=') + 1) + stored;
            return true;
        }
        // After the last non-blank line of the first matching section.
        size_t insertAt = s + 1;
        for (size_t i = s + 1; i < lines_.size() && !SectionName(lines_[i].text); ++i)
            if (!Trim(lines_[i].text).empty()) insertAt = i + 1;
        if (lines_[insertAt - 1].end.empty()) lines_[insertAt - 1].end = newline_;
        lines_.insert(lines_.begin() + insertAt, Line{name + "=" + stored, newline_});
        return true;
    }
    if (!lines_.empty() && lines_.back().end.empty()) lines_.back().end = newline_;
    lines_.push_back(Line{"[" + sec + "]", newline_});
    lines_.push_back(Line{name + "=" + stored, newline_});
    return true;
}

std::vector<std::pair<std::string, std::string>> IniDocument::Entries(const std::string& section) const {
    std::vector<std::pair<std::string, std::string>> entries;
    bool inside = false;
    for (const Line& line : lines_) {
        if (auto name = SectionName(line.text)) {
            inside = SameName(*name, section);
            continue;
        }
        if (!inside) continue;
        if (auto key = KeyName(line.text)) entries.emplace_back(*key, ValueOf(line.text));
    }
    return entries;
}

bool IniDocument::ReplaceSection(const std::string& section,
                                 const std::vector<std::pair<std::string, std::string>>& values) {
    const std::string sec = Trim(section);
    std::vector<Line> block{Line{"[" + sec + "]", newline_}};
    for (const auto& [key, value] : values) {
        const std::string name = Trim(key);
        if (!Storable(sec, name, value)) return false;
        block.push_back(Line{name + "=" + StoredValue(value), newline_});
    }
    if (values.empty() && !Storable(sec, "key", "")) return false;

    std::vector<Line> kept;
    size_t at = std::string::npos;
    bool inside = false;
    for (Line& line : lines_) {
        if (auto name = SectionName(line.text)) {
            inside = SameName(*name, sec);
            if (inside && at == std::string::npos) at = kept.size();
        }
        if (!inside) kept.push_back(std::move(line));
    }
    if (at == std::string::npos) at = kept.size();
    if (at > 0 && kept[at - 1].end.empty()) kept[at - 1].end = newline_;
    // What followed the section keeps its own place after the new one.
    kept.insert(kept.begin() + static_cast<std::ptrdiff_t>(at), block.begin(), block.end());
    lines_ = std::move(kept);
    return true;
}

bool IniFileExists(const std::string& path) {
    struct stat st;
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

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

namespace {

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

std::string ReadIniString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& fallback) {
    if (!IniFileExists(path)) return fallback;
    auto text = ReadWholeFile(path);
    if (!text) return fallback;
    return IniDocument::Parse(*text).Get(section, key).value_or(fallback);
}

namespace {

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

bool ModifyIniFile(const std::string& path, const std::function<bool(IniDocument&, std::string*)>& change,
                   std::string* error) {
    FolderLock lock(path);
    RemoveLeftTemporaries(ReplacementTarget(path));
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
