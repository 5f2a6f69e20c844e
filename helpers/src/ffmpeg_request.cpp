#include "ffmpeg_request.h"

#include <algorithm>

#include "ffmpeg_options.h"
#include "usage_error.h"

namespace helpers {

void OptionList::Set(const std::string& name, const std::string& value) {
    for (auto& o : items_)
        if (o.name == name) {
            o.value = value;
            return;
        }
    items_.push_back({name, value});
}

void OptionList::Add(const std::string& name, const std::string& value) { items_.push_back({name, value}); }

void OptionList::Remove(const std::string& name) {
    std::erase_if(items_, [&](const EngineOption& o) { return o.name == name; });
}

const std::string* OptionList::Find(const std::string& name) const {
    for (const auto& o : items_)
        if (o.name == name) return &o.value;
    return nullptr;
}

std::string OptionList::ValueOf(const std::string& name) const {
    const std::string* v = Find(name);
    return v ? *v : std::string();
}

void OptionList::AppendTo(std::vector<std::string>& args) const {
    for (const auto& o : items_) {
        args.push_back(o.name);
        if (!o.value.empty()) args.push_back(o.value);
    }
}

namespace {

struct Written {
    const FfmpegOption* row;
    std::string value;
};

std::string EngineValue(const Written& w) { return w.row->value ? w.row->value(w.value) : w.value; }

// Puts an option on the output, as its row says.
void AddToOutput(FfmpegRequest& r, const Written& w) {
    const FfmpegOption& row = *w.row;
    if (row.engineName.empty()) r.asked.insert(std::string(row.name));
    else if (row.repeat == Repeat::Add) r.outputOptions.Add(std::string(row.engineName), EngineValue(w));
    else r.outputOptions.Set(std::string(row.engineName), EngineValue(w));
}

}  // namespace

FfmpegRequest ParseFfmpegArgs(std::string_view toolName, const std::vector<std::string>& args) {
    FfmpegRequest r;
    const ToolSet tool = FfmpegToolOf(toolName);
    std::vector<Written> pending;  // options waiting for the file they belong to
    bool haveOutput = false;

    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 1 && a[0] == '-') {
            const FfmpegOption* row = FindFfmpegOption(a);
            if (row == nullptr) throw UsageError("unknown option " + a);
            if (!(row->tools & tool)) throw UsageError("option " + a + " is not taken by " + std::string(toolName));
            Written w{row, ""};
            if (row->takesValue) {
                if (i + 1 >= args.size()) throw UsageError("missing value for option " + a);
                w.value = args[++i];
            }
            switch (row->scope) {
            case OptionScope::Global:
                if (std::find(r.globals.begin(), r.globals.end(), a) == r.globals.end()) r.globals.push_back(a);
                break;
            case OptionScope::File: {
                // Options written before an input belong to it when the engine reads them
                // on an input; the others (tags, sizes ...) are meant for the output.
                InputFile in{w.value, {}};
                for (const Written& p : pending) {
                    if (p.row->scope == OptionScope::Input)
                        in.options.push_back({std::string(p.row->engineName), EngineValue(p)});
                    else
                        AddToOutput(r, p);
                }
                pending.clear();
                r.inputs.push_back(std::move(in));
                break;
            }
            default:
                pending.push_back(std::move(w));
            }
            continue;
        }
        if (haveOutput) throw UsageError("more than one output file: " + a);
        r.output = a;
        haveOutput = true;
        for (const Written& p : pending) AddToOutput(r, p);
        pending.clear();
    }
    if (!pending.empty())
        throw UsageError("option " + std::string(pending.front().row->name) + " given after the last file");
    if (r.inputs.empty()) throw UsageError("no input file (-i)");
    return r;
}

}  // namespace helpers
