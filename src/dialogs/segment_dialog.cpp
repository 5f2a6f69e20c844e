#include "dialogs/segment_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "dialogs/dialog_look.h"
#include "dialogs/spin_button.h"
#include "dialogs/tab_order.h"
#include "dialogs/time_text.h"
#include "exec/app_state.h"
#include "exec/log.h"
#include "exec/window_port.h"

using namespace transcoda;

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// A number field with its spin button just to its right.
QLineEdit* AddNumber(QWidget* panel, const char* field, const char* spin, int x, int maximum,
                     SpinButton** spinOut) {
    QLineEdit* edit = AddField(panel, field, "00", x, 109, 29);
    SpinButton* s = AddSpinButton(panel, spin, x + 29, 109);
    ConnectSpin(s, edit, maximum);
    *spinOut = s;
    return edit;
}

}  // namespace

SegmentDialog::SegmentDialog(QWidget* parent)
    : InputDialog("SegmentDialog", U("Extraction de partie video/audio"), 626, 242, parent) {
    QWidget* p = Panel();
    AddInputRow(U("Fichier source :"), 11);
    segmentLabel = AddLabel(p, "segmentLabel", U("Extraction de vidéo à partir de la position de départ jusqu'à la position finale :"),
                       16, 71, LabelKind::Heading);

    fromLabel = AddLabel(p, "fromLabel", U("A partir de"), 45, 114);
    startHours = AddNumber(p, "startHours", "startHoursSpin", 112, 24, &startHoursSpin);
    startMinutes = AddNumber(p, "startMinutes", "startMinutesSpin", 165, 59, &startMinutesSpin);
    startSeconds = AddNumber(p, "startSeconds", "startSecondsSpin", 217, 59, &startSecondsSpin);
    toLabel = AddLabel(p, "toLabel", U("Jusqu'à"), 287, 114);
    endHours = AddNumber(p, "endHours", "endHoursSpin", 335, 24, &endHoursSpin);
    endMinutes = AddNumber(p, "endMinutes", "endMinutesSpin", 388, 59, &endMinutesSpin);
    endSeconds = AddNumber(p, "endSeconds", "endSecondsSpin", 444, 59, &endSecondsSpin);

    startHoursUnit = AddLabel(p, "startHoursUnit", U("Heures"), 110, 139, LabelKind::Unit);
    startMinutesUnit = AddLabel(p, "startMinutesUnit", U("Minutes"), 163, 139, LabelKind::Unit);
    startSecondsUnit = AddLabel(p, "startSecondsUnit", U("Secondes"), 215, 139, LabelKind::Unit);
    endHoursUnit = AddLabel(p, "endHoursUnit", U("Heures"), 333, 139, LabelKind::Unit);
    endMinutesUnit = AddLabel(p, "endMinutesUnit", U("Minutes"), 386, 139, LabelKind::Unit);
    endSecondsUnit = AddLabel(p, "endSecondsUnit", U("Secondes"), 442, 139, LabelKind::Unit);

    extract = AddButton(p, "extract", U("Effectuer l'extraction de la vidéo/audio"), 16, 172, 593);
    cancel = AddButton(p, "cancel", U("Annuler"), 488, 203, 121);
    connect(extract, &QPushButton::clicked, this, &SegmentDialog::onExtractClicked);
    connect(cancel, &QPushButton::clicked, this, &SegmentDialog::onCancelClicked);

    ApplyLanguage();
    OrderTabsByLayout(this);
}

void SegmentDialog::ApplyLanguage() {
    ApplyEnglish("Extract a part of a video/audio", {
        {inputLabel, "Input file:"},
        {segmentLabel, "Extract the video/audio from the starting position to the end position:"},
        {fromLabel, "     From:"},
        {toLabel, "    To:"},
        {startHoursUnit, "Hour"},
        {endHoursUnit, "Hour"},
        {startMinutesUnit, "Minute"},
        {endMinutesUnit, "Minute"},
        {startSecondsUnit, "Second"},
        {endSecondsUnit, "Second"},
        {extract, "Make the video/audio extraction"},
        {cancel, "Cancel"},
    });
}

void SegmentDialog::onExtractClicked() {
    const Segment segment = MakeSegment(FieldValue(startHours), FieldValue(startMinutes), FieldValue(startSeconds),
                                        FieldValue(endHours), FieldValue(endMinutes), FieldValue(endSeconds));
    if (!segment.Valid) {
        const std::string text = App().English()
            ? "The end position must be greater then the starting position, please correct the indicated positions."
            : "La position finale doit être plus avancée dans le temps que la position de départ, merci de corriger vos positions.";
        if (App().Window != nullptr) {
            App().Window->ShowMessage(text);
        } else {
            QMessageBox::information(this, QStr(kApplicationTitle), QStr(text));
        }
        return;
    }
    SetAcceptedSegment(segment.Start, segment.Length);
    LogPlain("Instant départ : <" + segment.Start + ">, Instant d'arivéee : <" + segment.End +
             ">, Intervalle : <" + segment.Length + ">");
    accept();
}

void SegmentDialog::onCancelClicked() { reject(); }
