#include "mainwindow/folder_check.h"

#include <filesystem>
#include <system_error>

namespace transcoda::gui {

bool FolderIsUsable(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path path(folder);
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) return true;
    if (ec || !fs::is_directory(status)) return false;
    fs::directory_iterator it(path, ec);
    if (ec) return false;
    return it == fs::directory_iterator();
}

}  // namespace transcoda::gui
