#pragma once
// The window's progress and notices: the progress and status texts, the bar, the time
// label that becomes the notice of a written file with the button that opens its folder,
// and the program's title as the desktop's task list shows it.

#include <QObject>
#include <QString>

#include "exec/window_port.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace transcoda::gui {

class ProgressPart : public QObject {
    Q_OBJECT
public:
    // The controls go on `panel`; the title and the desktop's notice are `window`'s.
    ProgressPart(QWidget* panel, QWidget* window);

    void CreateControls();
    // The row of texts at the height `top`, the bar below it across the window's `width`,
    // the status at the row's right end.
    void Place(int top, int width);
    // The texts of the chosen language at creation.
    void ApplyLanguage();

    // One change of the progress display, all of it at once.
    void Show(const DisplayChange& change);
    // The time label; a new text takes the place of the written-file notice.
    void ShowTimeText(const QString& text);
    // The end of a conversion that wrote its output: the time label names it, the button
    // beside it opens `folder`, and when the window is not the active one the desktop
    // shows the same notice.
    void ShowWrittenNotice(const QString& text, const QString& folder);
    void OpenWrittenFolder();
    // The folder of the output that the notice names; empty while none is shown.
    QString WrittenFolder() const { return writtenFolder_; }

    // The window's caption, and the title: the caption alone when idle, the progress in
    // front of it while a tool runs.
    void SetCaption(const QString& caption);
    QString Caption() const { return caption_; }
    void SetApplicationTitle(const QString& text);
    QString ApplicationTitle() const { return applicationTitle_; }

    QLabel *progressLabel = nullptr, *statusLabel = nullptr;
    QProgressBar* progressBar = nullptr;
    // The time label of a running conversion, then the written-file notice; the button
    // that opens the written file's folder.
    QLabel* TimeLabel = nullptr;
    QPushButton* OpenFolderButton = nullptr;

private:
    QWidget* panel_;
    QWidget* window_;
    QString caption_;
    QString applicationTitle_;
    QString writtenFolder_;
};

}  // namespace transcoda::gui
