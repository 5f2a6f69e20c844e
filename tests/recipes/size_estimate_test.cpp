#include "recipes/size_estimate.h"

#include <gtest/gtest.h>

#include "recipes/format_catalogue.h"

namespace transcoda {
namespace {

// A minute of 1280x720 at 25 frames a second with stereo sound at 48 kHz, 10 MB on disk.
InputFacts Clip(bool picture = true, bool sound = true, double seconds = 60) {
    InputFacts facts;
    facts.FileBytes = 10'000'000;
    facts.Described = true;
    facts.Seconds = seconds;
    facts.Media.readable = true;
    facts.Media.hasVideo = picture;
    facts.Media.width = 1280;
    facts.Media.height = 720;
    facts.Media.fps = 25;
    facts.Media.hasAudio = sound;
    facts.Media.sampleRate = 48000;
    facts.Media.channels = 2;
    return facts;
}

// kbit/s over a minute, in bytes.
constexpr int64_t Minute(double kbps) { return static_cast<int64_t>(kbps * 1000 / 8 * 60 + 0.5); }

TEST(SizeEstimate, EachFamilyFromItsRatesAndTheLength) {
    struct Row {
        const char* what;
        int preset;
        const char* input;
        InputFacts facts;
        std::optional<int64_t> bytes;
    };
    const Row rows[] = {
        {"HD AVI: picture and MP3", 0, "/v/a.mp4", Clip(), Minute(4500 + 192)},
        {"MPEG", 3, "/v/a.mp4", Clip(), Minute(4200 + 128)},
        {"MPEG from Windows Media: the other tool's rates", 3, "/v/a.WMV", Clip(), Minute(4000 + 192)},
        {"MPEG of a silent picture", 3, "/v/a.mp4", Clip(true, false), Minute(4200)},
        {"Flash", 11, "/v/a.mp4", Clip(), Minute(480 + 24)},
        {"Windows Media: 720p takes more than mencoder's rate", 12, "/v/a.mp4", Clip(),
         Minute(1280 * 720 * 25 * 0.044 / 1000 + 96)},
        {"QuickTime H.263 176x144 at the engine's rate", 20, "/v/a.mp4", Clip(), Minute(200 + 128)},
        {"3GPP with AMR", 17, "/v/a.mp4", Clip(), Minute(44 + 12.2)},
        {"QuickTime H.264 for a quality: 848x480 at the input's 25", 18, "/v/a.mp4", Clip(),
         Minute(848 * 480 * 25 * 0.08 / 1000 + 128)},
        {"QuickTime MPEG-4 at the input's 720p", 23, "/v/a.mp4", Clip(), Minute(1280 * 720 * 25 * 0.044 / 1000 + 96)},
        {"iPod H.264 at its own 30 frames", 24, "/v/a.mp4", Clip(), Minute(320 * 240 * 30 * 0.08 / 1000 + 128)},
        {"DVD, silence added to a silent picture", 33, "/v/a.mp4", Clip(true, false), Minute(6000 + 448)},
        {"MP3 for half a minute", 34, "/v/a.mp4", Clip(true, true, 30), Minute(128) / 2},
        {"WAV at the input's rate and channels", 36, "/v/a.mp4", Clip(), Minute(48 * 2 * 16)},
        {"WAV from Flash: always stereo", 36, "/v/a.flv", [] { auto c = Clip(); c.Media.channels = 1; return c; }(),
         Minute(48 * 2 * 16)},
        {"uncompressed: 4:2:0 pictures and PCM", 37, "/v/a.mp4", Clip(),
         Minute(1280 * 720 * 1.5 * 8 * 25 / 1000 + 48 * 2 * 16)},
        {"sync: the picture copied at the input's rate", 38, "/v/a.mp4", Clip(),
         Minute(10'000'000 * 8 / 1000.0 / 60 + 128)},
        {"extraction: the segment is not chosen yet", 39, "/v/a.mp4", Clip(), std::nullopt},
        {"a picture preset for sound alone", 0, "/v/a.mp3", Clip(false, true), std::nullopt},
        {"a sound preset for a silent picture", 35, "/v/a.mp4", Clip(true, false), std::nullopt},
        {"no length", 0, "/v/a.mp4", Clip(true, true, -1), std::nullopt},
    };
    for (const Row& row : rows) {
        const auto bytes = EstimateOutputBytes(FormatLabel(row.preset), row.facts, row.input);
        ASSERT_EQ(bytes.has_value(), row.bytes.has_value()) << row.what;
        if (bytes) {
            EXPECT_NEAR(static_cast<double>(*bytes), static_cast<double>(*row.bytes), 1.0) << row.what;
        }
    }
    EXPECT_FALSE(EstimateOutputBytes(" Video", Clip(), "/v/a.mp4")) << "not a preset's label";
}

}  // namespace
}  // namespace transcoda
