#include "dialogs/dialog_look.h"

#include <QDialog>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

#include "dialogs/spin_button.h"

namespace transcoda {

namespace {

// The background picture shared by both dialogs (626 x 274; the shorter extraction dialog
// shows its top part). A program built without the resources shows the plain panel.
constexpr const char* kBackgroundPicture = ":/backgrounds/dialog.jpg";

QFont DialogFont(int pixels, bool bold) {
    // Tahoma where it exists; otherwise the narrowest common sans-serif faces, so that
    // the long captions still fit their fixed widths.
    QFont f;
    f.setFamilies({"Tahoma", "DejaVu Sans Condensed", "Nimbus Sans", "Liberation Sans", "Arial"});
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

}  // namespace

std::string Str(const QString& s) { return s.toStdString(); }

QWidget* SetUpDialogWindow(QDialog* dialog, int width, int height) {
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint);
    dialog->setFixedSize(width, height);
    dialog->setFont(DialogFont(13, false));
    dialog->setSizeGripEnabled(false);

    auto* panel = new QWidget(dialog);
    panel->setObjectName("panel");
    panel->setGeometry(0, 0, width, height);

    auto* image = new QLabel(panel);
    image->setObjectName("backgroundPicture");
    image->setGeometry(0, 0, width, height);
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (QFile::exists(kBackgroundPicture)) image->setPixmap(QPixmap(kBackgroundPicture));
    image->lower();
    return panel;
}

QLabel* AddLabel(QWidget* panel, const char* name, const QString& text, int x, int y, LabelKind kind) {
    auto* label = new QLabel(text, panel);
    label->setObjectName(name);
    label->setFont(DialogFont(kind == LabelKind::Unit ? 10 : 13, kind == LabelKind::Heading));
    label->setAttribute(Qt::WA_TranslucentBackground);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, QColor(0, 0, 128));
    label->setPalette(p);
    label->move(x, y);
    label->adjustSize();
    return label;
}

QLineEdit* AddField(QWidget* panel, const char* name, const QString& text, int x, int y, int width) {
    auto* field = new QLineEdit(text, panel);
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setGeometry(x, y, width, 23);
    return field;
}

QPushButton* AddButton(QWidget* panel, const char* name, const QString& text, int x, int y, int width) {
    auto* button = new QPushButton(text, panel);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setGeometry(x, y, width, 25);
    return button;
}

SpinButton* AddSpinButton(QWidget* panel, const char* name, int x, int y) {
    auto* spin = new SpinButton(panel);
    spin->setObjectName(name);
    spin->move(x, y);
    return spin;
}

void CentreOnDesktop(QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->availableGeometry();
    QRect frame = window->frameGeometry();
    frame.moveCenter(area.center());
    window->move(frame.topLeft());
}

}  // namespace transcoda
