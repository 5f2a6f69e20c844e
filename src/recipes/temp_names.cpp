#include "recipes/temp_names.h"

#include <sys/stat.h>

#include <random>

namespace transcoda {

std::string NewTempName() {
    std::random_device source;
    std::uniform_int_distribution<int> digit(0, 9);
    std::string name = "tmp";
    for (int i = 0; i < 4; ++i) name += static_cast<char>('0' + digit(source));
    return name;
}

std::string NewFreeTempName(const std::string& folder, std::initializer_list<const char*> suffixes,
                            const std::string& avoid, const TempNameSource& source) {
    constexpr int kDraws = 1000;
    std::string name;
    for (int draw = 0; draw < kDraws; ++draw) {
        name = source ? source() : NewTempName();
        if (name == avoid) continue;
        bool free = true;
        for (const char* suffix : suffixes) {
            struct stat info {};
            if (::lstat((folder + name + suffix).c_str(), &info) == 0) free = false;
        }
        if (free) return name;
    }
    return name;
}

}  // namespace transcoda
