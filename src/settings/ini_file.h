#pragma once
// A small INI file reader and writer with the behaviour users know from desktop profile
// files: section and key names match without regard to case, values are single-line
// texts, and everything else in the file (other sections, other keys, comments, lines
// that are not understood, blank lines, line ends) is kept as it was.
//
// Writing never rewrites the file in place: the new contents go to a temporary file in
// the same folder, which is then renamed over the old one. A crash or a full disk in the
// middle of a write leaves the old file whole.

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace transcoda {

// The text of one INI file, line by line.
class IniDocument {
public:
    // Splits text into lines; "\n" and "\r\n" ends are both understood and kept.
    static IniDocument Parse(const std::string& text);

    // The document back as text. Unchanged lines come back byte for byte.
    std::string Serialize() const;

    // The value of the first key named key in the first section named section, with
    // blanks around it removed and one pair of enclosing quotes stripped; nothing when
    // the section or the key is absent.
    std::optional<std::string> Get(const std::string& section, const std::string& key) const;

    // Sets the key's value: replaces the value of the first matching key, or adds the
    // key after the last entry of the first matching section, or adds the section with
    // the key at the end. Returns false, changing nothing, when a name or the value
    // cannot be stored on one line.
    bool Set(const std::string& section, const std::string& key, const std::string& value);

    // Every key of the sections named section, in file order, with its value as Get
    // gives it.
    std::vector<std::pair<std::string, std::string>> Entries(const std::string& section) const;

    // Replaces the sections named section by one holding exactly these keys, where the
    // first of them stood (at the end when there was none). Returns false, changing
    // nothing, when a name or a value cannot be stored on one line.
    bool ReplaceSection(const std::string& section,
                        const std::vector<std::pair<std::string, std::string>>& values);

private:
    struct Line {
        std::string text;  // without its end
        std::string end;   // "\n", "\r\n" or "" for a last line without an end
    };
    std::vector<Line> lines_;
    std::string bom_;  // a UTF-8 byte-order mark at the start, kept on writing
    std::string newline_ = "\n";  // what new lines end with: the file's own style

    int FindSection(const std::string& section) const;
    int FindKey(int sectionLine, const std::string& key) const;
};

// True when path names an existing regular file (symbolic links followed).
bool IniFileExists(const std::string& path);

// Reads the whole file; nothing when it cannot be read. *error gets the reason.
std::optional<std::string> ReadWholeFile(const std::string& path, std::string* error = nullptr);

// Replaces the file's contents as a whole: writes a temporary file beside it, flushes it
// to the disk and renames it over path. On failure the old file (if any) is untouched, no
// temporary file is left, false is returned and *error gets the reason. The old file's
// permissions are kept; a new file gets the usual ones (0666 less the umask).
bool ReplaceFileContents(const std::string& path, const std::string& contents,
                         std::string* error = nullptr);

// The value of key in section of the file at path, or fallback when the file, the
// section or the key is missing or the file cannot be read.
std::string ReadIniString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& fallback);

// Reads the file at path (an empty document when it does not exist), lets `change` edit
// it and stores the result in one replacement. Other programs of ours that update the
// same folder's files wait meanwhile, so that no update undoes another made between its
// read and its write. A file that exists but cannot be read is left alone. `change`
// returns false, with *error set, to leave the file as it was. False with *error set on
// failure.
bool ModifyIniFile(const std::string& path, const std::function<bool(IniDocument&, std::string*)>& change,
                   std::string* error = nullptr);

// Sets the keys of section, in the order given, in the file at path (created when it
// does not exist) and stores the result in one replacement: either every key is written
// or the file stays as it was. False with *error set on failure.
bool WriteIniStrings(const std::string& path, const std::string& section,
                     const std::vector<std::pair<std::string, std::string>>& values,
                     std::string* error = nullptr);

}  // namespace transcoda
