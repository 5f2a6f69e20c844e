#include "recipes/output_guard.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "exec/app_state.h"
#include "exec/language.h"
#include "exec/pending_outputs.h"
#include "platform/user_folders.h"
#include "recipes/dvd_paths.h"
#include "recipes/format_catalogue.h"

namespace transcoda {

namespace {

namespace fs = std::filesystem;

bool English() { return App().English(); }

// The path with its links and dots resolved as far as it exists, without a final "/".
fs::path Canonical(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::path(path), ec);
    return ec ? fs::path(path).lexically_normal() : p;
}

// True when `path` is `folder` or lies below it.
bool Within(const fs::path& path, const std::string& folder) {
    if (folder.empty()) return false;
    const fs::path base = Canonical(folder);
    const auto [baseEnd, pathAt] = std::mismatch(base.begin(), base.end(), path.begin(), path.end());
    (void)pathAt;
    return baseEnd == base.end();
}

bool SameFile(const std::string& a, const char* b) {
    struct stat first {}, second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b, &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

// A file of the program itself: the running executable under any name, a file beside
// it, anything in the tools' folder, the work folder or the preferences folder. A DVD
// folder may not be the program's folder either.
bool IsProgramFile(const std::string& output, bool dvd) {
    const AppState& app = App();
    if (SameFile(output, "/proc/self/exe")) return true;
    const fs::path path = Canonical(output);
    if (Within(path, PreferencesFolder()) || Within(path, app.WorkFolder)) return true;
    if (app.ProgramFolder.empty()) return false;
    if (Within(path, app.HelperFolder())) return true;
    const fs::path program = Canonical(app.ProgramFolder);
    return dvd ? path == program : path.parent_path() == program;
}

std::string Refused(const std::string& output, bool dvd, const char* french, const char* english) {
    const std::string quoted = "\"" + output + "\"";
    if (English())
        return std::string(dvd ? "The output folder " : "The output file ") + quoted + " is refused: " + english + ".";
    return std::string(dvd ? "Le dossier de sortie " : "Le fichier de sortie ") + quoted + " est refusé : " + french +
           ".";
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The length in bytes of the longest name (path component) of `path`.
size_t LongestNameBytes(const std::string& path) {
    size_t longest = 0, start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        longest = std::max(longest, end - start);
        start = end + 1;
    }
    return longest;
}

}  // namespace

bool OutputWouldDestroyInput(const std::string& input, const std::string& output, bool dvd) {
    if (input.empty() || output.empty()) return false;
    if (!dvd) return SameFile(output, input.c_str());
    const std::string folder = output.back() == '/' ? output : output + "/";
    if (Within(Canonical(input), DvdFolderPath(folder))) return true;
    // The same folder reached another way (a bind mount): compared by device and inode.
    struct stat disc {}, at {};
    if (::stat(DvdFolderPath(folder).c_str(), &disc) != 0) return false;
    for (fs::path p = Canonical(input).parent_path(); ::stat(p.c_str(), &at) == 0; p = p.parent_path()) {
        if (at.st_dev == disc.st_dev && at.st_ino == disc.st_ino) return true;
        if (p == p.parent_path()) break;
    }
    return false;
}

std::string OutputRefusal(const std::string& output, const std::string& label) {
    const FormatEntry* entry = FindFormat(label);
    const bool dvd = entry != nullptr && entry->WritesDvd();
    if (output.empty())
        return Localised("Aucun fichier de sortie n'est indiqué.", "No output file is given.");
    if (LongestNameBytes(output) > kMaxNameBytes)
        return Refused(output, dvd, "un nom de son chemin dépasse 255 octets, la limite des systèmes de fichiers",
                       "a name in its path is longer than 255 bytes, the file systems' limit");
    if (IsProgramFile(output, dvd))
        return Refused(output, dvd, "c'est un fichier du programme lui-même", "it is one of the program's own files");

    struct stat info {};
    const bool exists = ::stat(output.c_str(), &info) == 0;
    if (dvd) {
        if (exists && !S_ISDIR(info.st_mode))
            return Refused(output, dvd, "ce n'est pas un dossier", "it is not a folder");
        if (exists && ::access(output.c_str(), W_OK | X_OK) != 0)
            return Refused(output, dvd, "vous n'avez pas le droit d'y écrire", "you may not write in it");
        return {};
    }
    if (exists) {
        if (S_ISDIR(info.st_mode))
            return Refused(output, dvd, "c'est un dossier, pas un fichier", "it is a folder, not a file");
        if (!S_ISREG(info.st_mode))
            return Refused(output, dvd, "ce n'est pas un fichier ordinaire (périphérique, tube ou autre)",
                           "it is not a regular file (a device, a pipe or the like)");
        if (::access(output.c_str(), W_OK) != 0)
            return Refused(output, dvd, "vous n'avez pas le droit de le modifier", "you may not write it");
    }
    // The new file is written beside the old one and then takes its place.
    const std::string folder = FolderOf(output);
    struct stat folderInfo {};
    if (::stat(folder.c_str(), &folderInfo) == 0 && S_ISDIR(folderInfo.st_mode) &&
        ::access(folder.c_str(), W_OK | X_OK) != 0)
        return Refused(output, dvd, "vous n'avez pas le droit d'écrire dans son dossier",
                       "you may not write in its folder");
    return {};
}

}  // namespace transcoda
