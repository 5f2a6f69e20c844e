// The keyboard: Alt+letter presses each of the five big pictures, the letter marked
// under its caption, and Tab goes through the controls in the order of the layout.
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

#include "dialogs/tab_order.h"
#include "exec/app_state.h"
#include "mainwindow/main_window.h"
#include "mainwindow/accelerator_mark.h"

using transcoda::App;
using namespace transcoda::gui;

namespace {

// One letter per picture and language, each found in the picture's caption; no two
// alike within a language.
struct Accelerator {
    PictureButton* MainWindow::*picture;
    QLabel* MainWindow::*caption;
    char french;   // "Fichier à convertir", "Fichier de sortie", "Convertir un fichier", "A propos", "Quitter"
    char english;  // "File to convert", "Output File", "Convert the file", "About", "Close"
};

const Accelerator kAccelerators[] = {
    {&MainWindow::openPicture, &MainWindow::openCaption, 'F', 'F'},
    {&MainWindow::savePicture, &MainWindow::saveCaption, 'S', 'O'},
    {&MainWindow::convertStopPicture, &MainWindow::convertCaption, 'C', 'C'},
    {&MainWindow::aboutPicture, &MainWindow::aboutCaption, 'P', 'A'},
    {&MainWindow::closePicture, &MainWindow::closeCaption, 'Q', 'L'},
};

}  // namespace

void MainWindow::CreateKeyboard() {
    for (const Accelerator& a : kAccelerators) {
        PictureButton* picture = this->*a.picture;
        auto* shortcut = new QShortcut(this);
        connect(shortcut, &QShortcut::activated, picture, [picture] {
            picture->setFocus(Qt::ShortcutFocusReason);
            picture->Click();
        });
        pictureKeys_.push_back(shortcut);
        pictureKeyMarks_.push_back(new AcceleratorMark(this->*a.caption, QChar('A')));
    }
    ApplyPictureKeys();
    // The developer buttons lie beyond the window's width: Tab must not lead there.
    for (QPushButton* b : {testCommand, testReader, fillQueueForTest}) b->setFocusPolicy(Qt::NoFocus);
    transcoda::OrderTabsByLayout(this);
}

void MainWindow::ApplyPictureKeys() {
    for (size_t i = 0; i < pictureKeys_.size() && i < std::size(kAccelerators); ++i) {
        const char letter = App().English() ? kAccelerators[i].english : kAccelerators[i].french;
        pictureKeys_[i]->setKey(QKeySequence(Qt::ALT | static_cast<Qt::Key>(Qt::Key_A + (letter - 'A'))));
        pictureKeyMarks_[i]->SetLetter(QChar(letter));
    }
}

bool MainWindow::focusNextPrevChild(bool next) {
    // The layouts move controls (the status row goes below the list): the order is
    // taken from where they stand now.
    transcoda::OrderTabsByLayout(this);
    return QWidget::focusNextPrevChild(next);
}
