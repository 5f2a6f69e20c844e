// Every conversion command line of the recipes, run through the installed tools on the
// input classes that reach it; the written file is checked with ffprobe for the
// container, codecs, frame size, sound and length that the preset promises.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tool_run.h"

namespace tools_test {
namespace {

struct Command {
    std::string code;
    std::string tool;
    std::string args;  // {in} and {out} stand for the quoted paths
    std::string outExt;
    std::vector<std::string> inputs;
    Expect expect;
};

const std::string kMeta =
    " -metadata title=\"Transcoda Media Converter\" -metadata author=\"transcoda.example.org\" -metadata "
    "comment=\"Created by Transcoda software\" -i {in}";
const std::string kXvid = " -ovc xvid -xvidencopts chroma_opt:vhq=4:bvhq=1:quant_type=mpeg:bitrate=4000 -oac mp3lame "
                          "-lameopts abr:br=192 -vf scale=";
const std::string kH264 = " -acodec libfaac -ar 48000 -ab 128k -vcodec libx264";
const std::vector<std::string> kOrdinary = {"clip.avi", "clip.mkv", "clip.mov"};

const std::vector<Command>& Commands() {
    static const std::vector<Command> list = {
        {"720p", "utilitymff3.exe",
         "-i {in} -vcodec mpeg4 -b 4500k -vtag XVID -sameq -s 1280x720 -r 25 -an -f avi -copyts -benchmark {out}",
         "avi", {"clip.avi", "clip.mts"}, {"avi", "", "mpeg4", 1280, 720, 25, "", 0, 0}},
        {"1080p", "utilitymff3.exe",
         "-i {in} -vcodec mpeg4 -b 4200k -vtag XVID -sameq -s 1920x1080 -r 25 -an -f avi -copyts -benchmark {out}",
         "avi", {"clip.mkv"}, {"avi", "", "mpeg4", 1920, 1080, 25, "", 0, 0}},
        {"hdToVideoTraitable", "utilitymff3.exe",
         "-i {in} -vcodec mpeg4 -b 4500k -vtag XVID -sameq -r 25 -an -f avi -copyts -benchmark {out}", "avi",
         {"clip.mts", "clip.m2ts"}, {"avi", "", "mpeg4", 640, 360, 25, "", 0, 0}},
        {"mpeg720p256", "utilitymff3.exe", "-i {in} -b 4200k -s 1280x720 -ar 44100 -ac 2 -ab 256k -y {out}", "mpeg",
         {"clip.mp4"}, {"mpeg", "", "mpeg1video", 1280, 720, 0, "mp2", 44100, 2}},
        {"mpeg480p128", "utilitymff3.exe", "-i {in} -b 4200k -s 640x480 -ar 44100 -ac 2 -ab 128k -y {out}", "mpeg",
         {"clip.avi", "clip.vob", "clip.flv"}, {"mpeg", "", "mpeg1video", 640, 480, 0, "mp2", 44100, 2}},
        {"mpeg360p128", "utilitymff3.exe", "-i {in} -b 4200k -s 480x360 -ar 44100 -ac 2 -ab 128k -y {out}", "mpeg",
         {"clip.mpg"}, {"mpeg", "", "mpeg1video", 480, 360, 0, "mp2", 44100, 2}},
        {"mpeg240p128", "utilitymff3.exe", "-i {in} -b 4200k -s 320x240 -ar 44100 -ac 2 -ab 128k -y {out}", "mpeg",
         {"clip.mkv"}, {"mpeg", "", "mpeg1video", 320, 240, 0, "mp2", 44100, 2}},
        {"mpeg720p256asf", "utilitymen.exe", "{in}" + kXvid + "1280:720 -o {out}", "mpeg", {"clip.wmv"},
         {"mpeg", "", "mpeg1video", 1280, 720, 0, "mp3", 44100, 2}},
        {"mpeg480p128asf", "utilitymen.exe", "{in}" + kXvid + "640:480 -o {out}", "mpeg", {"clip.asf", "clip.3gp"},
         {"mpeg", "", "mpeg1video", 640, 480, 0, "mp3", 0, 2}},
        {"mpeg360p128asf", "utilitymen.exe", "{in}" + kXvid + "480:360 -o {out}", "mpeg", {"clip.wmv"},
         {"mpeg", "", "mpeg1video", 480, 360, 0, "mp3", 44100, 2}},
        {"mpeg240p128asf", "utilitymen.exe", "{in}" + kXvid + "320:240 -o {out}", "mpeg", {"clip.3gp"},
         {"mpeg", "", "mpeg1video", 320, 240, 0, "mp3", 22050, 2}},
        {"mp3rate128", "utilitymff.exe",
         " -title \"Transcoda-transcoda.example.org\" -i {in} -acodec mp3 -ac 2 -ab 128 -vn -y {out}", "mp3",
         {"clip.flv"}, {"mp3", "", "", 0, 0, 0, "mp3", 44100, 2}},
        {"mp3rate256", "utilitymff.exe",
         " -title \"Transcoda-transcoda.example.org\" -i {in} -acodec mp3 -ac 2 -ab 256 -vn -y {out}", "mp3",
         {"clip.flv"}, {"mp3", "", "", 0, 0, 0, "mp3", 44100, 2}},
        {"wave", "utilitymff.exe", " -title \"Transcoda-transcoda.example.org\" -i {in} -ac 2 -y {out}", "wav",
         {"clip.flv"}, {"wav", "", "", 0, 0, 0, "pcm_s16le", 44100, 2}},
        {"mp3rate128hd", "utilitymff3.exe", kMeta + " -vn -ar 44100 -ac 2 -ab 128k -f mp3 {out}", "mp3",
         {"clip.mkv", "clip.wav", "clip.mts"}, {"mp3", "", "", 0, 0, 0, "mp3", 44100, 2}},
        {"mp3rate256hd", "utilitymff3.exe", kMeta + " -vn -ar 44100 -ac 2 -ab 256k -f mp3 {out}", "mp3",
         {"clip.mp3", "clip.wmv"}, {"mp3", "", "", 0, 0, 0, "mp3", 44100, 2}},
        {"wavehd", "utilitymff3.exe", " -i {in} {out}", "wav", {"clip.mp4", "clip.mp3"},
         {"wav", "", "", 0, 0, 0, "pcm_s16le", 0, 2}},
        {"wmvNotFormMTS-M2TS", "utilitymen2.exe",
         " {in} -o {out} -forceidx -ofps 25 -ovc lavc -lavcopts vcodec=wmv2 -oac lavc -lavcopts "
         "acodec=wmav2:abitrate=96 -of lavf -srate 44100",
         "wmv", {"clip.avi", "clip.mkv"}, {"asf", "", "wmv2", 320, 240, 25, "wmav2", 44100, 2}},
        {"rawPcm", "utilitymen2.exe", " {in} -o {out} -ovc raw -oac pcm", "avi", {"clip.mp4", "clip.3gp"},
         {"avi", "", "rawvideo", 0, 0, 0, "pcm_s16le", 0, 2}},
        {"flv263bq", "utilitymff3.exe", " -i {in} -sameq -b 4200k -ar 44100 -ac 2 -ab 256k -y {out}", "flv",
         {"clip.avi", "clip.mov"}, {"flv", "", "flv1", 320, 240, 0, "mp3", 44100, 2}},
        {"flv263q1", "utilitymff3.exe", " -i {in} -sameq -b 920k -r 15 -ar 11025 -s 352x288 -ac 2 -ab 64k -y {out}",
         "flv", {"clip.mkv"}, {"flv", "", "flv1", 352, 288, 15, "mp3", 11025, 2}},
        {"flv263q2", "utilitymff3.exe", " -i {in} -sameq -b 780k -r 15 -ar 11025 -s 320x240 -ac 2 -ab 48k -y {out}",
         "flv", {"clip.vob"}, {"flv", "", "flv1", 320, 240, 15, "mp3", 11025, 2}},
        {"flv263q3", "utilitymff3.exe", " -i {in} -sameq -b 480k -r 15 -ar 11025 -s 176x144 -ac 2 -ab 24k -y {out}",
         "flv", {"clip.mp4"}, {"flv", "", "flv1", 176, 144, 15, "mp3", 11025, 2}},
        {"flv264bq", "utilitymen2.exe",
         " -oac mp3lame -lameopts cbr:br=256 -ovc x264 -x264encopts bitrate=4200 {in} -o {out}", "flv",
         {"clip.mkv", "clip.avi"}, {"flv", "", "h264", 320, 240, 0, "mp3", 44100, 2}},
        {"flv264q1", "utilitymen.exe",
         " -oac mp3lame -lameopts cbr:br=112 -ovc x264 -x264encopts bitrate=920 -ofps 20 {in} -o {out}", "flv",
         {"clip.mov"}, {"flv", "", "h264", 320, 240, 20, "mp3", 44100, 2}},
        {"3gpAAC", "utilitymff3.exe",
         " -i {in} -s qcif -vcodec mpeg4 -b 104k -acodec aac -ac 1 -ar 32000 -r 15 -ab 128k -y {out}", "3gp",
         {"clip.avi", "clip.mts"}, {"3gp", "3gp", "mpeg4", 176, 144, 15, "aac", 32000, 1}},
        {"3gpAMR1", "utilitymffx.exe",
         " -i {in} -s qcif -vcodec mpeg4 -b 64k -s 176x144 -acodec libamr_nb -ac 1 -ar 8000 -r 12 -ab 12.2k -y {out}",
         "3gp", {"clip.mkv", "clip.wmv"}, {"3gp", "3gp", "mpeg4", 176, 144, 12, "amr_nb", 8000, 1}},
        {"3gpAMR2", "utilitymffx.exe",
         " -i {in} -s qcif -vcodec mpeg4 -b 44k -s 128x96 -acodec libamr_nb -ac 1 -ar 8000 -r 10 -ab 12.2k -y {out}",
         "3gp", {"clip.flv"}, {"3gp", "3gp", "mpeg4", 128, 96, 10, "amr_nb", 8000, 1}},
        {"3gpAMR3", "utilitymffx.exe",
         " -i {in} -s qcif -vcodec h263 -b 240k -s 176x144 -acodec libamr_nb -ac 1 -ar 8000 -r 12 -ab 12.2k -y {out}",
         "3gp", {"clip.mov"}, {"3gp", "3gp", "h263", 176, 144, 12, "amr_nb", 8000, 1}},
        {"3gpAMR4", "utilitymffx.exe",
         " -i {in} -s qcif -vcodec h263 -b 140k -s 128x96 -acodec libamr_nb -ac 1 -ar 8000 -r 10 -ab 12.2k -y {out}",
         "3gp", {"clip.mpg"}, {"3gp", "3gp", "h263", 128, 96, 10, "amr_nb", 8000, 1}},
        {"QtH264hd", "utilitymffx.exe", " -i {in} -s 848x480" + kH264 + " -crf 22 -threads 0 {out}", "mov",
         {"clip.avi"}, {"mov", "qt", "h264", 848, 480, 0, "aac", 48000, 2}},
        {"QtH264dvd", "utilitymffx.exe", " -i {in} -s 720x576" + kH264 + " -crf 22 -threads 0 {out}", "mov",
         {"clip.mkv"}, {"mov", "qt", "h264", 720, 576, 0, "aac", 48000, 2}},
        {"QtH263sd", "utilitymff3.exe",
         " -i {in} -s 176x144 -vcodec h263 -acodec libmp3lame -ac 2 -ar 44100 -ab 128k -y {out}", "mov",
         {"clip.mp4"}, {"mov", "qt", "h263", 176, 144, 0, "mp3", 44100, 2}},
        {"QtH263oq", "utilitymff3.exe",
         " -i {in} -s 352x288 -vcodec h263 -acodec libmp3lame -ac 2 -ar 44100 -ab 128k -y {out}", "mov",
         {"clip.vob"}, {"mov", "qt", "h263", 352, 288, 0, "mp3", 44100, 2}},
        {"QtMpeg4hq", "utilitymff3.exe", " -i {in} -vcodec mpeg4 -acodec libmp3lame -ac 2 -ar 44100 -ab 128k -y {out}",
         "mov", {"clip.avi"}, {"mov", "qt", "mpeg4", 320, 240, 0, "mp3", 44100, 2}},
        {"QtMpeg4bq", "utilitymff3.exe", " -i {in} -vcodec mpeg4 -acodec libmp3lame -ac 2 -ar 44100 -ab 96k -y {out}",
         "mov", {"clip.flv"}, {"mov", "qt", "mpeg4", 320, 240, 0, "mp3", 44100, 2}},
        {"IpodSmal", "utilitymffx.exe", " -i {in} -s 320x240" + kH264 + " -r 30 -crf 22 -threads 0 {out}", "m4v",
         {"clip.mkv"}, {"mp4", "M4V", "h264", 320, 240, 30, "aac", 48000, 2}},
        {"IpodNorml", "utilitymffx.exe", " -i {in} -s 640x480" + kH264 + " -r 30 -crf 22 -threads 0 {out}", "m4v",
         {"clip.avi", "clip.asf"}, {"mp4", "M4V", "h264", 640, 480, 30, "aac", 48000, 2}},
        {"IphoneItouch", "utilitymffx.exe", " -i {in} -s 640x420" + kH264 + " -r 30 -crf 22 -threads 0 {out}", "m4v",
         {"clip.mov"}, {"mp4", "M4V", "h264", 640, 420, 30, "aac", 48000, 2}},
        {"Ps3HD", "utilitymffx.exe", " -i {in} -s 848x480" + kH264 + " -r 29.97 -crf 22 -threads 0 {out}", "mp4",
         {"clip.mpg"}, {"mp4", "isom", "h264", 848, 480, 29.97, "aac", 48000, 2}},
        {"Ps3NQ", "utilitymffx.exe", " -i {in} -s 368x208" + kH264 + " -r 29.97 -crf 22 -threads 0 {out}", "mp4",
         {"clip.flv"}, {"mp4", "isom", "h264", 368, 208, 29.97, "aac", 48000, 2}},
        {"Ps3HQ", "utilitymffx.exe", " -i {in} -s 480x272" + kH264 + " -r 29.97 -crf 22 -threads 0 {out}", "mp4",
         {"clip.3gp"}, {"mp4", "isom", "h264", 480, 272, 29.97, "aac", 48000, 2}},
        {"XboxHD", "utilitymffx.exe", " -i {in} -s 848x480" + kH264 + " -r 29.97 -crf 22 -threads 0 {out}", "mp4",
         {"clip.wmv"}, {"mp4", "isom", "h264", 848, 480, 29.97, "aac", 48000, 2}},
        {"IpodMpeg4", "utilitymff3.exe",
         " -i {in} -s 320x240 -f mp4 -maxrate 1000 -b 300 -qmin 3 -qmax 5 -bufsize 4096 -g 300 -r 30 -vcodec mpeg4 "
         "-acodec aac -ar 48000 -ab 96k {out}",
         "m4v", {"clip.mp4", "clip.mts"}, {"mp4", "isom", "mpeg4", 320, 240, 30, "aac", 48000, 2}},
        {"Video-Extraction-FromMTSetCompagnie", "utilitymff3.exe",
         " -ss 00:00:01 -t 00:00:01 -i {in} -b 4200k -s 640x480 -ar 44100 -ac 2 -ab 128k -y {out}", "mpeg",
         {"clip.mts", "clip.m2ts"}, {"mpeg", "", "mpeg1video", 640, 480, 0, "mp2", 44100, 2}},
        // Auxiliary steps of the chained recipes.
        {"ExtractAudioTrack-720p", "utilitymff3.exe", "-i {in} -vn -ar 44100 -ac 2 -ab 192k -f mp3 {out}", "mp3",
         {"clip.mts", "clip.avi"}, {"mp3", "", "", 0, 0, 0, "mp3", 44100, 2}},
        {"ExtractAudioTrack-hdToAudioTraitable", "utilitymff3.exe",
         "-i {in} -vn -ar 44100 -ac 2 -ab 96k -acodec wmav2 {out}", "wma", {"clip.m2ts"},
         {"asf", "", "", 0, 0, 0, "wmav2", 44100, 2}},
        {"PrepareIntermediate", "utilitymff3.exe", "-i {in} -b 240k -s 368x208 -ar 44100 -ac 2 -ab 128k -y {out}",
         "avi", {"clip.mts"}, {"avi", "", "mpeg4", 368, 208, 0, "mp3", 44100, 2}},
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

std::string Fill(std::string text, const std::string& in, const std::string& out) {
    for (auto [key, value] : {std::pair{std::string("{in}"), Q(in)}, std::pair{std::string("{out}"), Q(out)}}) {
        size_t p;
        while ((p = text.find(key)) != std::string::npos) text.replace(p, key.size(), value);
    }
    return text;
}

class CommandLine : public ::testing::TestWithParam<Case> {};

TEST_P(CommandLine, WritesWhatThePresetPromises) {
    const Command& c = *GetParam().command;
    TempFolder dir;
    std::string in = Fixture(GetParam().input);
    // Paths with blanks, as users have them.
    std::string out = dir / ("my output." + c.outExt);
    RunResult r = RunTool(c.tool, Fill(c.args, in, out), out);
    ASSERT_EQ(r.status, 0) << r.output;
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
