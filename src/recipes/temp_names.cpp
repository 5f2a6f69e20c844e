#include "recipes/temp_names.h"

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

void SetTempNameHook(std::function<std::string()> hook) {
    std::lock_guard lock(NameMutex());
    Hook() = std::move(hook);
}

}  // namespace transcoda
