#include "ffmpeg_style.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "amr_encoder.h"
#include "containers.h"
#include "engine.h"
#include "media_probe.h"
#include "stream_readback.h"
#include "time_rewriter.h"
#include "usage_error.h"
#include "whole_lines.h"

namespace helpers {
namespace {

struct Opt {
    std::string name;
    std::string value;
};

// Options of the dialect; true when the option takes a value.
const std::map<std::string, bool>& KnownOptions() {
    static const std::map<std::string, bool> known = {
        {"-i", true},        {"-acodec", true},   {"-vcodec", true},  {"-b", true},      {"-ab", true},
        {"-ar", true},       {"-ac", true},       {"-s", true},       {"-r", true},      {"-f", true},
        {"-title", true},    {"-author", true},   {"-comment", true}, {"-metadata", true}, {"-vtag", true},
        {"-target", true},   {"-aspect", true},   {"-crf", true},     {"-threads", true}, {"-maxrate", true},
        {"-minrate", true},  {"-bufsize", true},  {"-qmin", true},    {"-qmax", true},   {"-g", true},
        {"-ss", true},       {"-t", true},        {"-to", true},      {"-itsoffset", true}, {"-vf", true},
        {"-af", true},       {"-pix_fmt", true},  {"-c:v", true},     {"-c:a", true},    {"-b:v", true},
        {"-b:a", true},      {"-q:v", true},      {"-qscale", true},  {"-sameq", false}, {"-an", false},
        {"-vn", false},      {"-y", false},       {"-n", false},      {"-copyts", false}, {"-benchmark", false},
        {"-hide_banner", false}, {"-nostdin", false}};
    return known;
}

bool IsInputOption(const std::string& name) {
    return name == "-ss" || name == "-t" || name == "-to" || name == "-itsoffset" || name == "-f";
}

bool IsGlobalFlag(const std::string& name) {
    return name == "-y" || name == "-n" || name == "-copyts" || name == "-benchmark" || name == "-hide_banner" ||
           name == "-nostdin";
}

std::string VideoEncoder(const std::string& name) {
    if (name == "xvid") return "libxvid";
    if (name == "x264" || name == "h264") return "libx264";
    if (name == "flv1") return "flv";
    return name;
}

bool IsAmr(const std::string& name) {
    return name == "libamr_nb" || name == "amr_nb" || name == "libopencore_amrnb" || name == "amrnb";
}

std::string AudioEncoder(const std::string& name) {
    if (name == "libfaac" || name == "faac" || name == "libfdk_aac") return "aac";
    if (name == "mp3") return "libmp3lame";
    if (name == "vorbis") return "libvorbis";
    return name;
}

std::string FrameRate(const std::string& value) {
    if (value == "29.97") return "30000/1001";
    if (value == "23.976" || value == "23.98") return "24000/1001";
    if (value == "59.94") return "60000/1001";
    return value;
}

// Bit rate in bit/s of an ffmpeg rate text ("12.2k" -> 12200).
int BitsPerSecond(const std::string& value) {
    char* end = nullptr;
    double v = std::strtod(value.c_str(), &end);
    if (end && (*end == 'k' || *end == 'K')) v *= 1000;
    else if (end && (*end == 'm' || *end == 'M')) v *= 1000000;
    return static_cast<int>(v + 0.5);
}

// Output options in order; a repeated option replaces the earlier value in place.
class OptionList {
public:
    void Set(const std::string& name, const std::string& value) {
        for (auto& o : opts_)
            if (o.name == name) {
                o.value = value;
                return;
            }
        opts_.push_back({name, value});
    }
    void Add(const std::string& name, const std::string& value) { opts_.push_back({name, value}); }
    void Flag(const std::string& name) { Set(name, ""); }
    bool Has(const std::string& name) const { return Find(name) != nullptr; }
    const std::string* Find(const std::string& name) const {
        for (const auto& o : opts_)
            if (o.name == name) return &o.value;
        return nullptr;
    }
    void Remove(const std::string& name) {
        opts_.erase(std::remove_if(opts_.begin(), opts_.end(), [&](const Opt& o) { return o.name == name; }),
                    opts_.end());
    }
    void AppendTo(std::vector<std::string>& args) const {
        for (const auto& o : opts_) {
            args.push_back(o.name);
            if (!o.value.empty()) args.push_back(o.value);
        }
    }

private:
    std::vector<Opt> opts_;
};

std::string MetadataKey(const std::string& key) { return key == "author" ? "artist" : key; }

}  // namespace

std::string KbitRate(const std::string& value) {
    if (value.empty()) return value;
    char* end = nullptr;
    std::strtod(value.c_str(), &end);
    if (end && *end == '\0') return value + "k";
    return value;
}

FfmpegPlan TranslateFfmpegArgs(const std::vector<std::string>& args, const MediaInfo* input) {
    FfmpegPlan plan;
    std::vector<Opt> pending;                          // options waiting for their file
    std::vector<std::pair<std::vector<Opt>, std::string>> inputs;
    std::vector<Opt> outputOpts;
    std::vector<std::string> globalFlags;
    bool haveOutput = false;

    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 1 && a[0] == '-') {
            auto it = KnownOptions().find(a);
            if (it == KnownOptions().end()) throw UsageError("unknown option " + a);
            Opt o{a, ""};
            if (it->second) {
                if (i + 1 >= args.size()) throw UsageError("missing value for option " + a);
                o.value = args[++i];
            }
            if (a == "-i") {
                // Options written before an input belong to it when the engine reads them on
                // an input; the others (tags, sizes ...) are meant for the output.
                std::vector<Opt> own;
                for (auto& p : pending) (IsInputOption(p.name) ? own : outputOpts).push_back(p);
                pending.clear();
                inputs.push_back({own, o.value});
            } else if (IsGlobalFlag(a)) {
                if (std::find(globalFlags.begin(), globalFlags.end(), a) == globalFlags.end()) globalFlags.push_back(a);
            } else {
                pending.push_back(o);
            }
            continue;
        }
        if (haveOutput) throw UsageError("more than one output file: " + a);
        plan.output = a;
        haveOutput = true;
        for (auto& p : pending) outputOpts.push_back(p);
        pending.clear();
    }
    if (!pending.empty()) throw UsageError("option " + pending.front().name + " given after the last file");
    if (inputs.empty()) throw UsageError("no input file (-i)");
    plan.input = inputs.front().second;

    std::vector<std::string>& out = plan.args;
    out = {"-nostdin", "-hide_banner"};
    for (const auto& f : globalFlags) {
        if (f == "-nostdin" || f == "-hide_banner") continue;
        if (f == "-copyts" && haveOutput && LowerExtension(plan.output) == "avi") continue;
        out.push_back(f);
    }
    for (const auto& [opts, file] : inputs) {
        for (const auto& o : opts) {
            out.push_back(o.name);
            out.push_back(o.value);
        }
        out.push_back("-i");
        out.push_back(file);
    }
    if (!haveOutput) return plan;

    OptionList o;
    bool sameq = false;
    std::string videoCodec, audioCodec;
    for (const auto& opt : outputOpts) {
        const std::string& n = opt.name;
        const std::string& v = opt.value;
        if (n == "-vcodec" || n == "-c:v") o.Set("-c:v", videoCodec = VideoEncoder(v));
        else if (n == "-acodec" || n == "-c:a") {
            audioCodec = IsAmr(v) ? "amr" : AudioEncoder(v);
            o.Set("-c:a", audioCodec);
        } else if (n == "-b" || n == "-b:v") o.Set("-b:v", KbitRate(v));
        else if (n == "-ab" || n == "-b:a") o.Set("-b:a", KbitRate(v));
        else if (n == "-maxrate" || n == "-minrate" || n == "-bufsize") o.Set(n, KbitRate(v));
        else if (n == "-vtag") o.Set("-tag:v", v);
        else if (n == "-r") o.Set("-r", FrameRate(v));
        else if (n == "-qscale") o.Set("-q:v", v);
        else if (n == "-title") o.Add("-metadata", "title=" + v);
        else if (n == "-author") o.Add("-metadata", "artist=" + v);
        else if (n == "-comment") o.Add("-metadata", "comment=" + v);
        else if (n == "-metadata") {
            size_t eq = v.find('=');
            o.Add("-metadata", eq == std::string::npos ? v : MetadataKey(v.substr(0, eq)) + v.substr(eq));
        } else if (n == "-sameq") sameq = true;
        else if (n == "-an" || n == "-vn") o.Flag(n);
        else o.Set(n, v);
    }

    if (sameq && !o.Has("-b:v") && !o.Has("-target") && !o.Has("-q:v") && !o.Has("-crf")) {
        // Same quality as the source no longer exists: use the encoder's finest usual setting.
        if (videoCodec == "libx264") o.Set("-crf", "18");
        else o.Set("-q:v", "2");
    }
    const Container* c = ContainerForPath(plan.output);
    std::string ext = LowerExtension(plan.output);
    std::string format = o.Has("-f") ? *o.Find("-f") : (c ? c->format : "");
    bool mp4Family = format == "mp4" || format == "mov" || format == "ipod" || ext == "m4v" || ext == "mp4";
    if ((videoCodec == "libx264" || (videoCodec.empty() && mp4Family && !o.Has("-vn"))) && !o.Has("-pix_fmt"))
        o.Set("-pix_fmt", "yuv420p");  // the picture format every player of these files decodes
    if (videoCodec == "libx264" && !o.Has("-profile:v")) {
        if (ext == "m4v") o.Set("-profile:v", "baseline");
        else if (ext == "mp4") o.Set("-profile:v", "main");
    }

    if (c) {
        // Rates the container or the picture coding cannot hold are brought to the nearest
        // one they can; that depends on the input, described when it is known.
        std::string venc = videoCodec.empty() ? c->videoEncoder : videoCodec;
        bool mpegRate = IsMpegVideoEncoder(venc) && c->video && !o.Has("-r") && !o.Has("-target") && !o.Has("-vn");
        bool soundRate = !c->audioRates.empty() && !o.Has("-ar") && !o.Has("-an");
        plan.dependsOnInput = mpegRate || soundRate;
        if (input && mpegRate && input->hasVideo) {
            std::string rate = NearestMpegRate(input->fps);
            if (!rate.empty()) o.Set("-r", rate);
        }
        if (input && soundRate && input->hasAudio) {
            int rate = FitSampleRate(*c, input->sampleRate);
            if (rate != input->sampleRate) o.Set("-ar", std::to_string(rate));
        }
    }
    if (audioCodec == "amr") plan.dependsOnInput = true;

    if (audioCodec == "amr" && !o.Has("-an")) {
        plan.amr = true;
        if (const std::string* rate = o.Find("-b:a")) plan.amrBitrate = NearestAmrBitrate(BitsPerSecond(*rate));
        plan.amrInputOptions.clear();
        for (const auto& opt : inputs.front().first)
            if (opt.name != "-f") {
                plan.amrInputOptions.push_back(opt.name);
                plan.amrInputOptions.push_back(opt.value);
            }
        o.Remove("-ar");
        o.Remove("-ac");
        o.Remove("-b:a");
        o.Set("-c:a", "copy");
        out.insert(out.end(), {"-f", "amr", "-i", kAmrInput});
        out.insert(out.end(), {"-map", "0:v:0?", "-map", std::to_string(inputs.size()) + ":a:0"});
    } else if (audioCodec == "amr") {
        o.Remove("-c:a");
    }

    if (!o.Has("-f") && c && !c->ffmpegGuesses) o.Set("-f", c->format);
    if (c && (!o.Has("-f") || *o.Find("-f") == c->format)) {
        for (size_t i = 0; i + 1 < c->extraOptions.size(); i += 2) o.Set(c->extraOptions[i], c->extraOptions[i + 1]);
    }
    if (c && !c->note.empty()) plan.notices.push_back(c->note);
    o.AppendTo(out);
    out.push_back(plan.output);
    return plan;
}

bool WritesSoundOnly(const FfmpegPlan& plan) {
    return !plan.output.empty() && std::find(plan.args.begin(), plan.args.end(), "-vn") != plan.args.end();
}

void AddSilence(FfmpegPlan& plan, double seconds) {
    auto& a = plan.args;
    // After the last input: a silent sound as long as the picture ...
    size_t afterInputs = 0;
    int inputs = 0;
    for (size_t i = 0; i + 1 < a.size(); ++i)
        if (a[i] == "-i") {
            afterInputs = i + 2;
            ++inputs;
        }
    char length[32];
    std::snprintf(length, sizeof length, "%.3f", seconds);
    a.insert(a.begin() + static_cast<std::ptrdiff_t>(afterInputs),
             {"-f", "lavfi", "-t", length, "-i", "anullsrc=channel_layout=stereo:sample_rate=44100"});
    // ... taken as the output's sound.
    a.insert(a.end() - 1, {"-map", std::to_string(inputs) + ":a:0"});
}

int RunFfmpegStyleTool(const std::string& toolName, const std::vector<std::string>& args) {
    FfmpegPlan plan;
    MediaInfo info;
    try {
        plan = TranslateFfmpegArgs(args);
        // The input is described only when options depend on it (a probe costs a start of
        // the engine).
        if (plan.dependsOnInput) {
            info = ProbeMedia(plan.input);
            if (info.readable) plan = TranslateFfmpegArgs(args, &info);
        }
    } catch (const UsageError& e) {
        WriteAll(2, toolName + ": " + e.what() + "\n");
        return 2;
    }
    for (const auto& n : plan.notices) WriteAll(2, toolName + ": " + n + "\n");

    // The sound of a picture without sound is silence as long as the picture, so that a
    // recipe that takes the sound apart first still gets a sound to join.
    if (WritesSoundOnly(plan)) {
        const transcoda::StreamReport in = ReadStreams(plan.input);
        if (in.Readable && in.Has(transcoda::StreamKind::Video) && !in.Has(transcoda::StreamKind::Audio)) {
            WriteAll(2, toolName + ": the input has no sound: writing silence as long as its picture\n");
            AddSilence(plan, std::max(0.0, in.Longest(transcoda::StreamKind::Video)));
        }
    }

    AmrWriter amr;
    if (plan.amr) {
        if (info.readable && !info.hasAudio) {
            // Nothing to encode: drop the sound input and its mapping.
            std::vector<std::string> a;
            for (size_t i = 0; i < plan.args.size(); ++i) {
                const std::string& s = plan.args[i];
                if (s == "-f" && i + 3 < plan.args.size() && plan.args[i + 3] == kAmrInput) {
                    i += 3;
                    continue;
                }
                if (s == "-map" && i + 1 < plan.args.size() && plan.args[i + 1].find(":a:") != std::string::npos) {
                    ++i;
                    continue;
                }
                if (s == "-c:a" && i + 1 < plan.args.size()) { ++i; continue; }
                a.push_back(s);
            }
            a.insert(a.end() - 1, "-an");
            plan.args = a;
        } else {
            int rc = amr.OpenUnnamed(plan.amrBitrate) ? EncodeAmrFromMedia(plan.input, plan.amrInputOptions, amr) : 1;
            if (rc != 0) {
                WriteAll(2, toolName + ": the sound could not be encoded to AMR-NB\n");
                return rc;
            }
        }
    }

    std::vector<std::string> argv = {"ffmpeg"};
    argv.insert(argv.end(), plan.args.begin(), plan.args.end());
    TimeRewriter rewriter;
    WholeLines lines;
    EngineOptions eo;
    eo.out = Stream::Inherit;
    eo.err = Stream::Capture;
    eo.onErr = [&](const char* d, size_t n) { WriteAll(2, rewriter.Feed(lines.Feed(std::string(d, n)))); };
    eo.passFd = amr.Descriptor();
    eo.onIdle = [&] {
        if (lines.Holding()) WriteAll(2, rewriter.Feed(lines.Flush()));
    };
    int rc = RunEngine(argv, eo);
    WriteAll(2, rewriter.Feed(lines.Flush()) + rewriter.Flush());
    // What was written is read back once the engine has ended; a description of an
    // input reports the input itself.
    if (plan.output.empty()) PrintStreamReport(ReadStreams(plan.input));
    else if (rc == 0) PrintStreamReport(ReadStreams(plan.output));
    return rc;
}

}  // namespace helpers
