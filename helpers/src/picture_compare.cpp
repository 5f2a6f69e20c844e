#include "picture_compare.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "file_facts.h"
#include "libav.h"
#include "media_seek.h"
#include "picture_shape.h"
#include "stream_readback.h"

namespace helpers {
namespace {

// How far from a time a frame still counts as at that time (timestamps rounded by the
// containers).
constexpr double kTimeSlack = 0.001;

// One component of a pixel, brought to 0..255; the component description says where it
// lies (plane, step, offset) and how wide it is.
float Component(const AVFrame* frame, const AVComponentDescriptor& c, bool bigEndian, int x, int y) {
    const uint8_t* p = frame->data[c.plane] + static_cast<ptrdiff_t>(y) * frame->linesize[c.plane] +
                       static_cast<ptrdiff_t>(x) * c.step + c.offset;
    unsigned raw = c.depth + c.shift > 8 ? (bigEndian ? (p[0] << 8 | p[1]) : (p[1] << 8 | p[0])) : p[0];
    const unsigned mask = (1u << c.depth) - 1;
    return static_cast<float>((raw >> c.shift) & mask) * 255.0f / static_cast<float>(mask);
}

// The picture's grey thumbnail; nullopt for pixel forms not read here (palettes, bit
// streams, hardware frames).
std::optional<Thumbnail> Shrink(const AVFrame* frame, const PictureArea& area) {
    const AVPixFmtDescriptor* d = Libav().av_pix_fmt_desc_get(static_cast<AVPixelFormat>(frame->format));
    if (d == nullptr || frame->width < 1 || frame->height < 1) return std::nullopt;
    if (d->flags & (AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_BITSTREAM | AV_PIX_FMT_FLAG_HWACCEL)) return std::nullopt;
    const bool rgb = (d->flags & AV_PIX_FMT_FLAG_RGB) != 0;
    if (rgb ? d->nb_components < 3 : d->nb_components < 1) return std::nullopt;
    for (int i = 0; i < (rgb ? 3 : 1); ++i)
        if (d->comp[i].depth < 1 || d->comp[i].depth > 16) return std::nullopt;
    const bool be = (d->flags & AV_PIX_FMT_FLAG_BE) != 0;
    // Luma of limited range (16 to 235) is brought to the full range, so that a picture
    // whose range was changed on the way still compares with its source.
    const bool limited = !rgb && frame->color_range != AVCOL_RANGE_JPEG && std::string_view(d->name).substr(0, 4) != "yuvj";
    auto grey = [&](int x, int y) {
        if (!rgb) {
            const float y8 = Component(frame, d->comp[0], be, x, y);
            return limited ? std::clamp((y8 - 16.0f) * 255.0f / 219.0f, 0.0f, 255.0f) : y8;
        }
        return 0.299f * Component(frame, d->comp[0], be, x, y) + 0.587f * Component(frame, d->comp[1], be, x, y) +
               0.114f * Component(frame, d->comp[2], be, x, y);
    };
    Thumbnail thumb(kThumbnailSide * kThumbnailSide, 0.0f);
    const int left = static_cast<int>(area.left * frame->width), top = static_cast<int>(area.top * frame->height);
    const int w = std::max(1, static_cast<int>(area.width * frame->width));
    const int h = std::max(1, static_cast<int>(area.height * frame->height));
    for (int cy = 0; cy < kThumbnailSide; ++cy) {
        const int y0 = cy * h / kThumbnailSide, y1 = std::max(y0 + 1, (cy + 1) * h / kThumbnailSide);
        const int ys = std::max(1, (y1 - y0) / 8);
        for (int cx = 0; cx < kThumbnailSide; ++cx) {
            const int x0 = cx * w / kThumbnailSide, x1 = std::max(x0 + 1, (cx + 1) * w / kThumbnailSide);
            // At most 8 x 8 samples under each cell: enough for a mean, cheap on big pictures.
            const int xs = std::max(1, (x1 - x0) / 8);
            float sum = 0.0f;
            int n = 0;
            for (int y = y0; y < std::min(y1, h); y += ys)
                for (int x = x0; x < std::min(x1, w); x += xs, ++n)
                    sum += grey(std::min(left + x, frame->width - 1), std::min(top + y, frame->height - 1));
            thumb[static_cast<size_t>(cy * kThumbnailSide + cx)] = n > 0 ? sum / static_cast<float>(n) : 0.0f;
        }
    }
    return thumb;
}

struct Decoder {
    AVCodecContext* context = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    ~Decoder() {
        Libav().avcodec_free_context(&context);
        Libav().av_frame_free(&frame);
        Libav().av_packet_free(&packet);
    }
};

}  // namespace

double ThumbnailDifference(const Thumbnail& a, const Thumbnail& b) {
    if (a.size() != b.size() || a.empty()) return 255.0;
    double sum = 0.0;
    for (size_t i = 0; i < a.size(); ++i) sum += std::fabs(a[i] - b[i]);
    return sum / static_cast<double>(a.size());
}

PictureArea AreaWithinBars(double pictureAspect, double frameAspect) {
    if (pictureAspect <= 0 || frameAspect <= 0) return {};
    if (std::fabs(pictureAspect / frameAspect - 1.0) <= kShapeTolerance) return {};
    if (pictureAspect > frameAspect) {
        const double height = frameAspect / pictureAspect;  // bars above and below
        return {0.0, (1.0 - height) / 2, 1.0, height};
    }
    const double width = pictureAspect / frameAspect;  // bars left and right
    return {(1.0 - width) / 2, 0.0, width, 1.0};
}

std::vector<Thumbnail> ReadThumbnails(const std::string& path, PictureAt which, double seconds, size_t count,
                                      PictureArea area) {
    std::vector<Thumbnail> found;
    const OpenedMedia media(path);
    AVFormatContext* fc = media.Context();
    if (fc == nullptr) return found;
    const int vi = FirstPictureStream(fc);
    if (vi < 0) return found;
    AVStream* st = fc->streams[vi];
    const AVCodec* codec = Libav().avcodec_find_decoder(st->codecpar->codec_id);
    if (codec == nullptr) return found;
    Decoder dec;
    dec.context = Libav().avcodec_alloc_context3(codec);
    dec.frame = Libav().av_frame_alloc();
    dec.packet = Libav().av_packet_alloc();
    if (dec.context == nullptr || dec.frame == nullptr || dec.packet == nullptr) return found;
    if (Libav().avcodec_parameters_to_context(dec.context, st->codecpar) < 0) return found;
    dec.context->pkt_timebase = st->time_base;
    if (Libav().avcodec_open2(dec.context, codec, nullptr) < 0) return found;

    double seekTo = -1.0;  // seconds from the start of the file
    if (which == PictureAt::Time && seconds > 0) seekTo = seconds;
    if (which == PictureAt::Last && fc->duration != AV_NOPTS_VALUE && fc->duration > 0)
        seekTo = static_cast<double>(fc->duration) / AV_TIME_BASE - 3.0;
    if (seekTo > 0 && SeekBefore(fc, vi, seekTo)) Libav().avcodec_flush_buffers(dec.context);

    // First: the first pictures. Time: the first pictures at or after `seconds`. Last:
    // the pictures decoded last.
    bool done = false;
    auto take = [&] {
        while (!done && Libav().avcodec_receive_frame(dec.context, dec.frame) >= 0) {
            const int64_t pts = dec.frame->best_effort_timestamp;
            const double at = pts != AV_NOPTS_VALUE ? SecondsInFile(fc, vi, pts) : -1;
            if (which == PictureAt::Time && pts != AV_NOPTS_VALUE && at < seconds - kTimeSlack) continue;
            std::optional<Thumbnail> thumb = Shrink(dec.frame, area);
            if (!thumb) {
                // A picture in a form not read here: none of this file's can be compared.
                found.clear();
                done = true;
                return;
            }
            if (which == PictureAt::Last && found.size() == count) found.erase(found.begin());
            found.push_back(std::move(*thumb));
            done = which != PictureAt::Last && found.size() == count;
        }
    };
    while (!done && Libav().av_read_frame(fc, dec.packet) >= 0) {
        if (dec.packet->stream_index == vi) Libav().avcodec_send_packet(dec.context, dec.packet);
        Libav().av_packet_unref(dec.packet);
        take();
    }
    if (!done) {
        Libav().avcodec_send_packet(dec.context, nullptr);
        take();
    }
    return found;
}

std::optional<Thumbnail> ReadThumbnail(const std::string& path, PictureAt which, double seconds, PictureArea area) {
    std::vector<Thumbnail> found = ReadThumbnails(path, which, seconds, 1, area);
    if (found.empty()) return std::nullopt;
    return std::move(found.front());
}

namespace {

// The picture stream's frame duration; 0.04 s when the file does not say.
double FrameDuration(const std::string& path) {
    const OpenedMedia media(path);
    AVFormatContext* fc = media.Context();
    const int vi = fc != nullptr ? FirstPictureStream(fc) : -1;
    if (vi < 0) return 0.04;
    const AVStream* st = fc->streams[vi];
    const AVRational r = st->avg_frame_rate.num > 0 ? st->avg_frame_rate : st->r_frame_rate;
    return r.num > 0 && r.den > 0 ? av_q2d(AVRational{r.den, r.num}) : 0.04;
}

// The smallest difference between `written` and the source's pictures around a time.
double Nearest(const Thumbnail& written, const std::vector<Thumbnail>& around) {
    double best = 255.0;
    for (const Thumbnail& t : around) best = std::min(best, ThumbnailDifference(written, t));
    return best;
}

}  // namespace

SourcePictures ReadSourcePictures(const std::string& source, double start, double length) {
    const auto began = std::chrono::steady_clock::now();
    SourcePictures pictures;
    // Each end may be off by a frame (the engine rounds its cuts to whole frames): the
    // written picture is compared with the source's at the end, and one frame either side.
    const double frame = FrameDuration(source);
    if (length > 0) pictures.last = ReadThumbnails(source, PictureAt::Time, start + length - 2 * frame, 3);
    // A segment that runs past the end of the source ends with its last pictures.
    if (pictures.last.empty()) pictures.last = ReadThumbnails(source, PictureAt::Last, 0.0, 2);
    pictures.first = ReadThumbnails(source, PictureAt::Time, start - frame, 3);
    pictures.milliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - began).count();
    return pictures;
}

SegmentPictures CompareWithSource(const std::string& written, const std::string& source,
                                  const SourcePictures& pictures) {
    const auto began = std::chrono::steady_clock::now();
    SegmentPictures compared;
    // A picture scaled into a frame of another shape lies between black bars there.
    const PictureArea area =
        AreaWithinBars(DisplayAspect(FactsOf(source).description), DisplayAspect(FactsOf(written).description));
    const std::optional<Thumbnail> writtenFirst = ReadThumbnail(written, PictureAt::First, 0.0, area);
    const std::optional<Thumbnail> writtenLast = ReadThumbnail(written, PictureAt::Last, 0.0, area);
    if (!pictures.first.empty() && !pictures.last.empty() && writtenFirst && writtenLast) {
        compared.checked = true;
        compared.first = Nearest(*writtenFirst, pictures.first);
        compared.last = Nearest(*writtenLast, pictures.last);
    }
    compared.milliseconds =
        pictures.milliseconds +
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - began).count();
    return compared;
}

SegmentPictures CompareSegmentPictures(const std::string& written, const std::string& source, double start,
                                       double length) {
    return CompareWithSource(written, source, ReadSourcePictures(source, start, length));
}

std::string DescribeComparison(const SegmentPictures& compared) {
    char text[160];
    if (!compared.checked)
        std::snprintf(text, sizeof text, "pictures: not compared (a picture could not be decoded), %.0f ms",
                      compared.milliseconds);
    else
        std::snprintf(text, sizeof text, "pictures: first %.1f, last %.1f grey levels apart (same at %.0f or less), %.0f ms",
                      compared.first, compared.last, kSamePictureLimit, compared.milliseconds);
    return text;
}

}  // namespace helpers
