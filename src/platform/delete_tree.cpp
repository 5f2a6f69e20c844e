#include "platform/delete_tree.h"

#include <filesystem>
#include <system_error>

namespace transcoda {

bool DeleteTreeSilently(const std::string& path) {
    namespace fs = std::filesystem;
    if (path.empty()) return false;
    std::error_code ec;
    fs::path p(path);
    if (fs::weakly_canonical(p, ec) == p.root_path() && p.has_root_path()) return false;
    ec.clear();
    if (!fs::exists(fs::symlink_status(p, ec))) return false;
    fs::remove_all(p, ec);
    return !ec;
}

}  // namespace transcoda
