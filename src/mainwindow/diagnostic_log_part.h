#pragma once
// The window's diagnostic log: its area below the list (inside the window only in the
// tallest layout), the button that copies it, and its switch, Ctrl+Shift+D or the entry
// of the menu that a right click on the window opens.

#include <QObject>
#include <QRect>
#include <QString>
#include <functional>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace transcoda::gui {

class DiagnosticLogPart : public QObject {
    Q_OBJECT
public:
    // `switched` hears the switch turned on or off.
    DiagnosticLogPart(QWidget* window, std::function<void(bool on)> switched);

    void CreateControls();
    void CreateSwitch();

    // One line, written only in the diagnostic mode.
    void Append(const QString& line);
    void Clear();
    // Selects the whole log and puts it on the clipboard, also when it is empty.
    void Copy();
    // The switch shows the mode as it is now.
    void ShowMode(bool on);
    // Outside the window the area is hidden, so that Tab never leads there.
    void SetShown(bool shown);
    // Remembers where the log's controls stand once the window has placed them, for a larger window.
    void KeepDesignedPlaces();
    // The log's top as designed; the area placed `taller` pixels lower than designed,
    // `wider` wider, the log `height` high.
    int DesignedTop() const { return designedLog_.top(); }
    void Place(int wider, int taller, int height);
    // A menu of the window's own, shown after the switch in the right click's menu.
    void AddSubmenu(QMenu* submenu) { submenus_.push_back(submenu); }

    QLabel* logLabel = nullptr;
    QPushButton* copyLog = nullptr;
    QPlainTextEdit* diagnosticLog = nullptr;
    QAction* DebugAction = nullptr;

private:
    QWidget* window_;
    QRect designedLabel_, designedCopy_, designedLog_;
    std::function<void(bool)> switched_;
    std::vector<QMenu*> submenus_;
};

}  // namespace transcoda::gui
