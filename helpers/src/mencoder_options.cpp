#include "mencoder_options.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "usage_error.h"

namespace helpers {
namespace {

// The largest lag the tools take, either way: one day. No recording is shifted by more,
// and a lag of that size already means hours of silence to encode; beyond it (or for a
// value that is not a number at all) the run would only seem to hang.
constexpr double kMaxDelaySeconds = 86400.0;

using R = MencoderRequest;
using V = const std::string&;

void Filters(R& r, V v) {
    std::stringstream s(v);
    std::string f;
    while (std::getline(s, f, ','))
        if (!f.empty()) r.videoFilters.push_back(f);
}

void Format(R&, V v) {
    if (v != "lavf" && v != "avi" && v != "mpeg") throw UsageError("unknown output format " + v);
}

void Delay(R& r, V v) {
    char* end = nullptr;
    r.delay = std::strtod(v.c_str(), &end);
    if (v.empty() || *end != '\0') throw UsageError("invalid value for -delay: " + v);
    if (!std::isfinite(r.delay) || std::fabs(r.delay) > kMaxDelaySeconds)
        throw UsageError("invalid value for -delay: " + v + " (at most " + PlainNumber(kMaxDelaySeconds) +
                         " seconds either way)");
}

void Start(R& r, V v) {
    if (ParseClock(v) < 0) throw UsageError("invalid value for -ss: " + v);
    r.start = v;
}

// A length, or a size in megabytes ("10mb").
void EndPosition(R& r, V v) {
    std::string n = v;
    if (n.size() > 2 && n.substr(n.size() - 2) == "mb") n.resize(n.size() - 2);
    if (ParseClock(n) < 0) throw UsageError("invalid value for -endpos: " + v);
    r.endpos = v;
}

const MencoderOption kOptions[] = {
    {"-o", true, [](R& r, V v) { r.output = v; }},
    {"-ovc", true, [](R& r, V v) { r.ovc = v; }},
    {"-oac", true, [](R& r, V v) { r.oac = v; }},
    {"-xvidencopts", true, [](R& r, V v) { ParseSubOptions(v, r.xvid); }},
    {"-x264encopts", true, [](R& r, V v) { ParseSubOptions(v, r.x264); }},
    {"-lavcopts", true, [](R& r, V v) { ParseSubOptions(v, r.lavc); }},
    {"-lameopts", true, [](R& r, V v) { ParseSubOptions(v, r.lame); }},
    {"-vf", true, Filters},
    {"-ofps", true, [](R& r, V v) { r.ofps = v; }},
    {"-srate", true, [](R& r, V v) { r.srate = v; }},
    {"-of", true, Format},
    {"-audiofile", true, [](R& r, V v) { r.audioFile = v; }},
    {"-delay", true, Delay},
    {"-ss", true, Start},
    {"-endpos", true, EndPosition},
    {"-nosound", false, [](R& r, V) { r.noSound = true; }},
    // Accepted; the engine needs nothing for them.
    {"-forceidx", false, nullptr},
    {"-noskip", false, nullptr},
    {"-quiet", false, nullptr},
};

}  // namespace

std::span<const MencoderOption> MencoderOptions() { return kOptions; }

const MencoderOption* FindMencoderOption(std::string_view name) {
    for (const MencoderOption& o : kOptions)
        if (o.name == name) return &o;
    return nullptr;
}

std::string PlainNumber(double v) {
    std::ostringstream s;
    s.precision(6);
    s << std::fixed << v;
    std::string t = s.str();
    while (!t.empty() && t.back() == '0') t.pop_back();
    if (!t.empty() && t.back() == '.') t.pop_back();
    return t;
}

void ParseSubOptions(const std::string& text, std::map<std::string, std::string>& into) {
    std::stringstream s(text);
    std::string item;
    while (std::getline(s, item, ':')) {
        if (item.empty()) continue;
        size_t eq = item.find('=');
        if (eq == std::string::npos) into[item] = "";
        else into[item.substr(0, eq)] = item.substr(eq + 1);
    }
}

double ParseClock(const std::string& text) {
    if (text.empty()) return -1;
    double total = 0;
    std::stringstream s(text);
    std::string part;
    int parts = 0;
    while (std::getline(s, part, ':')) {
        char* end = nullptr;
        double v = std::strtod(part.c_str(), &end);
        if (part.empty() || *end != '\0' || v < 0) return -1;
        total = total * 60 + v;
        if (++parts > 3) return -1;
    }
    return total;
}

MencoderRequest ParseMencoderArgs(const std::vector<std::string>& args) {
    MencoderRequest r;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 1 && a[0] == '-') {
            const MencoderOption* row = FindMencoderOption(a);
            if (row == nullptr) throw UsageError("unknown option " + a);
            std::string value;
            if (row->takesValue) {
                if (i + 1 >= args.size()) throw UsageError("missing value for option " + a);
                value = args[++i];
            }
            if (row->apply) row->apply(r, value);
            continue;
        }
        if (!r.input.empty()) throw UsageError("more than one input file: " + a);
        r.input = a;
    }
    if (r.input.empty()) throw UsageError("no input file");
    if (r.output.empty()) throw UsageError("no output file (-o)");
    static const char* const ovcs[] = {"copy", "xvid", "x264", "lavc", "raw", "frameno"};
    static const char* const oacs[] = {"copy", "mp3lame", "lavc", "pcm"};
    auto known = [](const auto& list, const std::string& v) {
        for (const char* k : list)
            if (v == k) return true;
        return false;
    };
    if (r.ovc.empty()) throw UsageError("no video encoder (-ovc) given");
    if (r.oac.empty() && !r.noSound) throw UsageError("no audio encoder (-oac) given");
    if (!known(ovcs, r.ovc)) throw UsageError("unknown video encoder " + r.ovc);
    if (!r.oac.empty() && !known(oacs, r.oac)) throw UsageError("unknown audio encoder " + r.oac);
    for (const auto& f : r.videoFilters)
        if (f.rfind("scale", 0) != 0 && f != "harddup") throw UsageError("unknown video filter " + f);
    return r;
}

}  // namespace helpers
