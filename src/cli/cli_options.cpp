#include "cli/cli_options.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <sstream>

#include "cli/cli_texts.h"
#include "exec/clock_text.h"
#include "recipes/default_output.h"
#include "recipes/format_catalogue.h"
#include "recipes/input_pin.h"
#include "recipes/output_guard.h"
#include "recipes/output_place.h"
#include "recipes/sync_lag.h"

namespace transcoda::cli {

namespace {

bool AllDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(),
                                        [](unsigned char c) { return std::isdigit(c) != 0; });
}

// The format as a label: an index is looked up, anything else must be one of the
// catalogue's labels as they stand. Unknown ones are refused before anything runs, so
// that a list never stops half-way on a typing error.
bool ResolveLabel(const std::string& format, std::string& label) {
    if (AllDigits(format)) {
        if (format.size() > 2) return false;
        label = FormatLabel(std::stoi(format));
        return !label.empty();
    }
    label = format;
    return FindFormat(label) != nullptr;
}

// Digits only, at most four of them.
bool SmallWholeNumber(const std::string& text, int& number) {
    if (!AllDigits(text) || text.size() > 4) return false;
    number = std::stoi(text);
    return true;
}

std::string Absolute(const std::string& path) {
    if (path.empty()) return path;
    std::error_code ignored;
    auto absolute = std::filesystem::absolute(path, ignored);
    if (ignored) return path;
    std::string text = absolute.lexically_normal().string();
    // A folder path keeps its trailing "/" (DVD outputs).
    if (path.back() == '/' && (text.empty() || text.back() != '/')) text += '/';
    return text;
}

}  // namespace

std::string ParseArguments(const std::vector<std::string>& args, CliOptions& options) {
    for (size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == "--lang") App().CurrentLanguage = options.Language = args[i + 1];

    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) return false;
            into = args[++i];
            return true;
        };
        if (arg == "--help" || arg == "-h") {
            options.Help = true;
        } else if (arg == "--formats") {
            options.ListFormats = true;
        } else if (arg == "--debug") {
            options.Debug = true;
        } else if (arg == "--lang") {
            std::string language;
            if (!value(language) || (language != "EN" && language != "FR"))
                return CliBadOptionText(arg);
        } else if (arg == "--delay") {
            if (!value(options.Delay)) return CliBadOptionText(arg);
        } else if (arg == "--from") {
            if (!value(options.From)) return CliBadOptionText(arg);
        } else if (arg == "--to") {
            if (!value(options.To)) return CliBadOptionText(arg);
        } else if (arg == "--list") {
            if (!value(options.ListFile)) return CliBadOptionText(arg);
        } else if (arg == "--jobs") {
            std::string jobs;
            if (!value(jobs)) return CliBadOptionText(arg);
            if (!SmallWholeNumber(jobs, options.JobsAtOnce) || options.JobsAtOnce < 1) return CliBadJobsText(jobs);
        } else if (arg == "--shard") {
            std::string shard;
            if (!value(shard)) return CliBadOptionText(arg);
            if (!ParseShard(shard, options.ShardIndex, options.ShardCount)) return CliBadShardText(shard);
        } else if (arg == "--outcome") {
            if (!value(options.OutcomeFile)) return CliBadOptionText(arg);
        } else if (arg == "-y" || arg == "--overwrite" || arg == "-n" || arg == "--no-overwrite") {
            const ExistingOutput chosen =
                arg == "-y" || arg == "--overwrite" ? ExistingOutput::Replace : ExistingOutput::Keep;
            if (options.Existing != ExistingOutput::Ask && options.Existing != chosen)
                return CliBothOverwriteOptionsText();
            options.Existing = chosen;
        } else if (arg == "-f") {
            // A group: the format, then its input and optional output, which may come
            // after the group's --delay or --from/--to.
            CliJob job;
            if (!value(job.Format)) return CliBadOptionText(arg);
            options.Jobs.push_back(job);
        } else if (arg.size() > 1 && arg[0] == '-') {
            return CliBadOptionText(arg);
        } else {
            if (options.Jobs.empty()) return CliBadOptionText(arg);
            CliJob& job = options.Jobs.back();
            if (job.Input.empty()) job.Input = arg;
            else if (job.Output.empty()) job.Output = arg;
            else return CliBadOptionText(arg);
        }
    }
    for (const CliJob& job : options.Jobs)
        if (job.Input.empty()) return CliBadOptionText("-f " + job.Format);
    if (!options.ListFile.empty() && !options.Jobs.empty()) return CliBadOptionText("--list");
    return "";
}

bool ParseShard(const std::string& text, int& index, int& count) {
    const size_t slash = text.find('/');
    if (slash == std::string::npos) return false;
    int k = 0, n = 0;
    if (!SmallWholeNumber(text.substr(0, slash), k) || !SmallWholeNumber(text.substr(slash + 1), n)) return false;
    if (k < 1 || k > n) return false;
    index = k;
    count = n;
    return true;
}

std::vector<CliJob> SelectShard(const std::vector<CliJob>& jobs, int index, int count) {
    std::vector<CliJob> shard;
    if (index < 1 || count < index) return shard;
    for (size_t i = static_cast<size_t>(index - 1); i < jobs.size(); i += static_cast<size_t>(count))
        shard.push_back(jobs[i]);
    return shard;
}

std::string ParseListText(const std::string& text, const std::string& path,
                          std::vector<CliJob>& jobs) {
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos || line[0] == '#') continue;
        std::vector<std::string> fields;
        size_t start = 0;
        while (true) {
            size_t tab = line.find('\t', start);
            fields.push_back(line.substr(start, tab - start));
            if (tab == std::string::npos) break;
            start = tab + 1;
        }
        if (fields.size() < 2 || fields.size() > 3 || fields[0].empty() || fields[1].empty())
            return CliListLineText(path, number);
        jobs.push_back({fields[0], fields[1], fields.size() == 3 ? fields[2] : ""});
    }
    return "";
}

bool ParseClock(const std::string& text, int& seconds) {
    int parts[3];
    size_t start = 0;
    for (int k = 0; k < 3; ++k) {
        size_t end = k < 2 ? text.find(':', start) : text.size();
        if (end == std::string::npos) return false;
        std::string part = text.substr(start, end - start);
        if (!AllDigits(part) || part.size() > 4) return false;
        parts[k] = std::stoi(part);
        start = end + 1;
    }
    if (parts[1] > 59 || parts[2] > 59) return false;
    seconds = parts[0] * 3600 + parts[1] * 60 + parts[2];
    return true;
}

bool ValidLag(const std::string& lag) {
    std::string body = !lag.empty() && lag[0] == '-' ? lag.substr(1) : lag;
    size_t dot = body.find('.');
    std::string whole = body.substr(0, dot);
    std::string fraction = dot == std::string::npos ? "" : body.substr(dot + 1);
    if (!AllDigits(whole) || whole.size() > 3 || std::stoi(whole) > 300) return false;
    if (dot != std::string::npos && (!AllDigits(fraction) || fraction.size() > 2)) return false;
    return true;
}

std::string MakePlan(const CliOptions& options, const std::vector<CliJob>& jobs, bool asList,
                     Plan& plan) {
    plan = Plan{};
    plan.AsList = asList;
    if (jobs.empty()) return CliNothingToDoText();
    // Outputs compared where they land, so that a linked folder hides no duplicate.
    std::set<OutputPlace> outputs;
    for (const CliJob& job : jobs) {
        std::string label;
        if (!ResolveLabel(job.Format, label)) return CliUnknownIndexText(job.Format);
        const FormatEntry* entry = FindFormat(label);
        const bool special = entry->Recipe == RecipeKind::SyncCorrection ||
                             entry->Recipe == RecipeKind::Extraction;
        if (special && asList) return CliNotForListText();

        std::string input = Absolute(job.Input);
        if (ExistsButIsNotRegular(input)) return NotRegularInputText(job.Input);
        if (!std::filesystem::is_regular_file(input)) return CliMissingInputText(job.Input);
        std::string output = job.Output.empty() ? OutputBesideInput(label, input, "") : Absolute(job.Output);
        // A DVD output is a folder: the recipe writes "DVD-Disc1" inside it.
        const bool dvd = entry->WritesDvd();
        if (dvd && !output.empty() && output.back() != '/') output += '/';
        if (OutputWouldDestroyInput(input, output, dvd)) return CliOutputIsInputText(output);
        if (!outputs.insert(PlaceOf(output)).second) return CliDuplicateOutputText(output);

        if (entry->Recipe == RecipeKind::SyncCorrection) {
            if (options.Delay.empty()) return CliLagNeededText();
            if (!ValidLag(options.Delay)) return CliBadLagText(options.Delay);
            if (IsZeroLag(options.Delay)) return CliZeroLagText();
            plan.SyncDelay = options.Delay;
        }
        if (entry->Recipe == RecipeKind::Extraction) {
            int from = 0, to = 0;
            if (options.From.empty() || options.To.empty()) return CliTimesNeededText();
            if (!ParseClock(options.From, from)) return CliBadTimeText(options.From);
            if (!ParseClock(options.To, to)) return CliBadTimeText(options.To);
            if (from >= to) return CliEndBeforeStartText();
            plan.ExtractionStart = ClockText(from);
            plan.ExtractionLength = ClockText(to - from);
        }
        plan.Requests.push_back({input, output, label});
    }
    return "";
}

}  // namespace transcoda::cli
