#include "recipes/size_estimate.h"

#include <algorithm>
#include <cmath>

#include "recipes/format_catalogue.h"
#include "recipes/path_rules.h"

namespace transcoda {

namespace {

// How a preset's rate is found.
enum class Rate {
    Fixed,        // the picture's and the sound's rates as the steps ask for them
    EngineRate,   // a rate the step does not name: the engine's, unless the coarsest
                  // quality of the picture's size takes more
    Quality,      // the picture coded for a quality: its pixels at kQualityBitsPerPixel
    Dvd,          // MPEG-2 picture and AC-3 sound at the DVD target's rates
    Wave,         // 16-bit PCM at the input's sample rate
    Uncompressed, // 4:2:0 pictures of the input's size, and 16-bit PCM
    PictureCopy,  // the input's picture copied, the sound coded again
    Segment,      // a segment chosen when the conversion starts
};

struct PresetRate {
    Rate kind;
    double videoKbps;  // Fixed: the picture's rate
    double audioKbps;
    // Quality, EngineRate: the picture's size and frame rate (0: the input's).
    int width = 0, height = 0;
    double fps = 0;
};

// The bits per pixel that x264's quality 22 gives to ordinary video, and the rates the
// engine uses where a step names none (200 kbit/s for MPEG-4 and H.263, as the engine's
// default; mencoder's 800 kbit/s for its WMV). A large picture does not fit in those:
// its coarsest quantiser still takes about kCoarsestBitsPerPixel.
constexpr double kQualityBitsPerPixel = 0.08;
constexpr double kCoarsestBitsPerPixel = 0.044;
constexpr double kEngineDefaultKbps = 200;
constexpr double kDvdVideoKbps = 6000, kDvdAudioKbps = 448;
constexpr double kNtsc = 30000.0 / 1001;

// By index, as the catalogue lists them.
const PresetRate kRates[kFormatCount] = {
    {Rate::Fixed, 4500, 192},                         // 0 HD Ready AVI
    {Rate::Fixed, 4200, 256},                         // 1 Full HD AVI
    {Rate::Fixed, 4200, 256},                         // 2 MPEG 1280x720
    {Rate::Fixed, 4200, 128},                         // 3 MPEG 640x480
    {Rate::Fixed, 4200, 128},                         // 4 MPEG 480x360
    {Rate::Fixed, 4200, 128},                         // 5 MPEG 320x240
    {Rate::Fixed, 4200, 256},                         // 6 FLV H.263 best
    {Rate::Fixed, 4200, 256},                         // 7 FLV H.264 best
    {Rate::Fixed, 920, 64},                           // 8 FLV quality 1 H.263
    {Rate::Fixed, 920, 112},                          // 9 FLV quality 1 H.264
    {Rate::Fixed, 780, 48},                           // 10 FLV quality 2
    {Rate::Fixed, 480, 24},                           // 11 FLV quality 3
    {Rate::EngineRate, 800, 96, 0, 0, 25},            // 12 WMV
    {Rate::Fixed, 104, 128},                          // 13 3GPP AAC
    {Rate::Fixed, 240, 12.2},                         // 14 3GPP AMR H.263 176x144
    {Rate::Fixed, 64, 12.2},                          // 15 3GPP AMR MPEG-4 176x144
    {Rate::Fixed, 140, 12.2},                         // 16 3GPP AMR H.263 128x96
    {Rate::Fixed, 44, 12.2},                          // 17 3GPP AMR MPEG-4 128x96
    {Rate::Quality, 0, 128, 848, 480},                // 18 QuickTime H.264 480p
    {Rate::Quality, 0, 128, 720, 576},                // 19 QuickTime H.264 DVD size
    {Rate::EngineRate, kEngineDefaultKbps, 128, 176, 144},  // 20 QuickTime H.263 176x144
    {Rate::EngineRate, kEngineDefaultKbps, 128, 352, 288},  // 21 QuickTime H.263 352x288
    {Rate::EngineRate, kEngineDefaultKbps, 128},            // 22 QuickTime MPEG-4 128k
    {Rate::EngineRate, kEngineDefaultKbps, 96},             // 23 QuickTime MPEG-4 96k
    {Rate::Quality, 0, 128, 320, 240, 30},            // 24 iPod 320x240
    {Rate::Quality, 0, 128, 640, 480, 30},            // 25 iPod 640x480
    {Rate::Quality, 0, 128, 640, 420, 30},            // 26 iPhone
    {Rate::Quality, 0, 128, 848, 480, kNtsc},         // 27 PS3
    {Rate::Quality, 0, 128, 368, 208, kNtsc},         // 28 PSP normal
    {Rate::Quality, 0, 128, 480, 272, kNtsc},         // 29 PSP high
    {Rate::Fixed, 300, 96},                           // 30 iPod MPEG-4
    {Rate::Quality, 0, 128, 848, 480, kNtsc},         // 31 Xbox 360
    {Rate::Dvd, kDvdVideoKbps, kDvdAudioKbps},        // 32 DVD NTSC
    {Rate::Dvd, kDvdVideoKbps, kDvdAudioKbps},        // 33 DVD PAL
    {Rate::Fixed, 0, 128},                            // 34 MP3 128k
    {Rate::Fixed, 0, 256},                            // 35 MP3 256k
    {Rate::Wave, 0, 0},                               // 36 WAV
    {Rate::Uncompressed, 0, 0},                       // 37 uncompressed AVI
    {Rate::PictureCopy, 0, 128},                      // 38 sync correction
    {Rate::Segment, 0, 0},                            // 39 extraction
};

bool IsAudioPreset(int index) { return index >= 34 && index <= 36; }

// 16-bit PCM of the input's sound; the Flash variant of WAV is always stereo.
double PcmKbps(const MediaInfo& media, int channels) { return media.sampleRate * channels * 16 / 1000.0; }

// The pixels a second of the output's picture: the preset's size and rate, else the input's.
double Pixels(const PresetRate& rate, const MediaInfo& media) {
    const double width = rate.width > 0 ? rate.width : media.width;
    const double height = rate.height > 0 ? rate.height : media.height;
    return width * height * (rate.fps > 0 ? rate.fps : media.fps);
}

// The picture and sound together, in kbit/s; negative when it cannot be told.
double TotalKbps(int index, const InputFacts& input, const std::string& extension) {
    const PresetRate& rate = kRates[index];
    const MediaInfo& media = input.Media;
    const double sound = media.hasAudio ? rate.audioKbps : 0.0;
    switch (rate.kind) {
        case Rate::Fixed:
            // The MPEG presets code Windows Media and mobile inputs with the other tool,
            // at its own rates.
            if (index >= 2 && index <= 5 && IsAsfFamilyExtension(extension)) return 4000 + (media.hasAudio ? 192 : 0);
            return rate.videoKbps + sound;
        case Rate::Quality:
            return Pixels(rate, media) * kQualityBitsPerPixel / 1000 + sound;
        case Rate::EngineRate:
            return std::max(rate.videoKbps, Pixels(rate, media) * kCoarsestBitsPerPixel / 1000) + sound;
        case Rate::Dvd:
            // The engine adds silence to a picture without sound.
            return rate.videoKbps + rate.audioKbps;
        case Rate::Wave:
            return PcmKbps(media, IsFlashExtension(extension) ? 2 : media.channels);
        case Rate::Uncompressed:
            return media.width * media.height * 1.5 * 8 * media.fps / 1000 + PcmKbps(media, media.channels);
        case Rate::PictureCopy:
            // The input's own rate stands for its picture's.
            return input.FileBytes * 8.0 / 1000 / input.Seconds + sound;
        case Rate::Segment:
            return -1.0;
    }
    return -1.0;
}

}  // namespace

std::optional<int64_t> EstimateOutputBytes(std::string_view label, const InputFacts& input,
                                           const std::string& inputPath) {
    const int index = FormatIndex(label);
    if (index < 0 || !input.Media.readable || !(input.Seconds > 0)) return std::nullopt;
    if (IsAudioPreset(index) ? !input.Media.hasAudio : !input.Media.hasVideo) return std::nullopt;
    const double kbps = TotalKbps(index, input, GetLowerExtension(inputPath));
    if (!(kbps > 0)) return std::nullopt;
    return static_cast<int64_t>(std::llround(kbps * 1000 / 8 * input.Seconds));
}

}  // namespace transcoda
