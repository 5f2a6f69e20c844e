#include "stream_readback.h"


#include <algorithm>
#include <filesystem>
#include <vector>

#include "engine.h"
#include "libav.h"

namespace helpers {
namespace {

using transcoda::StreamKind;
using transcoda::StreamReport;

// How much before the end the scan for the streams' last packets begins. A stream that
// has no packet in it ended before the scan began, and is given that as its end: never
// less than its true length, so that only a stream that really stops early is found
// short.
constexpr double kTailSeconds = 3.0;
// How much of the start the streams are looked for in: enough for every muxer's
// interleaving, far less than the library's default, which decodes seconds of a
// program stream. A stream that first shows up later is still taken from the scan.
constexpr const char* kAnalyzeMicroseconds = "500000";
constexpr const char* kProbeBytes = "1000000";

double Seconds(int64_t value, AVRational base) { return static_cast<double>(value) * av_q2d(base); }

}  // namespace

OpenedMedia::OpenedMedia(const std::string& path) {
    Libav().av_log_set_level(AV_LOG_QUIET);
    AVDictionary* options = nullptr;
    Libav().av_dict_set(&options, "analyzeduration", kAnalyzeMicroseconds, 0);
    Libav().av_dict_set(&options, "probesize", kProbeBytes, 0);
    openError_ = Libav().avformat_open_input(&context_, path.c_str(), nullptr, &options);
    Libav().av_dict_free(&options);
    if (openError_ < 0) return;
    openError_ = 0;
    found_ = Libav().avformat_find_stream_info(context_, nullptr) >= 0;
}

OpenedMedia::~OpenedMedia() { Libav().avformat_close_input(&context_); }

StreamReport ScanStreams(const OpenedMedia& media) {
    StreamReport report;
    AVFormatContext* fc = media.Context();
    if (fc == nullptr) return report;
    report.Readable = true;

    // The picture and sound streams, with where each one starts; a stream found while
    // scanning starts where the file does.
    std::vector<int> index;
    std::vector<double> start, end;
    auto takeNewStreams = [&] {
        for (unsigned i = static_cast<unsigned>(index.size()); i < fc->nb_streams; ++i) {
            index.push_back(-1);
            const AVStream* st = fc->streams[i];
            const AVMediaType type = st->codecpar->codec_type;
            if (type != AVMEDIA_TYPE_VIDEO && type != AVMEDIA_TYPE_AUDIO) continue;
            if (st->disposition & AV_DISPOSITION_ATTACHED_PIC) continue;
            index.back() = static_cast<int>(report.Streams.size());
            report.Streams.push_back({type == AVMEDIA_TYPE_VIDEO ? StreamKind::Video : StreamKind::Audio, -1.0});
            if (st->start_time != AV_NOPTS_VALUE) start.push_back(Seconds(st->start_time, st->time_base));
            else start.push_back(fc->start_time != AV_NOPTS_VALUE ? Seconds(fc->start_time, AV_TIME_BASE_Q) : 0.0);
            end.push_back(-1.0);
        }
    };
    takeNewStreams();

    // Read the last packets of every stream: from a little before the end when the
    // file says how long it is, from where the reading stands otherwise.
    double scanFrom = 0.0;
    if (fc->duration != AV_NOPTS_VALUE && fc->duration > 0) {
        const int64_t fileStart = fc->start_time != AV_NOPTS_VALUE ? fc->start_time : 0;
        const int64_t target = fileStart + fc->duration - static_cast<int64_t>(kTailSeconds * AV_TIME_BASE);
        if (target > fileStart && Libav().av_seek_frame(fc, -1, target, AVSEEK_FLAG_BACKWARD) >= 0)
            scanFrom = static_cast<double>(target) / AV_TIME_BASE;
    }
    AVPacket* packet = Libav().av_packet_alloc();
    while (packet != nullptr && Libav().av_read_frame(fc, packet) >= 0) {
        if (packet->stream_index >= static_cast<int>(index.size())) takeNewStreams();
        const int at = packet->stream_index < static_cast<int>(index.size()) ? index[packet->stream_index] : -1;
        const int64_t ts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        if (at >= 0 && ts != AV_NOPTS_VALUE) {
            const AVStream* st = fc->streams[packet->stream_index];
            const double stop = Seconds(ts + std::max<int64_t>(0, packet->duration), st->time_base);
            end[static_cast<size_t>(at)] = std::max(end[static_cast<size_t>(at)], stop);
        }
        Libav().av_packet_unref(packet);
    }
    Libav().av_packet_free(&packet);

    for (size_t i = 0; i < report.Streams.size(); ++i) {
        // A stream with no packet near the end ended before the scan began.
        const double last = end[i] >= 0 ? end[i] : (scanFrom > 0 ? scanFrom : -1.0);
        if (last >= 0) report.Streams[i].Seconds = std::max(0.0, last - start[i]);
    }
    return report;
}

StreamReport ReadStreams(const std::string& path) {
    const OpenedMedia media(path);
    return ScanStreams(media);
}

StreamReport ReadDvdTitle(const std::string& dvdFolder) {
    std::string parts;
    for (int n = 1; n < 10; ++n) {
        const std::string vob = dvdFolder + "/VIDEO_TS/VTS_01_" + std::to_string(n) + ".VOB";
        if (!std::filesystem::exists(vob)) break;
        parts += (parts.empty() ? "" : "|") + vob;
    }
    if (parts.empty()) return {};
    return ReadStreams(parts.find('|') == std::string::npos ? parts : "concat:" + parts);
}

void PrintStreamReport(const StreamReport& report) { WriteAll(2, "\n" + transcoda::FormatStreamReport(report) + "\n"); }

}  // namespace helpers
