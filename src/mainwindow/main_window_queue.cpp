// The conversion list as a queue: the status column of each row, the row buttons, the
// mouse and keyboard gestures that edit the rows, files dropped on the list, and the list
// kept in the preferences file between runs.
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>

#include "conversion/list_drop.h"
#include "exec/app_state.h"
#include "exec/log.h"
#include "mainwindow/main_window.h"
#include "mainwindow/list_gestures.h"
#include "settings/saved_list.h"
#include "mainwindow/texts.h"

using transcoda::App;
using transcoda::ItemStatus;
using namespace transcoda::gui;

namespace {

using State = ItemStatus::State;

// What the status cell keeps besides its text.
constexpr int kStateRole = Qt::UserRole;
constexpr int kReasonRole = Qt::UserRole + 1;
constexpr int kRowIdRole = Qt::UserRole + 2;
constexpr int kStatusWidth = 200;
constexpr int kRowButtonSize = 26;

std::string S(const QString& text) { return text.toStdString(); }
QString Q(const std::string& text) { return QString::fromStdString(text); }

// A finished row is tinted by how it ended, so that it shows at a glance while the
// status column lies beyond the width of the grid.
QBrush TintOf(State kind) {
    switch (kind) {
        case State::Done: return QColor(214, 240, 214);
        case State::Failed: return QColor(246, 214, 214);
        case State::Stopped: return QColor(232, 232, 232);
        default: return {};
    }
}

// Keeps the row buttons as the list shows them: on screen with the grid, and enabled
// exactly when the Remove button is, which the looks of each conversion set.
class RowButtonsFollower : public QObject {
public:
    RowButtonsFollower(QWidget* grid, QWidget* remove, std::vector<QWidget*> buttons)
        : QObject(grid), grid_(grid), remove_(remove), buttons_(std::move(buttons)) {
        grid->installEventFilter(this);
        remove->installEventFilter(this);
        Follow();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type == QEvent::ShowToParent || type == QEvent::HideToParent || type == QEvent::EnabledChange) Follow();
        return false;
    }

private:
    void Follow() {
        for (QWidget* button : buttons_) {
            button->setHidden(grid_->isHidden());
            button->setEnabled(remove_->isEnabled());
        }
    }
    QWidget* grid_;
    QWidget* remove_;
    std::vector<QWidget*> buttons_;
};

}  // namespace

void MainWindow::CreateQueueControls() {
    queueView->setColumnCount(kStatusColumn + 1);
    queueView->setColumnWidth(kStatusColumn, kStatusWidth);
    // The row buttons stand in a narrow column at the grid's right.
    const QRect grid = queueView->geometry();
    queueView->resize(grid.width() - kRowButtonSize - 4, grid.height());
    const int left = grid.right() - kRowButtonSize + 1;
    MoveUpButton = new QPushButton(panel);
    MoveUpButton->setObjectName("MoveUpButton");
    MoveUpButton->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    MoveUpButton->setGeometry(left, grid.top(), kRowButtonSize, kRowButtonSize);
    MoveDownButton = new QPushButton(panel);
    MoveDownButton->setObjectName("MoveDownButton");
    MoveDownButton->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    MoveDownButton->setGeometry(left, grid.top() + kRowButtonSize + 4, kRowButtonSize, kRowButtonSize);
    connect(MoveUpButton, &QPushButton::clicked, this, &MainWindow::onMoveUpClicked);
    connect(MoveDownButton, &QPushButton::clicked, this, &MainWindow::onMoveDownClicked);
    new RowButtonsFollower(queueView, removeFromQueue, {MoveUpButton, MoveDownButton});

    new ListGestures(queueView, {
        [this] { return ListEditable(); },
        [this](int from, int to) { MoveListRow(from, to, false); },
        [this] { onRemoveFromQueueClicked(); },
        [this](const QStringList& paths) { AddDroppedFiles(paths); },
        [this] { SaveList(); },
    });
}

void MainWindow::ApplyQueueTexts() {
    queueView->setHorizontalHeaderItem(kStatusColumn, new QTableWidgetItem(Lang(" État", " Status")));
    MoveUpButton->setToolTip(Lang("Sélectionnez un élément de la liste, puis cliquez ici pour le faire monter",
                                  "Select a conversion from the list, then click here to move it up"));
    MoveDownButton->setToolTip(Lang("Sélectionnez un élément de la liste, puis cliquez ici pour le faire descendre",
                                    "Select a conversion from the list, then click here to move it down"));
}

bool MainWindow::ListEditable() const { return removeFromQueue->isEnabled(); }

ItemStatus MainWindow::ListStatus(int row) const {
    const QTableWidgetItem* cell = queueView->item(row - 1, kStatusColumn);
    if (row < 1 || cell == nullptr) return {};
    ItemStatus status;
    status.Kind = static_cast<State>(cell->data(kStateRole).toInt());
    status.Reason = S(cell->data(kReasonRole).toString());
    return status;
}

QString MainWindow::ListStatusText(int row) const {
    const QTableWidgetItem* cell = row >= 1 ? queueView->item(row - 1, kStatusColumn) : nullptr;
    return cell ? cell->text() : QString();
}

void MainWindow::SetListStatus(int row, const ItemStatus& status) {
    QTableWidgetItem* cell = queueView->item(row - 1, kStatusColumn);
    if (cell == nullptr) {
        cell = new QTableWidgetItem;
        cell->setData(kRowIdRole, nextRowId_++);
        queueView->setItem(row - 1, kStatusColumn, cell);
    }
    const QString text = Q(transcoda::ItemStatusText(status));
    cell->setText(text);
    cell->setData(kStateRole, static_cast<int>(status.Kind));
    cell->setData(kReasonRole, Q(status.Reason));
    const QBrush tint = TintOf(status.Kind);
    for (int column = 0; column <= kStatusColumn; ++column) {
        if (QTableWidgetItem* item = queueView->item(row - 1, column)) {
            item->setToolTip(text);
            item->setBackground(tint);
        }
    }
}

void MainWindow::MoveListRow(int from, int to, bool save) {
    const int queued = ListRowCount() - 2;
    if (from < 1 || from > queued || to < 1 || to > queued || from == to) return;
    // The row's own items move, and with them its id.
    QList<QTableWidgetItem*> items;
    for (int column = 0; column <= kStatusColumn; ++column) items << queueView->takeItem(from - 1, column);
    queueView->removeRow(from - 1);
    queueView->insertRow(to - 1);
    for (int column = 0; column <= kStatusColumn; ++column) queueView->setItem(to - 1, column, items[column]);
    SelectListRow(to);
    if (save) SaveList();
}

void MainWindow::onMoveUpClicked() {
    const int row = SelectedListRow();
    if (ListEditable()) MoveListRow(row, row - 1);
}

void MainWindow::onMoveDownClicked() {
    const int row = SelectedListRow();
    if (ListEditable()) MoveListRow(row, row + 1);
}

void MainWindow::AddDroppedFiles(const QStringList& paths) {
    if (!ListEditable()) return;
    std::vector<std::string> inputs;
    for (const QString& path : paths) inputs.push_back(S(path));
    const transcoda::DroppedFiles dropped = transcoda::CheckDroppedFiles(
        S(presetCombo->currentText()), inputs, [this](const std::string& output) { return OutputInList(Q(output)); });
    // The boxes wait until the drop is over: the desktop's drag must not hang on them.
    if (!dropped.Refusal.empty()) {
        TellLater(Q(dropped.Refusal));
        return;
    }
    for (const transcoda::ConversionRequest& row : dropped.Rows)
        AddListRow(Q(row.FormatLabel), Q(row.InputPath), Q(row.OutputPath));
    if (!dropped.Rows.empty()) {
        if (listHidden_) {
            ShowListLayout();
            listHidden_ = false;
        }
        SaveList();
    }
    if (!dropped.LeftOut.empty()) TellLater(Q(transcoda::LeftOutFilesText(dropped.Rows.size(), dropped.LeftOut)));
}

void MainWindow::TellLater(const QString& text) {
    QTimer::singleShot(0, this, [this, text] { ShowMessage(text); });
}

void MainWindow::ListRunBegins(const std::vector<bool>& skipped) {
    runRows_.clear();
    for (int row = 1; row <= ListRowCount() - 2; ++row) {
        const auto at = static_cast<size_t>(row - 1);
        if (at >= skipped.size() || !skipped[at]) SetListStatus(row, {});
        runRows_.push_back(queueView->item(row - 1, kStatusColumn)->data(kRowIdRole).toLongLong());
    }
    SaveList();
}

void MainWindow::ShowListItem(int row, const ItemStatus& status) {
    if (row < 1 || row > static_cast<int>(runRows_.size())) return;
    const long long id = runRows_[static_cast<size_t>(row - 1)];
    for (int r = 1; r <= ListRowCount() - 2; ++r) {
        const QTableWidgetItem* cell = queueView->item(r - 1, kStatusColumn);
        if (cell == nullptr || cell->data(kRowIdRole).toLongLong() != id) continue;
        // The file keeps every change of state, not each percent.
        const bool newState = ListStatus(r).Kind != status.Kind;
        SetListStatus(r, status);
        if (newState) SaveList();
        return;
    }
}

void MainWindow::SaveList() {
    if (restoringList_) return;
    std::vector<transcoda::SavedListRow> rows;
    rows.reserve(static_cast<size_t>(ListRowCount()));
    for (int row = 1; row <= ListRowCount() - 2; ++row)
        rows.push_back({S(ListCell(0, row)), S(ListCell(1, row)), S(ListCell(2, row)), ListStatus(row)});
    const auto result = transcoda::WriteSavedList(App().ProgramFolder, rows, &savedListBase_);
    if (result.Ok()) return;
    transcoda::LogError(" -- " + result.ErrorText);
    // Once per run: the list is saved at every change, and one box says it all.
    if (listSaveFailureTold_) return;
    listSaveFailureTold_ = true;
    TellLater(Q(result.ErrorText));
}

void MainWindow::RestoreList() {
    restoringList_ = true;
    savedListBase_ = transcoda::ReadSavedList(App().ProgramFolder);
    for (const transcoda::SavedListRow& row : savedListBase_)
        AddListRow(Q(row.FormatLabel), Q(row.InputPath), Q(row.OutputPath), row.Status);
    restoringList_ = false;
}
