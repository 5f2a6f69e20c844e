#include "cli/item_outcome.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace transcoda::cli {

namespace {

using Result = RequestOutcome::Result;

constexpr struct {
    Result Value;
    const char* Word;
} kWords[] = {
    {Result::Written, "written"}, {Result::Failed, "failed"},  {Result::Refused, "refused"},
    {Result::Stopped, "stopped"}, {Result::FolderError, "folder"},
};

}  // namespace

bool WriteItemOutcome(const std::string& path, const ItemOutcome& outcome) {
    const char* word = nullptr;
    for (const auto& entry : kWords)
        if (entry.Value == outcome.Result) word = entry.Word;
    if (word == nullptr) return false;
    const std::string part = path + ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out << word << '\n' << outcome.Reason;
        if (!out.flush()) {
            std::remove(part.c_str());
            return false;
        }
    }
    return std::rename(part.c_str(), path.c_str()) == 0;
}

std::optional<ItemOutcome> ReadItemOutcome(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string word;
    if (!in || !std::getline(in, word)) return std::nullopt;
    for (const auto& entry : kWords) {
        if (word != entry.Word) continue;
        std::ostringstream reason;
        reason << in.rdbuf();
        return ItemOutcome{entry.Value, reason.str()};
    }
    return std::nullopt;
}

}  // namespace transcoda::cli
