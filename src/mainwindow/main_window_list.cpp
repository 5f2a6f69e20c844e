// The conversion list: a grid whose row 0 is the header, rows 1 .. RowCount-2 the queued
// conversions and row RowCount-1 always empty. The header row is the table's header, so
// grid row r is table row r-1.
#include <algorithm>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "conversion/request_checks.h"
#include "exec/app_state.h"
#include "mainwindow/main_window.h"
#include "recipes/format_catalogue.h"
#include "recipes/output_place.h"

using transcoda::App;
using transcoda::ItemStatus;
using namespace transcoda::gui;

namespace {
std::string S(const QString& text) { return text.toStdString(); }
}  // namespace

int MainWindow::ListRowCount() const { return queueView->rowCount() + 1; }

QString MainWindow::ListCell(int column, int row) const {
    if (column < 0 || column > 2) return {};
    if (row == 0) {
        const QTableWidgetItem* header = queueView->horizontalHeaderItem(column);
        return header ? header->text() : QString();
    }
    const QTableWidgetItem* cell = queueView->item(row - 1, column);
    return cell ? cell->text() : QString();
}

void MainWindow::SelectListRow(int row) {
    if (row < 1 || row >= ListRowCount()) return;
    queueView->selectRow(row - 1);
    queueView->setCurrentCell(row - 1, 0);
}

int MainWindow::SelectedListRow() const {
    const int current = queueView->currentRow();
    return current < 0 ? 0 : current + 1;
}

bool MainWindow::OutputInList(const QString& path) const {
    // One file however it is spelt: a linked folder or a bind mount hides no duplicate.
    for (int row = 1; row <= ListRowCount() - 2; ++row)
        if (transcoda::SameOutputPlace(S(ListCell(2, row)), S(path))) return true;
    return false;
}

void MainWindow::AddListRow(const QString& label, const QString& input, const QString& output,
                        const transcoda::ItemStatus& status) {
    const int last = queueView->rowCount() - 1;  // the empty last row
    queueView->setItem(last, 0, new QTableWidgetItem(label));
    queueView->setItem(last, 1, new QTableWidgetItem(input));
    queueView->setItem(last, 2, new QTableWidgetItem(output));
    SetListStatus(last + 1, status);
    queueView->insertRow(last + 1);
}

void MainWindow::ClearList() {
    const int n = ListRowCount() - 2;
    for (int i = 0; i < n; ++i) queueView->removeRow(0);
}

void MainWindow::onAddToQueueClicked() {
    if (!transcoda::MayJoinList(S(presetCombo->currentText()), *this)) return;
    // The row gets the name its preset writes: every check and question concerns that
    // file, not the text the field held before.
    UpdateOutputName();
    const transcoda::ConversionRequest row{S(inputPathEdit->text()), S(outputPathEdit->text()), S(presetCombo->currentText())};
    if (!transcoda::CheckListAddition(row, OutputInList(outputPathEdit->text()), *this)) return;
    if (listHidden_) {
        ShowListLayout();
        listHidden_ = false;
    }
    AddListRow(presetCombo->currentText(), inputPathEdit->text(), outputPathEdit->text());
    SaveList();
}

void MainWindow::onRemoveFromQueueClicked() {
    const int r = SelectedListRow();
    if (r < 1 || r >= ListRowCount() - 1) return;
    queueView->removeRow(r - 1);
    SelectListRow(r);
    SaveList();
}

void MainWindow::onClearQueueClicked() {
    if (ListRowCount() <= 2) return;
    ClearList();
    SaveList();
}

void MainWindow::onHideQueueClicked() {
    if (listHidden_) return;
    HideListLayout();
    listHidden_ = true;
}

void MainWindow::onShowQueueClicked() {
    if (!listHidden_) return;
    ShowListLayout();
    listHidden_ = false;
}

void MainWindow::onConvertQueueClicked() {
    if (controller_->ConversionUnderWay()) {
        controller_->Stop();
        return;
    }
    // The rows already done are converted again only when the user says so.
    std::vector<ItemStatus::State> states;
    for (int row = 1; row <= ListRowCount() - 2; ++row) states.push_back(ListStatus(row).Kind);
    std::vector<bool> skipped = transcoda::RowsLeftAsDone(states, *this);
    // The question turned the event loop: the list must be the one it was asked about.
    if (static_cast<int>(skipped.size()) != ListRowCount() - 2) return;
    if (!skipped.empty() && std::all_of(skipped.begin(), skipped.end(), [](bool s) { return s; })) return;
    controller_->StartList(std::move(skipped));
}

void MainWindow::onFillQueueClicked() {
    if (listHidden_) {
        ShowListLayout();
        listHidden_ = false;
    }
    if (ListRowCount() >= 3) ClearList();
    const QString folder = QString::fromStdString(App().ProgramFolder) + "MyFiles/tests/";
    for (int i = 0; i < transcoda::kFormatCount; ++i) {
        presetCombo->setCurrentIndex(i);
        outputPathEdit->setText(folder + "format-rang-" + QString::number(i));
        if (OutputInList(outputPathEdit->text())) continue;
        UpdateOutputName();
        AddListRow(presetCombo->currentText(), inputPathEdit->text(), outputPathEdit->text());
    }
    SaveList();
}
