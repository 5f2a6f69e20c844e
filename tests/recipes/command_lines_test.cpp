#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "exec/app_state.h"
#include "platform/command_line.h"
#include "recipes/auxiliary_steps.h"
#include "recipes/format_catalogue.h"
#include "recipes/step_templates.h"

namespace transcoda {
namespace {

// Every step's command line for one sample request, as the tools must receive it.
struct CommandCase {
    const char* code;
    const char* tool;
    const char* arguments;
};

constexpr CommandCase kCommands[] = {
    {"720p", "utilitymff3.exe",
     R"(-i "/media/in dir/clip.avi" -vcodec mpeg4 -b 4500k -vtag XVID -sameq -s 1280x720 -r 25 -an -f avi -copyts -benchmark "/opt/transcoda/B/tmp1234.avi")"},
    {"1080p", "utilitymff3.exe",
     R"(-i "/media/in dir/clip.avi" -vcodec mpeg4 -b 4200k -vtag XVID -sameq -s 1920x1080 -r 25 -an -f avi -copyts -benchmark "/opt/transcoda/B/tmp1234.avi")"},
    {"hdToVideoTraitable", "utilitymff3.exe",
     R"(-i "/media/in dir/clip.avi" -vcodec mpeg4 -b 4500k -vtag XVID -sameq -r 25 -an -f avi -copyts -benchmark "/opt/transcoda/B/tmp1234.avi")"},
    {"mpeg720p256", "utilitymff3.exe",
     R"(-i "/media/in dir/clip.avi" -b 4200k -s 1280x720 -ar 44100 -ac 2 -ab 256k -y "/media/out/new/clip.mpeg")"},
    {"mpeg480p128", "utilitymff3.exe",
     R"(-i "/media/in dir/clip.avi" -b 4200k -s 640x480 -ar 44100 -ac 2 -ab 128k -y "/media/out/new/clip.mpeg")"},
    {"mpeg360p128", "utilitymff3.exe",
     R"(-i "/media/in dir/clip.avi" -b 4200k -s 480x360 -ar 44100 -ac 2 -ab 128k -y "/media/out/new/clip.mpeg")"},
    {"mpeg240p128", "utilitymff3.exe",
     R"(-i "/media/in dir/clip.avi" -b 4200k -s 320x240 -ar 44100 -ac 2 -ab 128k -y "/media/out/new/clip.mpeg")"},
    {"mpeg720p256asf", "utilitymen.exe",
     R"("/media/in dir/clip.avi" -ovc xvid -xvidencopts chroma_opt:vhq=4:bvhq=1:quant_type=mpeg:bitrate=4000 -oac mp3lame -lameopts abr:br=192 -vf scale=1280:720 -o "/media/out/new/clip.mpeg")"},
    {"mpeg480p128asf", "utilitymen.exe",
     R"("/media/in dir/clip.avi" -ovc xvid -xvidencopts chroma_opt:vhq=4:bvhq=1:quant_type=mpeg:bitrate=4000 -oac mp3lame -lameopts abr:br=192 -vf scale=640:480 -o "/media/out/new/clip.mpeg")"},
    {"mpeg360p128asf", "utilitymen.exe",
     R"("/media/in dir/clip.avi" -ovc xvid -xvidencopts chroma_opt:vhq=4:bvhq=1:quant_type=mpeg:bitrate=4000 -oac mp3lame -lameopts abr:br=192 -vf scale=480:360 -o "/media/out/new/clip.mpeg")"},
    {"mpeg240p128asf", "utilitymen.exe",
     R"("/media/in dir/clip.avi" -ovc xvid -xvidencopts chroma_opt:vhq=4:bvhq=1:quant_type=mpeg:bitrate=4000 -oac mp3lame -lameopts abr:br=192 -vf scale=320:240 -o "/media/out/new/clip.mpeg")"},
    {"mp3rate128", "utilitymff.exe",
     R"( -title "Transcoda-transcoda.example.org" -i "/media/in dir/clip.avi" -acodec mp3 -ac 2 -ab 128 -vn -y "/media/out/new/clip.mpeg")"},
    {"mp3rate256", "utilitymff.exe",
     R"( -title "Transcoda-transcoda.example.org" -i "/media/in dir/clip.avi" -acodec mp3 -ac 2 -ab 256 -vn -y "/media/out/new/clip.mpeg")"},
    {"wave", "utilitymff.exe",
     R"( -title "Transcoda-transcoda.example.org" -i "/media/in dir/clip.avi" -ac 2 -y "/media/out/new/clip.mpeg")"},
    {"mp3rate128hd", "utilitymff3.exe",
     R"( -metadata title="Transcoda Media Converter" -metadata author="transcoda.example.org" -metadata comment="Created by Transcoda software" -i "/media/in dir/clip.avi" -vn -ar 44100 -ac 2 -ab 128k -f mp3 "/media/out/new/clip.mpeg")"},
    {"mp3rate256hd", "utilitymff3.exe",
     R"( -metadata title="Transcoda Media Converter" -metadata author="transcoda.example.org" -metadata comment="Created by Transcoda software" -i "/media/in dir/clip.avi" -vn -ar 44100 -ac 2 -ab 256k -f mp3 "/media/out/new/clip.mpeg")"},
    {"wavehd", "utilitymff3.exe",
     R"( -i "/media/in dir/clip.avi" "/media/out/new/clip.mpeg")"},
    {"wmvNotFormMTS-M2TS", "utilitymen2.exe",
     R"( "/media/in dir/clip.avi" -o "/media/out/new/clip.mpeg" -forceidx -ofps 25 -ovc lavc -lavcopts vcodec=wmv2 -oac lavc -lavcopts acodec=wmav2:abitrate=96 -of lavf -srate 44100)"},
    {"rawPcm", "utilitymen2.exe",
     R"( "/media/in dir/clip.avi" -o "/media/out/new/clip.mpeg" -ovc raw -oac pcm)"},
    {"flv263bq", "utilitymff3.exe",
     R"( -i "/media/in dir/clip.avi" -sameq -b 4200k -ar 44100 -ac 2 -ab 256k -y "/media/out/new/clip.mpeg")"},
    {"flv263q1", "utilitymff3.exe",
     R"( -i "/media/in dir/clip.avi" -sameq -b 920k -r 15 -ar 11025 -s 352x288 -ac 2 -ab 64k -y "/media/out/new/clip.mpeg")"},
    {"flv263q2", "utilitymff3.exe",
     R"( -i "/media/in dir/clip.avi" -sameq -b 780k -r 15 -ar 11025 -s 320x240 -ac 2 -ab 48k -y "/media/out/new/clip.mpeg")"},
    {"flv263q3", "utilitymff3.exe",
     R"( -i "/media/in dir/clip.avi" -sameq -b 480k -r 15 -ar 11025 -s 176x144 -ac 2 -ab 24k -y "/media/out/new/clip.mpeg")"},
    {"flv264bq", "utilitymen2.exe",
     R"( -oac mp3lame -lameopts cbr:br=256 -ovc x264 -x264encopts bitrate=4200 "/media/in dir/clip.avi" -o "/media/out/new/clip.mpeg")"},
    {"flv264q1", "utilitymen.exe",
     R"( -oac mp3lame -lameopts cbr:br=112 -ovc x264 -x264encopts bitrate=920 -ofps 20 "/media/in dir/clip.avi" -o "/media/out/new/clip.mpeg")"},
    {"3gpAAC", "utilitymff3.exe",
     R"( -i "/media/in dir/clip.avi" -s qcif -vcodec mpeg4 -b 104k -acodec aac -ac 1 -ar 32000 -r 15 -ab 128k -y "/media/out/new/clip.mpeg")"},
    {"3gpAMR1", "utilitymffx.exe",
     R"( -i "/media/in dir/clip.avi" -s qcif -vcodec mpeg4 -b 64k -s 176x144 -acodec libamr_nb -ac 1 -ar 8000 -r 12 -ab 12.2k -y "/media/out/new/clip.mpeg")"},
    {"3gpAMR2", "utilitymffx.exe",
     R"( -i "/media/in dir/clip.avi" -s qcif -vcodec mpeg4 -b 44k -s 128x96 -acodec libamr_nb -ac 1 -ar 8000 -r 10 -ab 12.2k -y "/media/out/new/clip.mpeg")"},
    {"3gpAMR3", "utilitymffx.exe",
     R"( -i "/media/in dir/clip.avi" -s qcif -vcodec h263 -b 240k -s 176x144 -acodec libamr_nb -ac 1 -ar 8000 -r 12 -ab 12.2k -y "/media/out/new/clip.mpeg")"},
    {"3gpAMR4", "utilitymffx.exe",
     R"( -i "/media/in dir/clip.avi" -s qcif -vcodec h263 -b 140k -s 128x96 -acodec libamr_nb -ac 1 -ar 8000 -r 10 -ab 12.2k -y "/media/out/new/clip.mpeg")"},
    {"QtH264hd", "utilitymffx.exe",
     R"( -i "/media/in dir/clip.avi" -s 848x480 -acodec libfaac -ar 48000 -ab 128k -vcodec libx264 -crf 22 -threads 0 "/media/out/new/clip.mpeg")"},
    {"QtH264dvd", "utilitymffx.exe",
     R"( -i "/media/in dir/clip.avi" -s 720x576 -acodec libfaac -ar 48000 -ab 128k -vcodec libx264 -crf 22 -threads 0 "/media/out/new/clip.mpeg")"},
    {"QtH263sd", "utilitymff3.exe",
     R"( -i "/media/in dir/clip.avi" -s 176x144 -vcodec h263 -acodec libmp3lame -ac 2 -ar 44100 -ab 128k -y "/media/out/new/clip.mpeg")"},
    {"QtH263oq", "utilitymff3.exe",
     R"( -i "/media/in dir/clip.avi" -s 352x288 -vcodec h263 -acodec libmp3lame -ac 2 -ar 44100 -ab 128k -y "/media/out/new/clip.mpeg")"},
    {"QtMpeg4hq", "utilitymff3.exe",
     R"( -i "/media/in dir/clip.avi" -vcodec mpeg4 -acodec libmp3lame -ac 2 -ar 44100 -ab 128k -y "/media/out/new/clip.mpeg")"},
    {"QtMpeg4bq", "utilitymff3.exe",
     R"( -i "/media/in dir/clip.avi" -vcodec mpeg4 -acodec libmp3lame -ac 2 -ar 44100 -ab 96k -y "/media/out/new/clip.mpeg")"},
    {"IpodSmal", "utilitymffx.exe",
     R"( -i "/media/in dir/clip.avi" -s 320x240 -acodec libfaac -ar 48000 -ab 128k -vcodec libx264 -r 30 -crf 22 -threads 0 "/media/out/new/clip.mpeg")"},
    {"IpodNorml", "utilitymffx.exe",
     R"( -i "/media/in dir/clip.avi" -s 640x480 -acodec libfaac -ar 48000 -ab 128k -vcodec libx264 -r 30 -crf 22 -threads 0 "/media/out/new/clip.mpeg")"},
    {"IphoneItouch", "utilitymffx.exe",
     R"( -i "/media/in dir/clip.avi" -s 640x420 -acodec libfaac -ar 48000 -ab 128k -vcodec libx264 -r 30 -crf 22 -threads 0 "/media/out/new/clip.mpeg")"},
    {"Ps3HD", "utilitymffx.exe",
     R"( -i "/media/in dir/clip.avi" -s 848x480 -acodec libfaac -ar 48000 -ab 128k -vcodec libx264 -r 29.97 -crf 22 -threads 0 "/media/out/new/clip.mpeg")"},
    {"Ps3NQ", "utilitymffx.exe",
     R"( -i "/media/in dir/clip.avi" -s 368x208 -acodec libfaac -ar 48000 -ab 128k -vcodec libx264 -r 29.97 -crf 22 -threads 0 "/media/out/new/clip.mpeg")"},
    {"Ps3HQ", "utilitymffx.exe",
     R"( -i "/media/in dir/clip.avi" -s 480x272 -acodec libfaac -ar 48000 -ab 128k -vcodec libx264 -r 29.97 -crf 22 -threads 0 "/media/out/new/clip.mpeg")"},
    {"XboxHD", "utilitymffx.exe",
     R"( -i "/media/in dir/clip.avi" -s 848x480 -acodec libfaac -ar 48000 -ab 128k -vcodec libx264 -r 29.97 -crf 22 -threads 0 "/media/out/new/clip.mpeg")"},
    {"IpodMpeg4", "utilitymff3.exe",
     R"( -i "/media/in dir/clip.avi" -s 320x240 -f mp4 -maxrate 1000 -b 300 -qmin 3 -qmax 5 -bufsize 4096 -g 300 -r 30 -vcodec mpeg4 -acodec aac -ar 48000 -ab 96k "/media/out/new/clip.mpeg")"},
    {"Video-Synchro", "utilitymen.exe",
     R"( "/media/in dir/clip.avi" -oac mp3lame -lameopts cbr:br=128 -ovc copy -delay -250 -o "/media/out/new/clip.mpeg")"},
    {"Video-Extraction", "utilitymen2.exe",
     R"( "/media/in dir/clip.avi" -oac mp3lame -lameopts cbr:br=128 -ovc copy -o "/media/out/new/clip.mpeg" -ss 00:00:05 -endpos 00:00:10)"},
    {"Video-Extraction-FromMTSetCompagnie", "utilitymff3.exe",
     R"( -ss 00:00:05 -t 00:00:10 -i "/media/in dir/clip.avi" -b 4200k -s 640x480 -ar 44100 -ac 2 -ab 128k -y "/media/out/new/clip.mpeg")"},
    {"DVD-ntsc", "utilitymff3.exe",
     R"( -i "/media/in dir/clip.avi" -target ntsc-dvd -aspect 4:3 -sameq "/media/dvd/film/DVD-Disc1/tmpvdv.mpg")"},
    {"DVD-ntsc-wmv", "utilitymffx.exe",
     R"( -i "/media/in dir/clip.avi" -target ntsc-dvd -aspect 4:3 -sameq "/media/dvd/film/DVD-Disc1/tmpvdv.mpg")"},
    {"DVD-pal", "utilitymff3.exe",
     R"( -i "/media/in dir/clip.avi" -target pal-dvd -aspect 4:3 -sameq "/media/dvd/film/DVD-Disc1/tmpvdv.mpg")"},
    {"DVD-authoring", "utilityoth.exe",
     R"( --title -f "/media/dvd/film/DVD-Disc1/tmpvdv.mpg" -o "/media/dvd/film/DVD-Disc1")"},
    {"DVD-finalization", "utilityoth.exe",
     R"( -T -o "/media/dvd/film/DVD-Disc1")"},
};

class CommandLines : public ::testing::Test {
protected:
    void SetUp() override {
        AppState& app = App();
        saved_ = app.ProgramFolder;
        app.ProgramFolder = "/opt/transcoda/";
    }
    void TearDown() override {
        AppState& app = App();
        app.ProgramFolder = saved_;
        app.WorkFolder.clear();
    }
    // The intermediates' stem, "tmp1234" in the intermediate folder.
    static std::string Stem() { return App().IntermediateFolder() + "tmp1234"; }
    std::string saved_;
    const SpecialValues values_{"-250", "00:00:05", "00:00:10"};
};

TEST_F(CommandLines, EveryStepCodeGivesItsExactCommandLine) {
    std::set<std::string> covered;
    for (const CommandCase& c : kCommands) {
        const std::string code = c.code;
        const std::string output = code.starts_with("DVD") ? "/media/dvd/film/" : "/media/out/new/clip.mpeg";
        EXPECT_EQ(FormatStepCommandLine(code, "/media/in dir/clip.avi", output, values_, Stem()),
                  std::string("/opt/transcoda/B/") + c.tool + " " + c.arguments)
            << code;
        covered.insert(code);
    }
    for (const StepTemplate& step : StepTemplates()) {
        EXPECT_TRUE(covered.count(std::string(step.Code))) << step.Code << " has no expected line";
    }
    EXPECT_EQ(covered.size(), StepTemplates().size());
    EXPECT_EQ(FormatStepCommandLine("mpeg480P128", "/a.avi", "/b.mpeg", values_, Stem()), "") << "codes are case-sensitive";
}

TEST_F(CommandLines, IntermediatesGoToTheInstancesWorkFolder) {
    App().WorkFolder = "/run/user/1000/transcoda/42/";
    EXPECT_EQ(FormatStepCommandLine("720p", "/in.avi", "/out.avi", values_, Stem()),
              "/opt/transcoda/B/utilitymff3.exe -i \"/in.avi\" -vcodec mpeg4 -b 4500k -vtag XVID -sameq -s 1280x720 "
              "-r 25 -an -f avi -copyts -benchmark \"/run/user/1000/transcoda/42/tmp1234.avi\"");
    EXPECT_EQ(MuxFinalCommandLine("/out.avi", Stem()),
              "/opt/transcoda/B/utilitymen.exe \"/run/user/1000/transcoda/42/tmp1234.avi\" -o \"/out.avi\" -ovc copy "
              "-oac copy -audiofile \"/run/user/1000/transcoda/42/tmp1234.mp3\"");
}

TEST_F(CommandLines, AwkwardPathsReachTheToolAsSingleArguments) {
    // A file name may hold quotes, blanks and backslashes; none of it may become an option.
    const std::string input = "/in/a \"-y\" b\\ \\\"c.avi";
    const std::string output = "/out/x \" -o \"/etc/y\\";
    for (const StepTemplate& step : StepTemplates()) {
        const auto args = SplitCommandLine(FormatStepCommandLine(std::string(step.Code), input, output, values_, Stem()));
        ASSERT_FALSE(args.empty());
        EXPECT_EQ(args[0], "/opt/transcoda/B/" + std::string(step.Tool));
        if (step.Arguments.find("{input}") != std::string_view::npos) {
            EXPECT_EQ(std::count(args.begin(), args.end(), input), 1) << step.Code;
        }
        if (step.Arguments.find("{output}") != std::string_view::npos) {
            EXPECT_EQ(std::count(args.begin(), args.end(), output), 1) << step.Code;
        }
        EXPECT_EQ(std::count(args.begin(), args.end(), "/etc/y"), 0) << step.Code;
    }
}

TEST_F(CommandLines, AuxiliaryStepsGiveTheirExactCommandLines) {
    const std::string in = "/media/in dir/clip.MTS";
    const std::pair<std::string, std::string> cases[] = {
        {ExtractAudioTrackCommandLine("720p", in, Stem()),
         R"(/opt/transcoda/B/utilitymff3.exe -i "/media/in dir/clip.MTS" -vn -ar 44100 -ac 2 -ab 192k -f mp3 "/opt/transcoda/B/tmp1234.mp3")"},
        {ExtractAudioTrackCommandLine("1080p", in, Stem()),
         R"(/opt/transcoda/B/utilitymff3.exe -i "/media/in dir/clip.MTS" -vn -ar 44100 -ac 2 -ab 256k -f mp3 "/opt/transcoda/B/tmp1234.mp3")"},
        {ExtractAudioTrackCommandLine("hdToAudioTraitable", in, Stem()),
         R"(/opt/transcoda/B/utilitymff3.exe -i "/media/in dir/clip.MTS" -vn -ar 44100 -ac 2 -ab 96k -acodec wmav2 "/opt/transcoda/B/tmp1234.wma")"},
        {ExtractAudioTrackCommandLine("mpeg480p128", in, Stem()), ""},
        {PrepareIntermediateCommandLine("368x208", in, "/opt/transcoda/B/tmp9876.avi"),
         R"(/opt/transcoda/B/utilitymff3.exe -i "/media/in dir/clip.MTS" -qscale 2 -s 368x208 -ar 44100 -ac 2 -ab 128k -y "/opt/transcoda/B/tmp9876.avi")"},
        {MuxFinalCommandLine("/media/out/clip.avi", Stem()),
         R"(/opt/transcoda/B/utilitymen.exe "/opt/transcoda/B/tmp1234.avi" -o "/media/out/clip.avi" -ovc copy -oac copy -audiofile "/opt/transcoda/B/tmp1234.mp3")"},
        {MuxIntermediateCommandLine("/opt/transcoda/B/tmp1234-2.avi", Stem()),
         R"(/opt/transcoda/B/utilitymen.exe "/opt/transcoda/B/tmp1234.avi" -o "/opt/transcoda/B/tmp1234-2.avi" -ovc copy -oac copy -audiofile "/opt/transcoda/B/tmp1234.wma")"},
    };
    for (const auto& [actual, expected] : cases) EXPECT_EQ(actual, expected);
}

TEST(StepTemplatesAndCatalogue, EveryPresetStepHasATemplateWithThePresetsTool) {
    for (const FormatEntry& entry : FormatCatalogue()) {
        const StepTemplate* main = FindStepTemplate(entry.MainCode);
        ASSERT_NE(main, nullptr) << entry.Label;
        EXPECT_EQ(main->Tool, entry.Tool) << entry.Label;
        if (!entry.VariantCode.empty()) {
            EXPECT_NE(FindStepTemplate(entry.VariantCode), nullptr) << entry.Label;
        }
    }
    for (const char* code : {"hdToVideoTraitable", "DVD-authoring", "DVD-finalization"}) {
        EXPECT_NE(FindStepTemplate(code), nullptr) << code;
    }
}

TEST(ExpandTemplate, RejectsUnknownPlaceholdersAndKeepsValuesVerbatim) {
    EXPECT_EQ(ExpandTemplate("a {x} b {x}", {{"x", "{y}"}}), "a {y} b {y}");
    EXPECT_THROW(ExpandTemplate("a {z}", {{"x", "1"}}), std::logic_error);
    EXPECT_THROW(ExpandTemplate("a {x", {{"x", "1"}}), std::logic_error);
}

}  // namespace
}  // namespace transcoda
