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

// The name part of a path and its folder; a folder path's name is its last component.
std::pair<std::filesystem::path, std::string> FolderAndName(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    const std::filesystem::path p(trimmed);
    return {p.parent_path().lexically_normal(), p.filename().string()};
}

// True when `base` is `stem` followed by " (n)".
bool IsNumberedStem(const std::string& base, const std::string& stem) {
    if (!base.starts_with(stem + " (") || !base.ends_with(")")) return false;
    const std::string digits = base.substr(stem.size() + 2, base.size() - stem.size() - 3);
    return !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

bool NamedAfterInput(const std::string& output, const std::string& input) {
    namespace fs = std::filesystem;
    const std::string out = TrimBlanks(output);
    const std::string in = TrimBlanks(input);
    if (out.empty()) return true;
    if (in.empty()) return false;
    const auto [inFolder, inName] = FolderAndName(in);
    // A bare name lies in the input's folder, as OutputBesideInput places it.
    const auto [outFolder, outName] =
        FolderAndName(out.front() == '/' ? out : (fs::path(in).parent_path() / out).string());
    if (outFolder != inFolder && !(in.back() == '/' && outFolder == fs::path(in).lexically_normal().parent_path()))
        return false;
    const size_t dot = outName.rfind('.');
    const std::string base = dot == std::string::npos ? outName : outName.substr(0, dot);
    if (base == "Sans titre") return true;
    if (in.back() == '/') return false;
    const std::string stem = fs::path(inName).stem().string();
    std::string dotless = inName;
    std::erase(dotless, '.');
    return base == stem || base == stem + "-synchro" || base == stem + "-extrait" || IsNumberedStem(base, stem) ||
           outName == dotless;
}

std::string OutputForNewInput(const std::string& label, const std::string& previous, const std::string& input,
                              const std::string& output, const std::function<bool(const std::string&)>& taken) {
    namespace fs = std::filesystem;
    const std::string in = TrimBlanks(input);
    if (in.empty() || !NamedAfterInput(output, previous)) return output;
    if (FindFormat(label) != nullptr) return OutputBesideInput(label, input, "", taken);
    // No preset chosen: the new input's stem with the extension the output had; an empty
    // output waits for a preset, which names it beside the input.
    const std::string out = TrimBlanks(output);
    if (out.empty()) return output;
    const std::string extension = out.empty() || out.back() == '/' ? "" : fs::path(out).extension().string();
    const std::string named = (fs::path(in).parent_path() / (fs::path(in).stem().string() + extension)).string();
    if (named != in && !OutputWouldDestroyInput(in, named, false)) return named;
    return FreeNameBeside(named, taken);
}

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
