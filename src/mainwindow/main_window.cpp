// Window creation: the components, their geometry, the texts of the chosen language.
#include "mainwindow/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <cstdlib>

#include "conversion/worker.h"
#include "dialogs/lag_dialog.h"
#include "dialogs/segment_dialog.h"
#include "exec/app_state.h"
#include "exec/progress_display.h"
#include "mainwindow/path_drop.h"
#include "mainwindow/qt_window_port.h"
#include "mainwindow/queue_panel.h"
#include "mainwindow/texts.h"
#include "mainwindow/user_dialogs.h"
#include "mainwindow/widget_make.h"
#include "mainwindow/window_thread_post.h"
#include "recipes/format_catalogue.h"

using transcoda::App;
using namespace transcoda::gui;

namespace {

constexpr int kPanelCollapsed = 301;
constexpr int kPanelExpanded = 494;
constexpr int kBigPicture = 96;

QString BuildCaption() {
    QString caption = QStringLiteral("Transcoda Media Converter 1.0 - ") + QStringLiteral(__DATE__);
    return caption.simplified();
}

}  // namespace

static void LoadPictures() { Q_INIT_RESOURCE(transcoda); }

MainWindow::MainWindow(QWidget* parent) : QWidget(parent) {
    LoadPictures();
    setObjectName("MainWindow");
    // A fixed dialog-style frame: title, system menu and minimise box, no resizing.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
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
    formatsNormal_ = ImageList("shortcuts_normal", 15, 44, 39);
    formatsOver_ = ImageList("shortcuts_hover", 15, 44, 39);
    formatsDown_ = ImageList("shortcuts_pressed", 15, 44, 39);

    CreateControls();
    CreateShortcuts();
    queue_->CreateRowButtons();
    applicationTitle_ = QString::fromUtf8(transcoda::kApplicationTitle);
    QtWindowPort::Instance().Attach(this);
    transcoda::AttachWindow(&QtWindowPort::Instance());
    controller_ = std::make_unique<transcoda::ConversionController>(*this, PostToWindowThread());
    onCreated();
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
    const QPixmap background(":/backgrounds/main_panel.jpg");
    if (!background.isNull()) backgroundPicture->setPixmap(background);
    backgroundPicture->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // The five big picture buttons with their captions.
    struct Big {
        PictureButton** picture;
        const char* name;
        QLabel** caption;
        const char* captionName;
        const char* text;
        int left;
    };
    const Big bigs[] = {
        {&openPicture, "openPicture", &openCaption, "openCaption", "Fichier à convertir", 8},
        {&savePicture, "savePicture", &saveCaption, "saveCaption", "Fichier de sortie", 112},
        {&convertStopPicture, "convertStopPicture", &convertCaption, "convertCaption", "Convertir un fichier", 216},
        {&aboutPicture, "aboutPicture", &aboutCaption, "aboutCaption", "A propos", 553},
        {&closePicture, "closePicture", &closeCaption, "closeCaption", "Quitter", 657},
    };
    for (const Big& b : bigs) {
        *b.picture = new PictureButton(b.name, panel);
        (*b.picture)->setGeometry(b.left, 4, kBigPicture, kBigPicture);
        *b.caption = MakeLabel(panel, b.captionName, b.text, b.left - 4, 101, kBigPicture + 8);
        (*b.caption)->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }
    SetPictureState(openPicture, openImages_, 0);
    SetPictureState(savePicture, saveImages_, 0);
    SetPictureState(convertStopPicture, convertImages_, 0);
    SetPictureState(aboutPicture, aboutImages_, 0);
    SetPictureState(closePicture, closeImages_, 0);

    queue_ = new QueuePanel(panel, {
        [this] { RevealList(); },
        [this] { return presetCombo->currentText(); },
        [this](const QString& text) { ShowMessage(text); },
    });
    queue_->CreateTopButtons();

    inputLabel = MakeLabel(panel, "inputLabel", "Fichier à convertir :", 8, 128, 128);
    inputPathEdit = new QLineEdit(panel);
    inputPathEdit->setObjectName("inputPathEdit");
    inputPathEdit->setReadOnly(true);
    inputPathEdit->setGeometry(138, 124, 482, 22);
    chooseInput = MakeButton(panel, "chooseInput", "Choisir la source...", 626, 123, 127, 24);

    outputLabel = MakeLabel(panel, "outputLabel", "Fichier de sortie :", 8, 156, 128);
    outputPathEdit = new QLineEdit(panel);
    outputPathEdit->setObjectName("outputPathEdit");
    outputPathEdit->setGeometry(138, 152, 482, 22);
    // A file dropped on the field is an output pick.
    new PathDrop(outputPathEdit, [this](const QString& path) {
        outputDialogName_ = path;
        ApplyOutputFile(path);
    });
    chooseOutput = MakeButton(panel, "chooseOutput", "Explorer...", 626, 151, 62, 24);
    openOutputFolder = MakeButton(panel, "openOutputFolder", "Ouvrir", 691, 151, 62, 24);

    presetLabel = MakeLabel(panel, "presetLabel", "Format ciblé :", 8, 184, 128);
    presetCombo = new QComboBox(panel);
    presetCombo->setObjectName("presetCombo");
    presetCombo->setEditable(false);
    presetCombo->setGeometry(138, 180, 615, 22);
    for (const transcoda::FormatEntry& entry : transcoda::FormatCatalogue())
        presetCombo->addItem(QString::fromUtf8(entry.Label.data(), static_cast<qsizetype>(entry.Label.size())));
    presetCombo->setCurrentIndex(-1);

    shortcutsLabel = MakeLabel(panel, "shortcutsLabel", "Quelques raccourcis", 8, 210, 200);

    // The progress text takes the left of the row, the time label its middle.
    progressLabel = MakeLabel(panel, "progressLabel", "", 5, 267, 290);
    statusLabel = MakeLabel(panel, "statusLabel", "Prêt", 620, 267, 135);
    CreateNoticeControls();
    progressBar = new QProgressBar(panel);
    progressBar->setObjectName("progressBar");
    progressBar->setRange(0, 100);
    progressBar->setValue(0);
    progressBar->setTextVisible(false);

    // The list area, shown only in the expanded layout.
    queue_->CreateListArea();

    // The log area below the panel, inside the window only in its tallest layout.
    logLabel = MakeLabel(this, "logLabel", "Debug : (jounal des commandes en ligne)", 4, 556, 380);
    copyLog = MakeButton(this, "copyLog", "Séléctionner et Copier le log pour les dépannages", 392, 550, 360);
    diagnosticLog = new QPlainTextEdit(this);
    diagnosticLog->setObjectName("diagnosticLog");
    diagnosticLog->setGeometry(2, 579, 750, 210);
    diagnosticLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    diagnosticLog->setLineWrapMode(QPlainTextEdit::NoWrap);

    // Developer buttons, placed beyond the client width.
    testCommand = MakeButton(this, "testCommand", "TEST commande seule", 780, 10, 150);
    testReader = MakeButton(this, "testReader", "Thread2", 780, 40, 150);
    fillQueueForTest = MakeButton(this, "fillQueueForTest", "Remplir la liste /tous les format Pour tester la transformation", 780, 70, 150);

    connect(chooseInput, &QPushButton::clicked, this, &MainWindow::onChooseInputClicked);
    connect(chooseOutput, &QPushButton::clicked, this, &MainWindow::onChooseOutputClicked);
    connect(testCommand, &QPushButton::clicked, this, &MainWindow::onTestCommandClicked);
    connect(testReader, &QPushButton::clicked, this, &MainWindow::onTestReaderClicked);
    connect(copyLog, &QPushButton::clicked, this, &MainWindow::onCopyLogClicked);
    connect(openOutputFolder, &QPushButton::clicked, this, &MainWindow::onOpenOutputFolderClicked);
    connect(queue_->addToQueue, &QPushButton::clicked, this, &MainWindow::onAddToQueueClicked);
    connect(queue_->convertQueue, &QPushButton::clicked, this, &MainWindow::onConvertQueueClicked);
    connect(queue_->hideQueue, &QPushButton::clicked, this, &MainWindow::onHideQueueClicked);
    connect(queue_->showQueue, &QPushButton::clicked, this, &MainWindow::onShowQueueClicked);
    connect(fillQueueForTest, &QPushButton::clicked, this, &MainWindow::onFillQueueClicked);
    connect(presetCombo, &QComboBox::activated, this, [this] { onPresetChanged(); });
    connect(convertStopPicture, &PictureButton::MouseDown, this, &MainWindow::onConvertPressed);
    connect(convertStopPicture, &PictureButton::MouseUp, this, &MainWindow::onConvertReleased);
    connect(convertStopPicture, &PictureButton::MouseEnter, this, &MainWindow::onConvertEntered);
    connect(convertStopPicture, &PictureButton::MouseLeave, this, &MainWindow::onConvertLeft);
    PictureEvents(openPicture, &openImages_, &MainWindow::ChooseInputFile);
    PictureEvents(savePicture, &saveImages_, &MainWindow::ChooseOutputFile);
    PictureEvents(aboutPicture, &aboutImages_, &MainWindow::AboutRelease);
    PictureEvents(closePicture, &closeImages_, &MainWindow::CloseRelease);
    CreateDebugSwitch();
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

void MainWindow::onCreated() {
    // The language and the diagnostic mode are fixed here for the whole run. The program
    // takes no arguments; the environment may ask for English texts or the log.
    const char* language = std::getenv("TRANSCODA_LANGUAGE");
    const char* debug = std::getenv("TRANSCODA_DEBUG");
    App().CurrentLanguage = (language != nullptr && std::string(language) == "EN") ? "EN" : "FR";
    App().DebugMode = debug != nullptr && std::string(debug) == "1";

    inputFilter_ = InputFilter();
    outputFilter_ = OutputFilter();

    statusLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    HideListLayout();
    PlaceStatusLabels(267);
    progressLabel->clear();

    App().ConversionRunning = false;

    ApplyHints();
    listHidden_ = true;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(kClientWidth / 2, kCollapsedHeight / 2));
    }

    if (!App().English()) {
        statusLabel->setText(QString::fromUtf8("Prêt"));
    } else {
        ApplyEnglishCaptions();
    }
    queue_->ApplyTexts();

    caption_ = BuildCaption();
    if (App().DebugMode) caption_ += " - DEBUG";
    setWindowTitle(caption_);
    DebugAction->setChecked(App().DebugMode);

    LoadPreferences();
}

void MainWindow::ApplyEnglishCaptions() {
    openCaption->setText("File to convert");
    saveCaption->setText("Output File");
    convertCaption->setText("Convert the file");
    aboutCaption->setText("About");
    closeCaption->setText("Close");
    inputLabel->setText("File to convert");
    outputLabel->setText("Output File");
    presetLabel->setText("Format");
    shortcutsLabel->setText("Some shortcuts");
    chooseInput->setText("Select Input");
    chooseOutput->setText("Explore...");
    openOutputFolder->setText("Open");
    statusLabel->setText("Ready");
}

void MainWindow::ApplyHints() {
    struct Hint {
        QPushButton* button;
        const char* french;
        const char* english;
    };
    const Hint hints[] = {
        {chooseInput, "Cliquez ici pour choisir le fichier à convertir",
         "Click here to select the file to be converted"},
        {chooseOutput, "Cliquez ici pour choisir le fichier à créer après conversion",
         "Click here to select the destination file/location (the file that will be created after conversion)"},
        {openOutputFolder, "Cliquez ici pour ouvrir le dossier contenant votre fichier converti",
         "Click here to open the folder that contains the file to be converted"},
    };
    for (const Hint& h : hints) h.button->setToolTip(Lang(h.french, h.english));
    queue_->ApplyHints();
    if (App().English()) {
        Shortcut("segmentShortcut")->setToolTip("Click here to select the format for video/audio extraction");
        Shortcut("lagShortcut")->setToolTip("Click here to select the format for video/audio synchronization");
    }
}

void MainWindow::PlaceStatusLabels(int top) {
    progressLabel->move(5, top);
    statusLabel->move(620, top);
    PlaceTimeRow(top);
    progressBar->setGeometry(0, top + 18, kClientWidth, 16);
}

void MainWindow::HideListLayout() {
    panel->resize(kClientWidth, kPanelCollapsed);
    FitLayout(kCollapsedHeight);
    PlaceStatusLabels(267);
    queue_->SetAreaShown(false);
}

void MainWindow::ShowListLayout() {
    panel->resize(kClientWidth, kPanelExpanded);
    FitLayout(App().DebugMode ? kExpandedDebugHeight : kExpandedHeight);
    PlaceStatusLabels(457);
    queue_->SetAreaShown(true);
}

void MainWindow::SetApplicationTitle(const QString& text) {
    applicationTitle_ = text;
    // The desktop shows a program by its window's title: the progress goes in front of
    // the caption while a tool runs, the caption alone when idle.
    if (text == QString::fromUtf8(transcoda::kApplicationTitle) || text.trimmed().isEmpty())
        setWindowTitle(caption_);
    else
        setWindowTitle(text.trimmed() + " - " + caption_);
}

void MainWindow::ShowMessage(const QString& text) { Dialogs().Message(this, applicationTitle_, text); }

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
