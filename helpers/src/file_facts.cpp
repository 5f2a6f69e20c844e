#include "file_facts.h"


#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <deque>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "libav.h"
#include "stream_readback.h"

namespace helpers {
namespace {

using transcoda::FileIdentity;
using transcoda::ProbeAnswer;
using transcoda::ProbeCache;

// The library's messages while the description is written, gathered instead of printed.
std::string* gCaptured = nullptr;

void CaptureMessage(void*, int level, const char* format, va_list args) {
    if (gCaptured == nullptr || level > AV_LOG_INFO) return;
    va_list copy;
    va_copy(copy, args);
    char line[1024];
    const int size = std::vsnprintf(line, sizeof line, format, copy);
    va_end(copy);
    if (size < 0) return;
    if (static_cast<size_t>(size) < sizeof line) {
        gCaptured->append(line, static_cast<size_t>(size));
        return;
    }
    std::vector<char> longer(static_cast<size_t>(size) + 1);
    std::vsnprintf(longer.data(), longer.size(), format, args);
    gCaptured->append(longer.data(), static_cast<size_t>(size));
}

// Sound whose channels the file does not name gets the usual layout of its channel
// count, as the engine gives it (and says so) before it describes the input.
std::string GuessChannelLayouts(AVFormatContext* fc) {
    std::string said;
    for (unsigned i = 0; i < fc->nb_streams; ++i) {
        AVCodecParameters* par = fc->streams[i]->codecpar;
        if (par->codec_type != AVMEDIA_TYPE_AUDIO || par->ch_layout.order != AV_CHANNEL_ORDER_UNSPEC) continue;
        AVChannelLayout guessed;
        Libav().av_channel_layout_default(&guessed, par->ch_layout.nb_channels);
        if (guessed.order == AV_CHANNEL_ORDER_UNSPEC) continue;
        char name[128] = {};
        Libav().av_channel_layout_describe(&guessed, name, sizeof name);
        Libav().av_channel_layout_uninit(&par->ch_layout);
        par->ch_layout = guessed;
        said += "Guessed Channel Layout for Input Stream #0." + std::to_string(i) + " : " + name + "\n";
    }
    return said;
}

// The "Input #0 ..." description the engine prints for an input, written by the same
// library routine the engine uses.
std::string DescriptionLines(AVFormatContext* fc, const std::string& path) {
    std::string lines = GuessChannelLayouts(fc);
    gCaptured = &lines;
    Libav().av_log_set_callback(CaptureMessage);
    Libav().av_log_set_level(AV_LOG_INFO);
    Libav().av_dump_format(fc, 0, path.c_str(), 0);
    Libav().av_log_set_level(AV_LOG_QUIET);
    Libav().av_log_set_callback(Libav().av_log_default_callback);
    gCaptured = nullptr;
    return lines;
}

std::string Rational(AVRational r) { return std::to_string(r.num) + "/" + std::to_string(r.den); }

const char* FieldOrderName(AVFieldOrder order) {
    switch (order) {
        case AV_FIELD_PROGRESSIVE: return "progressive";
        case AV_FIELD_TT: return "tt";
        case AV_FIELD_BB: return "bb";
        case AV_FIELD_TB: return "tb";
        case AV_FIELD_BT: return "bt";
        default: return "unknown";
    }
}

// The picture's shape as ffprobe gives it: the pixel's aspect ratio (the stream's,
// else the coding's), how its fields are stored, and the turn of its display matrix.
std::string PictureShape(const AVStream* st) {
    const AVCodecParameters* par = st->codecpar;
    const AVRational sar = st->sample_aspect_ratio.num > 0 ? st->sample_aspect_ratio : par->sample_aspect_ratio;
    std::string text = "sample_aspect_ratio=" +
                       (sar.num > 0 && sar.den > 0 ? std::to_string(sar.num) + ":" + std::to_string(sar.den) : "N/A") +
                       "\nfield_order=" + FieldOrderName(par->field_order) + "\n";
    size_t size = 0;
    const uint8_t* matrix = Libav().av_stream_get_side_data(st, AV_PKT_DATA_DISPLAYMATRIX, &size);
    if (matrix != nullptr && size >= 9 * sizeof(int32_t)) {
        const double turn = Libav().av_display_rotation_get(reinterpret_cast<const int32_t*>(matrix));
        if (!std::isnan(turn)) text += "rotation=" + std::to_string(std::lround(turn)) + "\n";
    }
    return text;
}

std::string SecondsOrNa(int64_t value) {
    if (value == AV_NOPTS_VALUE) return "N/A";
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", static_cast<double>(value) / AV_TIME_BASE);
    return text;
}

// The streams and the container as ffprobe's default output gives them (the fields
// ParseProbeOutput reads), so that one reader serves both.
std::string StreamDescription(const AVFormatContext* fc) {
    std::string text;
    for (unsigned i = 0; i < fc->nb_streams; ++i) {
        const AVStream* st = fc->streams[i];
        const AVCodecParameters* par = st->codecpar;
        const char* type = Libav().av_get_media_type_string(par->codec_type);
        text += "[STREAM]\ncodec_type=" + std::string(type ? type : "unknown") + "\n";
        text += "codec_name=" + std::string(Libav().avcodec_get_name(par->codec_id)) + "\n";
        if (par->codec_type == AVMEDIA_TYPE_VIDEO)
            text += "width=" + std::to_string(par->width) + "\nheight=" + std::to_string(par->height) + "\n" +
                    PictureShape(st);
        if (par->codec_type == AVMEDIA_TYPE_AUDIO)
            text += "sample_rate=" + std::to_string(par->sample_rate) + "\nchannels=" +
                    std::to_string(par->ch_layout.nb_channels) + "\n";
        text += "avg_frame_rate=" + Rational(st->avg_frame_rate) + "\nr_frame_rate=" + Rational(st->r_frame_rate) +
                "\n[/STREAM]\n";
    }
    text += "[FORMAT]\nduration=" + SecondsOrNa(fc->duration) + "\nstart_time=" + SecondsOrNa(fc->start_time) +
            "\n[/FORMAT]\n";
    return text;
}

// The engine's words for a file it cannot read.
std::string ErrorText(int error) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    Libav().av_strerror(error, text, sizeof text);
    return text;
}

// The facts this tool has read, by the identity of the file when it was read.
std::vector<std::pair<FileIdentity, std::unique_ptr<FileFacts>>>& Known() {
    static std::vector<std::pair<FileIdentity, std::unique_ptr<FileFacts>>> known;
    return known;
}

FileFacts FactsFromAnswer(ProbeAnswer answer) {
    FileFacts facts;
    facts.description = ParseProbeOutput(answer.Description);
    facts.streams = transcoda::ParseStreamReport(answer.Output).value_or(transcoda::StreamReport{});
    facts.answer = std::move(answer);
    return facts;
}

}  // namespace

FileFacts ReadFileFacts(const std::string& path) {
    FileFacts facts;
    ProbeAnswer& answer = facts.answer;
    answer.ExitCode = 1;
    {
        const OpenedMedia media(path);
        if (AVFormatContext* fc = media.Context()) {
            answer.Output = DescriptionLines(fc, path) + "At least one output file must be specified\n";
            answer.Description = StreamDescription(fc);
            facts.description = ParseProbeOutput(answer.Description);
            facts.streams = ScanStreams(media);
        } else {
            answer.Output = path + ": " +
                            (media.OpenError() < 0 ? ErrorText(media.OpenError()) : "could not find codec parameters") +
                            "\n";
        }
    }
    answer.Output += "\n" + transcoda::FormatStreamReport(facts.streams) + "\n";
    return facts;
}

const FileFacts& FactsOf(const std::string& path) {
    const std::optional<FileIdentity> identity = transcoda::IdentityOf(path);
    if (!identity) {
        // Not a regular file (missing, a device, a protocol): read each time, not kept
        // in the cache.
        static std::deque<FileFacts> unnamed;
        return unnamed.emplace_back(ReadFileFacts(path));
    }
    auto& known = Known();
    for (const auto& [id, facts] : known)
        if (id == *identity) return *facts;

    const ProbeCache cache = ProbeCache::FromEnvironment();
    if (std::optional<ProbeAnswer> kept = cache.Find(*identity)) {
        known.emplace_back(*identity, std::make_unique<FileFacts>(FactsFromAnswer(std::move(*kept))));
        return *known.back().second;
    }
    FileFacts facts = ReadFileFacts(path);
    // Kept only when the file did not change while it was read.
    if (transcoda::IdentityOf(path) == identity) return KeepFacts(*identity, std::move(facts));
    known.emplace_back(*identity, std::make_unique<FileFacts>(std::move(facts)));
    return *known.back().second;
}

const FileFacts& KeepFacts(const FileIdentity& identity, FileFacts facts) {
    ProbeCache::FromEnvironment().Store(identity, facts.answer);
    auto& known = Known();
    known.emplace_back(identity, std::make_unique<FileFacts>(std::move(facts)));
    return *known.back().second;
}

bool FactsInBackground::Start(const std::string& path) {
    return Start([path] { FactsOf(path); });
}

bool FactsInBackground::Start(std::function<void()> reading) {
    if (thread_.joinable()) return false;
    try {
        thread_ = std::thread([reading = std::move(reading)] {
            if (LibavAvailable()) reading();
        });
    } catch (...) {
        return false;
    }
    return true;
}

void FactsInBackground::Join() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace helpers
