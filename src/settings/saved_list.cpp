#include "settings/saved_list.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "exec/language.h"
#include "settings/ini_file.h"

namespace transcoda {

namespace {

using State = ItemStatus::State;

struct StateName {
    State Kind;
    const char* Name;
};
constexpr StateName kStateNames[] = {
    {State::Waiting, "waiting"}, {State::Converting, "converting"}, {State::Done, "done"},
    {State::Failed, "failed"},   {State::Stopped, "stopped"},
};

const char* NameOf(State kind) {
    for (const StateName& s : kStateNames)
        if (s.Kind == kind) return s.Name;
    return "waiting";
}

// What a row comes back as: an unknown word waits, and at start-up a conversion the
// program did not see end was stopped with it (another window's write keeps it as is).
ItemStatus StatusNamed(const std::string& name, const std::string& reason, bool atStartup) {
    for (const StateName& s : kStateNames) {
        if (name != s.Name) continue;
        if (s.Kind == State::Converting) return {atStartup ? State::Stopped : State::Converting};
        if (s.Kind == State::Failed) return {State::Failed, -1, reason};
        return {s.Kind};
    }
    return {};
}

bool OneLine(const std::string& text) { return text.find_first_of("\r\n") == std::string::npos; }

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// "item12.format" -> 12 and "format"; 0 for any other key.
int RowOfKey(const std::string& key, std::string& field) {
    const std::string k = Lower(key);
    const size_t dot = k.find('.');
    if (k.rfind("item", 0) != 0 || dot == std::string::npos || dot == 4 || dot - 4 > 6) return 0;
    for (size_t i = 4; i < dot; ++i)
        if (!std::isdigit(static_cast<unsigned char>(k[i]))) return 0;
    field = k.substr(dot + 1);
    return std::stoi(k.substr(4, dot - 4));
}

PreferencesWriteResult Failure(const std::string& path, const std::string& why) {
    PreferencesWriteResult result;
    result.Outcome = PreferencesWrite::Failed;
    result.ErrorText = Localised("Impossible d'enregistrer la liste de conversion dans \"" + path + "\" : ",
                                 "Unable to keep the conversion list in \"" + path + "\": ") +
                       why;
    return result;
}

std::vector<SavedListRow> RowsOf(const IniDocument& doc, bool atStartup) {
    struct Fields {
        std::string format, input, output, status, reason;
    };
    std::map<int, Fields> byRow;
    for (const auto& [key, value] : doc.Entries(kListSection)) {
        std::string field;
        const int row = RowOfKey(key, field);
        if (row <= 0) continue;
        Fields& f = byRow[row];
        if (field == "format") f.format = value;
        else if (field == "input") f.input = value;
        else if (field == "output") f.output = value;
        else if (field == "status") f.status = value;
        else if (field == "reason") f.reason = value;
    }
    std::vector<SavedListRow> rows;
    for (const auto& [row, f] : byRow)
        if (!f.input.empty() && !f.output.empty())
            rows.push_back({f.format, f.input, f.output, StatusNamed(f.status, f.reason, atStartup)});
    return rows;
}

// The section's keys for rows; a row with a line break in a cell is left out.
std::vector<std::pair<std::string, std::string>> ValuesOf(const std::vector<SavedListRow>& rows) {
    std::vector<std::pair<std::string, std::string>> values;
    values.reserve(rows.size() * 5);
    int kept = 0;
    for (const SavedListRow& row : rows) {
        // A path with a line break in it cannot stand on one line of the file.
        if (!OneLine(row.FormatLabel) || !OneLine(row.InputPath) || !OneLine(row.OutputPath)) continue;
        const std::string item = "item" + std::to_string(++kept) + ".";
        values.emplace_back(item + "format", row.FormatLabel);
        values.emplace_back(item + "input", row.InputPath);
        values.emplace_back(item + "output", row.OutputPath);
        values.emplace_back(item + "status", NameOf(row.Status.Kind));
        if (row.Status.Kind == State::Failed && OneLine(row.Status.Reason))
            values.emplace_back(item + "reason", row.Status.Reason);
    }
    return values;
}

// Where the row writing `output` stands in rows; rows.size() when none does.
size_t PlaceOf(const std::vector<SavedListRow>& rows, const std::string& output) {
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].OutputPath == output) return i;
    return rows.size();
}

bool Holds(const std::vector<SavedListRow>& rows, const std::string& output) {
    return PlaceOf(rows, output) < rows.size();
}

}  // namespace

std::vector<SavedListRow> MergeSavedList(const std::vector<SavedListRow>& base, const std::vector<SavedListRow>& mine,
                                         const std::vector<SavedListRow>& theirs) {
    // The file's rows, less those removed here, with those changed here.
    std::vector<SavedListRow> out;
    for (const SavedListRow& row : theirs) {
        if (Holds(out, row.OutputPath)) continue;
        const size_t b = PlaceOf(base, row.OutputPath);
        const size_t m = PlaceOf(mine, row.OutputPath);
        if (m == mine.size()) {
            if (b == base.size()) out.push_back(row);
            continue;
        }
        const bool changedHere = b == base.size() || !(base[b] == mine[m]);
        out.push_back(changedHere ? mine[m] : row);
    }
    // Rows moved here take, in their new order, the places they hold in the file.
    std::vector<std::string> mineOrder, baseOrder;
    for (const SavedListRow& row : mine)
        if (Holds(base, row.OutputPath) && Holds(out, row.OutputPath)) mineOrder.push_back(row.OutputPath);
    for (const SavedListRow& row : base)
        if (Holds(mine, row.OutputPath) && Holds(out, row.OutputPath)) baseOrder.push_back(row.OutputPath);
    if (mineOrder != baseOrder) {
        std::vector<size_t> places;
        for (size_t i = 0; i < out.size(); ++i)
            if (std::find(mineOrder.begin(), mineOrder.end(), out[i].OutputPath) != mineOrder.end())
                places.push_back(i);
        std::vector<SavedListRow> moved;
        for (const std::string& output : mineOrder) moved.push_back(out[PlaceOf(out, output)]);
        for (size_t k = 0; k < places.size() && k < moved.size(); ++k) out[places[k]] = moved[k];
    }
    // Rows added here go after the row they follow here, and after the rows other
    // windows added there meanwhile, so that additions on both sides keep their order.
    auto foreign = [&](const SavedListRow& row) { return !Holds(mine, row.OutputPath) && !Holds(base, row.OutputPath); };
    for (size_t i = 0; i < mine.size(); ++i) {
        if (Holds(base, mine[i].OutputPath) || Holds(out, mine[i].OutputPath)) continue;
        size_t at = 0;
        for (size_t j = i; j-- > 0;) {
            const size_t place = PlaceOf(out, mine[j].OutputPath);
            if (place < out.size()) {
                at = place + 1;
                break;
            }
        }
        while (at < out.size() && foreign(out[at])) ++at;
        out.insert(out.begin() + static_cast<std::ptrdiff_t>(at), mine[i]);
    }
    return out;
}

std::vector<SavedListRow> ReadSavedList(const std::string& programFolder) {
    const std::string path = PreferencesFileInUse(programFolder, true);
    if (!IniFileExists(path)) return {};
    const auto text = ReadWholeFile(path);
    if (!text) return {};
    return RowsOf(IniDocument::Parse(*text), true);
}

PreferencesWriteResult WriteSavedList(const std::string& programFolder, const std::vector<SavedListRow>& rows,
                                      std::vector<SavedListRow>* base) {
    const std::string path = PreferencesFileInUse(programFolder, false);
    // Like the output the user picks, the list goes only into a file that exists: one
    // made for it would change what the next start shows in the fields.
    if (!IniFileExists(path)) {
        PreferencesWriteResult none;
        none.Outcome = PreferencesWrite::NoFile;
        return none;
    }
    std::string why;
    const bool written = ModifyIniFile(
        path,
        [&](IniDocument& doc, std::string* error) {
            // The list as the file holds it now, read under the lock that the write keeps.
            const auto values = ValuesOf(base == nullptr ? rows : MergeSavedList(*base, rows, RowsOf(doc, false)));
            if (doc.ReplaceSection(kListSection, values)) return true;
            if (error != nullptr) *error = "the list does not fit in the file";
            return false;
        },
        &why);
    if (!written) return Failure(path, why);
    if (base != nullptr) *base = rows;
    return {};
}

}  // namespace transcoda
