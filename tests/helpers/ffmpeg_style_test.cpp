// The ffmpeg-style tools' command lines, checked without running any engine: every
// option of the table as the engine gets it, and the decisions the planner takes from
// the output's container and from what the input holds.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine_args.h"
#include "ffmpeg_options.h"
#include "ffmpeg_plan.h"
#include "ffmpeg_request.h"
#include "usage_error.h"

namespace helpers {
namespace {

using namespace test;

FfmpegPlan Plan(const Args& args, const InputFacts& facts = {}) {
    return PlanFfmpeg(ParseFfmpegArgs("utilitymff3.exe", args), facts);
}

struct OptionRow {
    std::string option;
    Args args;
    std::vector<Args> present;  // runs of the engine's arguments that must appear
    Args absent;                // arguments that must not appear
};

// One row per option of the table, each with a command line that uses it.
const std::vector<OptionRow>& OptionRows() {
    static const std::vector<OptionRow> rows = {
        {"-i", {"-i", "a b.mkv"}, {{"-nostdin", "-hide_banner", "-i", "a b.mkv"}}, {"-y"}},
        {"-y", {"-i", "a", "-y", "o.avi"}, {{"-hide_banner", "-y", "-i", "a"}}, {}},
        {"-n", {"-i", "a", "-n", "o.avi"}, {{"-hide_banner", "-n", "-i", "a"}}, {}},
        {"-copyts", {"-i", "a", "-copyts", "o.mkv"}, {{"-copyts", "-i", "a"}}, {}},
        {"-benchmark", {"-i", "a", "-benchmark", "o.avi"}, {{"-benchmark", "-i", "a"}}, {}},
        {"-hide_banner", {"-hide_banner", "-i", "a", "o.avi"}, {{"-nostdin", "-hide_banner", "-i", "a", "o.avi"}}, {}},
        {"-nostdin", {"-i", "a", "-nostdin", "o.avi"}, {{"-nostdin", "-hide_banner", "-i", "a", "o.avi"}}, {}},
        {"-f", {"-f", "mpegts", "-i", "a", "-f", "mp4", "o.m4v"}, {{"-f", "mpegts", "-i", "a"}, {"-f", "mp4"}}, {}},
        {"-ss", {"-ss", "00:00:10", "-i", "a.mts", "o.mpeg"}, {{"-ss", "00:00:10", "-i", "a.mts", "o.mpeg"}}, {}},
        {"-t", {"-i", "a", "-t", "5", "o.avi"}, {{"-i", "a", "-t", "5", "o.avi"}}, {}},
        {"-to", {"-to", "9", "-i", "a", "o.avi"}, {{"-to", "9", "-i", "a"}}, {}},
        {"-itsoffset", {"-itsoffset", "1.5", "-i", "a", "o.avi"}, {{"-itsoffset", "1.5", "-i", "a"}}, {}},
        {"-vcodec", {"-i", "a", "-vcodec", "xvid", "o.avi"}, {{"-c:v", "libxvid"}}, {"-vcodec"}},
        {"-c:v", {"-i", "a", "-c:v", "flv1", "o.flv"}, {{"-c:v", "flv"}}, {}},
        {"-b", {"-i", "a", "-b", "300", "o.avi"}, {{"-b:v", "300k"}}, {"-b"}},
        {"-b:v", {"-i", "a", "-b:v", "4200k", "o.avi"}, {{"-b:v", "4200k"}}, {}},
        {"-maxrate", {"-i", "a", "-maxrate", "1000", "o.avi"}, {{"-maxrate", "1000k"}}, {}},
        {"-minrate", {"-i", "a", "-minrate", "100", "o.avi"}, {{"-minrate", "100k"}}, {}},
        {"-bufsize", {"-i", "a", "-bufsize", "4096", "o.avi"}, {{"-bufsize", "4096k"}}, {}},
        {"-r", {"-i", "a", "-r", "29.97", "o.mp4"}, {{"-r", "30000/1001"}}, {"29.97"}},
        {"-s", {"-i", "a", "-s", "qcif", "-b", "64k", "-s", "128x96", "o.3gp"}, {{"-s", "128x96", "-b:v"}}, {"qcif"}},
        {"-aspect", {"-i", "a", "-aspect", "4:3", "o.mpg"}, {{"-aspect", "4:3"}}, {}},
        {"-vtag", {"-i", "a", "-vtag", "XVID", "o.avi"}, {{"-tag:v", "XVID"}}, {"-vtag"}},
        {"-qscale", {"-i", "a", "-qscale", "3", "o.avi"}, {{"-q:v", "3"}}, {"-qscale"}},
        {"-q:v", {"-i", "a", "-q:v", "4", "o.avi"}, {{"-q:v", "4"}}, {}},
        {"-qmin", {"-i", "a", "-qmin", "3", "o.avi"}, {{"-qmin", "3"}}, {}},
        {"-qmax", {"-i", "a", "-qmax", "5", "o.avi"}, {{"-qmax", "5"}}, {}},
        {"-crf", {"-i", "a", "-crf", "22", "o.mkv"}, {{"-crf", "22"}}, {}},
        {"-g", {"-i", "a", "-g", "300", "o.avi"}, {{"-g", "300"}}, {}},
        {"-pix_fmt", {"-i", "a", "-pix_fmt", "yuv422p", "o.avi"}, {{"-pix_fmt", "yuv422p"}}, {}},
        {"-vf", {"-i", "a", "-vf", "scale=2:2", "o.avi"}, {{"-vf", "scale=2:2"}}, {}},
        // A still: the seek stays on the input, no segment is cut on the output side.
        {"-vframes",
         {"-ss", "6.000", "-i", "a.mp4", "-an", "-s", "128x72", "-vframes", "1", "-y", "o.jpg"},
         {{"-ss", "6.000", "-i", "a.mp4"}, {"-frames:v", "1"}},
         {"-vframes"}},
        {"-sameq", {"-i", "a", "-vcodec", "mpeg4", "-sameq", "o.avi"}, {{"-q:v", "2"}}, {"-sameq"}},
        {"-vn", {"-i", "a", "-vn", "o.mp3"}, {{"-vn", "o.mp3"}}, {}},
        {"-target", {"-i", "a", "-target", "pal-dvd", "o.mpg"}, {{"-target", "pal-dvd"}}, {}},
        {"-threads", {"-i", "a", "-threads", "0", "o.mkv"}, {{"-threads", "0"}}, {}},
        {"-acodec", {"-i", "a", "-acodec", "libfaac", "o.mov"}, {{"-c:a", "aac"}}, {"-acodec", "libfaac"}},
        {"-c:a", {"-i", "a", "-c:a", "mp3", "o.mkv"}, {{"-c:a", "libmp3lame"}}, {}},
        {"-ab", {"-i", "a", "-ab", "128", "o.mp3"}, {{"-b:a", "128k"}}, {"-ab", "128"}},
        {"-b:a", {"-i", "a", "-b:a", "12.2k", "o.mkv"}, {{"-b:a", "12.2k"}}, {}},
        {"-ar", {"-i", "a", "-ar", "22050", "o.mp3"}, {{"-ar", "22050"}}, {}},
        {"-ac", {"-i", "a", "-ac", "1", "o.mp3"}, {{"-ac", "1"}}, {}},
        {"-af", {"-i", "a", "-af", "volume=2", "o.mp3"}, {{"-af", "volume=2"}}, {}},
        {"-an", {"-i", "a", "-an", "o.avi"}, {{"-an", "o.avi"}}, {}},
        {"-title", {"-title", "T-x", "-i", "a", "o.mp3"}, {{"-i", "a", "-metadata", "title=T-x"}}, {"-title"}},
        {"-author", {"-author", "web", "-i", "a", "o.mp3"}, {{"-i", "a", "-metadata", "artist=web"}}, {"-author"}},
        {"-comment", {"-i", "a", "-comment", "c", "o.mp3"}, {{"-metadata", "comment=c"}}, {"-comment"}},
        {"-metadata",
         {"-metadata", "title=T", "-metadata", "author=web", "-i", "a", "o.mp3"},
         {{"-i", "a", "-metadata", "title=T", "-metadata", "artist=web", "o.mp3"}},
         {}},
    };
    return rows;
}

TEST(FfmpegOptions, EveryOptionHasOneTestRow) {
    std::multiset<std::string> tested;
    for (const auto& row : OptionRows()) tested.insert(row.option);
    for (const FfmpegOption& option : FfmpegOptions())
        EXPECT_EQ(tested.count(std::string(option.name)), 1u) << option.name;
    EXPECT_EQ(tested.size(), FfmpegOptions().size());
}

TEST(FfmpegOptions, EachOptionReachesTheEngineTranslated) {
    for (const auto& row : OptionRows()) {
        const Args args = Plan(row.args).args;
        for (const auto& run : row.present) EXPECT_TRUE(HasRun(args, run)) << row.option << ": " << Joined(args);
        for (const auto& a : row.absent) EXPECT_FALSE(Holds(args, a)) << row.option << ": " << Joined(args);
    }
}

MediaInfo Described(double fps, int sampleRate, bool sound = true) {
    MediaInfo m;
    m.readable = m.hasVideo = true;
    m.fps = fps;
    m.hasAudio = sound;
    m.sampleRate = sound ? sampleRate : 0;
    return m;
}

// A recorded picture and sound: its stored size, pixel aspect, turn, fields, channels.
MediaInfo Recorded(int width, int height, double sar, int rotation, const std::string& fields, int rate,
                   int channels) {
    MediaInfo m = Described(25, rate);
    m.width = width;
    m.height = height;
    m.sampleAspect = sar;
    m.rotation = rotation;
    m.fieldOrder = fields;
    m.channels = channels;
    return m;
}

transcoda::StreamReport Streams(double video, double audio) {
    transcoda::StreamReport r;
    r.Readable = true;
    if (video >= 0) r.Streams.push_back({transcoda::StreamKind::Video, video});
    if (audio >= 0) r.Streams.push_back({transcoda::StreamKind::Audio, audio});
    return r;
}

struct DecisionRow {
    std::string name;
    Args args;
    std::optional<MediaInfo> description;
    std::optional<transcoda::StreamReport> streams;
    std::vector<Args> present;
    Args absent;
    size_t notices = 0;
};

TEST(FfmpegPlan, DecidesFromTheContainerAndTheInput) {
    const std::string silence = "anullsrc=channel_layout=stereo:sample_rate=44100";
    const std::vector<DecisionRow> rows = {
        {"no source timestamps in an AVI",
         {"-i", "a", "-vcodec", "mpeg4", "-an", "-f", "avi", "-copyts", "-benchmark", "t.avi"}, {}, {},
         {{"-benchmark", "-i", "a"}}, {"-copyts"}},
        {"same quality with a rate keeps the rate", {"-i", "a", "-sameq", "-b", "920k", "o.flv"}, {}, {},
         {{"-b:v", "920k"}}, {"-q:v", "-crf"}},
        {"same quality of a DVD target is the target's", {"-i", "a", "-target", "pal-dvd", "-sameq", "o.mpg"}, {}, {},
         {{"-target", "pal-dvd"}}, {"-q:v", "-crf"}},
        {"same quality in H.264", {"-i", "a", "-vcodec", "libx264", "-sameq", "o.mkv"}, {}, {},
         {{"-crf", "18"}, {"-pix_fmt", "yuv420p"}}, {"-q:v"}},
        {"an iPod file is baseline H.264", {"-i", "a", "-vcodec", "libx264", "o.m4v"}, {}, {},
         {{"-profile:v", "baseline"}}, {}},
        {"an MP4 picture players decode", {"-i", "a", "-acodec", "aac", "o.mp4"}, {}, {},
         {{"-pix_fmt", "yuv420p"}}, {}},
        {"MPEG-1 at the nearest rate it holds", {"-i", "a.3gp", "-b", "4200k", "-s", "640x480", "o.mpeg"},
         Described(15, 22050), {}, {{"-r", "25"}}, {}},
        {"MPEG-1 keeps a rate it holds", {"-i", "a.avi", "-b", "4200k", "o.mpeg"}, Described(25, 44100), {}, {},
         {"-r"}},
        {"FLV at the nearest sample rate it holds", {"-i", "a.mkv", "-b", "4200k", "o.flv"}, Described(25, 48000), {},
         {{"-ar", "44100"}}, {}},
        {"FLV sound at or above the input's rate", {"-i", "a.wmv", "-b", "920k", "-ab", "64k", "o.flv"},
         Described(25, 16000), {}, {{"-ar", "22050"}}, {}},
        {"FLV sound high enough for the MP3 bit rate", {"-i", "a.wmv", "-sameq", "-b", "4200k", "-ab", "256k", "o.flv"},
         Recorded(320, 240, 1, 0, "", 16000, 1), {}, {{"-ar", "44100"}}, {"-ac", "-vf"}},
        {"MP3 at 256k of a 16 kHz sound", {"-i", "a.flv", "-acodec", "mp3", "-ac", "2", "-ab", "256", "-vn", "o.mp3"},
         Described(25, 16000), {}, {{"-ar", "32000"}}, {}},
        {"5.1 into an iPod: stereo, a wide picture between bars",
         {"-i", "a", "-s", "640x480", "-acodec", "libfaac", "-ar", "48000", "-ab", "128k", "-vcodec", "libx264", "o.m4v"},
         Recorded(1280, 720, 1, 0, "progressive", 48000, 6), {},
         {{"-ac", "2"}, {"-vf", "scale=640:360,pad=640:480:(ow-iw)/2:(oh-ih)/2,setsar=1"}}, {}},
        {"5.1 into a QuickTime file: kept", {"-i", "a", "-s", "848x480", "-acodec", "libfaac", "o.mov"},
         Recorded(1920, 1080, 1, 0, "", 48000, 6), {}, {{"-vf", "scale=848:480,setsar=1"}}, {"-ac"}},
        {"7.1 into a DVD: 5.1, a wide picture marked 16:9",
         {"-i", "a", "-target", "pal-dvd", "-aspect", "4:3", "-sameq", "o.mpg"}, Recorded(1920, 1080, 1, 0, "", 48000, 8),
         {}, {{"-target", "pal-dvd", "-aspect", "16:9"}, {"-ac", "6"}, {"-vf", "scale=720:576"}}, {"4:3"}},
        {"a portrait picture into a DVD: 4:3 between bars",
         {"-i", "a", "-target", "ntsc-dvd", "-aspect", "4:3", "-sameq", "o.mpg"}, Recorded(1080, 1920, 1, 0, "", 48000, 6),
         {}, {{"-aspect", "4:3"}, {"-vf", "scale=304:480,pad=720:480:(ow-iw)/2:(oh-ih)/2"}}, {"-ac"}},
        {"a turned picture into MPEG-1 640x480", {"-i", "a", "-b", "4200k", "-s", "640x480", "-ac", "2", "o.mpeg"},
         Recorded(1920, 1080, 1, -90, "", 48000, 2), {}, {{"-vf", "scale=270:480,pad=640:480:(ow-iw)/2:(oh-ih)/2,setsar=1"}}, {}},
        {"a square picture into 3GP 176x144", {"-i", "a", "-s", "qcif", "-vcodec", "mpeg4", "-ac", "1", "o.3gp"},
         Recorded(480, 480, 1, 0, "", 48000, 2), {}, {{"-vf", "scale=144:144,pad=176:144:(ow-iw)/2:(oh-ih)/2,setsar=1"}}, {}},
        {"anamorphic at its own size: square pixels", {"-i", "a", "-vcodec", "mpeg4", "-ac", "2", "o.mov"},
         Recorded(720, 576, 16.0 / 15, 0, "progressive", 48000, 2), {}, {{"-vf", "scale=trunc(iw*sar/2)*2:ih,setsar=1"}}, {}},
        {"interlaced into a progressive target: whole pictures first",
         {"-i", "a", "-vcodec", "mpeg4", "-s", "1280x720", "-r", "25", "-an", "-f", "avi", "t.avi"},
         Recorded(1920, 1080, 1, 0, "bb", 48000, 6), {}, {{"-vf", "yadif=mode=send_frame:parity=bff:deint=all,scale=1280:720,setsar=1"}}, {"-ac"}},
        {"AMR-NB of an input without sound: no sound",
         {"-i", "a", "-vcodec", "h263", "-acodec", "libamr_nb", "-ac", "1", "-ar", "8000", "-ab", "12.2k", "-y",
          "o.3gp"},
         Described(25, 0, false), {}, {{"-i", "a", "-map", "0:v:0?", "-c:v", "h263"}, {"-an", "o.3gp"}},
         {"-c:a", "-ar", "-ac", "-b:a", kAmrInput}},
        {"AMR-NB asked with no sound", {"-i", "a", "-acodec", "libamr_nb", "-an", "o.3gp"}, {}, {}, {{"-an"}},
         {"-c:a", kAmrInput}},
        {"silence for a picture without sound",
         {"-i", "a", "-vn", "-ab", "96k", "-f", "mp3", "o.mp3"}, {}, Streams(3, -1),
         {{"-i", "a", "-f", "lavfi", "-t", "3.000", "-i", silence + ":d=3.000"}, {"-f", "mp3", "-map", "1:a:0", "o.mp3"}},
         {}, 1},
        // A single frame lasts 0: "-t 0" would be no limit at all.
        {"bounded silence for a single frame", {"-i", "a", "-vn", "o.mp3"}, {}, Streams(0, -1),
         {{"-f", "lavfi", "-t", "0.040", "-i", silence + ":d=0.040"}}, {}, 1},
        {"no silence for an input with sound", {"-i", "a", "-vn", "o.mp3"}, {}, Streams(3, 3), {}, {"lavfi", "-map"}},
        {"no silence for an input that cannot be read", {"-i", "a", "-vn", "o.mp3"}, {}, transcoda::StreamReport{},
         {}, {"lavfi"}},
        {"a container without a writer of its own", {"-i", "a", "o.nsv"}, {}, {}, {{"-f", "avi", "o.nsv"}}, {}, 1},
        {"M2TS files", {"-i", "a", "o.m2ts"}, {}, {}, {{"-mpegts_m2ts_mode", "1"}}, {}},
    };
    for (const auto& row : rows) {
        const InputFacts facts{row.description ? &*row.description : nullptr, row.streams ? &*row.streams : nullptr};
        const FfmpegPlan plan = Plan(row.args, facts);
        const std::string said = row.name + ": " + Joined(plan.args);
        for (const auto& run : row.present) EXPECT_TRUE(HasRun(plan.args, run)) << said;
        for (const auto& a : row.absent) EXPECT_FALSE(Holds(plan.args, a)) << said;
        EXPECT_EQ(plan.notices.size(), row.notices) << row.name;
        EXPECT_FALSE(plan.amr) << row.name;
        EXPECT_EQ(plan.args.back(), row.args.back()) << row.name;
    }
}

TEST(FfmpegPlan, LooksAtTheInputOnlyWhenTheOutputDependsOnIt) {
    struct Row {
        Args args;
        bool description, streams;
        // The plan made without the input already holds for an input with a usual sound.
        bool usual;
    } rows[] = {
        {{"-i", "a", "-b", "4200k", "o.mpeg"}, true, false, false},
        {{"-i", "a", "-acodec", "libamr_nb", "o.3gp"}, true, false, false},
        {{"-i", "a", "-b", "4200k", "o.flv"}, true, false, false},
        {{"-i", "a", "-vn", "-ab", "128k", "o.mp3"}, true, true, true},
        {{"-i", "a", "-vn", "-ar", "44100", "-ac", "2", "o.mp3"}, false, true, true},
        {{"-i", "a", "-ar", "44100", "-ac", "2", "o.flv"}, true, false, false},
        {{"-i", "a", "-vcodec", "copy", "-ac", "2", "-ar", "44100", "o.flv"}, false, false, false},
        {{"-i", "a", "-vcodec", "copy", "-ab", "64k", "o.flv"}, true, false, true},
        {{"-i", "a", "-ac", "2", "-ar", "44100", "o.wav"}, false, false, false},
        {{"-i", "a", "-target", "pal-dvd", "o.mpg"}, true, false, false},
        {{"-i", "a"}, false, false, false},
    };
    for (const auto& row : rows) {
        const FfmpegPlan plan = Plan(row.args);
        EXPECT_EQ(plan.needs.description, row.description) << Joined(row.args);
        EXPECT_EQ(plan.needs.streams, row.streams) << Joined(row.args);
        EXPECT_EQ(HoldsForUsualInput(plan), row.usual) << Joined(row.args);
    }
}

TEST(FfmpegPlan, AmrSoundIsEncodedBeforeTheRun) {
    const MediaInfo in = Described(25, 48000);
    const FfmpegPlan plan = Plan({"-ss", "5", "-i", "in.mkv", "-s", "qcif", "-vcodec", "h263", "-acodec", "libamr_nb",
                                  "-ac", "1", "-ar", "8000", "-ab", "12.2k", "-y", "o.3gp"},
                                 {&in, nullptr});
    EXPECT_TRUE(plan.amr);
    EXPECT_EQ(plan.amrBitrate, 12200);
    EXPECT_EQ(plan.amrInputOptions, (Args{"-ss", "5"}));
    EXPECT_TRUE(HasRun(plan.args, {"-i", "in.mkv", "-f", "amr", "-i", kAmrInput, "-map", "0:v:0?", "-map", "1:a:0"}))
        << Joined(plan.args);
    EXPECT_TRUE(HasRun(plan.args, {"-c:v", "h263", "-c:a", "copy"})) << Joined(plan.args);
    for (const char* gone : {"-ar", "-ac", "-b:a", "libamr_nb"}) EXPECT_FALSE(Holds(plan.args, gone)) << gone;
}

TEST(FfmpegOptions, RefusesWhatItDoesNotKnow) {
    const std::vector<std::pair<Args, std::string>> bad = {
        {{"-i", "a", "-frobnicate", "1", "o.avi"}, "unknown option -frobnicate"},
        {{"-i"}, "missing value for option -i"},
        {{"-i", "a", "o1.avi", "o2.avi"}, "more than one output file: o2.avi"},
        {{"-b", "300", "o.avi"}, "no input file (-i)"},
        {{"-i", "a", "o.avi", "-s", "1x1"}, "option -s given after the last file"},
        {{"-i", "a", "o.avi", "-y", "-s"}, "missing value for option -s"},
    };
    for (const auto& [args, message] : bad) {
        try {
            ParseFfmpegArgs("utilitymff.exe", args);
            ADD_FAILURE() << "accepted " << Joined(args);
        } catch (const UsageError& e) {
            EXPECT_EQ(e.what(), message);
        }
    }
}

}  // namespace
}  // namespace helpers
