#include "platform/user_folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

namespace transcoda {

namespace {

std::string WithSlash(std::string path) {
    if (!path.empty() && path.back() != '/') path += '/';
    return path;
}

// An XDG variable counts only when it holds an absolute path.
std::string AbsoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] == '/' ? WithSlash(value) : std::string();
}

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') return WithSlash(home);
    if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr && pw->pw_dir[0] == '/')
        return WithSlash(pw->pw_dir);
    return {};
}

std::string XdgFolder(const char* variable, const char* underHome) {
    std::string folder = AbsoluteVariable(variable);
    if (!folder.empty()) return folder;
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : home + underHome;
}

}  // namespace

std::string UserConfigFolder() { return XdgFolder("XDG_CONFIG_HOME", ".config/"); }
std::string UserCacheFolder() { return XdgFolder("XDG_CACHE_HOME", ".cache/"); }
std::string UserRuntimeFolder() { return AbsoluteVariable("XDG_RUNTIME_DIR"); }

std::string PreferencesFolder() {
    const std::string config = UserConfigFolder();
    return config.empty() ? std::string() : config + "transcoda/";
}

std::string UserVideosFolder() {
    const std::string home = HomeFolder();
    const std::string config = UserConfigFolder();
    std::ifstream in(config.empty() ? std::string() : config + "user-dirs.dirs");
    std::string line;
    while (std::getline(in, line)) {
        // XDG_VIDEOS_DIR="$HOME/Videos", or an absolute path between the quotes.
        constexpr std::string_view key = "XDG_VIDEOS_DIR=\"";
        if (!line.starts_with(key) || line.size() < key.size() + 1 || line.back() != '"') continue;
        std::string value = line.substr(key.size(), line.size() - key.size() - 1);
        if (value.starts_with("$HOME")) {
            if (home.empty()) continue;
            std::string rest = value.substr(std::string_view("$HOME").size());
            while (!rest.empty() && rest[0] == '/') rest.erase(0, 1);
            value = home + rest;
        }
        // A value that is only the home folder means the folder is not used.
        if (!value.empty() && value[0] == '/' && WithSlash(value) != home) return WithSlash(value);
    }
    return home;
}

bool IsOwnFolder(const std::string& folder) {
    // Without its trailing "/", so that lstat sees a symbolic link as one.
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    struct stat st;
    return !path.empty() && lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid();
}

bool MakePrivateFolder(const std::string& folder) {
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    if (path.empty()) return false;
    std::error_code ec;
    const std::filesystem::path p(path);
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path(), ec);
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
    return IsOwnFolder(path);
}

}  // namespace transcoda
