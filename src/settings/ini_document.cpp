#include "settings/ini_document.h"

#include <cctype>
#include <cstddef>

namespace transcoda {

namespace {

const char kBom[] = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x < 128 && y < 128) {
            if (std::tolower(x) != std::tolower(y)) return false;
        } else if (x != y) {
            return false;
        }
    }
    return true;
}

// The section name of a "[name]" line, or nothing for any other line.
std::optional<std::string> SectionName(const std::string& line) {
    std::string t = Trim(line);
    if (t.empty() || t[0] != '[') return std::nullopt;
    size_t close = t.find(']');
    if (close == std::string::npos) return std::nullopt;
    return Trim(t.substr(1, close - 1));
}

bool IsComment(const std::string& line) {
    std::string t = Trim(line);
    return !t.empty() && t[0] == ';';
}

// The key name of a "key=value" line (blanks around it removed), or nothing.
std::optional<std::string> KeyName(const std::string& line) {
    if (IsComment(line) || SectionName(line)) return std::nullopt;
    size_t eq = line.find('=');
    if (eq == std::string::npos) return std::nullopt;
    std::string key = Trim(line.substr(0, eq));
    if (key.empty()) return std::nullopt;
    return key;
}

std::string ValueOf(const std::string& line) {
    std::string v = Trim(line.substr(line.find('=') + 1));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return v;
}

// The value as it must stand in the file to read back unchanged: values with blanks at
// either end, or already wrapped in quotes, are wrapped in one more pair of quotes.
std::string StoredValue(const std::string& value) {
    bool edgeBlank = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()));
    bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                  value.back() == value.front();
    return (edgeBlank || quoted) ? "\"" + value + "\"" : value;
}

bool OneLine(const std::string& s) { return s.find_first_of("\r\n") == std::string::npos; }

// A section, key and value (names already trimmed) that read back as they were written.
bool Storable(const std::string& sec, const std::string& name, const std::string& value) {
    return !sec.empty() && !name.empty() && OneLine(sec) && OneLine(name) && OneLine(value) &&
           sec.find(']') == std::string::npos && name.find('=') == std::string::npos && name[0] != '[' &&
           name[0] != ';';
}

}  // namespace

IniDocument IniDocument::Parse(const std::string& input) {
    IniDocument doc;
    std::string text = input;
    if (text.compare(0, 3, kBom) == 0) {
        doc.bom_ = kBom;
        text.erase(0, 3);
    }
    bool styleKnown = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t nl = text.find('\n', pos);
        Line line;
        if (nl == std::string::npos) {
            line.text = text.substr(pos);
            pos = text.size();
        } else {
            line.text = text.substr(pos, nl - pos);
            line.end = "\n";
            if (!line.text.empty() && line.text.back() == '\r') {
                line.text.pop_back();
                line.end = "\r\n";
            }
            pos = nl + 1;
            if (!styleKnown) {
                doc.newline_ = line.end;
                styleKnown = true;
            }
        }
        doc.lines_.push_back(std::move(line));
    }
    return doc;
}

std::string IniDocument::Serialize() const {
    std::string out = bom_;
    for (const Line& l : lines_) out += l.text + l.end;
    return out;
}

int IniDocument::FindSection(const std::string& section) const {
    for (size_t i = 0; i < lines_.size(); ++i) {
        auto name = SectionName(lines_[i].text);
        if (name && SameName(*name, section)) return static_cast<int>(i);
    }
    return -1;
}

// The first line holding key inside any section named like sectionLine's, searched in
// file order from sectionLine on.
int IniDocument::FindKey(int sectionLine, const std::string& key) const {
    std::string section = *SectionName(lines_[sectionLine].text);
    bool inside = true;
    for (size_t i = sectionLine + 1; i < lines_.size(); ++i) {
        if (auto name = SectionName(lines_[i].text)) {
            inside = SameName(*name, section);
            continue;
        }
        if (!inside) continue;
        auto k = KeyName(lines_[i].text);
        if (k && SameName(*k, key)) return static_cast<int>(i);
    }
    return -1;
}

std::optional<std::string> IniDocument::Get(const std::string& section,
                                            const std::string& key) const {
    int s = FindSection(section);
    if (s < 0) return std::nullopt;
    int k = FindKey(s, key);
    if (k < 0) return std::nullopt;
    return ValueOf(lines_[k].text);
}

bool IniDocument::Set(const std::string& section, const std::string& key,
                      const std::string& value) {
    std::string sec = Trim(section), name = Trim(key);
    if (!Storable(sec, name, value)) return false;
    const std::string stored = StoredValue(value);

    int s = FindSection(sec);
    if (s >= 0) {
        int k = FindKey(s, name);
        if (k >= 0) {
            std::string& text = lines_[k].text;
            text = text.substr(0, text.find('=') + 1) + stored;
            return true;
        }
        // After the last non-blank line of the first matching section.
        size_t insertAt = s + 1;
        for (size_t i = s + 1; i < lines_.size() && !SectionName(lines_[i].text); ++i)
            if (!Trim(lines_[i].text).empty()) insertAt = i + 1;
        if (lines_[insertAt - 1].end.empty()) lines_[insertAt - 1].end = newline_;
        lines_.insert(lines_.begin() + insertAt, Line{name + "=" + stored, newline_});
        return true;
    }
    if (!lines_.empty() && lines_.back().end.empty()) lines_.back().end = newline_;
    lines_.push_back(Line{"[" + sec + "]", newline_});
    lines_.push_back(Line{name + "=" + stored, newline_});
    return true;
}

std::vector<std::pair<std::string, std::string>> IniDocument::Entries(const std::string& section) const {
    std::vector<std::pair<std::string, std::string>> entries;
    bool inside = false;
    for (const Line& line : lines_) {
        if (auto name = SectionName(line.text)) {
            inside = SameName(*name, section);
            continue;
        }
        if (!inside) continue;
        if (auto key = KeyName(line.text)) entries.emplace_back(*key, ValueOf(line.text));
    }
    return entries;
}

bool IniDocument::ReplaceSection(const std::string& section,
                                 const std::vector<std::pair<std::string, std::string>>& values) {
    const std::string sec = Trim(section);
    std::vector<Line> block{Line{"[" + sec + "]", newline_}};
    for (const auto& [key, value] : values) {
        const std::string name = Trim(key);
        if (!Storable(sec, name, value)) return false;
        block.push_back(Line{name + "=" + StoredValue(value), newline_});
    }
    if (values.empty() && !Storable(sec, "key", "")) return false;

    std::vector<Line> kept;
    size_t at = std::string::npos;
    bool inside = false;
    for (Line& line : lines_) {
        if (auto name = SectionName(line.text)) {
            inside = SameName(*name, sec);
            if (inside && at == std::string::npos) at = kept.size();
        }
        if (!inside) kept.push_back(std::move(line));
    }
    if (at == std::string::npos) at = kept.size();
    if (at > 0 && kept[at - 1].end.empty()) kept[at - 1].end = newline_;
    // What followed the section keeps its own place after the new one.
    kept.insert(kept.begin() + static_cast<std::ptrdiff_t>(at), block.begin(), block.end());
    lines_ = std::move(kept);
    return true;
}

}  // namespace transcoda
