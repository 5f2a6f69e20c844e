#include "exec/pending_outputs.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <random>
#include <vector>

#include "exec/app_state.h"
#include "platform/delete_tree.h"

namespace transcoda {

namespace {

constexpr const char* kMarker = ".transcoda-";
constexpr size_t kRandomLength = 6;
constexpr const char* kNoteName = "pending-outputs";

std::mutex& NotesMutex() {
    static std::mutex m;
    return m;
}
// The paths noted by this instance, in the order they were noted.
std::vector<std::string>& Noted() {
    static std::vector<std::string> paths;
    return paths;
}

std::string LastComponent(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Rewrites the note from the noted paths, through a second file renamed over it, so
// that a sweep never reads half a note.
void WriteNoteLocked() {
    const std::string folder = App().WorkFolder;
    if (folder.empty()) return;
    const std::string note = folder + kNoteName;
    if (Noted().empty()) {
        ::unlink(note.c_str());
        return;
    }
    const std::string fresh = note + ".new";
    {
        std::ofstream out(fresh, std::ios::trunc);
        for (const std::string& path : Noted()) out << path << '\n';
        if (!out) return;
    }
    std::rename(fresh.c_str(), note.c_str());
}

}  // namespace

std::string TemporaryOutputName(const std::string& name) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device source;
    std::uniform_int_distribution<size_t> pick(0, sizeof kLetters - 2);
    std::string random;
    for (size_t i = 0; i < kRandomLength; ++i) random += kLetters[pick(source)];
    const auto dot = name.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && dot > 0;
    std::string stem = hasExtension ? name.substr(0, dot) : name;
    const std::string extension = hasExtension ? name.substr(dot) : "";
    // Within the file system's limit for a name: the stem gives way, cut on a character's
    // first byte, so that any name the file system accepts has its temporary name.
    const size_t fixed = 1 + std::string(kMarker).size() + kRandomLength + extension.size();
    const size_t room = kMaxNameBytes > fixed ? kMaxNameBytes - fixed : 0;
    stem = CutToBytes(stem, room);
    return "." + stem + kMarker + random + extension;
}

bool IsTemporaryOutputName(const std::string& path) {
    const std::string name = LastComponent(path);
    if (name.size() < 2 || name[0] != '.') return false;
    const auto marker = name.rfind(kMarker);
    if (marker == std::string::npos || marker == 0) return false;
    const std::string rest = name.substr(marker + std::string(kMarker).size());
    if (rest.size() < kRandomLength) return false;
    for (size_t i = 0; i < kRandomLength; ++i)
        if (!std::isalnum(static_cast<unsigned char>(rest[i]))) return false;
    return rest.size() == kRandomLength || rest[kRandomLength] == '.';
}

void NotePendingOutput(const std::string& path) {
    if (App().WorkFolder.empty()) return;
    std::lock_guard lock(NotesMutex());
    Noted().push_back(path);
    WriteNoteLocked();
}

void ForgetPendingOutput(const std::string& path) {
    if (App().WorkFolder.empty()) return;
    std::lock_guard lock(NotesMutex());
    auto& noted = Noted();
    const auto it = std::find(noted.begin(), noted.end(), path);
    if (it == noted.end()) return;
    noted.erase(it);
    WriteNoteLocked();
}

void SweepPendingOutputs(const std::string& deadWorkFolder) {
    if (deadWorkFolder.empty()) return;
    std::string folder = deadWorkFolder;
    if (folder.back() != '/') folder += '/';
    const std::string note = folder + kNoteName;
    std::ifstream in(note);
    std::string path;
    while (std::getline(in, path)) {
        if (path.empty() || path[0] != '/' || !IsTemporaryOutputName(path)) continue;
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0) continue;
        if (S_ISDIR(info.st_mode)) DeleteTreeSilently(path);
        else if (S_ISREG(info.st_mode)) ::unlink(path.c_str());
    }
    in.close();
    ::unlink(note.c_str());
    ::unlink((note + ".new").c_str());
}

}  // namespace transcoda
