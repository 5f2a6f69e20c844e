#pragma once
// The main window: the input, output and format of one conversion, the Convert/Stop
// picture, the conversion list, the shortcut pictures, the progress display that the
// worker updates, and the diagnostic log.

#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "conversion/conversion_controller.h"
#include "mainwindow/picture_button.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class LagDialog;
class SegmentDialog;

namespace transcoda::gui {
class QtWindowPort;
class QueuePanel;
}

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
    static constexpr int kFrameHeight = 41;
    static constexpr int kClientWidth = 761;
    static constexpr int kCollapsedHeight = 342;
    static constexpr int kExpandedHeight = 535;
    static constexpr int kExpandedDebugHeight = 835;
    // Gives the window the height of a layout designed designedHeight high (frame
    // included); on a screen too short for it the log gives up what is missing, and
    // the window moves up to stay on the screen.
    void FitLayout(int designedHeight);

    // Event handlers, named after the component and the event.
    void onCreated();
    void onChooseInputClicked();
    void onChooseOutputClicked();
    void onTestCommandClicked();
    void onTestReaderClicked();
    void onCopyLogClicked();
    void onOpenOutputFolderClicked();
    void onAddToQueueClicked();
    void onConvertQueueClicked();
    void onHideQueueClicked();
    void onShowQueueClicked();
    void onFillQueueClicked();
    void onPresetChanged();
    void onConvertPressed();
    void onConvertReleased();
    void onConvertEntered();
    void onConvertLeft();

    void ChooseInputFile();
    void ChooseOutputFile();
    // Makes path the input, exactly as a pick in the input dialog does.
    void ApplyInputFile(const QString& path);
    // Makes path the output, exactly as a pick in the output dialog does.
    void ApplyOutputFile(const QString& path);
    void ConvertOneFile();
    void ReturnToIdle();
    void UpdateOutputName();
    void LoadPreferences();
    void ShowListLayout();
    void HideListLayout();
    void ApplyHints();

    // The program's title as the desktop's task list shows it: the caption alone when
    // idle, the progress in front of it while a tool runs.
    void SetApplicationTitle(const QString& text);
    QString ApplicationTitle() const { return applicationTitle_; }
    QString Caption() const { return caption_; }

    // Work asked for by the worker and the pipe reader (see QtWindowPort).
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
    // The end of a conversion that wrote its output: the time label names it, the button
    // beside it opens `folder`, and when the window is not the active one the desktop
    // shows the same notice.
    void ShowWrittenNotice(const QString& text, const QString& folder);
    void OpenWrittenFolder();
    QString WrittenFolder() const { return writtenFolder_; }

    // Switches the diagnostic log on or off while the program runs (the shortcut and
    // the window's menu entry); on, the log area is shown as at a start in DebugMode.
    void SetDebugMode(bool on);

    // The conversion list: its table, buttons, statuses and the list kept between runs.
    transcoda::gui::QueuePanel& Queue() { return *queue_; }
    const transcoda::gui::QueuePanel& Queue() const { return *queue_; }

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

protected:
    void closeEvent(QCloseEvent* event) override;
    // Fits the layout to the screen the window opens on.
    void showEvent(QShowEvent* event) override;
    // Tab follows the layout as it stands when the key is pressed.
    bool focusNextPrevChild(bool next) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateControls();
    void CreateShortcuts();
    // Alt+letter for the five big pictures, and the Tab order.
    void CreateKeyboard();
    void CreateNoticeControls();
    void CreateDebugSwitch();
    void PlaceTimeRow(int top);
    void ApplyEnglishCaptions();
    // Shows the list layout when it is hidden.
    void RevealList();
    void PlaceStatusLabels(int top);
    void ShowConvertPicture(const transcoda::gui::ImageList& list, int index);
    void SetListButtonsEnabled(bool enabled);
    void PictureEvents(transcoda::gui::PictureButton* picture, const transcoda::gui::ImageList* list,
                       void (MainWindow::*onRelease)());
    void AboutRelease();
    void CloseRelease();
    void WriteSourcePreference();
    void WriteDestinationPreference();
    void WriteConversionPreferences();

    LagDialog* lagDialog_ = nullptr;
    SegmentDialog* segmentDialog_ = nullptr;

    QString caption_;
    QString applicationTitle_;
    QString inputDialogName_;
    QString outputDialogName_;
    QString inputFilter_;
    QString outputFilter_;
    bool listHidden_ = true;
    // The Close picture ends the program once the window has gone.
    bool quitWhenClosed_ = false;
    // The folder of the output that the notice names; empty while none is shown.
    QString writtenFolder_;
    std::unique_ptr<transcoda::ConversionController> controller_;
    transcoda::gui::QueuePanel* queue_ = nullptr;

    transcoda::gui::ImageList openImages_, saveImages_, convertImages_, stopImages_,
        aboutImages_, closeImages_;
    transcoda::gui::ImageList formatsNormal_, formatsOver_, formatsDown_;

public:
    // Components, named as in the window's design (objectName too).
    QWidget* panel = nullptr;
    QLabel* backgroundPicture = nullptr;  // background picture of the panel
    transcoda::gui::PictureButton *openPicture = nullptr, *savePicture = nullptr, *convertStopPicture = nullptr,
                                  *aboutPicture = nullptr, *closePicture = nullptr;
    QLabel *inputLabel = nullptr, *outputLabel = nullptr, *presetLabel = nullptr, *openCaption = nullptr,
           *saveCaption = nullptr, *convertCaption = nullptr, *aboutCaption = nullptr, *closeCaption = nullptr,
           *progressLabel = nullptr, *statusLabel = nullptr, *logLabel = nullptr, *shortcutsLabel = nullptr;
    QLineEdit *inputPathEdit = nullptr, *outputPathEdit = nullptr;
    QComboBox* presetCombo = nullptr;
    QPushButton *chooseInput = nullptr, *chooseOutput = nullptr, *testCommand = nullptr, *testReader = nullptr,
                *copyLog = nullptr, *openOutputFolder = nullptr, *fillQueueForTest = nullptr;
    QProgressBar* progressBar = nullptr;
    QPlainTextEdit* diagnosticLog = nullptr;
    // The time label of a running conversion, then the written-file notice; the button
    // that opens the written file's folder; the menu entry of the diagnostic log.
    QLabel* TimeLabel = nullptr;
    QPushButton* OpenFolderButton = nullptr;
    QAction* DebugAction = nullptr;
    // One of the fifteen shortcut pictures by its objectName ("dvdShortcut" ...), null for none.
    transcoda::gui::PictureButton* Shortcut(const QString& name) const;

private:
    std::vector<transcoda::gui::PictureButton*> shortcuts_;
};
