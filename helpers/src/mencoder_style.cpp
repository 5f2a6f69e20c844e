#include "mencoder_style.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include <unistd.h>

#include "containers.h"
#include "engine.h"
#include "file_facts.h"
#include "libav.h"
#include "picture_shape.h"
#include "picture_compare.h"
#include "segment_cut.h"
#include "stream_readback.h"
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

// The segment a request cuts: from -ss, lasting -endpos when that is a time.
struct Segment {
    bool cut = false;
    double start = 0.0;
    double length = -1.0;  // negative: to the end
    double End() const { return length >= 0 ? start + length : -1.0; }
};

Segment SegmentOf(const MencoderRequest& r) {
    Segment s;
    const std::string& e = r.endpos;
    const bool timed = !e.empty() && !(e.size() > 2 && e.substr(e.size() - 2) == "mb");
    s.cut = !r.start.empty() || timed;
    if (!r.start.empty()) s.start = std::max(0.0, ParseClock(r.start));
    if (timed) s.length = ParseClock(e);
    return s;
}

struct UnnamedFile {
    int fd = -1;
    ~UnnamedFile() {
        if (fd >= 0) close(fd);
    }
};

}  // namespace

MencoderPlan PlanMencoder(const MencoderRequest& r, const MediaInfo& in, const MediaInfo& audioIn) {
    MencoderPlan plan;
    const Container* c = ContainerForPath(r.output);
    if (!c) throw UsageError("no container is known for the extension of " + r.output);
    std::string ext = LowerExtension(r.output);
    auto& a = plan.args;
    a = {"-nostdin", "-hide_banner", "-loglevel", "error", "-nostats", "-progress", "pipe:1", "-stats_period",
         "0.2", "-y"};
    for (const auto& n : c->note.empty() ? std::vector<std::string>{} : std::vector<std::string>{c->note})
        plan.notices.push_back(n);

    // A segment is cut once, on the output side, where the engine cuts by the times of
    // the packets (a copied picture, from its key frame) or of the decoded frames (a
    // picture coded again), the input read from before the key frame the start needs
    // (segment_cut.h): the engine's seek lands off the time asked in some containers
    // (an ASF one key frame early, a program stream late or between key frames). A joined
    // picture (segment_cut.h) already starts at the segment's start: only its sound is
    // cut, on the input side.
    std::string inputStart = r.start, outputStart;
    if ((r.decodeFrom >= 0 || !r.pictureRecode.empty()) && !r.start.empty() && r.joinedPicture.empty()) {
        const double start = std::max(0.0, ParseClock(r.start));
        const double coarse = r.decodeFrom >= 0 ? std::min(start, r.decodeFrom) : std::max(0.0, start - 10.0);
        inputStart = coarse > 0 ? PlainNumber(coarse) : "";
        outputStart = PlainNumber(start - coarse);
    }
    auto addInput = [&](const std::string& file) {
        if (!inputStart.empty()) a.insert(a.end(), {"-ss", inputStart});
        a.insert(a.end(), {"-i", file});
    };
    const bool joined = !r.joinedPicture.empty();
    if (joined) a.insert(a.end(), {"-i", r.joinedPicture});
    addInput(r.input);
    bool separateSound = !r.audioFile.empty() && !joined;
    if (separateSound) addInput(r.audioFile);
    const MediaInfo& soundIn = separateSound ? audioIn : in;

    // Picture.
    std::vector<std::string> v;
    bool video = c->video && in.hasVideo;
    if (video) {
        std::string enc, bitrate, quality;
        std::string wanted;  // codec name of what was asked
        if (r.ovc == "copy") wanted = in.videoCodec;
        else if (r.ovc == "xvid") {
            enc = "libxvid";
            if (r.xvid.count("bitrate")) bitrate = Kbit(r.xvid.at("bitrate"));
            else if (r.xvid.count("fixed_quant")) quality = r.xvid.at("fixed_quant");
        } else if (r.ovc == "x264") {
            enc = "libx264";
            if (r.x264.count("bitrate")) bitrate = Kbit(r.x264.at("bitrate"));
            else if (r.x264.count("crf")) v.insert(v.end(), {"-crf", r.x264.at("crf")});
            else if (r.x264.count("qp")) v.insert(v.end(), {"-qp", r.x264.at("qp")});
        } else if (r.ovc == "lavc") {
            enc = LavcVideoEncoder(r.lavc.count("vcodec") ? r.lavc.at("vcodec") : "mpeg4");
            // mencoder's lavc default is 800 kbit/s.
            if (r.lavc.count("vqscale")) quality = r.lavc.at("vqscale");
            else bitrate = Kbit(r.lavc.count("vbitrate") ? r.lavc.at("vbitrate") : "800");
        } else if (r.ovc == "raw") {
            enc = "rawvideo";
        } else {
            enc = c->videoEncoder;
        }
        if (wanted.empty()) wanted = CodecOfEncoder(enc);
        // A picture copied into the kind of file it came from always fits.
        bool sameKind = r.ovc == "copy" && SameContainer(r.input, *c);
        if (!sameKind && !HoldsVideo(*c, wanted)) {
            plan.notices.push_back("the picture (" + wanted + ") cannot go into a ." + ext + " file: re-encoding it to " +
                                   CodecOfEncoder(c->videoEncoder));
            enc = c->videoEncoder;
            if (bitrate.empty() && quality.empty() && enc != "libx264" && enc != "dvvideo") quality = "3";
            v.clear();
        }
        a.insert(a.end(), {"-map", "0:v:0"});
        if (enc.empty() && !r.pictureRecode.empty()) {
            v.insert(v.end(), r.pictureRecode.begin(), r.pictureRecode.end());
        } else if (enc.empty()) {
            v.insert(v.end(), {"-c:v", "copy"});
        } else {
            v.insert(v.end(), {"-c:v", enc});
            if (!bitrate.empty()) v.insert(v.end(), {"-b:v", bitrate});
            if (!quality.empty()) v.insert(v.end(), {"-q:v", quality});
            if (enc == "libx264" && bitrate.empty() && std::find(v.begin(), v.end(), "-crf") == v.end() &&
                std::find(v.begin(), v.end(), "-qp") == v.end())
                v.insert(v.end(), {"-crf", "20"});
            if (enc == "libx264" || enc == "rawvideo" || IsMpegVideoEncoder(enc) || enc == "libxvid")
                v.insert(v.end(), {"-pix_fmt", "yuv420p"});
            std::string scale;
            for (const auto& f : r.videoFilters)
                if (f.rfind("scale=", 0) == 0) scale = f;
            const std::string filters = PictureFilters(in, scale, enc);
            if (!filters.empty()) v.insert(v.end(), {"-vf", filters});
            // Times in this container cannot go below zero: B-frames would start the
            // whole file late.
            if (enc == "libx264" && c->noReorderedPictures) v.insert(v.end(), {"-bf", "0"});
            if (!r.ofps.empty()) v.insert(v.end(), {"-r", r.ofps});
            else if (IsMpegVideoEncoder(enc)) {
                std::string rate = NearestMpegRate(in.fps);
                if (!rate.empty()) v.insert(v.end(), {"-r", rate});
            }
            if (enc == "libxvid" && ext == "avi") v.insert(v.end(), {"-tag:v", "XVID"});
        }
    } else {
        v.push_back("-vn");
    }

    // Sound.
    std::vector<std::string> s;
    bool sound = c->audio && soundIn.hasAudio && !r.noSound && !r.oac.empty();
    if (sound) {
        std::string enc, bitrate, quality;
        std::vector<std::string> extra;
        std::string wanted;
        if (r.oac == "copy") wanted = soundIn.audioCodec;
        else if (r.oac == "mp3lame") {
            enc = "libmp3lame";
            std::string br = r.lame.count("br") ? r.lame.at("br") : "";
            if (r.lame.count("cbr") && !br.empty()) bitrate = br + "k";
            else if (r.lame.count("abr") && !br.empty()) {
                bitrate = br + "k";
                extra = {"-abr", "1"};
            } else if (r.lame.count("q")) quality = r.lame.at("q");
            else if (!br.empty()) bitrate = br + "k";
            else quality = "4";
        } else if (r.oac == "lavc") {
            enc = LavcAudioEncoder(r.lavc.count("acodec") ? r.lavc.at("acodec") : "mp2");
            bitrate = Kbit(r.lavc.count("abitrate") ? r.lavc.at("abitrate") : "224");
        } else if (r.oac == "pcm") {
            enc = "pcm_s16le";
        }
        if (wanted.empty()) wanted = CodecOfEncoder(enc);
        int rate = r.srate.empty() ? soundIn.sampleRate : std::atoi(r.srate.c_str());
        int fitted = FitSampleRate(*c, std::max(rate, LowestRateForBitrate(enc, BitsPerSecond(bitrate))));
        bool needsFilter = r.delay != 0.0;
        bool fits = HoldsAudio(*c, wanted) || (r.oac == "copy" && SameContainer(separateSound ? r.audioFile : r.input, *c));
        if (!fits) {
            plan.notices.push_back("the sound (" + wanted + ") cannot go into a ." + ext + " file: re-encoding it to " +
                                   CodecOfEncoder(c->audioEncoder));
            enc = c->audioEncoder;
            extra.clear();
            quality.clear();
            if (bitrate.empty() && enc.rfind("pcm", 0) != 0) bitrate = "128k";
        } else if (enc.empty() && (needsFilter || fitted != rate)) {
            plan.notices.push_back(std::string("the sound cannot be copied ") +
                                   (needsFilter ? "with a delay" : "at its sample rate into this container") +
                                   ": re-encoding it to " + CodecOfEncoder(c->audioEncoder));
            enc = c->audioEncoder;
            if (enc.rfind("pcm", 0) != 0) bitrate = "192k";
        }
        a.insert(a.end(), {"-map", separateSound || joined ? "1:a:0" : "0:a:0"});
        if (enc.empty()) {
            s.insert(s.end(), {"-c:a", "copy"});
        } else {
            s.insert(s.end(), {"-c:a", enc});
            if (!bitrate.empty()) s.insert(s.end(), {"-b:a", bitrate});
            if (!quality.empty()) s.insert(s.end(), {"-q:a", quality});
            s.insert(s.end(), extra.begin(), extra.end());
            const int channels = ChannelLimit(*c, enc);
            if (channels > 0 && soundIn.channels > channels) s.insert(s.end(), {"-ac", std::to_string(channels)});
            if (fitted > 0 && (fitted != soundIn.sampleRate || !r.srate.empty()))
                s.insert(s.end(), {"-ar", std::to_string(fitted)});
            if (r.delay < 0) {
                // Negative: the sound comes later, silence fills its start.
                long ms = std::lround(-r.delay * 1000.0);
                s.insert(s.end(), {"-af", "adelay=delays=" + std::to_string(ms) + ":all=1"});
            } else if (r.delay > 0) {
                // Positive: the picture comes later, which is the sound starting earlier.
                s.insert(s.end(), {"-af", "atrim=start=" + PlainNumber(r.delay) + ",asetpts=PTS-STARTPTS"});
            }
        }
    } else {
        s.push_back("-an");
    }
    if (!video && !sound) throw UsageError("the input " + r.input + " holds nothing this output can take");

    a.insert(a.end(), v.begin(), v.end());
    a.insert(a.end(), s.begin(), s.end());

    double length = in.duration > 0 ? in.duration : soundIn.duration;
    double start = r.start.empty() ? 0.0 : ParseClock(r.start);
    if (length > 0) length = std::max(0.0, length - start);
    if (!r.endpos.empty()) {
        const std::string& e = r.endpos;
        if (e.size() > 2 && e.substr(e.size() - 2) == "mb") {
            a.insert(a.end(), {"-fs", std::to_string(static_cast<long long>(ParseClock(e.substr(0, e.size() - 2)) *
                                                                          1024 * 1024))});
        } else {
            double len = ParseClock(e);
            a.insert(a.end(), {"-t", PlainNumber(len)});
            length = length > 0 ? std::min(length, len) : len;
        }
    }
    if (!outputStart.empty() && outputStart != "0") {
        auto t = std::find(a.begin(), a.end(), "-t");
        a.insert(t != a.end() ? t : a.end(), {"-ss", outputStart});
    }
    plan.expectedSeconds = length;
    a.insert(a.end(), c->extraOptions.begin(), c->extraOptions.end());
    a.insert(a.end(), {"-f", c->format, r.output});
    return plan;
}

std::string FormatPosLine(double seconds, long frames, int percent, double fps, int remainingMinutes,
                          int estimatedMb) {
    char pos[32];
    std::snprintf(pos, sizeof pos, "%.1f", seconds);
    // Two blanks at least before the number, as in mencoder's own lines for short
    // positions, so that readers skipping a fixed number of characters keep every digit.
    int width = std::max<int>(6, static_cast<int>(std::string(pos).size()) + 2);
    char line[160];
    std::snprintf(line, sizeof line, "Pos:%*.1fs %6ldf (%2d%%) %5.2ffps Trem:%4dmin %3dmb  A-V:0.000 [0:0]\r", width,
                  seconds, frames, percent, fps, remainingMinutes, estimatedMb);
    return line;
}

std::string ProgressTranslator::Feed(const std::string& piece) {
    partial_ += piece;
    std::string out;
    size_t nl;
    while ((nl = partial_.find('\n')) != std::string::npos) {
        std::string line = partial_.substr(0, nl);
        partial_.erase(0, nl + 1);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        block_[key] = value;
        if (key == "progress") {
            out += Emit();
            block_.clear();
        }
    }
    return out;
}

std::string ProgressTranslator::Emit() {
    using Clock = std::chrono::steady_clock;
    double now = std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
    if (startedAt_ < 0) startedAt_ = now;
    double pos = 0;
    auto it = block_.find("out_time_us");
    if (it != block_.end() && it->second != "N/A") pos = std::max(0.0, std::atof(it->second.c_str()) / 1e6);
    long frames = block_.count("frame") ? std::atol(block_["frame"].c_str()) : 0;
    double fps = block_.count("fps") ? std::atof(block_["fps"].c_str()) : 0.0;
    double size = block_.count("total_size") ? std::atof(block_["total_size"].c_str()) : 0.0;
    int pct = percent_;
    if (expected_ > 0) pct = std::max(pct, std::min(100, static_cast<int>(pos * 100.0 / expected_)));
    percent_ = pct;
    int trem = 0, mb = 0;
    if (pct > 0) {
        trem = static_cast<int>((now - startedAt_) * (100 - pct) / pct / 60.0);
        mb = static_cast<int>(size * 100.0 / pct / (1024 * 1024));
    }
    return FormatPosLine(pos, frames, pct, fps, trem, mb);
}

int RunMencoderStyleTool(const std::string& toolName, const std::vector<std::string>& args) {
    MencoderPlan plan;
    MencoderRequest r;
    MediaInfo in, sound;
    Segment segment;
    SegmentPlan segmentPlan;
    try {
        r = ParseMencoderArgs(args);
        in = FactsOf(r.input).description;
        if (!in.readable) throw UsageError("cannot read the input " + r.input);
        if (!r.audioFile.empty()) {
            sound = FactsOf(r.audioFile).description;
            if (!sound.readable) throw UsageError("cannot read the sound file " + r.audioFile);
        }
        segment = SegmentOf(r);
        if (segment.cut && r.ovc == "copy" && in.hasVideo && !r.start.empty()) {
            if (const Container* c = ContainerForPath(r.output)) {
                segmentPlan = PlanSegment(r.input, in.videoCodec, *c, segment.start, segment.End());
                plan.notices.push_back(DescribeSegmentPlan(segmentPlan, segment.start));
                r.decodeFrom = DecodeFrom(segmentPlan.frames, segment.start);
                if (segmentPlan.way != SegmentWay::Copy) {
                    r.pictureRecode = segmentPlan.recode;
                } else if (segment.start <= 0) {
                    // A copy from the start is not cut there at all.
                    r.start.clear();
                    r.decodeFrom = -1;
                } else {
                    // A copied picture starts on its key frame, which may lie a hair
                    // before the start asked (timestamps rounded by the container).
                    r.start = PlainNumber(std::min(segment.start, CopyFrom(segmentPlan.frames)));
                }
            }
        }
        const std::vector<std::string> said = plan.notices;
        plan = PlanMencoder(r, in, sound);
        plan.notices.insert(plan.notices.begin(), said.begin(), said.end());
    } catch (const UsageError& e) {
        WriteAll(2, toolName + ": " + e.what() + "\n");
        return 2;
    }
    for (const auto& n : plan.notices) WriteAll(1, toolName + ": " + n + "\n");

    std::vector<std::string> argv = {"ffmpeg"};
    argv.insert(argv.end(), plan.args.begin(), plan.args.end());
    if (ShowEngineInstead(argv)) return 0;
    // A smart cut copies the joined picture instead of the input's; should the joining
    // fail, the picture planned above is coded again whole.
    UnnamedFile joined;
    if (segmentPlan.way == SegmentWay::SmartCut) {
        joined.fd = WriteJoinedPicture(r.input, segment.start, segment.End(), segmentPlan);
        if (joined.fd >= 0) {
            r.joinedPicture = kJoinedPictureInput;
            r.pictureRecode.clear();
            plan = PlanMencoder(r, in, sound);
            argv.assign(1, "ffmpeg");
            argv.insert(argv.end(), plan.args.begin(), plan.args.end());
        } else {
            WriteAll(1, toolName + ": the two parts could not be made: the picture is coded again whole\n");
        }
    }
    ProgressTranslator progress(plan.expectedSeconds);
    EngineOptions eo;
    eo.out = Stream::Capture;
    eo.err = Stream::Capture;
    eo.onOut = [&](const char* d, size_t n) { WriteAll(1, progress.Feed(std::string(d, n))); };
    eo.onErr = [&](const char* d, size_t n) { WriteAll(2, d, n); };
    // What the engine writes is read back with the engine's libraries, loaded meanwhile.
    eo.onStarted = PreloadLibav;
    eo.passFd = joined.fd;
    int rc = RunEngine(argv, eo);
    WriteAll(1, rc == 0 ? "\n\nVideo stream written.\n" : "\n");
    if (rc == 0) {
        transcoda::StreamReport report = FactsOf(plan.args.back()).streams;
        // A segment's ends are compared with the source's pictures there.
        if (segment.cut && in.hasVideo && report.Has(transcoda::StreamKind::Video)) {
            const SegmentPictures compared =
                CompareSegmentPictures(plan.args.back(), r.input, segment.start, segment.length);
            WriteAll(1, toolName + ": " + DescribeComparison(compared) + "\n");
            report.Content = ContentVerdict(compared);
        }
        PrintStreamReport(report);
    }
    return rc;
}

}  // namespace helpers
