// The command lines exactly as the recipes build them, run through the installed tools:
// every step template is accepted and writes its file.

#include <gtest/gtest.h>

#include <filesystem>

#include "exec/app_state.h"
#include "exec/stream_report.h"
#include "recipes/result_check.h"
#include "recipes/step_templates.h"
#include "tool_run.h"

namespace tools_test {
namespace {

namespace fs = std::filesystem;

// The input class that reaches a step, and the extension of what it writes.
std::pair<std::string, std::string> InputAndExtension(const std::string& code) {
    auto starts = [&](const char* p) { return code.rfind(p, 0) == 0; };
    auto ends = [&](const char* s) {
        std::string t = s;
        return code.size() >= t.size() && code.compare(code.size() - t.size(), t.size(), t) == 0;
    };
    if (code == "hdToVideoTraitable") return {"clip.mts", "avi"};
    if (code == "Video-Extraction-FromMTSetCompagnie") return {"clip.m2ts", "mpeg"};
    if (starts("mpeg") && ends("asf")) return {"clip.wmv", "mpeg"};
    if (starts("mpeg")) return {"clip.mkv", "mpeg"};
    if (code == "mp3rate128" || code == "mp3rate256") return {"clip.flv", "mp3"};
    if (code == "wave") return {"clip.flv", "wav"};
    if (starts("mp3rate")) return {"clip.mp3", "mp3"};
    if (code == "wavehd") return {"clip.wav", "wav"};
    if (starts("flv")) return {"clip.mov", "flv"};
    if (starts("3gp")) return {"clip.mp4", "3gp"};
    if (starts("Qt")) return {"clip.avi", "mov"};
    if (starts("Ipod") || starts("Iphone")) return {"clip.mkv", "m4v"};
    if (starts("Ps3") || starts("Xbox")) return {"clip.mpg", "mp4"};
    if (code == "wmvNotFormMTS-M2TS") return {"clip.avi", "wmv"};
    if (code == "rawPcm") return {"clip.3gp", "avi"};
    if (starts("Video-")) return {"clip.vob", "vob"};
    return {"clip.avi", "avi"};
}

class StepTemplate : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override { UseInstalledTools(dir_); }
    TempFolder dir_;
    const transcoda::SpecialValues values_{"-0.40", "00:00:01", "00:00:01"};
};

TEST_P(StepTemplate, RunsAndWritesItsFile) {
    const std::string code = GetParam();
    auto [input, ext] = InputAndExtension(code);
    std::string in = Fixture(input);
    std::string written;
    std::optional<transcoda::StreamReport> report;
    if (code.rfind("DVD", 0) == 0) {
        std::string folder = dir_ / "dvd/";
        fs::create_directories(folder + "DVD-Disc1");
        for (const char* step : {"-pal", "-authoring", "-finalization"}) {
            std::string c = std::string("DVD") + step;
            if (std::string(step) == "-pal" && code.find("ntsc") != std::string::npos) c = code;
            RunResult r = RunCommandLine(transcoda::FormatStepCommandLine(c, in, folder, values_, InstalledTempStem()));
            ASSERT_EQ(r.status, 0) << c << ":\n" << r.output;
            report = transcoda::ParseStreamReport(r.output);
            if (c == code) break;
        }
        written = folder + (code == "DVD-authoring"      ? "DVD-Disc1/VIDEO_TS/VTS_01_1.VOB"
                            : code == "DVD-finalization" ? "DVD-Disc1/VIDEO_TS/VIDEO_TS.IFO"
                                                         : "DVD-Disc1/tmpvdv.mpg");
    } else {
        std::string out = dir_ / ("out file." + ext);
        std::string line = transcoda::FormatStepCommandLine(code, in, out, values_, InstalledTempStem());
        bool toTemp = line.find("tmp4321.avi") != std::string::npos;
        written = toTemp ? transcoda::App().IntermediateFolder() + "tmp4321.avi" : out;
        RunResult r = RunCommandLine(line, written);
        ASSERT_EQ(r.status, 0) << line << ":\n" << r.output;
        report = transcoda::ParseStreamReport(r.output);
    }
    ASSERT_TRUE(fs::exists(written)) << written;
    EXPECT_GT(fs::file_size(written), 1000u);
    // The tool read back what it wrote (the authored title only once it has its table
    // of contents) and found it whole: every stream lasts the segment or the clip.
    if (code == "DVD-authoring") return;
    ASSERT_TRUE(report.has_value()) << code;
    ASSERT_TRUE(report->Readable) << code;
    const double expected = code.rfind("Video-Extraction", 0) == 0 ? 1.0 : 3.0;
    for (const auto& stream : report->Streams)
        EXPECT_NEAR(stream.Seconds, expected, transcoda::LengthTolerance(expected)) << code;
}

// A sound step's engine starts before its input is read, on the plan an input with sound
// gets; on a picture without sound that run is ended unheard and the step runs again on
// the input's own plan: silence as long as the picture, one run told.
TEST(SoundStep, StartsOnTheUsualPlanAndRunsAgainOnAnInputWithoutSound) {
    TempFolder dir;
    UseInstalledTools(dir);
    for (const char* clip : {"clip.mp4", "clip-silent.avi"}) {
        SCOPED_TRACE(clip);
        const bool silent = std::string(clip) == "clip-silent.avi";
        const std::string out = dir / "sound.mp3";
        const RunResult r = RunCommandLine(
            transcoda::FormatStepCommandLine("mp3rate128hd", Fixture(clip), out, {}, InstalledTempStem()), out);
        ASSERT_EQ(r.status, 0) << r.output;
        auto count = [&](const std::string& text) {
            size_t n = 0;
            for (size_t at = r.output.find(text); at != std::string::npos; at = r.output.find(text, at + 1)) ++n;
            return n;
        };
        EXPECT_EQ(count("writing silence as long as its picture"), silent ? 1u : 0u) << r.output;
        EXPECT_EQ(count("Output #0"), 1u) << r.output;
        EXPECT_EQ(count("transcoda-streams:"), 1u) << r.output;
        const Probe p = ProbeFile(out);
        EXPECT_EQ(p.acodec, "mp3");
        EXPECT_NEAR(p.duration, 3.0, 0.1);
    }
}

std::vector<std::string> Codes() {
    std::vector<std::string> codes;
    for (const auto& t : transcoda::StepTemplates()) codes.emplace_back(t.Code);
    return codes;
}

INSTANTIATE_TEST_SUITE_P(Recipes, StepTemplate, ::testing::ValuesIn(Codes()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string n = info.param;
                             for (auto& ch : n)
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return n;
                         });

}  // namespace
}  // namespace tools_test
