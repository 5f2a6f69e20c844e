#include "dialogs/TForm8.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTimer>
#include <algorithm>
#include <initializer_list>

#include "dialogs/dialog_look.h"
#include "dialogs/lag_text.h"
#include "dialogs/spin_button.h"
#include "dialogs/tab_order.h"
#include "dialogs/time_text.h"
#include "exec/app_state.h"
#include "platform/process.h"

using namespace transcoda;

namespace {

const char* const kEarlyFR = " Par rapport à l’image, le son arrive en avance de";
const char* const kLateFR = " Par rapport à l’image, le son arrive en retard de";
const char* const kEarlyEN = " The sound arrives before the video with";
const char* const kLateEN = " The sound arrives after the video with";
const char* const kPlayFR = "Tester la correction de la vidéo avec votre estimation du décalage";
const char* const kPlayEN = "Play the video with your estimation of the sound’s lag";

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// Widens the direction box to its longest entry in the window's language, and moves the
// lag's fields and their captions right by as much, so that no entry is cut.
void FitDirectionBox(TForm8* d) {
    QComboBox* box = d->ComboBox1;
    int textWidth = 0;
    for (int i = 0; i < box->count(); ++i)
        textWidth = std::max(textWidth, box->fontMetrics().horizontalAdvance(box->itemText(i)));
    QStyleOptionComboBox option;
    option.initFrom(box);
    // A few pixels to spare: the text is drawn a little in from the edit field's edge.
    const int needed =
        box->style()->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(textWidth + 8, box->height()), box).width();
    const int grow = needed - box->width();
    if (grow <= 0) return;
    box->resize(needed, box->height());
    for (QWidget* w : std::initializer_list<QWidget*>{d->Edit2, d->SpinButton1, d->Label4, d->Edit3, d->SpinButton2,
                                                      d->Label3, d->Label9})
        w->move(w->x() + grow, w->y());
}

}  // namespace

TForm8::TForm8(QWidget* parent) : QDialog(parent) {
    setObjectName("TForm8");
    setWindowTitle(U("Correction et Synchronisation video/audio"));
    QWidget* p = SetUpDialogWindow(this, 626, 274);

    Label1 = AddLabel(p, "Label1", U("Fichier dont la synchronisation vidéo/audio est à corriger :"), 16, 7, LabelKind::Heading);
    Edit1 = AddField(p, "Edit1", QString(), 16, 29, 593);

    Label2 = AddLabel(p, "Label2", U("Estimation du décalage actuel du son par rapport à la vidéo :"), 16, 55, LabelKind::Heading);
    ComboBox1 = new QComboBox(p);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setGeometry(16, 77, 313, 23);
    ComboBox1->addItem(U(kEarlyFR));
    ComboBox1->addItem(U(kLateFR));
    ComboBox1->setCurrentIndex(0);
    Edit2 = AddField(p, "Edit2", "0", 335, 77, 29);
    SpinButton1 = AddSpinButton(p, "SpinButton1", 364, 77);
    Label4 = AddLabel(p, "Label4", U(" , "), 385, 80);
    Edit3 = AddField(p, "Edit3", "0", 399, 77, 29);
    SpinButton2 = AddSpinButton(p, "SpinButton2", 428, 77);
    Label3 = AddLabel(p, "Label3", U(" Secondes"), 330, 106, LabelKind::Unit);
    Label9 = AddLabel(p, "Label9", U("   Centième de secondes"), 392, 106, LabelKind::Unit);

    Label5 = AddLabel(p, "Label5", U("Position à partir de laquelle la vidéo sera testée :"), 16, 123, LabelKind::Heading);
    Edit5 = AddField(p, "Edit5", "00", 18, 144, 29);
    SpinButton4 = AddSpinButton(p, "SpinButton4", 47, 144);
    Edit6 = AddField(p, "Edit6", "00", 81, 144, 29);
    SpinButton5 = AddSpinButton(p, "SpinButton5", 110, 144);
    Edit4 = AddField(p, "Edit4", "00", 152, 144, 29);
    SpinButton3 = AddSpinButton(p, "SpinButton3", 181, 144);
    Label6 = AddLabel(p, "Label6", U("Heures"), 16, 171, LabelKind::Unit);
    Label7 = AddLabel(p, "Label7", U("Minutes"), 79, 171, LabelKind::Unit);
    Label8 = AddLabel(p, "Label8", U("Secondes"), 150, 171, LabelKind::Unit);
    Button1 = AddButton(p, "Button1", U(kPlayFR), 205, 141, 404);

    Button2 = AddButton(p, "Button2", U("Le décalage ci-dessus est bien estimé, créer la vidéo synchronisée"), 16, 204, 593);
    Button3 = AddButton(p, "Button3", U("Annuler"), 488, 235, 121);

    ConnectSpin(SpinButton1, Edit2, 300);
    ConnectSpin(SpinButton2, Edit3, 99);
    ConnectSpin(SpinButton4, Edit5, 24);
    ConnectSpin(SpinButton5, Edit6, 59);
    ConnectSpin(SpinButton3, Edit4, 59);
    connect(Button1, &QPushButton::clicked, this, &TForm8::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm8::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm8::Button3Click);
    playerWatch_ = new QTimer(this);
    connect(playerWatch_, &QTimer::timeout, this, [this] {
        if (player_ && player_->WaitFor(0)) EndPlayer(true);
    });

    FormCreate();
    FitDirectionBox(this);
    OrderTabsByLayout(this);
}

void TForm8::FormCreate() {
    playerRunning_ = false;
    if (!App().English()) return;
    setWindowTitle(U("Correction and Synchronization of video/audio"));
    Label1->setText(U("Synchronize the video and audio of:"));
    Label2->setText(U("Estimation of the sound’s lag compared to the image:"));
    ComboBox1->clear();
    ComboBox1->addItem(U(kEarlyEN));
    ComboBox1->addItem(U(kLateEN));
    ComboBox1->setCurrentIndex(0);
    Label3->setText(U("Seconds"));
    Label9->setText(U("Centi seconds"));
    Label5->setText(U("Seek the position from where the video will be tested with the sound’s lag correction:"));
    Label6->setText(U("Hour"));
    Label7->setText(U("Minute"));
    Label8->setText(U("Second"));
    Button1->setText(U(kPlayEN));
    Button2->setText(U("My sound’s lag estimation is good, make the video correction"));
    Button3->setText(U("Cancel"));
    for (QLabel* l : {Label1, Label2, Label3, Label5, Label6, Label7, Label8, Label9}) l->adjustSize();
}

void TForm8::FormActivate() { Edit1->setText(inputPath_); }

void TForm8::showEvent(QShowEvent* event) {
    CentreOnDesktop(this);
    FormActivate();
    QDialog::showEvent(event);
}

void TForm8::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
    QDialog::changeEvent(event);
}

std::string TForm8::LagText() const {
    // The direction is read from the text of the list in the dialog's language.
    const char* early = App().English() ? kEarlyEN : kEarlyFR;
    const bool soundEarly = ComboBox1->currentText() == U(early);
    return transcoda::LagText(soundEarly, FieldValue(Edit2), FieldValue(Edit3));
}

std::string TForm8::PreviewPosition() const {
    return ClockText(FieldValue(Edit5), FieldValue(Edit6), FieldValue(Edit4));
}

QString TForm8::PlayCaption() const { return U(App().English() ? kPlayEN : kPlayFR); }

void TForm8::Button1Click() {
    if (playerRunning_) {
        StopPreview();
        return;
    }
    PlayPreview(Str(Edit1->text()), LagText(), PreviewPosition());
}

void TForm8::StopPreview() {
    playerRunning_ = false;
    Button1->setText(PlayCaption());
    if (player_) EndPlayer(false);
}

void TForm8::Button2Click() {
    acceptedLag_ = LagText();
    accept();
}

void TForm8::Button3Click() { reject(); }

void TForm8::done(int result) {
    if (playerRunning_) StopPreview();
    QDialog::done(result);
}
