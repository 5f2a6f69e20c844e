#include "recipes/temp_names.h"

#include <sys/stat.h>

#include <chrono>
#include <mutex>
#include <random>

namespace transcoda {

namespace {

std::mutex& NameMutex() {
    static std::mutex mutex;
    return mutex;
}

std::function<std::string()>& Hook() {
    static std::function<std::string()> hook;
    return hook;
}

}  // namespace

std::string NewTempName() {
    static std::mt19937 generator(static_cast<std::mt19937::result_type>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count()));
    std::lock_guard lock(NameMutex());
    if (Hook()) return Hook()();
    std::uniform_int_distribution<int> digit(0, 9);
    std::string name = "tmp";
    for (int i = 0; i < 4; ++i) name += static_cast<char>('0' + digit(generator));
    return name;
}

std::string NewFreeTempName(const std::string& folder, std::initializer_list<const char*> suffixes,
                            const std::string& avoid) {
    constexpr int kDraws = 1000;
    std::string name;
    for (int draw = 0; draw < kDraws; ++draw) {
        name = NewTempName();
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

void SetTempNameHook(std::function<std::string()> hook) {
    std::lock_guard lock(NameMutex());
    Hook() = std::move(hook);
}

}  // namespace transcoda
