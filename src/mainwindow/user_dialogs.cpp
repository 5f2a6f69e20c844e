#include "mainwindow/user_dialogs.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "mainwindow/desktop_notification.h"
#include "mainwindow/failure_box.h"

namespace transcoda::gui {

namespace {
UserDialogs gReal;
UserDialogs* gCurrent = nullptr;

// Message texts keep their carriage returns byte for byte; a Qt box breaks lines on "\n".
QString ForDisplay(QString text) { return text.replace("\r", "\n"); }
}  // namespace

void UserDialogs::Message(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, caption, ForDisplay(text), QMessageBox::Ok, parent);
    box.exec();
}

void UserDialogs::Failure(QWidget* parent, const QString& caption, const QString& text, const QString& details) {
    FailureBox box(parent, caption, ForDisplay(text), details);
    box.exec();
}

void UserDialogs::Notify(const QString& title, const QString& text) { SendDesktopNotification(title, text); }

bool UserDialogs::Question(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Question, caption, ForDisplay(text), QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton("&Oui", QMessageBox::YesRole);
    QPushButton* no = box.addButton("&Non", QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

QString UserDialogs::PickFile(QWidget* parent, const QString& title, const QString& filter,
                              const QString& startPath, bool mustExist) {
    QFileDialog dialog(parent, title, startPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

QStringList UserDialogs::PickFiles(QWidget* parent, const QString& title, const QString& filter,
                                   const QString& startPath) {
    QFileDialog dialog(parent, title, startPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles();
}

int UserDialogs::RunModal(QDialog* dialog) { return dialog->exec(); }

bool UserDialogs::OpenExternal(const QUrl& url) { return QDesktopServices::openUrl(url); }

UserDialogs& Dialogs() { return gCurrent ? *gCurrent : gReal; }

void SetDialogs(UserDialogs* dialogs) { gCurrent = dialogs; }

}  // namespace transcoda::gui
