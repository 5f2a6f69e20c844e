#include "containers.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>

namespace helpers {
namespace {

using V = std::vector<std::string>;

const V kMpegPsVideo = {"mpeg1video", "mpeg2video"};
const V kMpegPsAudio = {"mp2", "mp3", "ac3", "dts", "pcm_dvd"};
const V kTsVideo = {"mpeg1video", "mpeg2video", "h264", "hevc", "mpeg4"};
const V kTsAudio = {"mp2", "mp3", "ac3", "eac3", "aac", "dts"};
const V kAviVideo = {"mpeg4", "h264", "hevc", "mjpeg", "rawvideo", "msmpeg4v2", "msmpeg4v3", "wmv1", "wmv2",
                     "mpeg1video", "mpeg2video", "h263", "flv1", "dvvideo", "vp8", "huffyuv", "ffv1", "msmpeg4v1"};
const V kAviAudio = {"mp3", "mp2", "ac3", "pcm_s16le", "pcm_u8", "wmav1", "wmav2", "aac", "dts", "adpcm_ms",
                     "adpcm_ima_wav", "pcm_alaw", "pcm_mulaw", "flac", "eac3"};
const V kMp4Video = {"h264", "hevc", "mpeg4", "mpeg2video", "mpeg1video", "mjpeg", "av1", "vp9"};
const V kMp4Audio = {"aac", "mp3", "ac3", "eac3", "alac", "mp2", "opus", "flac"};
const V kMovVideo = {"h264", "hevc", "mpeg4", "h263", "mjpeg", "prores", "rawvideo", "mpeg2video",
                     "mpeg1video", "dvvideo", "svq1", "svq3", "png", "vp9", "av1"};
const V kMovAudio = {"aac", "mp3", "ac3", "eac3", "alac", "pcm_s16le", "pcm_s16be", "amr_nb", "amr_wb",
                     "adpcm_ima_qt", "pcm_u8", "mp2", "opus", "flac"};
const V k3gpVideo = {"h263", "mpeg4", "h264"};
const V k3gpAudio = {"aac", "amr_nb", "amr_wb"};
const V kAsfVideo = {"wmv1", "wmv2", "msmpeg4v3", "msmpeg4v2", "mpeg4", "h264", "mjpeg"};
const V kAsfAudio = {"wmav1", "wmav2", "mp3", "ac3", "pcm_s16le", "mp2", "aac"};
const V kWavAudio = {"pcm_s16le", "pcm_u8", "pcm_s24le", "pcm_s32le", "pcm_f32le", "mp3", "mp2", "adpcm_ms",
                     "adpcm_ima_wav", "pcm_alaw", "pcm_mulaw", "ac3", "wmav2"};

Container Make(std::string format, bool guesses, V video, V audio, std::string venc, std::string aenc) {
    Container c;
    c.format = std::move(format);
    c.ffmpegGuesses = guesses;
    c.videoCodecs = std::move(video);
    c.audioCodecs = std::move(audio);
    c.videoEncoder = std::move(venc);
    c.audioEncoder = std::move(aenc);
    c.video = !c.videoEncoder.empty();
    c.audio = !c.audioEncoder.empty();
    return c;
}

std::map<std::string, Container> BuildTable() {
    std::map<std::string, Container> t;
    Container avi = Make("avi", true, kAviVideo, kAviAudio, "mpeg4", "libmp3lame");
    for (auto e : {"avi", "div", "divx"}) t[e] = avi;
    t["div"].ffmpegGuesses = t["divx"].ffmpegGuesses = false;
    Container nsv = avi;
    nsv.ffmpegGuesses = false;
    nsv.note = "no writer for this container; writing AVI";
    for (auto e : {"nsv", "fli", "flic"}) t[e] = nsv;

    Container mpeg = Make("mpeg", true, kMpegPsVideo, kMpegPsAudio, "mpeg1video", "mp2");
    for (auto e : {"mpeg", "mpg", "mpe", "dat", "mvv"}) t[e] = mpeg;
    t["mpe"].ffmpegGuesses = t["dat"].ffmpegGuesses = t["mvv"].ffmpegGuesses = false;
    Container vob = Make("vob", true, kMpegPsVideo, kMpegPsAudio, "mpeg2video", "ac3");
    for (auto e : {"vob", "vro", "mod"}) t[e] = vob;
    t["vro"].ffmpegGuesses = t["mod"].ffmpegGuesses = false;

    Container ts = Make("mpegts", true, kTsVideo, kTsAudio, "mpeg2video", "mp2");
    for (auto e : {"ts", "tp", "m2t"}) t[e] = ts;
    t["tp"].ffmpegGuesses = false;
    Container m2ts = Make("mpegts", true, kTsVideo, kTsAudio, "libx264", "ac3");
    m2ts.extraOptions = {"-mpegts_m2ts_mode", "1"};
    for (auto e : {"m2ts", "mts", "tod"}) t[e] = m2ts;
    t["tod"].ffmpegGuesses = false;

    // The MP4 files written here are for players (iPod, iPhone, game consoles, PSP) that
    // take two channels; QuickTime files and the others keep every channel.
    Container mp4 = Make("mp4", true, kMp4Video, kMp4Audio, "libx264", "aac");
    mp4.maxChannels = 2;
    for (auto e : {"mp4", "m4v"}) t[e] = mp4;
    Container mov = Make("mov", true, kMovVideo, kMovAudio, "libx264", "aac");
    for (auto e : {"mov", "qt"}) t[e] = mov;
    t["qt"].ffmpegGuesses = false;
    Container g3 = Make("3gp", true, k3gpVideo, k3gpAudio, "mpeg4", "aac");
    g3.maxChannels = 2;
    for (auto e : {"3gp", "3gpp"}) t[e] = g3;
    Container g32 = g3;
    g32.format = "3g2";
    for (auto e : {"3g2", "3gp2"}) t[e] = g32;
    t["3gpp"].ffmpegGuesses = t["3gp2"].ffmpegGuesses = false;

    Container flv = Make("flv", true, {"flv1", "h264", "vp6f"}, {"mp3", "aac", "pcm_s16le", "nellymoser", "speex"},
                         "flv1", "libmp3lame");
    flv.audioRates = {44100, 22050, 11025};
    flv.maxChannels = 2;
    flv.noReorderedPictures = true;
    t["flv"] = flv;
    Container f4v = Make("f4v", true, {"h264"}, {"aac", "mp3"}, "libx264", "aac");
    f4v.maxChannels = 2;
    for (auto e : {"f4v", "f4p"}) t[e] = f4v;
    t["f4p"].ffmpegGuesses = false;

    Container asf = Make("asf", true, kAsfVideo, kAsfAudio, "wmv2", "wmav2");
    for (auto e : {"wmv", "asf"}) t[e] = asf;
    t["wma"] = Make("asf", true, {}, kAsfAudio, "", "wmav2");

    t["mkv"] = Make("matroska", true, {}, {}, "libx264", "aac");
    t["mka"] = Make("matroska", true, {}, {}, "", "aac");
    t["webm"] = Make("webm", true, {"vp8", "vp9", "av1"}, {"vorbis", "opus"}, "libvpx", "libvorbis");
    Container ogg = Make("ogg", true, {"theora", "vp8"}, {"vorbis", "opus", "flac", "speex"}, "libtheora", "libvorbis");
    for (auto e : {"ogg", "ogv", "ogm"}) t[e] = ogg;
    t["ogm"].ffmpegGuesses = false;
    Container rm = Make("rm", true, {"rv10", "rv20"}, {"ac3"}, "rv20", "ac3");
    for (auto e : {"rm", "ram", "rmvb", "rv", "ivr"}) t[e] = rm;
    t["ram"].ffmpegGuesses = t["rmvb"].ffmpegGuesses = t["rv"].ffmpegGuesses = t["ivr"].ffmpegGuesses = false;
    Container dv = Make("dv", true, {"dvvideo"}, {"pcm_s16le"}, "dvvideo", "pcm_s16le");
    dv.audioRates = {48000};
    dv.maxChannels = 2;
    t["dv"] = dv;
    t["m2v"] = Make("mpeg2video", true, {"mpeg2video"}, {}, "mpeg2video", "");
    t["m1v"] = Make("mpeg1video", true, {"mpeg1video"}, {}, "mpeg1video", "");

    t["wav"] = Make("wav", true, {}, kWavAudio, "", "pcm_s16le");
    t["mp3"] = Make("mp3", true, {}, {"mp3"}, "", "libmp3lame");
    t["m4a"] = Make("ipod", true, {}, {"aac", "alac"}, "", "aac");
    t["aac"] = Make("adts", true, {}, {"aac"}, "", "aac");
    t["flac"] = Make("flac", true, {}, {"flac"}, "", "flac");
    t["opus"] = Make("opus", true, {}, {"opus"}, "", "libopus");
    t["oga"] = Make("ogg", true, {}, {"vorbis", "opus", "flac", "speex"}, "", "libvorbis");
    t["mp2"] = Make("mp2", true, {}, {"mp2"}, "", "mp2");
    Container au = Make("au", true, {}, {"pcm_s16be", "pcm_mulaw", "pcm_alaw", "pcm_s8"}, "", "pcm_s16be");
    for (auto e : {"au", "snd"}) t[e] = au;
    Container aiff = Make("aiff", true, {}, {"pcm_s16be", "pcm_s24be", "pcm_s8", "pcm_alaw", "pcm_mulaw"}, "",
                          "pcm_s16be");
    for (auto e : {"aif", "aiff", "aifc"}) t[e] = aiff;
    t["aifc"].ffmpegGuesses = false;
    return t;
}

bool Contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

std::string LowerExtension(const std::string& path) {
    size_t slash = path.find_last_of('/');
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    std::string ext = path.substr(dot + 1);
    for (auto& ch : ext) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return ext;
}

const Container* ContainerForPath(const std::string& path) {
    static const std::map<std::string, Container> table = BuildTable();
    auto it = table.find(LowerExtension(path));
    return it == table.end() ? nullptr : &it->second;
}

bool HoldsVideo(const Container& c, const std::string& codec) {
    return c.video && (c.videoCodecs.empty() || Contains(c.videoCodecs, codec));
}

bool HoldsAudio(const Container& c, const std::string& codec) {
    return c.audio && (c.audioCodecs.empty() || Contains(c.audioCodecs, codec));
}

int FitSampleRate(const Container& c, int rate) {
    if (c.audioRates.empty() || rate <= 0) return rate;
    int above = 0, highest = 0;
    for (int r : c.audioRates) {
        if (r >= rate && (above == 0 || r < above)) above = r;
        highest = std::max(highest, r);
    }
    return above != 0 ? above : highest;
}

int BitsPerSecond(const std::string& value) {
    char* end = nullptr;
    double v = std::strtod(value.c_str(), &end);
    if (end && (*end == 'k' || *end == 'K')) v *= 1000;
    else if (end && (*end == 'm' || *end == 'M')) v *= 1000000;
    return static_cast<int>(v + 0.5);
}

int LowestRateForBitrate(const std::string& encoder, int bitsPerSecond) {
    if (encoder != "libmp3lame" && encoder != "mp3") return 0;
    // MPEG-1 Layer III (32 kHz and up) goes to 320 kbit/s, MPEG-2 (16 to 24 kHz) to 160,
    // MPEG-2.5 (8 to 12 kHz) to 64.
    if (bitsPerSecond > 160000) return 32000;
    if (bitsPerSecond > 64000) return 16000;
    return 0;
}

int ChannelLimit(const Container& c, const std::string& encoder) {
    static const std::map<std::string, int> encoders = {
        {"libmp3lame", 2}, {"mp3", 2},       {"mp2", 2},  {"mp2fixed", 2},   {"libtwolame", 2},
        {"wmav1", 2},      {"wmav2", 2},     {"ac3", 6},  {"ac3_fixed", 6},  {"eac3", 6},
        {"nellymoser", 1}, {"libopencore_amrnb", 1},    {"libspeex", 2}};
    auto it = encoders.find(encoder);
    const int own = it == encoders.end() ? 0 : it->second;
    if (own == 0) return c.maxChannels;
    return c.maxChannels == 0 ? own : std::min(own, c.maxChannels);
}

bool IsMpegVideoEncoder(const std::string& encoder) {
    return encoder == "mpeg1video" || encoder == "mpeg2video";
}

std::string NearestMpegRate(double fps) {
    static const double rates[] = {24000.0 / 1001, 24, 25, 30000.0 / 1001, 30, 50, 60000.0 / 1001, 60};
    for (double r : rates)
        if (std::abs(r - fps) < 0.01) return "";
    if (fps <= 0 || fps < 27.5) return "25";
    return fps < 40 ? "30000/1001" : "50";
}

std::string CodecOfEncoder(const std::string& encoder) {
    static const std::map<std::string, std::string> names = {
        {"libmp3lame", "mp3"},       {"libshine", "mp3"},       {"libx264", "h264"},
        {"libxvid", "mpeg4"},        {"libtheora", "theora"},   {"libvorbis", "vorbis"},
        {"libopencore_amrnb", "amr_nb"}, {"libopus", "opus"},   {"libfaac", "aac"},
        {"libfdk_aac", "aac"},       {"libx265", "hevc"},       {"libvpx", "vp8"},
        {"libtwolame", "mp2"},       {"flv", "flv1"},           {"msmpeg4", "msmpeg4v3"},       {"ac3_fixed", "ac3"},      {"mp2fixed", "mp2"}};
    auto it = names.find(encoder);
    return it == names.end() ? encoder : it->second;
}

}  // namespace helpers
