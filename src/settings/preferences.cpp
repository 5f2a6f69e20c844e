#include "settings/preferences.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>

#include "exec/app_state.h"
#include "settings/ini_file.h"
#include "platform/desktop_language.h"
#include "platform/user_folders.h"

namespace transcoda {

namespace {

// A whole number written in decimal with an optional sign and nothing else, within the
// range of int.
std::optional<int> DecimalInteger(const std::string& text) {
    size_t i = (!text.empty() && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
    if (i == text.size()) return std::nullopt;
    for (size_t j = i; j < text.size(); ++j)
        if (text[j] < '0' || text[j] > '9') return std::nullopt;
    errno = 0;
    long long v = std::strtoll(text.c_str(), nullptr, 10);
    if (errno == ERANGE || v < INT_MIN || v > INT_MAX) return std::nullopt;
    return static_cast<int>(v);
}

PreferencesWriteResult Failure(const std::string& path, const std::string& reason) {
    PreferencesWriteResult r;
    r.Outcome = PreferencesWrite::Failed;
    if (App().English())
        r.ErrorText = "Unable to write the preferences file \"" + path + "\": " + reason;
    else
        r.ErrorText = "Impossible d'écrire le fichier des préférences \"" + path + "\" : " + reason;
    return r;
}

PreferencesWriteResult Write(const std::string& path,
                             const std::vector<std::pair<std::string, std::string>>& values) {
    std::string why;
    if (!WriteIniStrings(path, kPreferencesSection, values, &why)) return Failure(path, why);
    return {};
}

PreferencesWriteResult Skipped() {
    PreferencesWriteResult r;
    r.Outcome = PreferencesWrite::NoFile;
    return r;
}

// The file every read and write uses. When the config folder holds none yet and the
// former place beside the program does, that one is copied over first; should the copy
// fail, it is read from where it is (and the writes that need a file find none).
std::string PreferencesFileFor(const std::string& programFolder, bool forReading) {
    const std::string path = PreferencesFilePath(programFolder);
    const std::string former = FormerPreferencesFilePath(programFolder);
    if (path == former || IniFileExists(path) || !IniFileExists(former)) return path;
    std::error_code ec;
    std::filesystem::create_directories(PreferencesFolder(), ec);
    if (auto text = ReadWholeFile(former); text && ReplaceFileContents(path, *text)) return path;
    return forReading ? former : path;
}

}  // namespace

std::string PreferencesFilePath(const std::string& programFolder) {
    const std::string folder = PreferencesFolder();
    return folder.empty() ? FormerPreferencesFilePath(programFolder) : folder + kPreferencesFileName;
}

std::string PreferencesFileInUse(const std::string& programFolder, bool forReading) {
    return PreferencesFileFor(programFolder, forReading);
}

std::string FormerPreferencesFilePath(const std::string& programFolder) {
    return programFolder + kFormerPreferencesFileName;
}

std::string NotAnIntegerText(const std::string& value) {
    return "'" + value + "' n'est pas une valeur entière correcte";
}

StartupPreferences ReadStartupPreferences(const std::string& programFolder) {
    StartupPreferences p;
    const std::string path = PreferencesFileFor(programFolder, true);
    if (!IniFileExists(path)) return p;
    p.FileFound = true;

    // A file that cannot be read gives empty values, hence the defaults.
    IniDocument doc;
    if (auto text = ReadWholeFile(path)) doc = IniDocument::Parse(*text);
    auto value = [&](const char* key) {
        return doc.Get(kPreferencesSection, key).value_or(std::string());
    };
    const std::string source = value(kSourceFileNameKey);
    const std::string destination = value(kDestinationFileNameKey);
    const std::string format = value(kDestinationFormatKey);

    // The defaults lie in the user's videos folder, never beside the program, whose
    // folder may be read-only.
    const std::string videos = UserVideosFolder();
    p.DestinationFileName = destination.empty() ? videos + "Sans titre.avi" : destination;
    p.SourceFileName = source.empty() ? videos : source;
    if (format.empty()) {
        p.FormatIndex = kDefaultFormatIndex;
    } else if (auto index = DecimalInteger(format)) {
        p.FormatIndex = (*index >= 0 && *index < kFormatCount) ? *index : -1;
    } else {
        p.FormatIndex = -1;
        p.ErrorText = NotAnIntegerText(format);
    }
    return p;
}

PreferencesWriteResult WriteSourceFilePreference(const std::string& programFolder,
                                                 const std::string& inputPath) {
    const std::string path = PreferencesFileFor(programFolder, false);
    // The first pick makes the config folder; a failure shows in the write below.
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    return Write(path, {{kSourceFileNameKey, inputPath}});
}

std::string ReadLanguagePreference(const std::string& programFolder) {
    const std::string path = PreferencesFileFor(programFolder, true);
    if (!IniFileExists(path)) return {};
    return LanguageCode(ReadIniString(path, kLanguageSection, kLanguageKey, ""));
}

PreferencesWriteResult WriteLanguagePreference(const std::string& programFolder, const std::string& language) {
    const std::string path = PreferencesFileFor(programFolder, false);
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    std::string why;
    if (!WriteIniStrings(path, kLanguageSection, {{kLanguageKey, language}}, &why)) return Failure(path, why);
    return {};
}

int ReadItemsAtOncePreference(const std::string& programFolder) {
    const std::string path = PreferencesFileFor(programFolder, true);
    if (!IniFileExists(path)) return 1;
    const std::optional<int> count = DecimalInteger(ReadIniString(path, kOptionsSection, kItemsAtOnceKey, ""));
    return count && *count >= 1 && *count <= kMostItemsAtOnce ? *count : 1;
}

PreferencesWriteResult WriteItemsAtOncePreference(const std::string& programFolder, int count) {
    const std::string path = PreferencesFileFor(programFolder, false);
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    std::string why;
    if (!WriteIniStrings(path, kOptionsSection, {{kItemsAtOnceKey, std::to_string(count)}}, &why))
        return Failure(path, why);
    return {};
}

PreferencesWriteResult WriteDestinationFilePreference(const std::string& programFolder,
                                                      const std::string& outputPath) {
    const std::string path = PreferencesFileFor(programFolder, false);
    if (!IniFileExists(path)) return Skipped();
    return Write(path, {{kDestinationFileNameKey, outputPath}});
}

PreferencesWriteResult WriteConversionStartPreferences(const std::string& programFolder,
                                                       const std::string& outputPath,
                                                       int formatIndex) {
    const std::string path = PreferencesFileFor(programFolder, false);
    if (!IniFileExists(path)) return Skipped();
    return Write(path, {{kDestinationFileNameKey, outputPath},
                        {kDestinationFormatKey, std::to_string(formatIndex)}});
}

}  // namespace transcoda
