#include "recipes/output_place.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

namespace transcoda {

OutputPlace PlaceOf(const std::string& output) {
    namespace fs = std::filesystem;
    std::string path = output;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    std::error_code ec;
    fs::path resolved = fs::weakly_canonical(fs::path(path), ec);
    if (ec) resolved = fs::absolute(fs::path(path), ec).lexically_normal();
    // The folder that holds the output, or the nearest one above it that exists.
    fs::path folder = resolved.parent_path();
    fs::path rest = resolved.filename();
    struct stat info {};
    while (::stat(folder.c_str(), &info) != 0) {
        if (folder == folder.parent_path()) return {0, 0, resolved.string()};
        rest = folder.filename() / rest;
        folder = folder.parent_path();
    }
    return {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino), rest.string()};
}

bool SameOutputPlace(const std::string& a, const std::string& b) { return PlaceOf(a) == PlaceOf(b); }

}  // namespace transcoda
