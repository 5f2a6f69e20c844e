// Every conversion command line of the recipes, as the recipes build it, run through the
// installed tools on the input classes that reach it; the written file is checked with
// ffprobe for the container, codecs, frame size, sound and length that the preset
// promises.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "exec/app_state.h"
#include "recipes/auxiliary_steps.h"
#include "recipes/step_templates.h"
#include "tool_run.h"

namespace tools_test {
namespace {

// A step code of the recipes (or an auxiliary step, "ExtractAudioTrack-<code>" and
// "PrepareIntermediate"), the input classes that reach it, and what it must write.
struct Command {
    std::string code;
    std::string outExt;
    std::vector<std::string> inputs;
    Expect expect;
};

const std::vector<Command>& Commands() {
    static const std::vector<Command> list = {
        {"720p", "avi", {"clip.avi", "clip.mts"}, {"avi", "", "mpeg4", 1280, 720, 25, "", 0, 0}},
        {"1080p", "avi", {"clip.mkv"}, {"avi", "", "mpeg4", 1920, 1080, 25, "", 0, 0}},
        {"hdToVideoTraitable", "avi", {"clip.mts", "clip.m2ts"}, {"avi", "", "mpeg4", 640, 360, 25, "", 0, 0}},
        {"mpeg720p256", "mpeg", {"clip.mp4"}, {"mpeg", "", "mpeg1video", 1280, 720, 0, "mp2", 44100, 2}},
        {"mpeg480p128", "mpeg", {"clip.avi", "clip.vob", "clip.flv"},
         {"mpeg", "", "mpeg1video", 640, 480, 0, "mp2", 44100, 2}},
        {"mpeg360p128", "mpeg", {"clip.mpg"}, {"mpeg", "", "mpeg1video", 480, 360, 0, "mp2", 44100, 2}},
        {"mpeg240p128", "mpeg", {"clip.mkv"}, {"mpeg", "", "mpeg1video", 320, 240, 0, "mp2", 44100, 2}},
        {"mpeg720p256asf", "mpeg", {"clip.wmv"}, {"mpeg", "", "mpeg1video", 1280, 720, 0, "mp3", 44100, 2}},
        {"mpeg480p128asf", "mpeg", {"clip.asf", "clip.3gp"}, {"mpeg", "", "mpeg1video", 640, 480, 0, "mp3", 0, 2}},
        {"mpeg360p128asf", "mpeg", {"clip.wmv"}, {"mpeg", "", "mpeg1video", 480, 360, 0, "mp3", 44100, 2}},
        // MP3 at 192 kbit/s of a 22.05 kHz sound takes 32 kHz (at 22.05 kHz it stops at 160).
        {"mpeg240p128asf", "mpeg", {"clip.3gp"}, {"mpeg", "", "mpeg1video", 320, 240, 0, "mp3", 32000, 2}},
        {"mp3rate128", "mp3", {"clip.flv"}, {"mp3", "", "", 0, 0, 0, "mp3", 44100, 2}},
        {"mp3rate256", "mp3", {"clip.flv"}, {"mp3", "", "", 0, 0, 0, "mp3", 44100, 2}},
        {"wave", "wav", {"clip.flv"}, {"wav", "", "", 0, 0, 0, "pcm_s16le", 44100, 2}},
        {"mp3rate128hd", "mp3", {"clip.mkv", "clip.wav", "clip.mts"}, {"mp3", "", "", 0, 0, 0, "mp3", 44100, 2}},
        {"mp3rate256hd", "mp3", {"clip.mp3", "clip.wmv"}, {"mp3", "", "", 0, 0, 0, "mp3", 44100, 2}},
        {"wavehd", "wav", {"clip.mp4", "clip.mp3"}, {"wav", "", "", 0, 0, 0, "pcm_s16le", 0, 2}},
        {"wmvNotFormMTS-M2TS", "wmv", {"clip.avi", "clip.mkv"}, {"asf", "", "wmv2", 320, 240, 25, "wmav2", 44100, 2}},
        {"rawPcm", "avi", {"clip.mp4", "clip.3gp"}, {"avi", "", "rawvideo", 0, 0, 0, "pcm_s16le", 0, 2}},
        {"flv263bq", "flv", {"clip.avi", "clip.mov"}, {"flv", "", "flv1", 320, 240, 0, "mp3", 44100, 2}},
        {"flv263q1", "flv", {"clip.mkv"}, {"flv", "", "flv1", 352, 288, 15, "mp3", 11025, 2}},
        {"flv263q2", "flv", {"clip.vob"}, {"flv", "", "flv1", 320, 240, 15, "mp3", 11025, 2}},
        {"flv263q3", "flv", {"clip.mp4"}, {"flv", "", "flv1", 176, 144, 15, "mp3", 11025, 2}},
        {"flv264bq", "flv", {"clip.mkv", "clip.avi"}, {"flv", "", "h264", 320, 240, 0, "mp3", 44100, 2}},
        {"flv264q1", "flv", {"clip.mov"}, {"flv", "", "h264", 320, 240, 20, "mp3", 44100, 2}},
        {"3gpAAC", "3gp", {"clip.avi", "clip.mts"}, {"3gp", "3gp", "mpeg4", 176, 144, 15, "aac", 32000, 1}},
        {"3gpAMR1", "3gp", {"clip.mkv", "clip.wmv"}, {"3gp", "3gp", "mpeg4", 176, 144, 12, "amr_nb", 8000, 1}},
        {"3gpAMR2", "3gp", {"clip.flv"}, {"3gp", "3gp", "mpeg4", 128, 96, 10, "amr_nb", 8000, 1}},
        {"3gpAMR3", "3gp", {"clip.mov"}, {"3gp", "3gp", "h263", 176, 144, 12, "amr_nb", 8000, 1}},
        {"3gpAMR4", "3gp", {"clip.mpg"}, {"3gp", "3gp", "h263", 128, 96, 10, "amr_nb", 8000, 1}},
        {"QtH264hd", "mov", {"clip.avi"}, {"mov", "qt", "h264", 848, 480, 0, "aac", 48000, 2}},
        {"QtH264dvd", "mov", {"clip.mkv"}, {"mov", "qt", "h264", 720, 576, 0, "aac", 48000, 2}},
        {"QtH263sd", "mov", {"clip.mp4"}, {"mov", "qt", "h263", 176, 144, 0, "mp3", 44100, 2}},
        {"QtH263oq", "mov", {"clip.vob"}, {"mov", "qt", "h263", 352, 288, 0, "mp3", 44100, 2}},
        {"QtMpeg4hq", "mov", {"clip.avi"}, {"mov", "qt", "mpeg4", 320, 240, 0, "mp3", 44100, 2}},
        {"QtMpeg4bq", "mov", {"clip.flv"}, {"mov", "qt", "mpeg4", 320, 240, 0, "mp3", 44100, 2}},
        {"IpodSmal", "m4v", {"clip.mkv"}, {"mp4", "M4V", "h264", 320, 240, 30, "aac", 48000, 2}},
        {"IpodNorml", "m4v", {"clip.avi", "clip.asf"}, {"mp4", "M4V", "h264", 640, 480, 30, "aac", 48000, 2}},
        {"IphoneItouch", "m4v", {"clip.mov"}, {"mp4", "M4V", "h264", 640, 420, 30, "aac", 48000, 2}},
        {"Ps3HD", "mp4", {"clip.mpg"}, {"mp4", "isom", "h264", 848, 480, 29.97, "aac", 48000, 2}},
        {"Ps3NQ", "mp4", {"clip.flv"}, {"mp4", "isom", "h264", 368, 208, 29.97, "aac", 48000, 2}},
        {"Ps3HQ", "mp4", {"clip.3gp"}, {"mp4", "isom", "h264", 480, 272, 29.97, "aac", 48000, 2}},
        {"XboxHD", "mp4", {"clip.wmv"}, {"mp4", "isom", "h264", 848, 480, 29.97, "aac", 48000, 2}},
        {"IpodMpeg4", "m4v", {"clip.mp4", "clip.mts"}, {"mp4", "isom", "mpeg4", 320, 240, 30, "aac", 48000, 2}},
        {"Video-Extraction-FromMTSetCompagnie", "mpeg", {"clip.mts", "clip.m2ts"},
         {"mpeg", "", "mpeg1video", 640, 480, 0, "mp2", 44100, 2}},
        // Auxiliary steps of the chained recipes.
        {"ExtractAudioTrack-720p", "mp3", {"clip.mts", "clip.avi"}, {"mp3", "", "", 0, 0, 0, "mp3", 44100, 2}},
        {"ExtractAudioTrack-hdToAudioTraitable", "wma", {"clip.m2ts"}, {"asf", "", "", 0, 0, 0, "wmav2", 44100, 2}},
        {"PrepareIntermediate", "avi", {"clip.mts"}, {"avi", "", "mpeg4", 368, 208, 0, "mp3", 44100, 2}},
    };
    return list;
}

struct Case {
    const Command* command;
    std::string input;
};

std::vector<Case> Cases() {
    std::vector<Case> out;
    for (const auto& c : Commands())
        for (const auto& in : c.inputs) out.push_back({&c, in});
    return out;
}

// The command line the recipes build for a row, and the file it writes.
std::pair<std::string, std::string> CommandLineOf(const std::string& code, const std::string& in,
                                                  const std::string& out) {
    const std::string temp = InstalledTempStem();
    const std::string extract = "ExtractAudioTrack-";
    if (code.rfind(extract, 0) == 0) {
        const std::string step = code.substr(extract.size());
        return {transcoda::ExtractAudioTrackCommandLine(step, in, temp),
                temp + (step == "hdToAudioTraitable" ? ".wma" : ".mp3")};
    }
    if (code == "PrepareIntermediate") return {transcoda::PrepareIntermediateCommandLine("368x208", in, out), out};
    const std::string line = transcoda::FormatStepCommandLine(code, in, out, {"-0.40", "00:00:01", "00:00:01"}, temp);
    return {line, line.find(temp + ".avi") != std::string::npos ? temp + ".avi" : out};
}

class CommandLine : public ::testing::TestWithParam<Case> {};

TEST_P(CommandLine, WritesWhatThePresetPromises) {
    const Command& c = *GetParam().command;
    TempFolder dir;
    UseInstalledTools(dir);
    std::string in = Fixture(GetParam().input);
    // Paths with blanks, as users have them.
    const auto [line, out] = CommandLineOf(c.code, in, dir / ("my output." + c.outExt));
    ASSERT_FALSE(line.empty()) << c.code;
    RunResult r = RunCommandLine(line, out);
    ASSERT_EQ(r.status, 0) << line << ":\n" << r.output;
    Probe p = ProbeFile(out);
    const Expect& e = c.expect;
    EXPECT_NE(p.format.find(e.format), std::string::npos) << p.format;
    if (!e.brand.empty()) {
        EXPECT_EQ(p.brand.rfind(e.brand, 0), 0u) << p.brand;
    }
    EXPECT_EQ(p.vcodec, e.vcodec);
    if (e.width) {
        EXPECT_EQ(p.width, e.width);
    }
    if (e.height) {
        EXPECT_EQ(p.height, e.height);
    }
    if (e.fps > 0) {
        EXPECT_NEAR(p.fps, e.fps, 0.05);
    }
    EXPECT_EQ(p.acodec, e.acodec);
    if (e.rate) {
        EXPECT_EQ(p.rate, e.rate);
    }
    if (e.channels) {
        EXPECT_EQ(p.channels, e.channels);
    }
    double expected = c.code.find("Extraction") != std::string::npos ? 1.0 : ProbeFile(in).duration;
    EXPECT_NEAR(p.duration, expected, expected * 0.1) << r.output;
}

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    std::string name = info.param.command->code + "_" + info.param.input;
    for (auto& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Recipes, CommandLine, ::testing::ValuesIn(Cases()), CaseName);

}  // namespace
}  // namespace tools_test
