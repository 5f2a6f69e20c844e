#include "stream_readback.h"


#include <algorithm>
#include <filesystem>
#include <string_view>
#include <vector>

#include "engine.h"
#include "libav.h"

namespace helpers {
namespace {

using transcoda::StreamKind;
using transcoda::StreamReport;

// How much before the end the scan for the streams' last packets begins at first. A
// stream with no packet in it (a sound that stops before the picture, a picture that
// stops before the sound) has its end further back: the scan begins again this many
// times as far from the end, until every stream has a packet in it or the scan reaches
// the start. Each stream's end is then its own last packet's, never where a scan began.
constexpr double kTailSeconds = 3.0;
constexpr double kTailGrowth = 4.0;
// How much of the start the streams are looked for in: enough for every muxer's
// interleaving, far less than the library's default, which decodes seconds of a
// program stream. A stream that first shows up later is still taken from the scan.
constexpr const char* kAnalyzeMicroseconds = "500000";
constexpr const char* kProbeBytes = "1000000";
// What may follow the last indexed packet of an AVI file whose index covers all of it:
// the index itself (16 bytes an entry at most) and some padding.
constexpr int64_t kIndexBytesPerEntry = 16;
constexpr int64_t kAfterIndexedData = 65536;

double Seconds(int64_t value, AVRational base) { return static_cast<double>(value) * av_q2d(base); }

bool IsPcm(AVCodecID id) { return id >= AV_CODEC_ID_FIRST_AUDIO && id < AV_CODEC_ID_ADPCM_IMA_QT; }

// Demuxers whose every packet carries the file's own time, so that the packets read
// after a seek are timed right wherever the seek lands. The others count their
// packets' times from where the reading starts: AVI counts frames and bytes from the
// index entry a seek lands on (late by the dropped-frame entries in between), raw
// streams count frames from a position estimated from the bit rate. Those are read
// from the start, or, for AVI, from the index loaded with the header.
bool TimesSurviveSeek(const AVFormatContext* fc) {
    const std::string_view name = fc->iformat->name;
    for (std::string_view own : {"mov,mp4,m4a,3gp,3g2,mj2", "matroska,webm", "mpeg", "mpegts", "flv", "asf", "ogg",
                                 "nut"})
        if (name == own) return true;
    if (name != "wav") return false;
    // PCM in a WAV file: a time is a byte position.
    for (unsigned i = 0; i < fc->nb_streams; ++i)
        if (!IsPcm(fc->streams[i]->codecpar->codec_id)) return false;
    return true;
}

// The picture and sound streams of a file, with where each one starts and where its
// packets read so far end.
class StreamEnds {
public:
    StreamEnds(AVFormatContext* fc, StreamReport& report) : fc_(fc), report_(report) { TakeNewStreams(); }

    // Reads every packet from where the reading stands to the end of the file.
    void ReadToEnd() {
        AVPacket* packet = Libav().av_packet_alloc();
        while (packet != nullptr && Libav().av_read_frame(fc_, packet) >= 0) {
            if (packet->stream_index >= static_cast<int>(index_.size())) TakeNewStreams();
            const int at = packet->stream_index < static_cast<int>(index_.size()) ? index_[packet->stream_index] : -1;
            const int64_t ts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
            if (at >= 0 && ts != AV_NOPTS_VALUE) {
                const AVStream* st = fc_->streams[packet->stream_index];
                const double stop = Seconds(ts + std::max<int64_t>(0, packet->duration), st->time_base);
                end_[static_cast<size_t>(at)] = std::max(end_[static_cast<size_t>(at)], stop);
                double& first = firstSeen_[static_cast<size_t>(at)];
                const double at0 = Seconds(ts, st->time_base);
                if (first < 0 || at0 < first) first = at0;
            }
            Libav().av_packet_unref(packet);
        }
        Libav().av_packet_free(&packet);
    }

    // After a reading from the start of the file: a stream whose start neither it nor
    // the file gave (a program stream too short for its times to be found) starts at
    // its first packet read.
    void TakeUnknownStartsFromFirstPackets() {
        for (size_t i = 0; i < start_.size(); ++i)
            if (!startKnown_[i] && firstSeen_[i] >= 0) start_[i] = firstSeen_[i];
    }

    bool EveryStreamEnds() const {
        return std::all_of(end_.begin(), end_.end(), [](double e) { return e >= 0; });
    }

    // The ends of an AVI file's streams from the index its header came with, when that
    // index holds every stream and reaches the end of the file.
    bool TakeIndexedEnds() {
        std::vector<double> ends(end_.size(), -1.0);
        int64_t reached = 0, entries = 0;
        for (unsigned i = 0; i < fc_->nb_streams; ++i) {
            AVStream* st = fc_->streams[i];
            const int n = Libav().avformat_index_get_entries_count(st);
            entries += n;
            const AVIndexEntry* last = LastFilledEntry(st, n);
            if (last != nullptr) reached = std::max(reached, last->pos + last->size);
            const int at = i < index_.size() ? index_[i] : -1;
            if (at < 0) continue;
            ends[static_cast<size_t>(at)] = IndexedEnd(st, n, last);
            if (ends[static_cast<size_t>(at)] < 0) return false;
        }
        const int64_t size = Libav().avio_size(fc_->pb);
        if (size <= 0 || size - reached > kIndexBytesPerEntry * entries + kAfterIndexedData) return false;
        end_ = ends;
        return true;
    }

    // Each stream's length; a stream never found ends at `bound` when that is not
    // negative (a scan from there found nothing of it), else its length is not known.
    void Report(double bound) const {
        for (size_t i = 0; i < report_.Streams.size(); ++i) {
            const double last = end_[i] >= 0 ? end_[i] : bound;
            if (last >= 0) report_.Streams[i].Seconds = std::max(0.0, last - start_[i]);
        }
    }

private:
    void TakeNewStreams() {
        for (unsigned i = static_cast<unsigned>(index_.size()); i < fc_->nb_streams; ++i) {
            index_.push_back(-1);
            const AVStream* st = fc_->streams[i];
            const AVMediaType type = st->codecpar->codec_type;
            if (type != AVMEDIA_TYPE_VIDEO && type != AVMEDIA_TYPE_AUDIO) continue;
            if (st->disposition & AV_DISPOSITION_ATTACHED_PIC) continue;
            index_.back() = static_cast<int>(report_.Streams.size());
            report_.Streams.push_back({type == AVMEDIA_TYPE_VIDEO ? StreamKind::Video : StreamKind::Audio, -1.0});
            // A stream found while scanning starts where the file does.
            if (st->start_time != AV_NOPTS_VALUE) start_.push_back(Seconds(st->start_time, st->time_base));
            else start_.push_back(fc_->start_time != AV_NOPTS_VALUE ? Seconds(fc_->start_time, AV_TIME_BASE_Q) : 0.0);
            startKnown_.push_back(st->start_time != AV_NOPTS_VALUE || fc_->start_time != AV_NOPTS_VALUE);
            end_.push_back(-1.0);
            firstSeen_.push_back(-1.0);
        }
    }

    // The last index entry that holds data: an empty one is a dropped frame.
    static const AVIndexEntry* LastFilledEntry(AVStream* st, int n) {
        for (int k = n - 1; k >= 0 && k >= n - 1000; --k) {
            const AVIndexEntry* e = Libav().avformat_index_get_entry(st, k);
            if (e != nullptr && e->size > 0) return e;
        }
        return nullptr;
    }

    // Where the last indexed packet of an AVI stream ends. An AVI index counts a
    // picture or a coded sound frame in units of the stream's time base, one an entry
    // (a sound frame of `block_align` samples' worth of bytes or less counts one), and
    // constant-rate sound in bytes from the start, `block_align` bytes a unit: the
    // entries' times then grow by their sizes. Negative when it cannot tell.
    static double IndexedEnd(AVStream* st, int n, const AVIndexEntry* last) {
        if (last == nullptr || n < 2) return -1.0;
        const int blockAlign = st->codecpar->block_align;
        bool bytes = st->codecpar->codec_type == AVMEDIA_TYPE_AUDIO;
        for (int k = std::max(0, n - 9); bytes && k + 1 < n; ++k) {
            const AVIndexEntry* a = Libav().avformat_index_get_entry(st, k);
            const AVIndexEntry* b = Libav().avformat_index_get_entry(st, k + 1);
            bytes = a != nullptr && b != nullptr && b->timestamp - a->timestamp == a->size;
        }
        int64_t units = 0;
        if (bytes) {
            if (blockAlign <= 0) return -1.0;
            units = (last->timestamp + last->size) / blockAlign;
        } else if (st->codecpar->codec_type == AVMEDIA_TYPE_AUDIO && blockAlign > 0) {
            units = last->timestamp + (last->size + blockAlign - 1) / blockAlign;
        } else {
            units = last->timestamp + 1;
        }
        return Seconds(units, st->time_base);
    }

    AVFormatContext* fc_;
    StreamReport& report_;
    std::vector<int> index_;  // the report's stream of each of the file's streams, or -1
    std::vector<double> start_, end_;
    std::vector<bool> startKnown_;
    std::vector<double> firstSeen_;  // the earliest time of each stream's packets read so far
};

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
    StreamEnds ends(fc, report);

    if (std::string_view(fc->iformat->name) == "avi" && ends.TakeIndexedEnds()) {
        ends.Report(-1.0);
        return report;
    }
    if (!TimesSurviveSeek(fc) || fc->duration == AV_NOPTS_VALUE || fc->duration <= 0) {
        // From the start: nothing is read yet but the packets the stream search keeps
        // for the first reads.
        ends.ReadToEnd();
        ends.TakeUnknownStartsFromFirstPackets();
        ends.Report(-1.0);
        return report;
    }
    // The last packets of every stream: from a little before the end, then from further
    // back while a stream has no packet in what was read.
    const int64_t fileStart = fc->start_time != AV_NOPTS_VALUE ? fc->start_time : 0;
    double bound = -1.0;
    bool scanned = false;
    for (double tail = kTailSeconds;; tail *= kTailGrowth) {
        const int64_t target =
            std::max(fileStart, fileStart + fc->duration - static_cast<int64_t>(tail * AV_TIME_BASE));
        if (Libav().av_seek_frame(fc, -1, target, AVSEEK_FLAG_BACKWARD) < 0) {
            // Where the file cannot seek there, it is read from the start: before the
            // first scan the reading stands there. Only a file that cannot go back to
            // its start leaves the streams not found to end before the last scan began
            // (an upper bound).
            if (!scanned || Libav().av_seek_frame(fc, -1, fileStart, AVSEEK_FLAG_BACKWARD) >= 0) {
                ends.ReadToEnd();
                bound = -1.0;
            }
            break;
        }
        ends.ReadToEnd();
        scanned = true;
        if (ends.EveryStreamEnds() || target == fileStart) {
            bound = -1.0;
            break;
        }
        bound = static_cast<double>(target) / AV_TIME_BASE;
    }
    ends.Report(bound);
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
