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
        // The reason's length first: a reason or details may hold any character.
        out << word << '\n' << outcome.Reason.size() << '\n' << outcome.Reason << outcome.Details;
        if (!out.flush()) {
            std::remove(part.c_str());
            return false;
        }
    }
    return std::rename(part.c_str(), path.c_str()) == 0;
}

std::optional<ItemOutcome> ReadItemOutcome(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string word, length;
    if (!in || !std::getline(in, word) || !std::getline(in, length)) return std::nullopt;
    size_t reasonSize = 0;
    try {
        reasonSize = std::stoul(length);
    } catch (...) {
        return std::nullopt;
    }
    std::ostringstream rest;
    rest << in.rdbuf();
    const std::string text = rest.str();
    if (reasonSize > text.size()) return std::nullopt;
    for (const auto& entry : kWords)
        if (word == entry.Word) return ItemOutcome{entry.Value, text.substr(0, reasonSize), text.substr(reasonSize)};
    return std::nullopt;
}

}  // namespace transcoda::cli
