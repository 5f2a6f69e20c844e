#include "recipes/temp_names.h"

#include <sys/stat.h>

#include <mutex>
#include <random>
#include <set>

namespace transcoda {

std::string NewTempName() {
    std::random_device source;
    std::uniform_int_distribution<int> digit(0, 9);
    std::string name = "tmp";
    for (int i = 0; i < 4; ++i) name += static_cast<char>('0' + digit(source));
    return name;
}

namespace {

// The names of the work folder held by this process's recipes: the sessions of one
// process share the folder, and a name checked free by two of them at once must go to one.
struct HeldNames {
    std::mutex Mutex;
    std::set<std::string> Paths;
};

HeldNames& Held() {
    static HeldNames* held = new HeldNames;
    return *held;
}

// Holds folder + name for the caller; null when it is held already.
std::shared_ptr<const void> HoldName(const std::string& path) {
    HeldNames& held = Held();
    std::lock_guard lock(held.Mutex);
    if (!held.Paths.insert(path).second) return nullptr;
    return std::shared_ptr<const void>(new std::string(path), [](const void* p) {
        const auto* named = static_cast<const std::string*>(p);
        {
            HeldNames& names = Held();
            std::lock_guard release(names.Mutex);
            names.Paths.erase(*named);
        }
        delete named;
    });
}

}  // namespace

FreeTempName NewFreeTempName(const std::string& folder, std::initializer_list<const char*> suffixes,
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
        if (!free) continue;
        if (auto hold = HoldName(folder + name)) return {name, std::move(hold)};
    }
    return {name, HoldName(folder + name)};
}

}  // namespace transcoda
