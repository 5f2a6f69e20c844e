#include "dialogs/lag_dialog.h"

#include <QComboBox>
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
void FitDirectionBox(LagDialog* d) {
    QComboBox* box = d->directionCombo;
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
    for (QWidget* w : std::initializer_list<QWidget*>{d->lagSeconds, d->lagSecondsSpin, d->decimalComma, d->lagHundredths, d->lagHundredthsSpin,
                                                      d->secondsUnit, d->hundredthsUnit})
        w->move(w->x() + grow, w->y());
}

}  // namespace

LagDialog::LagDialog(QWidget* parent)
    : InputDialog("LagDialog", U("Correction et Synchronisation video/audio"), 626, 274, parent) {
    QWidget* p = Panel();
    AddInputRow(U("Fichier dont la synchronisation vidéo/audio est à corriger :"), 7);

    lagLabel = AddLabel(p, "lagLabel", U("Estimation du décalage actuel du son par rapport à la vidéo :"), 16, 55, LabelKind::Heading);
    directionCombo = new QComboBox(p);
    directionCombo->setObjectName("directionCombo");
    directionCombo->setGeometry(16, 77, 313, 23);
    directionCombo->addItem(U(kEarlyFR));
    directionCombo->addItem(U(kLateFR));
    directionCombo->setCurrentIndex(0);
    lagSeconds = AddField(p, "lagSeconds", "0", 335, 77, 29);
    lagSecondsSpin = AddSpinButton(p, "lagSecondsSpin", 364, 77);
    decimalComma = AddLabel(p, "decimalComma", U(" , "), 385, 80);
    lagHundredths = AddField(p, "lagHundredths", "0", 399, 77, 29);
    lagHundredthsSpin = AddSpinButton(p, "lagHundredthsSpin", 428, 77);
    secondsUnit = AddLabel(p, "secondsUnit", U(" Secondes"), 330, 106, LabelKind::Unit);
    hundredthsUnit = AddLabel(p, "hundredthsUnit", U("   Centième de secondes"), 392, 106, LabelKind::Unit);

    previewLabel = AddLabel(p, "previewLabel", U("Position à partir de laquelle la vidéo sera testée :"), 16, 123, LabelKind::Heading);
    previewHours = AddField(p, "previewHours", "00", 18, 144, 29);
    previewHoursSpin = AddSpinButton(p, "previewHoursSpin", 47, 144);
    previewMinutes = AddField(p, "previewMinutes", "00", 81, 144, 29);
    previewMinutesSpin = AddSpinButton(p, "previewMinutesSpin", 110, 144);
    previewSeconds = AddField(p, "previewSeconds", "00", 152, 144, 29);
    previewSecondsSpin = AddSpinButton(p, "previewSecondsSpin", 181, 144);
    hoursUnit = AddLabel(p, "hoursUnit", U("Heures"), 16, 171, LabelKind::Unit);
    minutesUnit = AddLabel(p, "minutesUnit", U("Minutes"), 79, 171, LabelKind::Unit);
    previewSecondsUnit = AddLabel(p, "previewSecondsUnit", U("Secondes"), 150, 171, LabelKind::Unit);
    playPreview = AddButton(p, "playPreview", U(kPlayFR), 205, 141, 404);

    acceptLag = AddButton(p, "acceptLag", U("Le décalage ci-dessus est bien estimé, créer la vidéo synchronisée"), 16, 204, 593);
    cancel = AddButton(p, "cancel", U("Annuler"), 488, 235, 121);

    ConnectSpin(lagSecondsSpin, lagSeconds, 300);
    ConnectSpin(lagHundredthsSpin, lagHundredths, 99);
    ConnectSpin(previewHoursSpin, previewHours, 24);
    ConnectSpin(previewMinutesSpin, previewMinutes, 59);
    ConnectSpin(previewSecondsSpin, previewSeconds, 59);
    connect(playPreview, &QPushButton::clicked, this, &LagDialog::onPlayPreviewClicked);
    connect(acceptLag, &QPushButton::clicked, this, &LagDialog::onAcceptClicked);
    connect(cancel, &QPushButton::clicked, this, &LagDialog::onCancelClicked);
    playerWatch_ = new QTimer(this);
    connect(playerWatch_, &QTimer::timeout, this, [this] {
        if (player_ && player_->WaitFor(0)) EndPlayer(true);
    });

    ApplyLanguage();
    FitDirectionBox(this);
    OrderTabsByLayout(this);
}

void LagDialog::ApplyLanguage() {
    ApplyEnglish("Correction and Synchronization of video/audio", {
        {inputLabel, "Synchronize the video and audio of:"},
        {lagLabel, "Estimation of the sound’s lag compared to the image:"},
        {secondsUnit, "Seconds"},
        {hundredthsUnit, "Centi seconds"},
        {previewLabel, "Seek the position from where the video will be tested with the sound’s lag correction:"},
        {hoursUnit, "Hour"},
        {minutesUnit, "Minute"},
        {previewSecondsUnit, "Second"},
        {playPreview, kPlayEN},
        {acceptLag, "My sound’s lag estimation is good, make the video correction"},
        {cancel, "Cancel"},
    });
    if (!App().English()) return;
    directionCombo->clear();
    directionCombo->addItem(U(kEarlyEN));
    directionCombo->addItem(U(kLateEN));
    directionCombo->setCurrentIndex(0);
}

std::string LagDialog::LagText() const {
    // The direction is read from the text of the list in the dialog's language.
    const char* early = App().English() ? kEarlyEN : kEarlyFR;
    const bool soundEarly = directionCombo->currentText() == U(early);
    return transcoda::LagText(soundEarly, FieldValue(lagSeconds), FieldValue(lagHundredths));
}

std::string LagDialog::PreviewPosition() const {
    return ClockText(FieldValue(previewHours), FieldValue(previewMinutes), FieldValue(previewSeconds));
}

QString LagDialog::PlayCaption() const { return U(App().English() ? kPlayEN : kPlayFR); }

void LagDialog::onPlayPreviewClicked() {
    if (playerRunning_) {
        StopPreview();
        return;
    }
    PlayPreview(Str(inputPathField->text()), LagText(), PreviewPosition());
}

void LagDialog::StopPreview() {
    playerRunning_ = false;
    playPreview->setText(PlayCaption());
    if (player_) EndPlayer(false);
}

void LagDialog::onAcceptClicked() {
    acceptedLag_ = LagText();
    accept();
}

void LagDialog::onCancelClicked() { reject(); }

void LagDialog::done(int result) {
    if (playerRunning_) StopPreview();
    QDialog::done(result);
}
