#include "recipes/default_output.h"

#include <filesystem>

#include "recipes/format_catalogue.h"
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

}  // namespace

std::string OutputBesideInput(const std::string& label, const std::string& input,
                              const std::string& output) {
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
    if (mark == nullptr || named != in) return named;
    const fs::path path(named);
    return (path.parent_path() / (path.stem().string() + mark + path.extension().string())).string();
}

}  // namespace transcoda
