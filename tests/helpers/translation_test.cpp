// The helper tools' translation of their command lines, checked without running any
// engine: options the recipes write and what ffmpeg, mpv and dvdauthor are given.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dvd_author.h"
#include "engine_args.h"
#include "mencoder_style.h"
#include "player.h"
#include "time_rewriter.h"
#include "usage_error.h"
#include "whole_lines.h"

namespace helpers {
namespace {

using namespace test;

TEST(TimeRewriter, RewritesEveryProgressTimeWhereverTheOutputIsCut) {
    struct Row {
        std::string in, out;
        double ceiling = -1;  // seconds of a stream fed while the engine runs; < 0: none
    } rows[] = {
        {"frame=  10 q=2.0 size= 1kB time=00:00:49.36 bitrate= 204.8kbits/s\r",
         "frame=  10 q=2.0 size= 1kB time=49.36 bitrate= 204.8kbits/s\r"},
        {"time=01:02:03.50 bitrate=\rtime=00:00:00.04 bitrate=\n", "time=3723.50 bitrate=\rtime=0.04 bitrate=\n"},
        {"size=N/A time=N/A bitrate=N/A\r", "size=N/A time=N/A bitrate=N/A\r"},
        {"time=-00:00:00.02 bitrate=", "time=-0.02 bitrate="},
        {"  Duration: 00:01:23.45, start: 0.000000, bitrate: 1411 kb/s\n",
         "  Duration: 00:01:23.45, start: 0.000000, bitrate: 1411 kb/s\n"},
        {"bench: utime=0.123s stime=0.010s rtime=0.200s\n", "bench: utime=0.123s stime=0.010s rtime=0.200s\n"},
        {"ends in time=00:00:03.00", "ends in time=3.00"},
        // The engine's time is its furthest stream's: the sound coded meanwhile holds it.
        {"frame= 9 time=00:01:40.00 bitrate= 1k\r", "frame= 9 time=61.50 bitrate= 1k\r", 61.5},
        {"time=00:00:30.00 bitrate=\rtime=00:01:02.00", "time=30.00 bitrate=\rtime=61.50", 61.5},
        {"size=N/A time=N/A bitrate=N/A\r", "size=N/A time=N/A bitrate=N/A\r", 0},
    };
    for (const auto& row : rows) {
        for (size_t cut = 0; cut <= row.in.size(); ++cut) {
            for (size_t cut2 = cut; cut2 <= row.in.size(); cut2 += 3) {
                TimeRewriter r;
                if (row.ceiling >= 0) r.LimitTo([&] { return row.ceiling; });
                std::string got = r.Feed(row.in.substr(0, cut));
                got += r.Feed(row.in.substr(cut, cut2 - cut));
                got += r.Feed(row.in.substr(cut2));
                got += r.Flush();
                ASSERT_EQ(got, row.out) << "cut at " << cut << "," << cut2;
            }
        }
    }
}

TEST(TimeRewriter, PassesCompleteStatusLinesOnAtOnce) {
    TimeRewriter r;
    EXPECT_EQ(r.Feed("frame= 1 time=00:00:01.00 bitrate= 1k\r"), "frame= 1 time=1.00 bitrate= 1k\r");
    EXPECT_EQ(r.Feed("frame= 2 ti"), "frame= 2 ");
    EXPECT_EQ(r.Feed("me=00:00:02"), "");
    EXPECT_EQ(r.Feed(".00 b"), "time=2.00 b");
}

TEST(WholeLines, LetsOnlyCompleteLinesThrough) {
    WholeLines w;
    EXPECT_EQ(w.Feed("  Duration: "), "");
    EXPECT_EQ(w.Feed("00:00:12.02"), "");
    EXPECT_EQ(w.Feed(", start: 0.0\nframe= 1 time=0.04 bitrate"), "  Duration: 00:00:12.02, start: 0.0\n");
    EXPECT_EQ(w.Feed("=1k\rframe= 2"), "frame= 1 time=0.04 bitrate=1k\r");
    EXPECT_TRUE(w.Holding());
    EXPECT_EQ(w.Flush(), "frame= 2");
    EXPECT_FALSE(w.Holding());
    // The sound fed through a pipe has no length: only the file's is said.
    EXPECT_EQ(WithoutUnknownDurations("  Duration: 00:00:12.02, start: 0\nInput #1, amr\n  Duration: N/A, bitrate: "
                                      "12 kb/s\nframe= 1 time=0.00 bitrate=1k\r"),
              "  Duration: 00:00:12.02, start: 0\nInput #1, amr\nframe= 1 time=0.00 bitrate=1k\r");
}

MediaInfo Clip(const std::string& vcodec, const std::string& acodec, int rate = 44100, double duration = 10) {
    MediaInfo m;
    m.readable = true;
    m.duration = duration;
    m.hasVideo = !vcodec.empty();
    m.videoCodec = vcodec;
    m.width = 320;
    m.height = 240;
    m.fps = 25;
    m.hasAudio = !acodec.empty();
    m.audioCodec = acodec;
    m.sampleRate = rate;
    m.channels = 2;
    return m;
}

// The clip with another picture shape, field order and channel count.
MediaInfo Shaped(MediaInfo m, int width, int height, const std::string& fields, int channels) {
    m.width = width;
    m.height = height;
    m.fieldOrder = fields;
    m.channels = channels;
    return m;
}

struct MencoderRow {
    std::string name;
    Args args;
    MediaInfo input, sound;
    std::vector<Args> present;
    Args absent;
    size_t notices;
};

const std::vector<MencoderRow>& MencoderRows() {
    static const std::string xvid = "chroma_opt:vhq=4:bvhq=1:quant_type=mpeg:bitrate=4000";
    static const std::vector<MencoderRow> rows = {
        {"MPEG-4 cannot go into an MPEG program stream",
         {"in.wmv", "-ovc", "xvid", "-xvidencopts", xvid, "-oac", "mp3lame", "-lameopts", "abr:br=192", "-vf",
          "scale=640:480", "-o", "o.mpeg"},
         Clip("wmv2", "wmav2"), {},
         {{"-c:v", "mpeg1video", "-b:v", "4000k"}, {"-vf", "scale=640:480,setsar=1"}, {"-c:a", "libmp3lame", "-b:a", "192k",
          "-abr", "1"}, {"-f", "mpeg", "o.mpeg"}},
         {"libxvid"}, 1},
        {"xvid into AVI",
         {"in.avi", "-ovc", "xvid", "-xvidencopts", xvid, "-oac", "mp3lame", "-o", "o.avi"},
         Clip("h264", "aac"), {},
         {{"-c:v", "libxvid", "-b:v", "4000k"}, {"-tag:v", "XVID"}, {"-q:a", "4"}},
         {}, 0},
        {"joining a picture and a separate sound without re-encoding",
         {"t.avi", "-o", "out.avi", "-ovc", "copy", "-oac", "copy", "-audiofile", "t.mp3"},
         Clip("mpeg4", ""), Clip("", "mp3"),
         {{"-i", "t.avi", "-i", "t.mp3", "-map", "0:v:0", "-map", "1:a:0", "-c:v", "copy", "-c:a", "copy"}},
         {"-af", "-ar"}, 0},
        {"sound delayed: silence before it",
         {"in.mkv", "-oac", "mp3lame", "-lameopts", "cbr:br=128", "-ovc", "copy", "-delay", "-1.5", "-o", "o.mkv"},
         Clip("h264", "aac"), {},
         {{"-c:v", "copy"}, {"-c:a", "libmp3lame", "-b:a", "128k"}, {"-af", "adelay=delays=1500:all=1"}},
         {}, 0},
        {"picture delayed: the sound starts earlier",
         {"in.avi", "-oac", "mp3lame", "-lameopts", "cbr:br=128", "-ovc", "copy", "-delay", "0.5", "-o", "o.avi"},
         Clip("mpeg4", "mp3"), {},
         {{"-af", "atrim=start=0.5,asetpts=PTS-STARTPTS"}},
         {}, 0},
        {"MP3 cannot go into 3GP",
         {"in.3gp", "-oac", "mp3lame", "-lameopts", "cbr:br=128", "-ovc", "copy", "-delay", "1", "-o", "o.3gp"},
         Clip("h263", "aac", 22050), {},
         {{"-c:v", "copy"}, {"-c:a", "aac", "-b:a", "128k"}, {"-f", "3gp"}},
         {"libmp3lame"}, 1},
        {"segment: start before each input, length on the output",
         {"in.mkv", "-oac", "mp3lame", "-lameopts", "cbr:br=128", "-ovc", "copy", "-o", "o.mkv", "-ss", "00:00:02",
          "-endpos", "00:00:05"},
         Clip("h264", "aac"), {},
         {{"-ss", "00:00:02", "-i", "in.mkv"}, {"-t", "5"}},
         {}, 0},
        {"Windows Media through lavc: two channels at most",
         {" in.avi", "-o", "o.wmv", "-forceidx", "-ofps", "25", "-ovc", "lavc", "-lavcopts", "vcodec=wmv2", "-oac",
          "lavc", "-lavcopts", "acodec=wmav2:abitrate=96", "-of", "lavf", "-srate", "44100"},
         Shaped(Clip("h264", "ac3", 48000), 320, 240, "", 6), {},
         {{"-c:v", "wmv2", "-b:v", "800k"}, {"-r", "25"}, {"-c:a", "wmav2", "-b:a", "96k", "-ac", "2", "-ar", "44100"},
          {"-f", "asf"}},
         {}, 0},
        {"a portrait picture into 640x480 MPEG: between bars, 5.1 mixed to stereo",
         {"in.wmv", "-ovc", "xvid", "-xvidencopts", xvid, "-oac", "mp3lame", "-lameopts", "abr:br=192", "-vf",
          "scale=640:480", "-o", "o.mpeg"},
         Shaped(Clip("wmv2", "wmav2"), 360, 640, "", 6), {},
         {{"-vf", "scale=270:480,pad=640:480:(ow-iw)/2:(oh-ih)/2,setsar=1"}, {"-b:a", "192k", "-abr", "1", "-ac", "2"}},
         {}, 1},
        {"FLV H.264 of a 16 kHz interlaced clip: 44.1 kHz for 256 kbit/s, whole pictures, no B-frames",
         {"in.wmv", "-oac", "mp3lame", "-lameopts", "cbr:br=256", "-ovc", "x264", "-x264encopts", "bitrate=4200",
          "-o", "o.flv"},
         Shaped(Clip("wmv3", "wmav2", 16000), 1920, 1080, "tt", 1), {},
         {{"-vf", "yadif=mode=send_frame:parity=tff:deint=all"}, {"-bf", "0"}, {"-b:a", "256k", "-ar", "44100"}},
         {"-ac"}, 0},
        {"FLV takes MP3 at 44100 Hz at most",
         {"in.mkv", "-oac", "mp3lame", "-lameopts", "cbr:br=256", "-ovc", "x264", "-x264encopts", "bitrate=4200",
          "-o", "o.flv"},
         Clip("h264", "aac", 48000), {},
         {{"-c:v", "libx264", "-b:v", "4200k"}, {"-ar", "44100"}, {"-f", "flv"}},
         {}, 0},
        {"uncompressed: the pictures and the channels as they are",
         {"in.mts", "-o", "o.avi", "-ovc", "raw", "-oac", "pcm"},
         Shaped(Clip("h264", "ac3", 48000), 1440, 1080, "tt", 6), {},
         {{"-c:v", "rawvideo"}, {"-c:a", "pcm_s16le"}, {"-f", "avi"}},
         {"-b:a", "-vf", "-ac"}, 0},
        {"no sound asked",
         {"in.avi", "-ovc", "copy", "-nosound", "-quiet", "-noskip", "-o", "o.avi"},
         Clip("mpeg4", "mp3"), {},
         {{"-c:v", "copy", "-an"}},
         {"-c:a"}, 0},
    };
    return rows;
}

// Adding an option to the table means adding a row above that uses it.
TEST(MencoderStyle, EveryOptionIsUsedByARow) {
    for (const MencoderOption& option : MencoderOptions()) {
        bool used = false;
        for (const auto& row : MencoderRows())
            used = used || std::find(row.args.begin(), row.args.end(), option.name) != row.args.end();
        EXPECT_TRUE(used) << option.name;
    }
}

TEST(MencoderStyle, CarriesOutTheOptionsInTheContainerTheExtensionNames) {
    for (const auto& row : MencoderRows()) {
        MencoderPlan plan = PlanMencoder(ParseMencoderArgs(row.args), row.input, row.sound);
        for (const auto& run : row.present) EXPECT_TRUE(HasRun(plan.args, run)) << row.name << ": " << Joined(plan.args);
        for (const auto& a : row.absent)
            EXPECT_EQ(IndexOf(plan.args, a), plan.args.size()) << row.name << ": " << Joined(plan.args);
        EXPECT_EQ(plan.notices.size(), row.notices) << row.name;
        EXPECT_EQ(plan.args.back(), ParseMencoderArgs(row.args).output) << row.name;
    }
}

TEST(MencoderStyle, ExpectedLengthFollowsTheSegment) {
    auto length = [](Args args) {
        return PlanMencoder(ParseMencoderArgs(args), Clip("h264", "aac", 48000, 60), {}).expectedSeconds;
    };
    Args base = {"in.mkv", "-ovc", "copy", "-oac", "copy", "-o", "o.mkv"};
    EXPECT_DOUBLE_EQ(length(base), 60);
    Args seg = base;
    seg.insert(seg.end(), {"-ss", "00:00:50", "-endpos", "00:00:30"});
    EXPECT_DOUBLE_EQ(length(seg), 10);
    seg = base;
    seg.insert(seg.end(), {"-ss", "10", "-endpos", "00:00:05"});
    EXPECT_DOUBLE_EQ(length(seg), 5);
}

// A segment is cut once: a copied picture (or the joined picture of a smart cut) on the
// input side, a picture coded again on the output side, with the sound from the input at
// the same start.
TEST(MencoderStyle, SegmentIsCutOnce) {
    struct Row {
        std::vector<std::string> recode;
        std::string joined;
        Args runs, cut;
    } rows[] = {
        {{}, "", {"-ss", "00:01:00", "-i", "in.mkv", "-map", "0:v:0", "-map", "0:a:0", "-c:v", "copy"}, {"-t", "5"}},
        // Coded again: decoded from 10 s before, cut on the output side.
        {{"-c:v", "libx264", "-crf", "12"}, "", {"-ss", "50", "-i", "in.mkv", "-map", "0:v:0", "-map", "0:a:0",
         "-c:v", "libx264", "-crf", "12", "-c:a"}, {"-ss", "10", "-t", "5"}},
        {{}, "/proc/self/fd/3",
         {"-i", "/proc/self/fd/3", "-ss", "00:01:00", "-i", "in.mkv", "-map", "0:v:0", "-map", "1:a:0", "-c:v", "copy"},
         {"-t", "5"}},
    };
    for (const Row& row : rows) {
        MencoderRequest r = ParseMencoderArgs({"in.mkv", "-oac", "mp3lame", "-ovc", "copy", "-o", "o.mkv", "-ss",
                                               "00:01:00", "-endpos", "00:00:05"});
        r.pictureRecode = row.recode;
        r.joinedPicture = row.joined;
        Args a = PlanMencoder(r, Clip("h264", "aac", 48000, 600), {}).args;
        EXPECT_TRUE(HasRun(a, row.runs)) << Joined(a);
        EXPECT_TRUE(HasRun(a, row.cut)) << Joined(a);
        EXPECT_EQ(std::count(a.begin(), a.end(), "-ss"), 1 + (row.cut.size() > 2)) << Joined(a);
    }
}

TEST(MencoderStyle, RefusesWhatItDoesNotKnow) {
    const std::vector<std::pair<Args, std::string>> bad = {
        {{"in", "-ovc", "copy", "-oac", "copy", "-o", "o.avi", "-zoom"}, "unknown option -zoom"},
        {{"in", "-ovc", "theora", "-oac", "copy", "-o", "o.avi"}, "unknown video encoder theora"},
        {{"in", "-ovc", "copy", "-oac", "copy"}, "no output file (-o)"},
        {{"-ovc", "copy", "-oac", "copy", "-o", "o.avi"}, "no input file"},
        {{"in", "-ovc", "lavc", "-oac", "copy", "-vf", "crop=1:1", "-o", "o.avi"}, "unknown video filter crop=1:1"},
        {{"in", "-ovc", "copy", "-oac", "copy", "-delay", "soon", "-o", "o.avi"}, "invalid value for -delay: soon"},
        // A lag that is not a number, or longer than a day, would make the run seem endless.
        {{"in", "-ovc", "copy", "-oac", "copy", "-delay", "nan", "-o", "o.avi"},
         "invalid value for -delay: nan (at most 86400 seconds either way)"},
        {{"in", "-ovc", "copy", "-oac", "copy", "-delay", "-inf", "-o", "o.avi"},
         "invalid value for -delay: -inf (at most 86400 seconds either way)"},
        {{"in", "-ovc", "copy", "-oac", "copy", "-delay", "1e400", "-o", "o.avi"},
         "invalid value for -delay: 1e400 (at most 86400 seconds either way)"},
        {{"in", "-ovc", "copy", "-oac", "copy", "-delay", "-86400.5", "-o", "o.avi"},
         "invalid value for -delay: -86400.5 (at most 86400 seconds either way)"},
        {{"in", "-ovc", "copy", "-oac", "copy", "-o"}, "missing value for option -o"},
    };
    for (const auto& [args, message] : bad) {
        try {
            ParseMencoderArgs(args);
            ADD_FAILURE() << "accepted " << Joined(args);
        } catch (const UsageError& e) {
            EXPECT_EQ(e.what(), message);
        }
    }
    EXPECT_THROW(PlanMencoder(ParseMencoderArgs({"in", "-ovc", "copy", "-oac", "copy", "-o", "o.xyz"}),
                              Clip("h264", "aac"), {}),
                 UsageError);
}

TEST(MencoderStyle, SubOptionsOfRepeatedOptionsAddUp) {
    MencoderRequest r = ParseMencoderArgs(
        {"in", "-ovc", "lavc", "-lavcopts", "vcodec=wmv2", "-oac", "lavc", "-lavcopts", "acodec=wmav2:abitrate=96",
         "-o", "o.wmv"});
    EXPECT_EQ(r.lavc.at("vcodec"), "wmv2");
    EXPECT_EQ(r.lavc.at("acodec"), "wmav2");
    EXPECT_EQ(r.lavc.at("abitrate"), "96");
}

TEST(MencoderStyle, StatusLinesReadAsTheProgramReadsThem) {
    EXPECT_EQ(FormatPosLine(1.2, 30, 10, 25.0, 0, 0),
              "Pos:   1.2s     30f (10%) 25.00fps Trem:   0min   0mb  A-V:0.000 [0:0]\r");
    // Longer positions keep the two blanks after "Pos:" that a reader skips, so no digit
    // is lost.
    EXPECT_EQ(FormatPosLine(123.4, 3085, 41, 120.5, 2, 17).substr(0, 12), "Pos:  123.4s");
    EXPECT_EQ(FormatPosLine(12345.6, 1, 99, 1, 1, 1).substr(0, 14), "Pos:  12345.6s");
}

TEST(MencoderStyle, ProgressRisesWithTheEngineAndNeverPassesAHundred) {
    ProgressTranslator t(10.0);
    auto block = [](long us) {
        return "frame=5\nfps=25.0\ntotal_size=1000\nout_time_us=" + std::to_string(us) + "\nprogress=continue\n";
    };
    std::string first = t.Feed(block(2500000));
    EXPECT_NE(first.find("Pos:   2.5s      5f (25%) 25.00fps"), std::string::npos) << first;
    EXPECT_EQ(t.Feed("frame=9\nout_time_us=5000"), "");
    EXPECT_NE(t.Feed("000\nprogress=continue\n").find("(50%)"), std::string::npos);
    EXPECT_NE(t.Feed("out_time_us=N/A\nprogress=continue\n").find("(50%)"), std::string::npos);
    EXPECT_NE(t.Feed(block(12000000)).find("(100%)"), std::string::npos);
    EXPECT_EQ(t.LastPercent(), 100);
}

TEST(Player, LagAndStartReachThePlayer) {
    struct Row {
        Args args;
        Args present;
        Args absentPrefixes;
    } rows[] = {
        {{"a b.avi"}, {"--", "a b.avi"}, {"--start", "--audio-delay"}},
        {{"f.avi", "-ss", "01:02:03", "-delay", "1.50"}, {"--start=01:02:03", "--audio-delay=-1.500000"}, {}},
        {{"f.avi", "-delay", "-0.25"}, {"--audio-delay=0.250000"}, {"--start"}},
    };
    for (const auto& row : rows) {
        Args mpv = TranslatePlayerArgs(row.args);
        EXPECT_EQ(mpv.front(), "mpv");
        for (const auto& p : row.present) EXPECT_NE(IndexOf(mpv, p), mpv.size()) << p << " in " << Joined(mpv);
        for (const auto& prefix : row.absentPrefixes)
            for (const auto& a : mpv) EXPECT_NE(a.rfind(prefix, 0), 0u) << a;
    }
    EXPECT_THROW(TranslatePlayerArgs({"f.avi", "-fs"}), UsageError);
    EXPECT_THROW(TranslatePlayerArgs({"-ss", "00:00:01"}), UsageError);
}

TEST(Player, PlacedOnlyByAWellFormedArea) {
    const struct {
        const char* area;
        Args args;
    } rows[] = {
        {"1358x188+0+544", {"--geometry=+0+544", "--autofit=1358x188"}},
        {"640x360+1374+30", {"--geometry=+1374+30", "--autofit=640x360"}},
        {"", {}},
        {"640x360", {}},
        {"0x360+1+1", {}},
        {"640x360+1+1 --fs", {}},
        {"640x360+-5+1", {}},
        {"640x360+1+1+1", {}},
    };
    for (const auto& row : rows) EXPECT_EQ(PlayerPlacementArgs(row.area), row.args) << row.area;
}

TEST(DvdAuthoring, TakesTheTwoFormsOnly) {
    DvdRequest title = ParseDvdArgs({"--title", "-f", "/d/DVD-Disc1/tmpvdv.mpg", "-o", "/d/DVD-Disc1"});
    EXPECT_TRUE(title.title);
    EXPECT_EQ(title.stream, "/d/DVD-Disc1/tmpvdv.mpg");
    EXPECT_EQ(title.folder, "/d/DVD-Disc1");
    DvdRequest toc = ParseDvdArgs({"-T", "-o", "/d/DVD-Disc1"});
    EXPECT_TRUE(toc.toc);
    for (const Args& bad : {Args{"-T"}, Args{"--title", "-o", "x"}, Args{"-T", "--title", "-f", "s", "-o", "x"},
                            Args{"-T", "-o", "x", "-x"}, Args{"-T", "-o"}})
        EXPECT_THROW(ParseDvdArgs(bad), UsageError) << Joined(bad);
}

TEST(DvdAuthoring, FindsTheStandardFromThePicture) {
    struct Row {
        int height;
        double fps;
        const char* standard;
    } rows[] = {{576, 25, "PAL"}, {480, 29.97, "NTSC"}, {288, 25, "PAL"}, {240, 29.97, "NTSC"},
                {720, 25, "PAL"}, {720, 30000.0 / 1001, "NTSC"}, {720, 60, ""}};
    for (const auto& row : rows) {
        MediaInfo m;
        m.hasVideo = true;
        m.height = row.height;
        m.fps = row.fps;
        EXPECT_EQ(VideoStandard(m), row.standard) << row.height << " " << row.fps;
    }
    EXPECT_EQ(VideoStandard(MediaInfo{}), "");
}

TEST(Clock, ReadsTheTimeForms) {
    struct Row {
        const char* text;
        double seconds;
    } rows[] = {{"01:02:03", 3723}, {"02:03", 123}, {"45.5", 45.5}, {"00:00:00", 0}, {"", -1}, {"1:x", -1},
                {"-5", -1}, {"1:2:3:4", -1}};
    for (const auto& row : rows) EXPECT_DOUBLE_EQ(ParseClock(row.text), row.seconds) << row.text;
}

TEST(Probe, ReadsTheFirstPictureAndSoundStreams) {
    MediaInfo m = ParseProbeOutput(
        "[STREAM]\ncodec_name=mjpeg\ncodec_type=video\nwidth=300\nheight=300\n[/STREAM]\n"
        "[STREAM]\ncodec_name=h264\ncodec_type=video\nwidth=640\nheight=360\navg_frame_rate=30000/1001\n"
        "sample_aspect_ratio=4:3\nfield_order=bb\n[SIDE_DATA]\nrotation=-90\n[/SIDE_DATA]\n[/STREAM]\n"
        "[STREAM]\ncodec_name=ac3\ncodec_type=audio\nsample_rate=48000\nchannels=6\n[/STREAM]\n"
        "[FORMAT]\nduration=12.500000\n[/FORMAT]\n");
    EXPECT_TRUE(m.readable);
    EXPECT_EQ(m.videoCodec, "h264");
    EXPECT_EQ(m.width, 640);
    EXPECT_NEAR(m.fps, 29.97, 0.01);
    EXPECT_DOUBLE_EQ(m.sampleAspect, 4.0 / 3);
    EXPECT_EQ(m.fieldOrder, "bb");
    EXPECT_EQ(m.rotation, -90);
    EXPECT_EQ(m.audioCodec, "ac3");
    EXPECT_EQ(m.channels, 6);
    EXPECT_DOUBLE_EQ(m.duration, 12.5);
    EXPECT_FALSE(ParseProbeOutput("").readable);
}

}  // namespace
}  // namespace helpers
