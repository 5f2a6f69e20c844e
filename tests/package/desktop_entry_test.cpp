// The menu entry offers "Open with Transcoda" for the files the program converts, and only
// for those: its MIME types, read through the desktop's MIME database, against the
// accepted input extensions.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "recipes/format_catalogue.h"

namespace {

const char* const kMimeFolder = "/usr/share/mime/";

std::set<std::string> EntryMimeTypes() {
    std::ifstream in(TRANSCODA_DESKTOP_ENTRY);
    std::set<std::string> types;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("MimeType=", 0) != 0) continue;
        std::istringstream list(line.substr(9));
        for (std::string type; std::getline(list, type, ';');)
            if (!type.empty()) types.insert(type);
    }
    return types;
}

// alias -> canonical type, from the database's aliases file.
std::map<std::string, std::string> Aliases() {
    std::ifstream in(std::string(kMimeFolder) + "aliases");
    std::map<std::string, std::string> aliases;
    for (std::string alias, canonical; in >> alias >> canonical;) aliases[alias] = canonical;
    return aliases;
}

// Canonical type -> the extensions of its plain "*.ext" globs ("weight:type:glob[:flags]").
std::map<std::string, std::set<std::string>> ExtensionsByType() {
    std::ifstream in(std::string(kMimeFolder) + "globs2");
    std::map<std::string, std::set<std::string>> byType;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        const auto first = line.find(':');
        const auto second = line.find(':', first + 1);
        if (first == std::string::npos || second == std::string::npos) continue;
        std::string glob = line.substr(second + 1);
        glob = glob.substr(0, glob.find(':'));
        if (glob.rfind("*.", 0) != 0 || glob.find_first_of("*?[", 2) != std::string::npos) continue;
        byType[line.substr(first + 1, second - first - 1)].insert(glob.substr(2));
    }
    return byType;
}

TEST(DesktopEntry, OffersTheProgramForTheFilesItConvertsAndNoOthers) {
    const auto byType = ExtensionsByType();
    if (byType.empty()) GTEST_SKIP() << "no MIME database in " << kMimeFolder;
    const auto aliases = Aliases();
    const auto listed = EntryMimeTypes();
    ASSERT_FALSE(listed.empty()) << "no MimeType line in " << TRANSCODA_DESKTOP_ENTRY;

    std::set<std::string> canonical;
    for (const std::string& type : listed) {
        const auto alias = aliases.find(type);
        const std::string name = alias == aliases.end() ? type : alias->second;
        canonical.insert(name);
        const auto extensions = byType.find(name);
        const bool accepted = extensions != byType.end() &&
                              std::any_of(extensions->second.begin(), extensions->second.end(),
                                          [](const std::string& e) { return transcoda::IsSupportedInputExtension(e); });
        EXPECT_TRUE(accepted) << type << " names no file the program accepts";
    }

    // "mod" files are camcorder video to the program, but tracker music to the database:
    // offering the program for tracker music would only lead to a failed conversion.
    for (std::string_view extension : transcoda::SupportedInputExtensions()) {
        if (extension == "mod") continue;
        std::set<std::string> types;
        for (const auto& [type, extensions] : byType)
            if (extensions.count(std::string(extension))) types.insert(type);
        if (types.empty()) continue;  // the database does not know it: nothing to offer
        const bool offered = std::any_of(types.begin(), types.end(),
                                         [&](const std::string& t) { return canonical.count(t) != 0; });
        EXPECT_TRUE(offered) << "." << extension << " files (" << *types.begin() << " ...) are not offered";
    }
}

}  // namespace
