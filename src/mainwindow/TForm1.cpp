// Window creation: the components, their geometry, the texts of the chosen language.
#include "mainwindow/TForm1.h"

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
#include <QTableWidget>
#include <cstdlib>

#include "conversion/worker.h"
#include "dialogs/TForm8.h"
#include "dialogs/TForm9.h"
#include "exec/app_state.h"
#include "exec/progress_display.h"
#include "mainwindow/path_drop.h"
#include "mainwindow/qt_window_port.h"
#include "mainwindow/texts.h"
#include "mainwindow/user_dialogs.h"
#include "mainwindow/window_thread_post.h"
#include "recipes/format_catalogue.h"

using transcoda::App;
using namespace transcoda::gui;

namespace {

constexpr int kPanelCollapsed = 301;
constexpr int kPanelExpanded = 494;
constexpr int kBigPicture = 96;

QLabel* MakeLabel(QWidget* parent, const char* name, const char* text, int x, int y, int w, int h = 16) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(name);
    label->setGeometry(x, y, w, h);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* text, int x, int y, int w, int h = 25) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(name);
    button->setGeometry(x, y, w, h);
    return button;
}

QString BuildCaption() {
    QString caption = QStringLiteral("Transcoda Media Converter 1.0 - ") + QStringLiteral(__DATE__);
    return caption.simplified();
}

}  // namespace

static void LoadPictures() { Q_INIT_RESOURCE(transcoda); }

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
    LoadPictures();
    setObjectName("TForm1");
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

    openList1_ = ImageList("OpenList1", 3, kBigPicture, kBigPicture);
    saveList1_ = ImageList("SaveList1", 3, kBigPicture, kBigPicture);
    convertList1_ = ImageList("ConvertList1", 3, kBigPicture, kBigPicture);
    convertStopList1_ = ImageList("ConvertStopList1", 3, kBigPicture, kBigPicture);
    aboutList1_ = ImageList("AboutList1", 3, kBigPicture, kBigPicture);
    closeList1_ = ImageList("CloseList1", 3, kBigPicture, kBigPicture);
    formatsNormal_ = ImageList("FormatsBouttonsNormal", 15, 44, 39);
    formatsOver_ = ImageList("FormatsBouttonsOver", 15, 44, 39);
    formatsDown_ = ImageList("FormatsBouttonsDown", 15, 44, 39);

    CreateControls();
    CreateShortcuts();
    CreateQueueControls();
    applicationTitle_ = QString::fromUtf8(transcoda::kApplicationTitle);
    QtWindowPort::Instance().Attach(this);
    transcoda::AttachWindow(&QtWindowPort::Instance());
    controller_ = std::make_unique<transcoda::ConversionController>(*this, PostToWindowThread());
    QtWindowPort::Instance().PullDisplayFrom([this] { return controller_->TakeDisplayChange(); });
    controller_->SetDisplayNotifier([] { QtWindowPort::Instance().PullSoon(); });
    FormCreate();
    CreateKeyboard();
    ApplyQueueTexts();
    RestoreList();
}

TForm1::~TForm1() { QtWindowPort::Instance().Detach(this); }

void TForm1::AttachDialogs(TForm8* syncDialog, TForm9* extractionDialog) {
    form8_ = syncDialog;
    form9_ = extractionDialog;
}

void TForm1::CreateControls() {
    Panel1 = new QWidget(this);
    Panel1->setObjectName("Panel1");
    Panel1->setGeometry(0, 0, kClientWidth, kPanelCollapsed);
    Image1 = new QLabel(Panel1);
    Image1->setObjectName("Image1");
    Image1->setGeometry(0, 0, kClientWidth, kPanelExpanded);
    const QPixmap background(":/backgrounds/main_panel.jpg");
    if (!background.isNull()) Image1->setPixmap(background);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

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
        {&Image2, "Image2", &Label4, "Label4", "Fichier à convertir", 8},
        {&Image3, "Image3", &Label5, "Label5", "Fichier de sortie", 112},
        {&Image4, "Image4", &Label6, "Label6", "Convertir un fichier", 216},
        {&Image5, "Image5", &Label7, "Label7", "A propos", 553},
        {&Image7, "Image7", &Label9, "Label9", "Quitter", 657},
    };
    for (const Big& b : bigs) {
        *b.picture = new PictureButton(b.name, Panel1);
        (*b.picture)->setGeometry(b.left, 4, kBigPicture, kBigPicture);
        *b.caption = MakeLabel(Panel1, b.captionName, b.text, b.left - 4, 101, kBigPicture + 8);
        (*b.caption)->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }
    SetPictureState(Image2, openList1_, 0);
    SetPictureState(Image3, saveList1_, 0);
    SetPictureState(Image4, convertList1_, 0);
    SetPictureState(Image5, aboutList1_, 0);
    SetPictureState(Image7, closeList1_, 0);

    Button7 = MakeButton(Panel1, "Button7", "Ajouter à la liste", 336, 22, 196);
    Button12 = MakeButton(Panel1, "Button12", "Afficher la liste", 336, 56, 196);

    Label1 = MakeLabel(Panel1, "Label1", "Fichier à convertir :", 8, 128, 128);
    Edit1 = new QLineEdit(Panel1);
    Edit1->setObjectName("Edit1");
    Edit1->setReadOnly(true);
    Edit1->setGeometry(138, 124, 482, 22);
    Button1 = MakeButton(Panel1, "Button1", "Choisir la source...", 626, 123, 127, 24);

    Label2 = MakeLabel(Panel1, "Label2", "Fichier de sortie :", 8, 156, 128);
    Edit2 = new QLineEdit(Panel1);
    Edit2->setObjectName("Edit2");
    Edit2->setGeometry(138, 152, 482, 22);
    // A file dropped on the field is an output pick.
    new PathDrop(Edit2, [this](const QString& path) {
        outputDialogName_ = path;
        ApplyOutputFile(path);
    });
    Button2 = MakeButton(Panel1, "Button2", "Explorer...", 626, 151, 62, 24);
    Button6 = MakeButton(Panel1, "Button6", "Ouvrir", 691, 151, 62, 24);

    Label3 = MakeLabel(Panel1, "Label3", "Format ciblé :", 8, 184, 128);
    ComboBox1 = new QComboBox(Panel1);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setEditable(false);
    ComboBox1->setGeometry(138, 180, 615, 22);
    for (const transcoda::FormatEntry& entry : transcoda::FormatCatalogue())
        ComboBox1->addItem(QString::fromUtf8(entry.Label.data(), static_cast<qsizetype>(entry.Label.size())));
    ComboBox1->setCurrentIndex(-1);

    Label14 = MakeLabel(Panel1, "Label14", "Quelques raccourcis", 8, 210, 200);

    // The progress text takes the left of the row, the time label its middle.
    Label10 = MakeLabel(Panel1, "Label10", "", 5, 267, 290);
    Label11 = MakeLabel(Panel1, "Label11", "Prêt", 620, 267, 135);
    CreateNoticeControls();
    ProgressBar1 = new QProgressBar(Panel1);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);

    // The list area, shown only in the expanded layout.
    Label15 = MakeLabel(Panel1, "Label15", "Liste de fichiers à convertir :", 8, 300, 300);
    StringGrid1 = new QTableWidget(1, 3, Panel1);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->setGeometry(8, 318, 745, 108);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->verticalHeader()->setVisible(false);
    StringGrid1->verticalHeader()->setDefaultSectionSize(18);
    StringGrid1->verticalHeader()->setMinimumSectionSize(18);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    StringGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    StringGrid1->setHorizontalHeaderLabels({"", "", ""});
    StringGrid1->setColumnWidth(0, 134);
    StringGrid1->setColumnWidth(1, 266);
    StringGrid1->setColumnWidth(2, 539);
    Button8 = MakeButton(Panel1, "Button8", "Supprimer de la liste", 8, 430, 180);
    Button9 = MakeButton(Panel1, "Button9", "Vider la liste", 194, 430, 150);
    Button10 = MakeButton(Panel1, "Button10", "Convertir la liste", 350, 430, 220);
    Button11 = MakeButton(Panel1, "Button11", "Masquer la liste", 576, 430, 177);

    // The log area below the panel, inside the window only in its tallest layout.
    Label12 = MakeLabel(this, "Label12", "Debug : (jounal des commandes en ligne)", 4, 556, 380);
    Button5 = MakeButton(this, "Button5", "Séléctionner et Copier le log pour les dépannages", 392, 550, 360);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setGeometry(2, 579, 750, 210);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);

    // Developer buttons, placed beyond the client width.
    Button3 = MakeButton(this, "Button3", "TEST commande seule", 780, 10, 150);
    Button4 = MakeButton(this, "Button4", "Thread2", 780, 40, 150);
    Button13 = MakeButton(this, "Button13", "Remplir la liste /tous les format Pour tester la transformation", 780, 70, 150);

    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm1::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm1::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &TForm1::Button6Click);
    connect(Button7, &QPushButton::clicked, this, &TForm1::Button7Click);
    connect(Button8, &QPushButton::clicked, this, &TForm1::Button8Click);
    connect(Button9, &QPushButton::clicked, this, &TForm1::Button9Click);
    connect(Button10, &QPushButton::clicked, this, &TForm1::Button10Click);
    connect(Button11, &QPushButton::clicked, this, &TForm1::Button11Click);
    connect(Button12, &QPushButton::clicked, this, &TForm1::Button12Click);
    connect(Button13, &QPushButton::clicked, this, &TForm1::Button13Click);
    connect(ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Change(); });
    connect(Image4, &PictureButton::MouseDown, this, &TForm1::Image4MouseDown);
    connect(Image4, &PictureButton::MouseUp, this, &TForm1::Image4MouseUp);
    connect(Image4, &PictureButton::MouseEnter, this, &TForm1::Image4MouseEnter);
    connect(Image4, &PictureButton::MouseLeave, this, &TForm1::Image4MouseLeave);
    PictureEvents(Image2, &openList1_, &TForm1::ChooseInputFile);
    PictureEvents(Image3, &saveList1_, &TForm1::ChooseOutputFile);
    PictureEvents(Image5, &aboutList1_, &TForm1::AboutRelease);
    PictureEvents(Image7, &closeList1_, &TForm1::CloseRelease);
    CreateDebugSwitch();
}

void TForm1::PictureEvents(PictureButton* picture, const ImageList* list, void (TForm1::*onRelease)()) {
    connect(picture, &PictureButton::MouseEnter, this, [picture, list] { SetPictureState(picture, *list, 2); });
    connect(picture, &PictureButton::MouseDown, this, [picture, list] { SetPictureState(picture, *list, 1); });
    connect(picture, &PictureButton::MouseLeave, this, [picture, list] { SetPictureState(picture, *list, 0); });
    connect(picture, &PictureButton::MouseUp, this, [this, picture, list, onRelease] {
        SetPictureState(picture, *list, 0);
        (this->*onRelease)();
    });
}

void TForm1::FormCreate() {
    // The language and the diagnostic mode are fixed here for the whole run. The program
    // takes no arguments; the environment may ask for English texts or the log.
    const char* language = std::getenv("TRANSCODA_LANGUAGE");
    const char* debug = std::getenv("TRANSCODA_DEBUG");
    App().CurrentLanguage = (language != nullptr && std::string(language) == "EN") ? "EN" : "FR";
    App().DebugMode = debug != nullptr && std::string(debug) == "1";

    inputFilter_ = InputFilter();
    outputFilter_ = OutputFilter();

    Label11->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    HideListLayout();
    PlaceStatusLabels(267);
    Label10->clear();

    ApplyHints();
    listHidden_ = true;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(kClientWidth / 2, kCollapsedHeight / 2));
    }

    if (!App().English()) {
        Label11->setText(QString::fromUtf8("Prêt"));
        WriteGridHeader();
    } else {
        ApplyEnglishCaptions();
    }

    caption_ = BuildCaption();
    if (App().DebugMode) caption_ += " - DEBUG";
    setWindowTitle(caption_);
    DebugAction->setChecked(App().DebugMode);

    LoadPreferences();
}

void TForm1::WriteGridHeader() {
    StringGrid1->setHorizontalHeaderLabels({QString::fromUtf8(" Format ciblé"),
                                            QString::fromUtf8(" Fichier à convertir"),
                                            QString::fromUtf8(" Fichier de sortie")});
}

void TForm1::ApplyEnglishCaptions() {
    Label4->setText("File to convert");
    Label5->setText("Output File");
    Label6->setText("Convert the file");
    Label7->setText("About");
    Label9->setText("Close");
    Label1->setText("File to convert");
    Label2->setText("Output File");
    Label3->setText("Format");
    Label14->setText("Some shortcuts");
    Label15->setText("List of files to convert");
    Button1->setText("Select Input");
    Button2->setText("Explore...");
    Button6->setText("Open");
    Button7->setText("Add to list");
    Button12->setText("Show list");
    Button8->setText("Remove from list");
    Button9->setText("Clear list");
    Button11->setText("Hide list");
    Button10->setText("Convert the list");
    Label11->setText("Ready");
}

void TForm1::ApplyHints() {
    struct Hint {
        QPushButton* button;
        const char* french;
        const char* english;
    };
    const Hint hints[] = {
        {Button1, "Cliquez ici pour choisir le fichier à convertir",
         "Click here to select the file to be converted"},
        {Button2, "Cliquez ici pour choisir le fichier à créer après conversion",
         "Click here to select the destination file/location (the file that will be created after conversion)"},
        {Button6, "Cliquez ici pour ouvrir le dossier contenant votre fichier converti",
         "Click here to open the folder that contains the file to be converted"},
        {Button7, "Cliquez ici pour ajouter le fichier à convertir ainsi que le format dans une liste",
         "Click here to add this conversion (input File/output file/format) to the list"},
        {Button12, "Cliquez ici pour afficher la liste de conversion de plusieurs fichiers",
         "Click here to show the current list of conversion"},
        {Button8, "Sélectionnez un élément de la liste, puis cliquez ici pour le supprimer de la liste",
         "Select a conversion from the list, then click here to remove it from the list"},
        {Button11, "Masquez l'affichage de la liste", "Hide the current conversion list"},
        {Button10, "Cliquez ici pour convertir (ou stopper) toute la liste",
         "Click here to convert (stop) the conversion of the list"},
    };
    for (const Hint& h : hints) h.button->setToolTip(Lang(h.french, h.english));
    if (App().English()) {
        Shortcut(15)->setToolTip("Click here to select the format for video/audio extraction");
        Shortcut(6)->setToolTip("Click here to select the format for video/audio synchronization");
    }
}

void TForm1::PlaceStatusLabels(int top) {
    Label10->move(5, top);
    Label11->move(620, top);
    PlaceTimeRow(top);
    ProgressBar1->setGeometry(0, top + 18, kClientWidth, 16);
}

void TForm1::HideListLayout() {
    Panel1->resize(kClientWidth, kPanelCollapsed);
    FitLayout(kCollapsedHeight);
    PlaceStatusLabels(267);
    for (QWidget* w : {static_cast<QWidget*>(StringGrid1), static_cast<QWidget*>(Label15),
                       static_cast<QWidget*>(Button8), static_cast<QWidget*>(Button9),
                       static_cast<QWidget*>(Button10), static_cast<QWidget*>(Button11)})
        w->hide();
}

void TForm1::ShowListLayout() {
    Panel1->resize(kClientWidth, kPanelExpanded);
    FitLayout(App().DebugMode ? kExpandedDebugHeight : kExpandedHeight);
    PlaceStatusLabels(457);
    for (QWidget* w : {static_cast<QWidget*>(StringGrid1), static_cast<QWidget*>(Label15),
                       static_cast<QWidget*>(Button8), static_cast<QWidget*>(Button9),
                       static_cast<QWidget*>(Button10), static_cast<QWidget*>(Button11)})
        w->show();
}

void TForm1::SetApplicationTitle(const QString& text) {
    applicationTitle_ = text;
    // The desktop shows a program by its window's title: the progress goes in front of
    // the caption while a tool runs, the caption alone when idle.
    if (text == QString::fromUtf8(transcoda::kApplicationTitle) || text.trimmed().isEmpty())
        setWindowTitle(caption_);
    else
        setWindowTitle(text.trimmed() + " - " + caption_);
}

void TForm1::ShowMessage(const QString& text) { Dialogs().Message(this, applicationTitle_, text); }

void TForm1::closeEvent(QCloseEvent* event) {
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
