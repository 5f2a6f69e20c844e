// Window creation: the panel, the big pictures, the parts in the order they stack, the
// texts of the chosen language.
#include "mainwindow/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cstdlib>

#include "dialogs/lag_dialog.h"
#include "dialogs/segment_dialog.h"
#include "conversion/items_at_once.h"
#include "exec/app_state.h"
#include "exec/progress_display.h"
#include "mainwindow/diagnostic_log_part.h"
#include "mainwindow/files_part.h"
#include "mainwindow/items_at_once_menu.h"
#include "mainwindow/language_menu.h"
#include "mainwindow/preset_picker.h"
#include "mainwindow/progress_part.h"
#include "mainwindow/qt_window_port.h"
#include "mainwindow/queue_panel.h"
#include "mainwindow/texts.h"
#include "mainwindow/user_dialogs.h"
#include "mainwindow/widget_make.h"
#include "mainwindow/window_thread_post.h"
#include "platform/desktop_language.h"
#include "settings/preferences.h"

using transcoda::App;
using namespace transcoda::gui;

namespace {

// The option offers one item at a time up to one per processor this process may run on.
int MostItemsAtOnce() { return std::min(transcoda::kMostItemsAtOnce, transcoda::AvailableCores()); }

constexpr int kPanelCollapsed = 301 + MainWindow::kBelowInput;
constexpr int kPanelExpanded = 494 + MainWindow::kBelowInput;
constexpr int kBigPicture = 96;
// The input's facts stand under its field, whose bottom is at 146.
constexpr int kFactsTop = 149;

// The background with room for the facts: the band under the input field is drawn
// kBelowInput higher, its rows repeated, and what was below moves down with the controls.
QPixmap BackgroundWithRoom(const QPixmap& drawn) {
    if (drawn.isNull()) return drawn;
    QPixmap room(drawn.width(), drawn.height() + MainWindow::kBelowInput);
    QPainter painter(&room);
    painter.drawPixmap(0, 0, drawn, 0, 0, drawn.width(), kFactsTop);
    painter.drawPixmap(QRect(0, kFactsTop, drawn.width(), MainWindow::kBelowInput), drawn,
                       QRect(0, kFactsTop, drawn.width(), 1));
    painter.drawPixmap(0, kFactsTop + MainWindow::kBelowInput, drawn, 0, kFactsTop, drawn.width(),
                       drawn.height() - kFactsTop);
    return room;
}

QString BuildCaption() {
    QString caption = QStringLiteral("Transcoda Media Converter ") + MainWindow::kVersion + " - " + QStringLiteral(__DATE__);
    return caption.simplified();
}

}  // namespace

static void LoadPictures() { Q_INIT_RESOURCE(transcoda); }

MainWindow::MainWindow(QWidget* parent) : QWidget(parent) {
    LoadPictures();
    setObjectName("MainWindow");
    // A dialog-style frame: title, system menu, minimise and maximise boxes; only the
    // list's layouts may be made larger (FitLayout).
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setAcceptDrops(true);
    // The designed text size: small enough for the captions under the 96-pixel pictures.
    QFont designed = font();
    designed.setFamilies({"Tahoma", "DejaVu Sans Condensed", "Nimbus Sans", "Liberation Sans", "Arial"});
    designed.setPixelSize(12);
    setFont(designed);

    openImages_ = ImageList("open", 3, kBigPicture, kBigPicture);
    saveImages_ = ImageList("save", 3, kBigPicture, kBigPicture);
    convertImages_ = ImageList("convert", 3, kBigPicture, kBigPicture);
    stopImages_ = ImageList("stop", 3, kBigPicture, kBigPicture);
    aboutImages_ = ImageList("about", 3, kBigPicture, kBigPicture);
    closeImages_ = ImageList("close", 3, kBigPicture, kBigPicture);

    CreateControls();
    presets_->CreateShortcuts();
    MakeRoomForFacts();
    log_->KeepDesignedPlaces();
    facts_ = new FactsPart(panel, files_->inputPathEdit, presets_->presetCombo, kFactsTop);
    queue_->CreateRowButtons();
    QtWindowPort::Instance().Attach(this);
    transcoda::AttachWindow(&QtWindowPort::Instance());
    controller_ = std::make_unique<transcoda::ConversionController>(*this, PostToWindowThread());
    QtWindowPort::Instance().PullDisplayFrom([this] { return controller_->TakeDisplayChange(); });
    controller_->SetDisplayNotifier([] { QtWindowPort::Instance().PullSoon(); });
    controller_->SetListItemsAtOnce(
        std::min(transcoda::ReadItemsAtOncePreference(App().ProgramFolder), MostItemsAtOnce()));
    ApplyStartSettings();
    CreateKeyboard();
    queue_->Restore();
}

MainWindow::~MainWindow() { QtWindowPort::Instance().Detach(this); }

void MainWindow::AttachDialogs(LagDialog* syncDialog, SegmentDialog* extractionDialog) {
    lagDialog_ = syncDialog;
    segmentDialog_ = extractionDialog;
}

void MainWindow::CreateControls() {
    panel = new QWidget(this);
    panel->setObjectName("panel");
    panel->setGeometry(0, 0, kClientWidth, kPanelCollapsed);
    backgroundPicture = new QLabel(panel);
    backgroundPicture->setObjectName("backgroundPicture");
    backgroundPicture->setGeometry(0, 0, kClientWidth, kPanelExpanded);
    background_ = BackgroundWithRoom(QPixmap(":/backgrounds/main_panel.jpg"));
    if (!background_.isNull()) backgroundPicture->setPixmap(background_);
    backgroundPicture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    CreatePictures();

    files_ = new FilesPart(panel, this, [this](const QString& text) { ShowMessage(text); });
    files_->SetInputHooks([this](const QString& previous) { FollowInput(previous); },
                          [this](const QStringList& paths) { queue_->AddDroppedFiles(paths); });
    presets_ = new PresetPicker(panel, [this] { UpdateOutputName(); });
    queue_ = new QueuePanel(panel, {
        [this] { RevealList(); },
        [this] { return presets_->Chosen(); },
        [this](const QString& text) { ShowMessage(text); },
    });
    progress_ = new ProgressPart(panel, this);
    log_ = new DiagnosticLogPart(this, [this](bool on) { SetDebugMode(on); });
    // Made in this order, the controls stack as they always have.
    queue_->CreateTopButtons();
    files_->CreateControls();
    presets_->CreateControls();
    progress_->CreateControls();
    // The list area, shown only in the expanded layout.
    queue_->CreateListArea();
    log_->CreateControls();
    CreateDeveloperButtons();
    ConnectControls();
    log_->CreateSwitch();
    languages_ = new LanguageMenu(
        this, [this](const std::string& language) { SetLanguage(language); },
        [this] { return controller_ && controller_->ConversionUnderWay(); });
    log_->AddSubmenu(languages_->Menu());
    itemsAtOnce_ = new ItemsAtOnceMenu(
        this, MostItemsAtOnce(), [this](int count) { SetItemsAtOnce(count); },
        [this] { return controller_ ? controller_->ListItemsAtOnce() : 1; },
        [this] { return controller_ && controller_->ConversionUnderWay(); });
    log_->AddSubmenu(itemsAtOnce_->Menu());
}

void MainWindow::MakeRoomForFacts() {
    for (QWidget* parent : {static_cast<QWidget*>(this), panel}) {
        for (QWidget* control : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (control == panel || control == backgroundPicture || control->x() >= kClientWidth) continue;
            if (control->y() >= kFactsTop) control->move(control->x(), control->y() + kBelowInput);
        }
    }
}

void MainWindow::CreatePictures() {
    // The five big picture buttons with their captions.
    struct Big {
        PictureButton** picture;
        const char* name;
        QLabel** caption;
        const char* captionName;
        const char* text;
        int left;
        const ImageList* images;
    };
    const Big bigs[] = {
        {&openPicture, "openPicture", &openCaption, "openCaption", "Fichier à convertir", 8, &openImages_},
        {&savePicture, "savePicture", &saveCaption, "saveCaption", "Fichier de sortie", 112, &saveImages_},
        {&convertStopPicture, "convertStopPicture", &convertCaption, "convertCaption", "Convertir un fichier", 216,
         &convertImages_},
        {&aboutPicture, "aboutPicture", &aboutCaption, "aboutCaption", "A propos", 553, &aboutImages_},
        {&closePicture, "closePicture", &closeCaption, "closeCaption", "Quitter", 657, &closeImages_},
    };
    for (const Big& b : bigs) {
        *b.picture = new PictureButton(b.name, panel);
        (*b.picture)->setGeometry(b.left, 4, kBigPicture, kBigPicture);
        *b.caption = MakeLabel(panel, b.captionName, b.text, b.left - 4, 101, kBigPicture + 8);
        (*b.caption)->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }
    for (const Big& b : bigs) SetPictureState(*b.picture, *b.images, 0);
}

void MainWindow::CreateDeveloperButtons() {
    // Placed beyond the client width.
    testCommand = MakeButton(this, "testCommand", "TEST commande seule", 780, 10, 150);
    testReader = MakeButton(this, "testReader", "Thread2", 780, 40, 150);
    fillQueueForTest = MakeButton(this, "fillQueueForTest", "Remplir la liste /tous les format Pour tester la transformation", 780, 70, 150);
}

void MainWindow::ConnectControls() {
    connect(testCommand, &QPushButton::clicked, this, &MainWindow::onTestCommandClicked);
    connect(testReader, &QPushButton::clicked, this, &MainWindow::onTestReaderClicked);
    connect(queue_->addToQueue, &QPushButton::clicked, this, &MainWindow::onAddToQueueClicked);
    connect(queue_->convertQueue, &QPushButton::clicked, this, &MainWindow::onConvertQueueClicked);
    connect(queue_->hideQueue, &QPushButton::clicked, this, &MainWindow::onHideQueueClicked);
    connect(queue_->showQueue, &QPushButton::clicked, this, &MainWindow::onShowQueueClicked);
    connect(fillQueueForTest, &QPushButton::clicked, this, &MainWindow::onFillQueueClicked);
    connect(convertStopPicture, &PictureButton::MouseDown, this, &MainWindow::onConvertPressed);
    connect(convertStopPicture, &PictureButton::MouseUp, this, &MainWindow::onConvertReleased);
    connect(convertStopPicture, &PictureButton::MouseEnter, this, &MainWindow::onConvertEntered);
    connect(convertStopPicture, &PictureButton::MouseLeave, this, &MainWindow::onConvertLeft);
    PictureEvents(openPicture, &openImages_, &MainWindow::ChooseInputFile);
    PictureEvents(savePicture, &saveImages_, &MainWindow::ChooseOutputFile);
    PictureEvents(aboutPicture, &aboutImages_, &MainWindow::AboutRelease);
    PictureEvents(closePicture, &closeImages_, &MainWindow::CloseRelease);
}

void MainWindow::PictureEvents(PictureButton* picture, const ImageList* list, void (MainWindow::*onRelease)()) {
    connect(picture, &PictureButton::MouseEnter, this, [picture, list] { SetPictureState(picture, *list, 2); });
    connect(picture, &PictureButton::MouseDown, this, [picture, list] { SetPictureState(picture, *list, 1); });
    connect(picture, &PictureButton::MouseLeave, this, [picture, list] { SetPictureState(picture, *list, 0); });
    connect(picture, &PictureButton::MouseUp, this, [this, picture, list, onRelease] {
        SetPictureState(picture, *list, 0);
        (this->*onRelease)();
    });
}

void MainWindow::ApplyStartSettings() {
    // The language: the one the environment asks for, else the user's choice, else the
    // desktop's (see desktop_language.h). The environment may ask for the log.
    App().CurrentLanguage = transcoda::StartLanguage(transcoda::ReadLanguagePreference(App().ProgramFolder));
    const char* debug = std::getenv("TRANSCODA_DEBUG");
    App().DebugMode = debug != nullptr && std::string(debug) == "1";

    HideListLayout();
    listHidden_ = true;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(kClientWidth / 2, kCollapsedHeight / 2));
    }
    ApplyLanguageTexts();

    QString caption = BuildCaption();
    if (App().DebugMode) caption += " - DEBUG";
    progress_->SetCaption(caption);
    log_->ShowMode(App().DebugMode);

    LoadPreferences();
}

void MainWindow::ApplyLanguageTexts() {
    files_->ApplyLanguage();
    facts_->ApplyLanguage();
    progress_->ApplyLanguage();
    ApplyHints();
    ApplyCaptions();
    queue_->ApplyTexts();
    languages_->ShowLanguage();
}

void MainWindow::ApplyCaptions() {
    openCaption->setText(Lang("Fichier à convertir", "File to convert"));
    saveCaption->setText(Lang("Fichier de sortie", "Output File"));
    convertCaption->setText(ConvertCaption());
    aboutCaption->setText(Lang("A propos", "About"));
    closeCaption->setText(Lang("Quitter", "Close"));
    presets_->ApplyCaptions();
}

void MainWindow::ApplyHints() {
    files_->ApplyHints();
    queue_->ApplyHints();
    presets_->ApplyHints();
}

void MainWindow::PlaceStatusLabels(int top) {
    statusTop_ = top;
    PlaceForSize();
}

void MainWindow::HideListLayout() {
    panelHeight_ = kPanelCollapsed;
    FitLayout(kCollapsedHeight);
    PlaceStatusLabels(267 + kBelowInput);
    queue_->SetAreaShown(false);
}

void MainWindow::ShowListLayout() {
    panelHeight_ = kPanelExpanded;
    FitLayout(App().DebugMode ? kExpandedDebugHeight : kExpandedHeight);
    PlaceStatusLabels(457 + kBelowInput);
    queue_->SetAreaShown(true);
}

void MainWindow::ShowMessage(const QString& text) { Dialogs().Message(this, ApplicationTitle(), text); }

void MainWindow::ShowFailure(const QString& text, const QString& details) {
    Dialogs().Failure(this, ApplicationTitle(), text, details);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Every way of closing comes here: the Close picture, the title bar, the desktop's
    // shortcut. While a conversion runs the user is asked first.
    if (controller_->ConversionUnderWay() && !Dialogs().Question(this, kQuestionCaption, MsgStopAndQuit())) {
        event->ignore();
        return;
    }
    // From here on the worker must not wait for this window any more: its calls return
    // at once. A worker still ending its tool and deleting its intermediates keeps the
    // window until its end arrives (or the close timer runs out), then CloseWindow.
    QtWindowPort::Instance().BeginClosing();
    if (!controller_->Close()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}
