#pragma once
// A file or folder dropped on a text field becomes its path there, as a pick in a file
// dialog would make it, never the "file://" text that a text field takes by itself.

#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace transcoda::gui {

class PathDrop : public QObject {
public:
    // Watches field's drags; apply receives the local path of one dropped file or folder
    // (a folder's path ends with "/"). Drops of several items or of a remote address are
    // refused; plain text is left to the field.
    PathDrop(QWidget* field, std::function<void(const QString&)> apply);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const QString&)> apply_;
};

}  // namespace transcoda::gui
