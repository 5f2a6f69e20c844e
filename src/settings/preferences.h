#pragma once
// The preferences file: the last input file, the last output file and the last target
// format, kept between runs in the user's config folder, as
// "transcoda/applicationUserPreferences.ini", section "Visual". Read once when the main
// window is created; written when the user picks a file and when a single conversion
// starts. The program's own folder may be read-only: nothing is written there. A file
// that earlier versions kept beside the program (B/applicationUserPreferences.ini) is
// copied once to the config folder, when that holds none yet, and left where it is. Each call opens the file, does its
// work and closes it; every write replaces the file as a whole (see ini_file.h), so an
// interrupted write never loses it.
//
// Standard C++ only: the window converts its texts to UTF-8 and back.

#include <string>

#include "recipes/format_catalogue.h"

namespace transcoda {

inline constexpr const char* kPreferencesFileName = "applicationUserPreferences.ini";
// Where earlier versions kept the file, under the program folder.
inline constexpr const char* kFormerPreferencesFileName = "B/applicationUserPreferences.ini";
inline constexpr const char* kPreferencesSection = "Visual";
inline constexpr const char* kSourceFileNameKey = "sourceFileName";
inline constexpr const char* kDestinationFileNameKey = "destinationFileName";
inline constexpr const char* kDestinationFormatKey = "destinationFormat";
// The language the user chose in the window, "FR" or "EN", in a section of its own so
// that the section "Visual" stays as it is; files written before the choice existed
// have neither.
inline constexpr const char* kLanguageSection = "Language";
inline constexpr const char* kLanguageKey = "language";
// How many items of the window's list are converted at once, as chosen in the window's
// menu, in a section of its own; a file without it, or whose value is not a whole number
// from 1 to kMostItemsAtOnce, means one at a time. transcoda-cli does not read it.
inline constexpr const char* kOptionsSection = "Options";
inline constexpr const char* kItemsAtOnceKey = "itemsAtOnce";
inline constexpr int kMostItemsAtOnce = 8;
// The format box entry chosen when the file names none.
inline constexpr int kDefaultFormatIndex = 5;

// The user's config folder + "transcoda/applicationUserPreferences.ini"; the former
// place when the user has no home at all.
std::string PreferencesFilePath(const std::string& programFolder);

// The file a read (forReading) or a write goes to now: PreferencesFilePath, once the
// former file has been copied there when only that one exists.
std::string PreferencesFileInUse(const std::string& programFolder, bool forReading);

// programFolder (with its trailing "/") + "B/applicationUserPreferences.ini".
std::string FormerPreferencesFilePath(const std::string& programFolder);

// What the window applies at start-up.
struct StartupPreferences {
    // False when there is no file: the window then leaves the input and output fields
    // empty and selects no format; none of the defaults below are applied.
    bool FileFound = false;
    // The input field: the stored input, or the user's videos folder (UserVideosFolder) when empty
    // or absent.
    std::string SourceFileName;
    // The output field: the stored output, or the user's videos folder + "Sans titre.avi".
    std::string DestinationFileName;
    // The format box entry to select, -1 for none. The stored index when it lies in 0..39,
    // kDefaultFormatIndex when the key is empty or absent, -1 otherwise.
    int FormatIndex = -1;
    // Not empty when destinationFormat is not a decimal integer: the text of the error
    // box, "'<value>' n'est pas une valeur entière correcte". The two paths are still
    // applied, no format is selected, and no output name is derived.
    std::string ErrorText;
    // Whether the window derives the output name from the selected format afterwards
    // (always, except after the error above).
    bool DeriveOutputName() const { return ErrorText.empty(); }
};

StartupPreferences ReadStartupPreferences(const std::string& programFolder);

// The error text of a value that is not a whole number.
std::string NotAnIntegerText(const std::string& value);

// Result of a write.
enum class PreferencesWrite {
    Written,  // the file now holds the new values
    NoFile,   // the file does not exist and this write does not create it: nothing done
    Failed,   // nothing changed; ErrorText says why
};

struct PreferencesWriteResult {
    PreferencesWrite Outcome = PreferencesWrite::Written;
    // For Failed: a sentence for the error box, in the current language.
    std::string ErrorText;
    bool Ok() const { return Outcome != PreferencesWrite::Failed; }
};

// After the input file dialog: stores sourceFileName, creating the file when it does not
// exist. A failure (for example a missing B folder) is for the window's error box.
PreferencesWriteResult WriteSourceFilePreference(const std::string& programFolder,
                                                 const std::string& inputPath);

// After the output file dialog: stores destinationFileName, only when the file exists.
PreferencesWriteResult WriteDestinationFilePreference(const std::string& programFolder,
                                                      const std::string& outputPath);

// At the start of a single conversion, before the request is checked: stores
// destinationFileName then destinationFormat (formatIndex in decimal, -1 when nothing is
// selected), only when the file exists, in one replacement of the file. The window logs
// a failure as " -- Erreur de modification du fichier préférences" and then, in every
// case, " -- Fin de modification du fichier préférences"; the conversion goes on.
PreferencesWriteResult WriteConversionStartPreferences(const std::string& programFolder,
                                                       const std::string& outputPath,
                                                       int formatIndex);

// The language the user chose, "FR" or "EN"; empty when there is no file, no key, or
// another value.
std::string ReadLanguagePreference(const std::string& programFolder);

// After a choice in the window's Language menu: stores it, creating the file when it
// does not exist, as the input pick does.
PreferencesWriteResult WriteLanguagePreference(const std::string& programFolder, const std::string& language);

// The window's list items converted at once, 1 to kMostItemsAtOnce; 1 when there is no
// file, no key or another value (never an error).
int ReadItemsAtOncePreference(const std::string& programFolder);

// After a choice in the window's menu: stores it, creating the file when it does not
// exist, as the language does; every other key and the kept list stay as they are.
PreferencesWriteResult WriteItemsAtOncePreference(const std::string& programFolder, int count);

}  // namespace transcoda
