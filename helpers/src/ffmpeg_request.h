#pragma once
// An ffmpeg-style command line read through the option table: its inputs with the
// options read on each, its output with the engine's options already translated, and the
// options the planner acts on.

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace helpers {

struct EngineOption {
    std::string name;
    std::string value;  // empty for a switch
};

// Engine options in the order given; a repeated option that replaces takes the earlier
// one's place.
class OptionList {
public:
    void Set(const std::string& name, const std::string& value = "");
    void Add(const std::string& name, const std::string& value);
    void Remove(const std::string& name);
    bool Has(const std::string& name) const { return Find(name) != nullptr; }
    // The value of an option, or nullptr when it is not given.
    const std::string* Find(const std::string& name) const;
    // The value, or "" when the option is not given.
    std::string ValueOf(const std::string& name) const;
    void AppendTo(std::vector<std::string>& args) const;
    const std::vector<EngineOption>& Items() const { return items_; }

private:
    std::vector<EngineOption> items_;
};

struct InputFile {
    std::string path;
    std::vector<EngineOption> options;  // read on this input, in order
};

struct FfmpegRequest {
    std::vector<std::string> globals;  // global switches as the tool took them, each once
    std::vector<InputFile> inputs;     // at least one
    std::string output;                // empty: a description of the first input
    OptionList outputOptions;          // the engine's options for the output
    std::set<std::string> asked;       // options without an engine equivalent ("-sameq")

    const std::string& input() const { return inputs.front().path; }
    bool Asked(std::string_view option) const { return asked.count(std::string(option)) != 0; }
};

// Reads the arguments of the tool toolName. Throws UsageError for an option the table
// does not hold or the tool does not take, a missing value, no input, a second output or
// options after the output.
FfmpegRequest ParseFfmpegArgs(std::string_view toolName, const std::vector<std::string>& args);

}  // namespace helpers
