#include "recipes/default_output.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "exec/pending_outputs.h"
#include "recipes/format_catalogue.h"
#include "recipes/output_guard.h"
#include "recipes/path_rules.h"

namespace transcoda {

namespace {

// The mark of a special operation's result, or nullptr for the other presets.
const char* ResultMark(const FormatEntry* entry) {
    if (entry == nullptr) return nullptr;
    if (entry->Recipe == RecipeKind::SyncCorrection) return "-synchro";
    if (entry->Recipe == RecipeKind::Extraction) return "-extrait";
    return nullptr;
}

// "<stem> (n)<extension>" beside `named`, for the first n whose file does not exist and
// is not taken.
std::string FreeNameBeside(const std::string& named, const std::function<bool(const std::string&)>& taken) {
    const std::filesystem::path path(named);
    const std::string stem = path.stem().string();
    const std::string extension = path.extension().string();
    std::string candidate = named;
    for (int n = 1; n < 10000; ++n) {
        const std::string mark = " (" + std::to_string(n) + ")";
        // Within the file systems' 255 bytes: a long stem gives way, cut on a character's
        // first byte.
        const size_t room = kMaxNameBytes - std::min(kMaxNameBytes, mark.size() + extension.size());
        candidate = (path.parent_path() / (CutToBytes(stem, room) + mark + extension)).string();
        struct stat info {};
        if (::lstat(candidate.c_str(), &info) != 0 && !(taken && taken(candidate))) break;
    }
    return candidate;
}

}  // namespace

std::string OutputBesideInput(const std::string& label, const std::string& input,
                              const std::string& output, const std::function<bool(const std::string&)>& taken) {
    namespace fs = std::filesystem;
    const std::string in = TrimBlanks(input);
    const std::string out = TrimBlanks(output);
    if (in.empty() || (!out.empty() && out.front() == '/')) {
        if (in.empty() && out.empty()) return output;
        return UpdateOutputName(label, input, output);
    }
    if (!out.empty()) return UpdateOutputName(label, input, (fs::path(in).parent_path() / out).string());

    const std::string named = UpdateOutputName(label, input, in);
    const char* mark = ResultMark(FindFormat(label));
    const bool isInput = named == in || OutputWouldDestroyInput(in, named, false);
    if (!isInput) return named;
    if (mark == nullptr) return FreeNameBeside(named, taken);
    const fs::path path(named);
    return (path.parent_path() / (path.stem().string() + mark + path.extension().string())).string();
}

}  // namespace transcoda
