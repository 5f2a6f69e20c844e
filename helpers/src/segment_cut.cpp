#include "segment_cut.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "engine.h"
#include "libav.h"
#include "media_seek.h"
#include "stream_readback.h"

namespace helpers {
namespace {

// Timestamps are rounded by the containers: this far apart, two times are the same.
constexpr double kTimeSlack = 0.001;
// How far before a key frame a copy is cut when the frame before it is not known, so
// that a rounding of its time never drops it.
constexpr double kBeforeTheKey = 0.015;
// How far past the next key frame the packets are read, for frames stored out of order.
constexpr double kReorderWindow = 1.0;

// The codecs whose key frames can start a stream anew after frames of another encoder:
// each repeats the sequence header its decoder needs, and the engine codes them itself.
bool Joinable(const std::string& codec) {
    return codec == "mpeg1video" || codec == "mpeg2video" || codec == "mpeg4";
}

// Containers that take the joined stream as it comes from the transport stream, with no
// header of their own built from the first part.
bool JoinsInto(const std::string& format) { return format == "avi" || format == "mpeg" || format == "vob"; }

// Whether a key frame's packet starts with the sequence header of its codec (MPEG-1/2
// sequence header, MPEG-4 video object layer).
bool RepeatsHeader(const std::string& codec, const uint8_t* data, int size) {
    for (int i = 0; i + 3 < size; ++i) {
        if (data[i] != 0 || data[i + 1] != 0 || data[i + 2] != 1) continue;
        const uint8_t code = data[i + 3];
        if ((codec == "mpeg1video" || codec == "mpeg2video") && code == 0xB3) return true;
        if (codec == "mpeg4" && code >= 0x20 && code <= 0x2F) return true;
        // The picture itself begins: no header came before it.
        if (codec == "mpeg4" ? code == 0xB6 : code == 0x00) return false;
    }
    return false;
}

std::string Clock(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", std::max(0.0, seconds));
    return text;
}

// A file with no name, gone when its last descriptor closes, so that nothing is left
// behind however the tool ends.
int OpenUnnamedFile() {
    const char* env = std::getenv("TMPDIR");
    const std::string dir = env && *env ? env : "/tmp";
    int fd = open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0) {
        std::string path = dir + "/transcoda-segment-XXXXXX";
        fd = mkostemp(path.data(), O_CLOEXEC);
        if (fd >= 0) unlink(path.c_str());
    }
    return fd;
}

// Runs the engine writing a transport stream at the end of the file `fd` (its descriptor
// 3, written through, never truncated), its errors on the tool's error output.
bool RunInto(int fd, std::vector<std::string> args) {
    std::vector<std::string> argv = {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y"};
    argv.insert(argv.end(), args.begin(), args.end());
    argv.insert(argv.end(), {"-an", "-sn", "-dn", "-f", "mpegts", "-muxdelay", "0", "-muxpreload", "0", "pipe:3"});
    EngineOptions eo;
    eo.out = Stream::Null;
    eo.passFd = fd;
    return RunEngine(argv, eo) == 0;
}

}  // namespace

SegmentFrames ScanSegmentFrames(const std::string& path, double start, double end) {
    SegmentFrames f;
    const OpenedMedia media(path);
    AVFormatContext* fc = media.Context();
    if (fc == nullptr) return f;
    const int vi = FirstPictureStream(fc);
    if (vi < 0) return f;
    const AVStream* st = fc->streams[vi];
    const std::string codec = Libav().avcodec_get_name(st->codecpar->codec_id);
    if (start > 0) SeekBefore(fc, vi, start);

    AVPacket* packet = Libav().av_packet_alloc();
    double latest = -1e300, lastDecoded = -1.0;
    while (packet != nullptr && Libav().av_read_frame(fc, packet) >= 0) {
        const int64_t ts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        if (packet->stream_index != vi || ts == AV_NOPTS_VALUE) {
            Libav().av_packet_unref(packet);
            continue;
        }
        f.known = true;
        const double t = SecondsInFile(fc, vi, ts);
        // Frames stored out of order show as presentation times that go back.
        if (t < latest - kTimeSlack) f.reordered = true;
        latest = std::max(latest, t);
        const bool key = (packet->flags & AV_PKT_FLAG_KEY) != 0;
        if (key && t <= start + kTimeSlack) f.keyBefore = std::max(f.keyBefore, t);
        if (t >= start - kTimeSlack) {
            if (key && f.nextKey < 0) {
                f.nextKey = t;
                f.nextKeyDecoded = packet->dts != AV_NOPTS_VALUE ? std::min(t, SecondsInFile(fc, vi, packet->dts)) : t;
                f.copyFrom = lastDecoded >= 0 && lastDecoded < f.nextKeyDecoded
                                 ? (lastDecoded + f.nextKeyDecoded) / 2
                                 : f.nextKeyDecoded - kBeforeTheKey;
                f.keyRepeatsHeader = RepeatsHeader(codec, packet->data, packet->size);
            } else if (f.nextKey < 0 || t < f.nextKey - kTimeSlack) {
                ++f.headFrames;
            }
        }
        if (packet->dts != AV_NOPTS_VALUE) lastDecoded = SecondsInFile(fc, vi, packet->dts);
        Libav().av_packet_unref(packet);
        if (f.nextKey >= 0 && t > f.nextKey + kReorderWindow) break;
        if (end > 0 && t > end + kReorderWindow) break;
    }
    Libav().av_packet_free(&packet);
    if (end > 0 && f.nextKey >= end - kTimeSlack) f.nextKey = -1.0;
    return f;
}

std::vector<std::string> RecodeOptions(const std::string& codec, const std::string& fallbackEncoder) {
    // Each at the quality that keeps a picture within 0.01 SSIM of the source: the
    // MPEG-family coders at their finest quantiser, the others at a near-lossless rate
    // factor (bench/segment_cuts.sh measures it).
    struct Row {
        std::string_view codec, encoder;
    };
    static const Row kSameCodec[] = {
        {"mpeg4", "mpeg4"}, {"mpeg1video", "mpeg1video"}, {"mpeg2video", "mpeg2video"}, {"msmpeg4v3", "msmpeg4"},
        {"msmpeg4v2", "msmpeg4v2"}, {"wmv1", "wmv1"}, {"wmv2", "wmv2"}, {"flv1", "flv"}, {"h263", "h263"},
        {"mjpeg", "mjpeg"}, {"h264", "libx264"}, {"hevc", "libx265"}, {"vp8", "libvpx"}, {"vp9", "libvpx-vp9"},
        {"theora", "libtheora"}};
    std::string encoder = fallbackEncoder;
    for (const Row& row : kSameCodec)
        if (row.codec == codec) encoder = std::string(row.encoder);
    if (encoder == "libx264") return {"-c:v", "libx264", "-preset", "fast", "-crf", "12", "-pix_fmt", "yuv420p"};
    if (encoder == "libx265") return {"-c:v", "libx265", "-preset", "fast", "-crf", "12", "-pix_fmt", "yuv420p"};
    if (encoder == "libvpx" || encoder == "libvpx-vp9")
        return {"-c:v", encoder, "-crf", "4", "-b:v", "0", "-deadline", "good", "-cpu-used", "4"};
    if (encoder == "libtheora") return {"-c:v", encoder, "-q:v", "10"};
    if (encoder == "rawvideo" || encoder == "dvvideo") return {"-c:v", encoder};
    // MPEG-1/2 pictures name the buffer their player needs: a DVD's, not none.
    if (encoder == "mpeg1video" || encoder == "mpeg2video")
        return {"-c:v", encoder, "-q:v", "1", "-maxrate", "15000k", "-bufsize", "1835k"};
    return {"-c:v", encoder, "-q:v", "1"};
}

double DecodeFrom(const SegmentFrames& frames, double seconds) {
    // Without a key frame found, from 10 s before: more than most coders' key frame spacing.
    return std::max(0.0, frames.keyBefore >= 0 ? frames.keyBefore - 1.0 : seconds - 10.0);
}

double CopyFrom(const SegmentFrames& frames) { return std::max(0.0, frames.copyFrom); }

double DecodeFrom(const std::string& path, double seconds) {
    return DecodeFrom(ScanSegmentFrames(path, seconds, seconds), seconds);
}

SegmentPlan PlanSegment(const std::string& input, const std::string& codec, const Container& output, double start,
                        double end) {
    SegmentPlan plan;
    plan.frames = ScanSegmentFrames(input, start, end);
    const SegmentFrames& f = plan.frames;
    // The segment's first picture (the first at or after its start) is a key frame. The
    // engine cuts a copy by decoding times: in a stream with frames out of order, the
    // frames decoded before a cut are shown after it, so such a stream is copied only
    // whole to its end.
    if (f.known && f.nextKey >= 0 && f.headFrames == 0 && (!f.reordered || (start <= 0 && end < 0)))
        return plan;
    plan.recode = RecodeOptions(codec, output.videoEncoder);
    const bool join = f.known && f.nextKey >= 0 && f.headFrames > 0 && !f.reordered && f.keyRepeatsHeader &&
                      Joinable(codec) && JoinsInto(output.format);
    plan.way = join ? SegmentWay::SmartCut : SegmentWay::Recode;
    if (join) plan.recode.insert(plan.recode.end(), {"-bf", "0"});
    return plan;
}

std::string DescribeSegmentPlan(const SegmentPlan& plan, double start) {
    char text[200];
    switch (plan.way) {
        case SegmentWay::Copy:
            std::snprintf(text, sizeof text, "the segment starts on a key frame at %.3f s: its picture is copied",
                          start);
            break;
        case SegmentWay::SmartCut:
            std::snprintf(text, sizeof text,
                          "the segment starts between key frames: its first %d pictures, up to the key frame at "
                          "%.3f s, are coded again, the rest is copied",
                          plan.frames.headFrames, plan.frames.nextKey);
            break;
        case SegmentWay::Recode:
            std::snprintf(text, sizeof text,
                          "the segment's picture cannot be copied from its start (no key frame there, or the "
                          "stream cannot be joined there): its picture is coded again");
            break;
    }
    return text;
}

int WriteJoinedPicture(const std::string& input, double start, double end, const SegmentPlan& plan) {
    const int fd = OpenUnnamedFile();
    if (fd < 0) return -1;
    // The head is cut from decoded frames, read from a little before the start (see
    // PlanMencoder); the rest is copied from its key frame on.
    const double coarse = DecodeFrom(plan.frames, start);
    std::vector<std::string> head = {"-ss", Clock(coarse), "-i", input, "-ss", Clock(start - coarse),
                                     "-map", "0:v:0", "-frames:v", std::to_string(plan.frames.headFrames)};
    head.insert(head.end(), plan.recode.begin(), plan.recode.end());
    // The rest is copied from its key frame, cut on the output side too (see
    // PlanMencoder), its times following the head's.
    const double keyFrom = CopyFrom(plan.frames);
    const double tailFrom = DecodeFrom(plan.frames, keyFrom);
    std::vector<std::string> tail = {"-ss", Clock(tailFrom), "-i", input, "-map", "0:v:0", "-c:v", "copy",
                                     "-ss", Clock(keyFrom - tailFrom)};
    if (end > 0) tail.insert(tail.end(), {"-t", Clock(end - keyFrom)});
    tail.insert(tail.end(), {"-output_ts_offset", Clock(keyFrom - start)});
    if (!RunInto(fd, head) || !RunInto(fd, tail)) {
        close(fd);
        return -1;
    }
    return fd;
}

}  // namespace helpers
