// End to end: the values that the two dialogs produce drive the real helper tools through
// the recipe dispatcher, and the files that come out are measured with ffmpeg/ffprobe.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "dialog_test_support.h"
#include "dialogs/lag_dialog.h"
#include "dialogs/segment_dialog.h"
#include "recipes/dispatcher.h"
#include "recipes/path_rules.h"

namespace transcoda::testing {
namespace {

const char* const kSyncLabel = " Correction & Synchronisation video/audio";
const char* const kExtractionLabel = " Extraction video/audio";

// Standard output of a shell command (its standard error discarded).
std::string Capture(const std::string& command) {
    std::string out;
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) return out;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    pclose(pipe);
    return out;
}

std::string Sh(const std::string& path) { return "'" + path + "'"; }

// Time of the first 10 ms block of sound louder than -40 dB, or -1.
double BeepOnset(const std::string& file) {
    const std::string text = Capture(
        "ffmpeg -hide_banner -nostdin -i " + Sh(file) +
        " -vn -af 'aformat=channel_layouts=mono,asetnsamples=n=441,astats=metadata=1:reset=1,"
        "ametadata=print:key=lavfi.astats.Overall.Peak_level:file=-' -f null -");
    std::istringstream in(text);
    double time = -1;
    for (std::string line; std::getline(in, line);) {
        if (auto p = line.find("pts_time:"); p != std::string::npos) time = std::stod(line.substr(p + 9));
        if (auto p = line.find("Peak_level="); p != std::string::npos) {
            const std::string level = line.substr(p + 11);
            if (level.find("inf") == std::string::npos && std::stod(level) > -40) return time;
        }
    }
    return -1;
}

// Time of the first bright frame, or -1.
double FlashOnset(const std::string& file) {
    const std::string text = Capture(
        "ffmpeg -hide_banner -nostdin -i " + Sh(file) +
        " -an -vf 'signalstats,metadata=print:key=lavfi.signalstats.YAVG:file=-' -f null -");
    std::istringstream in(text);
    double time = -1;
    for (std::string line; std::getline(in, line);) {
        if (auto p = line.find("pts_time:"); p != std::string::npos) time = std::stod(line.substr(p + 9));
        if (auto p = line.find("YAVG="); p != std::string::npos && std::stod(line.substr(p + 5)) > 128) return time;
    }
    return -1;
}

std::string Probe(const std::string& file, const std::string& entries) {
    std::string s = Capture("ffprobe -v error -select_streams v:0 -show_entries " + entries +
                            " -of default=nw=1:nk=1 " + Sh(file));
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    return s;
}

// A 4-second clip: black picture with a white flash, silence with a 1 kHz beep.
void MakeBeepFlashClip(const std::string& path, double beepAt, double flashAt) {
    std::ostringstream cmd;
    cmd << "ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i "
        << "\"color=c=black:s=160x120:r=25:d=4,drawbox=x=0:y=0:w=iw:h=ih:color=white:t=fill:"
        << "enable='between(t," << flashAt - 0.02 << "," << flashAt + 0.18 << ")'\" "
        << "-f lavfi -i \"aevalsrc='0.5*sin(2*PI*1000*t)*between(t," << beepAt << "," << beepAt + 0.2
        << ")':s=44100:d=4\" -c:v mpeg4 -q:v 3 -g 25 -c:a pcm_s16le -ac 2 -shortest " << Sh(path);
    ASSERT_EQ(std::system(cmd.str().c_str()), 0) << cmd.str();
}

class SpecialOperations : public ::testing::Test {
protected:
    void SetUp() override {
        ResetApp(window_, "FR");
        window_.Follow(session_);
        App().ProgramFolder = TRANSCODA_BIN_DIR "/";
        for (const char* tool : {"utilitymen.exe", "utilitymen2.exe", "utilitymff3.exe"})
            ASSERT_TRUE(std::filesystem::exists(App().HelperFolder() + tool)) << "helper tool missing: " << tool;
        ASSERT_TRUE(dir_.isValid());
    }
    // Converts with the values a dialog gave, as a worker started now would.
    DispatchOutcome Convert(const std::string& input, const std::string& output, const char* label,
                            const SpecialValues& special = {}) {
        App().DebugMode = true;
        return DispatchConversion(session_, {input, output, label, special});
    }

    // What the run logged and how the last tool ended, for the failure messages.
    std::string Report() {
        std::string text = "last tool exit status " + std::to_string(session_.LastExitStatus.load()) + "\n";
        for (const std::string& line : window_.log) text += line.substr(0, 300) + "\n";
        return text;
    }

    std::string Temp(const std::string& name) const { return dir_.path().toStdString() + "/" + name; }

    RecordingWindow window_;
    ConversionSession session_;
    QTemporaryDir dir_;
};

struct SyncCase {
    const char* language;
    int direction;        // 0: the sound arrives early, 1: late
    double beepAt, flashAt;
};

class SyncCorrection : public SpecialOperations, public ::testing::WithParamInterface<SyncCase> {};

TEST_P(SyncCorrection, BeepAndFlashCoincideAfterTheCorrection) {
    const SyncCase c = GetParam();
    App().CurrentLanguage = c.language;
    const std::string input = Temp("beep flash.avi");
    MakeBeepFlashClip(input, c.beepAt, c.flashAt);
    ASSERT_NEAR(FlashOnset(input) - BeepOnset(input), c.flashAt - c.beepAt, 0.02);

    // The user says the sound is off by 1 second 25 hundredths, early or late.
    LagDialog dialog;
    dialog.directionCombo->setCurrentIndex(c.direction);
    ClickUp(dialog.lagSecondsSpin, 1);
    ClickUp(dialog.lagHundredthsSpin, 25);
    dialog.acceptLag->click();
    ASSERT_EQ(dialog.AcceptedLag(), c.direction == 0 ? "-1.25" : "1.25");

    const std::string output = UpdateOutputName(kSyncLabel, input, Temp("corrected.avi"));
    EXPECT_EQ(GetLowerExtension(output), "avi");
    const DispatchOutcome outcome = Convert(input, output, kSyncLabel, {dialog.AcceptedLag()});
    ASSERT_EQ(outcome.Outcome, DispatchOutcome::Result::Written) << outcome.Reason << "\n" << Report();
    ASSERT_TRUE(std::filesystem::exists(output)) << output << "\n" << Report();
    const double beep = BeepOnset(output);
    const double flash = FlashOnset(output);
    ASSERT_GE(beep, 0);
    ASSERT_GE(flash, 0);
    EXPECT_NEAR(beep, flash, 0.05) << "beep at " << beep << " s, flash at " << flash << " s\n" << Report();
}

INSTANTIATE_TEST_SUITE_P(Table, SyncCorrection,
                         ::testing::Values(SyncCase{"FR", 0, 0.75, 2.0}, SyncCase{"EN", 1, 2.0, 0.75}));

struct ExtractionCase {
    const char* fixture;
    const char* extension;   // of the output
    const char* size;        // expected picture size, "" to keep the input's
};

class Extraction : public SpecialOperations, public ::testing::WithParamInterface<ExtractionCase> {};

TEST_P(Extraction, CutsTwoSecondsFromOneToThree) {
    const ExtractionCase c = GetParam();
    const std::string fixtures = TRANSCODA_FIXTURE_DIR;
    ASSERT_EQ(std::system(("bash " + Sh(TRANSCODA_SOURCE_DIR "/tests/fixtures/make_fixtures.sh") + " " +
                           Sh(fixtures) + " >/dev/null").c_str()), 0);
    const std::string input = fixtures + "/" + c.fixture;

    SegmentDialog dialog;
    ClickUp(dialog.startSecondsSpin, 1);
    ClickUp(dialog.endSecondsSpin, 3);
    dialog.extract->click();
    ASSERT_EQ(dialog.AcceptedStart(), "00:00:01");
    ASSERT_EQ(dialog.AcceptedLength(), "00:00:02");

    const std::string output = UpdateOutputName(kExtractionLabel, input, Temp("part.xyz"));
    EXPECT_EQ(GetLowerExtension(output), c.extension);
    const DispatchOutcome outcome =
        Convert(input, output, kExtractionLabel, {kNoSyncDelay, dialog.AcceptedStart(), dialog.AcceptedLength()});
    ASSERT_EQ(outcome.Outcome, DispatchOutcome::Result::Written) << outcome.Reason << "\n" << Report();
    ASSERT_TRUE(std::filesystem::exists(output)) << output << "\n" << Report();
    const std::string duration = Capture("ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 " + Sh(output));
    ASSERT_FALSE(duration.empty());
    EXPECT_NEAR(std::stod(duration), 2.0, 0.2) << Report();
    const std::string size = Probe(output, "stream=width,height");
    if (*c.size != '\0') EXPECT_EQ(size, c.size);
    else EXPECT_EQ(size, Probe(input, "stream=width,height"));
}

INSTANTIATE_TEST_SUITE_P(Table, Extraction,
                         ::testing::Values(ExtractionCase{"clip.avi", "avi", ""},
                                           ExtractionCase{"clip.mts", "mpeg", "640\n480"}));

TEST_F(SpecialOperations, LeftWithoutValuesRunsNoTool) {
    const std::string output = Temp("nothing.avi");
    Convert(TRANSCODA_SOURCE_DIR "/README.md.avi", output, kSyncLabel);
    Convert(TRANSCODA_SOURCE_DIR "/README.md.avi", output, kExtractionLabel);
    EXPECT_FALSE(std::filesystem::exists(output));
    EXPECT_TRUE(window_.messages.empty());
    EXPECT_TRUE(window_.Texts("status").empty());
}

}  // namespace
}  // namespace transcoda::testing
