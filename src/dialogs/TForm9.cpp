#include "dialogs/TForm9.h"

#include <QEvent>
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
                     TSpinButton** spinOut) {
    QLineEdit* edit = AddField(panel, field, "00", x, 109, 29);
    TSpinButton* s = AddSpinButton(panel, spin, x + 29, 109);
    ConnectSpin(s, edit, maximum);
    *spinOut = s;
    return edit;
}

}  // namespace

TForm9::TForm9(QWidget* parent) : QDialog(parent) {
    setObjectName("TForm9");
    setWindowTitle(U("Extraction de partie video/audio"));
    QWidget* p = SetUpDialogWindow(this, 626, 242);

    Label1 = AddLabel(p, "Label1", U("Fichier source :"), 16, 11, LabelKind::Heading);
    Edit1 = AddField(p, "Edit1", QString(), 16, 29, 593);
    Label11 = AddLabel(p, "Label11", U("Extraction de vidéo à partir de la position de départ jusqu'à la position finale :"),
                       16, 71, LabelKind::Heading);

    Label6 = AddLabel(p, "Label6", U("A partir de"), 45, 114);
    Edit5 = AddNumber(p, "Edit5", "SpinButton4", 112, 24, &SpinButton4);
    Edit6 = AddNumber(p, "Edit6", "SpinButton5", 165, 59, &SpinButton5);
    Edit4 = AddNumber(p, "Edit4", "SpinButton3", 217, 59, &SpinButton3);
    Label7 = AddLabel(p, "Label7", U("Jusqu'à"), 287, 114);
    Edit2 = AddNumber(p, "Edit2", "SpinButton1", 335, 24, &SpinButton1);
    Edit7 = AddNumber(p, "Edit7", "SpinButton6", 388, 59, &SpinButton6);
    Edit3 = AddNumber(p, "Edit3", "SpinButton2", 444, 59, &SpinButton2);

    Label2 = AddLabel(p, "Label2", U("Heures"), 110, 139, LabelKind::Unit);
    Label3 = AddLabel(p, "Label3", U("Minutes"), 163, 139, LabelKind::Unit);
    Label4 = AddLabel(p, "Label4", U("Secondes"), 215, 139, LabelKind::Unit);
    Label5 = AddLabel(p, "Label5", U("Heures"), 333, 139, LabelKind::Unit);
    Label9 = AddLabel(p, "Label9", U("Minutes"), 386, 139, LabelKind::Unit);
    Label10 = AddLabel(p, "Label10", U("Secondes"), 442, 139, LabelKind::Unit);

    Button2 = AddButton(p, "Button2", U("Effectuer l'extraction de la vidéo/audio"), 16, 172, 593);
    Button3 = AddButton(p, "Button3", U("Annuler"), 488, 203, 121);
    connect(Button2, &QPushButton::clicked, this, &TForm9::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm9::Button3Click);

    FormCreate();
    OrderTabsByLayout(this);
}

void TForm9::FormCreate() {
    if (!App().English()) return;
    setWindowTitle(U("Extract a part of a video/audio"));
    Label1->setText(U("Input file:"));
    Label11->setText(U("Extract the video/audio from the starting position to the end position:"));
    Label6->setText(U("     From:"));
    Label7->setText(U("    To:"));
    for (QLabel* l : {Label2, Label5}) l->setText(U("Hour"));
    for (QLabel* l : {Label3, Label9}) l->setText(U("Minute"));
    for (QLabel* l : {Label4, Label10}) l->setText(U("Second"));
    Button2->setText(U("Make the video/audio extraction"));
    Button3->setText(U("Cancel"));
    for (QLabel* l : {Label1, Label2, Label3, Label4, Label5, Label6, Label7, Label9, Label10, Label11}) l->adjustSize();
}

void TForm9::FormActivate() { Edit1->setText(inputPath_); }

void TForm9::showEvent(QShowEvent* event) {
    CentreOnDesktop(this);
    FormActivate();
    QDialog::showEvent(event);
}

void TForm9::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
    QDialog::changeEvent(event);
}

void TForm9::Button2Click() {
    const Segment segment = MakeSegment(FieldValue(Edit5), FieldValue(Edit6), FieldValue(Edit4),
                                        FieldValue(Edit2), FieldValue(Edit7), FieldValue(Edit3));
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

void TForm9::Button3Click() { reject(); }
