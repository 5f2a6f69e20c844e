// The special operations, DVD authoring, stopping a tool, and the progress the program
// reads from each tool, all on the installed tools and generated clips.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "engine.h"
#include "exec/app_state.h"
#include "file_facts.h"
#include "libav.h"
#include "stream_readback.h"
#include "picture_compare.h"
#include "exec/tool_output_reader.h"
#include "exec/progress_handler.h"
#include "recipes/auxiliary_steps.h"
#include "recipes/result_check.h"
#include "recipes/step_templates.h"
#include "support/recording_window.h"
#include "tool_run.h"

namespace tools_test {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kAllClips = {"clip.avi", "clip.mkv", "clip.mp4", "clip.mov", "clip.mpg",
                                            "clip.vob", "clip.wmv", "clip.asf", "clip.3gp", "clip.flv",
                                            "clip.mts", "clip.m2ts", "clip.wav", "clip.mp3"};

std::string Ext(const std::string& name) { return name.substr(name.rfind('.') + 1); }

// Runs step `code` as the recipes build it, with the tools installed in dir; an output
// file is deleted first, an output folder (DVD) is kept.
RunResult RunStep(const TempFolder& dir, const std::string& code, const std::string& in, const std::string& out,
                  const transcoda::SpecialValues& values = {}) {
    UseInstalledTools(dir);
    return RunCommandLine(transcoda::FormatStepCommandLine(code, in, out, values, InstalledTempStem()),
                          out.ends_with('/') ? "" : out);
}

// Makes a clip in dir with the given ffmpeg output options.
std::string MakeClip(const TempFolder& dir, const std::string& name, const std::vector<std::string>& sources,
                     const std::vector<std::string>& options) {
    std::vector<std::string> argv = {"ffmpeg", "-v", "error", "-nostdin", "-y"};
    for (const auto& s : sources) argv.insert(argv.end(), {"-f", "lavfi", "-i", s});
    argv.insert(argv.end(), options.begin(), options.end());
    argv.push_back(dir / name);
    helpers::EngineOptions o;
    EXPECT_EQ(helpers::RunEngine(argv, o), 0);
    return dir / name;
}

// Start of the first sound above the silence threshold, in seconds; -1 when none.
double FirstSoundAt(const std::string& file) {
    std::string log;
    helpers::EngineOptions o;
    o.out = helpers::Stream::Null;
    o.err = helpers::Stream::Capture;
    o.onErr = [&](const char* d, size_t n) { log.append(d, n); };
    helpers::RunEngine({"ffmpeg", "-nostdin", "-i", file, "-vn", "-af", "silencedetect=n=-30dB:d=0.05", "-f", "null",
                        "-"},
                       o);
    std::smatch m;
    if (std::regex_search(log, m, std::regex("silence_end: ([0-9.]+)"))) return std::stod(m[1]);
    return -1;
}

class SpecialOperation : public ::testing::TestWithParam<std::string> {};

TEST_P(SpecialOperation, LagCorrectionKeepsThePictureAndTheContainer) {
    TempFolder dir;
    std::string in = Fixture(GetParam());
    std::string out = dir / ("synced." + Ext(GetParam()));
    RunResult r = RunStep(dir, "Video-Synchro", in, out, {"0.3"});
    ASSERT_EQ(r.status, 0) << r.output;
    Probe a = ProbeFile(in), b = ProbeFile(out);
    EXPECT_EQ(b.format, a.format);
    EXPECT_EQ(b.vcodec, a.vcodec);
    EXPECT_EQ(b.width, a.width);
    EXPECT_FALSE(b.acodec.empty());
    EXPECT_NEAR(b.duration, a.duration, a.duration * 0.1) << r.output;
}

TEST_P(SpecialOperation, ExtractionKeepsTheSegmentInTheSameContainer) {
    TempFolder dir;
    std::string in = Fixture(GetParam());
    std::string out = dir / ("part." + Ext(GetParam()));
    RunResult r = RunStep(dir, "Video-Extraction", in, out, {"-1000", "00:00:01", "00:00:01"});
    ASSERT_EQ(r.status, 0) << r.output;
    Probe a = ProbeFile(in), b = ProbeFile(out);
    EXPECT_EQ(b.format, a.format);
    EXPECT_EQ(b.vcodec, a.vcodec);
    EXPECT_NEAR(b.duration, 1.0, 0.1) << r.output;
}

INSTANTIATE_TEST_SUITE_P(EveryInputClass, SpecialOperation, ::testing::ValuesIn(kAllClips),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string n = info.param;
                             for (auto& ch : n)
                                 if (ch == '.') ch = '_';
                             return n;
                         });

TEST(LagCorrection, ShiftsTheSoundByTheLagInBothDirections) {
    TempFolder dir;
    // A beep from 1.0 s to 1.3 s over a moving picture.
    const std::vector<std::string> sources = {"testsrc2=size=160x120:rate=25:duration=3",
                                              "aevalsrc=if(between(t\\,1\\,1.3)\\,sin(2*PI*440*t)\\,0):s=44100:d=3"};
    struct Row {
        std::string clip;
        std::vector<std::string> options;
        std::string delay;
        double beepAt;
    } rows[] = {
        {"beep.avi", {"-c:v", "mpeg4", "-g", "25", "-c:a", "libmp3lame"}, "-0.5", 1.5},
        {"beep.avi", {"-c:v", "mpeg4", "-g", "25", "-c:a", "libmp3lame"}, "0.5", 0.5},
        {"beep.mkv", {"-c:v", "libx264", "-preset", "ultrafast", "-c:a", "aac"}, "-1.25", 2.25},
        {"beep.mkv", {"-c:v", "libx264", "-preset", "ultrafast", "-c:a", "aac"}, "0.75", 0.25},
    };
    for (const auto& row : rows) {
        std::string in = MakeClip(dir, row.clip, sources, row.options);
        ASSERT_NEAR(FirstSoundAt(in), 1.0, 0.06);
        std::string out = dir / ("synced-" + row.delay + "-" + row.clip);
        RunResult r = RunStep(dir, "Video-Synchro", in, out, {row.delay});
        ASSERT_EQ(r.status, 0) << r.output;
        EXPECT_NEAR(FirstSoundAt(out), row.beepAt, 0.06) << row.clip << " delay " << row.delay;
        EXPECT_EQ(ProbeFile(out).vcodec, ProbeFile(in).vcodec);
    }
}

// The chained recipes: picture and sound made apart, then joined without re-encoding.
TEST(ChainedRecipe, JoinsPictureAndSoundMadeApart) {
    struct Row {
        std::string clip, soundCode, pictureCode, finalCode;
        Expect expect;
    } rows[] = {
        {"clip.mts", "720p", "720p", "", {"avi", "", "mpeg4", 1280, 720, 25, "mp3", 44100, 2}},
        {"clip.m2ts", "hdToAudioTraitable", "hdToVideoTraitable", "flv264bq",
         {"flv", "", "h264", 640, 360, 0, "mp3", 44100, 2}},
    };
    for (const auto& row : rows) {
        TempFolder dir;
        UseInstalledTools(dir);
        const std::string in = Fixture(row.clip);
        const std::string temp = InstalledTempStem();
        const bool toWma = row.soundCode == "hdToAudioTraitable";
        RunResult r = RunCommandLine(transcoda::ExtractAudioTrackCommandLine(row.soundCode, in, temp),
                                     temp + (toWma ? ".wma" : ".mp3"));
        ASSERT_EQ(r.status, 0) << r.output;
        r = RunCommandLine(transcoda::FormatStepCommandLine(row.pictureCode, in, dir / "unused.avi", {}, temp),
                           temp + ".avi");
        ASSERT_EQ(r.status, 0) << r.output;
        const std::string joined = row.finalCode.empty() ? dir / "joined.avi" : temp + "-2.avi";
        r = RunCommandLine(row.finalCode.empty() ? transcoda::MuxFinalCommandLine(joined, temp)
                                                 : transcoda::MuxIntermediateCommandLine(joined, temp),
                           joined);
        ASSERT_EQ(r.status, 0) << r.output;
        std::string out = joined;
        if (!row.finalCode.empty()) {
            out = dir / "final.flv";
            r = RunCommandLine(transcoda::FormatStepCommandLine(row.finalCode, joined, out, {}, temp), out);
            ASSERT_EQ(r.status, 0) << r.output;
        }
        Probe p = ProbeFile(out);
        const Expect& e = row.expect;
        EXPECT_NE(p.format.find(e.format), std::string::npos) << p.format;
        EXPECT_EQ(p.vcodec, e.vcodec);
        EXPECT_EQ(p.width, e.width);
        EXPECT_EQ(p.height, e.height);
        EXPECT_EQ(p.acodec, e.acodec);
        EXPECT_EQ(p.rate, e.rate);
        EXPECT_NEAR(p.duration, ProbeFile(in).duration, 0.3) << row.clip;
    }
}

TEST(Extraction, CamcorderSegmentIsReencodedToMpeg) {
    TempFolder dir;
    std::string out = dir / "cam.mpeg";
    RunResult r = RunStep(dir, "Video-Extraction-FromMTSetCompagnie", Fixture("clip.m2ts"), out,
                          {"-1000", "00:00:01", "00:00:02"});
    ASSERT_EQ(r.status, 0) << r.output;
    Probe p = ProbeFile(out);
    EXPECT_EQ(p.format, "mpeg");
    EXPECT_EQ(p.width, 640);
    EXPECT_NEAR(p.duration, 2.0, 0.2);
    const auto report = transcoda::ParseStreamReport(r.output);
    ASSERT_TRUE(report) << r.output;
    EXPECT_EQ(report->Content, transcoda::PictureContent::Same) << r.output;
}

// An extraction writes exactly the window asked for, whatever the spacing of the key
// frames (10 s, 1 s, a single one): its picture lasts the segment to a frame, and the
// tool's check finds its first and last pictures to be the source's there, and tells a
// window 1 s away apart. Recorded clips go the same way when the corpus is there.
TEST(Extraction, WritesTheAskedWindowWhateverTheKeyFrames) {
    TempFolder dir;
    const std::vector<std::string> sources = {"testsrc2=size=320x240:rate=25:duration=14",
                                              "sine=frequency=440:duration=14"};
    struct Row {
        std::string clip;
        std::vector<std::string> options;
        std::string start, length, way;
    } rows[] = {
        {"sparse.mp4", {"-c:v", "libx264", "-c:a", "aac", "-g", "250"}, "00:00:05", "00:00:07", "picture is coded again"},
        {"sparse.avi", {"-c:v", "mpeg4", "-q:v", "5", "-c:a", "libmp3lame", "-g", "250"}, "00:00:05", "00:00:07",
         "the rest is copied"},
        {"dense.mkv", {"-c:v", "libx264", "-preset", "ultrafast", "-c:a", "aac", "-g", "25"}, "00:00:05.5", "00:00:02",
         "picture is coded again"},
        {"dense.mkv", {}, "00:00:05", "00:00:02", "picture is copied"},
        {"dense.vob", {"-c:v", "mpeg2video", "-b:v", "2000k", "-c:a", "ac3", "-g", "25"}, "00:00:03.3", "00:00:02",
         "the rest is copied"},
        {"single.mp4", {"-c:v", "libx264", "-preset", "ultrafast", "-c:a", "aac", "-g", "1000"}, "00:00:00",
         "00:00:01", "picture is copied"},
    };
    std::vector<Row> all(std::begin(rows), std::end(rows));
    const fs::path corpus = "/work/shared/corpus/real";
    for (const char* clip : {"bikes.mp4", "xbox.wmv", "grampa-laughing.flv", "friday.mp4"})
        if (fs::exists(corpus / clip)) all.push_back({(corpus / clip).string(), {}, "00:00:01.3", "00:00:02", ""});
    for (const Row& row : all) {
        SCOPED_TRACE(row.clip + " from " + row.start);
        const bool recorded = row.clip.front() == '/';
        const std::string in = recorded || row.options.empty() ? (recorded ? row.clip : dir / row.clip)
                                                               : MakeClip(dir, row.clip, sources, row.options);
        const std::string out = dir / ("part." + Ext(row.clip));
        RunResult r = RunStep(dir, "Video-Extraction", in, out, {"-1000", row.start, row.length});
        ASSERT_EQ(r.status, 0) << r.output;
        EXPECT_NE(r.output.find(row.way), std::string::npos) << r.output;
        const auto report = transcoda::ParseStreamReport(r.output);
        ASSERT_TRUE(report) << r.output;
        EXPECT_EQ(report->Content, transcoda::PictureContent::Same) << r.output;
        const double start = transcoda::SecondsOfClock(row.start), length = transcoda::SecondsOfClock(row.length);
        // One frame at 25 a second, and the rounding of the container's timestamps.
        EXPECT_NEAR(report->Longest(transcoda::StreamKind::Video), length, recorded ? 0.11 : 0.05) << r.output;
        if (!recorded) {
            EXPECT_FALSE(helpers::CompareSegmentPictures(out, in, start + 1, length).Same());
        }
    }
}

// The lines of one ffprobe section of a file's stream ("key=value").
std::string Probed(const std::string& file, const std::string& stream, const std::string& entries) {
    return helpers::CaptureEngine(
        {"ffprobe", "-v", "error", "-select_streams", stream, "-show_entries", entries, "-of", "default=nw=1", file});
}

double Value(const std::string& lines, const std::string& key) {
    std::smatch m;
    if (!std::regex_search(lines, m, std::regex("(^|\n)" + key + "=([-0-9.]+)"))) return -1;
    return std::stod(m[2]);
}

std::string EngineLog(const std::string& file, const std::string& filter) {
    std::string log;
    helpers::EngineOptions o;
    o.out = helpers::Stream::Null;
    o.err = helpers::Stream::Capture;
    o.onErr = [&](const char* d, size_t n) { log.append(d, n); };
    helpers::RunEngine({"ffmpeg", "-nostdin", "-i", file, "-an", "-vf", filter, "-f", "null", "-"}, o);
    return log;
}

// The shape the written picture shows: the part within its black bars, with the
// aspect of its pixels.
double ShownAspect(const std::string& file) {
    const std::string log = EngineLog(file, "cropdetect=limit=24:round=2:reset=0");
    std::smatch m;
    double w = 0, h = 1;
    const std::regex crop("crop=([0-9]+):([0-9]+)");
    for (auto it = std::sregex_iterator(log.begin(), log.end(), crop);
         it != std::sregex_iterator(); ++it) {
        w = std::stod((*it)[1]);
        h = std::stod((*it)[2]);
    }
    const std::string sar = Probed(file, "v:0", "stream=sample_aspect_ratio");
    double aspect = 1;
    if (std::regex_search(sar, m, std::regex("=([0-9]+):([0-9]+)")) && std::stod(m[2]) > 0)
        aspect = std::stod(m[1]) / std::stod(m[2]);
    return w * aspect / h;
}

// Pictures whose lines show two moments (interlaced), as the engine's detector counts them.
int CombedPictures(const std::string& file) {
    const std::string log = EngineLog(file, "idet");
    std::smatch m;
    if (!std::regex_search(log, m, std::regex("Multi frame detection: TFF: *([0-9]+) BFF: *([0-9]+)"))) return -1;
    return std::stoi(m[1]) + std::stoi(m[2]);
}

// The sound's bit rate in kbit/s, from its packets.
double SoundKbps(const std::string& file) {
    const std::string sizes = helpers::CaptureEngine(
        {"ffprobe", "-v", "error", "-select_streams", "a:0", "-show_entries", "packet=size", "-of", "csv=p=0", file});
    std::istringstream in(sizes);
    double bytes = 0, size = 0;
    while (in >> size) bytes += size;
    const double seconds = Value(Probed(file, "a:0", "format=duration"), "duration");
    return seconds > 0 ? bytes * 8 / 1000 / seconds : 0;
}

// Recorded pictures and sounds the targets cannot take as they are: each comes out with
// its shape (within 3 %), the channels and rate its target takes at the label's bit
// rate, its first picture at the start, and whole pictures.
TEST(RecordedMedia, ComeOutAsTheyWereRecorded) {
    const std::string surround = "pan=5.1|c0=c0|c1=c0|c2=c0|c3=c0|c4=c0|c5=c0";
    auto picture = [](const std::string& size, int rate = 25) {
        return "testsrc=size=" + size + ":rate=" + std::to_string(rate) + ":duration=2";
    };
    const std::string sound = "sine=frequency=440:sample_rate=48000:duration=2";
    const std::vector<std::string> h264 = {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p"};
    auto with = [](std::vector<std::string> a, const std::vector<std::string>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    struct Row {
        std::string name, clip;
        std::vector<std::string> sources, options;
        std::string code, output;  // output: empty for a DVD folder
        double aspect = 0;         // the shape shown; 0: not checked
        int channels = 0, minRate = 0;
        double minKbps = 0, maxStart = -1;
        bool whole = false;
    } rows[] = {
        {"5.1 into WMV", "surround.mkv", {picture("320x240"), sound}, with(h264, {"-c:a", "aac", "-af", surround}),
         "wmvNotFormMTS-M2TS", "out.wmv", 4.0 / 3, 2},
        {"5.1 into an iPod", "surround.mkv", {picture("320x240"), sound}, with(h264, {"-c:a", "aac", "-af", surround}),
         "IpodNorml", "out.m4v", 4.0 / 3, 2},
        {"16:9 into a DVD", "wide.mp4", {picture("640x360"), sound}, with(h264, {"-c:a", "aac"}), "DVD-pal", "",
         16.0 / 9},
        {"portrait into MPEG 640x480", "portrait.mp4", {picture("360x640"), sound}, with(h264, {"-c:a", "aac"}),
         "mpeg480p128", "out.mpeg", 9.0 / 16},
        {"16 kHz into FLV H.264", "speech.wmv", {picture("320x240"), "sine=sample_rate=16000:duration=2"},
         {"-c:v", "wmv2", "-c:a", "wmav2"}, "flv264bq", "out.flv", 4.0 / 3, 0, 16000, 240},
        {"ASF whose picture resumes at 1.33 s into FLV H.264", "late.asf",
         {picture("320x240", 15), "sine=sample_rate=16000:duration=2"},
         {"-vf", "select=eq(n\\,0)+gte(t\\,1.33)", "-fps_mode", "vfr", "-c:v", "wmv2", "-c:a", "wmav2"}, "flv264bq",
         "out.flv", 0, 0, 0, 0, 0.05},
        {"interlaced into FLV H.264", "interlaced.mkv", {picture("720x576", 50), sound},
         with(h264, {"-vf", "tinterlace=interleave_top,fieldorder=tff", "-flags", "+ildct+ilme", "-x264opts", "tff=1",
                     "-c:a", "aac"}),
         "flv264bq", "out.flv", 0, 0, 0, 0, -1, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TempFolder dir;
        const std::string in = MakeClip(dir, row.clip, row.sources, row.options);
        const std::string folder = dir / "dvd/";
        if (row.output.empty()) fs::create_directories(folder + "DVD-Disc1");
        const std::string out = row.output.empty() ? folder : dir / row.output;
        RunResult r = RunStep(dir, row.code, in, out);
        EXPECT_EQ(r.status, 0) << r.output;
        if (r.status != 0) continue;
        const std::string written = row.output.empty() ? folder + "DVD-Disc1/tmpvdv.mpg" : out;
        if (row.aspect > 0) {
            EXPECT_NEAR(ShownAspect(written) / row.aspect, 1.0, 0.03);
        }
        const std::string soundLines = Probed(written, "a:0", "stream=channels,sample_rate,start_time");
        if (row.channels > 0) {
            EXPECT_EQ(Value(soundLines, "channels"), row.channels);
        }
        if (row.minRate > 0) {
            EXPECT_GE(Value(soundLines, "sample_rate"), row.minRate);
            EXPECT_GE(SoundKbps(written), row.minKbps);
        }
        if (row.maxStart >= 0) {
            EXPECT_LE(Value(Probed(written, "v:0", "stream=start_time"), "start_time"), row.maxStart);
            EXPECT_LE(Value(soundLines, "start_time"), row.maxStart);
        }
        if (row.whole) {
            EXPECT_EQ(CombedPictures(in), 50) << "the input is not interlaced as made";
            EXPECT_LE(CombedPictures(written), 2);
        }
    }
}

TEST(DvdFolder, AuthorsPalAndNtscTitlesWithTheirTableOfContents) {
    struct Row {
        std::string code, clip;
        int height;
    } rows[] = {{"DVD-pal", "clip.avi", 576}, {"DVD-ntsc-wmv", "clip.wmv", 480}};
    for (const auto& row : rows) {
        TempFolder dir;
        const std::string folder = dir / "film/", disc = folder + "DVD-Disc1";
        fs::create_directories(disc);
        const std::string in = Fixture(row.clip);
        RunResult enc = RunStep(dir, row.code, in, folder);
        ASSERT_EQ(enc.status, 0) << enc.output;
        RunResult title = RunStep(dir, "DVD-authoring", in, folder);
        ASSERT_EQ(title.status, 0) << title.output;
        RunResult toc = RunStep(dir, "DVD-finalization", in, folder);
        ASSERT_EQ(toc.status, 0) << toc.output;
        EXPECT_TRUE(fs::exists(disc + "/VIDEO_TS/VIDEO_TS.IFO")) << toc.output;
        EXPECT_TRUE(fs::is_directory(disc + "/AUDIO_TS"));
        Probe vob = ProbeFile(disc + "/VIDEO_TS/VTS_01_1.VOB");
        EXPECT_EQ(vob.vcodec, "mpeg2video");
        EXPECT_EQ(vob.width, 720);
        EXPECT_EQ(vob.height, row.height);
        EXPECT_EQ(vob.acodec, "ac3");
    }
}

TEST(DvdFolder, TableOfContentsOfAFolderWithoutTitleFailsPlainly) {
    TempFolder dir;
    RunResult r = RunTool("utilityoth.exe", " -T -o " + Q(dir / "nothing"));
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.output.find("holds no title"), std::string::npos) << r.output;
}

TEST(EveryTool, RefusesAnUnknownOptionByName) {
    for (const char* tool : {"utilitymff.exe", "utilitymffx.exe", "utilitymff3.exe", "utilitymen.exe",
                             "utilitymen2.exe", "utilitympl.exe", "utilityoth.exe"}) {
        RunResult r = RunTool(tool, "-bogus 1 \"x.avi\"");
        EXPECT_NE(r.status, 0) << tool;
        EXPECT_EQ(r.output, std::string(tool) + ": unknown option -bogus\n");
    }
}

// The tool describes an input itself, without the engine: the lines must be the
// engine's own, and the description the plans work from must be ffprobe's.
TEST(DurationProbe, DescribesEveryInputAsTheEngineAndFfprobeDo) {
    std::vector<std::string> clips = kAllClips;
    clips.push_back("clip-silent.avi");
    for (const std::string& clip : clips) {
        SCOPED_TRACE(clip);
        const std::string path = Fixture(clip);
        RunResult tool = RunTool("utilitymffx.exe", "-i " + Q(path));
        std::string engine;
        helpers::EngineOptions eo;
        eo.err = helpers::Stream::Capture;
        eo.onErr = [&](const char* d, size_t n) { engine.append(d, n); };
        helpers::RunEngine({"ffmpeg", "-nostdin", "-hide_banner", "-i", path}, eo);
        EXPECT_EQ(tool.status, 1);
        EXPECT_EQ(tool.output.substr(0, tool.output.find("\ntranscoda-streams:")), engine);
        EXPECT_NE(tool.output.find("\ntranscoda-streams: readable "), std::string::npos) << tool.output;

        const helpers::MediaInfo own = helpers::ReadFileFacts(path).description;
        const Probe ffprobe = ProbeFile(path);
        EXPECT_EQ(own.videoCodec, ffprobe.vcodec);
        EXPECT_EQ(own.width, ffprobe.width);
        EXPECT_EQ(own.height, ffprobe.height);
        EXPECT_NEAR(own.fps, ffprobe.fps, 0.01);
        EXPECT_EQ(own.audioCodec, ffprobe.acodec);
        EXPECT_EQ(own.sampleRate, ffprobe.rate);
        EXPECT_EQ(own.channels, ffprobe.channels);
        EXPECT_NEAR(own.duration, ffprobe.duration, 0.001);
    }
}

// Each picture and sound stream's length, read from the start to the end without a seek:
// from its first timestamp to the end of its last packet.
std::vector<double> LengthsReadThrough(const std::string& path) {
    const helpers::OpenedMedia media(path);
    AVFormatContext* fc = media.Context();
    if (fc == nullptr) return {};
    const auto& av = helpers::Libav();
    std::vector<double> first(fc->nb_streams, 1e18), last(fc->nb_streams, -1.0);
    AVPacket* p = av.av_packet_alloc();
    while (av.av_read_frame(fc, p) >= 0) {
        const int64_t ts = p->pts != AV_NOPTS_VALUE ? p->pts : p->dts;
        if (ts != AV_NOPTS_VALUE) {
            const double at = static_cast<double>(ts) * av_q2d(fc->streams[p->stream_index]->time_base);
            const double end = at + static_cast<double>(p->duration) * av_q2d(fc->streams[p->stream_index]->time_base);
            first[p->stream_index] = std::min(first[p->stream_index], at);
            last[p->stream_index] = std::max(last[p->stream_index], end);
        }
        av.av_packet_unref(p);
    }
    av.av_packet_free(&p);
    std::vector<double> lengths;
    for (unsigned i = 0; i < fc->nb_streams; ++i) {
        const AVMediaType type = fc->streams[i]->codecpar->codec_type;
        if (type == AVMEDIA_TYPE_VIDEO || type == AVMEDIA_TYPE_AUDIO) lengths.push_back(last[i] - first[i]);
    }
    return lengths;
}

// The read-back gives each stream its own last packet's end, as a reading through the
// whole file finds it: a sound or picture that stops seconds before the other is not
// given the start of the scanned tail as its end, and an AVI file with dropped-frame
// entries (whose reader times packets late after a seek) is not read after a seek.
TEST(ReadBack, EachStreamEndsWithItsOwnLastPacket) {
    TempFolder dir;
    const std::string droppedFrames =
        MakeClip(dir, "dropped.avi", {"testsrc2=size=160x120:rate=25:duration=6", "sine=duration=6"},
                 {"-vf", "select='lt(mod(n,4),1)'", "-fps_mode", "vfr", "-c:v", "rawvideo", "-pix_fmt", "yuv420p",
                  "-c:a", "pcm_s16le"});
    // Cut at 60 %: no index left, read from the start.
    const std::string cut = dir / "cut.avi";
    fs::copy_file(droppedFrames, cut);
    fs::resize_file(cut, fs::file_size(cut) * 6 / 10);
    // One picture in a program stream: too short for the file to give its times.
    const std::string onePicture =
        MakeClip(dir, "one.mpg", {"testsrc2=size=160x120:rate=25"}, {"-frames:v", "1", "-target", "pal-dvd", "-an"});
    std::vector<std::string> files = {droppedFrames, cut, onePicture, Fixture("clip.mp3"), Fixture("clip-silent.avi")};
    for (const char* shape : {"clip-shortsound.", "clip-shortpicture."})
        for (const char* ext : {"mkv", "mp4", "vob", "mpg"}) files.push_back(Fixture(shape + std::string(ext)));
    for (const std::string& file : files) {
        const transcoda::StreamReport report = helpers::ReadStreams(file);
        const std::vector<double> through = LengthsReadThrough(file);
        ASSERT_EQ(report.Streams.size(), through.size()) << file;
        for (size_t i = 0; i < through.size(); ++i)
            EXPECT_NEAR(report.Streams[i].Seconds, through[i], 0.03) << file << " stream " << i;
    }
}

// The engine a tool runs ends with the tool, however the tool is ended; a tool that
// reads a file itself (a description, the facts a plan needs) ends at once too. The
// fifos are never opened from the other end, so every reader and writer waits on them.
TEST(StoppedTool, LeavesNoEngineBehind) {
    TempFolder dir;
    std::string fifo = dir / "never written";
    std::string sink = dir / "never read.avi";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(sink.c_str(), 0600), 0);
    fs::create_directories(dir / "mpv");
    std::ofstream(dir / "mpv/mpv.conf") << "vo=null\nao=null\n";
    struct Row {
        std::string tool, args, engine;  // no engine: the tool reads the file itself
        int signal;
        bool wholeGroup;
    } rows[] = {
        {"utilitymffx.exe", "-i " + Q(fifo), "", SIGKILL, false},
        {"utilitymff3.exe", "-i " + Q(fifo), "", SIGTERM, false},
        {"utilitymff3.exe", "-i " + Q(fifo) + " -vcodec copy -an -y " + Q(dir / "o.mkv"), "ffmpeg", SIGTERM, false},
        {"utilitymen.exe", Q(fifo) + " -ovc copy -oac copy -o " + Q(dir / "o.avi"), "", SIGKILL, false},
        {"utilitymen.exe", Q(Fixture("clip.mkv")) + " -ovc copy -oac copy -o " + Q(sink), "ffmpeg", SIGKILL, false},
        {"utilitymen2.exe", Q(Fixture("clip.mkv")) + " -ovc copy -oac copy -o " + Q(sink), "ffmpeg", SIGKILL, true},
        {"utilitympl.exe", " " + Q(Fixture("clip.mkv")), "mpv", SIGKILL, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.tool + " " + row.args);
        pid_t tool = StartTool(row.tool, row.args, {"MPV_HOME=" + dir / "mpv"});
        pid_t engine = -1;
        for (int i = 0; i < 250 && engine < 0 && !row.engine.empty(); ++i) {
            for (pid_t c : ChildrenOf(tool)) {
                std::ifstream comm("/proc/" + std::to_string(c) + "/comm");
                std::string name;
                std::getline(comm, name);
                if (name == row.engine) engine = c;
            }
            if (engine < 0) usleep(20000);
        }
        if (row.engine.empty()) {
            // Waiting on the fifo in its own reading, with nothing started.
            std::string state;
            for (int i = 0; i < 250 && state != "S"; ++i) {
                std::ifstream stat("/proc/" + std::to_string(tool) + "/stat");
                std::string pid, name;
                stat >> pid >> name >> state;
                if (state != "S") usleep(20000);
            }
            EXPECT_TRUE(ChildrenOf(tool).empty());
        } else {
            ASSERT_GT(engine, 0) << row.tool << " started no " << row.engine;
        }
        std::ifstream comm("/proc/" + std::to_string(tool) + "/comm");
        std::string toolName;
        std::getline(comm, toolName);
        EXPECT_EQ(toolName, row.tool);
        if (row.wholeGroup) kill(-tool, row.signal);
        else kill(tool, row.signal);
        EXPECT_TRUE(GoneWithin(tool, 3000)) << row.tool;
        if (engine > 0) {
            EXPECT_TRUE(GoneWithin(engine, 3000)) << row.tool << ": " << row.engine << " outlived it";
            if (Alive(engine)) kill(engine, SIGKILL);
        }
    }
}

TEST(Player, PlaysToTheEndAndEnds) {
    TempFolder dir;
    fs::create_directories(dir / "mpv");
    std::ofstream(dir / "mpv/mpv.conf") << "vo=null\nao=null\n";
    pid_t tool = StartTool("utilitympl.exe", " " + Q(Fixture("clip.mp4")) + " -ss 00:00:01 -delay 0.50",
                           {"MPV_HOME=" + dir / "mpv"});
    // Two seconds are left to play from the start position.
    EXPECT_TRUE(GoneWithin(tool, 8000));
}

// Each tool's output, read in pieces as the program's reader reads it, moves the
// progress display forward to the end.
TEST(Progress, EveryToolDrivesThePercentageUpToTheEnd) {
    TempFolder dir;
    std::string in = MakeClip(dir, "long.mkv",
                              {"testsrc2=size=320x240:rate=25:duration=12", "sine=frequency=300:duration=12"},
                              {"-c:v", "libx264", "-preset", "ultrafast", "-g", "25", "-c:a", "aac"});
    struct Row {
        std::string tool, args, output;
    } rows[] = {
        {"utilitymff3.exe", "-i " + Q(in) + " -vcodec mpeg4 -b 4200k -vtag XVID -sameq -s 1920x1080 -r 25 -an -f avi "
                                            "-copyts -benchmark " + Q(dir / "o1.avi"),
         dir / "o1.avi"},
        {"utilitymffx.exe", " -i " + Q(in) + " -s 640x480 -acodec libfaac -ar 48000 -ab 128k -vcodec libx264 -r 30 "
                                             "-crf 22 -threads 0 " + Q(dir / "o2.m4v"),
         dir / "o2.m4v"},
        {"utilitymff.exe", " -title \"T\" -i " + Q(in) + " -acodec mp3 -ac 2 -ab 128 -vn -y " + Q(dir / "o3.mp3"), dir / "o3.mp3"},
        {"utilitymen.exe", Q(in) + " -ovc xvid -xvidencopts bitrate=4000 -oac mp3lame -lameopts abr:br=192 -vf "
                                   "scale=640:480 -o " + Q(dir / "o4.mpeg"),
         dir / "o4.mpeg"},
        {"utilitymen2.exe", " -oac mp3lame -lameopts cbr:br=256 -ovc x264 -x264encopts bitrate=4200 " + Q(in) +
                                " -o " + Q(dir / "o5.flv"),
         dir / "o5.flv"},
        // The AMR-NB sound is coded while the engine runs, the percentage held to it.
        {"utilitymffx.exe", " -i " + Q(in) + " -s qcif -vcodec mpeg4 -b 64k -s 176x144 -acodec libamr_nb -ac 1 "
                                             "-ar 8000 -r 12 -ab 12.2k -y " + Q(dir / "o6.3gp"),
         dir / "o6.3gp"},
    };
    for (const auto& row : rows) {
        transcoda::testing::RecordingWindow window;
        transcoda::ConversionSession session;
        window.Follow(session);
        transcoda::ProgressHandler handler(session);
        fs::remove(row.output);
        RunResult r = RunToolChunked(row.tool, row.args, [&](const char* d, size_t n) {
            handler.HandleOutputChunk(transcoda::ChunkFromBytes(d, n));
        });
        ASSERT_EQ(r.status, 0) << r.output;
        std::vector<double> percents;
        for (const auto& t : window.Texts("title"))
            if (t.size() > 2 && t.substr(t.size() - 2) == "% ") percents.push_back(std::stod(t));
        std::string shown;
        for (const auto& t : window.Texts("progress")) shown += "[" + t + "]";
        ASSERT_FALSE(percents.empty()) << row.tool << " showed " << shown << " run duration " << handler.RunDuration
                                       << " calls " << window.calls.size() << ":\n" << r.output;
        // Never back, not even for a time past the input's end (held at 99 %).
        for (size_t i = 1; i < percents.size(); ++i) EXPECT_GE(percents[i], percents[i - 1]) << row.tool;
        EXPECT_GE(percents.back(), 90.0) << row.tool << ":\n" << r.output;
        EXPECT_LE(percents.back(), 100.0) << row.tool;
    }
}

}  // namespace
}  // namespace tools_test
