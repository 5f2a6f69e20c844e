#include "ffmpeg_plan.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "amr_encoder.h"
#include "containers.h"
#include "ffmpeg_options.h"
#include "picture_shape.h"

namespace helpers {
namespace {

bool LeftOutIn(const FfmpegOption& row, const std::string& format) {
    return std::find(row.leftOutIn.begin(), row.leftOutIn.end(), format) != row.leftOutIn.end();
}

// Same quality as the source no longer exists: the encoder's finest usual setting, unless
// a rate or a quality is given.
void ResolveSameQuality(const FfmpegRequest& r, OptionList& o) {
    if (!r.Asked("-sameq") || o.Has("-b:v") || o.Has("-target") || o.Has("-q:v") || o.Has("-crf")) return;
    if (o.ValueOf("-c:v") == "libx264") o.Set("-crf", "18");
    else o.Set("-q:v", "2");
}

// The picture format every player of these files decodes, and the H.264 profile the
// devices that play them take.
void FitPictureToPlayers(const std::string& output, const std::string& format, OptionList& o) {
    const std::string venc = o.ValueOf("-c:v");
    const std::string ext = LowerExtension(output);
    const bool mp4Family = format == "mp4" || format == "mov" || format == "ipod" || ext == "m4v" || ext == "mp4";
    if ((venc == "libx264" || (venc.empty() && mp4Family && !o.Has("-vn"))) && !o.Has("-pix_fmt"))
        o.Set("-pix_fmt", "yuv420p");
    if (venc == "libx264" && !o.Has("-profile:v")) {
        if (ext == "m4v") o.Set("-profile:v", "baseline");
        else if (ext == "mp4") o.Set("-profile:v", "main");
    }
}

bool DvdTarget(const OptionList& o) { return o.ValueOf("-target").ends_with("-dvd"); }

// The sound encoder the output gets: the one asked, a DVD's, else the container's.
std::string SoundEncoder(const Container& c, const OptionList& o) {
    if (o.Has("-c:a")) return o.ValueOf("-c:a");
    return DvdTarget(o) ? "ac3" : c.audioEncoder;
}

// Rates the container or the picture coding cannot hold are brought to the nearest one
// they can, from the input's own rates: a sound rate at or above the input's, high
// enough for the bit rate asked.
void FitRates(const Container& c, const MediaInfo* in, OptionList& o, InputNeeds& needs) {
    const std::string venc = o.Has("-c:v") ? o.ValueOf("-c:v") : c.videoEncoder;
    const bool mpegRate = IsMpegVideoEncoder(venc) && c.video && !o.Has("-r") && !o.Has("-target") && !o.Has("-vn");
    const int lowest = LowestRateForBitrate(SoundEncoder(c, o), BitsPerSecond(o.ValueOf("-b:a")));
    const bool soundRate = (!c.audioRates.empty() || lowest > 0) && c.audio && !o.Has("-ar") && !o.Has("-an");
    needs.description = needs.description || mpegRate || soundRate;
    needs.picture = needs.picture || mpegRate;
    if (in && mpegRate && in->hasVideo) {
        const std::string rate = NearestMpegRate(in->fps);
        if (!rate.empty()) o.Set("-r", rate);
    }
    if (in && soundRate && in->hasAudio && in->sampleRate > 0) {
        const int rate = FitSampleRate(c, std::max(in->sampleRate, lowest));
        if (rate != in->sampleRate) o.Set("-ar", std::to_string(rate));
    }
}

// The sound keeps no more channels than its encoder and the players of the file take:
// more are mixed down (5.1 and 7.1 to stereo for a player, 7.1 to 5.1 for a DVD).
void FitChannels(const Container& c, const MediaInfo* in, OptionList& o, InputNeeds& needs) {
    const std::string enc = SoundEncoder(c, o);
    if (!c.audio || o.Has("-ac") || o.Has("-an") || enc == "copy") return;
    const int limit = ChannelLimit(c, enc);
    if (limit == 0) return;
    needs.description = true;
    if (in && in->hasAudio && in->channels > limit) o.Set("-ac", std::to_string(limit));
}

// The picture is shown as it was recorded: whole pictures of an interlaced one, its
// shape kept in a frame of fixed size (scaled to fill it, or between black bars), square
// pixels at its own size (not every coding or container keeps their aspect), and a DVD
// title marked 16:9 or 4:3 by the picture's shape. A container whose times cannot go
// below zero gets H.264 without B-frames, so that the file starts with the picture.
void FitPicture(const Container& c, const MediaInfo* in, OptionList& o, InputNeeds& needs) {
    const bool dvd = DvdTarget(o);
    const std::string venc = o.Has("-c:v") ? o.ValueOf("-c:v") : c.videoEncoder;
    if (!(c.video || dvd) || o.Has("-vn") || venc == "copy") return;
    if (c.noReorderedPictures && venc == "libx264" && !o.Has("-bf")) o.Set("-bf", "0");
    needs.description = true;
    needs.picture = true;
    if (!in || !in->hasVideo) return;
    const double aspect = DisplayAspect(*in);
    std::string shape;
    if (dvd) {
        const std::string mark = DvdAspect(aspect);
        o.Set("-aspect", mark);
        const FrameSize frame{720, o.ValueOf("-target").starts_with("pal") ? 576 : 480};
        shape = FitIntoFrame(aspect, frame, DvdAspectValue(mark), false);
    } else if (const std::optional<FrameSize> frame = ParseFrameSize(o.ValueOf("-s"))) {
        shape = FitIntoFrame(aspect, *frame, static_cast<double>(frame->width) / frame->height, true);
    } else {
        shape = SquarePixels(*in);
    }
    const std::string filters = JoinFilters(JoinFilters(Deinterlace(*in), shape), o.ValueOf("-vf"));
    if (!filters.empty()) o.Set("-vf", filters);
}

// AMR-NB sound is encoded by the tool and handed to the engine as one more input, which
// only needs copying; an input without sound gives a file without sound.
void PlanAmrSound(const FfmpegRequest& r, const MediaInfo* in, OptionList& o, FfmpegPlan& plan) {
    plan.needs.description = true;
    const std::string rate = o.ValueOf("-b:a");
    for (const char* taken : {"-ar", "-ac", "-b:a"}) o.Remove(taken);
    std::vector<std::string>& a = plan.args;
    if (in && !in->hasAudio) {
        a.insert(a.end(), {"-map", "0:v:0?"});
        o.Remove("-c:a");
        o.Set("-an");
        return;
    }
    plan.amr = true;
    if (!rate.empty()) plan.amrBitrate = NearestAmrBitrate(BitsPerSecond(rate));
    for (const EngineOption& opt : r.inputs.front().options)
        if (opt.name != "-f") plan.amrInputOptions.insert(plan.amrInputOptions.end(), {opt.name, opt.value});
    a.insert(a.end(), {"-f", "amr", "-i", kAmrInput});
    a.insert(a.end(), {"-map", "0:v:0?", "-map", std::to_string(r.inputs.size()) + ":a:0"});
    o.Set("-c:a", "copy");
}

// The sound of a picture without sound is silence as long as the picture, so that a
// recipe that takes the sound apart first still gets a sound to join. The generated
// source is bounded twice, by its own duration and by -t, and never by zero: the engine
// takes "-t 0" as no limit and would write silence for ever. A picture of no known
// length, or that lasts nothing (a single frame), gets one frame's worth at 25 frames a
// second.
bool PlanSilence(const transcoda::StreamReport* in, FfmpegPlan& plan) {
    plan.needs.streams = true;
    using transcoda::StreamKind;
    if (!in || !in->Readable || !in->Has(StreamKind::Video) || in->Has(StreamKind::Audio)) return false;
    constexpr double kShortestSilence = 0.04;
    char length[32];
    std::snprintf(length, sizeof length, "%.3f", std::max(kShortestSilence, in->Longest(StreamKind::Video)));
    plan.args.insert(plan.args.end(), {"-f", "lavfi", "-t", length, "-i",
                                       std::string("anullsrc=channel_layout=stereo:sample_rate=44100:d=") + length});
    plan.notices.push_back("the input has no sound: writing silence as long as its picture");
    return true;
}

}  // namespace

FfmpegPlan PlanFfmpeg(const FfmpegRequest& r, const InputFacts& facts) {
    FfmpegPlan plan;
    plan.input = r.input();
    plan.output = r.output;
    const MediaInfo* in = facts.description && facts.description->readable ? facts.description : nullptr;

    OptionList o = r.outputOptions;
    const Container* c = ContainerForPath(r.output);
    const std::string format = o.Has("-f") ? o.ValueOf("-f") : (c ? c->format : "");

    std::vector<std::string>& a = plan.args;
    a = {"-nostdin", "-hide_banner"};
    for (const std::string& g : r.globals) {
        if (g == "-nostdin" || g == "-hide_banner") continue;
        if (!r.output.empty() && LeftOutIn(*FindFfmpegOption(g), format)) continue;
        a.push_back(g);
    }
    for (const InputFile& file : r.inputs) {
        for (const EngineOption& opt : file.options) a.insert(a.end(), {opt.name, opt.value});
        a.insert(a.end(), {"-i", file.path});
    }
    if (r.output.empty()) return plan;

    ResolveSameQuality(r, o);
    FitPictureToPlayers(r.output, format, o);
    if (c) {
        FitRates(*c, in, o, plan.needs);
        FitChannels(*c, in, o, plan.needs);
        FitPicture(*c, in, o, plan.needs);
    }

    const bool amrSound = o.ValueOf("-c:a") == kAmrEncoder;
    if (amrSound && !o.Has("-an")) PlanAmrSound(r, in, o, plan);
    else if (amrSound) o.Remove("-c:a");
    const bool silence = o.Has("-vn") && !amrSound && PlanSilence(facts.streams, plan);

    if (!o.Has("-f") && c && !c->ffmpegGuesses) o.Set("-f", c->format);
    if (c && (!o.Has("-f") || o.ValueOf("-f") == c->format)) {
        for (size_t i = 0; i + 1 < c->extraOptions.size(); i += 2) o.Set(c->extraOptions[i], c->extraOptions[i + 1]);
    }
    if (c && !c->note.empty()) plan.notices.insert(plan.notices.begin(), c->note);
    o.AppendTo(a);
    if (silence) a.insert(a.end(), {"-map", std::to_string(r.inputs.size()) + ":a:0"});
    a.push_back(r.output);
    return plan;
}

}  // namespace helpers
