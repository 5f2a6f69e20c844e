#include "platform/program_folder.h"

#include <unistd.h>

#include <string>

namespace transcoda {

std::string ExecutableFolder() {
    std::string buf(4096, '\0');
    ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
    if (n <= 0 || static_cast<size_t>(n) >= buf.size()) return "./";
    buf.resize(static_cast<size_t>(n));
    auto slash = buf.rfind('/');
    if (slash == std::string::npos) return "./";
    return buf.substr(0, slash + 1);
}

}  // namespace transcoda
