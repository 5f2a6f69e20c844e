#pragma once
// Every box, file dialog, modal window and desktop hand-off of the main window goes
// through this one object, so that a test can answer them instead of a person.

#include <QString>
#include <QStringList>
#include <QUrl>

class QDialog;
class QWidget;

namespace transcoda::gui {

class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // A message box with one OK button.
    virtual void Message(QWidget* parent, const QString& caption, const QString& text);
    // The box of a failure: the message, OK, and a button that shows the details.
    virtual void Failure(QWidget* parent, const QString& caption, const QString& text, const QString& details);
    // A notice on the desktop, outside the window (quietly nothing where the desktop
    // has no way to show one).
    virtual void Notify(const QString& title, const QString& text);
    // A question box with "&Oui" and "&Non"; true for Oui.
    virtual bool Question(QWidget* parent, const QString& caption, const QString& text);
    // An open-file dialog; the chosen path, or an empty text when it was cancelled.
    // mustExist false lets the user type a name that does not exist yet.
    virtual QString PickFile(QWidget* parent, const QString& title, const QString& filter,
                             const QString& startPath, bool mustExist);
    // An open-file dialog in which several existing files may be chosen; the chosen
    // paths, none when it was cancelled.
    virtual QStringList PickFiles(QWidget* parent, const QString& title, const QString& filter,
                                  const QString& startPath);
    // Shows a dialog modally and returns its result.
    virtual int RunModal(QDialog* dialog);
    // Hands a folder or a web page to the desktop.
    virtual bool OpenExternal(const QUrl& url);
};

// The object in use; a plain one that shows real boxes until a test installs its own.
UserDialogs& Dialogs();
// Installs another object (not owned); nullptr restores the real boxes.
void SetDialogs(UserDialogs* dialogs);

}  // namespace transcoda::gui
