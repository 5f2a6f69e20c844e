#include "recipes/path_rules.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "recipes/format_catalogue.h"

namespace transcoda {

namespace {

constexpr const char* kUntitled = "Sans titre";

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

// Position of the dot that starts the extension: the last "." after the last "/".
std::string::size_type ExtensionDot(const std::string& path) {
    const std::string::size_type slash = path.find_last_of('/');
    const std::string::size_type dot = path.find_last_of('.');
    if (dot == std::string::npos) return std::string::npos;
    if (slash != std::string::npos && dot < slash) return std::string::npos;
    return dot;
}

std::string AsciiLower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    std::string folder = home != nullptr ? home : "";
    if (folder.empty()) {
        if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr) {
            folder = pw->pw_dir;
        }
    }
    if (folder.empty()) folder = "/";
    if (folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace

std::string TrimBlanks(const std::string& text) {
    std::string::size_type first = 0;
    std::string::size_type last = text.size();
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

std::string GetLowerExtension(const std::string& path) {
    const std::string t = TrimBlanks(path);
    if (t.empty()) return "null";
    const std::string::size_type dot = ExtensionDot(t);
    if (dot == std::string::npos) return "";
    // Extensions are compared with ASCII lists, so ASCII lower-casing is enough;
    // other characters are kept as they are.
    return AsciiLower(t.substr(dot + 1));
}

std::string ReplaceExtension(const std::string& path, const std::string& extension) {
    const std::string t = TrimBlanks(path);
    const std::string untitled = std::string(kUntitled) + "." + extension;
    if (t.empty()) return untitled;
    if (t.back() == '/') return t + untitled;
    if (t.back() == '.') return t == "." ? untitled : t + extension;
    const std::string::size_type dot = ExtensionDot(t);
    if (dot != std::string::npos && t.size() > 1) return t.substr(0, dot + 1) + extension;
    return t + "." + extension;
}

std::string MakeFolderPath(const std::string& path) {
    const std::string::size_type slash = path.find_last_of('/');
    const std::string::size_type start = slash == std::string::npos ? 0 : slash + 1;
    std::string folder = path.substr(0, start);
    for (std::string::size_type i = start; i < path.size(); ++i) {
        if (path[i] != '.') folder += path[i];
    }
    folder = TrimBlanks(folder);
    if (folder.size() <= 1) return DefaultDvdFolder();
    if (folder.back() != '/') folder += '/';
    return folder;
}

std::string DefaultDvdFolder() { return HomeFolder() + kUntitled + "/"; }

std::string UpdateOutputName(const std::string& label, const std::string& input,
                             const std::string& output) {
    const FormatEntry* entry = FindFormat(label);
    if (entry == nullptr) return output;
    switch (entry->Output) {
        case OutputRule::FixedExtension:
            return ReplaceExtension(output, std::string(entry->Extension));
        case OutputRule::DvdFolder:
            return MakeFolderPath(output);
        case OutputRule::InputExtension:
            return ReplaceExtension(output, GetLowerExtension(input));
        case OutputRule::ExtractionExtension: {
            const std::string e = GetLowerExtension(input);
            return ReplaceExtension(output, IsCamcorderExtension(e) ? "mpeg" : e);
        }
    }
    return output;
}

}  // namespace transcoda
