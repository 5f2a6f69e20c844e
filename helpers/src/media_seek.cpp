#include "media_seek.h"

#include <cmath>

#include "libav.h"

namespace helpers {
namespace {

double FileStart(const AVFormatContext* fc) {
    return fc->start_time != AV_NOPTS_VALUE ? static_cast<double>(fc->start_time) / AV_TIME_BASE : 0.0;
}

bool SeekTo(AVFormatContext* fc, int stream, double seconds) {
    const AVStream* st = fc->streams[stream];
    const auto ts = static_cast<int64_t>(std::floor((seconds + FileStart(fc)) / av_q2d(st->time_base)));
    return Libav().av_seek_frame(fc, stream, ts, AVSEEK_FLAG_BACKWARD) >= 0;
}

// The time of the first key frame of `stream` from the reading position (decoding
// starts there); nan at the end.
double FirstKeyTime(AVFormatContext* fc, int stream) {
    AVPacket* packet = Libav().av_packet_alloc();
    double at = std::nan("");
    while (packet != nullptr && Libav().av_read_frame(fc, packet) >= 0) {
        const int64_t ts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        const bool found = packet->stream_index == stream && ts != AV_NOPTS_VALUE && (packet->flags & AV_PKT_FLAG_KEY);
        if (found) at = SecondsInFile(fc, stream, ts);
        Libav().av_packet_unref(packet);
        if (found) break;
    }
    Libav().av_packet_free(&packet);
    return at;
}

}  // namespace

int FirstPictureStream(const AVFormatContext* fc) {
    for (unsigned i = 0; i < fc->nb_streams; ++i)
        if (fc->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
            !(fc->streams[i]->disposition & AV_DISPOSITION_ATTACHED_PIC))
            return static_cast<int>(i);
    return -1;
}

double SecondsInFile(const AVFormatContext* fc, int stream, long long timestamp) {
    return static_cast<double>(timestamp) * av_q2d(fc->streams[stream]->time_base) - FileStart(fc);
}

bool SeekBefore(AVFormatContext* fc, int stream, double seconds) {
    // Each retry asks for twice as far back; the start of the file ends the search.
    for (double back = 0.0;; back = back == 0.0 ? 1.0 : back * 2) {
        const double target = seconds - back;
        if (target <= 0) return Libav().av_seek_frame(fc, -1, 0, AVSEEK_FLAG_BYTE) >= 0 || SeekTo(fc, stream, 0.0);
        if (!SeekTo(fc, stream, target)) return false;
        const double first = FirstKeyTime(fc, stream);
        // No key frame from there to the end is as bad as one after the time.
        if (first <= seconds + 0.001) return SeekTo(fc, stream, target);
    }
}

}  // namespace helpers
