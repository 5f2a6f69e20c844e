#include "conversion/items_at_once.h"

#include <sched.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <thread>

#include "recipes/format_catalogue.h"
#include "recipes/output_guard.h"

namespace transcoda {

int AvailableCores() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0) return std::max(1, CPU_COUNT(&set));
    return std::max(1u, std::thread::hardware_concurrency());
}

long long AvailableMemoryBytes(const std::string& meminfo) {
    std::istringstream lines(meminfo);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("MemAvailable:", 0) != 0) continue;
        std::istringstream fields(line.substr(13));
        long long kilobytes = -1;
        std::string unit;
        if (!(fields >> kilobytes >> unit) || kilobytes < 0 || unit != "kB") return -1;
        return kilobytes * 1024;
    }
    return -1;
}

long long AvailableMemoryBytes() {
    std::ifstream in("/proc/meminfo");
    std::ostringstream text;
    text << in.rdbuf();
    return AvailableMemoryBytes(text.str());
}

ItemsAtOnce ChooseItemsAtOnce(int asked, int items, int cores, long long availableMemory) {
    ItemsAtOnce chosen;
    const int wanted = std::max(1, asked > 0 ? asked : cores);
    int count = wanted;
    if (availableMemory >= 0) {
        const long long fit = std::max(1LL, availableMemory / kItemMemoryBytes);
        if (fit < count) {
            count = static_cast<int>(fit);
            chosen.CappedByMemory = true;
        }
    }
    chosen.Count = std::max(1, std::min(count, items));
    return chosen;
}

bool ItemsDependOnEachOther(const std::vector<ConversionRequest>& requests) {
    for (const ConversionRequest& writer : requests) {
        const bool dvd = IsDvdFormat(writer.FormatLabel);
        for (const ConversionRequest& reader : requests)
            if (&reader != &writer && OutputWouldDestroyInput(reader.InputPath, writer.OutputPath, dvd)) return true;
    }
    return false;
}

}  // namespace transcoda
