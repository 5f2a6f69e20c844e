#include "cli/cli_options.h"

#include <getopt.h>

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

namespace {

// The long options without a one-letter form are told apart by these codes.
enum LongOnly : int {
    kFormats = 256, kDebug, kLang, kDelay, kFrom, kTo, kList, kJobs, kShard, kVersion, kProgress,
};

constexpr option kLongOptions[] = {
    {"help", no_argument, nullptr, 'h'},           {"overwrite", no_argument, nullptr, 'y'},
    {"no-overwrite", no_argument, nullptr, 'n'},   {"formats", no_argument, nullptr, kFormats},
    {"debug", no_argument, nullptr, kDebug},       {"version", no_argument, nullptr, kVersion},
    {"lang", required_argument, nullptr, kLang},   {"delay", required_argument, nullptr, kDelay},
    {"from", required_argument, nullptr, kFrom},   {"to", required_argument, nullptr, kTo},
    {"list", required_argument, nullptr, kList},   {"jobs", required_argument, nullptr, kJobs},
    {"shard", required_argument, nullptr, kShard},
    {"progress", required_argument, nullptr, kProgress}, {nullptr, 0, nullptr, 0},
};
// "-" first: the operands come back in their place among the options (as code 1), so
// that each -f group keeps its input and output; ":" next: a missing value is told apart.
constexpr const char* kShortOptions = "-:f:hyn";

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool ValidLanguage(const std::string& language) { return language == "EN" || language == "FR"; }

// The language, wherever it stands on the line, so that every error is told in it.
void TakeLanguageFirst(const std::vector<std::string>& args, CliOptions& options) {
    for (size_t i = 0; i < args.size(); ++i) {
        std::string language;
        if (args[i] == "--") break;
        if (args[i] == "--lang" && i + 1 < args.size()) language = Upper(args[i + 1]);
        else if (args[i].starts_with("--lang=")) language = Upper(args[i].substr(7));
        if (ValidLanguage(language)) App().CurrentLanguage = options.Language = language;
    }
}

bool ParseProgressForm(const std::string& text, ProgressForm& form) {
    const std::string word = Upper(text);
    if (word == "AUTO") form = ProgressForm::Auto;
    else if (word == "PLAIN") form = ProgressForm::Plain;
    else if (word == "JSON") form = ProgressForm::Json;
    else return false;
    return true;
}

// An operand: the input, then the output, of the last -f group.
std::string TakeOperand(const std::string& arg, CliOptions& options) {
    if (options.Jobs.empty()) return CliBadOptionText(arg);
    CliJob& job = options.Jobs.back();
    if (job.Input.empty()) job.Input = arg;
    else if (job.Output.empty()) job.Output = arg;
    else return CliBadOptionText(arg);
    return "";
}

std::string TakeExisting(int code, CliOptions& options) {
    const ExistingOutput chosen = code == 'y' ? ExistingOutput::Replace : ExistingOutput::Keep;
    if (options.Existing != ExistingOutput::Ask && options.Existing != chosen) return CliBothOverwriteOptionsText();
    options.Existing = chosen;
    return "";
}

// One option and its value; `written` is the option as it stands on the line.
std::string TakeOption(int code, const std::string& value, const std::string& written, CliOptions& options) {
    switch (code) {
        case 1: return TakeOperand(value, options);
        // A group: the format, then its input and optional output, which may come after
        // the group's --delay or --from/--to.
        case 'f': options.Jobs.push_back({value, "", ""}); return "";
        case 'h': options.Help = true; return "";
        case 'y': case 'n': return TakeExisting(code, options);
        case kFormats: options.ListFormats = true; return "";
        case kDebug: options.Debug = true; return "";
        case kVersion: options.Version = true; return "";
        case kLang:
            if (!ValidLanguage(Upper(value))) return CliBadOptionText("--lang");
            options.Language = Upper(value);
            return "";
        case kDelay: options.Delay = value; return "";
        case kFrom: options.From = value; return "";
        case kTo: options.To = value; return "";
        case kList: options.ListFile = value; return "";
        case kJobs:
            if (!SmallWholeNumber(value, options.JobsAtOnce) || options.JobsAtOnce < 1) return CliBadJobsText(value);
            return "";
        case kShard:
            if (!ParseShard(value, options.ShardIndex, options.ShardCount)) return CliBadShardText(value);
            return "";
        case kProgress:
            if (!ParseProgressForm(value, options.Progress)) return CliBadProgressText(value);
            return "";
        default: return CliBadOptionText(written);
    }
}

// The option a refusal names: a letter alone, or a long option without its value.
std::string WrittenOption(const char* arg, int letter) {
    const std::string text = arg != nullptr ? arg : "";
    if (letter > 0 && letter < 128 && !text.starts_with("--")) return std::string("-") + static_cast<char>(letter);
    return text.substr(0, text.find('='));
}

}  // namespace

std::string ParseArguments(const std::vector<std::string>& args, CliOptions& options) {
    TakeLanguageFirst(args, options);
    std::vector<std::string> words{"transcoda-cli"};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const int argc = static_cast<int>(words.size());
    // The parser keeps its place in globals: from the start, and silent (the errors are
    // told here, in the user's language).
    optind = 0;
    opterr = 0;
    for (int code; (code = getopt_long(argc, argv.data(), kShortOptions, kLongOptions, nullptr)) != -1;) {
        const int letter = code == '?' || code == ':' ? optopt : code;
        const std::string error = TakeOption(code == ':' || code == '?' ? 0 : code, optarg != nullptr ? optarg : "",
                                             WrittenOption(argv[optind - 1], letter), options);
        if (!error.empty()) return error;
    }
    // After "--", every word is an operand.
    for (int i = optind; i < argc; ++i)
        if (const std::string error = TakeOperand(argv[i], options); !error.empty()) return error;
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

        // Standard input and output cannot be read or written out of order as the tools do.
        if (job.Input == "-" || job.Output == "-") return CliNoStandardStreamText();
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
