#include "mencoder_plan.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <optional>

#include "containers.h"
#include "picture_shape.h"
#include "usage_error.h"

namespace helpers {
namespace {

// mencoder's bit rates are kbit/s up to 16000 and bit/s above.
std::string Kbit(const std::string& value) {
    double v = std::atof(value.c_str());
    if (v > 16000) v /= 1000;
    return PlainNumber(v) + "k";
}

std::string LavcVideoEncoder(const std::string& codec) {
    if (codec == "flv1") return "flv";
    if (codec == "msmpeg4v3") return "msmpeg4";
    return codec;
}

std::string LavcAudioEncoder(const std::string& codec) {
    if (codec == "mp3") return "libmp3lame";
    if (codec == "vorbis") return "libvorbis";
    return codec;
}

// The filters of an encoded picture: whole pictures of an interlaced one, its shape kept
// in the frame size a "scale=W:H" asks (between black bars when the shapes differ), or
// square pixels at its own size. An uncompressed copy keeps the pictures as they are.
std::string PictureFilters(const MediaInfo& in, const std::string& scale, const std::string& encoder) {
    if (encoder == "rawvideo") return scale;
    std::string shape = scale;
    const size_t colon = scale.find(':');
    const std::optional<FrameSize> frame =
        colon == std::string::npos ? std::nullopt
                                   : ParseFrameSize(scale.substr(6, colon - 6) + "x" + scale.substr(colon + 1));
    if (frame) shape = FitIntoFrame(DisplayAspect(in), *frame, static_cast<double>(frame->width) / frame->height, true);
    else if (scale.empty()) shape = SquarePixels(in);
    return JoinFilters(Deinterlace(in), shape);
}

bool SameContainer(const std::string& path, const Container& c) {
    const Container* source = ContainerForPath(path);
    return source && source->format == c.format;
}

void Append(std::vector<std::string>& to, std::initializer_list<std::string> values) {
    to.insert(to.end(), values);
}

// What the request and the output's container make of one stream: its encoder (empty:
// copied), its bit rate or quality, and the options chosen with them.
struct StreamCoding {
    std::string encoder, bitrate, quality;
    std::vector<std::string> options;
};

// Where the input is read from and where the output starts. A segment is cut once, on
// the output side, where the engine cuts by the times of the packets (a copied picture,
// from its key frame) or of the decoded frames (a picture coded again), the input read
// from before the key frame the start needs (segment_cut.h): the engine's seek lands off
// the time asked in some containers (an ASF one key frame early, a program stream late or
// between key frames). A joined picture (segment_cut.h) already starts at the segment's
// start: only its sound is cut, on the input side.
struct StartTimes {
    std::string input, output;
};

StartTimes StartTimesOf(const MencoderRequest& r) {
    StartTimes t{r.start, ""};
    if ((r.decodeFrom >= 0 || !r.pictureRecode.empty()) && !r.start.empty() && r.joinedPicture.empty()) {
        const double start = std::max(0.0, ParseClock(r.start));
        const double coarse = r.decodeFrom >= 0 ? std::min(start, r.decodeFrom) : std::max(0.0, start - 10.0);
        t.input = coarse > 0 ? PlainNumber(coarse) : "";
        t.output = PlainNumber(start - coarse);
    }
    return t;
}

// The picture's encoder as the request asks it, or the container's own when the picture
// asked cannot go into it (said in notices).
StreamCoding ChoosePictureCoding(const MencoderRequest& r, const MediaInfo& in, const Container& c,
                                 const std::string& ext, std::vector<std::string>& notices) {
    StreamCoding p;
    std::string wanted;  // codec name of what was asked
    if (r.ovc == "copy") wanted = in.videoCodec;
    else if (r.ovc == "xvid") {
        p.encoder = "libxvid";
        if (r.xvid.count("bitrate")) p.bitrate = Kbit(r.xvid.at("bitrate"));
        else if (r.xvid.count("fixed_quant")) p.quality = r.xvid.at("fixed_quant");
    } else if (r.ovc == "x264") {
        p.encoder = "libx264";
        if (r.x264.count("bitrate")) p.bitrate = Kbit(r.x264.at("bitrate"));
        else if (r.x264.count("crf")) Append(p.options, {"-crf", r.x264.at("crf")});
        else if (r.x264.count("qp")) Append(p.options, {"-qp", r.x264.at("qp")});
    } else if (r.ovc == "lavc") {
        p.encoder = LavcVideoEncoder(r.lavc.count("vcodec") ? r.lavc.at("vcodec") : "mpeg4");
        // mencoder's lavc default is 800 kbit/s.
        if (r.lavc.count("vqscale")) p.quality = r.lavc.at("vqscale");
        else p.bitrate = Kbit(r.lavc.count("vbitrate") ? r.lavc.at("vbitrate") : "800");
    } else if (r.ovc == "raw") {
        p.encoder = "rawvideo";
    } else {
        p.encoder = c.videoEncoder;
    }
    if (wanted.empty()) wanted = CodecOfEncoder(p.encoder);
    // A picture copied into the kind of file it came from always fits.
    bool sameKind = r.ovc == "copy" && SameContainer(r.input, c);
    if (!sameKind && !HoldsVideo(c, wanted)) {
        notices.push_back("the picture (" + wanted + ") cannot go into a ." + ext + " file: re-encoding it to " +
                          CodecOfEncoder(c.videoEncoder));
        p.encoder = c.videoEncoder;
        if (p.bitrate.empty() && p.quality.empty() && p.encoder != "libx264" && p.encoder != "dvvideo")
            p.quality = "3";
        p.options.clear();
    }
    return p;
}

// The options of an encoded picture: rate, pixel format, filters, B-frames, frame rate, tag.
void AddEncodedPictureOptions(const MencoderRequest& r, const MediaInfo& in, const Container& c,
                              const std::string& ext, const StreamCoding& p, std::vector<std::string>& v) {
    const std::string& enc = p.encoder;
    Append(v, {"-c:v", enc});
    if (!p.bitrate.empty()) Append(v, {"-b:v", p.bitrate});
    if (!p.quality.empty()) Append(v, {"-q:v", p.quality});
    if (enc == "libx264" && p.bitrate.empty() && std::find(v.begin(), v.end(), "-crf") == v.end() &&
        std::find(v.begin(), v.end(), "-qp") == v.end())
        Append(v, {"-crf", "20"});
    if (enc == "libx264" || enc == "rawvideo" || IsMpegVideoEncoder(enc) || enc == "libxvid")
        Append(v, {"-pix_fmt", "yuv420p"});
    std::string scale;
    for (const auto& f : r.videoFilters)
        if (f.rfind("scale=", 0) == 0) scale = f;
    const std::string filters = PictureFilters(in, scale, enc);
    if (!filters.empty()) Append(v, {"-vf", filters});
    // Times in this container cannot go below zero: B-frames would start the
    // whole file late.
    if (enc == "libx264" && c.noReorderedPictures) Append(v, {"-bf", "0"});
    if (!r.ofps.empty()) Append(v, {"-r", r.ofps});
    else if (IsMpegVideoEncoder(enc)) {
        std::string rate = NearestMpegRate(in.fps);
        if (!rate.empty()) Append(v, {"-r", rate});
    }
    if (enc == "libxvid" && ext == "avi") Append(v, {"-tag:v", "XVID"});
}

// The picture's output options: copied, coded again as a segment's cut asks, or encoded.
std::vector<std::string> PictureOptions(const MencoderRequest& r, const MediaInfo& in, const Container& c,
                                        const std::string& ext, std::vector<std::string>& notices) {
    StreamCoding p = ChoosePictureCoding(r, in, c, ext, notices);
    std::vector<std::string> v = std::move(p.options);
    if (p.encoder.empty() && !r.pictureRecode.empty()) {
        v.insert(v.end(), r.pictureRecode.begin(), r.pictureRecode.end());
    } else if (p.encoder.empty()) {
        Append(v, {"-c:v", "copy"});
    } else {
        AddEncodedPictureOptions(r, in, c, ext, p, v);
    }
    return v;
}

// The sound's encoder as the request asks it; the container's own when the sound asked
// cannot go into it, or cannot be copied with a delay or at its sample rate (said in
// notices). fitted: the sample rate the output takes.
struct SoundCoding : StreamCoding {
    int fitted = 0;
};

void ChooseMp3Coding(const MencoderRequest& r, SoundCoding& s) {
    s.encoder = "libmp3lame";
    std::string br = r.lame.count("br") ? r.lame.at("br") : "";
    if (r.lame.count("cbr") && !br.empty()) s.bitrate = br + "k";
    else if (r.lame.count("abr") && !br.empty()) {
        s.bitrate = br + "k";
        s.options = {"-abr", "1"};
    } else if (r.lame.count("q")) s.quality = r.lame.at("q");
    else if (!br.empty()) s.bitrate = br + "k";
    else s.quality = "4";
}

SoundCoding ChooseSoundCoding(const MencoderRequest& r, const MediaInfo& soundIn, const Container& c,
                              const std::string& ext, bool separateSound, std::vector<std::string>& notices) {
    SoundCoding s;
    std::string wanted;
    if (r.oac == "copy") wanted = soundIn.audioCodec;
    else if (r.oac == "mp3lame") {
        ChooseMp3Coding(r, s);
    } else if (r.oac == "lavc") {
        s.encoder = LavcAudioEncoder(r.lavc.count("acodec") ? r.lavc.at("acodec") : "mp2");
        s.bitrate = Kbit(r.lavc.count("abitrate") ? r.lavc.at("abitrate") : "224");
    } else if (r.oac == "pcm") {
        s.encoder = "pcm_s16le";
    }
    if (wanted.empty()) wanted = CodecOfEncoder(s.encoder);
    int rate = r.srate.empty() ? soundIn.sampleRate : std::atoi(r.srate.c_str());
    s.fitted = FitSampleRate(c, std::max(rate, LowestRateForBitrate(s.encoder, BitsPerSecond(s.bitrate))));
    bool needsFilter = r.delay != 0.0;
    bool fits = HoldsAudio(c, wanted) || (r.oac == "copy" && SameContainer(separateSound ? r.audioFile : r.input, c));
    if (!fits) {
        notices.push_back("the sound (" + wanted + ") cannot go into a ." + ext + " file: re-encoding it to " +
                          CodecOfEncoder(c.audioEncoder));
        s.encoder = c.audioEncoder;
        s.options.clear();
        s.quality.clear();
        if (s.bitrate.empty() && s.encoder.rfind("pcm", 0) != 0) s.bitrate = "128k";
    } else if (s.encoder.empty() && (needsFilter || s.fitted != rate)) {
        notices.push_back(std::string("the sound cannot be copied ") +
                          (needsFilter ? "with a delay" : "at its sample rate into this container") +
                          ": re-encoding it to " + CodecOfEncoder(c.audioEncoder));
        s.encoder = c.audioEncoder;
        if (s.encoder.rfind("pcm", 0) != 0) s.bitrate = "192k";
    }
    return s;
}

// The sound's output options: copied, or encoded with its channels, rate and delay.
std::vector<std::string> SoundOptions(const MencoderRequest& r, const MediaInfo& soundIn, const Container& c,
                                      const SoundCoding& coding) {
    std::vector<std::string> s;
    const std::string& enc = coding.encoder;
    if (enc.empty()) {
        Append(s, {"-c:a", "copy"});
        return s;
    }
    Append(s, {"-c:a", enc});
    if (!coding.bitrate.empty()) Append(s, {"-b:a", coding.bitrate});
    if (!coding.quality.empty()) Append(s, {"-q:a", coding.quality});
    s.insert(s.end(), coding.options.begin(), coding.options.end());
    const int channels = ChannelLimit(c, enc);
    if (channels > 0 && soundIn.channels > channels) Append(s, {"-ac", std::to_string(channels)});
    if (coding.fitted > 0 && (coding.fitted != soundIn.sampleRate || !r.srate.empty()))
        Append(s, {"-ar", std::to_string(coding.fitted)});
    if (r.delay < 0) {
        // Negative: the sound comes later, silence fills its start.
        long ms = std::lround(-r.delay * 1000.0);
        Append(s, {"-af", "adelay=delays=" + std::to_string(ms) + ":all=1"});
    } else if (r.delay > 0) {
        // Positive: the picture comes later, which is the sound starting earlier.
        Append(s, {"-af", "atrim=start=" + PlainNumber(r.delay) + ",asetpts=PTS-STARTPTS"});
    }
    return s;
}

// Adds the output's end (-fs for a size in "mb", else -t) and start, and returns the
// length of the result; 0 when unknown.
double AddOutputBounds(const MencoderRequest& r, const MediaInfo& in, const MediaInfo& soundIn,
                       const std::string& outputStart, std::vector<std::string>& a) {
    double length = in.duration > 0 ? in.duration : soundIn.duration;
    double start = r.start.empty() ? 0.0 : ParseClock(r.start);
    if (length > 0) length = std::max(0.0, length - start);
    if (!r.endpos.empty()) {
        const std::string& e = r.endpos;
        if (e.size() > 2 && e.substr(e.size() - 2) == "mb") {
            Append(a, {"-fs", std::to_string(static_cast<long long>(ParseClock(e.substr(0, e.size() - 2)) *
                                                                   1024 * 1024))});
        } else {
            double len = ParseClock(e);
            Append(a, {"-t", PlainNumber(len)});
            length = length > 0 ? std::min(length, len) : len;
        }
    }
    if (!outputStart.empty() && outputStart != "0") {
        auto t = std::find(a.begin(), a.end(), "-t");
        a.insert(t != a.end() ? t : a.end(), {"-ss", outputStart});
    }
    return length;
}

}  // namespace

MencoderPlan PlanMencoder(const MencoderRequest& r, const MediaInfo& in, const MediaInfo& audioIn) {
    MencoderPlan plan;
    const Container* c = ContainerForPath(r.output);
    if (!c) throw UsageError("no container is known for the extension of " + r.output);
    const std::string ext = LowerExtension(r.output);
    auto& a = plan.args;
    a = {"-nostdin", "-hide_banner", "-loglevel", "error", "-nostats", "-progress", "pipe:1", "-stats_period",
         "0.2", "-y"};
    if (!c->note.empty()) plan.notices.push_back(c->note);

    const StartTimes starts = StartTimesOf(r);
    auto addInput = [&](const std::string& file) {
        if (!starts.input.empty()) Append(a, {"-ss", starts.input});
        Append(a, {"-i", file});
    };
    const bool joined = !r.joinedPicture.empty();
    if (joined) Append(a, {"-i", r.joinedPicture});
    addInput(r.input);
    const bool separateSound = !r.audioFile.empty() && !joined;
    if (separateSound) addInput(r.audioFile);
    const MediaInfo& soundIn = separateSound ? audioIn : in;

    std::vector<std::string> v{"-vn"};
    const bool video = c->video && in.hasVideo;
    if (video) {
        v = PictureOptions(r, in, *c, ext, plan.notices);
        Append(a, {"-map", "0:v:0"});
    }
    std::vector<std::string> s{"-an"};
    const bool sound = c->audio && soundIn.hasAudio && !r.noSound && !r.oac.empty();
    if (sound) {
        const SoundCoding coding = ChooseSoundCoding(r, soundIn, *c, ext, separateSound, plan.notices);
        Append(a, {"-map", separateSound || joined ? "1:a:0" : "0:a:0"});
        s = SoundOptions(r, soundIn, *c, coding);
    }
    if (!video && !sound) throw UsageError("the input " + r.input + " holds nothing this output can take");

    a.insert(a.end(), v.begin(), v.end());
    a.insert(a.end(), s.begin(), s.end());
    plan.expectedSeconds = AddOutputBounds(r, in, soundIn, starts.output, a);
    a.insert(a.end(), c->extraOptions.begin(), c->extraOptions.end());
    Append(a, {"-f", c->format, r.output});
    return plan;
}

}  // namespace helpers
