#pragma once
// The main window, made of its parts: the input and output (FilesPart), the preset picker
// and its shortcut pictures (PresetPicker), the conversion list (QueuePanel), the
// progress and notices (ProgressPart) and the diagnostic log (DiagnosticLogPart). The
// window itself holds the five big pictures with their captions, the layouts and the
// conversions' controller.

#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "conversion/conversion_controller.h"
#include "exec/window_port.h"
#include "mainwindow/facts_part.h"
#include "mainwindow/picture_button.h"

class QPushButton;
class QLabel;
class QShortcut;
class LagDialog;
class SegmentDialog;

namespace transcoda::gui {
class AcceleratorMark;
class DiagnosticLogPart;
class FilesPart;
class LanguageMenu;
class ItemsAtOnceMenu;
class PresetPicker;
class ProgressPart;
class QueuePanel;
}  // namespace transcoda::gui

// Draws the window and forwards the clicks; the conversions' life belongs to its
// ConversionController, which has the window show what it must through ConversionView
// and asks the user what the checks before a conversion need through RequestAsker.
class MainWindow : public QWidget, public transcoda::ConversionView, public transcoda::RequestAsker {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The two dialogs of the special operations; created here when not given.
    void AttachDialogs(LagDialog* syncDialog, SegmentDialog* extractionDialog);

    // Heights of the whole window in the two list layouts, title bar and borders
    // included as the window was designed; they take kFrameHeight pixels, so the client
    // area is exactly as high as the panel (and, in the tallest layout, the log area).
    // Everything below the input field stands kBelowInput lower than first designed,
    // under the input's facts.
    static constexpr int kFrameHeight = 41;
    // The program's version, as its caption and its About window show it.
    static constexpr const char* kVersion = "1.0";
    static constexpr int kClientWidth = 761;
    static constexpr int kBelowInput = transcoda::gui::FactsPart::kHeight;
    static constexpr int kCollapsedHeight = 342 + kBelowInput;
    static constexpr int kExpandedHeight = 535 + kBelowInput;
    static constexpr int kExpandedDebugHeight = 835 + kBelowInput;
    // Gives the window the height of a layout designed designedHeight high (frame
    // included); on a screen too short for it the log gives up what is missing, and
    // the window moves up to stay on the screen. The list's layouts may then be made
    // larger by the user, never smaller: the list takes what the window gains.
    void FitLayout(int designedHeight);

    // The parts.
    transcoda::gui::FilesPart& Files() { return *files_; }
    transcoda::gui::PresetPicker& Presets() { return *presets_; }
    transcoda::gui::QueuePanel& Queue() { return *queue_; }
    const transcoda::gui::QueuePanel& Queue() const { return *queue_; }
    transcoda::gui::ProgressPart& Progress() { return *progress_; }
    transcoda::gui::DiagnosticLogPart& Log() { return *log_; }
    transcoda::gui::FactsPart& Facts() { return *facts_; }
    transcoda::gui::LanguageMenu& Languages() { return *languages_; }
    transcoda::gui::ItemsAtOnceMenu& ItemsAtOnceChoice() { return *itemsAtOnce_; }

    // What the buttons and pictures do.
    void onTestCommandClicked();
    void onTestReaderClicked();
    void onAddToQueueClicked();
    void onConvertQueueClicked();
    void onHideQueueClicked();
    void onShowQueueClicked();
    void onFillQueueClicked();
    void onConvertPressed();
    void onConvertReleased();
    void onConvertEntered();
    void onConvertLeft();

    void ConvertOneFile();
    void ReturnToIdle();
    // The output field gets the name the selected preset writes.
    void UpdateOutputName();
    // Files the program was started with: one is the input, as a pick makes it; several
    // join the list, as a drop of several files does.
    void OpenFiles(const QStringList& paths);
    void LoadPreferences();
    void ShowListLayout();
    void HideListLayout();
    void ApplyHints();

    // The program's title as the desktop's task list shows it: the caption alone when
    // idle, the progress in front of it while a tool runs.
    void SetApplicationTitle(const QString& text);
    QString ApplicationTitle() const;
    QString Caption() const;

    // Work asked for by the worker and the pipe reader (see QtWindowPort).
    void ShowDisplay(const transcoda::DisplayChange& change);
    void AppendLog(const QString& line);
    // The worker's end of work, handed to the controller.
    bool RestoreConvertButton(bool forList);
    // Message box with one OK button captioned with the application title.
    void ShowMessage(const QString& text);
    // The same for a failure, with a button that shows the failing tool's last lines.
    void ShowFailure(const QString& text, const QString& details);
    // The time label beside the progress texts; a new text takes the place of the
    // written-file notice.
    void ShowTimeText(const QString& text);
    // The end of a conversion that wrote its output (see ProgressPart).
    void ShowWrittenNotice(const QString& text, const QString& folder);
    QString WrittenFolder() const;

    // Switches the diagnostic log on or off while the program runs (the shortcut and
    // the window's menu entry); on, the log area is shown as at a start in DebugMode.
    void SetDebugMode(bool on);
    // The user's choice in the Language menu ("FR" or "EN"): every text of the window,
    // the list's statuses included, and Qt's own boxes speak it from now on, and the
    // preferences keep it. The notice of the last conversion goes. Refused while a
    // conversion runs.
    void SetLanguage(const std::string& language);
    // The option's choice: how many of the list's items are converted at once from the
    // next list run on, kept in the preferences; refused while a conversion runs.
    void SetItemsAtOnce(int count);

    bool ListHidden() const { return listHidden_; }
    transcoda::ConversionController& Controller() { return *controller_; }

    // What the controller has the window show.
    void ShowConvertingLook(bool forList) override;
    void ShowStoppedLook() override;
    void ShowIdleLook() override;
    bool ShowWorkDoneLook(bool forList, bool keepListCaption) override;
    void ArmCloseTimer(int ms) override;
    void CloseWindow() override;
    void ListRunBegins(const std::vector<bool>& skipped) override;
    void ShowListItem(long long item, const transcoda::ItemStatus& status) override;

    // The boxes and dialogs the checks before a conversion ask for.
    void Tell(const std::string& text) override;
    bool Ask(const std::string& text) override;
    std::string AskSyncDelay(const std::string& input) override;
    transcoda::ExtractionSegment AskSegment(const std::string& input) override;

    // Image lists of the pictures.
    const transcoda::gui::ImageList& ConvertImages() const { return convertImages_; }
    const transcoda::gui::ImageList& StopImages() const { return stopImages_; }

    // The panel under the parts' controls, and the five big pictures with their
    // captions (objectName too).
    QWidget* panel = nullptr;
    QLabel* backgroundPicture = nullptr;
    transcoda::gui::PictureButton *openPicture = nullptr, *savePicture = nullptr, *convertStopPicture = nullptr,
                                  *aboutPicture = nullptr, *closePicture = nullptr;
    QLabel *openCaption = nullptr, *saveCaption = nullptr, *convertCaption = nullptr, *aboutCaption = nullptr,
           *closeCaption = nullptr;
    // Developer buttons, beyond the client width.
    QPushButton *testCommand = nullptr, *testReader = nullptr, *fillQueueForTest = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    // Fits the layout to the screen the window opens on.
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Tab follows the layout as it stands when the key is pressed.
    bool focusNextPrevChild(bool next) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateControls();
    void CreatePictures();
    void CreateDeveloperButtons();
    // Moves the controls below the input field down, to make room for its facts.
    void MakeRoomForFacts();
    void ConnectControls();
    // Alt+letter for the five big pictures, and the Tab order.
    void CreateKeyboard();
    // The letters of the current language.
    void ApplyPictureKeys();
    // The language, the diagnostic mode and the texts, set at creation.
    void ApplyStartSettings();
    // Every text that depends on the language, in the current one.
    void ApplyLanguageTexts();
    void ApplyCaptions();
    // Shows the list layout when it is hidden.
    void RevealList();
    void PlaceStatusLabels(int top);
    // Places what follows the window's size: the panel and its background, the list, the
    // status row and the log, each grown or moved by what the window has beyond the
    // layout's size.
    void PlaceForSize();
    void ShowConvertPicture(const transcoda::gui::ImageList& list, int index);
    void PictureEvents(transcoda::gui::PictureButton* picture, const transcoda::gui::ImageList* list,
                       void (MainWindow::*onRelease)());
    void ChooseInputFile();
    void ChooseOutputFile();
    void AboutRelease();
    void CloseRelease();
    void WriteConversionPreferences(const std::string& output);
    // A new input: the output follows it when it was named after the previous one.
    void FollowInput(const QString& previous);

    LagDialog* lagDialog_ = nullptr;
    SegmentDialog* segmentDialog_ = nullptr;

    transcoda::gui::FilesPart* files_ = nullptr;
    transcoda::gui::PresetPicker* presets_ = nullptr;
    transcoda::gui::QueuePanel* queue_ = nullptr;
    transcoda::gui::ProgressPart* progress_ = nullptr;
    transcoda::gui::DiagnosticLogPart* log_ = nullptr;
    transcoda::gui::FactsPart* facts_ = nullptr;
    transcoda::gui::LanguageMenu* languages_ = nullptr;
    transcoda::gui::ItemsAtOnceMenu* itemsAtOnce_ = nullptr;
    // The five big pictures' Alt+letter and its mark under each caption, in their order.
    std::vector<QShortcut*> pictureKeys_;
    std::vector<transcoda::gui::AcceleratorMark*> pictureKeyMarks_;

    bool listHidden_ = true;
    // The layout shown: its client height (the least the window may have), the panel's
    // height and the status row's top in it, the log's height.
    int layoutHeight_ = 0;
    int panelHeight_ = 0;
    int statusTop_ = 0;
    int logHeight_ = 0;
    // The background picture as designed, and as last stretched to the panel.
    QPixmap background_, stretchedBackground_;
    // The Close picture ends the program once the window has gone.
    bool quitWhenClosed_ = false;
    std::unique_ptr<transcoda::ConversionController> controller_;

    transcoda::gui::ImageList openImages_, saveImages_, convertImages_, stopImages_, aboutImages_, closeImages_;
};
