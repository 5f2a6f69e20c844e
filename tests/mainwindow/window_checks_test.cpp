// The checks and questions of the Convert picture and of add-to-list: every refusal shows
// its exact message and leaves the window idle, and nothing of the user's is lost.

#include <sys/stat.h>

#include <QDialog>

#include "dialogs/lag_dialog.h"
#include "dialogs/segment_dialog.h"
#include "gui_test_support.h"

namespace transcoda::testing {
namespace {

const char* const kMissingInput = "Le fichier d'entrée n'existe pas, merci de choisir un fichier source qui existe.";
const char* const kReplace = "Le fichier de sortie existe déjà, voulez vous le remplacer?";
const char* const kUnsupported = "Le format cible souhaité n'est pas pris en charge pour le moment.";
const char* const kZeroLag = "Le délai de décalage du son indiqué est nul, aucune correction ne sera effectuée!";
constexpr int kMp3 = 34, kDvdPal = 33, kSync = 38, kExtraction = 39;

struct Refusal {
    const char* name;
    int format;
    bool inputExists;
    bool outputExists;     // a file, or for the DVD formats a folder holding a file
    std::deque<bool> answers;
    const char* syncDelay;  // what the sync dialog leaves, or nullptr
    const char* extractionStart;
    const char* extractionLength;
    std::vector<std::pair<std::string, std::string>> expected;  // kind, text
};

// "{DVD}" stands for the output folder.
const std::string kDvdQuestion =
    "Le dossier {DVD} n'est pas vide! Merci de choisir un autre dossier vide, sinon les données du dossier indiqué vont être "
    "perdues. Voulez vous continuer avec le dossier indiqué ?";

class ConvertRefusalTest : public WindowTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(ConvertRefusalTest, RefusalShowsItsMessageAndReturnsToIdle) {
    const Refusal& c = GetParam();
    MakeForm();
    const std::string input = Path("in/clip.avi");
    const bool dvd = c.format == kDvdPal;
    const std::string output = dvd ? Path("dvd/") : Path("out/clip.mp3");
    if (c.inputExists) WriteFile(input, "input");
    if (c.outputExists) WriteFile(dvd ? output + "keep.txt" : output, "keep");
    SetRequest(input, output, c.format);
    dialogs.answers = c.answers;
    dialogs.onModal = [&](QDialog* dialog) {
        if (auto* sync = qobject_cast<LagDialog*>(dialog); sync && c.syncDelay) sync->SetAcceptedLag(c.syncDelay);
        if (auto* extraction = qobject_cast<SegmentDialog*>(dialog))
            extraction->SetAcceptedSegment(c.extractionStart ? c.extractionStart : kNoExtractionValue,
                                           c.extractionLength ? c.extractionLength : kNoExtractionValue);
    };

    Click(form->convertStopPicture);

    std::vector<std::pair<std::string, std::string>> seen;
    for (const auto& s : dialogs.shown)
        if (s.kind == "message" || s.kind == "question") seen.push_back({s.kind, s.text.toStdString()});
    auto expected = c.expected;
    for (auto& [kind, text] : expected)
        if (auto p = text.find("{DVD}"); p != std::string::npos) text.replace(p, 5, output);
    EXPECT_EQ(seen, expected);
    for (const auto& s : dialogs.Of("message")) EXPECT_EQ(s.caption, "Transcoda 1.0");
    for (const auto& s : dialogs.Of("question")) EXPECT_EQ(s.caption, "Confirmation");
    EXPECT_FALSE(form->Controller().WorkerAlive());
    ExpectIdleLook();
    if (c.outputExists) {
        EXPECT_TRUE(Exists(dvd ? output + "keep.txt" : output)) << "the user's data was lost";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Window, ConvertRefusalTest,
    ::testing::Values(
        Refusal{"NoFormatSelected", -1, true, false, {}, nullptr, nullptr, nullptr, {{"message", kUnsupported}}},
        Refusal{"ExistingOutputKeptOnNo", kMp3, true, true, {false}, nullptr, nullptr, nullptr, {{"question", kReplace}}},
        Refusal{"FullDvdFolderKeptOnNo", kDvdPal, true, true, {false}, nullptr, nullptr, nullptr, {{"question", kDvdQuestion}}},
        Refusal{"SyncDialogLeftWithoutLag", kSync, true, false, {}, "-1000", nullptr, nullptr, {}},
        Refusal{"SyncZeroLag", kSync, true, false, {}, "0.0", nullptr, nullptr, {{"message", kZeroLag}}},
        Refusal{"SyncNegativeZeroLag", kSync, true, false, {}, "-0.0", nullptr, nullptr, {{"message", kZeroLag}}},
        Refusal{"SyncZeroLagWithTwoDigits", kSync, true, false, {}, "-0.00", nullptr, nullptr, {{"message", kZeroLag}}},
        Refusal{"ExtractionWithoutSegment", kExtraction, true, false, {}, nullptr, nullptr, nullptr, {}},
        Refusal{"ExtractionWithOnlyAStart", kExtraction, true, false, {}, nullptr, "00:00:01", nullptr, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowTest, ReleaseWithMissingInputOpensTheInputDialogAndStaysIdle) {
    for (const std::string& input : {std::string(), Path("nowhere/clip.avi")}) {
        MakeForm();
        dialogs.shown.clear();
        SetRequest(input, Path("out/clip.mp3"), kMp3);
        Click(form->convertStopPicture);
        ASSERT_EQ(dialogs.Of("pick").size(), 1u) << input;
        EXPECT_EQ(dialogs.Of("pick")[0].caption, QString::fromUtf8("Choisir le fichier d'entrée"));
        EXPECT_TRUE(dialogs.Of("message").empty());
        ExpectIdleLook();
    }
}

// Add-to-list refusals: the exact message, nothing added, nothing deleted.
struct AddRefusal {
    const char* name;
    int format;
    bool inputExists;
    bool outputExists;
    bool outputAlreadyListed;
    std::deque<bool> answers;
    std::vector<std::pair<std::string, std::string>> expected;
    // What the output field holds before the preset's extension is put on it.
    const char* typed = "out/clip.mp3";
};

class AddRefusalTest : public WindowTest, public ::testing::WithParamInterface<AddRefusal> {};

const char* const kNotForList =
    "La correction et la synchronisation ainsi que l'extraction vidéo/audio se font un fichier à la fois et ne "
    "peuvent être intégrées dans une liste de conversion.\r\rMerci d’effectuer la correction/synchronisation ou "
    "extraction comme vous convertissez un seul fichier.";
const char* const kInList =
    "L’emplacement du fichier à créer existe déjà dans la liste, merci de modifier l’emplacement du fichier de sortie.";

TEST_P(AddRefusalTest, NothingIsAdded) {
    const AddRefusal& c = GetParam();
    MakeForm();
    const bool dvd = c.format == kDvdPal;
    const std::string input = Path("in/clip.avi");
    const std::string output = dvd ? Path("dvd/") : Path("out/clip.mp3");
    const std::string typed = dvd ? output : Path(c.typed);
    WriteFile(Path("in/other.avi"), "other");
    if (c.inputExists) WriteFile(input, "input");
    // "link" is another way to the output's folder.
    std::filesystem::create_directories(Path("out"));
    std::filesystem::create_directory_symlink(Path("out"), Path("link"));
    if (c.outputAlreadyListed) {
        // The same output queued before with another format.
        SetRequest(Path("in/other.avi"), Path("out/clip.mp3"), 35);
        form->onAddToQueueClicked();
    }
    if (c.outputExists) WriteFile(dvd ? output + "keep.txt" : output, "keep");
    const int rowsBefore = form->Queue().Count();
    SetRequest(input, typed, c.format);
    dialogs.answers = c.answers;
    dialogs.shown.clear();

    Click(form->Queue().addToQueue);

    std::vector<std::pair<std::string, std::string>> seen;
    for (const auto& s : dialogs.shown) seen.push_back({s.kind, s.text.toStdString()});
    EXPECT_EQ(seen, c.expected);
    EXPECT_EQ(form->Queue().Count(), rowsBefore);
    if (c.outputExists) {
        EXPECT_TRUE(Exists(dvd ? output + "keep.txt" : output));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Window, AddRefusalTest,
    ::testing::Values(
        AddRefusal{"SyncCorrection", kSync, true, false, false, {}, {{"message", kNotForList}}},
        AddRefusal{"Extraction", kExtraction, true, false, false, {}, {{"message", kNotForList}}},
        AddRefusal{"MissingInput", kMp3, false, false, false, {}, {{"message", kMissingInput}}},
        // The input is tested before anything else: no question, the file stays.
        AddRefusal{"MissingInputWithExistingOutput", kMp3, false, true, false, {}, {{"message", kMissingInput}}},
        AddRefusal{"MissingInputWithFullDvdFolder", kDvdPal, false, true, false, {}, {{"message", kMissingInput}}},
        AddRefusal{"ExistingOutputAnsweredNo", kMp3, true, true, false, {false}, {{"question", kReplace}}},
        AddRefusal{"OutputAlreadyInList", kMp3, true, false, true, {}, {{"message", kInList}}},
        // The checks concern the file the row will write, whatever the field held before.
        AddRefusal{"FinalNameAlreadyInList", kMp3, true, true, true, {}, {{"message", kInList}}, "out/clip.avi"},
        AddRefusal{"ExistingFinalNameAnsweredNo", kMp3, true, true, false, {false}, {{"question", kReplace}}, "out/clip"},
        AddRefusal{"SameFileThroughALinkedFolderInList", kMp3, true, false, true, {}, {{"message", kInList}},
                   "link/clip.mp3"}),
    [](const auto& info) { return std::string(info.param.name); });

// Adding never deletes a file: the question concerns the row's own output, and a Yes only
// lets the conversion replace that file once it has written a complete new one.
TEST_F(WindowTest, AddingKeepsEveryExistingFile) {
    struct Case {
        const char* typed;
        std::vector<const char*> existing;
        std::deque<bool> answers;  // one question per answer
    };
    const Case cases[] = {
        {"out/clip.avi", {"out/clip.avi"}, {}},                // another file of the same name
        {"out/clip.avi", {"out/clip.avi", "out/clip.mp3"}, {true}},
        {"out/clip.mp3", {"out/clip.mp3"}, {true}},
    };
    for (const Case& c : cases) {
        MakeForm();
        WriteFile(Path("in/clip.avi"), "input");
        for (const char* name : c.existing) WriteFile(Path(name), std::string("old ") + name);
        SetRequest(Path("in/clip.avi"), Path(c.typed), kMp3);
        dialogs.answers = c.answers;
        dialogs.shown.clear();
        Click(form->Queue().addToQueue);
        EXPECT_EQ(dialogs.Texts("question"), std::vector<QString>(c.answers.size(), QString::fromUtf8(kReplace)))
            << c.typed;
        ASSERT_EQ(form->Queue().Count(), 1) << c.typed;
        EXPECT_EQ(form->Queue().Cell(2, 1).toStdString(), Path("out/clip.mp3"));
        for (const char* name : c.existing) EXPECT_EQ(ReadFile(Path(name)), std::string("old ") + name) << c.typed;
    }
}

// Only a regular file is ever replaced: a folder, a device and the program's own tools
// are refused by Convert and by Add with the reason, and nothing of them changes.
TEST_F(WindowTest, OutputsThatMayNotBeReplacedAreRefusedByConvertAndAdd) {
    struct Case {
        std::string output;
        const char* why;
    };
    MakeForm();
    WriteFile(Path("in/clip.avi"), "input");
    std::filesystem::create_directories(Path("out/folder.mp3"));
    ASSERT_EQ(mkfifo(Path("out/pipe.mp3").c_str(), 0644), 0);
    const std::string tool = App().HelperFolder() + "utilitymff3.exe";
    const std::string toolBefore = ReadFile(tool);
    const Case cases[] = {
        {Path("out/folder.mp3"), "c'est un dossier, pas un fichier"},
        {Path("out/pipe.mp3"), "ce n'est pas un fichier ordinaire (périphérique, tube ou autre)"},
        // The window gives the output its preset's extension: a new file among the tools.
        {App().HelperFolder() + "utilitymff3.mp3", "c'est un fichier du programme lui-même"},
    };
    for (const Case& c : cases) {
        for (QWidget* button : {static_cast<QWidget*>(form->convertStopPicture), static_cast<QWidget*>(form->Queue().addToQueue)}) {
            dialogs.shown.clear();
            SetRequest(Path("in/clip.avi"), c.output, kMp3);
            Click(button);
            ASSERT_EQ(dialogs.Of("message").size(), 1u) << c.output;
            EXPECT_EQ(dialogs.Of("message")[0].text.toStdString(),
                      "Le fichier de sortie \"" + c.output + "\" est refusé : " + c.why + ".");
            EXPECT_TRUE(dialogs.Of("question").empty());
            EXPECT_EQ(form->Queue().Count(), 0);
            ExpectIdleLook();
        }
    }
    EXPECT_TRUE(std::filesystem::is_directory(Path("out/folder.mp3")));
    EXPECT_TRUE(std::filesystem::is_fifo(Path("out/pipe.mp3")));
    EXPECT_EQ(ReadFile(tool), toolBefore);
    EXPECT_FALSE(Exists(App().HelperFolder() + "utilitymff3.mp3"));
}

TEST_F(WindowTest, EmptyOrMissingDvdFolderIsUsedWithoutAQuestion) {
    MakeForm();
    WriteFile(Path("in/clip.avi"), "input");
    std::filesystem::create_directories(Path("empty/"));
    for (const std::string& folder : {Path("empty/"), Path("missing/")}) {
        SetRequest(Path("in/clip.avi"), folder, kDvdPal);
        Click(form->Queue().addToQueue);
    }
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(form->Queue().Count(), 2);
}

TEST_F(WindowTest, FullDvdFolderAnsweredYesIsQueuedAndKept) {
    MakeForm();
    WriteFile(Path("in/clip.avi"), "input");
    WriteFile(Path("dvd/keep.txt"), "keep");
    SetRequest(Path("in/clip.avi"), Path("dvd/"), kDvdPal);
    dialogs.answers = {true};
    Click(form->Queue().addToQueue);
    EXPECT_EQ(form->Queue().Count(), 1);
    EXPECT_TRUE(Exists(Path("dvd/keep.txt")));
}

}  // namespace
}  // namespace transcoda::testing

namespace transcoda::testing {
namespace {

// Replacing the output must never destroy the input: the same file as output, or an input
// inside the part of a DVD folder that is rewritten, is refused before any question.
TEST_F(WindowTest, OutputThatWouldDestroyTheInputIsRefused) {
    struct Case {
        const char* input;
        const char* output;
        int format;
        const char* message;
    };
    const Case cases[] = {
        {"in/clip.mp3", "in/clip.mp3", kMp3,
         "Le fichier de sortie est le fichier d'entrée lui-même, merci de choisir un autre fichier de sortie."},
        {"in/./clip.mp3", "in/../in/clip.mp3", kMp3,
         "Le fichier de sortie est le fichier d'entrée lui-même, merci de choisir un autre fichier de sortie."},
        {"dvd/DVD-Disc1/VIDEO_TS/VTS_01_1.VOB", "dvd/", kDvdPal,
         "Le fichier d'entrée se trouve dans le dossier du DVD à créer, merci de choisir un autre dossier."},
    };
    MakeForm();
    for (const Case& c : cases) {
        WriteFile(Path(c.input), "the user's only copy");
        SetRequest(Path(c.input), Path(c.output), c.format);
        dialogs.shown.clear();
        Click(form->Queue().addToQueue);
        EXPECT_EQ(dialogs.Texts("message"), std::vector<QString>{QString::fromUtf8(c.message)}) << c.input;
        EXPECT_TRUE(dialogs.Of("question").empty()) << c.input;
        EXPECT_EQ(ReadFile(Path(c.input)), "the user's only copy");
        EXPECT_EQ(form->Queue().Count(), 0);
    }
    // Another file of the DVD folder is not the input: the usual question is asked.
    WriteFile(Path("in/clip.avi"), "input");
    SetRequest(Path("in/clip.avi"), Path("dvd/"), kDvdPal);
    dialogs.answers = {false};
    dialogs.shown.clear();
    Click(form->Queue().addToQueue);
    EXPECT_EQ(dialogs.Of("question").size(), 1u);
}

}  // namespace
}  // namespace transcoda::testing
