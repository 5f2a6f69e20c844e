// The keyboard: Alt+letter presses each of the five big pictures, the letter marked
// under its caption, and Tab goes through the controls in the order of the layout.
#include <QKeySequence>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>

#include "dialogs/tab_order.h"
#include "exec/app_state.h"
#include "mainwindow/TForm1.h"
#include "mainwindow/accelerator_mark.h"

using transcoda::App;
using namespace transcoda::gui;

namespace {

// One letter per picture and language, each found in the picture's caption; no two
// alike within a language.
struct Accelerator {
    PictureButton* TForm1::*picture;
    QLabel* TForm1::*caption;
    char french;   // "Fichier à convertir", "Fichier de sortie", "Convertir un fichier", "A propos", "Quitter"
    char english;  // "File to convert", "Output File", "Convert the file", "About", "Close"
};

const Accelerator kAccelerators[] = {
    {&TForm1::Image2, &TForm1::Label4, 'F', 'F'},
    {&TForm1::Image3, &TForm1::Label5, 'S', 'O'},
    {&TForm1::Image4, &TForm1::Label6, 'C', 'C'},
    {&TForm1::Image5, &TForm1::Label7, 'P', 'A'},
    {&TForm1::Image7, &TForm1::Label9, 'Q', 'L'},
};

}  // namespace

void TForm1::CreateKeyboard() {
    for (const Accelerator& a : kAccelerators) {
        PictureButton* picture = this->*a.picture;
        const char letter = App().English() ? a.english : a.french;
        auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | static_cast<Qt::Key>(Qt::Key_A + (letter - 'A'))), this);
        connect(shortcut, &QShortcut::activated, picture, [picture] {
            picture->setFocus(Qt::ShortcutFocusReason);
            picture->Click();
        });
        new AcceleratorMark(this->*a.caption, QChar(letter));
    }
    // The developer buttons lie beyond the window's width: Tab must not lead there.
    for (QPushButton* b : {Button3, Button4, Button13}) b->setFocusPolicy(Qt::NoFocus);
    // Tab leaves the list and the log for the next control; the arrows move in them.
    StringGrid1->setTabKeyNavigation(false);
    Memo1->setTabChangesFocus(true);
    transcoda::OrderTabsByLayout(this);
}

bool TForm1::focusNextPrevChild(bool next) {
    // The layouts move controls (the status row goes below the list): the order is
    // taken from where they stand now.
    transcoda::OrderTabsByLayout(this);
    return QWidget::focusNextPrevChild(next);
}
