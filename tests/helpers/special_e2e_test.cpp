// The special operations, DVD authoring, stopping a tool, and the progress the program
// reads from each tool, all on the installed tools and generated clips.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "engine.h"
#include "exec/app_state.h"
#include "file_facts.h"
#include "libav.h"
#include "stream_readback.h"
#include "exec/pipe_reader.h"
#include "exec/progress_handler.h"
#include "recipes/auxiliary_steps.h"
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
    return RunCommandLine(transcoda::FormatStepCommandLine(code, in, out, values), out.ends_with('/') ? "" : out);
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
        const std::string temp = transcoda::App().IntermediateFolder() + transcoda::App().TempBaseName;
        const bool toWma = row.soundCode == "hdToAudioTraitable";
        RunResult r = RunCommandLine(transcoda::ExtractAudioTrackCommandLine(row.soundCode, in),
                                     temp + (toWma ? ".wma" : ".mp3"));
        ASSERT_EQ(r.status, 0) << r.output;
        r = RunCommandLine(transcoda::FormatStepCommandLine(row.pictureCode, in, dir / "unused.avi", {}),
                           temp + ".avi");
        ASSERT_EQ(r.status, 0) << r.output;
        const std::string joined = row.finalCode.empty() ? dir / "joined.avi" : temp + "-2.avi";
        r = RunCommandLine(row.finalCode.empty() ? transcoda::MuxFinalCommandLine(joined)
                                                 : transcoda::MuxIntermediateCommandLine(joined),
                           joined);
        ASSERT_EQ(r.status, 0) << r.output;
        std::string out = joined;
        if (!row.finalCode.empty()) {
            out = dir / "final.flv";
            r = RunCommandLine(transcoda::FormatStepCommandLine(row.finalCode, joined, out, {}), out);
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
    std::vector<std::string> files = {droppedFrames, cut, Fixture("clip.mp3"), Fixture("clip-silent.avi")};
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
        {"utilitymff3.exe", "-i " + Q(fifo) + " -r 25 -ar 44100 -y " + Q(dir / "o.flv"), "ffmpeg", SIGTERM, false},
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
    };
    for (const auto& row : rows) {
        transcoda::testing::RecordingWindow window;
        auto& app = transcoda::App();
        app.Window = &window;
        app.InputDurationCs = -100;
        app.PositionCs = -100;
        app.DurationText.clear();
        app.ItemCounterText.clear();
        transcoda::ProgressHandler handler;
        fs::remove(row.output);
        RunResult r = RunToolChunked(row.tool, row.args, [&](const char* d, size_t n) {
            handler.HandleOutputChunk(transcoda::ChunkFromBytes(d, n));
        });
        app.Window = nullptr;
        ASSERT_EQ(r.status, 0) << r.output;
        std::vector<double> percents;
        for (const auto& t : window.Texts("title"))
            if (t.size() > 2 && t.substr(t.size() - 2) == "% ") percents.push_back(std::stod(t));
        std::string shown;
        for (const auto& t : window.Texts("progress")) shown += "[" + t + "]";
        ASSERT_FALSE(percents.empty()) << row.tool << " showed " << shown << " run duration " << handler.RunDuration
                                       << " calls " << window.calls.size() << ":\n" << r.output;
        // The program shows a time past the input's end as 99 %, which may follow 99.17 %.
        for (size_t i = 1; i < percents.size(); ++i)
            EXPECT_GE(std::min(percents[i], 99.0), std::min(percents[i - 1], 99.0)) << row.tool;
        EXPECT_GE(percents.back(), 90.0) << row.tool << ":\n" << r.output;
        EXPECT_LE(percents.back(), 100.0) << row.tool;
    }
}

}  // namespace
}  // namespace tools_test
