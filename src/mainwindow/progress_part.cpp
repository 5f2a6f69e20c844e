#include "mainwindow/progress_part.h"

#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <algorithm>

#include "exec/app_state.h"
#include "mainwindow/desktop_open.h"
#include "mainwindow/texts.h"
#include "mainwindow/user_dialogs.h"
#include "mainwindow/widget_make.h"

namespace transcoda::gui {

namespace {
// The time label runs from the end of the progress text to the status; the button
// takes the end of that room while a notice is shown.
constexpr int kTimeLeft = 300;
constexpr int kTimeRight = 615;
constexpr int kButtonWidth = 112;
constexpr int kClientWidth = 761;

QString Q(const std::string& text) { return QString::fromStdString(text); }
}  // namespace

ProgressPart::ProgressPart(QWidget* panel, QWidget* window)
    : QObject(window), panel_(panel), window_(window), applicationTitle_(QString::fromUtf8(kApplicationTitle)) {}

void ProgressPart::CreateControls() {
    // The progress text takes the left of the row, the time label its middle.
    progressLabel = MakeLabel(panel_, "progressLabel", "", 5, 267, 290);
    statusLabel = MakeLabel(panel_, "statusLabel", "Prêt", 620, 267, 135);
    TimeLabel = new QLabel(panel_);
    TimeLabel->setObjectName("TimeLabel");
    // Its texts are given when it is shown, in the language the window took meanwhile.
    OpenFolderButton = new QPushButton(panel_);
    OpenFolderButton->setObjectName("OpenFolderButton");
    OpenFolderButton->hide();
    connect(OpenFolderButton, &QPushButton::clicked, this, &ProgressPart::OpenWrittenFolder);
    progressBar = new QProgressBar(panel_);
    progressBar->setObjectName("progressBar");
    progressBar->setRange(0, 100);
    progressBar->setValue(0);
    progressBar->setTextVisible(false);
}

void ProgressPart::Place(int top, int width) {
    progressLabel->move(5, top);
    statusLabel->move(620 + width - kClientWidth, top);
    TimeLabel->setGeometry(kTimeLeft, top, kTimeRight - kTimeLeft, 16);
    OpenFolderButton->setGeometry(kTimeRight - kButtonWidth, top - 2, kButtonWidth, 20);
    progressBar->setGeometry(0, top + 18, width, 16);
}

void ProgressPart::ApplyLanguage() {
    statusLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    progressLabel->clear();
    statusLabel->setText(App().English() ? QString("Ready") : QString::fromUtf8("Prêt"));
}

void ProgressPart::Show(const DisplayChange& change) {
    if (change.StatusText) statusLabel->setText(Q(*change.StatusText));
    if (change.ProgressText) progressLabel->setText(Q(*change.ProgressText));
    if (change.Title) SetApplicationTitle(Q(*change.Title));
    if (change.BarMaximum) progressBar->setMaximum(*change.BarMaximum);
    // Values beyond the range show as its end, as a position control does.
    if (change.BarPosition)
        progressBar->setValue(std::clamp(*change.BarPosition, progressBar->minimum(), progressBar->maximum()));
    if (change.TimeText) ShowTimeText(Q(*change.TimeText));
}

void ProgressPart::ShowTimeText(const QString& text) {
    writtenFolder_.clear();
    OpenFolderButton->hide();
    TimeLabel->setToolTip({});
    TimeLabel->resize(kTimeRight - kTimeLeft, TimeLabel->height());
    TimeLabel->setText(text);
}

void ProgressPart::ShowWrittenNotice(const QString& text, const QString& folder) {
    writtenFolder_ = folder;
    const int width = kTimeRight - kTimeLeft - kButtonWidth - 6;
    TimeLabel->resize(width, TimeLabel->height());
    // A long path keeps its beginning and its file name; the whole notice is the tooltip.
    TimeLabel->setText(QFontMetrics(TimeLabel->font()).elidedText(text, Qt::ElideMiddle, width));
    TimeLabel->setToolTip(text);
    OpenFolderButton->setText(Lang("Ouvrir le dossier", "Open folder"));
    OpenFolderButton->setToolTip(Lang("Ouvre le dossier du fichier écrit", "Opens the folder of the written file"));
    OpenFolderButton->setVisible(!folder.isEmpty());
    if (!window_->isActiveWindow()) Dialogs().Notify(caption_, text);
}

void ProgressPart::OpenWrittenFolder() {
    if (writtenFolder_.isEmpty()) return;
    OpenOnDesktop(QUrl::fromLocalFile(writtenFolder_),
                  [this](const QString& text) { Dialogs().Message(window_, applicationTitle_, text); });
}

void ProgressPart::SetCaption(const QString& caption) {
    caption_ = caption;
    SetApplicationTitle(applicationTitle_);
}

void ProgressPart::SetApplicationTitle(const QString& text) {
    applicationTitle_ = text;
    // The desktop shows a program by its window's title: the progress goes in front of
    // the caption while a tool runs, the caption alone when idle.
    if (text == QString::fromUtf8(kApplicationTitle) || text.trimmed().isEmpty())
        window_->setWindowTitle(caption_);
    else
        window_->setWindowTitle(text.trimmed() + " - " + caption_);
}

}  // namespace transcoda::gui
