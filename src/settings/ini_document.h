#pragma once
// The text of one INI file, with the behaviour users know from desktop profile files:
// section and key names match without regard to case, values are single-line texts, and
// everything else in the file (other sections, other keys, comments, lines that are not
// understood, blank lines, line ends) is kept as it was.

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

}  // namespace transcoda
