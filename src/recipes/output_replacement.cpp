#include "recipes/output_replacement.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "exec/app_state.h"
#include "exec/pending_outputs.h"
#include "platform/delete_tree.h"
#include "recipes/dvd_paths.h"

namespace transcoda {

namespace {

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

std::string FolderPart(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

std::string NamePart(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A free temporary name in `folder` for `name`.
std::string FreeTemporaryPath(const std::string& folder, const std::string& name) {
    std::string path;
    for (int i = 0; i < 100; ++i) {
        path = folder + TemporaryOutputName(name);
        if (!Exists(path)) break;
    }
    return path;
}

std::string RenameError(const std::string& from, const std::string& to, int error) {
    const std::string why = std::strerror(error);
    if (App().English()) return "\"" + from + "\" could not be renamed to \"" + to + "\" (" + why + ")";
    return "\"" + from + "\" n'a pas pu être renommé en \"" + to + "\" (" + why + ")";
}

void RemoveSilently(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return;
    if (S_ISDIR(info.st_mode)) DeleteTreeSilently(path);
    else ::unlink(path.c_str());
}

constexpr const char* kTitleFolders[] = {"AUDIO_TS", "VIDEO_TS"};

}  // namespace

OutputReplacement::OutputReplacement(const std::string& output, bool dvd) : final_(output), dvd_(dvd) {
    if (dvd_) {
        if (!final_.empty() && final_.back() != '/') final_ += '/';
        temp_ = FreeTemporaryPath(final_, kDvdFolderName) + "/";
    } else {
        struct stat info {};
        if (::lstat(output.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
            if (char* target = ::realpath(output.c_str(), nullptr)) {
                final_ = target;
                ::free(target);
            }
        }
        temp_ = FreeTemporaryPath(FolderPart(final_), NamePart(final_));
    }
    NotePendingOutput(temp_);
}

OutputReplacement::~OutputReplacement() {
    if (done_) return;
    RemoveSilently(dvd_ ? temp_.substr(0, temp_.size() - 1) : temp_);
    ForgetPendingOutput(temp_);
}

std::string OutputReplacement::Commit() {
    const std::string problem = dvd_ ? CommitDvd() : CommitFile();
    if (problem.empty()) {
        done_ = true;
        ForgetPendingOutput(temp_);
    }
    return problem;
}

std::string OutputReplacement::CommitFile() {
    struct stat old {};
    if (::stat(final_.c_str(), &old) == 0) ::chmod(temp_.c_str(), old.st_mode & 07777);
    if (std::rename(temp_.c_str(), final_.c_str()) != 0) return RenameError(temp_, final_, errno);
    return {};
}

// Both old title folders go aside first, then both new ones come in; a failure puts
// back what was moved, so "DVD-Disc1" holds either the old title or the new one.
std::string OutputReplacement::CommitDvd() {
    const std::string target = DvdFolderPath(final_) + "/";
    const std::string built = DvdFolderPath(temp_) + "/";
    std::error_code ignored;
    std::filesystem::create_directories(target, ignored);
    std::vector<std::pair<std::string, std::string>> moved;  // (from, to), in order
    auto undo = [&] {
        for (auto it = moved.rbegin(); it != moved.rend(); ++it) std::rename(it->second.c_str(), it->first.c_str());
    };
    for (const char* name : kTitleFolders) {
        const std::string old = target + name;
        if (!Exists(old)) continue;
        const std::string aside = temp_ + "old-" + name;
        if (std::rename(old.c_str(), aside.c_str()) != 0) {
            const int error = errno;
            undo();
            return RenameError(old, aside, error);
        }
        moved.emplace_back(old, aside);
    }
    for (const char* name : kTitleFolders) {
        const std::string fresh = built + name;
        if (!Exists(fresh)) continue;
        if (std::rename(fresh.c_str(), (target + name).c_str()) != 0) {
            const int error = errno;
            undo();
            return RenameError(fresh, target + name, error);
        }
        moved.emplace_back(fresh, target + name);
    }
    done_ = true;
    RemoveSilently(temp_.substr(0, temp_.size() - 1));
    return {};
}

}  // namespace transcoda
